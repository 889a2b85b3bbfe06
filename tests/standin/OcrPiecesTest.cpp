#include "OcrPieces.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tovrik::standin {
namespace {

int Right(const PixelBox& box) {
    return box.left + box.width;
}

// A word of one blob.
TextWord Word(int left, int top, int width, int height) {
    const PixelBox box{left, top, width, height};
    return {box, box, left};
}

// A line of `count` words `wordWidth` wide with `gap` between them, starting at x = 20.
TextLine Line(int top, int height, int count, int wordWidth, int gap) {
    TextLine line;
    for (int k = 0; k < count; ++k) {
        line.words.push_back(Word(20 + k * (wordWidth + gap), top, wordWidth, height));
    }
    line.box = {20, top, count * wordWidth + (count - 1) * gap, height};
    return line;
}

TEST(DropFrames, DropsFramesRulesAndIconsBesideTheTextAndShrinksTheLine) {
    // A window's edge left of "Hello from Wine": one blob as high as the whole selection.
    TextLine framed;
    framed.words = {Word(0, 0, 10, 116), Word(39, 44, 77, 24), Word(129, 44, 71, 24), Word(214, 46, 78, 20)};
    framed.box = {0, 0, 292, 116};
    // Words from the x-height to ascender plus descender stay.
    TextLine mixed = Line(300, 24, 3, 40, 10);
    mixed.words[0].box = {20, 308, 40, 11};
    TextLine lower = Line(340, 11, 5, 40, 10);
    lower.words[2].box = {120, 337, 40, 21};
    lower.box = {20, 337, 240, 21};
    // A dialog's icon beside the first line of its message, 2.3 times as high.
    TextLine icon;
    icon.words = {Word(16, 500, 42, 42), Word(74, 501, 78, 18), Word(161, 501, 27, 18), Word(196, 501, 126, 18)};
    icon.box = {16, 500, 306, 42};
    // A rule alone, and a lone word however high.
    TextLine rule;
    rule.words = {Word(0, 400, 600, 4)};
    rule.box = rule.words[0].box;
    // The same with all the line's text taken for one word.
    TextLine iconAndWord;
    iconAndWord.words = {Word(12, 600, 42, 42), Word(79, 605, 158, 15)};
    iconAndWord.box = {12, 600, 225, 42};
    std::vector<TextLine> lines = {framed, mixed, rule, lower, icon, iconAndWord};
    DropFrames(lines);
    ASSERT_EQ(lines.size(), 6u);
    ASSERT_EQ(lines[0].words.size(), 3u);
    EXPECT_EQ(lines[0].box.left, 39);
    EXPECT_EQ(lines[0].box.top, 44);
    EXPECT_EQ(Right(lines[0].box), 292);
    EXPECT_EQ(lines[0].box.height, 24);
    EXPECT_EQ(lines[1].words.size(), 3u);
    EXPECT_EQ(lines[1].box.height, 24);
    EXPECT_EQ(lines[2].words.size(), 1u);
    EXPECT_EQ(lines[3].words.size(), 5u);
    EXPECT_EQ(lines[3].box.height, 21);
    ASSERT_EQ(lines[4].words.size(), 3u);
    EXPECT_EQ(lines[4].box.left, 74);
    EXPECT_EQ(lines[4].box.height, 18);
    ASSERT_EQ(lines[5].words.size(), 1u);
    EXPECT_EQ(lines[5].box.left, 79);
}

TEST(DropFrames, DropsWhatIsLeftOfButtonsFramesButNotMarksOrRules) {
    // "复制" and "取消" on two buttons, with a bit of the first one's corner above the text, an
    // edge between them and the second one's right edge.
    TextLine buttons;
    buttons.words = {Word(249, 197, 22, 11), Word(309, 191, 5, 1), Word(303, 195, 1, 17), Word(335, 197, 22, 11),
                     Word(385, 194, 1, 18)};
    buttons.box = {249, 191, 137, 21};
    // "a - b | c": the dash is as thin as a corner but within the text; the bar is a letter's height.
    TextLine marks;
    marks.words = {Word(10, 300, 8, 9), Word(24, 304, 5, 1), Word(35, 300, 8, 12), Word(49, 298, 1, 15),
                   Word(56, 300, 8, 9)};
    marks.box = {10, 298, 54, 15};
    std::vector<TextLine> lines = {buttons, marks};
    DropFrames(lines);
    ASSERT_EQ(lines[0].words.size(), 2u);
    EXPECT_EQ(lines[0].box.top, 197);
    EXPECT_EQ(lines[0].box.height, 11);
    EXPECT_EQ(Right(lines[0].box), 357);
    EXPECT_EQ(lines[1].words.size(), 5u);

    // A "|" ending a line close to its text is a mark; a line of a lone word keeps it.
    TextLine piped = Line(400, 9, 2, 20, 8);
    piped.words.push_back(Word(74, 398, 1, 15));
    piped.box.width = 55;
    std::vector<TextLine> more = {piped};
    DropFrames(more);
    EXPECT_EQ(more[0].words.size(), 3u);
}

std::vector<LinePiece> Cut(const std::vector<TextLine>& lines, bool chinese = false) {
    return CutIntoPieces(lines, 2, std::vector<bool>(lines.size(), chinese));
}

// Every word lies whole within exactly one piece of its line, and the pieces of a line follow
// each other without overlapping.
void ExpectWordsKeptWhole(const std::vector<TextLine>& lines, const std::vector<LinePiece>& pieces) {
    for (size_t index = 0; index < lines.size(); ++index) {
        std::vector<PixelBox> crops;
        for (const LinePiece& piece : pieces) {
            if (piece.line == index) {
                crops.push_back(piece.crop);
            }
        }
        ASSERT_FALSE(crops.empty()) << "line " << index;
        for (size_t k = 1; k < crops.size(); ++k) {
            EXPECT_GE(crops[k].left, Right(crops[k - 1])) << "line " << index;
        }
        for (const TextWord& word : lines[index].words) {
            const auto holding = std::count_if(crops.begin(), crops.end(), [&](const PixelBox& crop) {
                return crop.left <= word.box.left && Right(word.box) <= Right(crop);
            });
            EXPECT_EQ(holding, 1) << "line " << index << " word at " << word.box.left;
        }
    }
}

TEST(KeepTitleTest, TheTitleStaysTheBarsIconAndButtonsGo) {
    // A 430 px bar: its icon at the left end, the centred title, three buttons at the right end.
    TextLine bar;
    bar.words = {Word(3, 4, 12, 12),  Word(194, 4, 42, 10), Word(240, 4, 20, 10),
                 Word(384, 11, 6, 2), Word(400, 7, 6, 6),   Word(416, 7, 6, 6)};
    bar.box = {3, 4, 419, 12};
    KeepTitle(bar, 430);
    ASSERT_EQ(bar.words.size(), 2U);
    EXPECT_EQ(bar.box.left, 194);
    EXPECT_EQ(Right(bar.box), 260);
    // A short title is still chosen over the wider run of buttons at the end.
    TextLine shortTitle;
    shortTitle.words = {Word(288, 4, 20, 10), Word(540, 6, 14, 8), Word(560, 6, 14, 8), Word(580, 6, 14, 8)};
    shortTitle.box = {288, 4, 306, 10};
    KeepTitle(shortTitle, 596);
    ASSERT_EQ(shortTitle.words.size(), 1U);
    EXPECT_EQ(shortTitle.box.left, 288);
    // A selection of the bar's end alone: the widest run is kept.
    TextLine ends;
    ends.words = {Word(2, 4, 30, 10), Word(100, 4, 10, 10)};
    ends.box = {2, 4, 108, 10};
    KeepTitle(ends, 112);
    ASSERT_EQ(ends.words.size(), 1U);
    EXPECT_EQ(ends.box.width, 30);
}

TEST(StartsWithMarkTest, ACheckBoxBeforeItsLabelGoesButNoWordOrCharacterOfText) {
    TextLine box;
    box.words = {Word(40, 145, 12, 14), Word(64, 145, 60, 14)}; // check box, label 12 px on
    box.box = {40, 145, 84, 15};
    EXPECT_TRUE(StartsWithMark(box));
    TextLine spaced = box; // a proportional font's space
    spaced.words[1].box.left = 57;
    EXPECT_FALSE(StartsWithMark(spaced));
    TextLine terminal; // "If you" in a terminal: a wide space, but "If" is wider than high
    terminal.words = {Word(3, 5, 16, 11), Word(30, 5, 30, 11)};
    terminal.box = {3, 5, 57, 14};
    EXPECT_FALSE(StartsWithMark(terminal));
    TextLine letter; // a narrow letter ("I") or a low one ("a")
    letter.words = {Word(3, 5, 3, 11), Word(18, 5, 30, 11)};
    letter.box = {3, 5, 45, 14};
    EXPECT_FALSE(StartsWithMark(letter));
    letter.words[0].box = {3, 8, 7, 7};
    EXPECT_FALSE(StartsWithMark(letter));
    TextLine alone;
    alone.words = {Word(40, 145, 12, 14)};
    alone.box = {40, 145, 12, 14};
    EXPECT_FALSE(StartsWithMark(alone));

    // The mark goes, the label and the other lines stay as they are.
    std::vector<TextLine> lines = {box, terminal, alone};
    DropMarks(lines);
    ASSERT_EQ(lines[0].words.size(), 1U);
    EXPECT_EQ(lines[0].box.left, 64);
    EXPECT_EQ(lines[0].box.width, 60);
    EXPECT_EQ(lines[1].words.size(), 2U);
    EXPECT_EQ(lines[1].box.width, 57);
    EXPECT_EQ(lines[2].words.size(), 1U);
}

TEST(CutIntoPiecesTest, LinesOfAFewWordsStayWholeAndArePadded) {
    const std::vector<TextLine> lines = {Line(10, 20, 3, 40, 10), Line(40, 20, 2, 40, 10), Line(100, 20, 1, 50, 0)};
    const std::vector<LinePiece> pieces = Cut(lines);
    ASSERT_EQ(pieces.size(), 3U);
    // 0.3 of the height before and after, 0.4 above and below: taken from the picture half way
    // to the next line at most, the rest added as white rows.
    EXPECT_EQ(pieces[0].line, 0U);
    EXPECT_EQ(pieces[0].crop.left, 14);
    EXPECT_EQ(pieces[0].crop.width, 140 + 12);
    EXPECT_EQ(pieces[0].crop.top, 2);
    EXPECT_EQ(pieces[0].crop.height, 8 + 20 + 5);
    EXPECT_EQ(pieces[0].whiteAbove, 0);
    EXPECT_EQ(pieces[0].whiteBelow, 3);
    EXPECT_EQ(pieces[1].crop.top, 35);
    EXPECT_EQ(pieces[1].crop.height, 5 + 20 + 8);
    EXPECT_EQ(pieces[1].whiteAbove, 3);
    EXPECT_EQ(pieces[1].whiteBelow, 0);
    EXPECT_EQ(pieces[2].line, 2U);
    EXPECT_EQ(pieces[2].crop.top, 92);
    EXPECT_EQ(pieces[2].crop.height, 36);
    // Half a height of white columns after the end of the line, for the Chinese model.
    EXPECT_EQ(pieces[2].whiteAfterForChinese, 10);
    // At the top of the picture the white is added too.
    const std::vector<LinePiece> top = Cut({Line(3, 20, 3, 40, 10)});
    ASSERT_EQ(top.size(), 1U);
    EXPECT_EQ(top[0].crop.top, 0);
    EXPECT_EQ(top[0].whiteAbove, 5);
}

TEST(CutIntoPiecesTest, PaddingStopsAtTheEdgeAndHalfWayToLinesSideBySide) {
    TextLine left = Line(2, 20, 4, 40, 10);
    TextLine right = Line(2, 20, 4, 40, 10);
    right.box.left += 200;
    for (TextWord& word : right.words) {
        word.box.left += 200;
    }
    const std::vector<LinePiece> pieces = Cut({left, right});
    ASSERT_EQ(pieces.size(), 2U);
    EXPECT_EQ(pieces[0].crop.top, 0);
    EXPECT_EQ(pieces[0].crop.left, 14);
    // 190 px of text, then 10 px to the right-hand line: 5 px of it each.
    EXPECT_EQ(Right(pieces[0].crop), 215);
    EXPECT_EQ(pieces[1].crop.left, 215);
}

TEST(CutIntoPiecesTest, LongLineIsCutAtTheWordGapNearestItsMiddle) {
    // Word boxes of "The quick brown fox jumps over the lazy dog." as the layout finds them.
    TextLine line;
    line.box = {18, 23, 454, 19};
    for (const auto& [left, right] : {std::pair{18, 54},
                                      {62, 115},
                                      {124, 182},
                                      {190, 220},
                                      {227, 287},
                                      {295, 338},
                                      {344, 376},
                                      {385, 423},
                                      {431, 472}}) {
        line.words.push_back(Word(left, 23, right - left, 19));
    }
    const std::vector<LinePiece> pieces = Cut({line});
    ASSERT_EQ(pieces.size(), 2U);
    // The middle is at 245; the gap after "fox" (220-227) is nearer than the one after "jumps".
    EXPECT_EQ(Right(pieces[0].crop), 223);
    ExpectWordsKeptWhole({line}, pieces);
}

// "今天天气很好，我们一起去公园散步。" as the layout finds it: two words, the first ending in a
// comma (a small low blob) four pixels after the ink of the character before it.
TextLine ChineseLine() {
    TextLine line;
    line.box = {19, 22, 325, 18};
    line.words = {{{19, 22, 126, 18}, {141, 35, 4, 5}, 137}, {{159, 22, 185, 18}, {338, 35, 6, 5}, 337}};
    return line;
}

TEST(CutIntoPiecesTest, ChineseMarkBeforeTheCutStartsTheNextPiece) {
    const std::vector<LinePiece> chinese = Cut({ChineseLine()}, true);
    ASSERT_EQ(chinese.size(), 2U);
    EXPECT_EQ(Right(chinese[0].crop), 139);
    EXPECT_EQ(chinese[1].crop.left, 139);
    // More white above and below for Chinese (0.6 of the height, 11 px), but only the end of the
    // line gets white after it.
    EXPECT_EQ(chinese[0].crop.top, 11);
    EXPECT_EQ(chinese[0].crop.height, 18 + 22);
    EXPECT_EQ(chinese[0].whiteAfterForChinese, 0);
    EXPECT_EQ(chinese[1].whiteAfterForChinese, 9);
    // Latin text keeps its marks (a full stop after a word): cut in the gap, each piece with as
    // much of its white as it has before and after the line (0.3 of the height).
    const std::vector<LinePiece> latin = Cut({ChineseLine()}, false);
    ASSERT_EQ(latin.size(), 2U);
    EXPECT_EQ(Right(latin[0].crop), 150);
    EXPECT_EQ(latin[1].crop.left, 154);
}

TEST(CutIntoPiecesTest, OnlyASmallLowBlobApartFromTheCharacterIsAMark) {
    TextLine tall = ChineseLine();
    tall.words[0].lastBlob = {141, 23, 4, 17}; // the stroke of an exclamation mark
    TextLine high = ChineseLine();
    high.words[0].lastBlob = {141, 22, 4, 5}; // a closing quote
    TextLine touching = ChineseLine();
    touching.words[0].inkBeforeLastBlob = 141; // no white between the character and the blob
    TextLine alone = ChineseLine();
    alone.words[0] = {{139, 22, 6, 18}, {141, 35, 4, 5}, 139}; // a word that is just the blob
    for (const TextLine& line : {tall, high, touching, alone}) {
        const std::vector<LinePiece> pieces = Cut({line}, true);
        ASSERT_EQ(pieces.size(), 2U);
        EXPECT_EQ(Right(pieces[0].crop), 150);
    }
}

TEST(CutIntoPiecesTest, NarrowGapsAndShortLinesAreNeverCut) {
    // Gaps under a quarter of the line's height may lie within a character.
    const TextLine tight = Line(10, 20, 20, 30, 4);
    EXPECT_EQ(Cut({tight}).size(), 1U);
    // One word: nowhere to cut.
    EXPECT_EQ(Cut({Line(10, 20, 1, 700, 0)}).size(), 1U);
    // Under 16 heights: two pieces would each be narrower than the fixed cost is worth.
    EXPECT_EQ(Cut({Line(10, 20, 6, 40, 10)}).size(), 1U);
}

TEST(CutIntoPiecesTest, ColumnsAreAlwaysCutApart) {
    // Twelve short lines: each is far under its share of the work, but the first one holds two
    // columns 90 px apart, read without the white between them.
    std::vector<TextLine> page;
    for (int k = 0; k < 12; ++k) {
        page.push_back(Line(10 + 30 * k, 20, 3, 40, 10));
    }
    page[0].words.push_back(Word(250, 10, 40, 20));
    page[0].box.width = 270;
    const std::vector<LinePiece> pieces = Cut(page);
    ASSERT_EQ(pieces.size(), page.size() + 1);
    EXPECT_EQ(pieces[0].line, 0U);
    EXPECT_EQ(pieces[1].line, 0U);
    EXPECT_EQ(Right(pieces[0].crop), 166);
    EXPECT_EQ(pieces[1].crop.left, 244);
    EXPECT_FALSE(pieces[0].startsColumn);
    EXPECT_TRUE(pieces[1].startsColumn);
    ExpectWordsKeptWhole(page, pieces);
    // A cut for the threads' sake starts no column.
    for (const LinePiece& piece : Cut({Line(10, 20, 32, 40, 10)})) {
        EXPECT_FALSE(piece.startsColumn);
    }
}

TEST(CutIntoPiecesTest, EachThreadGetsAboutTwoPiecesOfEvenWidth) {
    // 1590 px: four pieces of about 400 px for two threads.
    const TextLine line = Line(10, 20, 32, 40, 10);
    const std::vector<LinePiece> pieces = Cut({line});
    ASSERT_EQ(pieces.size(), 4U);
    for (const LinePiece& piece : pieces) {
        EXPECT_NEAR(piece.crop.width, 1602 / 4, 30);
    }
    ExpectWordsKeptWhole({line}, pieces);

    // Many lines share the work well enough whole.
    std::vector<TextLine> page;
    for (int k = 0; k < 12; ++k) {
        page.push_back(Line(10 + 30 * k, 20, 8, 40, 10));
    }
    const std::vector<LinePiece> whole = Cut(page);
    EXPECT_EQ(whole.size(), page.size());
    ExpectWordsKeptWhole(page, whole);
    EXPECT_TRUE(Cut({}).empty());
}

TEST(WidestFirstTest, OrdersByWidthKeepingTiesInPlace) {
    const std::vector<LinePiece> pieces = {
        {0, {0, 0, 100, 20}}, {0, {100, 0, 300, 20}}, {1, {0, 30, 100, 20}}, {2, {0, 60, 200, 20}}};
    EXPECT_EQ(WidestFirst(pieces), (std::vector<size_t>{1, 3, 0, 2}));
    EXPECT_TRUE(WidestFirst({}).empty());
}

TEST(SelectedRunsTest, JoinsSelectedPiecesNextToEachOtherOnTheSameLine) {
    const std::vector<LinePiece> pieces = {
        {0, {0, 0, 100, 20}},  {0, {100, 0, 100, 20}}, {0, {200, 0, 100, 20}, 0, 0, 10},
        {1, {0, 30, 100, 20}}, {2, {0, 60, 100, 20}},  {2, {100, 60, 50, 20}}};
    const std::vector<PieceRun> runs = SelectedRuns(pieces, {false, true, true, true, true, true}, {});
    ASSERT_EQ(runs.size(), 3U);
    EXPECT_EQ(runs[0].first, 1U);
    EXPECT_EQ(runs[0].count, 2U);
    EXPECT_EQ(runs[0].piece.line, 0U);
    EXPECT_EQ(runs[0].piece.crop.left, 100);
    EXPECT_EQ(runs[0].piece.crop.width, 200);
    // The run ends the line as its last piece does.
    EXPECT_EQ(runs[0].piece.whiteAfterForChinese, 10);
    // The next line's piece starts a run of its own, though it follows in the list.
    EXPECT_EQ(runs[1].first, 3U);
    EXPECT_EQ(runs[1].count, 1U);
    EXPECT_EQ(runs[2].first, 4U);
    EXPECT_EQ(runs[2].piece.crop.width, 150);
    EXPECT_TRUE(SelectedRuns(pieces, std::vector<bool>(pieces.size(), false), {}).empty());
    EXPECT_EQ(SelectedRuns(pieces, {true, false, true}, {}).size(), 2U);
}

TEST(SelectedRunsTest, ColumnsAreReadAgainApartUnlessTheLineAsks) {
    // Two buttons side by side: read again as one piece, the model sees the white between them
    // as part of the text and reads neither.
    LinePiece second{0, {200, 0, 100, 20}};
    second.startsColumn = true;
    const std::vector<LinePiece> pieces = {{0, {0, 0, 100, 20}}, second};
    const std::vector<PieceRun> runs = SelectedRuns(pieces, {true, true}, {false});
    ASSERT_EQ(runs.size(), 2U);
    EXPECT_EQ(runs[0].piece.crop.width, 100);
    EXPECT_EQ(runs[1].first, 1U);
    // A line that asks for it is read again across its columns.
    const std::vector<PieceRun> joined = SelectedRuns(pieces, {true, true}, {true});
    ASSERT_EQ(joined.size(), 1U);
    EXPECT_EQ(joined[0].count, 2U);
    EXPECT_EQ(joined[0].piece.crop.width, 300);
}

TEST(LatinConfidenceTest, TooFewCharactersForTheWidthMeanNoConfidence) {
    // Four Chinese characters 20 px high take about 80 px; the Latin model may read them as a
    // four-letter word it is sure of. Latin letters take about 10 px.
    const std::vector<TextLine> lines = {Line(0, 20, 2, 40, 10)};
    const LinePiece piece{0, {0, 0, 80, 20}};
    EXPECT_EQ(LatinConfidence(lines, piece, {"BERT", 89}), 0);
    EXPECT_EQ(LatinConfidence(lines, piece, {"Open it", 89}), 89);
    EXPECT_EQ(LatinConfidence(lines, piece, {"", 0}), 0);
    EXPECT_EQ(LatinConfidence(lines, {5, {0, 0, 80, 20}}, {"Open it", 89}), 0);
}

TEST(IsMostlyChineseTest, CountsChineseCharactersAgainstAllButSpaces) {
    EXPECT_TRUE(IsMostlyChinese("今天天气很好，"));
    EXPECT_TRUE(IsMostlyChinese("版本 3.14 发布了"));
    EXPECT_FALSE(IsMostlyChinese("Version 3.14 版本"));
    EXPECT_FALSE(IsMostlyChinese("The quick brown fox"));
    EXPECT_FALSE(IsMostlyChinese(""));
    EXPECT_FALSE(IsMostlyChinese("   "));
}

// A line 20 high whose blobs have the given heights.
TextLine Blobs(std::vector<int> heights) {
    TextLine line = Line(0, 20, 1, 200, 0);
    line.blobHeights = std::move(heights);
    return line;
}

TEST(LooksChineseTest, LinesOfBlobsAsHighAsTheLineLookChinese) {
    // "typing": x-height letters with an ascender or descender here and there.
    EXPECT_FALSE(LooksChinese(Blobs({15, 14, 15, 10, 10, 14})));
    // All-caps words and digits with a few lower letters: not Chinese either.
    EXPECT_FALSE(LooksChinese(Blobs({20, 20, 10, 10, 10, 20, 10})));
    // Characters of the full height, a few split into lower parts beside each other or a flat "一".
    EXPECT_TRUE(LooksChinese(Blobs({20, 19, 20, 4, 18, 20, 12})));
    // Characters set a terminal cell apart are no less square.
    TextLine spaced = Line(0, 20, 6, 20, 20);
    spaced.blobHeights = {19, 20, 18, 20, 20, 19};
    EXPECT_TRUE(LooksChinese(spaced));
    EXPECT_FALSE(LooksChinese(Blobs({})));
}

TEST(CutIntoPiecesTest, EachLineIsPaddedForItsOwnScript) {
    const std::vector<TextLine> lines = {Line(50, 20, 2, 40, 10), Line(150, 20, 2, 40, 10)};
    const std::vector<LinePiece> pieces = CutIntoPieces(lines, 2, {false, true});
    ASSERT_EQ(pieces.size(), 2u);
    // Chinese text gets more white above and below (0.6 of the height, Latin 0.4).
    EXPECT_EQ(pieces[0].crop.height, 8 + 20 + 8);
    EXPECT_EQ(pieces[1].crop.height, 12 + 20 + 12);
}

TEST(IsNoTextTest, OnlyWideStretchesReadWithLittleConfidenceAreNoText) {
    const std::vector<TextLine> lines = {Line(0, 20, 1, 400, 0)};
    LinePiece bar{0, {0, 0, 400, 30}, 0, 0, 0};
    LinePiece word{0, {0, 0, 60, 30}, 0, 0, 0};
    // A title bar's gradient read as garbage.
    EXPECT_TRUE(IsNoText(lines, bar, {"ERTECEEEEnnnnanana", 12, 0}));
    // A long line read well, though unsure of a word.
    EXPECT_FALSE(IsNoText(lines, bar, {"Log in using the Openbox window manager", 90, 20}));
    // A short word the model is unsure of is kept: it may be a name it does not know.
    EXPECT_FALSE(IsNoText(lines, word, {"Flameshot", 0, 0}));
    // Just under ten line heights is not wide enough.
    bar.crop.width = 199;
    EXPECT_FALSE(IsNoText(lines, bar, {"eee", 5, 5}));
    EXPECT_FALSE(IsNoText(lines, LinePiece{3, {0, 0, 400, 30}, 0, 0, 0}, {"eee", 5, 5}));
}

TEST(JoinPiecesTest, LatinPiecesGetASpaceChinesePiecesNone) {
    const std::vector<LinePiece> pieces = {{0, {0, 0, 100, 20}},
                                           {0, {100, 0, 300, 20}},
                                           {1, {0, 30, 200, 20}},
                                           {1, {200, 30, 200, 20}},
                                           {2, {0, 60, 50, 20}}};
    const std::vector<PieceReading> readings = {
        {"The quick", 90}, {"brown fox.", 70}, {"今天天气很好，", 20}, {"我们一起去公园。", 40}, {"", 0}};
    EXPECT_EQ(JoinPieces(pieces, readings, 0), "The quick brown fox.");
    EXPECT_EQ(JoinPieces(pieces, readings, 1), "今天天气很好，我们一起去公园。");
    EXPECT_EQ(JoinPieces(pieces, readings, 2), "");
    EXPECT_EQ(JoinPieces(pieces, readings, 7), "");
}

TEST(JoinPiecesTest, MarkStartingAPieceJoinsTheWordBeforeAndEmptyPiecesAddNothing) {
    const std::vector<LinePiece> pieces = {{0, {0, 0, 100, 20}}, {0, {100, 0, 100, 20}}, {0, {200, 0, 100, 20}}};
    EXPECT_EQ(JoinPieces(pieces, {{"over the fox", 90}, {". Then", 90}, {"", 0}}, 0), "over the fox. Then");
    EXPECT_EQ(JoinPieces(pieces, {{"今天天气很好", 90}, {"", 0}, {"，我们", 90}}, 0), "今天天气很好，我们");
    EXPECT_EQ(JoinPieces(pieces, {{"版本", 90}, {"", 0}, {"3.14", 90}}, 0), "版本 3.14");
}

TEST(JoinPiecesTest, ColumnsKeepASpaceBetweenThem) {
    std::vector<LinePiece> pieces = {{0, {0, 0, 100, 20}}, {0, {100, 0, 100, 20}}, {0, {300, 0, 100, 20}}};
    pieces[2].startsColumn = true;
    EXPECT_EQ(JoinPieces(pieces, {{"火焰", 90}, {"截图", 90}, {"屏幕截图软件", 90}}, 0), "火焰截图 屏幕截图软件");
    EXPECT_EQ(JoinPieces(pieces, {{"复制", 90}, {"", 0}, {"取消", 90}}, 0), "复制 取消");
    EXPECT_EQ(JoinPieces(pieces, {{"", 0}, {"", 0}, {"取消", 90}}, 0), "取消");
    // A mark read at the start of a column ends the column before it.
    EXPECT_EQ(JoinPieces(pieces, {{"这是", 90}, {"手册页", 90}, {"。tar是", 90}}, 0), "这是手册页。 tar是");
    EXPECT_EQ(JoinPieces(pieces, {{"of", 90}, {"1000)", 90}, {". Binary", 90}}, 0), "of 1000). Binary");
    EXPECT_EQ(JoinPieces(pieces, {{"页", 90}, {"", 0}, {"。", 90}}, 0), "页。");
}

} // namespace
} // namespace tovrik::standin
