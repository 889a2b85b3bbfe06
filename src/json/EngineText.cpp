#include "json/EngineText.h"

#include "text/Encoding.h"

#include <algorithm>
#include <cstdint>

namespace tovrik::json {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// Decodes one character at `pos`, advancing it; lone and paired surrogates pass through as they
// are, so that a pair encoded half by half comes out as the pair.
char32_t DecodeOne(std::string_view text, std::size_t& pos) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    std::size_t length = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        value = lead & 0x1F;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        value = lead & 0x0F;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        value = lead & 0x07;
        minimum = 0x10000;
    } else {
        ++pos;
        return kReplacement;
    }
    if (pos + length > text.size()) {
        ++pos;
        return kReplacement;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if (!IsContinuation(byte(pos + i))) {
            ++pos;
            return kReplacement;
        }
        value = (value << 6) | (byte(pos + i) & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF) {
        ++pos;
        return kReplacement;
    }
    pos += length;
    return value;
}

void AppendUnit(Bytes& utf16, std::uint16_t unit) {
    utf16.push_back(static_cast<char>(unit & 0xFF));
    utf16.push_back(static_cast<char>(unit >> 8));
}

} // namespace

Bytes ToEngineText(TextView text) {
    if (IsAscii(text)) {
        return Bytes(text);
    }
    return text::TextToUtf8(text);
}

Text FromEngineText(std::string_view engineText) {
    engineText = engineText.substr(0, engineText.find('\0'));
    if (IsAscii(engineText)) {
        return Text(engineText);
    }
    Bytes utf16;
    utf16.reserve(engineText.size() * 2 + 2);
    std::size_t pos = 0;
    while (pos < engineText.size()) {
        const char32_t c = DecodeOne(engineText, pos);
        if (c >= 0x10000) {
            AppendUnit(utf16, static_cast<std::uint16_t>(0xD800 + ((c - 0x10000) >> 10)));
            AppendUnit(utf16, static_cast<std::uint16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            AppendUnit(utf16, static_cast<std::uint16_t>(c));
        }
    }
    AppendUnit(utf16, 0);
    return text::WideToLocal(utf16);
}

} // namespace tovrik::json
