#include "OcrPieces.h"

#include "OcrText.h"
#include "Utf8.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>
#include <numeric>

namespace tovrik::standin {

namespace {

// White around the text, in tenths of the line's height. The model scales what it reads to a
// fixed height, so more white above and below makes it read fewer columns: a quarter less time
// at 0.4 than with the 4 px tesseract leaves, a fifth less again at 0.6. Latin text loses
// characters past 0.4, Chinese past 0.6. Before and after the text the model wants little white:
// long runs of it make it drop spaces and read marks into them.
constexpr int kPaddingTenths = 4;
constexpr int kChinesePaddingTenths = 6;
constexpr int kSidePaddingTenths = 3;
// White after the end of a line for the Chinese model (see LinePiece).
constexpr int kChineseEndTenths = 5;
// Never cut a line into pieces narrower than this many line heights: pieces that short only
// add the fixed cost of a reading.
constexpr int kMinPieceHeights = 8;
// A gap at least this fraction of the line's height parts words; narrower ones may lie within a
// character (several strokes of a Chinese character, for one).
constexpr int kMinGapDivisor = 4;
// A reading of Latin text has a character for at most this many tenths of the line's height.
constexpr int kLatinCharTenths = 8;
// A piece this many line heights wide read with a confidence under kNoTextConfidence holds no text.
constexpr int kNoTextHeights = 10;
constexpr int kNoTextConfidence = 30;
// A line whose median blob is this many tenths of its height high looks Chinese.
constexpr int kChineseBlobTenths = 8;
// Text this many tenths of a line height apart is in columns (or table cells), possibly in
// different scripts: always read apart.
constexpr int kColumnGapTenths = 15;
// A word this many tenths as high as the line's median word is no text (a frame, a rule, an
// icon beside the first lines of a message). Latin words range from the x-height ("on") to
// ascender plus descender ("help"), 1.8 to 2 times it; a dialog's icon stands 2.3 to 2.6 times as
// high as the text beside it.
constexpr int kFrameTenths = 22;
// What is left of a button's or a field's frame beside its text: a vertical edge (no wider than
// this, about as high as the text's words and standing apart from them, where a "|" or an "l"
// stands a space from its neighbours) or a bit of its rounded corner above or below the text.
constexpr int kEdgeThickness = 2;
constexpr int kEdgeTenths = 9;
constexpr int kEdgeGapTenths = 15;
constexpr int kMarkTenths = 6;
// A blob at most this fraction of the line's height wide and high may be a mark.
constexpr int kMarkDivisor = 2;

int Right(const PixelBox& box) {
    return box.left + box.width;
}
int Bottom(const PixelBox& box) {
    return box.top + box.height;
}

int Tenths(int height, int tenths) {
    return (height * tenths + 5) / 10;
}

// The line's box with the white around it, half way at most to the lines next to it so that no
// piece shows part of another line; white rows make up for what is missing above and below.
LinePiece PaddedLine(const std::vector<TextLine>& lines, size_t index, int paddingTenths) {
    const PixelBox& box = lines[index].box;
    const int padding = Tenths(box.height, paddingTenths);
    int above = padding, below = padding, before = Tenths(box.height, kSidePaddingTenths), after = before;
    for (size_t other = 0; other < lines.size(); ++other) {
        const PixelBox& near = lines[other].box;
        if (other == index) {
            continue;
        }
        const bool sideBySide = near.top < Bottom(box) && box.top < Bottom(near);
        const bool stacked = near.left < Right(box) && box.left < Right(near);
        if (stacked && Bottom(near) <= box.top) {
            above = std::min(above, (box.top - Bottom(near)) / 2);
        } else if (stacked && near.top >= Bottom(box)) {
            below = std::min(below, (near.top - Bottom(box)) / 2);
        } else if (sideBySide && Right(near) <= box.left) {
            before = std::min(before, (box.left - Right(near)) / 2);
        } else if (sideBySide && near.left >= Right(box)) {
            after = std::min(after, (near.left - Right(box)) / 2);
        }
    }
    const int left = std::max(0, box.left - before);
    const int top = std::max(0, box.top - above);
    return {index,
            {left, top, Right(box) + after - left, Bottom(box) + below - top},
            padding - (box.top - top),
            padding - below};
}

// Where a line may be cut: where the piece before the cut ends and the one after it starts
// (the gap's white, but no more of it than around the line), the middle of the gap, and
// whether the gap parts columns.
struct Cut {
    int end = 0;
    int start = 0;
    int middle = 0;
    bool wide = false;
};

std::vector<Cut> PossibleCuts(const TextLine& line, bool chinese) {
    std::vector<TextWord> words = line.words;
    std::sort(words.begin(), words.end(), [](const TextWord& a, const TextWord& b) { return a.box.left < b.box.left; });
    const int height = line.box.height;
    const int markSize = height / kMarkDivisor;
    const int white = Tenths(height, kSidePaddingTenths);
    std::vector<Cut> cuts;
    int inkEnd = words.empty() ? 0 : Right(words[0].box);
    for (size_t k = 1; k < words.size(); ++k) {
        const TextWord& before = words[k - 1];
        const int next = words[k].box.left;
        const int gap = next - inkEnd;
        if (gap >= std::max(1, height / kMinGapDivisor)) {
            const int middle = (inkEnd + next) / 2;
            const PixelBox& mark = before.lastBlob;
            // A mark (，。、) is small, sits low, and stands apart from the character before it.
            const bool endsInMark = chinese && Right(mark) == inkEnd && mark.width <= markSize &&
                                    mark.height <= markSize && mark.top >= line.box.top + height / 2 &&
                                    mark.left > before.inkBeforeLastBlob && before.inkBeforeLastBlob > before.box.left;
            const bool wide = 10 * gap >= kColumnGapTenths * height;
            if (endsInMark) {
                const int x = (before.inkBeforeLastBlob + mark.left + 1) / 2;
                cuts.push_back({x, x, middle, wide});
            } else {
                cuts.push_back({std::min(middle, inkEnd + white), std::max(middle, next - white), middle, wide});
            }
        }
        inkEnd = std::max(inkEnd, Right(words[k].box));
    }
    return cuts;
}

// Where the line is cut, left to right: at every gap between columns, and between them into
// pieces of about `share` (but not under kMinPieceHeights) at the gaps nearest to an even split.
std::vector<Cut> Cuts(const TextLine& line, long share, bool chinese) {
    const std::vector<Cut> possible = PossibleCuts(line, chinese);
    const long narrowest = std::max(1, kMinPieceHeights * line.box.height);
    std::vector<Cut> cuts;
    int from = line.box.left;
    auto cutColumn = [&](int to) {
        const long width = to - from;
        const long count = std::clamp((width + share - 1) / share, 1L, std::max(1L, width / narrowest));
        for (long piece = 1; piece < count; ++piece) {
            const auto target = static_cast<int>(from + width * piece / count);
            const int after = cuts.empty() ? from : std::max(from, cuts.back().middle);
            const Cut* nearest = nullptr;
            for (const Cut& cut : possible) {
                if (cut.middle > after && cut.middle < to &&
                    (nearest == nullptr || std::abs(cut.middle - target) < std::abs(nearest->middle - target))) {
                    nearest = &cut;
                }
            }
            if (nearest != nullptr) {
                cuts.push_back(*nearest);
            }
        }
    };
    for (const Cut& cut : possible) {
        if (cut.wide) {
            cutColumn(cut.middle);
            cuts.push_back(cut);
            from = cut.middle;
        }
    }
    cutColumn(Right(line.box));
    return cuts;
}

// The box of the words (at least one).
PixelBox Enclosing(const std::vector<TextWord>& words) {
    PixelBox box = words.front().box;
    for (const TextWord& word : words) {
        const int right = std::max(Right(box), Right(word.box));
        const int bottom = std::max(Bottom(box), Bottom(word.box));
        box.left = std::min(box.left, word.box.left);
        box.top = std::min(box.top, word.box.top);
        box.width = right - box.left;
        box.height = bottom - box.top;
    }
    return box;
}

} // namespace

void DropFrames(std::vector<TextLine>& lines) {
    for (TextLine& line : lines) {
        std::vector<int> heights;
        for (const TextWord& word : line.words) {
            heights.push_back(word.box.height);
        }
        if (heights.size() < 2) {
            continue;
        }
        // The lower median: of an icon and the one word beside it, the word.
        const size_t middle = (heights.size() - 1) / 2;
        std::nth_element(heights.begin(), heights.begin() + static_cast<long>(middle), heights.end());
        const int typical = heights[middle];
        const int limit = kFrameTenths * typical / 10;
        // Where the line's text stands: from the top to the bottom of its words of some height.
        int textTop = INT_MAX;
        int textBottom = INT_MIN;
        for (const TextWord& word : line.words) {
            if (2 * word.box.height >= typical) {
                textTop = std::min(textTop, word.box.top);
                textBottom = std::max(textBottom, Bottom(word.box));
            }
        }
        std::vector<TextWord> kept;
        for (const TextWord& word : line.words) {
            const PixelBox& box = word.box;
            // An edge stands apart from the text: a "|" within the text stays.
            int before = INT_MAX;
            int after = INT_MAX;
            for (const TextWord& other : line.words) {
                const bool thin = other.box.width <= kEdgeThickness || other.box.height <= kEdgeThickness;
                if (&other != &word && !thin) {
                    before = Right(other.box) <= box.left ? std::min(before, box.left - Right(other.box)) : before;
                    after = other.box.left >= Right(box) ? std::min(after, other.box.left - Right(box)) : after;
                }
            }
            const bool edge = box.width <= kEdgeThickness && 10 * box.height > kEdgeTenths * typical &&
                              10 * static_cast<long>(std::min(before, after)) >= kEdgeGapTenths * typical;
            const bool sliver = box.height <= kEdgeThickness && (Bottom(box) <= textTop || box.top >= textBottom);
            if (box.height <= limit && !edge && !sliver) {
                kept.push_back(word);
            }
        }
        line.words = std::move(kept);
        line.box = Enclosing(line.words);
    }
}

bool StartsWithMark(const TextLine& line) {
    if (line.words.size() < 2) {
        return false;
    }
    const PixelBox& mark = line.words[0].box;
    const int gap = line.words[1].box.left - Right(mark);
    const int height = line.box.height;
    return 2 * mark.width >= mark.height && 10 * mark.width <= 11 * mark.height &&
           10 * mark.height >= kMarkTenths * height && 10 * gap > kMarkTenths * height;
}

void DropMarks(std::vector<TextLine>& lines) {
    for (TextLine& line : lines) {
        if (StartsWithMark(line)) {
            line.words.erase(line.words.begin());
            line.box = Enclosing(line.words);
        }
    }
}

void KeepTitle(TextLine& line, int width) {
    if (line.words.empty()) {
        return;
    }
    const int gap = 2 * line.box.height;
    size_t bestFirst = 0;
    size_t bestCount = 0;
    int bestWidth = -1;
    bool bestInside = false;
    for (size_t first = 0; first < line.words.size();) {
        size_t end = first + 1;
        while (end < line.words.size() && line.words[end].box.left - Right(line.words[end - 1].box) <= gap) {
            ++end;
        }
        const int left = line.words[first].box.left;
        const int right = Right(line.words[end - 1].box);
        const bool inside = left > gap && right < width - gap;
        if ((inside && !bestInside) || (inside == bestInside && right - left > bestWidth)) {
            bestFirst = first;
            bestCount = end - first;
            bestWidth = right - left;
            bestInside = inside;
        }
        first = end;
    }
    line.words.erase(line.words.begin() + static_cast<long>(bestFirst + bestCount), line.words.end());
    line.words.erase(line.words.begin(), line.words.begin() + static_cast<long>(bestFirst));
    line.box = Enclosing(line.words);
}

std::vector<LinePiece> CutIntoPieces(const std::vector<TextLine>& lines, size_t threads,
                                     const std::vector<bool>& chinese) {
    const long total = std::accumulate(lines.begin(), lines.end(), 0L,
                                       [](long sum, const TextLine& line) { return sum + line.box.width; });
    // Twice as many pieces as threads leaves the threads little to wait for at the end.
    const auto parts = static_cast<long>(2 * std::max<size_t>(1, threads));
    const long share = std::max(1L, (total + parts - 1) / parts);
    std::vector<LinePiece> pieces;
    for (size_t index = 0; index < lines.size(); ++index) {
        const TextLine& line = lines[index];
        const bool lineChinese = index < chinese.size() && chinese[index];
        const LinePiece whole = PaddedLine(lines, index, lineChinese ? kChinesePaddingTenths : kPaddingTenths);
        LinePiece piece = whole;
        for (const Cut& cut : Cuts(line, share, lineChinese)) {
            piece.crop.width = cut.end - piece.crop.left;
            pieces.push_back(piece);
            piece.crop.left = cut.start;
            piece.startsColumn = cut.wide;
        }
        piece.crop.width = Right(whole.crop) - piece.crop.left;
        piece.whiteAfterForChinese = Tenths(line.box.height, kChineseEndTenths);
        pieces.push_back(piece);
    }
    return pieces;
}

int LatinConfidence(const std::vector<TextLine>& lines, const LinePiece& piece, const PieceReading& reading) {
    if (piece.line >= lines.size()) {
        return 0;
    }
    const int height = lines[piece.line].box.height;
    const long characters = static_cast<long>(DecodeUtf8(reading.text).size());
    const long widest = characters * Tenths(height, kLatinCharTenths) + 2 * Tenths(height, kSidePaddingTenths);
    return characters > 0 && piece.crop.width > widest ? 0 : reading.confidence;
}

bool IsNoText(const std::vector<TextLine>& lines, const LinePiece& piece, const PieceReading& reading) {
    return piece.line < lines.size() && reading.confidence < kNoTextConfidence &&
           piece.crop.width >= kNoTextHeights * lines[piece.line].box.height;
}

bool IsMostlyChinese(std::string_view utf8) {
    long chinese = 0;
    long all = 0;
    for (const char32_t c : DecodeUtf8(utf8)) {
        all += c != ' ' ? 1 : 0;
        chinese += IsCjk(c) ? 1 : 0;
    }
    return all > 0 && 2 * chinese >= all;
}

std::vector<PieceRun> SelectedRuns(const std::vector<LinePiece>& pieces, const std::vector<bool>& selected,
                                   const std::vector<bool>& joinColumns) {
    std::vector<PieceRun> runs;
    for (size_t k = 0; k < pieces.size() && k < selected.size(); ++k) {
        if (!selected[k]) {
            continue;
        }
        PieceRun* last = runs.empty() ? nullptr : &runs.back();
        if (last != nullptr && last->first + last->count == k && last->piece.line == pieces[k].line &&
            (!pieces[k].startsColumn || (pieces[k].line < joinColumns.size() && joinColumns[pieces[k].line]))) {
            last->piece.crop.width = Right(pieces[k].crop) - last->piece.crop.left;
            last->piece.whiteAfterForChinese = pieces[k].whiteAfterForChinese;
            ++last->count;
        } else {
            runs.push_back({pieces[k], k, 1});
        }
    }
    return runs;
}

bool LooksChinese(const TextLine& line) {
    std::vector<int> heights = line.blobHeights;
    if (heights.empty()) {
        return false;
    }
    std::nth_element(heights.begin(), heights.begin() + static_cast<long>(heights.size() / 2), heights.end());
    return 10 * heights[heights.size() / 2] >= kChineseBlobTenths * line.box.height;
}

std::vector<size_t> WidestFirst(const std::vector<LinePiece>& pieces) {
    std::vector<size_t> order(pieces.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return pieces[a].crop.width > pieces[b].crop.width; });
    return order;
}

