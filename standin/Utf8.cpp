#include "Utf8.h"

namespace tovrik::standin {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

} // namespace

std::vector<char32_t> DecodeUtf8(std::string_view text) {
    std::vector<char32_t> codePoints;
    codePoints.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const size_t extra = lead < 0x80           ? 0
                             : (lead >> 5) == 0x06 ? 1
                             : (lead >> 4) == 0x0E ? 2
                             : (lead >> 3) == 0x1E ? 3
                                                   : 4;
        bool valid = extra < 4 && i + extra < text.size();
        char32_t value = extra == 0 ? lead : lead & (0x3Fu >> extra);
        for (size_t k = 1; valid && k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            value = (value << 6) | (next & 0x3Fu);
        }
        // Overlong forms and surrogates are as malformed as a broken sequence.
        static constexpr char32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};
        valid = valid && value >= kMinimum[extra] && value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF);
        codePoints.push_back(valid ? value : kReplacement);
        i += valid ? extra + 1 : 1;
    }
    return codePoints;
}

std::string EncodeUtf8(std::u32string_view codePoints) {
    std::string out;
    out.reserve(codePoints.size());
    for (char32_t c : codePoints) {
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            c = kReplacement;
        }
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

} // namespace tovrik::standin
