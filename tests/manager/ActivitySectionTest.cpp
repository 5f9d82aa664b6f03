#include "ManagerFixture.h"

#include "ActivityChartWindow.h"
#include "ActivityIcons.h"
#include "ActivityReportWindow.h"
#include "ActivityView.h"
#include "CommonKorvaleClass.h"
#include "KorvaleArchive.h"
#include "ManagerWindow.h"
#include "QOR_DateUtils.h"
#include "QOR_StringUtils.h"
#include "RecordListModel.h"
#include "SectionViews.h"

#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QImage>
#include <QLabel>
#include <QListView>
#include <QMimeData>
#include <QSignalSpy>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QUrl>

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

namespace {

QVariantMap use(const QString &name, const QDateTime &start, qint64 minutes)
{
    const qint64 from = qint64(QOR_DateUtils::referenceSeconds(start));
    return {{"N", name}, {"D", from}, {"T", from + minutes * 60}};
}

QStringList rowTexts(const QTableWidget *table)
{
    QStringList rows;
    for (int row = 0; row < table->rowCount(); ++row)
        rows << QStringLiteral("%1 %2 %3")
                    .arg(table->item(row, 0)->text(), table->item(row, 1)->text(),
                         table->item(row, 2)->text());
    return rows;
}

} // namespace

TEST_F(ManagerTest, AUseFileOpenedFromAnywhereShowsItsChartAndReport)
{
    // The application found has a desktop entry: it is shown by the entry's name.
    const QString entry = makeFile("apps/org.example.Writer.desktop");
    {
        QFile file(entry);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[Desktop Entry]\nType=Application\nName=Writer\nExec=true\n");
    }
    CommonKorvaleClass::saveListInFile({application("Writer", entry)}, DataFileName::Applications);
    auto manager = makeManager();
    ASSERT_TRUE(manager->applicationDidFinishLaunching());

    const QDate day(2026, 3, 10);
    const QDateTime nine = day.startOfDay().addSecs(9 * 3600 + 10 * 60);
    const QVariantList records{use("org.example.Writer", nine, 90),
                               use("xterm", day.startOfDay().addSecs(14 * 3600 + 5 * 60), 30),
                               use("xterm", day.addDays(1).startOfDay().addSecs(3600), 10)};
    const QString path = makeFile("Downloads/ApplicationsUse.krvdata");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(KorvaleArchive::encode(records).bytes);
    file.close();

    EXPECT_FALSE(manager->openFile(makeFile("Downloads/Other.krvdata")));
    EXPECT_EQ(manager->activityReportWindow(), nullptr);
    QSignalSpy filled(manager.get(), &MainController::activityWindowsFilled);
    ASSERT_TRUE(manager->openFile(path));
    ActivityReportWindow *report = manager->activityReportWindow();
    ActivityChartWindow *chart = manager->activityGraphWindow();
    ASSERT_NE(report, nullptr);
    ASSERT_NE(chart, nullptr);
    // The windows are up at once and say that they are reading; the file comes after.
    EXPECT_TRUE(report->isVisible());
    EXPECT_TRUE(chart->isVisible());
    EXPECT_TRUE(report->isLoading());
    EXPECT_TRUE(chart->isLoading());
    EXPECT_TRUE(chart->loadingLabel()->isVisible());
    EXPECT_EQ(chart->useTable()->model()->rowCount(), 0);
    ASSERT_TRUE(filled.wait(5000));
    EXPECT_FALSE(report->isLoading());
    EXPECT_FALSE(chart->isLoading());
    EXPECT_EQ(manager->activityFile(), path);
    EXPECT_EQ(chart->useTable()->model()->rowCount(), 3);
    EXPECT_EQ(chart->useTable()->model()->index(0, 0).data().toString(), "Writer");

    report->setRange(day.addDays(2), day); // either order
    EXPECT_EQ(rowTexts(report->table()),
              (QStringList{"Activity 2:10 100.00", "Writer 1:30 69.23", "xterm 0:40 30.77"}));
    EXPECT_TRUE(report->csv().startsWith("application,name,minutes,time,share\r\n"
                                         "Activity,,130,2:10,100.00\r\n"
                                         "Writer,org.example.Writer,90,1:30,69.23\r\n"));
    const QString csvPath = mHome.path() + "/report.csv";
    ASSERT_TRUE(report->exportCsv(csvPath));
    QFile csv(csvPath);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(csv.readAll()), report->csv());

    // The chart of the day: lanes most recent first, fitted to 9:00 - 15:00.
    chart->setDay(day);
    const ActivityData::Chart &shown = chart->view()->chart();
    ASSERT_EQ(shown.lanes.size(), 3);
    EXPECT_EQ(chart->view()->laneLabel(1), "xterm (0:30)");
    EXPECT_EQ(chart->view()->laneLabel(2), "Writer (1:30)");
    EXPECT_EQ(chart->view()->laneLabel(0), "Activity (2:00)");
    EXPECT_EQ(shown.windowEnd - shown.windowStart, 6 * 3600);
    EXPECT_EQ(QOR_DateUtils::fromReferenceSeconds(double(shown.windowStart)).time().hour(), 9);
    chart->activityDayAfter();
    EXPECT_EQ(chart->day(), day.addDays(1));
    EXPECT_EQ(chart->view()->chart().lanes.size(), 2);
    chart->activityDayBefore();
    chart->activityDayBefore();
    EXPECT_EQ(chart->day(), day.addDays(-1));
    EXPECT_EQ(chart->view()->chart().lanes.size(), 1);
    const QString png = mHome.path() + "/chart.png";
    ASSERT_TRUE(chart->savePng(png));
    EXPECT_FALSE(QImage(png).isNull());

    // The Alt-held command opens the data folder's file; without Alt nothing happens.
    manager->activityReportWindow()->hide();
    CommonKorvaleClass::saveListInFile({use("xterm", nine, 5)}, DataFileName::ApplicationsUse);
    manager->showActivity(Qt::NoModifier);
    EXPECT_FALSE(report->isVisible());
    manager->showActivity(Qt::AltModifier);
    EXPECT_TRUE(report->isVisible());
    ASSERT_TRUE(filled.wait(5000));
    EXPECT_EQ(chart->useTable()->model()->rowCount(), 1);

    // Opened twice in a row, the windows show the file asked for last, whichever is read first.
    manager->openFile(path);
    manager->showActivity(Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return filled.size() == 3; }, 5000));
    QTest::qWait(50);
    EXPECT_EQ(filled.size(), 3);
    EXPECT_EQ(chart->useTable()->model()->rowCount(), 1);
}

