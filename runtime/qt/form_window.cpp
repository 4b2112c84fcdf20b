// form_window.cpp: building a window from its design and binding widgets to model controls.
#include "runtime/qt/form_window.hpp"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QShowEvent>
#include <algorithm>
#include <utility>

#include "runtime/keys.hpp"
#include "runtime/qt/widgets.hpp"

namespace numerak::qt {

FormWindow::FormWindow(WindowRuntime& runtime, Form& form, FormLogic& logic)
    : runtime_(runtime), form_(form), logic_(logic) {
    build();
}

FormWindow::~FormWindow() {
    // The widgets go first: their signals reach into the model.
    delete takeCentralWidget();
    delete menuWidget();
    bindings_.clear();
}

void FormWindow::build() {
    const WindowDesign& d = form_.design();
    setObjectName(toQString(d.name));
    setWindowTitle(toQString(form_.caption()));
    form_.setCaptionListener([this] { setWindowTitle(toQString(form_.caption())); });

    client_ = new QWidget;
    client_->setObjectName(QStringLiteral("client"));
    QPalette pal = client_->palette();
    pal.setColor(QPalette::Window, toQColor(d.back, pal));
    client_->setPalette(pal);
    client_->setAutoFillBackground(true);
    const WindowLook look = LookOf(d, BaseDpi);
    const QSize clientSize(look.clientWidth, look.clientHeight);
    client_->resize(clientSize);
    setCentralWidget(client_);

    std::vector<QWidget*> hairlines;  // drawn above the controls laid before them
    for (const auto& control : form_.controls()) {
        const ControlDesign* cd = control->design();
        if (!cd) continue;
        QWidget* w = createWidget(*cd, client_);
        if (LookOf(*cd, BaseDpi, false).onTop) hairlines.push_back(w);
        w->setObjectName(toQString(cd->name) + (cd->index >= 0 ? QStringLiteral("_%1").arg(cd->index) : QString()));
        bindings_.push_back({control.get(), w, nullptr});
        Control* model = control.get();
        if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            QObject::connect(edit, &QLineEdit::textChanged, edit, [this, model](const QString& text) {
                runtime_.typed(logic_, *model, text.toStdString());
            });
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            QObject::connect(button, &QAbstractButton::clicked, button,
                             [this, model] { runtime_.clicked(logic_, *model); });
        }
        if (auto* option = qobject_cast<QRadioButton*>(w)) {
            option->installEventFilter(this);  // the arrow keys, below
            // Chosen other than by a click (by a screen reader), its group clears the others in the
            // model too.
            QObject::connect(option, &QRadioButton::toggled, option, [this, model](bool checked) {
                if (checked) runtime_.chosen(logic_, *model);
            });
        }
    }
    for (QWidget* line : hairlines) line->raise();
    buildMenus();
    applyTabOrder();
    describe(nullptr);
    followContrast();

    form_.setListener([this](Control& c, Property p) { reflect(c, p); });

    if (d.border == BorderStyle::FixedDialog) {
        setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
        setFixedSize(clientSize);
    } else {
        resize(clientSize.width(), clientSize.height() + (menuWidget() ? menuWidget()->sizeHint().height() : 0));
    }
    if (look.position) setGeometry(QRect(QPoint(look.position->x, look.position->y), size()));
}

void FormWindow::buildMenus() {
    QMenu* current = nullptr;
    for (const auto& control : form_.controls()) {
        if (control->role() == ControlRole::Menu) {
            current = menuBar()->addMenu(toQString(control->caption()));
            current->setObjectName(toQString(control->name()));
            bindings_.push_back({control.get(), current, current->menuAction()});
        } else if (control->role() == ControlRole::MenuItem && current) {
            QAction* a = current->addAction(toQString(control->caption()));
            a->setObjectName(toQString(control->name()));
            bindings_.push_back({control.get(), nullptr, a});
            Control* model = control.get();
            QObject::connect(a, &QAction::triggered, a, [this, model] { runtime_.clicked(logic_, *model); });
        }
    }
}

void FormWindow::applyTabOrder() {
    QWidget* previous = nullptr;
    for (const Control* c : form_.tabOrder()) {
        QWidget* w = widget(c->name(), c->index());
        if (!w || c->design()->tabIndex < 0 || w->focusPolicy() == Qt::NoFocus) continue;
        if (previous) QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

QWidget* FormWindow::firstFocus() const {
    const Control* first = form_.firstFocus();
    return first ? widget(first->name(), first->index()) : nullptr;
}

void FormWindow::reflect(Control& control, Property property) {
    for (const auto& b : bindings_) {
        if (b.control != &control) continue;
        QWidget* w = b.widget;
        switch (property) {
            case Property::Caption: {
                const QString text = toQString(control.caption());
                if (auto* edit = qobject_cast<QLineEdit*>(w)) {
                    if (edit->text() != text) edit->setText(text);
                } else if (auto* label = qobject_cast<QLabel*>(w)) {
                    label->setText(text);  // QLabel tells screen readers of the new name itself
                    describe(&control);
                } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
                    button->setText(text);
                } else if (b.action) {
                    b.action->setText(text);
                }
                break;
            }
            case Property::Visible:
                if (b.action) {
                    b.action->setVisible(control.visible());
                } else if (w) {
                    // The keyboard moves on first, where the form says, rather than where Qt would.
                    if (!control.visible() && w->hasFocus())
                        if (Control* next = form_.focusAfterHiding(control)) focus(*next);
                    w->setVisible(control.visible());
                }
                break;
            case Property::Value:
                if (auto* option = qobject_cast<QRadioButton*>(w); option && option->isChecked() != control.value()) {
                    // An exclusive option cannot be cleared directly; the model keeps the group.
                    option->setAutoExclusive(false);
                    option->setChecked(control.value());
                    option->setAutoExclusive(true);
                }
                break;
        }
    }
}

// What a screen reader reads after a control's name: the labels that describe it, kept up to
// date as they change. A screen reader reads a changed description of the control the keyboard
// is on at once (the turns left, on Guess), and any on focus (the range, in a number box).
void FormWindow::describe(const Control* changed) {
    const std::vector<Control*> described = form_.describedBy(changed);
    for (const auto& b : bindings_)
        if (b.widget && std::find(described.begin(), described.end(), b.control) != described.end())
            b.widget->setAccessibleDescription(toQString(form_.description(*b.control)));
}

// A theme switched while the game runs: the coloured controls follow it at once. Active again
// (a box closed, a window above it gone), the keyboard goes where the form says.
void FormWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ApplicationPaletteChange || event->type() == QEvent::PaletteChange) followContrast();
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        Control* to = form_.focusOnReturn(controlOf(focusWidget()));
        if (to && to != controlOf(focusWidget())) focus(*to);
    }
}

