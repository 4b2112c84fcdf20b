// input_box.cpp: the input box as an in-memory dialog template, so that the dialog manager
// gives it Enter, Esc, Tab and the system's dialog font.
#include "runtime/win32/input_box.hpp"

#include <stdexcept>
#include <vector>

#include "runtime/language.hpp"
#include "runtime/win32/text.hpp"
#include "runtime/win32/widgets.hpp"

namespace numerak::win32 {

namespace {

constexpr WORD promptId = 100;
constexpr WORD editId = 101;

// DLGTEMPLATE and its items, laid out as the dialog manager reads them.
class Template {
public:
    void header(DWORD style, WORD items, short cx, short cy, const wchar_t* font, WORD points) {
        dword(style);
        dword(0);  // extended style
        words_.push_back(items);
        for (short v : {short{0}, short{0}, cx, cy}) words_.push_back(static_cast<WORD>(v));
        words_.push_back(0);  // no menu
        words_.push_back(0);  // the standard dialog class
        words_.push_back(0);  // no title yet
        words_.push_back(points);
        text(font);
    }
    void item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD cls, const wchar_t* caption) {
        if (words_.size() % 2) words_.push_back(0);  // items start on a DWORD
        dword(style | WS_CHILD | WS_VISIBLE);
        dword(0);
        for (short v : {x, y, cx, cy}) words_.push_back(static_cast<WORD>(v));
        words_.push_back(id);
        words_.push_back(0xFFFF);
        words_.push_back(cls);
        text(caption);
        words_.push_back(0);  // no creation data
    }
    const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    void dword(DWORD v) {
        words_.push_back(LOWORD(v));
        words_.push_back(HIWORD(v));
    }
    void text(const wchar_t* s) {
        for (; *s; ++s) words_.push_back(static_cast<WORD>(*s));
        words_.push_back(0);
    }
    std::vector<WORD> words_;  // a vector's storage is aligned for DWORDs
};

constexpr WORD buttonClass = 0x0080, editClass = 0x0081, staticClass = 0x0082;

struct Box {
    const std::wstring& prompt;
    const std::wstring& title;
    std::optional<std::wstring> answer;
};

INT_PTR CALLBACK boxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* box = reinterpret_cast<Box*>(::GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG:
            box = reinterpret_cast<Box*>(lParam);
            ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            ::SetWindowTextW(dialog, box->title.c_str());
            ::SetDlgItemTextW(dialog, promptId, box->prompt.c_str());
            ::SendDlgItemMessageW(dialog, editId, EM_SETLIMITTEXT, 0, 0);  // any length
            ::SetFocus(::GetDlgItem(dialog, editId));
            return FALSE;  // the focus is set
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
    // In dialog units: the prompt beside the buttons, the edit box across the bottom,
    // first in the tab order.
    Template t;
    t.header(DS_SHELLFONT | DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU, 4, 250, 76, L"MS Shell Dlg",
             8);
    t.item(SS_LEFT | SS_NOPREFIX, 7, 7, 180, 44, promptId, staticClass, L"");
    t.item(ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | WS_GROUP, 7, 56, 236, 13, editId, editClass, L"");
    const BoxWords words = TranslatedBoxWords();
    t.item(BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 193, 7, 50, 14, IDOK, buttonClass, widen(words.ok).c_str());
    t.item(BS_PUSHBUTTON | WS_TABSTOP, 193, 25, 50, 14, IDCANCEL, buttonClass, widen(words.cancel).c_str());
    Box box{prompt, title, std::nullopt};
    const INT_PTR result =
        ::DialogBoxIndirectParamW(thisModule(), t.get(), owner, boxProc, reinterpret_cast<LPARAM>(&box));
    if (result == -1 || result == 0) throw std::runtime_error("The input box could not be shown.");
    return box.answer;
}

}  // namespace numerak::win32
