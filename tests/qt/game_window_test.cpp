// The game window on Qt: its design realised, and whole games played with real widgets and boxes.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "game/frmcode.hpp"
#include "runtime/conversions.hpp"
#include "runtime/qt/form_window.hpp"
#include "runtime/qt/qt_runtime.hpp"
#include "runtime/qt/widgets.hpp"
#include "tests/qt/box_answerer.hpp"
#include "ui/designs.hpp"

namespace numerak::test {
namespace {

using qt::FormWindow;
using qt::QtRuntime;

class GameWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        rt.setOnEnd([] {});            // the test itself is the event loop
        boxes.press(QMessageBox::Ok);  // the opening message
        rt.start(game);
        window = rt.window(game);
        ASSERT_TRUE(window);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        ASSERT_TRUE(boxes.done());
        opening = boxes.seen;
        boxes.seen.clear();
    }

    template <class W = QWidget>
    W* w(std::string_view name) {
        auto* widget = qobject_cast<W*>(window->widget(name));
        EXPECT_TRUE(widget) << name;
        return widget;
    }
    void click(std::string_view name) { QTest::mouseClick(w(name), Qt::LeftButton); }
    void typeInto(std::string_view name, const std::string& text) {
        w<QLineEdit>(name)->clear();
        QTest::keyClicks(w(name), QString::fromStdString(text));
    }
    void typeSecrets() {
        const GameState& s = game.state();
        typeInto("Text1", IntegerText(s.Secret1));
        typeInto("Text2", IntegerText(s.Secret2));
        typeInto("Text3", IntegerText(s.Secret3));
        typeInto("Text4", IntegerText(s.Secret4));
    }
    bool panelShown() {
        for (auto n : {"lblNew", "Option1", "Option2", "Option3", "Option4", "Command5"})
            if (!w(n)->isVisible()) return false;
        return true;
    }
    // The offscreen platform does not hand activation back after a box closes, as a window
    // manager would; access keys only reach the active window.
    void altKey(Qt::Key key) {
        QApplication::setActiveWindow(window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        QTest::keyClick(window, key, Qt::AltModifier);
    }
    std::string caption(std::string_view label) { return w<QLabel>(label)->text().toStdString(); }

    BoxAnswerer boxes;
    Generator generator;
    QtRuntime rt{"Numerak"};
    frmCode game{rt, generator, nullptr};
    FormWindow* window = nullptr;
    std::vector<SeenBox> opening;
};

TEST_F(GameWindowTest, opensWithTheMessageThenThePanel) {
    ASSERT_EQ(opening.size(), 1u);
    EXPECT_EQ(opening[0].text, "Please choose your preferred difficulty setting on the right.");
    EXPECT_EQ(opening[0].title, "Select New game");
    EXPECT_EQ(opening[0].buttons, std::vector<std::string>{"OK"});
    EXPECT_FALSE(opening[0].hasIcon);
    EXPECT_TRUE(panelShown());
    for (auto n : {"Option1", "Option2", "Option3", "Option4"}) EXPECT_FALSE(w<QRadioButton>(n)->isChecked());
    EXPECT_EQ(QApplication::focusWidget(), w("Text1"));
}

TEST_F(GameWindowTest, looksAsDesigned) {
    const WindowDesign& d = ui::frmCodeDesign();
    EXPECT_EQ(window->windowTitle(), "Numerak");
    const QList<QSize> iconSizes = window->windowIcon().availableSizes();
    for (QSize size : {QSize(16, 16), QSize(32, 32), QSize(48, 48)})
        EXPECT_TRUE(iconSizes.contains(size)) << size.width();
    EXPECT_EQ(window->client()->size(), QSize(437, 202));
    EXPECT_EQ(window->client()->palette().color(QPalette::Window), QColor(255, 0, 0));
    EXPECT_EQ(window->windowFlags() & Qt::WindowType_Mask, Qt::Window);  // an ordinary sizable window

    // Creation order is stacking order: the client's children come in the table's order.
    QList<QWidget*> children = window->client()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    ASSERT_EQ(children.size(), static_cast<qsizetype>(d.controls.size()));
    for (std::size_t i = 0; i < d.controls.size(); ++i) {
        const ControlDesign& cd = d.controls[i];
        QWidget* widget = window->widget(cd.name);
        ASSERT_TRUE(widget) << cd.name;
        EXPECT_EQ(children[static_cast<qsizetype>(i)], widget) << cd.name;
        EXPECT_EQ(widget->geometry(), QRect(cd.left / 15, cd.top / 15, cd.width / 15, cd.height / 15)) << cd.name;
    }
    EXPECT_EQ(w<QPushButton>("Command1")->text(), "&Guess");
    EXPECT_EQ(w<QPushButton>("Command2")->text(), "&New Game");
    EXPECT_EQ(w<QPushButton>("Command3")->text(), "&Quit");
    EXPECT_EQ(w<QPushButton>("Command5")->text(), "Enter");
    EXPECT_EQ(w<QLabel>("lblNew")->text(), "New Game menu");
    for (auto n : {"Command1", "Command2", "Command3", "Command5"}) {
        EXPECT_FALSE(w<QPushButton>(n)->isDefault()) << n;
        EXPECT_FALSE(w<QPushButton>(n)->autoDefault()) << n;
    }

    const QPalette app = QApplication::palette();
    for (auto n : {"Label1", "lblturns"}) {
        EXPECT_EQ(w(n)->palette().color(QPalette::Window), QColor(255, 0, 0)) << n;
        EXPECT_EQ(w(n)->palette().color(QPalette::WindowText), app.color(QPalette::HighlightedText)) << n;
        EXPECT_TRUE(w(n)->autoFillBackground()) << n;
    }
    for (auto n : {"Option1", "Option2", "Option3", "Option4"})
        EXPECT_EQ(w(n)->palette().color(QPalette::Window), QColor(255, 255, 0)) << n;
    EXPECT_EQ(w("lblNew")->palette().color(QPalette::Window), QColor(0, 255, 0));
    for (auto n : {"Text1", "Text2", "Text3", "Text4"}) {
        EXPECT_EQ(w(n)->palette().color(QPalette::Base), app.color(QPalette::Midlight)) << n;
        EXPECT_TRUE(w<QLineEdit>(n)->text().isEmpty());
    }

    // What is painted, not only what is set: each coloured control shows its colour.
    const QImage shown = window->client()->grab().toImage();
    auto colourAt = [&](std::string_view name) {
        const QRect r = w(name)->geometry();
        return shown.pixelColor(r.right() - 3, r.bottom() - 1);  // clear of any text and frame
    };
    auto near = [](QColor a, QColor b) {
        return std::abs(a.red() - b.red()) <= 3 && std::abs(a.green() - b.green()) <= 3 &&
               std::abs(a.blue() - b.blue()) <= 3;
    };
    for (auto n : {"Option1", "Option2", "Option3", "Option4"}) EXPECT_EQ(colourAt(n), QColor(255, 255, 0)) << n;
    EXPECT_EQ(colourAt("lblNew"), QColor(0, 255, 0));
    EXPECT_EQ(colourAt("Label1"), QColor(255, 0, 0));
    const QRect box = w("Text2")->geometry();  // inside the frame; the style may shade the face a little
    EXPECT_TRUE(near(shown.pixelColor(box.center()), app.color(QPalette::Midlight)))
        << shown.pixelColor(box.center()).name().toStdString();
    EXPECT_EQ(shown.pixelColor(2, 200), QColor(255, 0, 0));  // the window's own ground
    // The client area is the whole window below the menu bar.
    EXPECT_EQ(window->height(), window->menuBar()->height() + 202);
    EXPECT_EQ(window->width(), 437);

    const QPixmap banner = w<QLabel>("Picture1")->pixmap();
    EXPECT_EQ(banner.size(), QSize(407, 68));
    EXPECT_EQ(w<QLabel>("Picture1")->alignment(), Qt::AlignLeft | Qt::AlignTop);
}

TEST_F(GameWindowTest, aHighContrastThemeGivesTheColouredControlsItsOwnColours) {
    const QPalette normal = QApplication::palette();
    QPalette contrast = normal;  // white on black, as an inverse high-contrast theme has it
    for (auto role : {QPalette::Window, QPalette::Base}) contrast.setColor(role, Qt::black);
    for (auto role : {QPalette::WindowText, QPalette::Text}) contrast.setColor(role, Qt::white);
    auto colourAt = [&](std::string_view name) {
        const QImage shown = window->client()->grab().toImage();
        const QRect r = w(name)->geometry();
        return shown.pixelColor(r.right() - 3, r.bottom() - 1);
    };
    QApplication::setPalette(contrast);
    QApplication::processEvents();
    for (auto n : {"Label1", "lblturns", "lblNew", "Option1", "Text2"}) {
        EXPECT_EQ(w(n)->palette().color(w(n)->backgroundRole()), QColor(Qt::black)) << n;
        EXPECT_EQ(w(n)->palette().color(w(n)->foregroundRole()), QColor(Qt::white)) << n;
        if (n != std::string_view("Text2")) {  // a box's face is shaded by the style
            EXPECT_EQ(colourAt(n), QColor(Qt::black)) << n;
        }
    }
    EXPECT_EQ(window->client()->grab().toImage().pixelColor(2, 200), QColor(255, 0, 0));  // the rest as designed
    QApplication::setPalette(normal);
    QApplication::processEvents();
    EXPECT_EQ(colourAt("Label1"), QColor(255, 0, 0));
    EXPECT_EQ(colourAt("Option1"), QColor(255, 255, 0));
    EXPECT_EQ(w("Label1")->palette().color(QPalette::WindowText), normal.color(QPalette::HighlightedText));
}

TEST_F(GameWindowTest, everyCaptionFitsItsControl) {
    // What the game writes into its labels must show whole in the designed boxes.
    for (auto [label, text] :
         {std::pair{"Label1", "Please enter 4 numbers below. (1-10)"},
          std::pair{"Label1", "Please enter 4 numbers below (0-10)"},
          std::pair{"lblturns", "You have 5 turns remaining"}, std::pair{"lblNew", "New Game menu"}}) {
        QLabel* l = w<QLabel>(label);
        const QFontMetrics fm(l->font());
        const QRect needed = fm.boundingRect(QRect(0, 0, l->width(), 1000), Qt::TextWordWrap, text);
        EXPECT_LE(needed.width(), l->width()) << text;
        EXPECT_LE(needed.height(), l->height() + 1) << text;  // the last line's descent may touch the edge
    }
    for (auto n : {"Command1", "Command2", "Command3", "Command5", "Option1", "Option2", "Option3", "Option4"})
        EXPECT_LE(w(n)->sizeHint().width(), w(n)->width() + 16) << n;  // buttons' own margins are generous
    const QFontMetrics fm(w("Command2")->font());
    EXPECT_LE(fm.horizontalAdvance("New Game") + 8, w("Command2")->width());
}

TEST_F(GameWindowTest, boxesTakeAnyTextWhole) {
    // A long paste is kept whole and still read as the number it is.
    const QString pasted = QString(100'000, QLatin1Char('0')) + QLatin1Char('7');
    w<QLineEdit>("Text1")->setText(pasted);
    EXPECT_EQ(w<QLineEdit>("Text1")->text().size(), pasted.size());
    click("Option1");
    click("Command5");
    w<QLineEdit>("Text1")->setText(pasted);
    w<QLineEdit>("Text2")->setText(QString::fromUtf8("\xD9\xA3"));  // an Arabic-Indic three is not a number here
    boxes.press(QMessageBox::Ok);
    click("Command1");
    EXPECT_EQ(boxes.seen.at(0).text, "Please enter numbers in all 4 boxes");
}

TEST_F(GameWindowTest, menusAsDesigned) {
    QList<QAction*> menus = window->menuBar()->actions();
    ASSERT_EQ(menus.size(), 3);
    std::vector<std::pair<std::string, std::vector<std::string>>> seen;
    for (QAction* m : menus) {
        std::vector<std::string> items;
        for (QAction* a : m->menu()->actions()) items.push_back(a->text().toStdString());
        seen.emplace_back(m->text().toStdString(), items);
    }
    EXPECT_EQ(seen, (std::vector<std::pair<std::string, std::vector<std::string>>>{
                        {"File", {"Close"}}, {"Game", {"Guess", "New Game"}}, {"Help", {"About"}}}));
    for (auto n : {"mnuFileClose", "mnuGameGuess", "mnuGameNew", "mnuHelpAbout"}) {
        ASSERT_TRUE(window->action(n)) << n;
        EXPECT_TRUE(window->action(n)->shortcut().isEmpty()) << n;
    }
}

TEST_F(GameWindowTest, tabVisitsTheControlsInDesignOrder) {
    QApplication::setActiveWindow(window);
    w("Text1")->setFocus();
    std::vector<std::string> order;
    for (int i = 0; i < 16; ++i) {
        order.push_back(QApplication::focusWidget()->objectName().toStdString());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    // The option buttons are one group: Tab stops at it once, the arrow keys move inside it.
    const std::vector<std::string> expected{"Text1",    "Text2",    "Text3",    "Text4",    "Command1", "Command2",
                                            "Command3", "Picture1", "Option1",  "Command5", "Text1",    "Text2",
                                            "Text3",    "Text4",    "Command1", "Command2"};
    EXPECT_EQ(order, expected);

    w("Option1")->setFocus();
    QTest::keyClick(w("Option1"), Qt::Key_Space);
    EXPECT_TRUE(w<QRadioButton>("Option1")->isChecked());
    QTest::keyClick(w("Option1"), Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), w("Option2"));
    EXPECT_TRUE(w<QRadioButton>("Option2")->isChecked());
    QTest::keyClick(w("Option2"), Qt::Key_Down);
    QTest::keyClick(w("Option3"), Qt::Key_Down);
    EXPECT_TRUE(w<QRadioButton>("Option4")->isChecked());
    EXPECT_FALSE(w<QRadioButton>("Option2")->isChecked());
    EXPECT_TRUE(game.state() == GameState{});  // choosing does nothing until Enter
    boxes.type("3");
    boxes.type("4");
    QTest::keyClick(w("Option4"), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), w("Command5"));
    QTest::keyClick(w("Command5"), Qt::Key_Space);
    EXPECT_TRUE(boxes.done());
    EXPECT_EQ(game.state().TurnsLeft, 3);
    EXPECT_EQ(game.state().HighestNumber, 4);
}

TEST_F(GameWindowTest, aWholeGameWithTheMouse) {
    click("Option1");
    click("Command5");
    EXPECT_FALSE(panelShown());
    EXPECT_EQ(caption("Label1"), "Please enter 4 numbers below. (1-5)");
    EXPECT_EQ(game.state().TurnsLeft, 10);

    typeInto("Text1", "9");
    typeInto("Text2", "9");
    typeInto("Text3", "9");
    typeInto("Text4", "9");
    boxes.press(QMessageBox::Yes);
    click("Command1");
    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_EQ(boxes.seen[0].text, "You got 0 out of four, do you want to continue?");
    EXPECT_EQ(boxes.seen[0].title, "sorry");
    EXPECT_EQ(boxes.seen[0].buttons, (std::vector<std::string>{"Yes", "No"}));
    EXPECT_EQ(boxes.seen[0].defaultButton, "Yes");
    EXPECT_FALSE(boxes.seen[0].hasIcon);

    typeSecrets();
    boxes.press(QMessageBox::Yes);
    click("Command1");
    ASSERT_EQ(boxes.seen.size(), 2u);
    EXPECT_EQ(boxes.seen[1].text, "You done it! Would you like to play again?");
    EXPECT_EQ(boxes.seen[1].title, "well done");
    EXPECT_TRUE(panelShown());
    EXPECT_TRUE(w<QLineEdit>("Text1")->text().isEmpty());
    EXPECT_EQ(caption("Label1"), "Please enter 4 numbers below (0-5)");
    EXPECT_TRUE(boxes.done());
}

TEST_F(GameWindowTest, runningOutOfTurnsByTheMenu) {
    click("Option3");  // 6 turns
    click("Command5");
    typeInto("Text1", "x");
    for (int i = 0; i < 5; ++i) boxes.press(QMessageBox::Ok);
    boxes.press(QMessageBox::Yes);
    for (int i = 0; i < 6; ++i) window->action("mnuGameGuess")->trigger();
    EXPECT_TRUE(boxes.done());
    ASSERT_EQ(boxes.seen.size(), 6u);
    EXPECT_EQ(boxes.seen.front().text, "Please enter 4 numbers in the boxes.");
    EXPECT_EQ(boxes.seen.back().text, "Sorry you are out of turns, would you like to play again?");
    EXPECT_EQ(boxes.seen.back().title, "out of turns");
    EXPECT_TRUE(panelShown());
    EXPECT_TRUE(caption("lblturns").empty());
    EXPECT_TRUE(w<QLineEdit>("Text1")->text().isEmpty());
}

TEST_F(GameWindowTest, accessKeysPressTheButtons) {
    click("Option2");
    click("Command5");
    // A pressed access key clicks its button through a short animation: wait for the result.
    boxes.press(QMessageBox::Ok);
    altKey(Qt::Key_G);
    EXPECT_TRUE(QTest::qWaitFor([&] { return boxes.done(); }, 3000));
    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_EQ(boxes.seen[0].text, "Please enter numbers in all 4 boxes");
    EXPECT_EQ(game.state().TurnsLeft, 7);

    altKey(Qt::Key_N);
    EXPECT_TRUE(QTest::qWaitFor([&] { return panelShown(); }, 3000));

    boxes.press(QMessageBox::No);
    altKey(Qt::Key_Q);
    EXPECT_TRUE(QTest::qWaitFor([&] { return boxes.done(); }, 3000));
    EXPECT_EQ(boxes.seen.back().text, "Are you sure you want to quit?");
    EXPECT_EQ(boxes.seen.back().title, "Are you sure?");
    EXPECT_FALSE(rt.ended());
    EXPECT_TRUE(window->isVisible());
}

// Run also at QT_SCALE_FACTOR=2, where the picture drawn at twice the size is shown, sharp.
TEST_F(GameWindowTest, theBannerIsDrawnForTheScreensScale) {
    auto* banner = w<QLabel>("Picture1");
    const qreal scale = banner->devicePixelRatioF();
    const QPixmap shown = banner->pixmap();
    EXPECT_EQ(shown.devicePixelRatio(), scale);
    EXPECT_EQ(shown.size(), QSize(qRound(407 * scale), qRound(68 * scale)));
    // Its logical size stays the banner's: the same proportion of its box at every scale.
    EXPECT_EQ(shown.deviceIndependentSize().toSize(), QSize(407, 68));
    // At twice the scale it is the picture drawn at twice its size, as it is, not the small one
    // blown up.
    if (scale == 2.0) {
        const QImage large(QStringLiteral(":/pictures/banner@2x.jpg"));
        ASSERT_FALSE(large.isNull()) << "banner@2x.jpg is not among the program's pictures";
        EXPECT_EQ(shown.toImage().convertToFormat(QImage::Format_RGB32), large.convertToFormat(QImage::Format_RGB32));
    }
}

TEST_F(GameWindowTest, customAsksThroughInputBoxes) {
    click("Option4");
    boxes.type("12");
    boxes.cancel();
    click("Command5");
    EXPECT_TRUE(boxes.done());
    ASSERT_EQ(boxes.seen.size(), 2u);
    EXPECT_TRUE(boxes.seen[0].input);
    EXPECT_EQ(boxes.seen[0].text, "How many turns would you like?");
    EXPECT_EQ(boxes.seen[0].title, "Turns");
    EXPECT_EQ(boxes.seen[1].text, "What is the highest number you want to guess with (1-?)");
    EXPECT_EQ(boxes.seen[1].title, "Number");
    EXPECT_EQ(game.state().TurnsLeft, 12);
    EXPECT_EQ(game.state().HighestNumber, 0);
    EXPECT_EQ(caption("Label1"), "Please enter 4 numbers below. (1-0)");
}

TEST_F(GameWindowTest, theCloseBoxAsksToQuit) {
    boxes.press(QMessageBox::No);
    window->close();
    EXPECT_TRUE(boxes.done());
    EXPECT_EQ(boxes.seen.at(0).text, "Are you sure you want to quit?");
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(rt.ended());

    boxes.press(QMessageBox::Yes);
    window->close();
    EXPECT_TRUE(rt.ended());
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(rt.window(game), nullptr);
    // Nothing runs after the end.
    window->action("mnuGameGuess")->trigger();
    EXPECT_EQ(boxes.seen.size(), 2u);
}

TEST_F(GameWindowTest, fileCloseAndNoToAQuestionEndTheProgramOnYes) {
    click("Option1");
    click("Command5");
    typeInto("Text1", "9");
    typeInto("Text2", "9");
    typeInto("Text3", "9");
    typeInto("Text4", "9");
    boxes.press(QMessageBox::No);
    boxes.press(QMessageBox::Yes);
    click("Command1");
    EXPECT_TRUE(boxes.done());
    EXPECT_EQ(boxes.seen.size(), 2u);
    EXPECT_TRUE(rt.ended());
    EXPECT_EQ(game.state().TurnsLeft, 9);
}

// A window whose only button fails in a way no handler traps.
class FailingWindow : public FormLogic {
public:
    const WindowDesign& design() const override { return design_; }
    void attach(Form*) override {}
    std::vector<Route> routes() override {
        return {{"Command1", [] { throw std::runtime_error("the disk is on fire"); }}};
    }

private:
    static constexpr ControlDesign controls_[1]{
        {.name = "Command1", .kind = ControlKind::CommandButton, .caption = "Go", .width = 1500, .height = 500}};
    const WindowDesign design_{
        .name = "frmFailing", .caption = "Failing", .clientWidth = 3000, .clientHeight = 2000, .controls = controls_};
};

TEST(Dispatcher, aFailureNoHandlerTrapsIsToldNotFatal) {
    BoxAnswerer boxes;
    QtRuntime rt{"Numerak"};
    rt.setOnEnd([] {});
    FailingWindow failing;
    rt.start(failing);
    boxes.press(QMessageBox::Ok);
    QTest::mouseClick(rt.window(failing)->widget("Command1"), Qt::LeftButton);
    ASSERT_TRUE(boxes.done());
    EXPECT_EQ(boxes.seen.at(0).title, "Numerak");
    EXPECT_NE(boxes.seen.at(0).text.find("the disk is on fire"), std::string::npos);
    EXPECT_FALSE(rt.ended());
    EXPECT_TRUE(rt.window(failing)->isVisible());
}

}  // namespace
}  // namespace numerak::test
