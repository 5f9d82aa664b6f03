#include "QOR_WindowsUtils.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

class CountingFilter : public QObject
{
public:
    int moves = 0, resizes = 0;
    QList<QPoint> positions;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Move) {
            ++moves;
            positions.append(static_cast<QWidget *>(watched)->pos());
        } else if (event->type() == QEvent::Resize) {
            ++resizes;
        }
        return false;
    }
};

std::unique_ptr<QWidget> shownWindow(QSize size = QSize(200, 100))
{
    auto window = std::make_unique<QWidget>();
    window->resize(size);
    window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    return window;
}

} // namespace

TEST(WindowsUtilsTest, PlacementPutsTheCentreAtTheFractionsAndLeavesAPlacedWindowAlone)
{
    const QRect screen = QOR_WindowsUtils::getScreenRect();
    const QScreen *primary = QGuiApplication::primaryScreen();
    ASSERT_NE(primary, nullptr);
    EXPECT_EQ(screen.bottom(), primary->geometry().bottom());
    EXPECT_EQ(screen.top(), primary->availableGeometry().top());

    auto window = shownWindow(QSize(300, 200));
    QOR_WindowsUtils::placeWindow(window.get(), 0.5, 0.25);
    const QPoint centre = window->frameGeometry().center();
    EXPECT_NEAR(centre.x(), screen.x() + 0.5 * screen.width(), 1.0);
    // A quarter of the height counted from the bottom: in the lower half of the screen.
    EXPECT_NEAR(centre.y(), screen.y() + screen.height() - 0.25 * screen.height(), 1.0);

    CountingFilter filter;
    window->installEventFilter(&filter);
    const QRect placed = window->geometry();
    QOR_WindowsUtils::placeWindow(window.get(), 0.5, 0.25);
    QCoreApplication::processEvents();
    EXPECT_EQ(window->geometry(), placed);
    EXPECT_EQ(filter.moves, 0);
    EXPECT_EQ(filter.resizes, 0);

    QOR_WindowsUtils::centerWindow(window.get());
    EXPECT_NEAR(window->frameGeometry().center().y(), screen.center().y(), 1.0);
    EXPECT_EQ(window->size(), QSize(300, 200));
    QOR_WindowsUtils::placeWindow(nullptr, 0.5, 0.5);
}

TEST(WindowsUtilsTest, ShakeEndsWhereItStartedAfterSwingingBothWays)
{
    auto window = shownWindow();
    window->move(200, 150);
    QCoreApplication::processEvents();
    const QPoint start = window->pos();
    CountingFilter filter;
    window->installEventFilter(&filter);

    QOR_WindowsUtils::shakeWindow(window.get());
    EXPECT_TRUE(QTest::qWaitFor([&] { return filter.moves >= 10; }, 3000));
    QTest::qWait(100);
    EXPECT_EQ(filter.moves, 10);
    EXPECT_EQ(window->pos(), start);
    int left = start.x(), right = start.x();
    for (const QPoint &p : filter.positions) {
        left = std::min(left, p.x());
        right = std::max(right, p.x());
        EXPECT_EQ(p.y(), start.y());
    }
    EXPECT_EQ(left, start.x() - 5);
    EXPECT_EQ(right, start.x() + 5);
}

TEST(WindowsUtilsTest, ShakingAWindowThatGoesAwayStopsQuietly)
{
    auto window = shownWindow();
    QOR_WindowsUtils::shakeWindow(window.get());
    QTest::qWait(60);
    window.reset();
    QTest::qWait(600);
    SUCCEED();
}

class ShowWindowTest : public ::testing::Test
{
protected:
    static QList<double> sampleOpacityWhile(QWidget *window, const std::function<void()> &run)
    {
        QList<double> samples;
        QTimer sampler;
        QObject::connect(&sampler, &QTimer::timeout, [&] {
            samples.append(window->isVisible() ? window->windowOpacity() : -1.0);
        });
        sampler.start(10);
        run();
        sampler.stop();
        return samples;
    }
};

