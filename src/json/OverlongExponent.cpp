#include "json/OverlongExponent.h"

#include <limits>

namespace tovrik::json {

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Skips an optional sign; true when it was a minus.
bool SkipSign(std::string_view text, std::size_t& at) {
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        return text[at++] == '-';
    }
    return false;
}

} // namespace

double NumberOfOverlongExponent(std::string_view text) {
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    while (!text.empty() && IsSpace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsSpace(text.back())) {
        text.remove_suffix(1);
    }
    std::size_t at = 0;
    const bool negative = SkipSign(text, at);
    std::size_t digits = 0;
    bool nonZero = false;
    for (bool fraction = false; at < text.size(); ++at) {
        if (IsDigit(text[at])) {
            ++digits;
            nonZero = nonZero || text[at] != '0';
        } else if (text[at] == '.' && !fraction) {
            fraction = true;
        } else {
            break;
        }
    }
    if (digits == 0 || at == text.size() || (text[at] != 'e' && text[at] != 'E')) {
        return kNaN;
    }
    ++at;
    const bool negativeExponent = SkipSign(text, at);
    const std::size_t exponentStart = at;
    while (at < text.size() && IsDigit(text[at])) {
        ++at;
    }
    if (at == exponentStart || at != text.size()) {
        return kNaN;
    }
    const double magnitude = nonZero && !negativeExponent ? std::numeric_limits<double>::infinity() : 0.0;
    return negative ? -magnitude : magnitude;
}

} // namespace tovrik::json