void FormWindow::followContrast() {
    const bool more = systemAsksForMoreContrast();
    if (more == moreContrast_) return;
    moreContrast_ = more;
    for (const auto& b : bindings_)
        if (b.widget && b.control->design()) colourWidget(b.widget, *b.control->design(), more);
}

QWidget* FormWindow::widget(std::string_view name, int index) const {
    for (const auto& b : bindings_)
        if (b.control->name() == name && b.control->index() == index) return b.widget;
    return nullptr;
}

QAction* FormWindow::action(std::string_view name) const {
    for (const auto& b : bindings_)
        if (b.control->name() == name) return b.action;
    return nullptr;
}

void FormWindow::showWindow() {
    show();
    if (QWidget* first = firstFocus()) first->setFocus();
}

void FormWindow::showWindowModal() {
    setWindowModality(Qt::ApplicationModal);
    showWindow();
}

void FormWindow::unloaded() {
    hide();
    if (onUnloaded_) onUnloaded_();
}

void FormWindow::focus(Control& control) {
    if (QWidget* w = widget(control.name(), control.index())) w->setFocus(Qt::TabFocusReason);
}

void FormWindow::press(Control& control) {
    if (auto* button = qobject_cast<QAbstractButton*>(widget(control.name(), control.index()))) button->click();
}

void FormWindow::openMenuBar() {
    const QList<QAction*> menus = menuBar()->actions();
    if (menus.isEmpty()) return;
    menuBar()->setFocus(Qt::MenuBarFocusReason);
    menuBar()->setActiveAction(menus.first());
}

void FormWindow::showEvent(QShowEvent* event) {
    // The icon is read when the window first shows, like its pictures; a box shown from the
    // load handler, before the window, is up all the sooner.
    const std::string_view icon = form_.design().icon;
    if (!icon.empty() && !iconRead_) setWindowIcon(QIcon(picturePath(icon)));
    iconRead_ = true;
    QMainWindow::showEvent(event);
}

void FormWindow::closeEvent(QCloseEvent* event) {
    // The close box is an unload request like any other; the runtime decides whether it happens.
    event->ignore();
    runtime_.closeBox(logic_);
}

Control* FormWindow::controlOf(const QObject* w) const {
    for (const auto& b : bindings_)
        if (w && b.widget == w) return b.control;
    return nullptr;
}

namespace {

KeyPress keyPress(const QKeyEvent* event) {
    static constexpr std::pair<int, Key> named[]{{Qt::Key_Return, Key::Enter},  {Qt::Key_Enter, Key::Enter},
                                                 {Qt::Key_Escape, Key::Escape}, {Qt::Key_Up, Key::Up},
                                                 {Qt::Key_Down, Key::Down},     {Qt::Key_Left, Key::Left},
                                                 {Qt::Key_Right, Key::Right},   {Qt::Key_F10, Key::F10}};
    const Qt::KeyboardModifiers m = event->modifiers();
    KeyPress k{.alt = m.testFlag(Qt::AltModifier),
               .ctrl = m.testFlag(Qt::ControlModifier),
               .shift = m.testFlag(Qt::ShiftModifier),
               .meta = m.testFlag(Qt::MetaModifier)};
    for (const auto& [code, key] : named)
        if (event->key() == code) k.key = key;
    if (event->key() >= Qt::Key_A && event->key() <= Qt::Key_Z) {
        k.key = Key::Letter;
        k.letter = static_cast<char>('A' + (event->key() - Qt::Key_A));
    }
    return k;
}

}  // namespace

// A key the window answers itself, by the core's rules; false for the toolkit's own (typing, Tab).
bool FormWindow::windowKey(const QKeyEvent* event) {
    return runtime_.key(logic_, keyPress(event), controlOf(QApplication::focusWidget()));
}

// An option button takes the arrow keys itself: the window's rules come first.
bool FormWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && windowKey(static_cast<QKeyEvent*>(event))) return true;
    return QMainWindow::eventFilter(watched, event);
}

void FormWindow::keyPressEvent(QKeyEvent* event) {
    if (windowKey(event)) {
        event->accept();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

}  // namespace numerak::qt
