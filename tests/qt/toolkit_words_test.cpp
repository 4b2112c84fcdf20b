// Qt's own words, which the designs do not write (a number box's context menu), are in the
// player's language too.
#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <memory>

#include "runtime/language.hpp"
#include "runtime/qt/widgets.hpp"

namespace numerak::test {
namespace {

QStringList menuWords() {
    QLineEdit edit;
    const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    QStringList words;
    for (const QAction* a : menu->actions())
        if (!a->isSeparator()) words << a->text();
    return words;
}

TEST(ToolkitWords, aNumberBoxsContextMenuSpeaksThePlayersLanguage) {
    const QStringList english = menuWords();
    ASSERT_FALSE(english.isEmpty());
    UseLanguage("de");
    qt::useToolkitLanguage();
    const QStringList german = menuWords();
    UseLanguage("en");
    qt::useToolkitLanguage();
    ASSERT_EQ(german.size(), english.size());
    for (qsizetype i = 0; i < german.size(); ++i) EXPECT_NE(german[i], english[i]) << german[i].toStdString();
    EXPECT_EQ(menuWords(), english);
}

}  // namespace
}  // namespace numerak::test
