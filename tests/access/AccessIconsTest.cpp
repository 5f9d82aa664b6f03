#include "AccessIcons.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>

namespace {

// Counts the pixels that are drawn, and how dark they are on average (0 black .. 255 white).
struct Coverage {
    int drawn = 0;
    double lightness = 0;
};

Coverage coverage(const QIcon &icon, int side)
{
    const QImage image = icon.pixmap(side, side).toImage().convertToFormat(QImage::Format_ARGB32);
    Coverage result;
    double sum = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (pixel.alpha() > 128) {
                ++result.drawn;
                sum += pixel.lightness();
            }
        }
    }
    result.lightness = result.drawn ? sum / result.drawn : 0;
    return result;
}

} // namespace

TEST(AccessIconsTest, EveryNameDrawsInBothThemes)
{
    const QStringList names = AccessIcons::names();
    EXPECT_EQ(names.size(), 8 + 7 * 2);
    EXPECT_TRUE(names.contains("filter_ProtectedNotes_off"));
    for (const QString &name : names) {
        for (auto theme : {AccessIcons::Theme::Light, AccessIcons::Theme::Dark}) {
            const QIcon icon = AccessIcons::icon(name, theme);
            ASSERT_FALSE(icon.isNull()) << name.toStdString();
            for (int side : {16, 24, 48}) {
                const Coverage drawn = coverage(icon, side);
                // Something visible, yet not a filled square (except the agent's own tile and the
                // pressed filter buttons, which are drawn on a filled background).
                EXPECT_GT(drawn.drawn, side * side / 40) << name.toStdString() << " " << side;
                if (name != "icon_Agent" && !name.endsWith("_on")) {
                    EXPECT_LT(drawn.drawn, side * side * 3 / 4) << name.toStdString();
                }
            }
        }
    }
    EXPECT_TRUE(AccessIcons::icon("icon_Unknown", AccessIcons::Theme::Light).isNull());
    EXPECT_TRUE(AccessIcons::icon("").isNull());
}

TEST(AccessIconsTest, TheVariantFollowsTheWindowColour)
{
    QPalette light;
    light.setColor(QPalette::Window, QColor("#f4f4f5"));
    QPalette dark;
    dark.setColor(QPalette::Window, QColor("#232428"));
    EXPECT_EQ(AccessIcons::themeForPalette(light), AccessIcons::Theme::Light);
    EXPECT_EQ(AccessIcons::themeForPalette(dark), AccessIcons::Theme::Dark);

    // Light themes get dark strokes and dark themes light ones.
    for (const QString name : {"filter_Files_off", "icon_Menu", "icon_Arrow"}) {
        const double onLight =
            coverage(AccessIcons::icon(name, AccessIcons::Theme::Light), 48).lightness;
        const double onDark =
            coverage(AccessIcons::icon(name, AccessIcons::Theme::Dark), 48).lightness;
        EXPECT_LT(onLight, 128) << name.toStdString();
        EXPECT_GT(onDark, onLight + 40) << name.toStdString();
    }
    EXPECT_EQ(AccessIcons::filterIconName("Notes", true), "filter_Notes_on");
    EXPECT_EQ(AccessIcons::filterIconName("Notes", false), "filter_Notes_off");
}

TEST(AccessIconsTest, OnAndOffButtonsDiffer)
{
    for (const QString button : {"Applications", "Files", "Bookmarks", "Contacts", "Notes",
                                 "ProtectedNotes", "Clipboard"}) {
        const QIcon on = AccessIcons::icon(AccessIcons::filterIconName(button, true));
        const QIcon off = AccessIcons::icon(AccessIcons::filterIconName(button, false));
        // The pressed button is a filled tile; the released one a bare outline.
        EXPECT_GT(coverage(on, 24).drawn, 2 * coverage(off, 24).drawn) << button.toStdString();
    }
}
