// scripted_runtime.hpp: a runtime for tests: answers come from a script, every box is logged.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

#include "runtime/services.hpp"

namespace numerak::test {

struct Shown {
    enum class Kind { Message, Input } kind = Kind::Message;
    std::string text;
    std::string title;  // "(app title)" for a message box given none
    Buttons buttons = Buttons::Ok;

    friend bool operator==(const Shown&, const Shown&) = default;
};

// A box came up that the script had no answer for, or the wrong kind of answer.
struct ScriptError : std::logic_error {
    using std::logic_error::logic_error;
};

class ScriptedRuntime : public Runtime {
public:
    static constexpr const char* defaultTitle = "(app title)";

    void answer(Answer a) { script_.emplace_back(a); }
    void type(std::string text) { script_.emplace_back(std::move(text)); }
    bool scriptDone() const { return script_.empty(); }

    std::vector<Shown> shown;
    bool ended = false;
    std::vector<const FormLogic*> unloaded;

    // Runs while a window is shown modally; the window stays up until something unloads it.
    std::function<void(FormLogic&)> whileModal;

    // Loads a window as the program start does: the model, attach, then the load handler.
    std::unique_ptr<Form> load(FormLogic& window);

    Answer ShowMessage(std::string_view text, std::optional<std::string_view> title, Buttons buttons) override;
    std::string AskText(std::string_view prompt, std::string_view title) override;
    void ShowModal(FormLogic& window) override;
    [[noreturn]] void EndProgram() override;

protected:
    void unload(FormLogic& window) override;

private:
    std::deque<std::variant<Answer, std::string>> script_;
    std::vector<FormLogic*> modal_;
};

inline Shown message(std::string text, std::string title, Buttons buttons) {
    return {Shown::Kind::Message, std::move(text), std::move(title), buttons};
}
inline Shown input(std::string prompt, std::string title) {
    return {Shown::Kind::Input, std::move(prompt), std::move(title), Buttons::Ok};
}

}  // namespace numerak::test
