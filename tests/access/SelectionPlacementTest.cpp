#include "SelectionPlacement.h"

#include <gtest/gtest.h>

namespace {

int bottomOf(const QRect &r)
{
    return r.y() + r.height();
}

SelectionPlacementInput input(const QRect &access, std::optional<int> textHeight)
{
    SelectionPlacementInput in;
    in.accessFrame = access;
    in.screen = QRect(0, 30, 1600, 970); // a top bar of 30, bottom edge at 1000
    in.textHeight = textHeight;
    in.currentHeight = 55;
    in.detailHeight = 40;
    return in;
}

TEST(SelectionPlacement, HangsTwoPointsBelowWithTheAccessWindowsWidth)
{
    const auto result = SelectionPlacement::place(input({200, 100, 500, 300}, 100));
    EXPECT_EQ(result.previewFrame, QRect(200, 402, 500, 112)) << "text height plus 12";
    EXPECT_EQ(result.detailFrame, QRect(200, 516, 500, 40)) << "2 points below the preview";
    EXPECT_FALSE(result.previewAbove);
}

TEST(SelectionPlacement, HeightRules)
{
    const QRect access(200, 100, 500, 300);
    EXPECT_EQ(SelectionPlacement::place(input(access, 5)).previewFrame.height(), 40);
    auto withImage = input(access, 5);
    withImage.imageShown = true;
    EXPECT_EQ(SelectionPlacement::place(withImage).previewFrame.height(), 70);
    EXPECT_EQ(SelectionPlacement::place(input(access, std::nullopt)).previewFrame.height(), 55)
        << "without a text the current height stays";
    auto tall = input({200, 0, 500, 30}, 5000);
    tall.screen = QRect(0, 0, 1600, 4000);
    EXPECT_EQ(SelectionPlacement::place(tall).previewFrame.height(), 1000) << "at most 1000";
}

TEST(SelectionPlacement, NeverBelowTheScreensBottom)
{
    // The access window ends at 900: 98 points are left under the gap.
    const QRect access(200, 600, 500, 300);
    const auto longNote = SelectionPlacement::place(input(access, 4000));
    EXPECT_EQ(longNote.previewFrame, QRect(200, 902, 500, 98)) << "cut to the space left";
    EXPECT_EQ(bottomOf(longNote.previewFrame), 1000);

    for (int text = 0; text < 200; ++text) {
        const auto result = SelectionPlacement::place(input(access, text));
        ASSERT_LE(bottomOf(result.previewFrame), 1000) << "text height " << text;
        ASSERT_EQ(result.previewFrame.top(), 902);
    }
    // A window that would end exactly one gap below the edge is cut too.
    EXPECT_EQ(SelectionPlacement::place(input(access, 100 - 12)).previewFrame.height(), 98);
}

TEST(SelectionPlacement, NoRoomBelowHangsAboveTheWindow)
{
    const QRect access(200, 680, 500, 300); // ends 20 points above the edge
    const auto result = SelectionPlacement::place(input(access, 100));
    EXPECT_TRUE(result.previewAbove);
    EXPECT_EQ(result.previewFrame, QRect(200, 566, 500, 112));
    EXPECT_EQ(result.detailFrame, QRect(200, 524, 500, 40)) << "the detail above the preview";
}

TEST(SelectionPlacement, DetailWithoutRoomUnderThePreviewGoesAboveTheWindow)
{
    const QRect access(200, 600, 500, 300);
    const auto result = SelectionPlacement::place(input(access, 60));
    ASSERT_EQ(result.previewFrame, QRect(200, 902, 500, 72));
    EXPECT_EQ(result.detailFrame, QRect(200, 558, 500, 40));
    EXPECT_LE(bottomOf(result.detailFrame), 1000);
}

} // namespace
