#include "text/Encoding.h"

#include "text/CodePage.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace tovrik::text {

namespace {

// Number of whole UTF-16 units before the first zero unit; an odd trailing byte counts as a unit
// whose high byte is zero, the way the appended terminator completes it.
std::size_t UnitsBeforeTerminator(BytesView utf16) {
    const auto* data = reinterpret_cast<const unsigned char*>(utf16.data());
    const std::size_t whole = utf16.size() / 2;
    std::size_t unit = 0;
    // Four units at a time until a block holds a zero unit.
    constexpr std::uint64_t kLow = 0x0001000100010001ull;
    constexpr std::uint64_t kHigh = 0x8000800080008000ull;
    for (; unit + 4 <= whole; unit += 4) {
        std::uint64_t block;
        std::memcpy(&block, data + 2 * unit, sizeof block);
        if (((block - kLow) & ~block & kHigh) != 0) {
            break;
        }
    }
    for (; unit < whole; ++unit) {
        if ((data[2 * unit] | data[2 * unit + 1]) == 0) {
            return unit;
        }
    }
    if (utf16.size() % 2 != 0 && data[utf16.size() - 1] != 0) {
        return whole + 1;
    }
    return whole;
}

// Long texts convert in pieces of about this many bytes, small enough for the cache.
constexpr std::size_t kPieceSize = 16 * 1024;

} // namespace

Bytes MultiByteToWide(BytesView bytes, unsigned codePage) {
    // The conversion runs on a NUL-terminated copy: it ends at the first zero byte, and the
    // terminator's own zero unit is part of the result.
    const BytesView head = bytes.substr(0, bytes.find('\0'));
    Bytes terminated;
    terminated.reserve(head.size() + 1);
    terminated.append(head);
    terminated.push_back('\0');
    return codepage::ToWide(terminated, codePage);
}

Bytes LocalToWide(TextView text) {
    return MultiByteToWide(text, kCodePageGbk);
}

Bytes WideToMultiByte(BytesView utf16, unsigned codePage) {
    const std::size_t units = UnitsBeforeTerminator(utf16);
    Bytes result;
    if (units * 2 <= utf16.size()) {
        result = codepage::FromWide(utf16.substr(0, units * 2), codePage);
    } else {
        Bytes padded(utf16);
        padded.push_back('\0');
        result = codepage::FromWide(padded, codePage);
    }
    result.resize(std::min(result.find('\0'), result.size()));
    return result;
}

Text WideToLocal(BytesView utf16) {
    return WideToMultiByte(utf16, kCodePageGbk);
}

Bytes TextToUtf8(TextView text) {
    // The same as converting to UTF-16 whole and on to UTF-8, done in pieces so that the UTF-16
    // between the two steps stays in cache. A piece ends after a byte below 0x40, which is never
    // part of a double-byte character, and GBK never decodes to surrogates, so every piece
    // converts exactly as it does within the whole; only the last one sees the terminator.
    const TextView head = text.substr(0, text.find('\0'));
    Bytes utf8;
    utf8.reserve(head.size() + head.size() / 2);
    std::size_t start = 0;
    for (;;) {
        std::size_t end = start + kPieceSize;
        while (end < head.size() && static_cast<unsigned char>(head[end - 1]) >= 0x40) {
            ++end;
        }
        if (end >= head.size()) {
            utf8 += WideToMultiByte(LocalToWide(head.substr(start)), kCodePageUtf8);
            return utf8;
        }
        utf8 += codepage::FromWide(codepage::ToWide(head.substr(start, end - start), kCodePageGbk), kCodePageUtf8);
        start = end;
    }
}

Text Utf8ToText(BytesView utf8) {
    // The same as the whole conversion, in pieces for the same reason as above. A piece ends
    // after three ASCII bytes: a sequence before them has ended by then, whatever its lead byte
    // promised, so only the last piece sees the end of the input and the terminator.
    const BytesView head = utf8.substr(0, utf8.find('\0'));
    auto endsAfterAscii = [&head](std::size_t end) {
        return ((static_cast<unsigned char>(head[end - 1]) | static_cast<unsigned char>(head[end - 2]) |
                 static_cast<unsigned char>(head[end - 3])) &
                0x80) == 0;
    };
    Text text;
    text.reserve(head.size());
    std::size_t start = 0;
    for (;;) {
        std::size_t end = start + kPieceSize;
        while (end < head.size() && !endsAfterAscii(end)) {
            ++end;
        }
        if (end >= head.size()) {
            text += WideToLocal(MultiByteToWide(head.substr(start), kCodePageUtf8));
            return text;
        }
        text += codepage::FromWide(codepage::ToWide(head.substr(start, end - start), kCodePageUtf8), kCodePageGbk);
        start = end;
    }
}

} // namespace tovrik::text
