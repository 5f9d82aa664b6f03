#include "DeferredIcon.h"
#include "AccessIcons.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>

#include <gtest/gtest.h>

// Nothing that only holds, copies or shows the icon makes its image; the first drawing makes it
// once, for every copy, and draws what the real icon draws.
TEST(DeferredIconTest, MakesItsImageOnceWhenFirstDrawn)
{
    int built = 0;
    int drawn = 0;
    const QIcon real = AccessIcons::icon(QStringLiteral("icon_Agent"), AccessIcons::Theme::Light);
    ASSERT_FALSE(real.isNull());
    QIcon icon = DeferredIcon::make(
        [&] {
            ++built;
            return real;
        },
        [&] { ++drawn; });
    const QIcon copy = icon;
    QIcon detached = icon;
    detached.detach();
    EXPECT_FALSE(icon.isNull());
    EXPECT_FALSE(detached.isNull());
    EXPECT_EQ(built, 0);
    EXPECT_EQ(drawn, 0);

    const QImage expected = real.pixmap(QSize(22, 22)).toImage();
    EXPECT_EQ(copy.pixmap(QSize(22, 22)).toImage(), expected);
    EXPECT_EQ(built, 1);
    EXPECT_EQ(drawn, 1);

    QImage painted(22, 22, QImage::Format_ARGB32_Premultiplied);
    painted.fill(Qt::transparent);
    {
        QPainter painter(&painted);
        detached.paint(&painter, QRect(0, 0, 22, 22));
    }
    EXPECT_NE(painted, QImage(22, 22, QImage::Format_ARGB32_Premultiplied));
    EXPECT_EQ(icon.pixmap(QSize(22, 22), 2.0).size(), QSize(44, 44));
    EXPECT_EQ(icon.actualSize(QSize(22, 22)), real.actualSize(QSize(22, 22)));
    EXPECT_EQ(built, 1);
    EXPECT_EQ(drawn, 1);
}
