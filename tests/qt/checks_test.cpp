// The behaviour every front end shows (tests/frontends/checks.txt), played on Qt offscreen with
// real widgets and real modal boxes.
#include <gtest/gtest.h>

#include <QtGui/private/qguiapplication_p.h>
#include <QtGui/qpa/qplatformaccessibility.h>
#include <QtGui/qpa/qplatformintegration.h>
#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QImage>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cctype>

#include "runtime/qt/form_window.hpp"
#include "runtime/qt/qt_runtime.hpp"
#include "runtime/qt/widgets.hpp"
#include "tests/frontends/checks.hpp"
#include "tests/frontends/game_under_test.hpp"

namespace numerak::test {
namespace {

using qt::FormWindow;

std::string plain(const QString& caption) { return QString(caption).remove(QLatin1Char('&')).toStdString(); }

Rgb rgb(QColor c) { return static_cast<Rgb>(c.red() << 16 | c.green() << 8 | c.blue()); }

// Qt's roles in the words of checks.txt.
std::string roleWord(QAccessible::Role role) {
    switch (role) {
        case QAccessible::Button: return "button";
        case QAccessible::RadioButton: return "option";
        case QAccessible::EditableText: return "text";
        case QAccessible::StaticText: return "label";
        case QAccessible::Graphic: return "picture";
        case QAccessible::AlertMessage: return "alert";
        case QAccessible::Dialog: return "dialog";
        case QAccessible::Window: return "window";
        default: return "role " + std::to_string(role);
    }
}

// What screen readers are told: the widgets whose name or description changed.
std::vector<QObject*> told;
void tell(QAccessibleEvent* event) {
    const auto type = event->type();
    if (type == QAccessible::NameChanged || type == QAccessible::TextUpdated || type == QAccessible::DescriptionChanged)
        told.push_back(event->object());
}

class QtPlayer : public Player {
public:
    // The test is the event loop.
    QtPlayer() {
        game_.rt.setOnEnd([] {});
        // The offscreen platform has no screen reader to turn accessibility on: done as one would.
        if (QPlatformAccessibility* platform = QGuiApplicationPrivate::platformIntegration()->accessibility())
            platform->setActive(true);
        told.clear();
        QAccessible::installUpdateHandler(tell);
    }
    ~QtPlayer() override {
        QAccessible::installUpdateHandler(nullptr);
        if (QApplication::palette() != normal_) QApplication::setPalette(normal_);
    }

    void post(std::function<void()> action) override {
        QTimer::singleShot(0, &context_, [action = std::move(action)] {
            told.clear();
            action();
        });
    }

    void start() override { game_.rt.start(game_.game); }

    void key(std::string_view window, std::string_view name) override {
        // The offscreen platform does not hand activation back after a box closes, as a window
        // manager would; keys reach only the active window.
        FormWindow* w = windowNamed(window);
        if (!w) return;
        QApplication::setActiveWindow(w);
        Qt::KeyboardModifiers modifiers;
        std::string_view key = name;
        for (const auto& [prefix, modifier] : {std::pair{std::string_view("Alt+"), Qt::AltModifier},
                                               std::pair{std::string_view("Shift+"), Qt::ShiftModifier}})
            if (key.substr(0, prefix.size()) == prefix) {
                modifiers |= modifier;
                key.remove_prefix(prefix.size());
            }
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : w;
        QTest::keyClick(target, qtKey(key, modifiers), modifiers);
    }

    void type(std::string_view, std::string_view text) override {
        if (QWidget* target = QApplication::focusWidget()) QTest::keyClicks(target, toQ(text));
    }

    void fill(std::string_view window, std::string_view control, std::string_view text) override {
        auto* edit = qobject_cast<QLineEdit*>(widget(window, control));
        if (!edit) return;
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, toQ(text));
    }

    void click(std::string_view window, std::string_view control) override {
        if (QWidget* w = widget(window, control)) QTest::mouseClick(w, Qt::LeftButton);
    }

    void menu(std::string_view window, std::string_view item) override {
        FormWindow* w = windowNamed(window);
        if (QAction* a = w ? w->action(item) : nullptr) a->trigger();
    }

    void close(std::string_view window) override {
        if (FormWindow* w = windowNamed(window)) w->close();
    }

    // White on black, as an inverse high-contrast theme has it.
    void contrast(bool more) override {
        QPalette palette = normal_;
        if (more) {
            for (auto role : {QPalette::Window, QPalette::Base}) palette.setColor(role, Qt::black);
            for (auto role : {QPalette::WindowText, QPalette::Text}) palette.setColor(role, Qt::white);
        }
        QApplication::setPalette(palette);
    }

