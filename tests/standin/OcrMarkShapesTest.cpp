#include "OcrMarkShapes.h"

#include <gtest/gtest.h>

namespace tovrik::standin {
namespace {

// The line of a 14 pt terminal the blobs below were measured in: rows 5-20, a Chinese character
// every 23 columns.
constexpr int kTop = 5;
constexpr int kHeight = 16;
constexpr int kPitch = 23;

InkBlob Tick(int left) {
    return {left, 6, 2, 5, 0};
}

InkBlob Comma(int left) {
    return {left, 17, 3, 4, 0};
}

TEST(MarksTextTest, ReadsQuotedMarksAsATerminalSetsThem) {
    // '-' , '(' , ')' , ','
    const std::vector<InkBlob> blobs = {
        Tick(106), {115, 13, 5, 2, 0},  Tick(128), Comma(149), Tick(172), {182, 5, 4, 16, -17}, Tick(194), Comma(215),
        Tick(238), {247, 5, 4, 16, 14}, Tick(260), Comma(281), Tick(304), Comma(314),           Tick(326)};
    EXPECT_EQ(MarksText(blobs, kTop, kHeight, kPitch), "'-' , '(' , ')' , ','");
    // The blobs need not come in order; an exclamation mark is a bar over a dot.
    EXPECT_EQ(MarksText({Tick(403), {392, 17, 2, 3, 0}, Tick(381), {392, 6, 2, 10, 0}}, kTop, kHeight, kPitch), "'!'");
}

TEST(MarksTextTest, TellsStackedMarksQuotesAndStopsApart) {
    EXPECT_EQ(MarksText({{100, 9, 3, 3, 0}, {100, 17, 3, 3, 0}}, kTop, kHeight, kPitch), ":");
    EXPECT_EQ(MarksText({{100, 9, 3, 3, 0}, {100, 17, 3, 5, 0}}, kTop, kHeight, kPitch), ";");
    // Two ticks closer than a terminal's cell make a double quote; a cell apart, two quotes.
    EXPECT_EQ(MarksText({Tick(100), Tick(104)}, kTop, kHeight, kPitch), "\"");
    EXPECT_EQ(MarksText({Tick(100), Tick(111)}, kTop, kHeight, kPitch), "''");
    EXPECT_EQ(MarksText({{100, 18, 3, 3, 0}, Comma(130)}, kTop, kHeight, kPitch), ". ,");
}

TEST(MarksTextTest, GivesNothingWhenABlobIsNoMark) {
    // A Chinese character's blob, an l (tall, straight), a tick in the middle of the line.
    EXPECT_EQ(MarksText({Tick(100), {110, 5, 17, 16, 18}}, kTop, kHeight, kPitch), "");
    EXPECT_EQ(MarksText({Tick(100), {110, 5, 2, 16, 0}}, kTop, kHeight, kPitch), "");
    EXPECT_EQ(MarksText({{100, 10, 2, 5, 0}}, kTop, kHeight, kPitch), "");
    // Three blobs over each other are no mark either.
    EXPECT_EQ(MarksText({{100, 6, 3, 3, 0}, {100, 11, 3, 3, 0}, {100, 17, 3, 3, 0}}, kTop, kHeight, kPitch), "");
    EXPECT_EQ(MarksText({}, kTop, kHeight, kPitch), "");
    EXPECT_EQ(MarksText({Tick(100)}, kTop, kHeight, 0), "");
}

} // namespace
} // namespace tovrik::standin
