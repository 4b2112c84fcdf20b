// What a screen reader on Windows hears: every control of both windows through the system's
// accessibility interface (oleacc), the name changes of the labels the game rewrites, and the
// boxes' texts and buttons.
#include <windows.h>

#include <oleacc.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "about/frmabout.hpp"
#include "app/identity.hpp"
#include "game/frmcode.hpp"
#include "runtime/win32/form_window.hpp"
#include "runtime/win32/ids.hpp"
#include "runtime/win32/text.hpp"
#include "runtime/win32/win32_runtime.hpp"
#include "tests/about/fake_platform.hpp"
#include "tests/win32/win32_keys.hpp"
#include "ui/designs.hpp"

namespace numerak::test {
namespace {

using win32::FormWindow;
using win32::Win32Runtime;

// wine's oleacc gives every control but edit boxes the generic client role and leaves out the
// checked state; Windows' own gives each its role. Under wine the generic role is accepted.
bool underWine() { return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

struct Heard {
    std::string name;
    long role = 0;
    long state = 0;
    std::string description;
};

std::string text(IAccessible* acc, HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*)) {
    VARIANT self;
    ::VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR got = nullptr;
    std::string said;
    if ((acc->*get)(self, &got) == S_OK && got) said = win32::narrow(std::wstring(got, ::SysStringLen(got)));
    ::SysFreeString(got);
    return said;
}

// A window's client object, as a screen reader asks for it.
Heard hear(HWND control) {
    Heard h{"<no accessible object>", 0, 0, {}};
    IAccessible* acc = nullptr;
    if (FAILED(::AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                            reinterpret_cast<void**>(&acc))) ||
        !acc)
        return h;
    VARIANT self;
    ::VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    h.name = text(acc, &IAccessible::get_accName);
    h.description = text(acc, &IAccessible::get_accDescription);
    VARIANT v;
    ::VariantInit(&v);
    if (SUCCEEDED(acc->get_accRole(self, &v)) && v.vt == VT_I4) h.role = v.lVal;
    ::VariantClear(&v);
    if (SUCCEEDED(acc->get_accState(self, &v)) && v.vt == VT_I4) h.state = v.lVal;
    ::VariantClear(&v);
    acc->Release();
    return h;
}

void expectRole(const Heard& h, long role, const std::string& what) {
    if (underWine() && role != ROLE_SYSTEM_TEXT && h.role == ROLE_SYSTEM_CLIENT) return;
    EXPECT_EQ(h.role, role) << what;
}

struct Expected {
    const char* control;
    const char* name;
    long role;
};

// Every named control of a window is heard by its name and role.
void expectHeard(HWND window, const WindowDesign& design, const std::vector<Expected>& table) {
    for (const auto& e : table) {
        HWND control = ::GetDlgItem(window, win32::commandId(design, e.control));
        ASSERT_TRUE(control) << e.control;
        const Heard h = hear(control);
        EXPECT_EQ(h.name, e.name) << e.control;
        expectRole(h, e.role, e.control);
    }
}

class AccessibilityTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    static void TearDownTestSuite() { ::CoUninitialize(); }
    void SetUp() override {
        KeyAnswerer::answers = {{VK_RETURN}};  // the opening message
        rt.start(game);
        window = rt.window(game);
        ASSERT_TRUE(window);
        pump();
    }
    void pump() { test::pump(rt); }
    HWND c(std::string_view name) { return window->control(name); }
    void click(std::string_view name) {
        ::SendMessageW(c(name), BM_CLICK, 0, 0);
        pump();
    }

    KeyAnswerer boxes;
    Win32Runtime rt{"Numerak"};
    Generator generator;
    FakePlatform platform;
    frmCode game{rt, generator, [this] { return std::make_unique<frmAbout>(rt, platform, numerakIdentity); }};
    FormWindow* window = nullptr;
};