    // Through the window system, as a player's clicks and keys come.
    void tryBeneath(std::string_view window, std::string_view control) override {
        FormWindow* w = windowNamed(window);
        QWidget* c = widget(window, control);
        if (!w || !c) return;
        QTest::mouseClick(w->windowHandle(), Qt::LeftButton, {}, c->mapTo(w, c->rect().center()));
        const std::string text = caption(window, control);
        if (const auto at = text.find('&'); at != std::string::npos && at + 1 < text.size())
            QTest::keyClick(w->windowHandle(), qtKey(std::string(1, static_cast<char>(std::toupper(text[at + 1]))), {}),
                            Qt::AltModifier);
    }

    std::optional<BoxUp> box() override {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal->property("answered").toBool()) return std::nullopt;
        BoxUp seen;
        seen.title = modal->windowTitle().toStdString();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            seen.text = box->text().toStdString();
            seen.icon = box->icon() != QMessageBox::NoIcon;
            if (box->defaultButton()) seen.defaultButton = plain(box->defaultButton()->text());
        } else if (auto* dialog = qobject_cast<QInputDialog*>(modal)) {
            seen.text = dialog->labelText().toStdString();
            seen.field = true;
        } else {
            return std::nullopt;  // a window, not a box
        }
        for (QAbstractButton* b : modal->findChildren<QAbstractButton*>()) {
            if (!b->isVisible()) continue;
            seen.buttons.push_back(plain(b->text()));
            if (auto* push = qobject_cast<QPushButton*>(b); push && push->isDefault())
                seen.defaultButton = plain(b->text());
        }
        return seen;
    }

    void answer(std::string_view answer) override {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) return;
        modal->setProperty("answered", true);
        respond(modal, answer);
    }

    bool windowUp(std::string_view window) override {
        FormWindow* w = windowNamed(window);
        return w && w->isVisible();
    }

    std::string focus(std::string_view window) override {
        const Form* form = game_.form(window);
        FormWindow* w = windowNamed(window);
        if (!form || !w) return {};
        for (const auto& c : form->controls())
            if (c->design() && w->widget(c->name(), c->index()) == QApplication::focusWidget())
                return std::string(c->name());
        return {};
    }

    bool chosen(std::string_view window, std::string_view control) override {
        auto* option = qobject_cast<QRadioButton*>(widget(window, control));
        return option && option->isChecked();
    }

    bool shown(std::string_view window, std::string_view control) override {
        QWidget* w = widget(window, control);
        return w && w->isVisible();
    }

    std::string caption(std::string_view window, std::string_view control) override {
        QWidget* w = widget(window, control);
        if (auto* label = qobject_cast<QLabel*>(w)) return label->text().toStdString();
        if (auto* edit = qobject_cast<QLineEdit*>(w)) return edit->text().toStdString();
        if (auto* button = qobject_cast<QAbstractButton*>(w)) return button->text().toStdString();
        return "(none)";
    }

    PixelRect client(std::string_view window) override {
        FormWindow* w = windowNamed(window);
        return w ? PixelRect{0, 0, w->client()->width(), w->client()->height()} : PixelRect{};
    }

    PixelRect place(std::string_view window, std::string_view control) override {
        QWidget* w = widget(window, control);
        if (!w) return {};
        const QRect r = w->geometry();
        return {r.x(), r.y(), r.width(), r.height()};
    }

    std::pair<Rgb, Rgb> colours(std::string_view window, std::string_view control) override {
        FormWindow* w = windowNamed(window);
        QWidget* c = !w ? nullptr : control == window ? w->client() : widget(window, control);
        if (!w || !c) return {};
        // What is painted, clear of any text and frame; a box's face inside its frame; the window's
        // own ground at its lower left corner.
        const QImage shown = w->client()->grab().toImage();
        if (c == w->client())
            return {rgb(shown.pixelColor(2, shown.height() - 3)), rgb(c->palette().color(QPalette::WindowText))};
        const QRect r = c->geometry();
        const QPoint at = qobject_cast<QLineEdit*>(c) ? r.center() : QPoint(r.right() - 3, r.bottom() - 1);
        return {rgb(shown.pixelColor(at)), rgb(c->palette().color(c->foregroundRole()))};
    }

    Rgb systemColour(int index) override { return rgb(qt::toQColor(SystemColourRef(index), QApplication::palette())); }

    bool ended() override { return game_.rt.ended(); }

    std::optional<Heard> heard(std::string_view window, std::string_view control) override {
        FormWindow* w = windowNamed(window);
        QObject* object = control == window ? static_cast<QObject*>(w) : widget(window, control);
        QAccessibleInterface* iface = object ? QAccessible::queryAccessibleInterface(object) : nullptr;
        if (!iface) return std::nullopt;
        Heard h{roleWord(iface->role()),
                iface->text(QAccessible::Name).toStdString(),
                iface->text(QAccessible::Description).toStdString(),
                !iface->state().invisible,
                {}};
        if (object == w && (h.role == "dialog" || h.role == "window")) h.role = "window";
        if (iface->state().checkable) h.checked = iface->state().checked;
        return h;
    }

    std::optional<BoxHeard> heardBox() override {
        QWidget* modal = QApplication::activeModalWidget();
        QAccessibleInterface* box = modal ? QAccessible::queryAccessibleInterface(modal) : nullptr;
        if (!box) return std::nullopt;
        BoxHeard heard{roleWord(box->role()), box->text(QAccessible::Name).toStdString(), {}, {}, {}};
        std::function<void(QAccessibleInterface*)> read = [&](QAccessibleInterface* parent) {
            for (int i = 0; i < parent->childCount(); ++i) {
                QAccessibleInterface* child = parent->child(i);
                if (!child || child->state().invisible) continue;
                const std::string name = child->text(QAccessible::Name).toStdString();
                if (child->role() == QAccessible::StaticText && heard.text.empty()) heard.text = name;
                if (child->role() == QAccessible::Button) heard.buttons.push_back(name);
                if (child->role() == QAccessible::EditableText) heard.field = name;
                read(child);
            }
        };
        read(box);
        return heard;
    }

    bool announced(std::string_view window, std::string_view control) override {
        QWidget* w = widget(window, control);
        return w && std::find(told.begin(), told.end(), w) != told.end();
    }

