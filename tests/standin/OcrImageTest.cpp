#include "OcrImage.h"

#include <gtest/gtest.h>
#include <leptonica/allheaders.h>

namespace tovrik::standin {
namespace {

TEST(InkEndTest, FindsTheLastColumnWithInkBetweenTheRows) {
    const PixPtr binary(pixCreate(40, 20, 1));
    ASSERT_TRUE(binary);
    pixSetPixel(binary.get(), 5, 10, 1);
    pixSetPixel(binary.get(), 12, 3, 1);
    pixSetPixel(binary.get(), 30, 10, 1);
    EXPECT_EQ(InkEnd(binary.get(), 0, 30, 0, 20), 13);
    // Ink above the rows asked for does not count.
    EXPECT_EQ(InkEnd(binary.get(), 0, 30, 5, 20), 6);
    EXPECT_EQ(InkEnd(binary.get(), 6, 12, 0, 20), 6);
    // Ranges reaching out of the picture are clipped.
    EXPECT_EQ(InkEnd(binary.get(), -5, 100, -5, 100), 31);
    // Only 1-bit pictures are read.
    const PixPtr gray(pixCreate(40, 20, 8));
    EXPECT_EQ(InkEnd(gray.get(), 2, 30, 0, 20), 2);
    EXPECT_EQ(InkEnd(nullptr, 2, 30, 0, 20), 2);
}

TEST(InkRunEndTest, FollowsInkAcrossGapsNarrowerThanTheLimit) {
    // "of" whose "f" the layout left out: ink at 10-12, a gap of 3, ink at 16-17, then a space.
    const PixPtr binary(pixCreate(60, 20, 1));
    ASSERT_TRUE(binary);
    for (const int x : {10, 11, 12, 16, 17, 30}) {
        pixSetPixel(binary.get(), x, 8, 1);
    }
    pixSetPixel(binary.get(), 40, 2, 1); // above the line
    EXPECT_EQ(InkRunEnd(binary.get(), 13, 4, 60, 5, 15), 18);
    // A gap as wide as the limit parts a word.
    EXPECT_EQ(InkRunEnd(binary.get(), 13, 3, 60, 5, 15), 13);
    // No further than asked, and only between the rows.
    EXPECT_EQ(InkRunEnd(binary.get(), 13, 4, 17, 5, 15), 17);
    EXPECT_EQ(InkRunEnd(binary.get(), 35, 10, 60, 5, 15), 35);
    EXPECT_EQ(InkRunEnd(binary.get(), 35, 10, 60, 0, 15), 41);
    EXPECT_EQ(InkRunEnd(binary.get(), 50, 10, 100, 0, 20), 50);
    EXPECT_EQ(InkRunEnd(nullptr, 13, 4, 60, 5, 15), 13);
}

TEST(WithWhiteTest, AddsWhiteRowsAndColumns) {
    const PixPtr gray(pixCreate(10, 4, 8));
    ASSERT_TRUE(gray);
    const PixPtr padded = WithWhite(gray.get(), 2, 3, 5);
    ASSERT_TRUE(padded);
    EXPECT_EQ(PixWidth(padded.get()), 15);
    EXPECT_EQ(PixHeight(padded.get()), 9);
    l_uint32 value = 0;
    pixGetPixel(padded.get(), 0, 0, &value);
    EXPECT_EQ(value, 255U);
    pixGetPixel(padded.get(), 14, 4, &value);
    EXPECT_EQ(value, 255U);
    pixGetPixel(padded.get(), 0, 2, &value);
    EXPECT_EQ(value, 0U);
    EXPECT_EQ(PixHeight(WithWhite(gray.get(), -1, 0, 0).get()), 4);
}

} // namespace
} // namespace tovrik::standin
