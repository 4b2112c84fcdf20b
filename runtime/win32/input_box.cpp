// input_box.cpp: the input box of input_box.rc, in the player's language.
#include "runtime/win32/input_box.hpp"

#include <stdexcept>

#include "runtime/language.hpp"
#include "runtime/win32/text.hpp"
#include "runtime/win32/widgets.hpp"

namespace numerak::win32 {

namespace {

constexpr int promptId = 100;  // as input_box.rc has them
constexpr int editId = 101;

struct Box {
    const std::wstring& prompt;
    const std::wstring& title;
    std::optional<std::wstring> answer;
};

INT_PTR CALLBACK boxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* box = reinterpret_cast<Box*>(::GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG: {
            box = reinterpret_cast<Box*>(lParam);
            ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            ::SetWindowTextW(dialog, box->title.c_str());
            ::SetDlgItemTextW(dialog, promptId, box->prompt.c_str());
            const BoxWords words = TranslatedBoxWords();
            ::SetDlgItemTextW(dialog, IDOK, widen(words.ok).c_str());
            ::SetDlgItemTextW(dialog, IDCANCEL, widen(words.cancel).c_str());
            ::SendDlgItemMessageW(dialog, editId, EM_SETLIMITTEXT, 0, 0);  // any length
            ::SetFocus(::GetDlgItem(dialog, editId));
            return FALSE;  // the focus is set
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK && box) {
                box->answer = windowText(::GetDlgItem(dialog, editId));
                ::EndDialog(dialog, IDOK);
                return TRUE;
            }
            if (LOWORD(wParam) == IDCANCEL) {
                ::EndDialog(dialog, IDCANCEL);
                return TRUE;
            }
            break;
        default: break;
    }
    return FALSE;
}

}  // namespace

std::optional<std::wstring> askText(HWND owner, const std::wstring& prompt, const std::wstring& title) {
    Box box{prompt, title, std::nullopt};
    const INT_PTR result =
        ::DialogBoxParamW(thisModule(), L"NUMERAK_INPUT_BOX", owner, boxProc, reinterpret_cast<LPARAM>(&box));
    if (result == -1 || result == 0) throw std::runtime_error("The input box could not be shown.");
    return box.answer;
}

}  // namespace numerak::win32