TEST_F(AccessibilityTest, everyGameControlSaysWhatItIs) {
    expectHeard(window->hwnd(), ui::frmCodeDesign(),
                {{"Text1", "First number", ROLE_SYSTEM_TEXT},
                 {"Text2", "Second number", ROLE_SYSTEM_TEXT},
                 {"Text3", "Third number", ROLE_SYSTEM_TEXT},
                 {"Text4", "Fourth number", ROLE_SYSTEM_TEXT},
                 {"Command1", "Guess", ROLE_SYSTEM_PUSHBUTTON},
                 {"Command2", "New Game", ROLE_SYSTEM_PUSHBUTTON},
                 {"Command3", "Quit", ROLE_SYSTEM_PUSHBUTTON},
                 {"Command5", "Enter", ROLE_SYSTEM_PUSHBUTTON},
                 {"Option1", "Easy", ROLE_SYSTEM_RADIOBUTTON},
                 {"Option2", "Medium", ROLE_SYSTEM_RADIOBUTTON},
                 {"Option3", "Hard", ROLE_SYSTEM_RADIOBUTTON},
                 {"Option4", "Custom", ROLE_SYSTEM_RADIOBUTTON},
                 {"lblNew", "New Game menu", ROLE_SYSTEM_STATICTEXT}});
    // The banner is named by its window text, which is never drawn.
    EXPECT_EQ(hear(c("Picture1")).name, "Numerak");
    EXPECT_EQ(hear(window->hwnd()).name, "Numerak");
    // The names come from labels nobody sees: the window looks as designed.
    for (auto box : {"Text1", "Text2", "Text3", "Text4"}) {
        HWND label = window->nameLabel(box);
        ASSERT_TRUE(label) << box;
        EXPECT_FALSE(::IsWindowVisible(label)) << box;
        EXPECT_EQ(::GetWindow(c(box), GW_HWNDPREV), label) << box << ": its label comes just before it";
        EXPECT_EQ(win32::windowText(c(box)), L"") << box;
    }
    EXPECT_FALSE(window->nameLabel("Command1"));  // a button's caption is its name
}

TEST_F(AccessibilityTest, theStatesFollowTheGame) {
    EXPECT_TRUE(hear(c("Text1")).state & STATE_SYSTEM_FOCUSED);
    click("Option2");
    if (!underWine()) {
        EXPECT_TRUE(hear(c("Option2")).state & STATE_SYSTEM_CHECKED);
    }
    EXPECT_FALSE(hear(c("Option2")).state & STATE_SYSTEM_INVISIBLE);
    click("Command5");
    // The dealt game hides the difficulty panel; a reader no longer finds it showing.
    for (auto hidden : {"Option1", "Option2", "Option3", "Option4", "Command5", "lblNew"})
        EXPECT_TRUE(hear(c(hidden)).state & STATE_SYSTEM_INVISIBLE) << hidden;
    for (auto shown : {"Text1", "Command1", "Label1"}) EXPECT_FALSE(hear(c(shown)).state & STATE_SYSTEM_INVISIBLE);
    EXPECT_EQ(hear(c("Label1")).name, "Please enter 4 numbers below. (1-7)");
}

