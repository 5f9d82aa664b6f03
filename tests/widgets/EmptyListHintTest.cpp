#include "EmptyListHint.h"
#include "QOR_StringUtils.h"

#include <QLineEdit>
#include <QListView>
#include <QStringListModel>

#include <gtest/gtest.h>

TEST(EmptyListHint, AnEmptyListSaysWhatItWillHoldUntilARowComesAndNothingFoundWhileSearching)
{
    for (const char *language : {"en", "fr"}) {
        QOR_StringUtils::installTranslations(QLocale(language));
        const QString hint = QOR_StringUtils::getLocalizedStringForKey("EmptyToDoHint");
        const QString nothing = QOR_StringUtils::getLocalizedStringForKey("NoResultAvailable");
        ASSERT_NE(hint, "EmptyToDoHint") << language;

        QListView view;
        QLineEdit search;
        QStringListModel model;
        view.setModel(&model);
        view.resize(300, 200);
        EmptyListHint *shown = EmptyListHint::attach(&view, "EmptyToDoHint", &search);
        view.show();
        EXPECT_EQ(shown->shownText(), hint);
        EXPECT_TRUE(shown->isVisible());
        EXPECT_EQ(shown->text(), hint);
        EXPECT_EQ(shown->geometry(), view.viewport()->rect()) << "it covers the whole list";

        search.setText("milk");
        EXPECT_EQ(shown->text(), nothing);
        search.clear();
        EXPECT_EQ(shown->text(), hint);

        model.setStringList({"buy milk"});
        EXPECT_TRUE(shown->shownText().isEmpty());
        EXPECT_FALSE(shown->isVisible());
        model.removeRows(0, 1);
        EXPECT_TRUE(shown->isVisible());

        // A model given after the hint is followed too.
        QStringListModel other(QStringList{"call the bank"});
        view.setModel(&other);
        view.viewport()->resize(310, 200);
        EXPECT_FALSE(shown->isVisible());
        other.removeRows(0, 1);
        EXPECT_TRUE(shown->isVisible());
    }
    QOR_StringUtils::installTranslations(QLocale("en"));
}
