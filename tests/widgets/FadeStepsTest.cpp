#include "FadeSteps.h"

#include <gtest/gtest.h>

#include <numeric>

using namespace FadeSteps;

TEST(FadeStepsTest, ShortFadesStillTakeTwentyStepsOfFortyMilliseconds)
{
    EXPECT_DOUBLE_EQ(stepSeconds(0.05), 0.04);
    EXPECT_EQ(stepMilliseconds(0.05), 40);
    EXPECT_EQ(fadeInAlphas(1.0).size(), 20);
    EXPECT_EQ(fadeOutAlphas(1.0).size(), 20);
    // 0.1 s is the first duration that is divided rather than floored.
    EXPECT_DOUBLE_EQ(stepSeconds(0.0999), 0.04);
    EXPECT_DOUBLE_EQ(stepSeconds(0.1), 0.005);
}

TEST(FadeStepsTest, LongerFadesStepATwentiethOfTheirDuration)
{
    EXPECT_DOUBLE_EQ(stepSeconds(0.6), 0.03);
    EXPECT_EQ(stepMilliseconds(0.6), 30);
    EXPECT_EQ(stepMilliseconds(1.0), 50);
    EXPECT_EQ(stepMilliseconds(0.3), 15);
}

TEST(FadeStepsTest, FadeInClimbsByTwentiethsBelowTheFinalAlpha)
{
    const QList<double> full = fadeInAlphas(1.0);
    ASSERT_EQ(full.size(), 20);
    EXPECT_DOUBLE_EQ(full.front(), 0.0);
    EXPECT_NEAR(full.back(), 0.95, 1e-12);
    for (qsizetype i = 1; i < full.size(); ++i)
        EXPECT_NEAR(full[i] - full[i - 1], AlphaStep, 1e-12);

    // A partial target stops below it; the target itself is set after the steps.
    const QList<double> partial = fadeInAlphas(0.8);
    EXPECT_EQ(partial.size(), 16);
    EXPECT_LT(partial.back(), 0.8);
    EXPECT_TRUE(fadeInAlphas(0.0).isEmpty());

    // Taking over a half-faded window starts from its alpha.
    const QList<double> resumed = fadeInAlphas(1.0, 0.42);
    ASSERT_FALSE(resumed.isEmpty());
    EXPECT_DOUBLE_EQ(resumed.front(), 0.42);
    EXPECT_LT(resumed.back(), 1.0);
    EXPECT_EQ(resumed.size(), 12);
}

TEST(FadeStepsTest, FadeOutDescendsFromTheCurrentAlphaAndStopsAboveZero)
{
    const QList<double> full = fadeOutAlphas(1.0);
    EXPECT_DOUBLE_EQ(full.front(), 1.0);
    EXPECT_NEAR(full.back(), 0.05, 1e-12);
    for (double alpha : full)
        EXPECT_GT(alpha, 0.0);
    EXPECT_EQ(fadeOutAlphas(0.8).size(), 16);
    EXPECT_EQ(fadeOutAlphas(0.03).size(), 1);
    EXPECT_TRUE(fadeOutAlphas(0.0).isEmpty());
}

TEST(FadeStepsTest, ShakeSwingsFivePointsEachWayAndComesBack)
{
    const QList<int> offsets = shakeOffsets();
    ASSERT_EQ(offsets.size(), 10);
    EXPECT_EQ(offsets.front(), 5);
    EXPECT_EQ(offsets.back(), -5);
    EXPECT_EQ(std::accumulate(offsets.begin(), offsets.end(), 0), 0);
    int position = 0, lowest = 0, highest = 0;
    for (int offset : offsets) {
        position += offset;
        lowest = std::min(lowest, position);
        highest = std::max(highest, position);
    }
    EXPECT_EQ(lowest, -5);
    EXPECT_EQ(highest, 5);
}

TEST(FadeStepsTest, UsableRectLeavesOutOnlyTheTopBar)
{
    const QRect screen(0, 0, 1440, 900);
    EXPECT_EQ(usableScreenRect(screen, QRect(0, 22, 1440, 878)), QRect(0, 22, 1440, 878));
    // A panel at the bottom or the side stays inside the rectangle.
    EXPECT_EQ(usableScreenRect(screen, QRect(60, 22, 1380, 830)), QRect(0, 22, 1440, 878));
    EXPECT_EQ(usableScreenRect(QRect(1440, 100, 1920, 1080), QRect(1440, 130, 1920, 1050)),
              QRect(1440, 130, 1920, 1050));
    EXPECT_TRUE(usableScreenRect(QRect(), QRect()).isNull());
}

TEST(FadeStepsTest, PlacementCountsTheHeightFractionFromTheBottom)
{
    // 400 x 300 centred on 1440 x 900 under a 22-point top bar: 289 above the bottom edge, which
    // is 311 from the top in Qt's coordinates.
    const QRect screen(0, 22, 1440, 878);
    EXPECT_EQ(placedOrigin(screen, QSize(400, 300), 0.5, 0.5), QPoint(520, 311));

    // 0.9 of the height is near the top, not the bottom.
    const QPoint high = placedOrigin(screen, QSize(400, 300), 0.8, 0.9);
    EXPECT_EQ(high, QPoint(952, 900 - 640 - 300));
    EXPECT_LT(high.y(), 311);

    // Halves are truncated as distances from the bottom-left corner.
    EXPECT_EQ(placedOrigin(screen, QSize(401, 301), 0.5, 0.5), QPoint(519, 900 - 288 - 301));

    // A screen that is not at the desktop's origin.
    EXPECT_EQ(placedOrigin(QRect(1440, 30, 1920, 1050), QSize(400, 300), 0.5, 0.5),
              QPoint(1440 + 760, 1080 - 375 - 300));
}