// Events of one kind of this thread's controls, as a screen reader's hook receives them: the
// name (a label's text) or the description of a control's client object changed.
template <DWORD Kind>
struct ClientEvents {
    static inline std::vector<HWND> changed;
    static void CALLBACK event(HWINEVENTHOOK, DWORD, HWND w, LONG object, LONG child, DWORD, DWORD) {
        if (object == OBJID_CLIENT && child == CHILDID_SELF) changed.push_back(w);
    }
    ClientEvents() {
        changed.clear();
        hook = ::SetWinEventHook(Kind, Kind, nullptr, event, ::GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    }
    ~ClientEvents() { ::UnhookWinEvent(hook); }
    ClientEvents(const ClientEvents&) = delete;
    ClientEvents& operator=(const ClientEvents&) = delete;
    HWINEVENTHOOK hook;
};
using NameChanges = ClientEvents<EVENT_OBJECT_NAMECHANGE>;
using DescriptionChanges = ClientEvents<EVENT_OBJECT_DESCRIPTIONCHANGE>;

TEST_F(AccessibilityTest, theLabelsTheGameRewritesAnnounceTheirNewText) {
    NameChanges events;
    ASSERT_TRUE(events.hook);
    click("Option1");
    click("Command5");  // deals: Label1 says the range
    (*rt.form(game))["lblturns"].setCaption("You have 5 turns remaining");
    pump();
    const auto& seen = NameChanges::changed;
    EXPECT_NE(std::find(seen.begin(), seen.end(), c("Label1")), seen.end());
    EXPECT_NE(std::find(seen.begin(), seen.end(), c("lblturns")), seen.end());
    EXPECT_EQ(hear(c("lblturns")).name, "You have 5 turns remaining");
}

TEST_F(AccessibilityTest, theBoxesAndGuessAreDescribedByTheRangeAndTheTurnsLeft) {
    EXPECT_EQ(hear(c("Text1")).description, "");  // nothing dealt, nothing to say
    click("Option3");                             // Hard: 6 turns
    click("Command5");
    EXPECT_EQ(hear(c("Text1")).description, "Please enter 4 numbers below. (1-10)");
    EXPECT_EQ(hear(c("Command1")).description, "");
    DescriptionChanges events;
    ASSERT_TRUE(events.hook);
    KeyAnswerer::answers = {{VK_RETURN}};
    click("Command1");  // an entry failure: 5 turns left
    EXPECT_EQ(KeyAnswerer::seen.back().title, L"enter number");
    EXPECT_EQ(hear(c("Text4")).description, "Please enter 4 numbers below. (1-10) You have 5 turns remaining");
    const Heard guess = hear(c("Command1"));
    EXPECT_EQ(guess.name, "Guess");  // the standard object still answers the rest
    EXPECT_EQ(guess.description, "You have 5 turns remaining");
    expectRole(guess, ROLE_SYSTEM_PUSHBUTTON, "Command1");
    // Told as it happens, so that a screen reader on Guess says it at once.
    const auto& seen = DescriptionChanges::changed;
    EXPECT_NE(std::find(seen.begin(), seen.end(), c("Command1")), seen.end());
    EXPECT_EQ(std::count(seen.begin(), seen.end(), c("Label1")), 0);  // only the described tell
}

// Runs while a modal window or box is up: the check, then the keys that answer it.
struct WhileUp {
    static inline std::function<bool()> check;  // true once it has looked
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
        if (check && check()) check = nullptr;
    }
    explicit WhileUp(std::function<bool()> f) {
        check = std::move(f);
        timer = ::SetTimer(nullptr, 0, 40, tick);
    }
    ~WhileUp() {
        ::KillTimer(nullptr, timer);
        check = nullptr;
    }
    WhileUp(const WhileUp&) = delete;
    WhileUp& operator=(const WhileUp&) = delete;
    UINT_PTR timer;
};

