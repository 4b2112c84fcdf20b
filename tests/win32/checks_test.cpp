// The behaviour every front end shows (tests/frontends/checks.txt), played on the Win32 front end
// in-process: keys posted as a keyboard posts them, real message boxes and the input box.
#include <windows.h>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>

#include "runtime/win32/form_window.hpp"
#include "runtime/win32/ids.hpp"
#include "runtime/win32/text.hpp"
#include "runtime/win32/win32_runtime.hpp"
#include "tests/frontends/checks.hpp"
#include "tests/frontends/game_under_test.hpp"
#include "tests/win32/win32_keys.hpp"

namespace numerak::test {
namespace {

using win32::FormWindow;

Rgb rgb(COLORREF c) { return static_cast<Rgb>(GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c)); }

std::wstring className(HWND w) {
    wchar_t name[32] = {};
    ::GetClassNameW(w, name, 32);
    return name;
}

std::string plain(const std::wstring& caption) {
    std::wstring text;
    for (wchar_t c : caption)
        if (c != L'&') text += c;
    return win32::narrow(text);
}

// The children of a window of one class, in their order.
std::vector<HWND> children(HWND parent, const wchar_t* cls) {
    struct Found {
        const wchar_t* cls;
        std::vector<HWND> all;
    } found{cls, {}};
    ::EnumChildWindows(
        parent,
        [](HWND child, LPARAM into) -> BOOL {
            auto* f = reinterpret_cast<Found*>(into);
            if (className(child) == f->cls && ::IsWindowVisible(child)) f->all.push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found.all;
}

class Win32Player : public Player {
public:
    Win32Player() { current_ = this; }
    ~Win32Player() override {
        for (UINT_PTR t : timers_) ::KillTimer(nullptr, t);
        current_ = nullptr;
    }

    // From a timer of its own, which every message loop dispatches, the boxes' too.
    void post(std::function<void()> action) override {
        actions_.push_back(std::move(action));
        timers_.push_back(::SetTimer(nullptr, 0, 0, runPosted));
    }

    void start() override { game_.rt.start(game_.game); }

    void key(std::string_view window, std::string_view name) override {
        FormWindow* w = windowNamed(window);
        if (!w) return;
        const bool alt = name.substr(0, 4) == "Alt+", shift = name.substr(0, 6) == "Shift+";
        name.remove_prefix(alt ? 4 : shift ? 6 : 0);
        // The dialog manager reads Shift from the keyboard's state, as the key comes.
        BYTE state[256];
        ::GetKeyboardState(state);
        if (shift) state[VK_SHIFT] |= 0x80;
        ::SetKeyboardState(state);
        postKey(w->hwnd(), virtualKey(name), alt);
        pump(game_.rt);
        state[VK_SHIFT] &= 0x7F;
        ::SetKeyboardState(state);
    }

    void type(std::string_view window, std::string_view text) override {
        FormWindow* w = windowNamed(window);
        for (char ch : text) {
            postKey(w ? w->hwnd() : nullptr, virtualKey(std::string_view(&ch, 1)));
            pump(game_.rt);  // each key and the character it makes before the next, as typing is
        }
    }

    void fill(std::string_view window, std::string_view control, std::string_view text) override {
        HWND edit = handle(window, control);
        if (!edit) return;
        ::SetFocus(edit);
        ::SendMessageW(edit, EM_SETSEL, 0, -1);
        type(window, text);
    }

    void click(std::string_view window, std::string_view control) override {
        if (HWND c = handle(window, control)) ::SendMessageW(c, BM_CLICK, 0, 0);
    }

    void menu(std::string_view window, std::string_view item) override {
        const Form* form = game_.form(window);
        if (FormWindow* w = windowNamed(window); w && form)
            ::SendMessageW(w->hwnd(), WM_COMMAND, MAKEWPARAM(win32::commandId(form->design(), item), 0), 0);
    }

    void close(std::string_view window) override {
        if (FormWindow* w = windowNamed(window)) ::SendMessageW(w->hwnd(), WM_CLOSE, 0, 0);
    }

    std::optional<BoxUp> box() override {
        box_ = nullptr;
        ::EnumThreadWindows(
            ::GetCurrentThreadId(),
            [](HWND w, LPARAM into) -> BOOL {
                if (!isBox(w) || ::GetPropW(w, L"numerak.answered")) return TRUE;
                *reinterpret_cast<HWND*>(into) = w;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&box_));
        if (!box_) return std::nullopt;
        BoxUp seen;
        seen.title = win32::narrow(win32::windowText(box_));
        for (HWND text : children(box_, L"Static")) {
            if ((::GetWindowLongW(text, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && ::SendMessageW(text, STM_GETICON, 0, 0))
                seen.icon = true;
            if (seen.text.empty()) seen.text = win32::narrow(win32::windowText(text));
        }
        for (HWND b : children(box_, L"Button")) {
            seen.buttons.push_back(plain(win32::windowText(b)));
            if ((::GetWindowLongW(b, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
                seen.defaultButton = seen.buttons.back();
        }
        return seen;
    }

    void answer(std::string_view answer) override {
        if (!box_) return;
        ::SetPropW(box_, L"numerak.answered", reinterpret_cast<HANDLE>(1));
        respond(answer);
    }

    bool windowUp(std::string_view window) override {
        FormWindow* w = windowNamed(window);
        return w && w->hwnd() && ::IsWindowVisible(w->hwnd());
    }

    std::string focus(std::string_view window) override {
        const Form* form = game_.form(window);
        if (!form) return {};
        for (const auto& c : form->controls())
            if (c->design() && handle(window, c->name()) == ::GetFocus() && ::GetFocus()) return std::string(c->name());
        return {};
    }

    bool chosen(std::string_view window, std::string_view control) override {
        HWND c = handle(window, control);
        return c && ::SendMessageW(c, BM_GETCHECK, 0, 0) == BST_CHECKED;
    }

    bool shown(std::string_view window, std::string_view control) override {
        HWND c = handle(window, control);
        return c && ::IsWindowVisible(c);
    }

    std::string caption(std::string_view window, std::string_view control) override {
        HWND c = handle(window, control);
        return c ? win32::narrow(win32::windowText(c)) : "(none)";
    }

    PixelRect client(std::string_view window) override {
        FormWindow* w = windowNamed(window);
        RECT r{};
        if (w) ::GetClientRect(w->hwnd(), &r);
        return {0, 0, r.right, r.bottom};
    }

    PixelRect place(std::string_view window, std::string_view control) override {
        FormWindow* w = windowNamed(window);
        HWND c = handle(window, control);
        if (!w || !c) return {};
        RECT r;
        ::GetWindowRect(c, &r);
        ::MapWindowPoints(nullptr, w->hwnd(), reinterpret_cast<POINT*>(&r), 2);
        return {r.left, r.top, r.right - r.left, r.bottom - r.top};
    }

    // What the window tells the control to paint itself with.
    std::pair<Rgb, Rgb> colours(std::string_view window, std::string_view control) override {
        FormWindow* w = windowNamed(window);
        HWND c = handle(window, control);
        if (!w || !c) return {};
        const UINT message = className(c) == L"Edit" ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC;
        HDC dc = ::GetDC(w->hwnd());
        const LRESULT brush =
            ::SendMessageW(w->hwnd(), message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(c));
        LOGBRUSH lb{};
        ::GetObjectW(reinterpret_cast<HBRUSH>(brush), sizeof lb, &lb);
        // The text's ground is the brush's, or it is what is seen.
        const COLORREF ground = ::GetBkColor(dc) == lb.lbColor ? lb.lbColor : ::GetBkColor(dc);
        const std::pair colours{rgb(ground), rgb(::GetTextColor(dc))};
        ::ReleaseDC(w->hwnd(), dc);
        return colours;
    }

    Rgb systemColour(int index) override { return rgb(::GetSysColor(index)); }

    bool ended() override { return game_.rt.ended(); }

    win32::Win32Runtime& runtime() { return game_.rt; }

private:
    static void CALLBACK runPosted(HWND, UINT, UINT_PTR id, DWORD) {
        ::KillTimer(nullptr, id);
        if (!current_ || current_->actions_.empty()) return;
        std::function<void()> action = std::move(current_->actions_.front());
        current_->actions_.pop_front();
        action();
    }

    static WORD virtualKey(std::string_view key) {
        const std::pair<std::string_view, WORD> named[]{
            {"Tab", VK_TAB}, {"Enter", VK_RETURN}, {"Escape", VK_ESCAPE}, {"Space", VK_SPACE},
            {"Up", VK_UP},   {"Down", VK_DOWN},    {"Left", VK_LEFT},     {"Right", VK_RIGHT}};
        for (const auto& [name, vk] : named)
            if (key == name) return vk;
        const char c = key.empty() ? 0 : key[0];
        return static_cast<WORD>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);  // letters and digits
    }

    void respond(std::string_view answer) {
        if (answer.substr(0, 5) == "type ") {
            const auto comma = answer.find(", ");
            const std::vector<HWND> edits = children(box_, L"Edit");
            for (char ch : answer.substr(5, comma - 5))
                if (!edits.empty()) ::PostMessageW(edits.front(), WM_CHAR, static_cast<WPARAM>(ch), 1);
            respond(comma == std::string_view::npos ? "Enter" : answer.substr(comma + 2));
        } else if (answer.substr(0, 6) == "click ") {
            for (HWND b : children(box_, L"Button"))
                if (plain(win32::windowText(b)) == answer.substr(6)) ::PostMessageW(b, BM_CLICK, 0, 0);
        } else {
            postKey(box_, answer == "Escape" ? VK_ESCAPE : VK_RETURN);
        }
    }

    FormWindow* windowNamed(std::string_view window) const { return game_.window(window); }
    HWND handle(std::string_view window, std::string_view control) const {
        FormWindow* w = windowNamed(window);
        return w ? w->control(control) : nullptr;
    }

    static inline Win32Player* current_ = nullptr;
    std::deque<std::function<void()>> actions_;
    std::vector<UINT_PTR> timers_;
    HWND box_ = nullptr;  // the box box() saw last
    GameUnderTest<win32::Win32Runtime> game_;
};

class Win32FrontEnd : public ::testing::TestWithParam<FrontEndCheck> {};

CheckRunner* running = nullptr;

TEST_P(Win32FrontEnd, shows) {
    Win32Player player;
    CheckRunner runner(GetParam(), player, std::chrono::seconds(5));
    running = &runner;
    const UINT_PTR ticks = ::SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR, DWORD) { running->tick(); });
    const ULONGLONG until = ::GetTickCount64() + 120'000;
    while (!runner.done() && ::GetTickCount64() < until) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        pump(player.runtime());
    }
    ::KillTimer(nullptr, ticks);
    running = nullptr;
    EXPECT_TRUE(runner.done());
}

INSTANTIATE_TEST_SUITE_P(Checks, Win32FrontEnd, ::testing::ValuesIn(FrontEndChecks(NUMERAK_VERSION)),
                         [](const ::testing::TestParamInfo<FrontEndCheck>& info) { return info.param.name; });

}  // namespace
}  // namespace numerak::test
