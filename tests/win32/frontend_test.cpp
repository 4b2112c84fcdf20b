// The Win32 front end in-process, what Windows alone has of it: the model and the controls in step
// both ways, the lines, the number boxes' unseen name labels, a contrast change shown at once and
// the end of the message loop, with real message boxes answered by a timer.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "about/frmabout.hpp"
#include "app/identity.hpp"
#include "game/frmcode.hpp"
#include "runtime/win32/form_window.hpp"
#include "runtime/win32/text.hpp"
#include "runtime/win32/widgets.hpp"
#include "runtime/win32/win32_runtime.hpp"
#include "tests/about/fake_platform.hpp"
#include "tests/win32/win32_keys.hpp"

namespace numerak::test {
namespace {

using win32::FormWindow;
using win32::Win32Runtime;

// Answers every message box of this thread with the button given, noting each box's title.
struct BoxAnswerer {
    static inline int button = IDOK;
    static inline std::vector<std::wstring> titles;
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
        ::EnumThreadWindows(
            ::GetCurrentThreadId(),
            [](HWND w, LPARAM) -> BOOL {
                wchar_t cls[16] = {};
                ::GetClassNameW(w, cls, 16);
                if (std::wstring(cls) == L"#32770" && ::IsWindowVisible(w)) {
                    titles.push_back(win32::windowText(w));
                    ::PostMessageW(w, WM_COMMAND, button, 0);
                }
                return TRUE;
            },
            0);
    }
    BoxAnswerer() { timer = ::SetTimer(nullptr, 0, 30, tick); }
    ~BoxAnswerer() { ::KillTimer(nullptr, timer); }
    UINT_PTR timer;
};

class FrontEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        BoxAnswerer::titles.clear();
        BoxAnswerer::button = IDOK;
        rt.start(game);
        window = rt.window(game);
        ASSERT_TRUE(window);
        pump();
    }
    void pump() { test::pump(rt); }
    HWND c(std::string_view name) { return window->control(name); }
    std::string textOf(std::string_view name) { return win32::narrow(win32::windowText(c(name))); }
    void click(std::string_view name) { ::SendMessageW(c(name), BM_CLICK, 0, 0); }

    BoxAnswerer boxes;
    Win32Runtime rt{"Numerak"};
    Generator generator;
    FakePlatform platform;
    frmCode game{rt, generator, [this] { return std::make_unique<frmAbout>(rt, platform, numerakIdentity); }};
    FormWindow* window = nullptr;
};

TEST_F(FrontEndTest, modelAndControlsStayInStepBothWays) {
    Form& form = *rt.form(game);
    ::SetWindowTextW(c("Text2"), L"\u00e97");  // typed: the model holds it as UTF-8
    EXPECT_EQ(form["Text2"].text(),
              "\xc3\xa9"
              "7");
    form["Text3"].setText("42");
    EXPECT_EQ(textOf("Text3"), "42");
    click("Option2");
    EXPECT_TRUE(form["Option2"].value());
    form["Option3"].setValue(true);
    EXPECT_EQ(::SendMessageW(c("Option3"), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(::SendMessageW(c("Option2"), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    click("Command5");
    EXPECT_EQ(textOf("Label1"), "Please enter 4 numbers below. (1-10)");
    EXPECT_FALSE(::IsWindowVisible(c("Option1")));
    EXPECT_EQ(game.state().TurnsLeft, 6);
}

// The colours under more contrast are in the checks every front end plays; that they are shown at
// once is Windows' own: the labels paint again when the setting changes.
TEST_F(FrontEndTest, aChangeOfTheContrastSettingPaintsTheLabelsAgain) {
    struct Unpretend {
        ~Unpretend() { win32::pretendHighContrast(std::nullopt); }
    } unpretend;
    for (const bool on : {true, false}) {
        win32::pretendHighContrast(on);
        ::UpdateWindow(window->hwnd());
        ::SendMessageW(window->hwnd(), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
        EXPECT_TRUE(::GetUpdateRect(c("Label1"), nullptr, FALSE)) << on;
        pump();
    }
}

// What a screen reader hears is in the checks too; the number boxes are named by labels nobody
// sees, so that the window looks as designed.
TEST_F(FrontEndTest, theNumberBoxesAreNamedByUnseenLabelsJustBeforeThem) {
    for (auto box : {"Text1", "Text2", "Text3", "Text4"}) {
        HWND label = window->nameLabel(box);
        ASSERT_TRUE(label) << box;
        EXPECT_FALSE(::IsWindowVisible(label)) << box;
        EXPECT_EQ(::GetWindow(c(box), GW_HWNDPREV), label) << box;
        EXPECT_EQ(win32::windowText(c(box)), L"") << box;
    }
    EXPECT_FALSE(window->nameLabel("Command1"));  // a button's caption is its name
}

// Its places, colours, keys and boxes are in the checks every front end plays
// (tests/frontends/checks.txt); what Windows alone shows of it is here.
TEST_F(FrontEndTest, linesArePaintedByTheWindowWhichHasAMenuBar) {
    EXPECT_EQ(BoxAnswerer::titles, std::vector<std::wstring>{L"Select New game"});
    EXPECT_TRUE(window->menu());
    EXPECT_FALSE(c("Line1"));  // lines are painted by the window itself
}

// The game waiting behind the About window is in the checks.
TEST_F(FrontEndTest, theEndLeavesTheMessageLoop) {
    BoxAnswerer::button = IDYES;
    ::SendMessageW(window->hwnd(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(rt.ended());
    MSG m;
    EXPECT_TRUE(::PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(m.wParam, 0u);
}

}  // namespace
}  // namespace numerak::test
