// box_answerer.cpp
#include "tests/qt/box_answerer.hpp"

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace numerak::test {

namespace {

std::string plain(const QString& caption) { return QString(caption).remove(QLatin1Char('&')).toStdString(); }

std::string describe(const SeenBox& box) {
    std::string line = (box.input ? "input box \"" : "message box \"") + box.title + "\": \"" + box.text + "\" [";
    for (const auto& b : box.buttons) line += (&b == &box.buttons.front() ? "" : ", ") + b;
    return line + "]";
}

}  // namespace

BoxAnswerer::BoxAnswerer() {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
    timer_.start();
}

void BoxAnswerer::poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal->property("answered").toBool()) return;
    auto* box = qobject_cast<QMessageBox*>(modal);
    auto* dialog = qobject_cast<QInputDialog*>(modal);
    if (!box && !dialog) return;
    if (script_.empty()) {
        // A box nobody expected: give the test a moment to script it, then close it so the
        // test fails instead of hanging.
        if (!unexpected_.isValid()) unexpected_.start();
        if (unexpected_.elapsed() < 2000) return;
        ADD_FAILURE() << "unexpected box: " << (box ? box->text() : dialog->labelText()).toStdString();
        modal->setProperty("answered", true);
        unexpected_.invalidate();
        if (box)
            box->reject();
        else
            dialog->reject();
        return;
    }
    unexpected_.invalidate();
    modal->setProperty("answered", true);
    const Step step = script_.front();
    script_.pop_front();

    SeenBox seenBox;
    seenBox.title = modal->windowTitle().toStdString();
    if (box) {
        seenBox.text = box->text().toStdString();
        seenBox.hasIcon = box->icon() != QMessageBox::NoIcon;
        for (QAbstractButton* b : box->buttons()) seenBox.buttons.push_back(plain(b->text()));
        if (box->defaultButton()) seenBox.defaultButton = plain(box->defaultButton()->text());
        seen.push_back(seenBox);
        transcript.push_back(describe(seenBox) + " <- " +
                             (step.key != Qt::Key_unknown ? QKeySequence(step.key).toString().toStdString()
                                                          : "clicked " + std::to_string(step.button)));
        if (step.key != Qt::Key_unknown)
            QTest::keyClick(box, step.key);
        else if (QAbstractButton* b = box->button(step.button))
            b->click();
        else
            box->reject();  // an answer the box does not offer: leave it as Esc would
        return;
    }
    seenBox.input = true;
    seenBox.text = dialog->labelText().toStdString();
    auto* buttons = dialog->findChild<QDialogButtonBox*>();
    if (buttons)
        for (QAbstractButton* b : buttons->buttons()) seenBox.buttons.push_back(plain(b->text()));
    seen.push_back(seenBox);
    const std::string typed = step.text ? "typed \"" + *step.text + "\", " : "";
    transcript.push_back(describe(seenBox) + " <- " + typed +
                         (step.key != Qt::Key_unknown ? QKeySequence(step.key).toString().toStdString()
                          : step.text                 ? "OK"
                                                      : "Cancel"));
    if (step.key != Qt::Key_unknown) {
        if (step.text) QTest::keyClicks(dialog->findChild<QLineEdit*>(), QString::fromStdString(*step.text));
        QTest::keyClick(dialog, step.key);
    } else if (step.text) {
        if (auto* edit = dialog->findChild<QLineEdit*>()) {
            if (step.paste)
                edit->insert(QString::fromStdString(*step.text));  // as a paste inserts, within the box's limit
            else
                QTest::keyClicks(edit, QString::fromStdString(*step.text));
        }
        if (buttons && buttons->button(QDialogButtonBox::Ok))
            buttons->button(QDialogButtonBox::Ok)->click();
        else
            dialog->accept();
    } else {
        if (buttons && buttons->button(QDialogButtonBox::Cancel))
            buttons->button(QDialogButtonBox::Cancel)->click();
        else
            dialog->reject();
    }
}

}  // namespace numerak::test
