// A whole game on Windows with the keyboard alone, every box answered by a key, and what each
// key did written out as it goes.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "game/frmcode.hpp"
#include "runtime/conversions.hpp"
#include "runtime/win32/form_window.hpp"
#include "runtime/win32/text.hpp"
#include "runtime/win32/win32_runtime.hpp"
#include "tests/win32/win32_keys.hpp"

namespace numerak::test {
namespace {

using win32::FormWindow;
using win32::Win32Runtime;

class KeyboardTest : public ::testing::Test {
protected:
    void pump() { test::pump(rt); }
    // The design's name of the control with the keyboard.
    std::string focused() {
        HWND f = ::GetFocus();
        for (auto n : {"Text1", "Text2", "Text3", "Text4", "Command1", "Command2", "Command3", "Picture1", "Option1",
                       "Option2", "Option3", "Option4", "Command5"})
            if (f && window->control(n) == f) return n;
        return f == window->hwnd() ? "the window" : "elsewhere";
    }
    void press(WORD key, const char* said, bool alt = false) {
        postKey(window->hwnd(), key, alt);
        pump();
        std::printf("  %-8s -> %s\n", said, rt.ended() ? "the program ends" : focused().c_str());
    }
    void type(const std::string& text) {
        for (char ch : text) {
            postKey(window->hwnd(), static_cast<WORD>(ch));
            pump();
        }
        std::printf("  typed %s\n", text.c_str());
    }
    bool checked(std::string_view option) {
        return ::SendMessageW(window->control(option), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    void expectBox(std::size_t index, const wchar_t* title, const wchar_t* text) {
        ASSERT_GT(KeyAnswerer::seen.size(), index);
        EXPECT_EQ(KeyAnswerer::seen[index].title, title);
        EXPECT_EQ(KeyAnswerer::seen[index].text, text);
        std::printf("  box \"%s\": %s\n", win32::narrow(title).c_str(), win32::narrow(text).c_str());
    }

    KeyAnswerer boxes;
    Generator generator;
    Win32Runtime rt{"Numerak"};
    frmCode game{rt, generator, nullptr};
    FormWindow* window = nullptr;
};

TEST_F(KeyboardTest, aWholeGameWithKeysAlone) {
    KeyAnswerer::answers = {{VK_RETURN}};  // the opening message's OK
    rt.start(game);
    window = rt.window(game);
    ASSERT_TRUE(window);
    pump();
    expectBox(0, L"Select New game", L"Please choose your preferred difficulty setting on the right.");
    ASSERT_EQ(focused(), "Text1");

    const std::vector<std::string> tabOrder = {"Text2",    "Text3",    "Text4",    "Command1",
                                               "Command2", "Command3", "Picture1", "Option1"};
    for (const auto& next : tabOrder) {
        press(VK_TAB, "Tab");
        EXPECT_EQ(focused(), next);
    }
    press(VK_SPACE, "Space");
    EXPECT_TRUE(checked("Option1"));
    press(VK_DOWN, "Down");  // the arrows move the choice
    EXPECT_TRUE(checked("Option2") && !checked("Option1"));
    press(VK_UP, "Up");
    EXPECT_TRUE(checked("Option1"));
    press(VK_TAB, "Tab");
    EXPECT_EQ(focused(), "Command5");
    press(VK_SPACE, "Space");  // deals Easy
    EXPECT_EQ(game.state().TurnsLeft, 10);
    EXPECT_FALSE(::IsWindowVisible(window->control("Option1")));
    EXPECT_EQ(focused(), "Text1") << "the keyboard leaves the hidden panel";

    // A wrong guess with Alt+G. Esc means nothing to a Yes/No box on Windows; N answers No, and
    // N again refuses to quit: the game goes on.
    for (auto box : {"Text1", "Text2", "Text3", "Text4"}) {
        EXPECT_EQ(focused(), box);
        type("9");
        press(VK_TAB, "Tab");
    }
    EXPECT_EQ(focused(), "Command1");
    KeyAnswerer::answers = {{VK_ESCAPE, 'N'}, {'N'}};
    press('G', "Alt+G", true);
    expectBox(1, L"sorry", L"You got 0 out of four, do you want to continue?");
    expectBox(2, L"Are you sure?", L"Are you sure you want to quit?");
    EXPECT_FALSE(rt.ended());
    EXPECT_EQ(game.state().TurnsLeft, 9);

    // Round to the first box; Tab selects a box's text, so typing replaces it.
    for (int i = 0; i < 4; ++i) press(VK_TAB, "Tab");
    EXPECT_EQ(focused(), "Text1");
    const GameState& s = game.state();
    for (auto secret : {s.Secret1, s.Secret2, s.Secret3, s.Secret4}) {
        type(IntegerText(secret));
        press(VK_TAB, "Tab");
    }
    KeyAnswerer::answers = {{VK_RETURN}};  // Yes, play again
    press(VK_SPACE, "Space");
    expectBox(3, L"well done", L"You done it! Would you like to play again?");
    EXPECT_TRUE(::IsWindowVisible(window->control("Command5")));

    // Custom: the turns typed and Enter, the highest number cancelled with Esc.
    for (int i = 0; i < 4; ++i) press(VK_TAB, "Tab");
    EXPECT_EQ(focused(), "Option1");
    for (int i = 0; i < 3; ++i) press(VK_DOWN, "Down");
    EXPECT_TRUE(checked("Option4"));
    press(VK_TAB, "Tab");
    EXPECT_EQ(focused(), "Command5");
    KeyAnswerer::answers = {{'3', VK_RETURN}, {VK_ESCAPE}};
    press(VK_SPACE, "Space");
    expectBox(4, L"Turns", L"How many turns would you like?");
    expectBox(5, L"Number", L"What is the highest number you want to guess with (1-?)");
    EXPECT_EQ(game.state().TurnsLeft, 3);
    EXPECT_EQ(win32::windowText(window->control("Label1")), L"Please enter 4 numbers below. (1-5)")
        << "a cancelled answer keeps the highest number";

    // Alt+N brings the panel back; Alt+Q and Enter (Yes) end the program.
    press('N', "Alt+N", true);
    EXPECT_TRUE(::IsWindowVisible(window->control("lblNew")));
    KeyAnswerer::answers = {{VK_RETURN}};
    press('Q', "Alt+Q", true);
    expectBox(6, L"Are you sure?", L"Are you sure you want to quit?");
    EXPECT_TRUE(rt.ended());
}

TEST_F(KeyboardTest, theArrowsChooseAnOptionAndEnterPressesTheFocusedButton) {
    KeyAnswerer::seen.clear();
    KeyAnswerer::answers = {{VK_RETURN}};
    rt.start(game);
    window = rt.window(game);
    ASSERT_TRUE(window);
    pump();
    for (int i = 0; i < 8; ++i) press(VK_TAB, "Tab");
    ASSERT_EQ(focused(), "Option1");  // none chosen yet
    press(VK_DOWN, "Down");
    EXPECT_EQ(focused(), "Option2");
    EXPECT_TRUE(checked("Option2"));
    press(VK_TAB, "Tab");
    press(VK_RETURN, "Enter");  // on the panel's Enter: Medium dealt
    EXPECT_EQ(game.state().TurnsLeft, 8);

    EXPECT_EQ(focused(), "Text1");
    press(VK_RETURN, "Enter");  // in a number box Enter does nothing
    EXPECT_EQ(KeyAnswerer::seen.size(), 1u);
    for (int i = 0; i < 4; ++i) press(VK_TAB, "Tab");
    ASSERT_EQ(focused(), "Command1");
    KeyAnswerer::answers = {{VK_RETURN}};
    press(VK_RETURN, "Enter");  // on Guess: the boxes are empty
    expectBox(1, L"enter number", L"Please enter numbers in all 4 boxes");
}

}  // namespace
}  // namespace numerak::test