TEST_F(ManagerTest, TheLevelsAreReadAfterStartUpOffTheMainThread)
{
    CommonKorvaleClass::saveListInFile({application("XTerm", "/usr/bin/xterm")},
                                       DataFileName::Applications);
    CommonKorvaleClass::saveListInFile({daySummary(20, {"xterm"})}, DataFileName::ApplicationsUse);
    auto manager = makeManager();
    QSignalSpy read(manager.get(), &MainController::activityLevelsRead);
    ASSERT_TRUE(manager->applicationDidFinishLaunching());
    // Nothing yet while the window first shows.
    EXPECT_TRUE(manager->applicationsView()->activityInfoLabel()->isHidden());
    ASSERT_TRUE(read.wait(5000));
    EXPECT_EQ(manager->applicationsView()->activityInfoLabel()->text(),
              "Activity recorded over 21 days");
    EXPECT_EQ(manager->activityData().appsActivity().value("xterm"), 20);
}

TEST_F(ManagerTest, AUseFileDroppedOnTheWindowOpensItsActivity)
{
    auto manager = makeManager();
    ASSERT_TRUE(manager->applicationDidFinishLaunching());
    const QString other = makeFile("Downloads/Notes.krvdata");
    const QString path = makeFile("Downloads/ApplicationsUse.krvdata");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        KorvaleArchive::encode(QVariantList{QVariantMap{{"N", "xterm"}, {"D", 1000}}}).bytes);
    file.close();

    const auto drop = [&](const QString &dropped) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(dropped)});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(manager->window(), &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent event(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(manager->window(), &event);
        return true;
    };
    EXPECT_FALSE(drop(other));
    EXPECT_EQ(manager->activityReportWindow(), nullptr);
    QSignalSpy filled(manager.get(), &MainController::activityWindowsFilled);
    EXPECT_TRUE(drop(path));
    ASSERT_NE(manager->activityReportWindow(), nullptr);
    EXPECT_TRUE(manager->activityReportWindow()->isVisible());
    ASSERT_TRUE(filled.wait(5000));
    EXPECT_EQ(manager->activityGraphWindow()->useTable()->model()->rowCount(), 1);
}

// A count is said with the plural form of its language: one day is "1 day", "1 jour".
TEST_F(ManagerTest, TheDaysRecordedAreCountedInTheUsersLanguage)
{
    auto manager = makeManager();
    const QLabel *label = manager->applicationsView()->activityInfoLabel();
    const struct {
        const char *language;
        QList<int> daysAgo;
        QString text;
    } cases[] = {
        {"en", {0}, "Activity recorded over 1 day"},
        {"en", {1, 0}, "Activity recorded over 2 days"},
        {"fr", {0}, "Activité enregistrée sur 1 jour"},
        {"fr", {1, 0}, "Activité enregistrée sur 2 jours"},
    };
    for (const auto &c : cases) {
        ASSERT_TRUE(QOR_StringUtils::setLocalizationLanguage(c.language));
        QVariantList records;
        for (int days : c.daysAgo)
            records << daySummary(days, {"xterm"});
        CommonKorvaleClass::saveListInFile(records, DataFileName::ApplicationsUse);
        ASSERT_TRUE(manager->updateActivityLevel());
        EXPECT_EQ(label->text(), c.text);
    }
    QOR_StringUtils::setLocalizationLanguage(QString());
}
