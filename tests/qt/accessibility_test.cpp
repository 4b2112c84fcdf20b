// What a screen reader learns of both windows: names, roles and states, and the news when the
// game writes into its labels.
#include <gtest/gtest.h>

#include <QtGui/private/qguiapplication_p.h>
#include <QtGui/qpa/qplatformaccessibility.h>
#include <QtGui/qpa/qplatformintegration.h>
#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include "about/frmabout.hpp"
#include "app/identity.hpp"
#include "game/frmcode.hpp"
#include "runtime/qt/form_window.hpp"
#include "runtime/qt/qt_runtime.hpp"
#include "tests/frontends/game_under_test.hpp"
#include "tests/qt/box_answerer.hpp"
#include "ui/designs.hpp"

namespace numerak::test {
namespace {

using qt::FormWindow;
using qt::QtRuntime;

struct Seen {
    QObject* object;
    QAccessible::Event type;
};
std::vector<Seen>* events = nullptr;

void recordEvent(QAccessibleEvent* event) {
    if (events) events->push_back({event->object(), event->type()});
}

class AccessibilityTest : public ::testing::Test, protected GameUnderTest<QtRuntime> {
protected:
    void SetUp() override {
        // The offscreen platform has no screen reader to turn accessibility on: do it as one would.
        if (QPlatformAccessibility* platform = QGuiApplicationPrivate::platformIntegration()->accessibility())
            platform->setActive(true);
        previous = QAccessible::installUpdateHandler(recordEvent);
        events = &seen;
        rt.setOnEnd([] {});
        boxes.press(QMessageBox::Ok);
        rt.start(game);
        window = rt.window(game);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        boxes.seen.clear();
        seen.clear();
    }
    void TearDown() override {
        events = nullptr;
        QAccessible::installUpdateHandler(previous);
    }

    struct Expected {
        const char* control;
        const char* name;
        QAccessible::Role role;
    };
    static void expectAll(FormWindow& w, std::initializer_list<Expected> rows) {
        for (const Expected& e : rows) {
            QWidget* widget = w.widget(e.control);
            ASSERT_TRUE(widget) << e.control;
            QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
            ASSERT_TRUE(iface) << e.control;
            EXPECT_EQ(iface->text(QAccessible::Name).toStdString(), e.name) << e.control;
            EXPECT_EQ(iface->role(), e.role) << e.control;
            EXPECT_EQ(iface->state().invisible, !widget->isVisible()) << e.control;
            EXPECT_EQ(widget->objectName().toStdString(), e.control);  // automation finds it by its design name
        }
    }

    std::vector<Seen> seen;
    QAccessible::UpdateHandler previous = nullptr;
    BoxAnswerer boxes;
    FormWindow* window = nullptr;
};

TEST_F(AccessibilityTest, everyGameControlSaysWhatItIs) {
    expectAll(*window, {{"Command5", "Enter", QAccessible::Button},
                        {"Option4", "Custom", QAccessible::RadioButton},
                        {"Option3", "Hard", QAccessible::RadioButton},
                        {"Option2", "Medium", QAccessible::RadioButton},
                        {"Option1", "Easy", QAccessible::RadioButton},
                        {"Picture1", "Numerak", QAccessible::Graphic},
                        {"Command3", "Quit", QAccessible::Button},
                        {"Command2", "New Game", QAccessible::Button},
                        {"Command1", "Guess", QAccessible::Button},
                        {"Text4", "Fourth number", QAccessible::EditableText},
                        {"Text3", "Third number", QAccessible::EditableText},
                        {"Text2", "Second number", QAccessible::EditableText},
                        {"Text1", "First number", QAccessible::EditableText},
                        {"lblNew", "New Game menu", QAccessible::StaticText},
                        {"lblturns", "", QAccessible::StaticText},
                        {"Label1", "", QAccessible::StaticText}});
    QAccessibleInterface* easy = QAccessible::queryAccessibleInterface(window->widget("Option1"));
    EXPECT_TRUE(easy->state().checkable);
    EXPECT_FALSE(easy->state().checked);
    QTest::mouseClick(window->widget("Option1"), Qt::LeftButton);
    EXPECT_TRUE(easy->state().checked);
    QTest::mouseClick(window->widget("Command5"), Qt::LeftButton);
    EXPECT_TRUE(easy->state().invisible);  // the panel is hidden once the game is dealt
    QAccessibleInterface* guess = QAccessible::queryAccessibleInterface(window->widget("Command1"));
    EXPECT_EQ(guess->actionInterface()->actionNames().value(0), QAccessibleActionInterface::pressAction());
}

TEST_F(AccessibilityTest, theLabelsAnnounceWhatTheGameWrites) {
    QTest::mouseClick(window->widget("Option3"), Qt::LeftButton);
    QTest::mouseClick(window->widget("Command5"), Qt::LeftButton);
    auto changed = [&](std::string_view name) {
        QWidget* w = window->widget(name);
        return std::count_if(seen.begin(), seen.end(), [&](const Seen& s) {
            return s.object == w && (s.type == QAccessible::NameChanged || s.type == QAccessible::TextUpdated);
        });
    };
    EXPECT_GE(changed("Label1"), 1);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(window->widget("Label1"))->text(QAccessible::Name),
              "Please enter 4 numbers below. (1-10)");
    seen.clear();
    boxes.press(QMessageBox::Yes);
    QTest::mouseClick(window->widget("Command1"), Qt::LeftButton);  // an entry failure: 5 turns left
    EXPECT_GE(changed("lblturns"), 1);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(window->widget("lblturns"))->text(QAccessible::Name),
              "You have 5 turns remaining");
}

