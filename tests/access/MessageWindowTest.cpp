#include "MessageWindow.h"
#include "MessageView.h"
#include "QOR_StringUtils.h"
#include "QOR_WindowsUtils.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QScreen>
#include <QTest>

#include <memory>

namespace {

// The offscreen platform activates every window it shows, whatever its hints say; whether the
// message takes the focus can only be seen with a real window system.
bool platformHonoursFocusHints()
{
    return QGuiApplication::platformName() != QLatin1String("offscreen");
}

} // namespace

TEST(MessageWindowTest, ShowsLateStaysAboutTwoSecondsAndGoesAway)
{
    QElapsedTimer clock;
    clock.start();
    MessageWindow::showMessageWithText("MessageCopyItem");
    QPointer<MessageView> view = MessageWindow::currentMessage();
    ASSERT_FALSE(view.isNull());
    EXPECT_FALSE(view->isVisible()); // not before 0.2 s

    // Above everything, and out of the way of the keyboard and the mouse.
    const Qt::WindowFlags flags = view->windowFlags();
    EXPECT_TRUE(flags & Qt::FramelessWindowHint);
    EXPECT_TRUE(flags & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(flags & Qt::WindowTransparentForInput);
    EXPECT_TRUE(flags & Qt::WindowDoesNotAcceptFocus);
    EXPECT_EQ(view->windowType(), Qt::Tool);
    EXPECT_TRUE(view->testAttribute(Qt::WA_TranslucentBackground));
    EXPECT_TRUE(view->testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_TRUE(view->testAttribute(Qt::WA_TransparentForMouseEvents));

    ASSERT_TRUE(QTest::qWaitFor([&] { return view && view->isVisible(); }, 1000));
    EXPECT_GE(clock.elapsed(), 180);
    const QRect screen = QOR_WindowsUtils::getScreenRect();
    EXPECT_NEAR(view->frameGeometry().center().x(), screen.center().x(), 1);
    EXPECT_NEAR(view->frameGeometry().center().y(), screen.center().y(), 1);

    ASSERT_TRUE(QTest::qWaitFor([&] { return view && view->windowOpacity() > 0.99; }, 1000));
    QTest::qWait(500);
    ASSERT_FALSE(view.isNull());
    EXPECT_TRUE(view->isVisible());

    ASSERT_TRUE(QTest::qWaitFor([&] { return view.isNull(); }, 3000));
    EXPECT_GE(clock.elapsed(), 1900);
    EXPECT_EQ(MessageWindow::currentMessage(), nullptr);
}

TEST(MessageWindowTest, NeverTakesTheFocusFromTheWindowInUse)
{
    if (!platformHonoursFocusHints())
        GTEST_SKIP() << "needs a window system: KORVALE_TEST_USE_DISPLAY=1 scripts/with-session.sh";
    QWidget typing;
    typing.resize(300, 100);
    typing.show();
    typing.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&typing));

    MessageWindow::showMessageWithText("MessageOpenItem");
    QPointer<MessageView> view = MessageWindow::currentMessage();
    ASSERT_TRUE(QTest::qWaitFor([&] { return view && view->windowOpacity() > 0.99; }, 2000));
    QTest::qWait(200);
    ASSERT_FALSE(view.isNull());
    EXPECT_TRUE(view->isVisible());
    EXPECT_FALSE(view->isActiveWindow());
    EXPECT_EQ(QApplication::activeWindow(), &typing);
    ASSERT_TRUE(QTest::qWaitFor([&] { return view.isNull(); }, 3000));
    EXPECT_EQ(QApplication::activeWindow(), &typing);
}

TEST(MessageWindowTest, ShowsTheLocalisedTextAndFitsItInTheBar)
{
    ASSERT_TRUE(QOR_StringUtils::setLocalizationLanguage("fr"));
    MessageWindow::showMessageWithText("MessageCopyItem", QIcon());
    QPointer<MessageView> view = MessageWindow::currentMessage();
    QOR_StringUtils::setLocalizationLanguage("");
    ASSERT_FALSE(view.isNull());
    EXPECT_EQ(view->message(), QString::fromUtf8("Copié dans le presse-papiers"));
    QFont font = QApplication::font();
    font.setPointSize(18);
    EXPECT_GE(view->barRect().width(), QFontMetrics(font).horizontalAdvance(view->message()));
    EXPECT_GT(view->barRect().height(), QFontMetrics(font).height());

    // A second message replaces the first rather than piling up on it.
    MessageWindow::showMessageWithText("MessageOpenURL");
    EXPECT_TRUE(view.isNull());
    QPointer<MessageView> second = MessageWindow::currentMessage();
    ASSERT_FALSE(second.isNull());
    EXPECT_EQ(second->message(), QOR_StringUtils::getLocalizedStringForKey("MessageOpenURL"));

    // A very long text is cut at the screen's width.
    MessageWindow::showMessageWithText(QString(400, QChar('x')));
    QPointer<MessageView> wide = MessageWindow::currentMessage();
    ASSERT_FALSE(wide.isNull());
    EXPECT_LE(wide->width(), QGuiApplication::primaryScreen()->availableGeometry().width());
    ASSERT_TRUE(QTest::qWaitFor([&] { return wide.isNull(); }, 4000));
}

TEST(MessageWindowTest, DrawsTheBarWithTheIconAtItsLeft)
{
    MessageView view;
    QPixmap red(64, 64);
    red.fill(Qt::red);
    view.setMessageAndIcon("Copied", QIcon(red));
    const QImage image = view.grab().toImage();
    const QRect bar = view.barRect();
    // The icon, its height the bar's minus 8, sits at the left of the bar.
    const QColor atIcon = image.pixelColor(bar.left() + 16, bar.center().y());
    EXPECT_GT(atIcon.red(), 200);
    EXPECT_LT(atIcon.green(), 60);
    EXPECT_NE(image.pixelColor(bar.left() + 12, bar.top() + 2).rgb(), QColor(Qt::red).rgb());
    // Outside the bar and its shadow nothing is drawn.
    EXPECT_LT(image.pixelColor(0, 0).alpha(), 10);
    // Inside, the bar is dark and nearly opaque.
    const QColor atBar = image.pixelColor(bar.right() - 6, bar.top() + 6);
    EXPECT_GT(atBar.alpha(), 200);
    EXPECT_LT(atBar.lightness(), 90);
}
