// qt_runtime.cpp: the runtime services on Qt.
#include "runtime/qt/qt_runtime.hpp"

#include <QAbstractButton>
#include <QApplication>
#include <QEventLoop>
#include <QFontMetrics>
#include <QGridLayout>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <limits>

#include "runtime/language.hpp"
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

QtRuntime::QtRuntime(std::string appTitle)
    : WindowRuntime(std::move(appTitle)), onEnd_([] { QCoreApplication::exit(0); }) {
    // Windows come and go only through the runtime: closing the last one must not quit behind
    // its back.
    QApplication::setQuitOnLastWindowClosed(false);
}

FormWindow* QtRuntime::window(const FormLogic& logic) const { return static_cast<FormWindow*>(view(logic)); }

std::unique_ptr<WindowView> QtRuntime::realise(Form& form, FormLogic& logic) {
    return std::make_unique<FormWindow>(*this, form, logic);
}

QWidget* QtRuntime::boxParent() const { return static_cast<FormWindow*>(boxOwner()); }

Answer QtRuntime::messageBox(std::string_view text, std::string_view title, Buttons buttons) {
    QMessageBox box(boxParent());
    box.setIcon(QMessageBox::NoIcon);
    box.setWindowTitle(toQString(title));
    box.setTextFormat(Qt::PlainText);
    box.setText(toQString(text));
    if (buttons == Buttons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
    }
    if (LanguageInUse() != "en") {  // Qt's own words are English
        const BoxWords words = TranslatedBoxWords();
        if (QAbstractButton* b = box.button(QMessageBox::Ok)) b->setText(toQString(words.ok));
        if (QAbstractButton* b = box.button(QMessageBox::Yes)) b->setText(toQString(words.yes));
        if (QAbstractButton* b = box.button(QMessageBox::No)) b->setText(toQString(words.no));
    }
    makeRoomForTitle(box);
    box.exec();
    if (buttons == Buttons::Ok) return Answer::Ok;
    // Esc and the close box answer No, the box's escape button.
    return box.standardButton(box.clickedButton()) == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

std::string QtRuntime::inputBox(std::string_view prompt, std::string_view title) {
    QInputDialog dialog(boxParent());
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setWindowTitle(toQString(title));
    dialog.setLabelText(toQString(prompt));
    dialog.setTextValue(QString());
    // Any length, as the number boxes and the other front ends take it: a paste is read whole.
    if (auto* edit = dialog.findChild<QLineEdit*>()) edit->setMaxLength(std::numeric_limits<int>::max());
    if (LanguageInUse() != "en") {
        const BoxWords words = TranslatedBoxWords();
        dialog.setOkButtonText(toQString(words.ok));
        dialog.setCancelButtonText(toQString(words.cancel));
    }
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.textValue().toStdString();
}

void QtRuntime::runModal(FormLogic& logic) {
    QPointer<FormWindow> w = window(logic);
    if (!w) return;
    QEventLoop loop;
    w->setOnUnloaded([&loop] { loop.quit(); });
    loop.exec();
    if (w) w->setOnUnloaded({});
}

void QtRuntime::leaveEventLoop() {
    if (onEnd_) onEnd_();
}

void QtRuntime::scheduleCollectUnloaded() {
    // From the event loop, once the handler that unloaded them has returned to the toolkit.
    QTimer::singleShot(0, &timers_, [this] { collectUnloaded(); });
}

}  // namespace numerak::qt
