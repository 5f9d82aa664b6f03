#include "ManagerFixture.h"

#include "ActivityChartWindow.h"
#include "ActivityReportWindow.h"
#include "ActivityView.h"
#include "KorvaleArchive.h"
#include "QOR_DateUtils.h"
#include "QOR_WindowsUtils.h"

#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

TEST(WindowsApart, FramesOpenedTogetherNeverOverlapNorLeaveTheRoomWhateverTheScreen)
{
    const QList<QSize> sizes{{860, 560}, {520, 420}};
    const QList<QSize> minimums{{600, 400}, {420, 300}};
    for (const QRect &room : {QRect(0, 0, 1920, 1050), QRect(0, 27, 1366, 741),
                              QRect(0, 0, 1024, 1250), QRect(100, 0, 1100, 600)}) {
        const QList<QRect> frames = QOR_WindowsUtils::framesApart(sizes, minimums, room, 24);
        ASSERT_EQ(frames.size(), 2);
        for (int i = 0; i < 2; ++i) {
            EXPECT_TRUE(room.contains(frames.at(i))) << room.width() << "x" << room.height();
            EXPECT_GE(frames.at(i).width(), minimums.at(i).width()) << room.width();
            EXPECT_GE(frames.at(i).height(), minimums.at(i).height()) << room.width();
        }
        EXPECT_FALSE(frames.at(0).intersects(frames.at(1))) << room.width() << "x" << room.height();
    }
    // With room enough, each keeps the size its content asks for.
    const QList<QRect> wide =
        QOR_WindowsUtils::framesApart(sizes, minimums, QRect(0, 0, 1920, 1050), 24);
    EXPECT_EQ(wide.at(0).size(), sizes.at(0));
    EXPECT_EQ(wide.at(1).size(), sizes.at(1));
    // A room too small for both: cascaded, each whole inside.
    const QRect small(0, 0, 800, 600);
    const QList<QRect> cascaded = QOR_WindowsUtils::framesApart(sizes, minimums, small, 24);
    EXPECT_TRUE(small.contains(cascaded.at(0)));
    EXPECT_TRUE(small.contains(cascaded.at(1)));
    EXPECT_NE(cascaded.at(0).topLeft(), cascaded.at(1).topLeft());
}

TEST_F(ManagerTest, TheActivityWindowsOpenApartWholeOnScreenAndNamesStayWhole)
{
    auto manager = makeManager();
    ASSERT_TRUE(manager->applicationDidFinishLaunching());
    const QDate day = QDate::currentDate();
    const auto use = [&](const QString &name, int hour, int minutes) {
        const QDateTime start = day.startOfDay().addSecs(hour * 3600);
        return QVariantMap{
            {"N", name},
            {"D", qint64(QOR_DateUtils::referenceSeconds(start))},
            {"T", qint64(QOR_DateUtils::referenceSeconds(start.addSecs(minutes * 60)))}};
    };
    const QString path = makeFile("Downloads/ApplicationsUse.krvdata");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(KorvaleArchive::encode(QVariantList{use("korvale-daemon", 8, 50),
                                                   use("org.example.Spreadsheet", 13, 95),
                                                   use("xterm", 19, 70)})
                   .bytes);
    file.close();

    QSignalSpy filled(manager.get(), &MainController::activityWindowsFilled);
    ASSERT_TRUE(manager->openFile(path));
    ASSERT_TRUE(filled.wait(5000));
    QWidget *chart = manager->activityGraphWindow();
    QWidget *report = manager->activityReportWindow();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const auto frame = [](const QWidget *window) {
        const QRect f = window->frameGeometry();
        return QStringLiteral("%1,%2 %3x%4")
            .arg(f.x())
            .arg(f.y())
            .arg(f.width())
            .arg(f.height())
            .toStdString();
    };
    // Under a window manager the frames come after the windows show: wait for them.
    const bool placed = QTest::qWaitFor(
        [&] {
            return screen.contains(chart->frameGeometry())
                && screen.contains(report->frameGeometry());
        },
        5000);
    EXPECT_TRUE(placed) << "chart " << frame(chart) << ", report " << frame(report);
    // Apart wherever the screen can hold them so.
    const QSize least = chart->minimumSizeHint() + report->minimumSizeHint();
    if (least.width() + QOR_WindowsUtils::CascadeOffset <= screen.width()
        || least.height() + QOR_WindowsUtils::CascadeOffset <= screen.height()) {
        EXPECT_FALSE(chart->frameGeometry().intersects(report->frameGeometry()))
            << "chart " << frame(chart) << ", report " << frame(report);
    }

    // A name is cut only when the chart is really too narrow for it.
    const ActivityView *view = manager->activityGraphWindow()->view();
    const QFontMetrics metrics(view->font());
    for (int lane = 0; lane < view->chart().lanes.size(); ++lane)
        EXPECT_EQ(view->shownLabel(lane, metrics, view->labelWidth(metrics, view->width())),
                  view->laneLabel(lane));
    const int narrow = view->labelWidth(metrics, 200);
    EXPECT_LT(metrics.horizontalAdvance(view->shownLabel(1, metrics, narrow)), narrow + 1);
    // The hours are labelled one in several rather than on top of each other.
    const int step = ActivityView::hourLabelStep(metrics, 20);
    EXPECT_GE(step * 20,
              metrics.horizontalAdvance(
                  QOR_StringUtils::getShortTime(QDateTime(QDate(2026, 12, 28), QTime(20, 0)))));
}
