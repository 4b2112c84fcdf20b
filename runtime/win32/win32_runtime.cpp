// win32_runtime.cpp: the runtime services on the Win32 API.
#include "runtime/win32/win32_runtime.hpp"

#include <stdexcept>

#include "runtime/win32/form_window.hpp"
#include "runtime/win32/input_box.hpp"
#include "runtime/win32/text.hpp"

namespace numerak::win32 {

FormWindow* Win32Runtime::window(const FormLogic& logic) const { return static_cast<FormWindow*>(view(logic)); }

std::unique_ptr<WindowView> Win32Runtime::realise(Form& form, FormLogic& logic) {
    return std::make_unique<FormWindow>(*this, form, logic, ownerWindow());
}

void Win32Runtime::deliver(MSG& message) {
    const std::vector<WindowView*> all = views();
    for (auto it = all.rbegin(); it != all.rend(); ++it)
        if (static_cast<FormWindow*>(*it)->preTranslate(message)) return;
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
        collectUnloaded();
    }
}

void Win32Runtime::runModal(FormLogic& logic) {
    MSG message;
    while (!ended() && isLoaded(logic)) {
        const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            ::PostQuitMessage(static_cast<int>(message.wParam));  // for the loop outside
            break;
        }
        if (got == -1) break;
        deliver(message);
    }
}

void Win32Runtime::leaveEventLoop() { ::PostQuitMessage(0); }

HWND Win32Runtime::ownerWindow() const {
    const auto* owner = static_cast<const FormWindow*>(boxOwner());
    return owner ? owner->hwnd() : nullptr;
}

Answer Win32Runtime::messageBox(std::string_view text, std::string_view title, Buttons buttons) {
    HWND owner = ownerWindow();
    // Modal to the active window; before any window shows, to the whole program.
    UINT style = owner ? MB_APPLMODAL : MB_TASKMODAL;
    style |= buttons == Buttons::YesNo ? MB_YESNO | MB_DEFBUTTON1 : MB_OK;
    const int answer = ::MessageBoxW(owner, widen(text).c_str(), widen(title).c_str(), style);
    if (answer == 0) throw std::runtime_error("The message box could not be shown.");
    if (buttons == Buttons::Ok) return Answer::Ok;
    return answer == IDYES ? Answer::Yes : Answer::No;
}

std::string Win32Runtime::inputBox(std::string_view prompt, std::string_view title) {
    const auto answer = askText(ownerWindow(), widen(prompt), widen(title));
    return answer ? narrow(*answer) : std::string();
}

}  // namespace numerak::win32
