#include "capture/linux/wayland/OutputLayout.h"

#include <gtest/gtest.h>

namespace tovrik::capture {
namespace {

OutputInfo Output(int x, int y, int physicalWidth, int physicalHeight, int scale) {
    return {.name = {},
            .logical = {x, y, x + physicalWidth / scale, y + physicalHeight / scale},
            .scale = scale,
            .physicalWidth = physicalWidth,
            .physicalHeight = physicalHeight};
}

TEST(OutputLayoutTest, ScaleTwoOutputRightOfScaleOneOneKeepsItsPhysicalSizeAndTouchesIt) {
    // The compositor's layout: 1920 logical pixels, then 640 logical pixels of a 1280-wide panel.
    const OutputLayout layout({Output(0, 0, 1920, 1080, 1), Output(1920, 0, 1280, 1024, 2)});
    ASSERT_EQ(layout.Physical().size(), 2U);
    EXPECT_EQ(layout.Physical()[0], (Rect{0, 0, 1920, 1080}));
    EXPECT_EQ(layout.Physical()[1], (Rect{1920, 0, 3200, 1024}));
}

TEST(OutputLayoutTest, OutputsArePlacedWhateverOrderTheCompositorListsThem) {
    const OutputLayout layout(
        {Output(2560, 0, 1920, 1080, 1), Output(1920, 0, 1280, 1024, 2), Output(0, 0, 1920, 1080, 1)});
    EXPECT_EQ(layout.Physical()[2], (Rect{0, 0, 1920, 1080}));
    EXPECT_EQ(layout.Physical()[1], (Rect{1920, 0, 3200, 1024}));
    EXPECT_EQ(layout.Physical()[0], (Rect{3200, 0, 5120, 1080}));
}

TEST(OutputLayoutTest, StackedOutputsStayStackedAndALogicalGapStaysAGap) {
    // A scale-2 4K-like panel on top, a scale-1 one below it; a third one 100 logical pixels
    // right of the top one.
    const OutputLayout layout(
        {Output(0, 0, 1920, 1080, 2), Output(0, 540, 1920, 1080, 1), Output(1060, 0, 800, 600, 1)});
    EXPECT_EQ(layout.Physical()[0], (Rect{0, 0, 1920, 1080}));
    EXPECT_EQ(layout.Physical()[1], (Rect{0, 1080, 1920, 2160}));
    EXPECT_EQ(layout.Physical()[2], (Rect{2020, 0, 2820, 600}));
}

TEST(OutputLayoutTest, PointerPositionsAreMeasuredOnTheOutputTheyAreOver) {
    const OutputLayout layout({Output(0, 0, 1920, 1080, 1), Output(1920, 0, 1280, 1024, 2)});
    EXPECT_EQ(layout.ToPhysical(1700, 200), (Point{1700, 200}));
    EXPECT_EQ(layout.ToPhysical(1919.75, 10), (Point{1919, 10}));
    // Two physical pixels per logical one on the right, half pixels from the pointer's fraction.
    EXPECT_EQ(layout.ToPhysical(2160, 350), (Point{2400, 700}));
    EXPECT_EQ(layout.ToPhysical(1920.5, 0.5), (Point{1921, 1}));
    EXPECT_EQ(layout.ToPhysical(2559.9, 511.9), (Point{3199, 1023}));
    // Below the right output, where no output is: measured on the nearest one.
    EXPECT_EQ(layout.OutputAt(2000, 600), 1);
    EXPECT_EQ(layout.OutputAt(100, 600), 0);
}

TEST(OutputLayoutTest, NoOutputsGiveAnEmptyLayout) {
    const OutputLayout layout;
    EXPECT_TRUE(layout.Empty());
    EXPECT_EQ(layout.OutputAt(0, 0), -1);
    EXPECT_EQ(layout.ToPhysical(3.5, 4.5), (Point{3, 4}));
}

} // namespace
} // namespace tovrik::capture
