// services.hpp: what handlers may ask of the window runtime, and what a window's handlers offer it.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/controls.hpp"
#include "runtime/design.hpp"

namespace numerak {

enum class Buttons { Ok, YesNo };
enum class Answer { Ok, Yes, No };

// Thrown by EndProgram. Deliberately not a std::exception, so that no failure trap catches it:
// it unwinds the calling handler up to the front end's dispatcher, which ends the program.
struct ProgramEnd {};

// A control's click (a press, a chosen option, a menu item) and the handler that answers it.
struct Route {
    std::string_view control;
    std::function<void()> handler;
};

// The handlers of one window. The runtime loads the window from design(), hands the logic the
// loaded controls through attach() (and null when it unloads), then runs Form_Load.
class FormLogic {
public:
    virtual ~FormLogic() = default;
    virtual const WindowDesign& design() const = 0;
    virtual void attach(Form* form) = 0;
    virtual std::vector<Route> routes() = 0;
    virtual void Form_Load() {}
    // Setting cancel keeps the window loaded.
    virtual void Form_Unload(bool& cancel) { (void)cancel; }
};

class Runtime {
public:
    virtual ~Runtime() = default;

    // A modal box with the text, the title (the application's title when none is given) and the
    // buttons, no icon; returns the button pressed.
    virtual Answer ShowMessage(std::string_view text, std::optional<std::string_view> title, Buttons buttons) = 0;

    // A modal input box with no default text; the empty text when the player cancels.
    virtual std::string AskText(std::string_view prompt, std::string_view title) = 0;

    // Loads the window, shows it modally and returns once it has been unloaded.
    virtual void ShowModal(FormLogic& window) = 0;

    // Ends the program at once: the caller does not continue.
    [[noreturn]] virtual void EndProgram() = 0;

    // Runs the window's unload handler and unloads the window unless it cancels: its controls
    // go, its logic object lives on. The caller goes on in either case.
    virtual void UnloadWindow(FormLogic& window) = 0;
};

// Runs fn, dropping a RuntimeFailure it raises: the skip-on-failure mode of a handler that goes
// on with its next step when one fails.
void SkipOnFailure(const std::function<void()>& fn);

}  // namespace numerak
