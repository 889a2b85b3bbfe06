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

// A white 8-bit picture with black pixels where the rows of `art` have '#', from (left, top).
PixPtr Drawn(int width, int height, int left, int top, std::initializer_list<const char*> art) {
    PixPtr gray(pixCreate(width, height, 8));
    pixSetAllArbitrary(gray.get(), 255);
    int y = top;
    for (const char* row : art) {
        for (int x = 0; row[x] != '\0'; ++x) {
            if (row[x] == '#') {
                pixSetPixel(gray.get(), left + x, y, 0);
            }
        }
        ++y;
    }
    return gray;
}

TEST(InkColumnsTest, MarksTheColumnsWithInkDarkerThanTheLevel) {
    PixPtr gray = Drawn(12, 6, 2, 1, {"#..#", "....", "...."});
    pixSetPixel(gray.get(), 9, 4, 170); // anti-aliased, lighter than the level
    pixSetPixel(gray.get(), 10, 5, 100);
    const std::vector<bool> ink = InkColumns(gray.get(), 1, 0, 10, 5, 160);
    EXPECT_EQ(ink, (std::vector<bool>{false, true, false, false, true, false, false, false, false, false}));
    // The dark pixel lies on the row below the first rectangle; columns past the picture are white.
    EXPECT_EQ(InkColumns(gray.get(), 8, 0, 8, 6, 160),
              (std::vector<bool>{false, false, true, false, false, false, false, false}));
    EXPECT_EQ(InkColumns(nullptr, 0, 0, 3, 3, 160), std::vector<bool>(3, false));
}

TEST(InkBlobsTest, GivesEachBlobWithHowItBends) {
    // "(" and ")" as a terminal font draws them, a quote mark between, on rows 2-9.
    const PixPtr gray = Drawn(30, 12, 3, 2,
                              {"..#......#...#..", ".#.......#....#.", "#..............#", "#..............#",
                               "#..............#", "#..............#", ".#............#.", "..#..........#.."});
    const std::vector<InkBlob> blobs = InkBlobs(gray.get(), 1, 0, 28, 12, 160);
    ASSERT_EQ(blobs.size(), 3U);
    EXPECT_EQ(blobs[0].left, 3);
    EXPECT_EQ(blobs[0].top, 2);
    EXPECT_EQ(blobs[0].width, 3);
    EXPECT_EQ(blobs[0].height, 8);
    EXPECT_LT(blobs[0].bend, -8);
    EXPECT_EQ(blobs[1].left, 12);
    EXPECT_EQ(blobs[1].height, 2);
    EXPECT_EQ(blobs[1].bend, 0);
    EXPECT_EQ(blobs[2].left, 16);
    EXPECT_GT(blobs[2].bend, 8);
    // Only what lies in the rectangle.
    EXPECT_EQ(InkBlobs(gray.get(), 8, 0, 7, 12, 160).size(), 1U);
    EXPECT_TRUE(InkBlobs(nullptr, 0, 0, 5, 5, 160).empty());
}

} // namespace
} // namespace tovrik::standin
