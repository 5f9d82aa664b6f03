#include "PreferencesSheet.h"
#include "SharedPreferences.h"
#include "TestEnvironment.h"

#include <QCheckBox>

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
}
