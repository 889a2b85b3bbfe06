#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tovrik::standin {

// A rectangle in pixels of the picture as sent.
struct PixelBox {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// A word as the layout analysis finds it, with its last blob (a piece of connected ink) and where
// the word's other ink ends (at box.left when the word is a single blob).
struct TextWord {
    PixelBox box;
    PixelBox lastBlob;
    int inkBeforeLastBlob = 0;
};

// A text line found by the layout analysis, with its words left to right and the heights of
// its blobs.
struct TextLine {
    PixelBox box;
    std::vector<TextWord> words;
    std::vector<int> blobHeights;
};

// A part of a text line read on its own: whole words and some white around them. The crop is
// taken from the picture, and white rows are added above and below where the lines are closer
// than the white wanted. At the end of a line the Chinese model gets white columns after it as
// well: a full stop (。) followed by less white than its square holds reads as a Latin one, or
// not at all; the Latin model reads marks into white. A piece that starts after a gap between
// columns (two buttons, a list's cells) is read apart from the piece before it.
struct LinePiece {
    size_t line = 0;
    PixelBox crop;
    int whiteAbove = 0;
    int whiteBelow = 0;
    int whiteAfterForChinese = 0;
    bool startsColumn = false;
};

// The Latin model's confidence, of a word or of a character, in Latin text it reads well: 75 to
// 96 on Latin text, mostly under 45 on Chinese, where a word of two characters may still reach 55.
inline constexpr int kSureLatin = 70;

// A character as the model read it: where it stands in the model's text (`at`, in bytes) and
// its ink in the picture as sent (left to right excluded), whether a word starts with it, and the
// model's confidence in it.
struct ReadSymbol {
    std::string text;
    size_t at = 0;
    int left = 0;
    int right = 0;
    bool startsWord = false;
    int confidence = 0;
};

// What a model read in a piece: the text cleaned, its mean confidence over the words and its
// confidence in the word it is least sure of; and the model's text as it came, character by
// character.
struct PieceReading {
    std::string text;
    int confidence = 0;
    int weakest = 0;
    std::string raw{};
    std::vector<ReadSymbol> symbols{};
};

// A selection often takes in a bit of a window's frame, a scroll bar or a rule beside the text,
// and a dialog has its icon beside the first lines of its message, which the layout analysis
// counts as a word of the line: far taller than the line's letters, it makes the line as tall as
// itself and the model then reads the text at the wrong size (or not at all). Such words (over
// 2.2 times the median height of the line's words) are dropped and the line shrinks to the words
// left. So are the leftovers of a button's frame: its vertical edge (a line at most 2 px wide, at
// least 0.9 times that height and over 1.5 times it away from the words beside it: the edge of a
// button, or between two) and bits of its corners (at most 2 px high) above or below the text.
void DropFrames(std::vector<TextLine>& lines);

// True when the line may begin with a check box or its check mark: a first word about as wide as
// high (half to 1.1 times), at least 0.6 times as high as the line, and apart from the next word
// by more than 0.6 times the line's height (a proportional font's space is a third of it).
[[nodiscard]] bool StartsWithMark(const TextLine& line);

// A check box or its mark before a label is no text, and read with it, it is read as a letter or
// a character ("V", "J", "尽"): the first word of a line that starts with one goes.
void DropMarks(std::vector<TextLine>& lines);

// A window's title bar (`width` pixels wide) holds its title and, apart from it at its ends, the
// window's icon and buttons (read as "xx", "ooo" or worse). Runs of words part at gaps over twice
// the line's height; the title is the widest run that keeps that far from both ends of the bar
// (the widest of all when none does). The other runs are dropped and the line shrinks to it.
void KeepTitle(TextLine& line, int width);

// The recognition costs about as much as the width it reads, so lines are cut into pieces small
// enough for the given number of threads to share the work evenly: a line wider than its share
// is cut at the word gaps nearest to an even split. Gaps narrower than a quarter of the line's
// height are never cut (they may lie within a character); lines without such gaps stay whole.
// Gaps over 1.5 line heights wide part columns, maybe in different scripts, and are always cut.
// The pieces come line by line, left to right.
//
// Chinese text has wide gaps only after its marks (，。、), and the model takes a mark that ends
// a piece for a Latin one; so for Chinese a small blob ending the word before the cut goes with
// the piece after it, where the model sees the mark with the text that follows it.
// `chinese` tells for each line whether it is read as Chinese.
[[nodiscard]] std::vector<LinePiece> CutIntoPieces(const std::vector<TextLine>& lines, size_t threads,
                                                   const std::vector<bool>& chinese);

// A guess of a line's script, to pick the model that reads it first: Chinese characters are
// square blobs as high as the line (or nearly: "一", "口" and the parts of a character beside
// each other are lower), where most Latin letters stand only the x-height, about half of a line
// that holds ascenders and descenders; so the line looks Chinese when its median blob is at
// least four fifths of its height. Words or the share of long ones tell less: a terminal sets
// Chinese characters a cell apart, and long English words are as wide as Chinese runs.
[[nodiscard]] bool LooksChinese(const TextLine& line);

// The order in which threads taking the next piece when free finish at about the same time:
// widest first.
[[nodiscard]] std::vector<size_t> WidestFirst(const std::vector<LinePiece>& pieces);

// The Latin model's confidence in its reading of a piece, or 0 when the reading has too few
// characters for the piece's width: Latin letters are about half as wide as the line is high,
// Chinese characters as wide, and the Latin model may read four of them as a word it is sure of.
[[nodiscard]] int LatinConfidence(const std::vector<TextLine>& lines, const LinePiece& piece,
                                  const PieceReading& reading);

// A wide stretch of a line read with little confidence holds no text: a title bar's gradient with
// its window buttons, the edge of a frame or a shadow, which the models read as a run of Latin
// garbage. True for a piece at least ten line heights wide whose reading has a confidence under 30
// (real text that wide, even misread in places, scores over 70).
[[nodiscard]] bool IsNoText(const std::vector<TextLine>& lines, const LinePiece& piece, const PieceReading& reading);

// True when at least half of the text's characters (spaces aside) are Chinese.
[[nodiscard]] bool IsMostlyChinese(std::string_view utf8);

// Pieces of a line next to each other that are selected, as one piece each (to be read again by
// another model), and where they are among the pieces. A run ends at a gap between columns
// unless `joinColumns` (indexed by line) says otherwise: two Chinese buttons read again as one
// piece, with the white between them, read as neither; a terminal's sentence that goes on after
// two spaces reads better whole.
struct PieceRun {
    LinePiece piece;
    size_t first = 0;
    size_t count = 0;
};
[[nodiscard]] std::vector<PieceRun> SelectedRuns(const std::vector<LinePiece>& pieces,
                                                 const std::vector<bool>& selected,
                                                 const std::vector<bool>& joinColumns);

// The pieces of one line read back into one: a space between Latin pieces and between columns,
// none between Chinese characters of a column or before a mark that starts a piece.
[[nodiscard]] std::string JoinPieces(const std::vector<LinePiece>& pieces, const std::vector<PieceReading>& readings,
                                     size_t line);

} // namespace tovrik::standin
