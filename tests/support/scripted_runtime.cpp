// scripted_runtime.cpp
#include "tests/support/scripted_runtime.hpp"

#include <algorithm>

namespace numerak::test {

std::unique_ptr<Form> ScriptedRuntime::load(FormLogic& window) {
    auto form = std::make_unique<Form>(window.design());
    window.attach(form.get());
    window.Form_Load();
    return form;
}

Answer ScriptedRuntime::ShowMessage(std::string_view text, std::optional<std::string_view> title, Buttons buttons) {
    shown.push_back(message(std::string(text), std::string(title.value_or(defaultTitle)), buttons));
    if (script_.empty()) throw ScriptError("no answer scripted for: " + std::string(text));
    const Answer* a = std::get_if<Answer>(&script_.front());
    if (!a) throw ScriptError("a typed answer was scripted for the message: " + std::string(text));
    const Answer answer = *a;
    script_.pop_front();
    if (buttons == Buttons::Ok && answer != Answer::Ok)
        throw ScriptError("Yes/No given to an OK box: " + std::string(text));
    if (buttons == Buttons::YesNo && answer == Answer::Ok)
        throw ScriptError("OK given to a Yes/No box: " + std::string(text));
    return answer;
}

std::string ScriptedRuntime::AskText(std::string_view prompt, std::string_view title) {
    shown.push_back(input(std::string(prompt), std::string(title)));
    if (script_.empty()) throw ScriptError("no text scripted for: " + std::string(prompt));
    const std::string* s = std::get_if<std::string>(&script_.front());
    if (!s) throw ScriptError("a button was scripted for the input box: " + std::string(prompt));
    std::string text = *s;
    script_.pop_front();
    return text;
}

void ScriptedRuntime::ShowModal(FormLogic& window) {
    auto form = load(window);
    modal_.push_back(&window);
    if (whileModal) whileModal(window);
    // Whatever the script left open is closed as its close box would.
    if (std::find(modal_.begin(), modal_.end(), &window) != modal_.end()) UnloadWindow(window);
    if (std::find(modal_.begin(), modal_.end(), &window) != modal_.end())
        throw ScriptError("a modal window refused to close");
}

void ScriptedRuntime::EndProgram() {
    ended = true;
    throw ProgramEnd{};
}

void ScriptedRuntime::unload(FormLogic& window) {
    unloaded.push_back(&window);
    window.attach(nullptr);
    modal_.erase(std::remove(modal_.begin(), modal_.end(), &window), modal_.end());
}

}  // namespace numerak::test
