#include "settings/SettingsRepair.h"

#include <cstddef>
#include <cstdint>

namespace tovrik::settings {

namespace {

constexpr BytesView kUtf8Mark = "\xEF\xBB\xBF";
constexpr BytesView kUtf16Mark = "\xFF\xFE";

std::uint8_t At(BytesView bytes, std::size_t i) {
    return static_cast<std::uint8_t>(bytes[i]);
}

// Strict UTF-8: no overlong forms, no surrogates, nothing past U+10FFFF.
bool IsUtf8(BytesView bytes, bool& beyondAsciiOut) {
    beyondAsciiOut = false;
    for (std::size_t i = 0; i < bytes.size();) {
        const std::uint8_t lead = At(bytes, i);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        beyondAsciiOut = true;
        std::size_t length = 0;
        std::uint8_t low = 0x80;
        std::uint8_t high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            return false;
        }
        if (i + length > bytes.size()) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            const std::uint8_t next = At(bytes, i + k);
            if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF)) {
                return false;
            }
        }
        i += length;
    }
    return true;
}

// Some line starts a section, or there is nothing but blanks and comments: the profile
// functions find items only after a section line. Lines end in CR, LF or both.
bool HasSections(BytesView text) {
    bool onlyBlanks = true;
    bool lineStart = true;
    for (const char c : text) {
        if (c == '\r' || c == '\n') {
            lineStart = true;
            continue;
        }
        if (!lineStart || c == ' ' || c == '\t') {
            continue;
        }
        lineStart = false;
        if (c == '[') {
            return true;
        }
        onlyBlanks = onlyBlanks && c == ';';
    }
    return onlyBlanks;
}

} // namespace

SettingsText ClassifySettingsText(BytesView file) {
    if (file.starts_with(kUtf16Mark)) {
        return SettingsText::Local; // read and written in UTF-16 as it is
    }
    const bool marked = file.starts_with(kUtf8Mark);
    const BytesView body = marked ? file.substr(kUtf8Mark.size()) : file;
    if (body.find('\0') != BytesView::npos || !HasSections(body)) {
        return SettingsText::Unreadable;
    }
    bool beyondAscii = false;
    if (marked || (IsUtf8(body, beyondAscii) && beyondAscii)) {
        return SettingsText::Utf8;
    }
    return SettingsText::Local;
}

} // namespace tovrik::settings
