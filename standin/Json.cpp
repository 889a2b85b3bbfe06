#include "Json.h"

#include "Utf8.h"

#include <cstdio>

namespace tovrik::standin {

namespace {

void AppendEscape(std::string& out, unsigned unit) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "\\u%04x", unit);
    out += buffer;
}

} // namespace

std::string JsonQuote(std::string_view utf8, bool asciiOnly) {
    std::string out = "\"";
    for (char32_t c : DecodeUtf8(utf8)) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20) {
                AppendEscape(out, c);
            } else if (c < 0x80 || !asciiOnly) {
                out += EncodeUtf8(std::u32string_view(&c, 1));
            } else if (c < 0x10000) {
                AppendEscape(out, c);
            } else {
                const char32_t v = c - 0x10000;
                AppendEscape(out, 0xD800 + (v >> 10));
                AppendEscape(out, 0xDC00 + (v & 0x3FF));
            }
        }
    }
    out += '"';
    return out;
}

} // namespace tovrik::standin
