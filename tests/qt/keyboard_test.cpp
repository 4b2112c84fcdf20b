// A whole game with the keyboard alone, from the opening message to the end of the program.
#include <gtest/gtest.h>

#include <iostream>

#include <QApplication>
#include <QKeySequence>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include "game/frmcode.hpp"
#include "runtime/conversions.hpp"
#include "runtime/qt/form_window.hpp"
#include "runtime/qt/qt_runtime.hpp"
#include "tests/qt/box_answerer.hpp"

namespace numerak::test {
namespace {

class KeyboardTest : public ::testing::Test {
protected:
    // The offscreen platform does not hand activation back after a box closes, as a window
    // manager would; keys only reach the active window.
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QApplication::setActiveWindow(window);
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : window;
        const std::size_t line = boxes.transcript.size();  // before the boxes the key brings up
        boxes.transcript.push_back("key " + QKeySequence(key | modifiers).toString().toStdString() + " on " +
                                   target->objectName().toStdString());
        QTest::keyClick(target, key, modifiers);
        if (QWidget* now = QApplication::focusWidget())
            boxes.transcript[line] += ", focus on " + now->objectName().toStdString();
    }
    void type(const std::string& text) {
        boxes.transcript.push_back("typed \"" + text + "\" into " + focused());
        QTest::keyClicks(QApplication::focusWidget(), QString::fromStdString(text));
    }
    // The game as a keyboard-only player went through it, for whoever reads the test's output.
    void TearDown() override {
        std::cout << "transcript of the keyboard-only game:\n";
        for (const auto& line : boxes.transcript) std::cout << "  " << line << '\n';
    }
    std::string focused() { return QApplication::focusWidget()->objectName().toStdString(); }
    bool waitUntil(const std::function<bool()>& condition) { return QTest::qWaitFor(condition, 3000); }

