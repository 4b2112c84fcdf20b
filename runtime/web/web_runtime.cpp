// web_runtime.cpp: the runtime services in a browser.
#include "runtime/web/web_runtime.hpp"

#include <emscripten/emscripten.h>

#include <cstdlib>

#include "runtime/keys.hpp"
#include "runtime/language.hpp"
#include "runtime/web/json.hpp"
#include "runtime/web/page.hpp"
#include "runtime/web/page_protocol.hpp"
#include "runtime/web/web_view.hpp"

namespace numerak::web {

namespace {

// The words the page writes itself, in the language in use: the boxes' buttons and a window's
// close box, the notes around the game, and its description.
std::string pageWords(std::string_view title) {
    const BoxWords box = TranslatedBoxWords();
    Json j;
    j.begin('{').field("ok", ShowCaption(box.ok).text).field("cancel", ShowCaption(box.cancel).text);
    j.field("yes", ShowCaption(box.yes).text).field("no", ShowCaption(box.no).text);
    j.field("close", box.close);
    j.field("ended", TranslateWith("%s has ended.", title)).field("playAgain", Translate("Play again"));
    j.field("notLoaded", TranslateWith("%s could not be loaded. Check the connection, then reload the page.", title));
    j.field("notGoingOn", TranslateWith("%s could not go on. Reload the page to start again.", title));
    j.field("reload", Translate("Reload")).field("newRelease", TranslateWith("A new version of %s is ready.", title));
    j.field("needsScript", TranslateWith("%s is a game that runs in the page: it needs JavaScript.", title));
    j.field("description", Translate("Name the four secret numbers before your turns run out"));
    return j.end('}').str();
}

}  // namespace

WebRuntime::WebRuntime(const std::string& appTitle) : WindowRuntime(appTitle) {
    current_ = this;
    // The page shows the language the program chose, and writes its own words in it.
    numerak_use_language(LanguageTag().c_str(), pageWords(appTitle).c_str());
}

std::vector<std::string> browserLanguages() {
    char* list = numerak_languages();
    if (!list) return {};
    std::vector<std::string> languages = SplitLanguages(list, ',');
    std::free(list);
    return languages;
}

WebRuntime::~WebRuntime() {
    if (current_ == this) current_ = nullptr;
}

std::unique_ptr<WindowView> WebRuntime::realise(Form& form, FormLogic& logic) {
    return std::make_unique<WebView>(form, logic, ids_);
}

WebView* WebRuntime::viewWithId(int id) const {
    for (WindowView* v : views())
        if (auto* w = static_cast<WebView*>(v); w->id() == id) return w;
    return nullptr;
}

// The page's events come one at a time, and only while the program waits for one: a click that
// comes while a box is up, a programmatic one included, goes nowhere, so no handler can enter
// while another waits.
void WebRuntime::deliverNextEvent() {
    const PageEvent event = unpackEvent(numerak_next_event());
    std::vector<Kept> kept;
    kept.swap(kept_);
    for (const Kept& box : kept) ShowMessage(box.text, box.title, Buttons::Ok);
    WebView* view = viewWithId(event.window);
    if (!view) return;
    if (event.closeBox) {
        closeBox(view->logic());
    } else if (Control* control = view->control(event.control)) {
        clicked(view->logic(), *control);
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

// The page calls these while the program waits for its next event or for a box's answer, so a
// box the dispatcher asks for meanwhile (to tell of a failure) cannot wait for the player: it is
// kept, and shown once the next event has come, before it is handled.
void WebRuntime::fromPage(int window, int control, const std::function<void(FormLogic&, Control&)>& write) {
    WebView* view = viewWithId(window);
    Control* c = view ? view->control(control) : nullptr;
    if (!c) return;
    fromPage_ = true;
    write(view->logic(), *c);  // through the dispatcher, which throws nothing
    fromPage_ = false;
}

void WebRuntime::playerTyped(int window, int control, const char* text) {
    fromPage(window, control, [&](FormLogic& logic, Control& c) { typed(logic, c, text ? text : ""); });
}

bool WebRuntime::pageKey(int window, int control, const KeyPress& press) {
    WebView* view = viewWithId(window);
    return view && key(view->logic(), press, view->control(control));
}

Answer WebRuntime::messageBox(std::string_view text, std::string_view title, Buttons buttons) {
    if (fromPage_) {
        kept_.push_back({std::string(text), std::string(title)});
        return Answer::Ok;
    }
    const int yes =
        numerak_message_box(std::string(text).c_str(), std::string(title).c_str(), buttons == Buttons::YesNo);
    if (buttons == Buttons::Ok) return Answer::Ok;
    return yes == 1 ? Answer::Yes : Answer::No;
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
// time, also while a handler waits in a box; they never wait themselves. The program's exports,
// which the page calls (page/events.js).
extern "C" {

EMSCRIPTEN_KEEPALIVE void numerak_typed(int window, int control, const char* text) {
    if (auto* runtime = numerak::web::WebRuntime::current()) runtime->playerTyped(window, control, text);
}

EMSCRIPTEN_KEEPALIVE int numerak_key(int window, int control, const char* key, int alt, int ctrl, int shift, int meta) {
    auto* runtime = numerak::web::WebRuntime::current();
    const numerak::KeyPress press = numerak::web::pageKey(key ? key : "", alt != 0, ctrl != 0, shift != 0, meta != 0);
    return runtime && runtime->pageKey(window, control, press) ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE int numerak_focus_on_return(int window, int last) {
    const auto* runtime = numerak::web::WebRuntime::current();
    const numerak::web::WebView* view = runtime ? runtime->viewWithId(window) : nullptr;
    return view ? numerak::web::indexOf(view->form(), view->form().focusOnReturn(view->control(last))) : -1;
}

EMSCRIPTEN_KEEPALIVE int numerak_event(int window, int control, int closeBox) {
    return numerak::web::packEvent({window, control, closeBox != 0});
}
}
