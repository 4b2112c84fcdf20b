// window_runtime.cpp: the window life every front end shares.
#include "runtime/window_runtime.hpp"

#include <algorithm>
#include <exception>

namespace numerak {

WindowRuntime::WindowRuntime(std::string appTitle) : appTitle_(std::move(appTitle)) {}

WindowRuntime::~WindowRuntime() {
    // The logic objects may be gone already: only the views and forms are destroyed, the views
    // first, for their widgets reach into the forms; and no form tells a view that is gone.
    for (auto& w : loaded_) letGo(w);
    for (auto* list : {&loaded_, &retired_})
        for (auto& w : *list) w.view.reset();
}

void WindowRuntime::letGo(Loaded& window) {
    window.form->setListener({});
    window.form->setCaptionListener({});
}

std::vector<WindowRuntime::Loaded>::iterator WindowRuntime::find(const FormLogic& window) {
    return std::find_if(loaded_.begin(), loaded_.end(), [&](const Loaded& w) { return w.logic == &window; });
}

std::vector<WindowRuntime::Loaded>::const_iterator WindowRuntime::find(const FormLogic& window) const {
    return std::find_if(loaded_.begin(), loaded_.end(), [&](const Loaded& w) { return w.logic == &window; });
}

bool WindowRuntime::isLoaded(const FormLogic& window) const { return find(window) != loaded_.end(); }

Form* WindowRuntime::form(const FormLogic& window) const {
    const auto it = find(window);
    return it == loaded_.end() ? nullptr : it->form.get();
}

WindowView* WindowRuntime::view(const FormLogic& window) const {
    const auto it = find(window);
    return it == loaded_.end() ? nullptr : it->view.get();
}

std::vector<WindowView*> WindowRuntime::views() const {
    std::vector<WindowView*> all;
    for (const auto& w : loaded_)
        if (w.view) all.push_back(w.view.get());
    return all;
}

std::unique_ptr<WindowView> WindowRuntime::realise(Form&, FormLogic&) { return nullptr; }

Form* WindowRuntime::load(FormLogic& window) {
    if (Form* loaded = form(window)) return loaded;
    auto form = std::make_unique<Form>(window.design());
    Form* loaded = form.get();
    auto view = realise(*form, window);
    loaded_.push_back({&window, std::move(form), std::move(view), window.routes()});
    window.attach(loaded);
    try {
        window.Form_Load();
    } catch (...) {
        // A window whose load failed is not loaded: nothing of it stays behind to wait for input
        // that can never come, or to make the next showing of it think it is up already.
        if (const auto it = find(window); it != loaded_.end()) {
            Loaded failed = std::move(*it);
            loaded_.erase(it);
            retire(std::move(failed));
        }
        throw;
    }
    return isLoaded(window) ? loaded : nullptr;
}

WindowView* WindowRuntime::boxOwner() const {
    // The newest shown window: emscripten's library has no reversed range view.
    const auto w = std::find_if(loaded_.rbegin(), loaded_.rend(), [](const Loaded& l) { return l.shown && l.view; });
    return w == loaded_.rend() ? nullptr : w->view.get();
}

void WindowRuntime::start(FormLogic& window) {
    dispatch([&] {
        if (load(window)) {
            find(window)->shown = true;
            if (WindowView* v = view(window)) v->showWindow();
        }
    });
    // A start window that could not be loaded leaves nothing to play with: once the box has told
    // why, the program ends rather than wait with no window on screen.
    if (!ended_ && !isLoaded(window)) endProgram();
}

void WindowRuntime::raise(FormLogic& window, std::string_view control) {
    const auto it = find(window);
    if (it == loaded_.end()) return;
    for (const Route& route : it->routes) {
        if (route.control == control) {
            // A copy: the handler may unload its window, and the list with it.
            const std::function<void()> handler = route.handler;
            run(window, handler);
            return;
        }
    }
}

void WindowRuntime::closeBox(FormLogic& window) {
    run(window, [&] { UnloadWindow(window); });
}

void WindowRuntime::run(FormLogic& window, const std::function<void()>& handler) {
    if (ended_ || boxesOpen_ > 0 || !isLoaded(window)) return;
    // Only the topmost modal window, and what it opened, take input.
    if (!modal_.empty()) {
        const auto top = find(*modal_.back());
        if (top != loaded_.end() && find(window) < top) return;
    }
    dispatch(handler);
}

void WindowRuntime::dispatch(const std::function<void()>& fn) {
    if (ended_) return;
    {
        ScopedCount handler(running_);
        try {
            fn();
        } catch (const ProgramEnd&) {
            endProgram();
        } catch (const std::exception& e) {
            tell(e.what());
        } catch (...) {
            // Unwinding into the toolkit's own frames would end the program on the spot.
            tell("An unknown failure.");
        }
    }
    if (running_ == 0 && !retired_.empty()) scheduleCollectUnloaded();
}

void WindowRuntime::typed(FormLogic& window, Control& control, std::string text) {
    if (!isLoaded(window)) return;
    dispatch([&] { control.setText(std::move(text)); });
}

void WindowRuntime::chosen(FormLogic& window, Control& control) {
    if (!isLoaded(window)) return;
    dispatch([&] {
        if (control.isOption()) control.setValue(true);
    });
}

void WindowRuntime::clicked(FormLogic& window, Control& control) {
    if (control.isOption()) chosen(window, control);
    raise(window, control.name());
}

bool WindowRuntime::key(FormLogic& window, const KeyPress& key, Control* focused) {
    const auto it = find(window);
    if (ended_ || it == loaded_.end() || !it->view) return false;
    const KeyAction action = KeyActionFor(*it->form, key, focused);
    WindowView& view = *it->view;
    switch (action.does) {
        case KeyDoes::Pass: return false;
        case KeyDoes::Nothing: break;
        case KeyDoes::OpenMenuBar: view.openMenuBar(); break;
        case KeyDoes::Choose: view.focus(*action.target); [[fallthrough]];
        case KeyDoes::Press: view.press(*action.target); break;
    }
    return true;
}

void WindowRuntime::tell(const std::string& failure) {
    try {
        ShowMessage("Something went wrong, and the last action could not be finished.\n\n" + failure, std::nullopt,
                    Buttons::Ok);
    } catch (...) {
        // Nothing more can be told; the program goes on.
    }
}

Answer WindowRuntime::ShowMessage(std::string_view text, std::optional<std::string_view> title, Buttons buttons) {
    ScopedCount box(boxesOpen_);
    return messageBox(text, title.value_or(appTitle_), buttons);
}

std::string WindowRuntime::AskText(std::string_view prompt, std::string_view title) {
    ScopedCount box(boxesOpen_);
    return inputBox(prompt, title);
}

void WindowRuntime::ShowModal(FormLogic& window) {
    if (ended_) throw ProgramEnd{};
    if (isLoaded(window)) return;  // up already: asked again from its own handlers or from beneath it
    {
        ScopedCount handler(running_);
        if (load(window)) {
            modal_.push_back(&window);
            find(window)->shown = true;
            if (WindowView* v = view(window)) v->showWindowModal();
            runModal(window);
            modal_.erase(std::remove(modal_.begin(), modal_.end(), &window), modal_.end());
        }
    }
    // The program may have ended while the window was up: the caller must not go on.
    if (ended_) throw ProgramEnd{};
}

void WindowRuntime::EndProgram() {
    endProgram();
    throw ProgramEnd{};
}

void WindowRuntime::UnloadWindow(FormLogic& window) {
    if (!isLoaded(window)) return;
    bool cancel = false;
    window.Form_Unload(cancel);
    if (cancel) return;
    const auto it = find(window);
    if (it == loaded_.end()) return;  // its unload handler unloaded it already
    Loaded unloaded = std::move(*it);
    loaded_.erase(it);
    retire(std::move(unloaded));
    if (loaded_.empty()) endProgram();
}

void WindowRuntime::retire(Loaded loaded) {
    loaded.logic->attach(nullptr);
    // What the handlers write from now on (they may hold on to a control) reaches no view.
    letGo(loaded);
    if (loaded.view) loaded.view->unloaded();
    loaded.logic = nullptr;  // it may go before its view does
    retired_.push_back(std::move(loaded));
}

void WindowRuntime::endProgram() {
    if (ended_) return;
    ended_ = true;
    // The newest first: a modal window gives the input back before the one beneath it goes.
    while (!loaded_.empty()) {
        Loaded last = std::move(loaded_.back());
        loaded_.pop_back();
        retire(std::move(last));
    }
    modal_.clear();
    leaveEventLoop();
}

void WindowRuntime::collectUnloaded() {
    if (running_ > 0) return;
    std::vector<Loaded> gone;
    gone.swap(retired_);
    for (auto& w : gone) w.view.reset();
}

}  // namespace numerak
