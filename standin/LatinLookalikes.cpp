#include "LatinLookalikes.h"

namespace tovrik::standin {

namespace {

bool IsLower(char c) {
    return c >= 'a' && c <= 'z';
}

bool IsLetter(char c) {
    return IsLower(c) || (c >= 'A' && c <= 'Z');
}

} // namespace

std::string WithZeros(std::string_view line) {
    std::string out(line);
    for (size_t k = 1; k < out.size(); ++k) {
        const bool wordEnds = k + 1 == out.size() || !IsLetter(out[k + 1]);
        if (out[k] == 'O' && IsLower(out[k - 1]) && wordEnds) {
            out[k] = '0';
        }
    }
    return out;
}

std::string WithLowercaseL(std::string_view line) {
    std::string out(line);
    for (size_t k = 1; k < out.size(); ++k) {
        if (out[k] != 'L' || !IsLower(out[k - 1])) {
            continue;
        }
        size_t end = k;
        while (end < out.size() && out[end] == 'L') {
            ++end;
        }
        if (end == out.size() || !IsLetter(out[end]) || IsLower(out[end])) {
            for (size_t l = k; l < end; ++l) {
                out[l] = 'l';
            }
        }
        k = end - 1;
    }
    return out;
}

} // namespace tovrik::standin