std::string JoinPieces(const std::vector<LinePiece>& pieces, const std::vector<PieceReading>& readings, size_t line) {
    static constexpr std::string_view kTrailingMarks = ",.;:!?";
    static constexpr std::array<std::string_view, 13> kMarks = {",",  ".",  ";",  ":",  "!",  "?", "，",
                                                                "。", "、", "；", "：", "！", "？"};
    std::string text;
    std::string column;
    auto endColumn = [&] {
        // CleanLine drops the space again where it falls between two Chinese characters.
        column = CleanLine(column);
        text += text.empty() || column.empty() ? "" : " ";
        text += column;
        column.clear();
    };
    for (size_t k = 0; k < pieces.size() && k < readings.size(); ++k) {
        std::string_view part = readings[k].text;
        if (pieces[k].line != line || part.empty()) {
            continue;
        }
        if (pieces[k].startsColumn) {
            // A mark read at the start of a column ends the text before it: the wide gap is the
            // space after a full stop or a comma.
            for (const std::string_view mark : kMarks) {
                if (!column.empty() && part.starts_with(mark)) {
                    column += mark;
                    part.remove_prefix(mark.size());
                    break;
                }
            }
            endColumn();
            part.remove_prefix(std::min(part.size(), part.find_first_not_of(' ')));
            if (part.empty()) {
                continue;
            }
        }
        column += column.empty() || kTrailingMarks.find(part.front()) != std::string_view::npos ? "" : " ";
        column += part;
    }
    endColumn();
    return text;
}

} // namespace tovrik::standin
