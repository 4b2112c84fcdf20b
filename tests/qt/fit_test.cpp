// Every caption fits its designed box in every language, on Qt: both windows laid out as the
// game builds them, with the texts the handlers write into them later at their longest; a caption
// that is cut off, or wraps where the English does not, fails. The test language, a third
// longer, must be caught.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

#include <string>
#include <vector>

#include "runtime/qt/form_window.hpp"
#include "runtime/qt/qt_runtime.hpp"
#include "tests/frontends/fit.hpp"

namespace numerak::test {
namespace {

QString shown(const QString& caption) {
    QString text = caption;
    return text.remove(QRegularExpression("&(?!&)"));
}

// How many lines a label's text takes at its width, and whether they show whole in its height.
int lines(const QLabel& label, const QString& text) {
    const QFontMetrics m(label.font());
    const QRect r = m.boundingRect(QRect(0, 0, label.width(), 10000), Qt::TextWordWrap, text);
    return 1 + std::max(0, r.height() - m.height()) / m.lineSpacing();
}
bool whole(const QLabel& label, const QString& text) {
    const QRect r = QFontMetrics(label.font()).boundingRect(QRect(0, 0, label.width(), 10000), Qt::TextWordWrap, text);
    return r.width() <= label.width() && r.height() <= label.height() + 1;  // a last descent may touch the edge
}

// What does not fit in a window: "control: caption" for each.
std::vector<std::string> misfits(qt::FormWindow& window, Form& form, const std::vector<int>& englishLines) {
    std::vector<std::string> found;
    std::size_t at = 0;
    for (const auto& c : form.controls()) {
        if (!c->design()) {
            ++at;
            continue;
        }
        QWidget* w = window.widget(c->name(), c->index());
        const QString text = shown(QString::fromStdString(c->caption()));
        const std::string said = std::string(c->name()) + ": " + c->caption();
        if (auto* label = qobject_cast<QLabel*>(w)) {
            const int english = at < englishLines.size() ? englishLines[at] : 1;
            if (!whole(*label, text) || (english == 1 && lines(*label, text) > 1)) found.push_back(said);
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            QStyleOptionButton option;
            option.initFrom(button);
            const int margins = qobject_cast<QRadioButton*>(button)
                                    ? button->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) +
                                          button->style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing)
                                    : 2 * button->style()->pixelMetric(QStyle::PM_ButtonMargin);
            if (QFontMetrics(button->font()).horizontalAdvance(text) + margins > button->width()) found.push_back(said);
        }
        ++at;
    }
    // The menu bar's titles in one row across the window.
    if (auto* bar = window.menuBar(); bar && !bar->actions().isEmpty()) {
        const QRect last = bar->actionGeometry(bar->actions().last());
        if (last.right() > bar->width() || last.top() > bar->actionGeometry(bar->actions().first()).top())
            found.emplace_back("the menu bar");
    }
    return found;
}

Layout layOut(const WindowDesign& design, const std::vector<int>& englishLines) {
    qt::QtRuntime rt{"Numerak"};
    ShownDesign logic(design);
    Form form(design);
    writeLongestTexts(form);
    qt::FormWindow window(rt, form, logic);
    window.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    Layout layout;
    for (const auto& c : form.controls()) {
        auto* label = c->design() ? qobject_cast<QLabel*>(window.widget(c->name(), c->index())) : nullptr;
        layout.lines.push_back(label ? lines(*label, shown(QString::fromStdString(c->caption()))) : 1);
    }
    layout.misfits = misfits(window, form, englishLines);
    return layout;
}

class Fit : public ::testing::TestWithParam<std::string> {};

TEST_P(Fit, everyCaptionFitsItsDesignedBox) { expectEveryCaptionFits(GetParam(), layOut); }

INSTANTIATE_TEST_SUITE_P(Languages, Fit, ::testing::ValuesIn(EveryLanguage()));

}  // namespace
}  // namespace numerak::test
