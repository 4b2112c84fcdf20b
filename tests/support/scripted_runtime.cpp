// scripted_runtime.cpp
#include "tests/support/scripted_runtime.hpp"

namespace numerak::test {

namespace {

// Shows nothing; notes each window unloaded, and what the keys did.
class UnloadLog : public WindowView {
public:
    UnloadLog(ScriptedRuntime& rt, const FormLogic& window) : rt_(rt), window_(window) {}
    void showWindow() override {}
    void showWindowModal() override {}
    void unloaded() override { rt_.unloaded.push_back(&window_); }
    void focus(Control& c) override { rt_.keysDid.push_back("focus " + std::string(c.name())); }
    void press(Control& c) override { rt_.keysDid.push_back("press " + std::string(c.name())); }
    void openMenuBar() override { rt_.keysDid.emplace_back("menu bar"); }

private:
    ScriptedRuntime& rt_;
    const FormLogic& window_;
};

}  // namespace

std::unique_ptr<WindowView> ScriptedRuntime::realise(Form&, FormLogic& window) {
    return std::make_unique<UnloadLog>(*this, window);
}

Answer ScriptedRuntime::messageBox(std::string_view text, std::string_view title, Buttons buttons) {
    shown.push_back(message(std::string(text), std::string(title), buttons));
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

std::string ScriptedRuntime::inputBox(std::string_view prompt, std::string_view title) {
    shown.push_back(input(std::string(prompt), std::string(title)));
    if (script_.empty()) throw ScriptError("no text scripted for: " + std::string(prompt));
    const std::string* s = std::get_if<std::string>(&script_.front());
    if (!s) throw ScriptError("a button was scripted for the input box: " + std::string(prompt));
    std::string text = *s;
    script_.pop_front();
    return text;
}

void ScriptedRuntime::runModal(FormLogic& window) {
    if (whileModal) whileModal(window);
    // Whatever the script left open is closed as its close box would.
    if (isLoaded(window)) UnloadWindow(window);
    if (isLoaded(window)) throw ScriptError("a modal window refused to close");
}

}  // namespace numerak::test
