#include "OcrSpacedMarks.h"

#include <gtest/gtest.h>

namespace tovrik::standin {
namespace {

// The first line of a 14 pt terminal showing find's Chinese page: 597 columns, a Chinese
// character every 23, read by the Chinese model without its quoted marks.
constexpr int kWidth = 597;
constexpr int kPitch = 23;
constexpr const char* kMisread = "第一个以，（1，）或：这些字符起始的参";
constexpr const char* kShown = "第一个以 '-' , '(' , ')' , ',' 或 '!' 这些字符起始的参";

PieceReading Read(const std::string& text, int confidence, std::vector<ReadSymbol> symbols = {}) {
    return {text, confidence, confidence, text, std::move(symbols)};
}

TEST(SpacedMarksTest, MeasuresReadingsInChineseCharacters) {
    EXPECT_DOUBLE_EQ(WidthInCharacters("第一个以，（1，）"), 8.5);
    EXPECT_DOUBLE_EQ(WidthInCharacters("a b"), 1.5);
    EXPECT_DOUBLE_EQ(WidthInCharacters(""), 0);
    // The model's boxes stand up to a character off; their median distance is the pitch.
    const std::vector<ReadSymbol> symbols = {
        {"第", 0, 3, 34},    {"一", 0, 47, 56},   {"个", 0, 70, 82},   {"以", 0, 106, 120}, {"，", 0, 150, 152},
        {"或", 0, 318, 361}, {"：", 0, 381, 405}, {"这", 0, 421, 438}, {"些", 0, 443, 460}, {"字", 0, 470, 481}};
    EXPECT_EQ(IdeographPitch(symbols), 27);
    EXPECT_EQ(IdeographPitch({symbols.begin(), symbols.begin() + 3}), 0);
    // The misreading leaves six characters of the line unexplained; what the line shows, none.
    EXPECT_TRUE(ReadsTooShort(kMisread, kWidth, kPitch));
    EXPECT_FALSE(ReadsTooShort(kShown, kWidth, kPitch));
    EXPECT_FALSE(ReadsTooShort(kMisread, kWidth, 0));
}

TEST(SpacedMarksTest, CutsTheInkWhereTheWhiteIsWide) {
    const std::vector<bool> ink = {true, true, false, false, false, true, false, true, true};
    EXPECT_EQ(InkClusters(ink, 10, 3).size(), 2U);
    EXPECT_EQ(InkClusters(ink, 10, 3)[1].left, 15);
    EXPECT_EQ(InkClusters(ink, 10, 3)[1].right, 19);
    EXPECT_EQ(InkClusters(ink, 10, 1).size(), 3U);
    EXPECT_TRUE(InkClusters(std::vector<bool>(5, false), 0, 2).empty());
}

TEST(SpacedMarksTest, GroupsTheClustersBetweenSureChineseCharacters) {
    // ')' read as "站）" at 18 is no Chinese character.
    const std::vector<ClusterGroup> groups =
        GroupClusters({Read("第一个以", 90), Read("0", 0), Read("", 0), Read("站）", 18), Read("或", 85), Read("", 0)});
    ASSERT_EQ(groups.size(), 4U);
    EXPECT_TRUE(groups[0].chinese);
    EXPECT_FALSE(groups[1].chinese);
    EXPECT_EQ(groups[1].first, 1U);
    EXPECT_EQ(groups[1].count, 3U);
    EXPECT_TRUE(groups[2].chinese);
    EXPECT_EQ(groups[3].first, 5U);
    EXPECT_EQ(groups[3].count, 1U);
}

TEST(SpacedMarksTest, TakesTheLatinReadingOfAGroupOnlyWhenSure) {
    const PieceReading sure = Read("-r", 90, {{"-", 0, 0, 4, true, 90}, {"r", 1, 5, 9, false, 88}});
    EXPECT_EQ(LatinGroupText(sure, "一r"), "-r");
    const PieceReading unsure = Read("-r", 80, {{"-", 0, 0, 4, true, 90}, {"r", 1, 5, 9, false, 60}});
    EXPECT_EQ(LatinGroupText(unsure, "一r"), "一r");
    // A rule is the edge of a character cut off.
    const PieceReading rule = Read("|-r", 90, {{"|", 0, 0, 1, true, 95}, {"-", 1, 2, 4, false, 90}});
    EXPECT_EQ(LatinGroupText(rule, "-r"), "-r");
    EXPECT_EQ(LatinGroupText(Read("", 0), "，"), "，");
}

TEST(SpacedMarksTest, TakesTheClustersReadingWhenItExplainsTheLineBetter) {
    EXPECT_EQ(JoinClusters({"第一个以", "", "'-' ,", "或"}), "第一个以 '-' , 或");
    EXPECT_TRUE(ExplainsBetter(kShown, kMisread, kWidth, kPitch));
    EXPECT_FALSE(ExplainsBetter(kMisread, kShown, kWidth, kPitch));
    // It may not lose a Chinese character.
    EXPECT_FALSE(ExplainsBetter("第一个 '-' , '(' , ')' , ',' 或 '!' 这些字符起始的参", kMisread, kWidth, kPitch));
    EXPECT_FALSE(ExplainsBetter(kShown, kMisread, kWidth, 0));
}

} // namespace
} // namespace tovrik::standin
