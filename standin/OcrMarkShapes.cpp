#include "OcrMarkShapes.h"

#include <algorithm>

namespace tovrik::standin {

namespace {

// A blob's place against the line, in shares of its height, and its width in shares of a
// Chinese character's pitch.
struct Shape {
    double top = 0;
    double bottom = 0;
    double height = 0;
    double width = 0;
    int pixelWidth = 0;
    int pixelHeight = 0;
    int bend = 0;
};

// How far a parenthesis bends (InkBlob::bend), at least.
constexpr int kParenthesisBend = 8;

Shape ShapeOf(const InkBlob& blob, int top, int height, int pitch) {
    const auto h = static_cast<double>(height);
    return {(blob.top - top) / h,
            (blob.top + blob.height - top) / h,
            blob.height / h,
            static_cast<double>(blob.width) / pitch,
            blob.width,
            blob.height,
            blob.bend};
}

bool IsTick(const Shape& s) {
    return s.height <= 0.45 && s.bottom <= 0.55 && 2 * s.pixelHeight >= 3 * s.pixelWidth;
}

// Low and small: a full stop, or the foot of ! : ;.
bool IsLowBit(const Shape& s) {
    return s.top >= 0.5 && s.height <= 0.3;
}

bool IsDot(const Shape& s) {
    return IsLowBit(s) && s.pixelHeight <= s.pixelWidth;
}

bool IsComma(const Shape& s) {
    return s.top >= 0.5 && s.height <= 0.4 && s.pixelHeight > s.pixelWidth;
}

// One blob's mark, or 0.
char SingleMark(const Shape& s) {
    if (s.height >= 0.7 && s.width <= 0.3) {
        return s.bend <= -kParenthesisBend ? '(' : s.bend >= kParenthesisBend ? ')' : 0;
    }
    if (IsTick(s)) {
        return '\'';
    }
    const double middle = (s.top + s.bottom) / 2;
    if (s.height <= 0.25 && s.pixelWidth >= 2 * s.pixelHeight && middle >= 0.3 && middle <= 0.75) {
        return '-';
    }
    if (IsDot(s)) {
        return '.';
    }
    return IsComma(s) ? ',' : 0;
}

// The mark of two blobs one above the other, or 0.
char StackedMark(const Shape& upper, const Shape& lower) {
    if (!IsLowBit(lower) && !IsComma(lower)) {
        return 0;
    }
    if (upper.height >= 0.4 && 2 * upper.pixelWidth <= upper.pixelHeight) {
        return IsLowBit(lower) ? '!' : 0;
    }
    if (upper.height <= 0.3 && upper.bottom <= 0.7) {
        // The foot of ";" is taller than its dot, that of ":" is not.
        return lower.pixelHeight <= upper.pixelHeight ? ':' : ';';
    }
    return 0;
}

struct Mark {
    char text = 0;
    double middle = 0; // column
};

} // namespace

std::string MarksText(const std::vector<InkBlob>& blobs, int top, int height, int pitch) {
    if (blobs.empty() || height <= 0 || pitch <= 0) {
        return {};
    }
    std::vector<InkBlob> sorted = blobs;
    std::sort(sorted.begin(), sorted.end(), [](const InkBlob& a, const InkBlob& b) { return a.left < b.left; });
    std::vector<Mark> marks;
    for (size_t k = 0; k < sorted.size();) {
        // The blobs that share columns with the first make one character.
        size_t end = k + 1;
        int right = sorted[k].left + sorted[k].width;
        while (end < sorted.size() && sorted[end].left < right) {
            right = std::max(right, sorted[end].left + sorted[end].width);
            ++end;
        }
        char mark = 0;
        if (end - k == 1) {
            mark = SingleMark(ShapeOf(sorted[k], top, height, pitch));
        } else if (end - k == 2) {
            const bool firstAbove = sorted[k].top < sorted[k + 1].top;
            const InkBlob& upper = firstAbove ? sorted[k] : sorted[k + 1];
            const InkBlob& lower = firstAbove ? sorted[k + 1] : sorted[k];
            mark = StackedMark(ShapeOf(upper, top, height, pitch), ShapeOf(lower, top, height, pitch));
        }
        if (mark == 0) {
            return {};
        }
        const double middle = (sorted[k].left + right) / 2.0;
        // Two ticks closer than a terminal's cell are one double quote.
        if (mark == '\'' && !marks.empty() && marks.back().text == '\'' && middle - marks.back().middle < 0.3 * pitch) {
            marks.back() = {'"', (marks.back().middle + middle) / 2};
        } else {
            marks.push_back({mark, middle});
        }
        k = end;
    }
    std::string text;
    for (size_t k = 0; k < marks.size(); ++k) {
        if (k > 0 && marks[k].middle - marks[k - 1].middle >= 0.75 * pitch) {
            text += ' ';
        }
        text += marks[k].text;
    }
    return text;
}

} // namespace tovrik::standin
