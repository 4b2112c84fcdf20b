// win32_runtime.cpp: the runtime services on the Win32 API.
#include "runtime/win32/win32_runtime.hpp"

#include <algorithm>
#include <exception>
#include <stdexcept>

#include "runtime/win32/form_window.hpp"
#include "runtime/win32/input_box.hpp"
#include "runtime/win32/text.hpp"

namespace numerak::win32 {

Win32Runtime::Win32Runtime(std::string appTitle) : appTitle_(std::move(appTitle)) {}

Win32Runtime::~Win32Runtime() {
    // The windows' logic objects may be gone already; the windows do not touch them on the way out.
    windows_.clear();
    unloaded_.clear();
}

FormWindow* Win32Runtime::window(const FormLogic& logic) const {
    for (const auto& w : windows_)
        if (&w->logic() == &logic) return w.get();
    return nullptr;
}

FormWindow* Win32Runtime::load(FormLogic& logic, HWND owner) {
    windows_.push_back(std::make_unique<FormWindow>(*this, logic, owner));
    logic.attach(&windows_.back()->form());
    logic.Form_Load();
    return window(logic);  // null when its load handler unloaded it
}

void Win32Runtime::start(FormLogic& logic) {
    dispatch([&] {
        if (FormWindow* w = load(logic, nullptr)) w->show();
    });
}

void Win32Runtime::deliver(MSG& message) {
    for (auto it = windows_.rbegin(); it != windows_.rend(); ++it)
        if ((*it)->preTranslate(message)) return;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
}

int Win32Runtime::run() {
    MSG message;
    for (;;) {
        const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) return static_cast<int>(message.wParam);
        if (got == -1) return 1;
        deliver(message);
        if (depth_ == 0) unloaded_.clear();
    }
}

void Win32Runtime::dispatch(const std::function<void()>& handler) {
    if (ended_) return;
    struct Depth {
        int& depth;
        explicit Depth(int& d) : depth(++d) {}
        ~Depth() { --depth; }
    } running{depth_};
    const auto tell = [this](const std::string& what) {
        try {
            ShowMessage("Something went wrong, and the last action could not be finished.\n\n" + what, std::nullopt,
                        Buttons::Ok);
        } catch (...) {
            // Nothing more can be told; the program goes on.
        }
    };
    try {
        handler();
    } catch (const ProgramEnd&) {
        endProgram();
    } catch (const std::exception& e) {
        tell(e.what());
    } catch (...) {
        // Unwinding into Windows' own frames would end the program on the spot.
        tell("An unknown failure.");
    }
}

HWND Win32Runtime::boxOwner() const {
    for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) {
        HWND h = (*it)->hwnd();
        if (h && ::IsWindowVisible(h) && ::IsWindowEnabled(h)) return h;
    }
    return nullptr;
}

Answer Win32Runtime::ShowMessage(std::string_view text, std::optional<std::string_view> title, Buttons buttons) {
    HWND owner = boxOwner();
    // Modal to the active window; before any window shows, to the whole program.
    UINT style = owner ? MB_APPLMODAL : MB_TASKMODAL;
    style |= buttons == Buttons::YesNo ? MB_YESNO | MB_DEFBUTTON1 : MB_OK;
    const std::wstring caption = widen(title.value_or(appTitle_));
    const int answer = ::MessageBoxW(owner, widen(text).c_str(), caption.c_str(), style);
    if (answer == 0) throw std::runtime_error("The message box could not be shown.");
    if (buttons == Buttons::Ok) return Answer::Ok;
    return answer == IDYES ? Answer::Yes : Answer::No;
}

std::string Win32Runtime::AskText(std::string_view prompt, std::string_view title) {
    const auto answer = askText(boxOwner(), widen(prompt), widen(title));
    return answer ? narrow(*answer) : std::string();
}

void Win32Runtime::ShowModal(FormLogic& logic) {
    if (window(logic)) return;  // already showing
    FormWindow* w = load(logic, boxOwner());
    if (w && !w->isUnloaded()) {
        Modal modal{w, {}};
        for (const auto& other : windows_)
            if (other.get() != w && other->hwnd() && ::IsWindowEnabled(other->hwnd())) {
                ::EnableWindow(other->hwnd(), FALSE);
                modal.disabled.push_back(other->hwnd());
            }
        modals_.push_back(std::move(modal));
        w->show();
        MSG message;
        while (!ended_ && window(logic) == w) {
            const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
            if (got == 0) {
                ::PostQuitMessage(static_cast<int>(message.wParam));  // for the loop outside
                break;
            }
            if (got == -1) break;
            deliver(message);
        }
        releaseModal(w);
    }
    // The program may have ended while the window was up: the caller must not go on.
    if (ended_) throw ProgramEnd{};
}

void Win32Runtime::releaseModal(FormWindow* w) {
    const auto it = std::find_if(modals_.begin(), modals_.end(), [w](const Modal& m) { return m.window == w; });
    if (it == modals_.end()) return;
    for (HWND h : it->disabled)
        if (::IsWindow(h)) ::EnableWindow(h, TRUE);
    modals_.erase(it);
}

void Win32Runtime::EndProgram() { throw ProgramEnd{}; }

void Win32Runtime::unload(FormLogic& logic) {
    const auto it =
        std::find_if(windows_.begin(), windows_.end(), [&](const auto& w) { return &w->logic() == &logic; });
    if (it == windows_.end()) return;
    std::unique_ptr<FormWindow> w = std::move(*it);
    windows_.erase(it);
    // The windows behind a modal one take the focus back before it goes, not some other program.
    releaseModal(w.get());
    logic.attach(nullptr);
    w->markUnloaded();
    unloaded_.push_back(std::move(w));  // its handler may still be on the stack
    if (windows_.empty()) endProgram();
}

void Win32Runtime::endProgram() {
    if (ended_) return;
    ended_ = true;
    for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) {
        (*it)->logic().attach(nullptr);
        (*it)->markUnloaded();
        unloaded_.push_back(std::move(*it));
    }
    windows_.clear();
    modals_.clear();
    ::PostQuitMessage(0);
}

}  // namespace numerak::win32
