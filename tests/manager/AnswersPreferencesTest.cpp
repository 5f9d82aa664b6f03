#include "PreferencesSheet.h"
#include "SharedPreferences.h"
#include "TestEnvironment.h"

#include <QCheckBox>
#include <QTableWidget>

#include <gtest/gtest.h>

// The "Answers" group: one switch per family the agent reads, on unless stored as 0.
TEST(AnswersPreferences, EachFamilyIsOnByDefaultAndItsSwitchIsStored)
{
    TemporaryHome home;
    const QStringList families = {"AnswersCalculator", "AnswersWebKeywords", "AnswersSystemActions",
                                  "AnswersWindows"};
    SharedPreferences preferences;
    preferences.setValue("AnswersWebKeywords", 0);
    ASSERT_TRUE(preferences.synchronize());
    PreferencesSheet sheet;
    sheet.load(preferences);
    for (const QString &key : families) {
        ASSERT_TRUE(sheet.box(key)) << key.toStdString();
        EXPECT_EQ(sheet.box(key)->isChecked(), key != "AnswersWebKeywords") << key.toStdString();
    }

    sheet.box("AnswersWindows")->setChecked(false);
    sheet.box("AnswersWebKeywords")->setChecked(true);
    sheet.store(preferences);
    SharedPreferences reread;
    EXPECT_EQ(reread.intValue("AnswersWindows"), 0);
    EXPECT_EQ(reread.intValue("AnswersWebKeywords"), 1);
    EXPECT_EQ(reread.intValue("AnswersCalculator"), 1);
    // Fetching exchange rates goes on the network: off until the user turns it on.
    ASSERT_TRUE(sheet.box("AnswersFetchExchangeRates"));
    EXPECT_FALSE(sheet.box("AnswersFetchExchangeRates")->isChecked());
    EXPECT_EQ(reread.intValue("AnswersFetchExchangeRates"), 0);
}

// The web keywords' table: the defaults until the user changes them, then the user's rows,
// without those the agent could not use.
TEST(AnswersPreferences, TheWebKeywordsAreEditedInTheirTable)
{
    TemporaryHome home;
    SharedPreferences preferences;
    PreferencesSheet sheet;
    sheet.load(preferences);
    EXPECT_EQ(sheet.webKeywords(), WebKeywordSites::defaults(QLocale()));

    QTableWidget *table = sheet.webKeywordsTable();
    table->removeRow(1);
    const int row = table->rowCount();
    table->insertRow(row);
    table->setItem(row, 0, new QTableWidgetItem(" mdn "));
    table->setItem(row, 1, new QTableWidgetItem("MDN"));
    table->setItem(row, 2,
                   new QTableWidgetItem("https://developer.mozilla.org/search?q=<<QUERY>>"));
    table->insertRow(row + 1);
    table->setItem(row + 1, 0, new QTableWidgetItem("nowhere"));
    table->setItem(row + 1, 2, new QTableWidgetItem("https://example.org/"));
    sheet.store(preferences);

    const QList<WebKeywordSites::Site> stored = WebKeywordSites::fromPreference(
        SharedPreferences().value(WebKeywordSites::PreferenceKey), QLocale());
    QStringList keywords;
    for (const WebKeywordSites::Site &site : stored)
        keywords << site.keyword;
    EXPECT_EQ(keywords, (QStringList{"g", "ddg", "mdn"}));
    EXPECT_EQ(stored.last().name, "MDN");

    PreferencesSheet again;
    again.load(SharedPreferences());
    EXPECT_EQ(again.webKeywords(), stored);
}