TEST_F(AccessibilityTest, theBoxesAndGuessAreDescribedByTheRangeAndTheTurnsLeft) {
    QTest::mouseClick(window->widget("Option3"), Qt::LeftButton);  // Hard: 6 turns
    QTest::mouseClick(window->widget("Command5"), Qt::LeftButton);
    auto description = [&](std::string_view name) {
        return QAccessible::queryAccessibleInterface(window->widget(name))
            ->text(QAccessible::Description)
            .toStdString();
    };
    EXPECT_EQ(description("Text1"), "Please enter 4 numbers below. (1-10)");
    EXPECT_EQ(description("Command1"), "");
    seen.clear();
    boxes.press(QMessageBox::Ok);
    QTest::mouseClick(window->widget("Command1"), Qt::LeftButton);  // an entry failure: 5 turns left
    EXPECT_EQ(description("Text4"), "Please enter 4 numbers below. (1-10) You have 5 turns remaining");
    EXPECT_EQ(description("Command1"), "You have 5 turns remaining");
    // Told as it happens, so that a screen reader on Guess says it at once.
    EXPECT_TRUE(std::any_of(seen.begin(), seen.end(), [&](const Seen& e) {
        return e.object == window->widget("Command1") && e.type == QAccessible::DescriptionChanged;
    }));
}

TEST_F(AccessibilityTest, everyAboutControlSaysWhatItIs) {
    bool ran = false;
    int polls = 0;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        FormWindow* a = about ? rt.window(*about) : nullptr;
        if (ran || !a || !a->isVisible()) return;
        if (!a->isActiveWindow() && ++polls < 600) return;  // the focus settles with activation
        ran = true;
        expectAll(*a, {{"Picture1", "Numerak", QAccessible::Graphic},
                       {"cmdOK", "OK", QAccessible::Button},
                       {"cmdSysInfo", "System Info...", QAccessible::Button},
                       {"lblTitle", "Numerak", QAccessible::StaticText},
                       {"lblVersion", "Version " NUMERAK_VERSION, QAccessible::StaticText},
                       {"lblDisclaimer", "Made by the Numerak developers", QAccessible::StaticText}});
        // The engraved lines are separators where they are drawn, not panes over the whole window.
        for (int i = 0; i < 4; ++i) {
            QAccessibleInterface* line = QAccessible::queryAccessibleInterface(a->widget("Line1", i));
            ASSERT_TRUE(line) << i;
            EXPECT_EQ(line->role(), QAccessible::Separator) << i;
            EXPECT_LE(line->rect().height(), 2) << i;
            EXPECT_TRUE(a->client()->rect().contains(a->client()->mapFromGlobal(line->rect().topLeft()))) << i;
        }
        QAccessibleInterface* ok = QAccessible::queryAccessibleInterface(a->widget("cmdOK"));
        EXPECT_TRUE(ok->state().defaultButton);
        EXPECT_TRUE(ok->state().focused);
        EXPECT_EQ(QAccessible::queryAccessibleInterface(a)->text(QAccessible::Name), "About Numerak");
        a->close();
    });
    poll.start();
    window->action("mnuHelpAbout")->trigger();
    EXPECT_TRUE(ran);
}

