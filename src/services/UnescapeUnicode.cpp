#include "services/UnescapeUnicode.h"

#include "text/Encoding.h"

#include <optional>

namespace tovrik::services {
namespace {

constexpr TextView kLinePlaceholder = "{$}";
constexpr TextView kRightQuote = "’"; // U+2019; literals are code page 936

[[nodiscard]] Text ReplaceAll(TextView text, TextView from, TextView to) {
    Text result;
    std::size_t start = 0;
    for (std::size_t found = text.find(from); found != TextView::npos; found = text.find(from, start)) {
        result.append(text.substr(start, found - start));
        result.append(to);
        start = found + from.size();
    }
    result.append(text.substr(start));
    return result;
}

[[nodiscard]] std::optional<unsigned> HexValue(const std::u16string& units, std::size_t start, std::size_t count) {
    if (start + count > units.size()) {
        return std::nullopt;
    }
    unsigned value = 0;
    for (std::size_t i = start; i < start + count; ++i) {
        const char16_t c = units[i];
        unsigned digit = 0;
        if (c >= u'0' && c <= u'9') {
            digit = c - u'0';
        } else if (c >= u'a' && c <= u'f') {
            digit = c - u'a' + 10;
        } else if (c >= u'A' && c <= u'F') {
            digit = c - u'A' + 10;
        } else {
            return std::nullopt;
        }
        value = value * 16 + digit;
    }
    return value;
}

// The script function unescape: "%uXXXX" and "%XX" become one UTF-16 unit each; a percent
// sign that starts neither stays.
[[nodiscard]] std::u16string Unescape(const std::u16string& units) {
    std::u16string result;
    result.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        if (units[i] == u'%') {
            if (i + 1 < units.size() && units[i + 1] == u'u') {
                if (const auto value = HexValue(units, i + 2, 4)) {
                    result.push_back(static_cast<char16_t>(*value));
                    i += 5;
                    continue;
                }
            }
            if (const auto value = HexValue(units, i + 1, 2)) {
                result.push_back(static_cast<char16_t>(*value));
                i += 2;
                continue;
            }
        }
        result.push_back(units[i]);
    }
    return result;
}

[[nodiscard]] std::u16string ToUnits(TextView text) {
    const Bytes bytes = text::LocalToWide(text);
    std::u16string units;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto low = static_cast<unsigned char>(bytes[i]);
        const auto high = static_cast<unsigned char>(bytes[i + 1]);
        const auto unit = static_cast<char16_t>(low | (high << 8));
        if (unit == 0) {
            break;
        }
        units.push_back(unit);
    }
    return units;
}

[[nodiscard]] Text FromUnits(const std::u16string& units) {
    Bytes bytes;
    bytes.reserve(units.size() * 2 + 2);
    for (const char16_t unit : units) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    bytes.append(2, '\0');
    return text::WideToLocal(bytes);
}

} // namespace

Text UnescapeUnicode(TextView text) {
    Text prepared = ReplaceAll(text, "\r\n", kLinePlaceholder);
    if (!prepared.empty() && prepared.front() == '\r') {
        prepared = ReplaceAll(prepared, "\r", "");
    }
    prepared = ReplaceAll(prepared, "\\u", "%u");
    // Apostrophes are parked as right quotation marks while decoding, so an escaped or literal
    // right quotation mark comes back as an apostrophe too, as the translation code expects.
    prepared = ReplaceAll(prepared, "'", kRightQuote);
    const Text decoded = FromUnits(Unescape(ToUnits(prepared)));
    return ReplaceAll(ReplaceAll(decoded, kRightQuote, "'"), kLinePlaceholder, "\r\n");
}

} // namespace tovrik::services
