// The behaviour every front end shows (tests/frontends/checks.txt), played on the Win32 front end
// in-process: keys posted as a keyboard posts them, real message boxes and the input box.
#include <windows.h>

#include <oleacc.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <string>

#include "runtime/win32/form_window.hpp"
#include "runtime/win32/ids.hpp"
#include "runtime/win32/text.hpp"
#include "runtime/win32/widgets.hpp"
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

// What a screen reader hears of a window through the system's accessibility interface (its
// client object): the role in checks.txt's words, name, description and state. wine's oleacc
// gives every control but edit boxes the generic client role and leaves out the checked state,
// where Windows' own gives each its role: there the role is not known.
std::optional<Heard> hear(HWND w) {
    IAccessible* acc = nullptr;
    if (!w ||
        FAILED(::AccessibleObjectFromWindow(w, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                            reinterpret_cast<void**>(&acc))) ||
        !acc)
        return std::nullopt;
    VARIANT self;
    ::VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    const auto text = [&](HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*)) {
        BSTR got = nullptr;
        std::string said;
        if ((acc->*get)(self, &got) == S_OK && got) said = win32::narrow(std::wstring(got, ::SysStringLen(got)));
        ::SysFreeString(got);
        return said;
    };
    const auto number = [&](HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*)) {
        VARIANT v;
        ::VariantInit(&v);
        const long n = SUCCEEDED((acc->*get)(self, &v)) && v.vt == VT_I4 ? v.lVal : 0;
        ::VariantClear(&v);
        return n;
    };
    Heard h{{}, text(&IAccessible::get_accName), text(&IAccessible::get_accDescription), true, {}};
    const long role = number(&IAccessible::get_accRole), state = number(&IAccessible::get_accState);
    acc->Release();
    const std::pair<long, const char*> words[]{{ROLE_SYSTEM_PUSHBUTTON, "button"}, {ROLE_SYSTEM_RADIOBUTTON, "option"},
                                               {ROLE_SYSTEM_TEXT, "text"},         {ROLE_SYSTEM_STATICTEXT, "label"},
                                               {ROLE_SYSTEM_GRAPHIC, "picture"},   {ROLE_SYSTEM_ALERT, "alert"}};
    for (const auto& [r, word] : words)
        if (role == r) h.role = word;
    if (h.role.empty() && role != ROLE_SYSTEM_CLIENT) h.role = "role " + std::to_string(role);
    h.showing = !(state & STATE_SYSTEM_INVISIBLE);
    if (role == ROLE_SYSTEM_RADIOBUTTON) h.checked = (state & STATE_SYSTEM_CHECKED) != 0;
    return h;
}

class Win32Player : public Player {
public:
    Win32Player() {
        current_ = this;
        ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        // As a screen reader's hook receives them: the name or the description of a control changed.
        told_.clear();
        hook_ = ::SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_DESCRIPTIONCHANGE, nullptr, tell,
                                  ::GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    }
    ~Win32Player() override {
        for (UINT_PTR t : timers_) ::KillTimer(nullptr, t);
        ::UnhookWinEvent(hook_);
        win32::pretendHighContrast(std::nullopt);
        current_ = nullptr;
        ::CoUninitialize();
    }

    // From a timer of its own, which every message loop dispatches, the boxes' too.
    void post(std::function<void()> action) override {
        actions_.push_back([action = std::move(action)] {
            told_.clear();
            action();
        });
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

    // Windows gives a disabled window no input: a click reaches a control only while it and its
    // window are enabled.
    void click(std::string_view window, std::string_view control) override {
        HWND c = handle(window, control);
        if (c && ::IsWindowEnabled(c) && ::IsWindowEnabled(::GetAncestor(c, GA_ROOT)))
            ::SendMessageW(c, BM_CLICK, 0, 0);
    }

    void menu(std::string_view window, std::string_view item) override {
        const Form* form = game_.form(window);
        if (FormWindow* w = windowNamed(window); w && form)
            ::SendMessageW(w->hwnd(), WM_COMMAND, MAKEWPARAM(win32::commandId(form->design(), item), 0), 0);
    }

    void close(std::string_view window) override {
        if (FormWindow* w = windowNamed(window)) ::SendMessageW(w->hwnd(), WM_CLOSE, 0, 0);
    }

    // As the system tells its windows of a change of the high-contrast setting.
    void contrast(bool more) override {
        win32::pretendHighContrast(more);
        ::EnumThreadWindows(
            ::GetCurrentThreadId(),
            [](HWND w, LPARAM) -> BOOL {
                ::SendMessageW(w, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
                return TRUE;
            },
            0);
    }

    // The click as any other; the keys go where the keyboard is.
    void tryBeneath(std::string_view window, std::string_view control) override {
        click(window, control);
        const std::string text = caption(window, control);
        FormWindow* w = windowNamed(window);
        if (const auto at = text.find('&'); w && at + 1 < text.size()) {
            postKey(w->hwnd(), virtualKey(text.substr(at + 1, 1)), true);
            pump(game_.rt);
        }
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
        seen.field = !children(box_, L"Edit").empty();
        return seen;
    }

    // Windows gives every box the dialog role (wine the client role): a screen reader tells a
    // message box by its class, so the role is not compared.
    std::optional<BoxHeard> heardBox() override {
        const auto box = hear(box_);
        if (!box) return std::nullopt;
        BoxHeard heard{{}, box->name, {}, {}, {}};
        for (HWND c : children(box_, L"Static"))
            if (const auto h = hear(c); h && heard.text.empty()) heard.text = h->name;
        for (HWND b : children(box_, L"Button"))
            if (const auto h = hear(b)) heard.buttons.push_back(h->name);
        for (HWND e : children(box_, L"Edit"))
            if (const auto h = hear(e)) heard.field = h->name;
        return heard;
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

    // What the window tells the control to paint itself with; the window's own ground as it
    // erases it, at its lower left corner.
    std::pair<Rgb, Rgb> colours(std::string_view window, std::string_view control) override {
        FormWindow* w = windowNamed(window);
        if (w && control == window) {
            RECT r{};
            ::GetClientRect(w->hwnd(), &r);
            HDC screen = ::GetDC(w->hwnd()), dc = ::CreateCompatibleDC(screen);
            HBITMAP picture = ::CreateCompatibleBitmap(screen, r.right, r.bottom);
            HGDIOBJ was = ::SelectObject(dc, picture);
            ::SendMessageW(w->hwnd(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
            const Rgb ground = rgb(::GetPixel(dc, 2, r.bottom - 3));
            ::SelectObject(dc, was);
            ::DeleteObject(picture);
            ::DeleteDC(dc);
            ::ReleaseDC(w->hwnd(), screen);
            return {ground, 0};
        }
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

    std::optional<Heard> heard(std::string_view window, std::string_view control) override {
        FormWindow* w = windowNamed(window);
        auto h = hear(!w ? nullptr : control == window ? w->hwnd() : handle(window, control));
        if (h && control == window) h->role = "window";
        return h;
    }

    bool announced(std::string_view window, std::string_view control) override {
        HWND c = handle(window, control);
        return c && std::find(told_.begin(), told_.end(), c) != told_.end();
    }

    win32::Win32Runtime& runtime() { return game_.rt; }

private:
    static void CALLBACK tell(HWINEVENTHOOK, DWORD, HWND w, LONG object, LONG child, DWORD, DWORD) {
        if (object == OBJID_CLIENT && child == CHILDID_SELF) told_.push_back(w);
    }

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
    static inline std::vector<HWND> told_;  // since the last action began
    HWINEVENTHOOK hook_ = nullptr;
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
