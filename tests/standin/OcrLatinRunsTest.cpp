#include "OcrLatinRuns.h"

#include <gtest/gtest.h>

namespace tovrik::standin {
namespace {

// Characters 10 px apart, each 8 px wide; a word starts at a character marked with a leading '^'.
std::vector<ReadSymbol> Symbols(std::initializer_list<std::string> texts) {
    std::vector<ReadSymbol> symbols;
    int left = 100;
    for (const std::string& text : texts) {
        const bool startsWord = text.size() > 1 && text[0] == '^';
        symbols.push_back({startsWord ? text.substr(1) : text, 0, left, left + 8, startsWord, 95});
        left += 10;
    }
    return symbols;
}

std::vector<std::string> Texts(const std::vector<ReadSymbol>& symbols, const std::vector<SymbolRun>& runs) {
    std::vector<std::string> texts;
    for (const SymbolRun& run : runs) {
        texts.push_back(RunText(symbols, run));
    }
    return texts;
}

PieceReading Latin(std::initializer_list<std::string> texts, int confidence = 95) {
    PieceReading reading;
    reading.symbols = Symbols(texts);
    for (ReadSymbol& symbol : reading.symbols) {
        symbol.confidence = confidence;
    }
    return reading;
}

TEST(LatinRuns, FindsLatinWordsAndNumbersAmongChineseCharactersAndMarks) {
    // 单位（例如：16K 指 10*1024）、K、M、--bLock-size 选项、fuLL-iso。
    const std::vector<ReadSymbol> symbols =
        Symbols({"单", "位", "（", "例",  "如", "：", "1",  "6",  "K", "^指", "^1", "0", "*", "1", "0", "2",
                 "4",  "）", "、", "K",   "、", "M",  "、", "^-", "-", "b",   "L",  "o", "c", "k", "-", "s",
                 "i",  "z",  "e",  "^选", "项", "、", "f",  "u",  "L", "L",   "-",  "i", "s", "o", "。"});
    EXPECT_EQ(Texts(symbols, LatinRuns(symbols)),
              (std::vector<std::string>{"16K", "10*1024", "K", "M", "--bLock-size", "fuLL-iso"}));
}

TEST(LatinRuns, EndAtTheirWordAndWithALetterOrDigit) {
    // "v2." at the end of a sentence, "Ab-" before a space, a full-width digit, a lone mark.
    const std::vector<ReadSymbol> symbols = Symbols({"版", "v", "2", ".", "^A", "b", "-", "^Ｂ", "3", "^-", "、"});
    EXPECT_EQ(Texts(symbols, LatinRuns(symbols)), (std::vector<std::string>{"v2", "Ab", "Ｂ3"}));
    EXPECT_TRUE(LatinRuns(Symbols({"中", "文", "。"})).empty());
}

TEST(LatinRuns, LeaveOutWhatTheChineseModelReadsWell) {
    // Lowercase words, options and long capital words go; a word with a capital, two capitals
    // and a number stay.
    const std::vector<ReadSymbol> symbols = Symbols({"用", "^g", "r", "e",  "p", "^-", "-", "s", "u",  "f", "^G", "N",
                                                     "U",  "_",  "X", "^E", "g", "r",  "e", "p", "^N", "G", "^x", "2"});
    EXPECT_EQ(Texts(symbols, LatinRuns(symbols)), (std::vector<std::string>{"Egrep", "NG", "x2"}));
}

TEST(RunSpan, TakesWhiteOnBothSidesButStopsHalfWayToTheNeighbours) {
    const std::vector<ReadSymbol> symbols = Symbols({"的", "1", "0", "的"});
    // Neighbours 2 px away: halfway to them.
    EXPECT_EQ(RunSpan(symbols, {1, 2}, 30).left, 109);
    EXPECT_EQ(RunSpan(symbols, {1, 2}, 30).right, 129);
    // At the ends of the reading: a third of the line's height.
    const std::vector<ReadSymbol> alone = Symbols({"1", "0"});
    EXPECT_EQ(RunSpan(alone, {0, 2}, 30).left, 90);
    EXPECT_EQ(RunSpan(alone, {0, 2}, 30).right, 128);
}

TEST(LatinReplacement, TakesTheLatinReadingWhenSureAndAlike) {
    EXPECT_EQ(LatinReplacement("1624", Latin({"1", "0", "2", "4"})), "1024");
    // A bit of the mark beside the run read with it, and garbage after a space, are no part of it.
    EXPECT_EQ(LatinReplacement("6", Latin({"G", "."})), "G");
    EXPECT_EQ(LatinReplacement("1624", Latin({"1", "0", "2", "4", "^&", "Y"})), "1024");
    // Marks within the run, and the case of letters that differ only in size, as the Chinese
    // model read them.
    EXPECT_EQ(LatinReplacement("sparse=auto", Latin({"s", "p", "a", "r", "s", "e", "-", "a", "u", "t", "o"})),
              "sparse=auto");
    EXPECT_EQ(LatinReplacement("16K", Latin({"1", "0", "k"})), "10K");
    EXPECT_EQ(LatinReplacement("fuLL", Latin({"f", "u", "l", "l"})), "full");
}

TEST(LatinReplacement, LeavesTheRunWhenTheLatinModelIsUnsureOrReadsOtherwise) {
    EXPECT_EQ(LatinReplacement("1624", Latin({"1", "0", "2", "4"}, 60)), "");
    // A letter more (of the character beside) or less (cut off by the crop).
    EXPECT_EQ(LatinReplacement("tar", Latin({"t", "a", "r", "s"})), "");
    EXPECT_EQ(LatinReplacement("egrep", Latin({"g", "r", "e", "p"})), "");
    // A mark where the Chinese model read a letter.
    EXPECT_EQ(LatinReplacement("BLOCK_SIZE", Latin({"B", "L", "O", "C", "K", "S", "I", "Z", "E", "E"})), "");
    EXPECT_EQ(LatinReplacement("a1", Latin({"a", "-"})), "");
    EXPECT_EQ(LatinReplacement("1", PieceReading{}), "");
}

TEST(WithReplacedRuns, ReplacesTheRunsInTheModelsTextKeepingItsSpaces) {
    PieceReading reading;
    reading.raw = "例如：16K 指 (1624的\n";
    reading.symbols = Symbols({"例", "如", "：", "1", "6", "K", "^指", "^(", "1", "6", "2", "4", "的"});
    ASSERT_TRUE(PlaceSymbols(reading.raw, reading.symbols));
    const std::vector<SymbolRun> runs = LatinRuns(reading.symbols);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(WithReplacedRuns(reading, runs, {"10K", "1024"}), "例如：10K 指 (1024的\n");
    EXPECT_EQ(WithReplacedRuns(reading, runs, {"", "1024"}), "例如：16K 指 (1024的\n");
    EXPECT_EQ(WithReplacedRuns(reading, runs, {}), reading.raw);
}

TEST(PlaceSymbols, FailsWhenTheCharactersAreNotTheText) {
    std::vector<ReadSymbol> symbols = Symbols({"a", "b"});
    EXPECT_TRUE(PlaceSymbols(" a b", symbols));
    EXPECT_EQ(symbols[1].at, 3u);
    std::vector<ReadSymbol> other = Symbols({"a", "c"});
    EXPECT_FALSE(PlaceSymbols("ab", other));
    std::vector<ReadSymbol> more = Symbols({"a", "b", "c"});
    EXPECT_FALSE(PlaceSymbols("ab", more));
}

} // namespace
} // namespace tovrik::standin
