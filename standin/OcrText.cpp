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

bool HasIdeograph(std::string_view utf8) {
    const std::vector<char32_t> codePoints = DecodeUtf8(utf8);
    return std::any_of(codePoints.begin(), codePoints.end(), [](char32_t c) {
        return (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) ||
               (c >= 0x20000 && c <= 0x3134F);
    });
}

std::string CleanLine(std::string_view utf8Line) {
    const std::vector<char32_t> in = DecodeUtf8(utf8Line);
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
        // A run of spaces between two CJK characters goes; any other run stays as one space.
        if (!(IsCjk(in[i - 1]) && IsCjk(in[next]))) {
            out.push_back(' ');
        }
        i = next - 1;
    }
    return EncodeUtf8(out);
}

} // namespace tovrik::standin
