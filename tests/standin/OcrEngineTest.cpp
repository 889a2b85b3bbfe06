#include "OcrEngine.h"

#include <gtest/gtest.h>

namespace tovrik::standin {
namespace {

TEST(SplitIntoBandsTest, OneLineKeepsTheWholePicture) {
    const auto bands = SplitIntoBands({{10, 10, 300, 20}}, 800, 200);
    EXPECT_EQ(bands[0].top, 0);
    EXPECT_EQ(bands[0].height, 200);
    EXPECT_EQ(bands[0].width, 800);
    EXPECT_EQ(bands[1].height, 0);
    EXPECT_EQ(SplitIntoBands({}, 800, 200)[1].height, 0);
}

TEST(SplitIntoBandsTest, CutsHalfwayBetweenLinesWithAboutHalfTheTextEachSide) {
    // 700 px of text above the cut, 600 below: the most even split of the four lines.
    const auto bands =
        SplitIntoBands({{10, 10, 400, 20}, {10, 40, 300, 20}, {10, 70, 300, 20}, {10, 100, 300, 20}}, 800, 200);
    EXPECT_EQ(bands[0].top, 0);
    EXPECT_EQ(bands[0].height, 65);
    EXPECT_EQ(bands[1].top, 65);
    EXPECT_EQ(bands[1].height, 135);
    EXPECT_EQ(bands[1].width, 800);
}

TEST(SplitIntoBandsTest, LongFirstLineStandsAlone) {
    const auto bands = SplitIntoBands({{10, 10, 700, 20}, {10, 40, 200, 20}, {10, 70, 200, 20}}, 800, 100);
    EXPECT_EQ(bands[0].height, 35);
    EXPECT_EQ(bands[1].top + bands[1].height, 100);
}

TEST(SplitIntoBandsTest, LinesSideBySideAreNotCut) {
    const auto bands = SplitIntoBands({{10, 10, 300, 20}, {400, 10, 300, 20}}, 800, 100);
    EXPECT_EQ(bands[0].height, 100);
    EXPECT_EQ(bands[1].height, 0);
}

} // namespace
} // namespace tovrik::standin
