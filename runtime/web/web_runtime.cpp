// web_runtime.cpp: the runtime services in a browser.
#include "runtime/web/web_runtime.hpp"

#include <cstdlib>

#include "runtime/web/page_calls.hpp"
#include "runtime/web/web_view.hpp"

namespace numerak::web {

namespace {

// The page's events, one at a time (window << 16 | control << 1 | 1 for its close box). The page
// hands over an event only while the program waits for one: a click that comes while a box is
// up, a programmatic one included, goes nowhere, so no handler can enter while another waits.
constexpr int closeBoxBit = 1;

}  // namespace

WebRuntime::WebRuntime(std::string appTitle) : WindowRuntime(std::move(appTitle)) { current_ = this; }

WebRuntime::~WebRuntime() {
    if (current_ == this) current_ = nullptr;
}

std::unique_ptr<WindowView> WebRuntime::realise(Form& form, FormLogic& logic) {
    return std::make_unique<WebView>(form, logic, nextId_++);
}

WebView* WebRuntime::viewWithId(int id) const {
    for (WindowView* v : views())
        if (auto* w = static_cast<WebView*>(v); w->id() == id) return w;
    return nullptr;
}

void WebRuntime::deliverNextEvent() {
    const int event = numerak_next_event();
    WebView* view = viewWithId(event >> 16);
    if (!view) return;
    if (event & closeBoxBit) {
        closeBox(view->logic());
    } else if (const Control* control = view->control((event & 0xFFFF) >> 1)) {
        raise(view->logic(), control->name());
    }
}

void WebRuntime::run() {
    while (!ended()) {
        deliverNextEvent();
        collectUnloaded();
    }
}

void WebRuntime::runModal(FormLogic& logic) {
    while (!ended() && isLoaded(logic)) deliverNextEvent();
}

void WebRuntime::leaveEventLoop() { numerak_ended(); }

Answer WebRuntime::messageBox(std::string_view text, std::string_view title, Buttons buttons) {
    const int answer =
        numerak_message_box(std::string(text).c_str(), std::string(title).c_str(), buttons == Buttons::YesNo);
    if (buttons == Buttons::Ok) return Answer::Ok;
    return answer == 1 ? Answer::Yes : Answer::No;
}

std::string WebRuntime::inputBox(std::string_view prompt, std::string_view title) {
    char* typed = numerak_input_box(std::string(prompt).c_str(), std::string(title).c_str());
    if (!typed) return {};
    std::string answer(typed);
    std::free(typed);
    return answer;
}

}  // namespace numerak::web

// What the player does to the controls, into the model as it happens: called by the page at any
// time, also while a handler waits in a box; they never wait themselves, and nothing they meet
// goes back into the page's code.
extern "C" {

void numerak_typed(int window, int control, const char* text) {
    auto* runtime = numerak::web::WebRuntime::current();
    if (!runtime || runtime->ended()) return;
    try {
        if (auto* view = runtime->viewWithId(window)) view->typed(control, text ? text : "");
    } catch (...) {
        // Out of memory: the box keeps what the model last had.
    }
}

void numerak_chosen(int window, int control) {
    auto* runtime = numerak::web::WebRuntime::current();
    if (!runtime || runtime->ended()) return;
    try {
        if (auto* view = runtime->viewWithId(window)) view->chosen(control);
    } catch (...) {
        // As above.
    }
}
}