TEST_F(ShowWindowTest, ClosingSoftlyFadesDownHidesAndRestoresFullAlpha)
{
    auto window = shownWindow();
    auto other = shownWindow();
    other->setWindowOpacity(0.6);

    QElapsedTimer clock;
    clock.start();
    const QList<double> samples = sampleOpacityWhile(
        window.get(), [&] { QOR_WindowsUtils::closeWindowSoft(window.get(), other.get(), 0.05); });
    // Twenty steps of at least 0.04 s, even though 0.05 s was asked.
    EXPECT_GE(clock.elapsed(), 700);

    EXPECT_FALSE(window->isVisible());
    EXPECT_DOUBLE_EQ(window->windowOpacity(), 1.0);
    EXPECT_FALSE(other->isVisible());
    EXPECT_NEAR(other->windowOpacity(), 0.6, 0.01);

    bool sawHalfway = false;
    double previous = 1.0;
    for (double alpha : samples) {
        if (alpha < 0)
            continue;
        EXPECT_LE(alpha, previous + 1e-9);
        previous = alpha;
        sawHalfway = sawHalfway || (alpha > 0.2 && alpha < 0.8);
    }
    EXPECT_TRUE(sawHalfway);

    window->show();
    EXPECT_DOUBLE_EQ(window->windowOpacity(), 1.0);
}

TEST_F(ShowWindowTest, ShowingSoftlyFadesUpToTheAskedAlpha)
{
    QWidget window;
    window.resize(120, 80);
    const QList<double> samples =
        sampleOpacityWhile(&window, [&] { QOR_WindowsUtils::showWindowSoft(&window, 0.6, 0.3); });
    EXPECT_TRUE(window.isVisible());
    EXPECT_NEAR(window.windowOpacity(), 0.6, 0.01);
    ASSERT_FALSE(samples.isEmpty());
    double previous = 0.0;
    for (double alpha : samples) {
        if (alpha < 0)
            continue;
        EXPECT_GE(alpha, previous - 1e-9);
        EXPECT_LE(alpha, 0.6 + 0.01);
        previous = alpha;
    }

    // A visible window is only brought to the front.
    window.setWindowOpacity(0.3);
    QOR_WindowsUtils::showWindowSoft(&window);
    EXPECT_NEAR(window.windowOpacity(), 0.3, 0.01);

    // No alpha to reach: shown at once, transparent.
    QWidget invisible;
    QOR_WindowsUtils::showWindowSoft(&invisible, 0.0);
    EXPECT_TRUE(invisible.isVisible());
    EXPECT_DOUBLE_EQ(invisible.windowOpacity(), 0.0);
    QOR_WindowsUtils::showWindowSoft(nullptr);
}

TEST_F(ShowWindowTest, ThreadedShowFadesInStaysAndFadesOutToAWindowThatShowsNormallyAgain)
{
    auto window = std::make_unique<QWidget>();
    window->resize(120, 80);
    QPointer<QORWindowSoftShow> fade = new QORWindowSoftShow(window.get(), 0.1, 0.3, 0.1);
    EXPECT_FALSE(window->isVisible()); // the caller never waits

    ASSERT_TRUE(QTest::qWaitFor([&] { return window->isVisible(); }, 1000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->windowOpacity() > 0.99; }, 1000));
    QTest::qWait(100);
    EXPECT_TRUE(window->isVisible()); // still within its 0.3 s
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->isVisible(); }, 2000));
    EXPECT_DOUBLE_EQ(window->windowOpacity(), 1.0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return fade.isNull(); }, 1000));

    // Without a delay the window stays.
    QPointer<QORWindowSoftShow> stay = new QORWindowSoftShow(window.get(), 0.1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return stay.isNull(); }, 1000));
    QTest::qWait(100);
    EXPECT_TRUE(window->isVisible());
    EXPECT_DOUBLE_EQ(window->windowOpacity(), 1.0);
}