TEST_F(AccessibilityTest, everyAboutControlSaysWhatItIs) {
    bool looked = false;
    WhileUp up([&] {
        HWND about = ::FindWindowW(L"NumerakForm", L"About Numerak");
        if (!about || !::IsWindowVisible(about)) return false;
        EXPECT_EQ(hear(about).name, "About Numerak");
        expectHeard(about, ui::frmAboutDesign(),
                    {{"cmdOK", "OK", ROLE_SYSTEM_PUSHBUTTON},
                     {"cmdSysInfo", "System Info...", ROLE_SYSTEM_PUSHBUTTON},
                     {"lblTitle", "Numerak", ROLE_SYSTEM_STATICTEXT},
                     {"lblVersion", "Version " NUMERAK_VERSION, ROLE_SYSTEM_STATICTEXT},
                     {"Label1", "numerak.example/help", ROLE_SYSTEM_STATICTEXT},
                     {"Label2", "Visit us at numerak.example", ROLE_SYSTEM_STATICTEXT},
                     {"lblDisclaimer", "Made by the Numerak developers", ROLE_SYSTEM_STATICTEXT}});
        EXPECT_EQ(hear(::GetDlgItem(about, win32::commandId(ui::frmAboutDesign(), "Picture1"))).name, "Numerak");
        const std::string description =
            hear(::GetDlgItem(about, win32::commandId(ui::frmAboutDesign(), "lblDescription"))).name;
        EXPECT_EQ(description.rfind("Numerak, the game where you must think inside the box.", 0), 0u) << description;
        EXPECT_TRUE(hear(::GetFocus()).state & STATE_SYSTEM_FOCUSED);
        EXPECT_EQ(hear(::GetFocus()).name, "OK");  // the keyboard starts on OK
        looked = true;
        postKey(about, VK_ESCAPE);
        return true;
    });
    ::SendMessageW(window->hwnd(), WM_COMMAND, MAKEWPARAM(win32::commandId(ui::frmCodeDesign(), "mnuHelpAbout"), 0), 0);
    EXPECT_TRUE(looked);
}

// The buttons of a box, by what a reader hears, and the one Enter presses.
struct BoxHeard {
    std::string title, text;
    std::vector<std::string> buttons;
    std::string defaultButton;
};

BoxHeard hearBox(HWND box) {
    BoxHeard b{hear(box).name, {}, {}, {}};
    for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        wchar_t cls[16] = {};
        ::GetClassNameW(child, cls, 16);
        const std::wstring kind(cls);
        const Heard h = hear(child);
        if (kind == L"Button") {
            b.buttons.push_back(h.name);
            if ((::GetWindowLongW(child, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON) b.defaultButton = h.name;
        } else if (kind == L"Static" && b.text.empty()) {
            b.text = h.name;
        } else if (kind == L"Edit") {
            b.text += " / box: " + h.name;  // an edit box is named by the prompt before it
        }
    }
    return b;
}

TEST_F(AccessibilityTest, boxesReadTheirTextTitleAndButtons) {
    std::vector<BoxHeard> heard;
    // Each box as it comes up: heard, then answered with Esc (the input boxes) or N (the question).
    WhileUp up([&] {
        for (HWND box = ::GetTopWindow(nullptr); box; box = ::GetWindow(box, GW_HWNDNEXT)) {
            DWORD pid = 0;
            ::GetWindowThreadProcessId(box, &pid);
            if (pid != ::GetCurrentProcessId() || !isBox(box) || ::GetPropW(box, L"numerak.heard")) continue;
            ::SetPropW(box, L"numerak.heard", reinterpret_cast<HANDLE>(1));
            heard.push_back(hearBox(box));
            postKey(box, heard.back().buttons.size() == 2 && heard.back().buttons[0] == "Yes" ? 'N' : VK_ESCAPE);
        }
        return heard.size() >= 3;
    });
    click("Option4");
    click("Command5");  // Custom: two input boxes
    ::SendMessageW(window->hwnd(), WM_CLOSE, 0, 0);
    ASSERT_EQ(heard.size(), 3u);
    EXPECT_EQ(heard[0].title, "Turns");
    EXPECT_EQ(heard[0].text, "How many turns would you like? / box: How many turns would you like?");
    EXPECT_EQ(heard[0].buttons, (std::vector<std::string>{"OK", "Cancel"}));
    EXPECT_EQ(heard[0].defaultButton, "OK");
    EXPECT_EQ(heard[1].title, "Number");
    EXPECT_EQ(heard[2].title, "Are you sure?");
    EXPECT_EQ(heard[2].text, "Are you sure you want to quit?");
    EXPECT_EQ(heard[2].buttons, (std::vector<std::string>{"Yes", "No"}));
    EXPECT_EQ(heard[2].defaultButton, "Yes");
    EXPECT_FALSE(rt.ended());
}

}  // namespace
}  // namespace numerak::test