    BoxAnswerer boxes;
    Generator generator;
    qt::QtRuntime rt{"Numerak"};
    frmCode game{rt, generator, nullptr};
    qt::FormWindow* window = nullptr;
};

TEST_F(KeyboardTest, aWholeGameWithKeysAlone) {
    rt.setOnEnd([] {});
    boxes.key(Qt::Key_Return);  // the opening message's OK
    rt.start(game);
    window = rt.window(game);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    ASSERT_EQ(focused(), "Text1");

    for (int i = 0; i < 8; ++i) press(Qt::Key_Tab);  // past the boxes, buttons and banner
    EXPECT_EQ(focused(), "Option1");
    press(Qt::Key_Down);
    press(Qt::Key_Up);
    press(Qt::Key_Space);  // Easy
    EXPECT_TRUE(window->findChild<QRadioButton*>("Option1")->isChecked());
    press(Qt::Key_Down);  // the arrows move the choice: Medium
    EXPECT_TRUE(window->findChild<QRadioButton*>("Option2")->isChecked());
    press(Qt::Key_Up);  // back to Easy
    press(Qt::Key_Tab);
    EXPECT_EQ(focused(), "Command5");
    press(Qt::Key_Space);  // Enter: deal
    EXPECT_EQ(game.state().TurnsLeft, 10);

    // A wrong guess answered Esc (No), then the quit refused with Esc too: the game goes on.
    EXPECT_EQ(focused(), "Text1");  // Enter hid itself: the focus went on to the first box
    for (auto box : {"Text1", "Text2", "Text3", "Text4"}) {
        EXPECT_EQ(focused(), box);
        type("9");
        press(Qt::Key_Tab);
    }
    EXPECT_EQ(focused(), "Command1");
    boxes.key(Qt::Key_Escape);
    boxes.key(Qt::Key_Escape);
    press(Qt::Key_G, Qt::AltModifier);
    ASSERT_TRUE(waitUntil([&] { return boxes.done(); }));
    ASSERT_EQ(boxes.seen.size(), 3u);
    EXPECT_EQ(boxes.seen[1].text, "You got 0 out of four, do you want to continue?");
    EXPECT_EQ(boxes.seen[2].text, "Are you sure you want to quit?");
    EXPECT_FALSE(rt.ended());

    // The right numbers, Enter on the win box (Yes): the panel is back.
    for (int i = 0; i < 4; ++i) press(Qt::Key_Backtab, Qt::ShiftModifier);  // back from Guess to the first box
    EXPECT_EQ(focused(), "Text1");
    const GameState& s = game.state();
    for (auto secret : {s.Secret1, s.Secret2, s.Secret3, s.Secret4}) {
        press(Qt::Key_A, Qt::ControlModifier);
        type(IntegerText(secret));
        press(Qt::Key_Tab);
    }
    boxes.key(Qt::Key_Return);
    press(Qt::Key_Space);  // Guess has the focus
    ASSERT_TRUE(waitUntil([&] { return boxes.done(); }));
    EXPECT_EQ(boxes.seen.back().text, "You done it! Would you like to play again?");
    EXPECT_TRUE(window->widget("Command5")->isVisible());

    // Custom through the input boxes: typed answers with Enter, a cancelled one with Esc.
    for (int i = 0; i < 4; ++i) press(Qt::Key_Tab);  // from Guess to the chosen option, Easy
    EXPECT_EQ(focused(), "Option1");
    for (int i = 0; i < 3; ++i) press(Qt::Key_Down);  // and down to Custom
    EXPECT_TRUE(window->findChild<QRadioButton*>("Option4")->isChecked());
    boxes.typeThenKey("12", Qt::Key_Return);  // turns
    boxes.key(Qt::Key_Escape);                // the highest number: cancelled, the last game's stays
    press(Qt::Key_Tab);
    EXPECT_EQ(focused(), "Command5");
    press(Qt::Key_Space);
    ASSERT_TRUE(waitUntil([&] { return boxes.done(); }));
    EXPECT_TRUE(boxes.seen.back().input);
    EXPECT_EQ(game.state().TurnsLeft, 12);
    EXPECT_EQ(game.state().HighestNumber, 5);

    // Alt+N brings the panel back; Alt+Q and Enter (Yes) end the program.
    press(Qt::Key_N, Qt::AltModifier);
    EXPECT_TRUE(waitUntil([&] { return window->widget("lblNew")->isVisible(); }));
    boxes.key(Qt::Key_Return);
    press(Qt::Key_Q, Qt::AltModifier);
    EXPECT_TRUE(waitUntil([&] { return rt.ended(); }));
    EXPECT_EQ(boxes.seen.back().text, "Are you sure you want to quit?");
}

TEST_F(KeyboardTest, theArrowsChooseAnOptionAndEnterPressesTheFocusedButton) {
    rt.setOnEnd([] {});
    boxes.key(Qt::Key_Return);
    rt.start(game);
    window = rt.window(game);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    for (int i = 0; i < 8; ++i) press(Qt::Key_Tab);
    ASSERT_EQ(focused(), "Option1");  // none chosen yet
    press(Qt::Key_Down);
    EXPECT_EQ(focused(), "Option2");
    EXPECT_TRUE(window->findChild<QRadioButton*>("Option2")->isChecked());
    press(Qt::Key_Tab);
    press(Qt::Key_Return);  // on Enter, the panel's button: Medium dealt
    EXPECT_EQ(game.state().TurnsLeft, 8);

    press(Qt::Key_Return);  // in a number box Enter does nothing
    EXPECT_EQ(focused(), "Text1");
    EXPECT_EQ(boxes.seen.size(), 1u);
    for (int i = 0; i < 4; ++i) press(Qt::Key_Tab);
    ASSERT_EQ(focused(), "Command1");
    boxes.key(Qt::Key_Return);
    press(Qt::Key_Return);  // on Guess: the boxes are empty
    ASSERT_TRUE(waitUntil([&] { return boxes.done(); }));
    EXPECT_EQ(boxes.seen.back().title, "enter number");
}

}  // namespace
}  // namespace numerak::test
