// win32_keys.hpp: key presses and box answers for in-process front-end tests, delivered as a
// keyboard delivers them: key-down and key-up messages to the window with the focus, through
// the runtime's own keyboard handling and the modal boxes' own loops.
#pragma once

#include <windows.h>

#include <deque>
#include <string>
#include <vector>

#include "runtime/win32/text.hpp"
#include "runtime/win32/win32_runtime.hpp"

namespace numerak::test {

// Posts one key (with Alt held when alt is set) to the focused window, or to fallback.
inline void postKey(HWND fallback, WORD key, bool alt = false) {
    HWND target = ::GetFocus() ? ::GetFocus() : fallback;
    const LPARAM scan = static_cast<LPARAM>(::MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
    const LPARAM context = alt ? (LPARAM{1} << 29) : 0;
    ::PostMessageW(target, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, 1 | scan | context);
    ::PostMessageW(target, alt ? WM_SYSKEYUP : WM_KEYUP, key, 1 | scan | context | (LPARAM{3} << 30));
}

// Every message already waiting, through the runtime's own keyboard handling to its window.
inline void pump(win32::Win32Runtime& rt) {
    MSG m;
    while (::PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) rt.deliver(m);
}

// The standard class of message boxes and dialogs.
inline bool isBox(HWND w) {
    wchar_t cls[16] = {};
    ::GetClassNameW(w, cls, 16);
    return std::wstring(cls) == L"#32770" && ::IsWindowVisible(w);
}

// Every box of this thread, as it comes up, noted and answered with the next queued keys: one
// key each tick, so that each is dealt with, characters and all, before the next, as typing is.
struct KeyAnswerer {
    struct Seen {
        std::wstring title, text;
    };
    static inline std::deque<std::vector<WORD>> answers;
    static inline std::vector<Seen> seen;
    static inline HWND current = nullptr;
    static inline std::deque<WORD> pending;  // the keys still to press in the current box

    static BOOL CALLBACK noteText(HWND child, LPARAM into) {
        wchar_t cls[16] = {};
        ::GetClassNameW(child, cls, 16);
        auto& text = reinterpret_cast<Seen*>(into)->text;
        if (text.empty() && std::wstring(cls) == L"Static") text = win32::windowText(child);
        return TRUE;
    }
    static BOOL CALLBACK answer(HWND box, LPARAM) {
        if (!isBox(box)) return TRUE;
        if (!::GetPropW(box, L"numerak.answered")) {
            ::SetPropW(box, L"numerak.answered", reinterpret_cast<HANDLE>(1));
            Seen s{win32::windowText(box), {}};
            ::EnumChildWindows(box, noteText, reinterpret_cast<LPARAM>(&s));  // the message or prompt
            seen.push_back(s);
            current = box;
            pending.clear();
            if (!answers.empty()) {
                pending.assign(answers.front().begin(), answers.front().end());
                answers.pop_front();
            }
        }
        if (box == current && !pending.empty()) {
            postKey(box, pending.front());
            pending.pop_front();
        }
        return TRUE;
    }
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) { ::EnumThreadWindows(::GetCurrentThreadId(), answer, 0); }
    KeyAnswerer() {
        answers.clear();
        seen.clear();
        current = nullptr;
        pending.clear();
        timer = ::SetTimer(nullptr, 0, 30, tick);
    }
    ~KeyAnswerer() { ::KillTimer(nullptr, timer); }
    KeyAnswerer(const KeyAnswerer&) = delete;
    KeyAnswerer& operator=(const KeyAnswerer&) = delete;
    UINT_PTR timer;
};

}  // namespace numerak::test
