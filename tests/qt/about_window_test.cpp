// The About window on Qt: opened modally from the game, as designed, closed every way it offers.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "about/frmabout.hpp"
#include "app/identity.hpp"
#include "game/frmcode.hpp"
#include "runtime/qt/form_window.hpp"
#include "runtime/qt/qt_runtime.hpp"
#include "tests/about/fake_platform.hpp"
#include "tests/qt/box_answerer.hpp"
#include "ui/designs.hpp"

namespace numerak::test {
namespace {

using qt::FormWindow;
using qt::QtRuntime;

class AboutWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        rt.setOnEnd([] {});
        boxes.press(QMessageBox::Ok);
        rt.start(game);
        gameWindow = rt.window(game);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(gameWindow));
        boxes.seen.clear();
    }

    // Opens Help > About and runs `whileOpen` once the window is up and has the keyboard (or
    // after three seconds without it); returns once it has closed.
    void openAbout(const std::function<void(FormWindow&)>& whileOpen) {
        bool ran = false;
        int polls = 0;
        QTimer poll;
        poll.setInterval(5);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            FormWindow* w = about ? rt.window(*about) : nullptr;
            if (ran || !w || !w->isVisible()) return;
            if (!w->isActiveWindow() && ++polls < 600) return;
            ran = true;
            whileOpen(*w);
        });
        poll.start();
        gameWindow->action("mnuHelpAbout")->trigger();
        EXPECT_TRUE(ran);
        EXPECT_EQ(rt.window(*about), nullptr) << "the About window is still loaded";
    }

    template <class W = QWidget>
    static W* w(FormWindow& window, std::string_view name, int index = -1) {
        return qobject_cast<W*>(window.widget(name, index));
    }

    BoxAnswerer boxes;
    FakePlatform platform;
    Generator generator;
    QtRuntime rt{"Numerak"};
    frmAbout* about = nullptr;
    int made = 0;
    frmCode game{rt, generator, [this] {
                     ++made;
                     auto a = std::make_unique<frmAbout>(rt, platform, numerakIdentity);
                     about = a.get();
                     return a;
                 }};
    FormWindow* gameWindow = nullptr;
};