private:
    static QString toQ(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

    static Qt::Key qtKey(std::string_view key, Qt::KeyboardModifiers modifiers) {
        const std::pair<std::string_view, Qt::Key> named[]{
            {"Tab", Qt::Key_Tab}, {"Enter", Qt::Key_Return}, {"Escape", Qt::Key_Escape}, {"Space", Qt::Key_Space},
            {"Up", Qt::Key_Up},   {"Down", Qt::Key_Down},    {"Left", Qt::Key_Left},     {"Right", Qt::Key_Right}};
        for (const auto& [name, k] : named)
            if (key == name) return k == Qt::Key_Tab && modifiers.testFlag(Qt::ShiftModifier) ? Qt::Key_Backtab : k;
        return key.size() == 1 ? static_cast<Qt::Key>(Qt::Key_A + (key[0] - 'A')) : Qt::Key_unknown;
    }

    static void respond(QWidget* box, std::string_view answer) {
        if (answer.substr(0, 5) == "type ") {
            const auto comma = answer.find(", ");
            if (auto* edit = box->findChild<QLineEdit*>()) QTest::keyClicks(edit, toQ(answer.substr(5, comma - 5)));
            respond(box, comma == std::string_view::npos ? "Enter" : answer.substr(comma + 2));
        } else if (answer.substr(0, 6) == "click ") {
            for (QAbstractButton* b : box->findChildren<QAbstractButton*>())
                if (plain(b->text()) == answer.substr(6)) return b->click();
        } else {
            QTest::keyClick(box, answer == "Escape" ? Qt::Key_Escape : Qt::Key_Return);
        }
    }

    FormWindow* windowNamed(std::string_view window) const { return game_.window(window); }
    QWidget* widget(std::string_view window, std::string_view control) const {
        FormWindow* w = windowNamed(window);
        return w ? w->widget(control) : nullptr;
    }

    QObject context_;
    const QPalette normal_ = QApplication::palette();
    GameUnderTest<qt::QtRuntime> game_;
};

class QtFrontEnd : public ::testing::TestWithParam<FrontEndCheck> {};

TEST_P(QtFrontEnd, shows) {
    QtPlayer player;
    CheckRunner runner(GetParam(), player, std::chrono::seconds(3));
    QTimer ticks;
    QObject::connect(&ticks, &QTimer::timeout, [&] { runner.tick(); });
    ticks.start(5);
    EXPECT_TRUE(QTest::qWaitFor([&] { return runner.done(); }, 120'000));
}

INSTANTIATE_TEST_SUITE_P(Checks, QtFrontEnd, ::testing::ValuesIn(FrontEndChecks(NUMERAK_VERSION)),
                         [](const ::testing::TestParamInfo<FrontEndCheck>& info) { return info.param.name; });

}  // namespace
}  // namespace numerak::test