TEST_F(ShowWindowTest, AWindowReopenedWhileFadingOutStaysOpen)
{
    auto window = shownWindow();
    QPointer<QORWindowSoftClose> closing = new QORWindowSoftClose(window.get(), 1.0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->windowOpacity() < 0.8; }, 2000));

    QPointer<QORWindowSoftShow> showing = new QORWindowSoftShow(window.get(), 0.2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return showing.isNull(); }, 2000));
    EXPECT_TRUE(closing.isNull());
    QTest::qWait(300);
    EXPECT_TRUE(window->isVisible());
    EXPECT_DOUBLE_EQ(window->windowOpacity(), 1.0);
}

TEST_F(ShowWindowTest, AFadeWhoseWindowIsDeletedEndsQuietly)
{
    auto window = shownWindow();
    QPointer<QORWindowSoftClose> closing = new QORWindowSoftClose(window.get(), 1.0);
    QTest::qWait(120);
    window.reset();
    EXPECT_TRUE(QTest::qWaitFor([&] { return closing.isNull(); }, 1000));

    // Closing a hidden window changes nothing and ends at once.
    QWidget hidden;
    hidden.setWindowOpacity(0.5);
    QOR_WindowsUtils::closeWindowSoft(&hidden);
    EXPECT_FALSE(hidden.isVisible());
    EXPECT_NEAR(hidden.windowOpacity(), 0.5, 0.01);
}

TEST(WindowsUtilsTest, AFrameIsKeptOnTheScreenTitleBarFirst)
{
    const QRect room(0, 30, 1920, 1050); // under a 30-pixel top bar
    // A window whose client area was put at the top of the room: its title bar sticks out above.
    const QRect withTitleBar(1300, 30 - 24, 460, 520 + 24);
    EXPECT_EQ(QOR_WindowsUtils::frameKeptInside(withTitleBar, room),
              QRect(1300, 30, 460, 520 + 24));
    // Past the right and bottom edges: moved back just enough.
    EXPECT_EQ(QOR_WindowsUtils::frameKeptInside(QRect(1800, 1000, 300, 200), room),
              QRect(1620, 880, 300, 200));
    // Larger than the room: the top-left corner, where the title bar is, stays reachable.
    EXPECT_EQ(QOR_WindowsUtils::frameKeptInside(QRect(-50, -40, 2000, 1200), room).topLeft(),
              room.topLeft());
    // A frame already inside is left alone.
    EXPECT_EQ(QOR_WindowsUtils::frameKeptInside(QRect(10, 40, 100, 100), room),
              QRect(10, 40, 100, 100));
}

TEST(WindowsUtilsTest, AWindowBesideAnotherGoesRightWhenItFitsElseLeftAndStaysOnTheScreen)
{
    const QRect room(0, 0, 1000, 700);
    const QSize size(260, 200);
    EXPECT_EQ(QOR_WindowsUtils::frameBeside(QRect(100, 50, 400, 300), size, room),
              QRect(502, 50, 260, 200));
    // No room on the right: on the left, 2 pixels apart, top still aligned.
    EXPECT_EQ(QOR_WindowsUtils::frameBeside(QRect(600, 50, 400, 300), size, room),
              QRect(338, 50, 260, 200));
    // Low on the screen: lifted so that its bottom stays on it.
    EXPECT_EQ(QOR_WindowsUtils::frameBeside(QRect(100, 600, 400, 100), size, room).bottom(),
              room.bottom());
}

TEST(WindowsUtilsTest, AWindowPlacedAboveTheScreenIsBroughtBackWhenShown)
{
    const QRect room = QOR_WindowsUtils::availableRoomFor(QRect(0, 0, 10, 10));
    ASSERT_FALSE(room.isEmpty());
    QWidget window;
    // The client area at the top of the room: under a window manager the title bar would end
    // above the screen.
    window.setGeometry(room.right() - 100, room.top(), 300, 200);
    QOR_WindowsUtils::keepFrameOnScreen(&window);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    // With a window manager (KORVALE_TEST_USE_DISPLAY), once it has put its decorations on.
    (void)QTest::qWaitFor([&] { return window.frameGeometry() != window.geometry(); }, 1000);
    QTest::qWait(100);
    EXPECT_TRUE(room.contains(window.frameGeometry()))
        << window.frameGeometry().x() << "," << window.frameGeometry().y();
}