TEST_F(AboutWindowTest, looksAsDesigned) {
    openAbout([&](FormWindow& a) {
        EXPECT_EQ(a.windowTitle(), "About Numerak");
        EXPECT_EQ(a.windowIcon().availableSizes(), gameWindow->windowIcon().availableSizes());
        EXPECT_EQ(QApplication::activeModalWidget(), &a);
        EXPECT_EQ(a.size(), QSize(425, 231));
        EXPECT_EQ(a.minimumSize(), a.maximumSize());  // not resizable
        EXPECT_EQ(a.windowFlags() & Qt::WindowType_Mask, Qt::Dialog);
        EXPECT_FALSE(a.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
        EXPECT_EQ(a.geometry().topLeft(), QPoint(156, 129));
        EXPECT_EQ(a.client()->palette().color(QPalette::Window), QColor(192, 255, 192));

        EXPECT_EQ(w<QLabel>(a, "lblTitle")->text(), "Numerak");
        EXPECT_EQ(w<QLabel>(a, "lblVersion")->text(), "Version " NUMERAK_VERSION);
        EXPECT_TRUE(w<QLabel>(a, "lblDescription")->text().startsWith("Numerak, the game where you must think"));
        EXPECT_TRUE(w<QLabel>(a, "lblDescription")->wordWrap());
        EXPECT_EQ(w<QPushButton>(a, "cmdSysInfo")->text(), "&System Info...");
        EXPECT_TRUE(w<QPushButton>(a, "cmdOK")->isDefault());
        EXPECT_EQ(QApplication::focusWidget(), w(a, "cmdOK"));

        for (auto n : {"lblTitle", "lblVersion", "lblDescription", "lblDisclaimer", "Label1", "Label2"}) {
            QLabel* l = w<QLabel>(a, n);
            ASSERT_TRUE(l) << n;
            EXPECT_EQ(QFontInfo(l->font()).family(), "Liberation Sans") << n;  // what Arial resolves to here
            EXPECT_EQ(l->font().pixelSize(), 11) << n;
            EXPECT_EQ(l->palette().color(QPalette::Window), QColor(192, 255, 192)) << n;
            EXPECT_LE(QFontMetrics(l->font())
                          .boundingRect(QRect(0, 0, l->width(), 1000), Qt::TextWordWrap, l->text())
                          .height(),
                      l->height() + 1)
                << n << " does not show whole";
        }
        EXPECT_EQ(w<QLabel>(a, "lblTitle")->palette().color(QPalette::WindowText), QColor(0, 0, 0));

        // The engraved separators: grey over white, the lower one cut off at the right edge.
        const QImage img = a.client()->grab().toImage();
        const QColor grey(128, 128, 128), white(255, 255, 255), green(192, 255, 192);
        EXPECT_EQ(img.pixelColor(50, 0), grey);
        EXPECT_EQ(img.pixelColor(50, 1), white);
        EXPECT_EQ(img.pixelColor(380, 0), green);  // the top line ends at 370
        EXPECT_EQ(img.pixelColor(50, 168), grey);
        EXPECT_EQ(img.pixelColor(50, 169), white);
        EXPECT_EQ(img.pixelColor(424, 168), grey);
        EXPECT_EQ(img.pixelColor(7, 169), white);  // the white line starts a pixel before the grey
        EXPECT_EQ(img.pixelColor(7, 168), white);
        // To a screen reader, the lines are separators where they are drawn, not panes over the
        // whole window; OK has the keyboard and is the default.
        for (int i = 0; i < 4; ++i) {
            QAccessibleInterface* line = QAccessible::queryAccessibleInterface(a.widget("Line1", i));
            ASSERT_TRUE(line) << i;
            EXPECT_EQ(line->role(), QAccessible::Separator) << i;
            EXPECT_LE(line->rect().height(), 2) << i;
            EXPECT_TRUE(a.client()->rect().contains(a.client()->mapFromGlobal(line->rect().topLeft()))) << i;
        }
        const QAccessible::State ok = QAccessible::queryAccessibleInterface(w(a, "cmdOK"))->state();
        EXPECT_TRUE(ok.defaultButton && ok.focused);
        QTest::mouseClick(w(a, "cmdOK"), Qt::LeftButton);
    });
}

// The other ways it closes are in the checks every front end plays (tests/frontends/checks.txt).
TEST_F(AboutWindowTest, theKeypadsEnterClosesItTooAndItIsLoadedAfreshEachTime) {
    const std::vector<std::function<void(FormWindow&)>> ways{
        [](FormWindow& a) { QTest::keyClick(a.widget("cmdSysInfo"), Qt::Key_Enter, Qt::KeypadModifier); },
        [](FormWindow& a) { QTest::keyClick(a.widget("cmdSysInfo"), Qt::Key_Escape); },
    };
    for (const auto& way : ways) {
        openAbout([&](FormWindow& a) {
            EXPECT_EQ(w<QLabel>(a, "lblVersion")->text(), "Version " NUMERAK_VERSION);  // loaded afresh each time
            way(a);
        });
    }
    EXPECT_EQ(made, 1);
    EXPECT_TRUE(boxes.seen.empty());
    EXPECT_FALSE(rt.ended());
    EXPECT_TRUE(gameWindow->isVisible());
}

TEST_F(AboutWindowTest, systemInfoStartsTheTool) {
    platform.registry.set(Registry::LocalMachine, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH",
                          MemoryRegistry::text("/usr/bin/hardinfo"));
    platform.programs.insert("/usr/bin/hardinfo");
    openAbout([&](FormWindow& a) {
        QTest::keyClick(&a, Qt::Key_S, Qt::AltModifier);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !platform.started.empty(); }, 3000));
        EXPECT_TRUE(a.isVisible());
        a.close();
    });
    EXPECT_EQ(platform.started, (std::vector<std::pair<std::string, int>>{{"/usr/bin/hardinfo", 1}}));
    EXPECT_TRUE(boxes.seen.empty());
}

}  // namespace
}  // namespace numerak::test
