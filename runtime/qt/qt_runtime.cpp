// qt_runtime.cpp: the runtime services on Qt.
#include "runtime/qt/qt_runtime.hpp"

#include <QApplication>
#include <QEventLoop>
#include <QFontMetrics>
#include <QGridLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <algorithm>
#include <exception>
#include <ranges>

#include "runtime/qt/form_window.hpp"
#include "runtime/qt/widgets.hpp"

namespace numerak::qt {

namespace {

// A window manager draws a box's title beside an icon and up to three frame buttons and cuts
// short what does not fit. The box is made wide enough for its whole title, room for a bold
// title face a little larger than ours and for those four of about a line and a half each, as
// the message boxes the game was designed with widen for theirs.
void makeRoomForTitle(QMessageBox& box) {
    QFont bold = QApplication::font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    const int room = metrics.horizontalAdvance(box.windowTitle()) * 5 / 4 + metrics.height() * 10;
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(room, 0), grid->rowCount(), 0, 1, grid->columnCount());
}

}  // namespace

QtRuntime::QtRuntime(std::string appTitle) : appTitle_(std::move(appTitle)), onEnd_([] { QCoreApplication::exit(0); }) {
    // Windows come and go only through the runtime: closing the last one must not quit behind
    // its back.
    QApplication::setQuitOnLastWindowClosed(false);
}

QtRuntime::~QtRuntime() {
    // The windows' logic objects may be gone already; the windows do not touch them on the way out.
    for (FormWindow* w : windows_) delete w;
}

FormWindow* QtRuntime::window(const FormLogic& logic) const {
    for (FormWindow* w : windows_)
        if (&w->logic() == &logic) return w;
    return nullptr;
}

FormWindow* QtRuntime::load(FormLogic& logic) {
    auto* w = new FormWindow(*this, logic);
    windows_.push_back(w);
    logic.attach(&w->form());
    logic.Form_Load();
    return window(logic);
}

void QtRuntime::start(FormLogic& logic) {
    dispatch([&] {
        if (FormWindow* w = load(logic)) {
            w->show();
            if (QWidget* first = w->firstFocus()) first->setFocus();
        }
    });
}

void QtRuntime::dispatch(const std::function<void()>& handler) {
    if (ended_) return;
    try {
        handler();
    } catch (const ProgramEnd&) {
        endProgram();
    } catch (const std::exception& e) {
        try {
            ShowMessage(std::string("Something went wrong, and the last action could not be finished.\n\n") + e.what(),
                        std::nullopt, Buttons::Ok);
        } catch (...) {
            // Nothing more can be told; the program goes on.
        }
    }
}

QWidget* QtRuntime::boxParent() const {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    for (std::size_t i = windows_.size(); i-- > 0;)  // the newest first
        if (windows_[i]->isVisible()) return windows_[i];
    return nullptr;
}

Answer QtRuntime::ShowMessage(std::string_view text, std::optional<std::string_view> title, Buttons buttons) {
    QMessageBox box(boxParent());
    box.setIcon(QMessageBox::NoIcon);
    box.setWindowTitle(toQString(title.value_or(appTitle_)));
    box.setTextFormat(Qt::PlainText);
    box.setText(toQString(text));
    if (buttons == Buttons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
    }
    makeRoomForTitle(box);
    box.exec();
    if (buttons == Buttons::Ok) return Answer::Ok;
    // Esc and the close box answer No, the box's escape button.
    return box.standardButton(box.clickedButton()) == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

std::string QtRuntime::AskText(std::string_view prompt, std::string_view title) {
    QInputDialog dialog(boxParent());
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setWindowTitle(toQString(title));
    dialog.setLabelText(toQString(prompt));
    dialog.setTextValue(QString());
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.textValue().toStdString();
}

void QtRuntime::ShowModal(FormLogic& logic) {
    if (window(logic)) return;  // already showing
    QPointer<FormWindow> w = load(logic);
    if (w && !w->isUnloaded()) {
        QEventLoop loop;
        w->setOnUnloaded([&loop] { loop.quit(); });
        w->setWindowModality(Qt::ApplicationModal);
        w->show();
        if (QWidget* first = w->firstFocus()) first->setFocus();
        loop.exec();
        if (w) w->setOnUnloaded({});
    }
    // The program may have ended while the window was up: the caller must not go on.
    if (ended_) throw ProgramEnd{};
}

void QtRuntime::EndProgram() { throw ProgramEnd{}; }

void QtRuntime::unload(FormLogic& logic) {
    FormWindow* w = window(logic);
    if (!w) return;
    windows_.erase(std::find(windows_.begin(), windows_.end(), w));
    logic.attach(nullptr);
    w->markUnloaded();
    w->deleteLater();  // it may be the window whose handler is running
    if (windows_.empty()) endProgram();
}

void QtRuntime::endProgram() {
    if (ended_) return;
    ended_ = true;
    for (FormWindow* w : windows_) {
        w->logic().attach(nullptr);
        w->markUnloaded();
        w->deleteLater();
    }
    windows_.clear();
    if (onEnd_) onEnd_();
}

}  // namespace numerak::qt
