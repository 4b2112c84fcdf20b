// window_runtime.hpp: the life of a program's windows, written once for every front end:
// loading and unloading, modal showing, the dispatcher every handler runs through, the end.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "runtime/controls.hpp"
#include "runtime/keys.hpp"
#include "runtime/services.hpp"

namespace numerak {

// A loaded window as a toolkit shows it. The front end builds it from the form's design, keeps
// its widgets and the form's controls in step both ways, and hands each event to
// WindowRuntime::raise.
class WindowView {
public:
    virtual ~WindowView() = default;

    // Visible and active, the keyboard on its first control in tab order.
    virtual void showWindow() = 0;
    // The same, and until it has been unloaded the other windows take no input.
    virtual void showWindowModal() = 0;
    // Its window has been unloaded: it disappears. The form no longer tells it of changes (the
    // runtime has let go of them), and the runtime ignores what it still hands on. The object is
    // destroyed later, when no handler is running (a toolkit may still be inside one of its
    // callbacks).
    virtual void unloaded() = 0;

    // What a key does, carried out as the toolkit does it for the player: the keyboard onto a
    // control, a button pressed as a click presses it, the keyboard into the menu bar.
    virtual void focus(Control& control) = 0;
    virtual void press(Control& control) = 0;
    virtual void openMenuBar() = 0;
};

// The runtime services on top of a toolkit. A front end derives from it and supplies only what
// differs between toolkits: the views, the two boxes, a modal loop and leaving the event loop.
class WindowRuntime : public Runtime {
public:
    // appTitle is the title of message boxes that are given none.
    explicit WindowRuntime(std::string appTitle);
    ~WindowRuntime() override;
    WindowRuntime(const WindowRuntime&) = delete;
    WindowRuntime& operator=(const WindowRuntime&) = delete;

    // Loads a window: its controls from the design, the toolkit's view of them, attach, then its
    // load handler. Its form, or null when the load handler unloaded the window again.
    Form* load(FormLogic& window);

    // The start of the program: loads the start window and shows it, through the dispatcher.
    void start(FormLogic& window);

    // A click of a control: the handler the window routes it to, if any, runs through the
    // dispatcher, unless a box is waiting for the player or a modal window above this one is
    // showing. Handlers run one at a time.
    void raise(FormLogic& window, std::string_view control);
    // The window's close box: a request to unload it, under the same rule.
    void closeBox(FormLogic& window);

    // Runs code on behalf of the toolkit. EndProgram ends the program here; a failure that no
    // handler trapped is told to the player in a box. Nothing runs after the end.
    void dispatch(const std::function<void()>& fn);

    // What the player typed into a text box of the window, or the option button the player chose,
    // written into its control; nothing once the window is unloaded. It goes through the
    // dispatcher like a handler: a failure is told in a box, never thrown into the toolkit's code.
    void typed(FormLogic& window, Control& control, std::string text);
    void chosen(FormLogic& window, Control& control);
    // The player clicked a control, a menu item or an option button (or chose an option by a
    // key): an option is chosen first; then the handler runs, as for raise.
    void clicked(FormLogic& window, Control& control);
    // A key pressed in the window with the keyboard on `focused` (null for none), answered by the
    // window's rules (KeyActionFor) and carried out through its view. Whether the key was the
    // window's; false leaves it to the toolkit (typing, Tab).
    bool key(FormLogic& window, const KeyPress& key, Control* focused);

    bool ended() const { return ended_; }
    bool isLoaded(const FormLogic& window) const;
    Form* form(const FormLogic& window) const;        // null when not loaded
    WindowView* view(const FormLogic& window) const;  // null when not loaded
    std::vector<WindowView*> views() const;           // of the loaded windows, oldest first
    // The window a box belongs to: the newest loaded one that has been shown; null before any is.
    WindowView* boxOwner() const;

    Answer ShowMessage(std::string_view text, std::optional<std::string_view> title, Buttons buttons) final;
    std::string AskText(std::string_view prompt, std::string_view title) final;
    void ShowModal(FormLogic& window) final;
    [[noreturn]] void EndProgram() final;
    void UnloadWindow(FormLogic& window) final;

protected:
    // The toolkit's view of a loaded window, built hidden; none for a runtime with nothing to
    // show, such as a test's.
    virtual std::unique_ptr<WindowView> realise(Form& form, FormLogic& window);
    // The modal boxes: the title given or the application's; the empty text when cancelled.
    virtual Answer messageBox(std::string_view text, std::string_view title, Buttons buttons) = 0;
    virtual std::string inputBox(std::string_view prompt, std::string_view title) = 0;
    // Runs the toolkit's events until the window is no longer loaded or the program has ended.
    virtual void runModal(FormLogic& window) = 0;
    // Every window is gone: the program's event loop ends.
    virtual void leaveEventLoop() {}
    // Windows were unloaded while handlers ran: the toolkit is to call collectUnloaded() from its
    // event loop soon, once the handler has gone back to it.
    virtual void scheduleCollectUnloaded() {}

    // Destroys the views and forms of unloaded windows, unless a handler is running.
    void collectUnloaded();

private:
    struct Loaded {
        FormLogic* logic;
        std::unique_ptr<Form> form;
        std::unique_ptr<WindowView> view;
        std::vector<Route> routes;  // its handlers, as it routed them when it was loaded
        bool shown = false;
    };
    // One more for as long as it lives: a handler on the stack, a box open.
    struct ScopedCount {
        explicit ScopedCount(int& count) : count_(++count) {}
        ~ScopedCount() { --count_; }
        ScopedCount(const ScopedCount&) = delete;
        ScopedCount& operator=(const ScopedCount&) = delete;
        int& count_;
    };

    void run(FormLogic& window, const std::function<void()>& handler);
    std::vector<Loaded>::iterator find(const FormLogic& window);
    std::vector<Loaded>::const_iterator find(const FormLogic& window) const;
    void retire(Loaded loaded);
    static void letGo(Loaded& window);
    void endProgram();
    void tell(const std::string& failure);

    std::string appTitle_;
    std::vector<Loaded> loaded_;   // in the order they were loaded
    std::vector<Loaded> retired_;  // unloaded, destroyed once no handler runs
    std::vector<const FormLogic*> modal_;
    int running_ = 0;  // handlers on the stack
    int boxesOpen_ = 0;
    bool ended_ = false;
};

}  // namespace numerak
