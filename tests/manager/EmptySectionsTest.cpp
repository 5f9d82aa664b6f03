#include "ManagerFixture.h"

#include "EmptyListHint.h"
#include "ManagerWindow.h"
#include "QOR_StringUtils.h"

#include <QSet>

TEST_F(ManagerTest, EveryEmptySectionSaysWhatItWillHoldAndHowToAddTheFirstEntry)
{
    for (const char *language : {"en", "fr"}) {
        QOR_StringUtils::installTranslations(QLocale(language));
        auto manager = makeManager();
        ASSERT_TRUE(manager->applicationDidFinishLaunching());
        QSet<QString> shown;
        for (const EmptyListHint *hint : manager->window()->findChildren<EmptyListHint *>())
            shown << hint->shownText();
        QSet<QString> expected;
        for (const char *key : {"EmptyClipboardHint", "EmptyNotesHint", "EmptyProtectedNotesHint",
                                "EmptyToDoHint", "EmptyRemindersHint"}) {
            const QString text = QOR_StringUtils::getLocalizedStringForKey(key);
            EXPECT_NE(text, key) << language;
            expected << text;
        }
        EXPECT_EQ(shown, expected) << language;
    }
    QOR_StringUtils::installTranslations(QLocale("en"));
}
