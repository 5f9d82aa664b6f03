#include "ManagerFixture.h"

#include "ActivityIcons.h"
#include "CommonKorvaleClass.h"
#include "KorvaleArchive.h"
#include "QOR_DateUtils.h"
#include "RecordListModel.h"
#include "SectionViews.h"

#include <QComboBox>
#include <QLabel>
#include <QListView>

namespace {

QVariantMap application(const QString &title, const QString &path)
{
    return {{"x", 1}, {"T", title}, {"P", path}};
}

// The summary of a day some days before today, as the agent writes it (the day's start).
QVariantMap daySummary(int daysAgo, const QStringList &names)
{
    QVariantMap set;
    for (const QString &name : names)
        set.insert(name, 0);
    const qint64 today = qint64(QOR_DateUtils::referenceSeconds(QOR_DateUtils::todayAt0h00()));
    return {{"M", KorvaleArchive::encode(set).bytes}, {"D", today - qint64(daysAgo) * 86400}};
}

QStringList shownTitles(const ApplicationsFoundView *view)
{
    QStringList titles;
    const QAbstractItemModel *model = view->table()->model();
    for (int row = 0; row < model->rowCount(); ++row)
        titles << model->index(row, 0).data().toString();
    return titles;
}

} // namespace

TEST_F(ManagerTest, TheApplicationsSectionShowsAndFiltersHowRecentlyEachApplicationWasUsed)
{
    CommonKorvaleClass::saveListInFile({application("Gedit", "/apps/org.gnome.gedit.desktop"),
                                        application("Never", "/apps/never.desktop"),
                                        application("XTerm", "/usr/bin/xterm")},
                                       DataFileName::Applications);
    auto manager = makeManager();
    ASSERT_TRUE(manager->applicationDidFinishLaunching());
    ApplicationsFoundView *view = manager->applicationsView();
    // Nothing recorded yet: no line, no pictures, and the choice is off.
    EXPECT_FALSE(manager->updateActivityLevel());
    EXPECT_TRUE(view->activityInfoLabel()->isHidden());
    EXPECT_FALSE(view->activityMenu()->isEnabled());

    CommonKorvaleClass::saveListInFile({daySummary(200, {"xterm", "org.gnome.gedit"}),
                                        daySummary(3, {"org.gnome.gedit"}),
                                        QVariantMap{{"N", "xterm"}, {"D", 1000}, {"T", 1060}}},
                                       DataFileName::ApplicationsUse);
    ASSERT_TRUE(manager->updateActivityLevel());
    EXPECT_EQ(view->activityInfoLabel()->text(), "Activity recorded over 201 days");
    EXPECT_FALSE(view->activityInfoLabel()->isHidden());
    EXPECT_TRUE(view->activityMenu()->isEnabled());

    // One picture per level: four bars for three days ago, one for two hundred, none without use.
    const QAbstractItemModel *model = view->table()->model();
    ASSERT_EQ(model->rowCount(), 3);
    const auto picture = [&](int row) {
        return model->index(row, 0).data(RecordListModel::TrailingIconRole).value<QIcon>();
    };
    EXPECT_EQ(picture(0).cacheKey(), ActivityIcons::icon(ManagerListFilter::High).cacheKey());
    EXPECT_TRUE(picture(1).isNull());
    EXPECT_EQ(picture(2).cacheKey(), ActivityIcons::icon(ManagerListFilter::VeryLow).cacheKey());
    EXPECT_EQ(ActivityIcons::filledBars(ManagerListFilter::High), 4);
    EXPECT_EQ(ActivityIcons::filledBars(ManagerListFilter::VeryLow), 1);

    struct Choice {
        ManagerListFilter::Activity entry;
        QStringList titles;
        QString counter;
    };
    for (const Choice &choice :
         {Choice{ManagerListFilter::High, {"Gedit"}, "1 / 3"},
          Choice{ManagerListFilter::Low, {"Gedit"}, "1 / 3"},
          Choice{ManagerListFilter::VeryLow, {"Gedit", "XTerm"}, "2 / 3"},
          Choice{ManagerListFilter::None, {"Never"}, "1 / 3"},
          Choice{ManagerListFilter::All, {"Gedit", "Never", "XTerm"}, "3"}}) {
        view->activityMenu()->setCurrentIndex(choice.entry);
        EXPECT_EQ(shownTitles(view), choice.titles) << choice.entry;
        EXPECT_EQ(view->counterLabel()->text(), choice.counter) << choice.entry;
    }
    EXPECT_FALSE(view->activityMenu()->itemIcon(ManagerListFilter::High).isNull());
    EXPECT_TRUE(view->activityMenu()->itemIcon(ManagerListFilter::None).isNull());
}
