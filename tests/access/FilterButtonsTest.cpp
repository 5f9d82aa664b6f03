#include "FilterButtons.h"
#include "QOR_StringUtils.h"
#include "SearchFilter.h"

#include <gtest/gtest.h>

#include <QKeySequence>
#include <QLocale>
#include <QToolButton>

// The n-th button and Ctrl+n choose the same filter, in the window's order of the lists, and
// each button's tooltip teaches its key.
TEST(FilterButtonsTest, ButtonsAndKeysFollowOneOrder)
{
    QOR_StringUtils::installTranslations(QLocale("en"));
    FilterButtons buttons;
    buttons.resize(400, 30);
    buttons.show();

    QStringList titleKeys;
    int previousLeft = -1;
    for (int n = 1; n <= FilterButtons::tags().size(); ++n) {
        SCOPED_TRACE(n);
        const int tag = FilterButtons::tags().at(n - 1);
        QString key;
        for (const SearchFilterEntry &entry : SearchFilter::menuEntries()) {
            if (entry.value == tag) {
                key = entry.key;
                titleKeys << entry.titleKey;
            }
        }
        EXPECT_EQ(key, QString::number(n));
        QToolButton *button = buttons.button(tag);
        ASSERT_NE(button, nullptr);
        EXPECT_GT(button->x(), previousLeft);
        previousLeft = button->x();
        const QString keys =
            QKeySequence(QStringLiteral("Ctrl+%1").arg(n)).toString(QKeySequence::NativeText);
        EXPECT_TRUE(button->toolTip().contains(keys)) << button->toolTip().toStdString();
        EXPECT_TRUE(button->toolTip().startsWith(
            QOR_StringUtils::getLocalizedStringForKey(titleKeys.last())));
    }
    EXPECT_EQ(titleKeys,
              QStringList({"PopupTypeApplications", "PopupTypeFiles", "PopupTypeBookmarks",
                           "PopupTypeAddressBook", "PopupTypeNotes", "PopupTypeProtectedNotes",
                           "PopupTypeClipboard"}));
}
