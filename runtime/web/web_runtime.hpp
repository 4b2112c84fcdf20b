// web_runtime.hpp: the window runtime in a browser. The program is WebAssembly; its windows are
// HTML in the page (page/), and handlers await the page's dialogs and events through Asyncify,
// so that they stay the same synchronous code as on the desktop.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "runtime/keys.hpp"
#include "runtime/web/page_protocol.hpp"
#include "runtime/window_runtime.hpp"

namespace numerak::web {

class WebView;

// The browser's languages, best first, as the page reads them (navigator.languages).
std::vector<std::string> browserLanguages();

class WebRuntime : public WindowRuntime {
public:
    // appTitle is the title of message boxes that are given none. One runtime to a page.
    explicit WebRuntime(const std::string& appTitle);
    ~WebRuntime() override;
    WebRuntime(const WebRuntime&) = delete;
    WebRuntime& operator=(const WebRuntime&) = delete;

    // The page's runtime; null when there is none.
    static WebRuntime* current() { return current_; }

    // Runs the page's events until the program ends.
    void run();

    WebView* viewWithId(int id) const;  // null when that window is not loaded

    // What the player typed in the page, into the model (WindowRuntime::typed).
    void playerTyped(int window, int control, const char* text);
    // A key pressed in a window with the keyboard on `control` (-1 for none) (WindowRuntime::key).
    bool pageKey(int window, int control, const KeyPress& key);

protected:
    std::unique_ptr<WindowView> realise(Form& form, FormLogic& logic) override;
    Answer messageBox(std::string_view text, std::string_view title, Buttons buttons) override;
    std::string inputBox(std::string_view prompt, std::string_view title) override;
    void runModal(FormLogic& logic) override;
    void leaveEventLoop() override;

private:
    // Waits for the page's next event and hands it to its window.
    void deliverNextEvent();
    void fromPage(int window, int control, const std::function<void(FormLogic&, Control&)>& write);

    struct Kept {
        std::string text, title;
    };

    static inline WebRuntime* current_ = nullptr;
    WindowIds ids_;
    bool fromPage_ = false;   // the page is calling in, while the program waits
    std::vector<Kept> kept_;  // boxes asked for then, shown before the next event
};

}  // namespace numerak::web
