// The game window on Qt: what only Qt has of its design realised, its boxes and menus, and the scale.
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
        boxes.seen.clear();
    }

    template <class W = QWidget>
    W* w(std::string_view name) {
        auto* widget = qobject_cast<W*>(window->widget(name));
        EXPECT_TRUE(widget) << name;
        return widget;
    }
    void click(std::string_view name) { QTest::mouseClick(w(name), Qt::LeftButton); }

    BoxAnswerer boxes;
    Generator generator;
    QtRuntime rt{"Numerak"};
    frmCode game{rt, generator, nullptr};
    FormWindow* window = nullptr;
};

// What only Qt has of the design; the rest (places, captions, colours) is in the checks every
// front end plays (tests/frontends/checks.txt).
TEST_F(GameWindowTest, looksAsDesigned) {
    const WindowDesign& d = ui::frmCodeDesign();
    EXPECT_EQ(window->windowTitle(), "Numerak");
    const QList<QSize> iconSizes = window->windowIcon().availableSizes();
    for (QSize size : {QSize(16, 16), QSize(32, 32), QSize(48, 48)})
        EXPECT_TRUE(iconSizes.contains(size)) << size.width();
    EXPECT_EQ(window->windowFlags() & Qt::WindowType_Mask, Qt::Window);  // an ordinary sizable window

    // Creation order is stacking order: the client's children come in the table's order.
    QList<QWidget*> children = window->client()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    ASSERT_EQ(children.size(), static_cast<qsizetype>(d.controls.size()));
    for (std::size_t i = 0; i < d.controls.size(); ++i) {
        EXPECT_EQ(children[static_cast<qsizetype>(i)], window->widget(d.controls[i].name)) << d.controls[i].name;
        // Automation finds a control by its design's name.
        EXPECT_EQ(children[static_cast<qsizetype>(i)]->objectName().toStdString(), d.controls[i].name);
    }
    for (auto n : {"Command1", "Command2", "Command3", "Command5"}) {
        EXPECT_FALSE(w<QPushButton>(n)->isDefault()) << n;
        EXPECT_FALSE(w<QPushButton>(n)->autoDefault()) << n;
    }
    EXPECT_EQ(window->client()->palette().color(QPalette::Window), QColor(255, 0, 0));
    EXPECT_EQ(window->client()->grab().toImage().pixelColor(2, 200), QColor(255, 0, 0));  // the window's own ground
    // The client area is the whole window below the menu bar.
    EXPECT_EQ(window->height(), window->menuBar()->height() + 202);
    EXPECT_EQ(window->width(), 437);

    const QPixmap banner = w<QLabel>("Picture1")->pixmap();
    EXPECT_EQ(banner.size(), QSize(407, 68));
    EXPECT_EQ(w<QLabel>("Picture1")->alignment(), Qt::AlignLeft | Qt::AlignTop);
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
    // The Custom box too: the same paste reads as 5 turns on every front end.
    click("Option4");
    boxes.paste(std::string(40'000, '0') + "5");
    boxes.type("7");
    click("Command5");
    ASSERT_TRUE(boxes.done());
    EXPECT_EQ(game.state().TurnsLeft, 5);
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
