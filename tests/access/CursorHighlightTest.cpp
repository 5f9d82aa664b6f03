#include "CursorHighlight.h"
#include "QOR_WindowsUtils.h"

#include <gtest/gtest.h>

#include <QTest>

namespace {

QPoint centreOf(const QWidget *window)
{
    return window->pos() + QPoint(window->width() / 2, window->height() / 2);
}

} // namespace

TEST(CursorHighlightTest, ShowsAtTheCentreGlidesToThePointerAndFadesOut)
{
    QPoint pointer(150, 120);
    CursorHighlight highlight([&] { return pointer; });
    highlight.highlightCursor();
    QWidget *ring = highlight.highlightWindow();
    ASSERT_NE(ring, nullptr);
    EXPECT_TRUE(ring->isVisible());
    EXPECT_DOUBLE_EQ(ring->windowOpacity(), 1.0);
    EXPECT_TRUE(ring->windowFlags() & Qt::WindowTransparentForInput);
    EXPECT_TRUE(ring->windowFlags() & Qt::WindowDoesNotAcceptFocus);
    const QRect screen = QOR_WindowsUtils::getScreenRect();
    EXPECT_NEAR(centreOf(ring).x(), screen.center().x(), 1);
    EXPECT_NEAR(centreOf(ring).y(), screen.center().y(), 1);

    ASSERT_TRUE(QTest::qWaitFor([&] { return centreOf(ring) == pointer; }, 1000));
    EXPECT_TRUE(ring->isVisible());
    ASSERT_TRUE(QTest::qWaitFor([&] { return ring->windowOpacity() < 0.9; }, 2000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !ring->isVisible(); }, 2000));
    // Full alpha again for the next time.
    EXPECT_DOUBLE_EQ(ring->windowOpacity(), 1.0);
}

TEST(CursorHighlightTest, AskingAgainWhileFadingStartsOver)
{
    QPoint pointer(60, 60);
    CursorHighlight highlight([&] { return pointer; });
    highlight.highlightCursor();
    QWidget *ring = highlight.highlightWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return ring->windowOpacity() < 0.7; }, 2000));

    pointer = QPoint(400, 300);
    highlight.highlightCursor();
    EXPECT_DOUBLE_EQ(ring->windowOpacity(), 1.0);
    EXPECT_TRUE(ring->isVisible());
    // The old fade is gone: the ring stays in full until the new one starts, at the new pointer.
    ASSERT_TRUE(QTest::qWaitFor([&] { return centreOf(ring) == pointer; }, 1000));
    EXPECT_TRUE(ring->isVisible());
    EXPECT_DOUBLE_EQ(ring->windowOpacity(), 1.0);

    highlight.closeCursorHighlight();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !ring->isVisible(); }, 2000));
}
