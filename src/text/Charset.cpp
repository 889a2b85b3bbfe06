#include "text/Encoding.h"

#include "text/CodePage.h"

#include <array>

// The charset route of the text conversions: what a binary stream written in one charset and
// read back in another gives, byte-order mark included, without any COM object.
namespace tovrik::text {

namespace {

enum class CharsetKind { CodePage, Utf16, Ascii, Latin1 };

struct Charset {
    std::string_view name;
    CharsetKind kind;
    unsigned codePage;
    // Written in front of the converted bytes, and skipped when read.
    std::string_view byteOrderMark;
};

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16Mark = "\xFF\xFE";

constexpr std::array kCharsets{
    Charset{"utf-8", CharsetKind::CodePage, kCodePageUtf8, kUtf8Mark},
    Charset{"utf8", CharsetKind::CodePage, kCodePageUtf8, kUtf8Mark},
    Charset{"gbk", CharsetKind::CodePage, kCodePageGbk, {}},
    Charset{"gb2312", CharsetKind::CodePage, kCodePageGbk, {}},
    Charset{"cp936", CharsetKind::CodePage, kCodePageGbk, {}},
    Charset{"windows-936", CharsetKind::CodePage, kCodePageGbk, {}},
    Charset{"big5", CharsetKind::CodePage, 950, {}},
    Charset{"cp950", CharsetKind::CodePage, 950, {}},
    Charset{"unicode", CharsetKind::Utf16, 0, kUtf16Mark},
    Charset{"utf-16", CharsetKind::Utf16, 0, kUtf16Mark},
    // An explicit byte order means no mark.
    Charset{"utf-16le", CharsetKind::Utf16, 0, {}},
    Charset{"us-ascii", CharsetKind::Ascii, 0, {}},
    Charset{"ascii", CharsetKind::Ascii, 0, {}},
    Charset{"iso-8859-1", CharsetKind::Latin1, 0, {}},
    Charset{"latin1", CharsetKind::Latin1, 0, {}},
};

bool EqualsIgnoringAsciiCase(std::string_view left, std::string_view right) {
    if (left.size() != right.size()) {
        return false;
    }
    for (std::size_t i = 0; i < left.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(left[i]) != lower(right[i])) {
            return false;
        }
    }
    return true;
}

const Charset* FindCharset(TextView name) {
    for (const Charset& charset : kCharsets) {
        if (EqualsIgnoringAsciiCase(charset.name, name)) {
            return &charset;
        }
    }
    return nullptr;
}

void AppendUnit(Bytes& out, unsigned unit) {
    out.push_back(static_cast<char>(unit & 0xFF));
    out.push_back(static_cast<char>(unit >> 8));
}

// Bytes in the charset to UTF-16LE bytes, zero bytes kept as zero units.
Bytes Decode(BytesView bytes, const Charset& charset) {
    if (!charset.byteOrderMark.empty() && bytes.starts_with(charset.byteOrderMark)) {
        bytes.remove_prefix(charset.byteOrderMark.size());
    }
    Bytes wide;
    switch (charset.kind) {
    case CharsetKind::CodePage:
        return codepage::ToWide(bytes, charset.codePage);
    case CharsetKind::Utf16:
        return Bytes(bytes.substr(0, bytes.size() - bytes.size() % 2));
    case CharsetKind::Ascii:
    case CharsetKind::Latin1:
        wide.reserve(bytes.size() * 2);
        for (const char c : bytes) {
            const auto byte = static_cast<unsigned char>(c);
            AppendUnit(wide, charset.kind == CharsetKind::Ascii && byte >= 0x80 ? '?' : byte);
        }
        return wide;
    }
    return wide;
}

Bytes Encode(BytesView utf16, const Charset& charset) {
    Bytes bytes;
    switch (charset.kind) {
    case CharsetKind::CodePage:
        return codepage::FromWide(utf16, charset.codePage);
    case CharsetKind::Utf16:
        return Bytes(utf16.substr(0, utf16.size() - utf16.size() % 2));
    case CharsetKind::Ascii:
    case CharsetKind::Latin1: {
        const unsigned limit = charset.kind == CharsetKind::Ascii ? 0x80 : 0x100;
        bytes.reserve(utf16.size() / 2);
        for (std::size_t i = 0; i + 1 < utf16.size(); i += 2) {
            const unsigned unit = static_cast<unsigned char>(utf16[i]) |
                                  static_cast<unsigned>(static_cast<unsigned char>(utf16[i + 1])) << 8;
            bytes.push_back(unit < limit ? static_cast<char>(unit) : '?');
        }
        return bytes;
    }
    }
    return bytes;
}

} // namespace

Bytes ConvertCharset(BytesView bytes, TextView fromCharset, TextView toCharset, std::optional<std::size_t> skip) {
    const Charset* from = FindCharset(fromCharset.empty() ? "UTF-8" : fromCharset);
    const Charset* to = FindCharset(toCharset.empty() ? "GBK" : toCharset);
    if (from == nullptr || to == nullptr) {
        return {};
    }
    Bytes result(to->byteOrderMark);
    result += Encode(Decode(bytes, *from), *to);
    if (skip) {
        result.erase(0, *skip);
    }
    return result;
}

Text UnicodeBytesToText(BytesView utf16) {
    if (utf16.starts_with(kUtf16Mark)) {
        utf16.remove_prefix(kUtf16Mark.size());
    }
    return WideToLocal(utf16);
}

} // namespace tovrik::text