// Every named thing inside an accessible object, as "role:name", depth first.
void collect(QAccessibleInterface* iface, std::vector<std::string>& out) {
    for (int i = 0; i < iface->childCount(); ++i) {
        QAccessibleInterface* child = iface->child(i);
        if (!child || child->state().invisible) continue;
        if (!child->text(QAccessible::Name).isEmpty())
            out.push_back(std::to_string(child->role()) + ":" + child->text(QAccessible::Name).toStdString());
        collect(child, out);
    }
}

std::string item(QAccessible::Role role, const char* name) { return std::to_string(role) + ":" + name; }

TEST_F(AccessibilityTest, boxesReadTheirTextTitleAndButtons) {
    std::vector<std::vector<std::string>> boxesRead;
    std::vector<bool> defaultIsFirst;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal->property("read").toBool()) return;
        modal->setProperty("read", true);
        QAccessibleInterface* box = QAccessible::queryAccessibleInterface(modal);
        std::vector<std::string> read{std::to_string(box->role()) + ":" + box->text(QAccessible::Name).toStdString()};
        collect(box, read);
        boxesRead.push_back(read);
        if (auto* input = modal->findChild<QLineEdit*>()) {
            QTest::keyClicks(input, "4");
            QTest::keyClick(input, Qt::Key_Return);
        } else {
            QTest::keyClick(modal, Qt::Key_Return);  // presses the default button
        }
    });
    poll.start();
    QTest::mouseClick(window->widget("Option4"), Qt::LeftButton);
    QTest::mouseClick(window->widget("Command5"), Qt::LeftButton);
    QTest::mouseClick(window->widget("Text1"), Qt::LeftButton);
    QTest::keyClicks(window->widget("Text1"), "9");
    for (auto n : {"Text2", "Text3", "Text4"}) window->findChild<QLineEdit*>(n)->setText("9");
    QTest::mouseClick(window->widget("Command1"), Qt::LeftButton);  // 3 turns left: the "sorry" box, Yes

    ASSERT_EQ(boxesRead.size(), 3u);
    const auto has = [](const std::vector<std::string>& v, const std::string& s) {
        return std::find(v.begin(), v.end(), s) != v.end();
    };
    EXPECT_EQ(boxesRead[0][0], item(QAccessible::Dialog, "Turns"));
    EXPECT_TRUE(has(boxesRead[0], item(QAccessible::StaticText, "How many turns would you like?")));
    EXPECT_TRUE(
        has(boxesRead[0], item(QAccessible::EditableText, "How many turns would you like?")));  // named by its prompt
    EXPECT_TRUE(has(boxesRead[0], item(QAccessible::Button, "OK")));
    EXPECT_TRUE(has(boxesRead[0], item(QAccessible::Button, "Cancel")));
    EXPECT_EQ(boxesRead[1][0], item(QAccessible::Dialog, "Number"));
    EXPECT_EQ(boxesRead[2][0], item(QAccessible::AlertMessage, "sorry"));
    EXPECT_TRUE(has(boxesRead[2], item(QAccessible::StaticText, "You got 0 out of four, do you want to continue?")));
    EXPECT_TRUE(has(boxesRead[2], item(QAccessible::Button, "Yes")));
    EXPECT_TRUE(has(boxesRead[2], item(QAccessible::Button, "No")));
    EXPECT_EQ(game.state().TurnsLeft, 3);  // Return took the default, Yes: the game goes on
    EXPECT_FALSE(rt.ended());
}

}  // namespace
}  // namespace numerak::test
