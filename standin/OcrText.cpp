#include "OcrText.h"

#include "Utf8.h"

#include <algorithm>
#include <vector>

namespace tovrik::standin {

bool IsCjk(char32_t c) {
    return (c >= 0x2E80 && c <= 0x2FDF)       // radicals
           || (c >= 0x3000 && c <= 0x303F)    // CJK punctuation
           || (c >= 0x3040 && c <= 0x30FF)    // kana
           || (c >= 0x3400 && c <= 0x4DBF)    // extension A
           || (c >= 0x4E00 && c <= 0x9FFF)    // unified ideographs
           || (c >= 0xF900 && c <= 0xFAFF)    // compatibility ideographs
           || (c >= 0xFE30 && c <= 0xFE4F)    // vertical forms
           || (c >= 0xFF00 && c <= 0xFFEF)    // full-width forms
           || (c >= 0x20000 && c <= 0x3134F); // extensions B-G
}

bool IsIdeograph(char32_t c) {
    return (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0x20000 && c <= 0x3134F);
}

bool HasIdeograph(std::string_view utf8) {
    const std::vector<char32_t> codePoints = DecodeUtf8(utf8);
    return std::any_of(codePoints.begin(), codePoints.end(), [](char32_t c) { return IsIdeograph(c); });
}

namespace {

// Full-width marks, after which (and before which) Chinese text has no space.
bool IsWideMark(char32_t c) {
    return (c >= 0x3000 && c <= 0x303F) || (c >= 0xFF01 && c <= 0xFF1F) || c == U'“' || c == U'”';
}

// The Chinese model reads many of the full-width marks of Chinese text as their Latin forms
// ("：" as ":", "（" as "("): a Latin mark that follows an ideograph (or, for an opening one, comes
// before one) is given its full-width form.
void WidenMarks(std::vector<char32_t>& text) {
    auto neighbour = [&](size_t at, int step) -> char32_t {
        for (auto k = static_cast<long>(at) + step; k >= 0 && k < static_cast<long>(text.size()); k += step) {
            if (text[static_cast<size_t>(k)] != ' ') {
                return text[static_cast<size_t>(k)];
            }
        }
        return 0;
    };
    bool quoteOpen = false;
    for (size_t k = 0; k < text.size(); ++k) {
        const char32_t c = text[k];
        const bool after = IsIdeograph(neighbour(k, -1)) || IsWideMark(neighbour(k, -1));
        const bool before = IsIdeograph(neighbour(k, 1));
        switch (c) {
        case ',':
            text[k] = after ? U'，' : c;
            break;
        case ':':
            text[k] = after ? U'：' : c;
            break;
        case ';':
            text[k] = after ? U'；' : c;
            break;
        case '!':
            text[k] = after ? U'！' : c;
            break;
        case '?':
            text[k] = after ? U'？' : c;
            break;
        case '(':
            text[k] = after || before ? U'（' : c;
            break;
        case ')':
            text[k] = after || before ? U'）' : c;
            break;
        case '"':
            if (after || before) {
                text[k] = quoteOpen ? U'”' : U'“';
                quoteOpen = !quoteOpen;
            }
            break;
        default:
            quoteOpen = c == U'“' ? true : c == U'”' ? false : quoteOpen;
            break;
        }
    }
}

} // namespace

std::string CleanLine(std::string_view utf8Line) {
    std::vector<char32_t> in = DecodeUtf8(utf8Line);
    if (HasIdeograph(utf8Line)) {
        WidenMarks(in);
    }
    auto isBlank = [](char32_t c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == 0x3000; };
    size_t begin = 0;
    size_t end = in.size();
    while (begin < end && isBlank(in[begin])) {
        ++begin;
    }
    while (end > begin && isBlank(in[end - 1])) {
        --end;
    }
    std::u32string out;
    for (size_t i = begin; i < end; ++i) {
        if (in[i] != ' ') {
            out.push_back(in[i]);
            continue;
        }
        size_t next = i;
        while (next < end && in[next] == ' ') {
            ++next;
        }
        // A run of spaces between two CJK characters, or beside a full-width mark, goes; any
        // other run stays as one space.
        if (!(IsCjk(in[i - 1]) && IsCjk(in[next])) && !IsWideMark(in[i - 1]) && !IsWideMark(in[next])) {
            out.push_back(' ');
        }
        i = next - 1;
    }
    return EncodeUtf8(out);
}

} // namespace tovrik::standin
