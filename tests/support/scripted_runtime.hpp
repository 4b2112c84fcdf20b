// scripted_runtime.hpp: a runtime for tests: answers come from a script, every box is logged.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

#include "runtime/window_runtime.hpp"

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

// The program's window life with nothing to show: windows are loaded (load() as the program
// start does: the model, attach, then the load handler) and unloaded as in the real program.
class ScriptedRuntime : public WindowRuntime {
public:
    static constexpr const char* defaultTitle = "(app title)";

    ScriptedRuntime() : WindowRuntime(defaultTitle) {}

    void answer(Answer a) { script_.emplace_back(a); }
    void type(std::string text) { script_.emplace_back(std::move(text)); }
    bool scriptDone() const { return script_.empty(); }

    std::vector<Shown> shown;
    std::vector<const FormLogic*> unloaded;
    std::vector<std::string> keysDid;  // what the windows' keys carried out: "focus Option2", "press Command1"

    // Runs while a window is shown modally; the window stays up until something unloads it.
    std::function<void(FormLogic&)> whileModal;

protected:
    std::unique_ptr<WindowView> realise(Form& form, FormLogic& window) override;
    Answer messageBox(std::string_view text, std::string_view title, Buttons buttons) override;
    std::string inputBox(std::string_view prompt, std::string_view title) override;
    void runModal(FormLogic& window) override;

private:
    std::deque<std::variant<Answer, std::string>> script_;
};

inline Shown message(std::string text, std::string title, Buttons buttons) {
    return {Shown::Kind::Message, std::move(text), std::move(title), buttons};
}
inline Shown input(std::string prompt, std::string title) {
    return {Shown::Kind::Input, std::move(prompt), std::move(title), Buttons::Ok};
}

}  // namespace numerak::test
