#include "text/Encoding.h"

#include "text/Md5Digest.h"

#include <array>
#include <cstring>

namespace tovrik::text {

namespace {

constexpr char kUpperHex[] = "0123456789ABCDEF";
constexpr char kBase64Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// What each byte becomes: up to three characters and how many of them count. Copying all four
// bytes of an entry and advancing by its length keeps the loop free of branches.
struct UrlEscape {
    std::array<char, 4> characters;
    unsigned char length;
};

struct UrlTable {
    std::array<UrlEscape, 256> entries{};
};

constexpr bool IsKeptUnreserved(unsigned byte) {
    return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9') ||
           byte == '-' || byte == '.' || byte == '_' || (byte >= 0x27 && byte <= 0x2A);
}

constexpr UrlTable MakeUrlTable(bool keepUnreserved) {
    UrlTable table;
    for (unsigned byte = 0; byte < 256; ++byte) {
        const char c = static_cast<char>(byte);
        if (byte == 0) {
            table.entries[byte] = {{'\0', '\0', '\0', '\0'}, 0};
        } else if (keepUnreserved && IsKeptUnreserved(byte)) {
            table.entries[byte] = {{c, '\0', '\0', '\0'}, 1};
        } else if (byte == ' ') {
            table.entries[byte] = {{'+', '\0', '\0', '\0'}, 1};
        } else {
            table.entries[byte] = {{'%', kUpperHex[byte >> 4], kUpperHex[byte & 15], '\0'}, 3};
        }
    }
    return table;
}

constexpr UrlTable kKeepUnreservedTable = MakeUrlTable(true);
constexpr UrlTable kEscapeAllTable = MakeUrlTable(false);

// Two Base64 characters for every 12-bit value: half as many lookups as one table per character.
struct Base64Pairs {
    std::array<std::array<char, 2>, 4096> pairs{};
};

constexpr Base64Pairs MakeBase64Pairs() {
    Base64Pairs table;
    for (unsigned value = 0; value < 4096; ++value) {
        table.pairs[value] = {kBase64Alphabet[value >> 6], kBase64Alphabet[value & 63]};
    }
    return table;
}

constexpr Base64Pairs kBase64Pairs = MakeBase64Pairs();

} // namespace

Text UrlEncode(TextView text, bool keepUnreserved, bool utf8) {
    const Bytes converted = utf8 ? TextToUtf8(text) : Bytes();
    const BytesView source = utf8 ? BytesView(converted) : text;
    const UrlTable& table = keepUnreserved ? kKeepUnreservedTable : kEscapeAllTable;
    // Sized exactly first: a worst-case buffer of three times the input costs more in fresh pages
    // than the extra pass. Spare bytes let the last entry be copied whole.
    std::size_t size = 0;
    for (const char c : source) {
        size += table.entries[static_cast<unsigned char>(c)].length;
    }
    Text result(size + 4, '\0');
    char* out = result.data();
    for (const char c : source) {
        const UrlEscape& escape = table.entries[static_cast<unsigned char>(c)];
        std::memcpy(out, escape.characters.data(), 4);
        out += escape.length;
    }
    result.resize(static_cast<std::size_t>(out - result.data()));
    return result;
}

Text Base64Encode(BytesView bytes) {
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t whole = bytes.size() / 3;
    const std::size_t rest = bytes.size() % 3;
    Text result((whole + (rest != 0 ? 1 : 0)) * 4, '\0');
    char* out = result.data();
    for (std::size_t group = 0; group < whole; ++group, in += 3, out += 4) {
        const unsigned value = static_cast<unsigned>(in[0]) << 16 | static_cast<unsigned>(in[1]) << 8 | in[2];
        std::memcpy(out, kBase64Pairs.pairs[value >> 12].data(), 2);
        std::memcpy(out + 2, kBase64Pairs.pairs[value & 0xFFF].data(), 2);
    }
    if (rest != 0) {
        // The missing bytes count as zero; their characters become the pad character.
        const unsigned value = static_cast<unsigned>(in[0]) << 16 | (rest == 2 ? static_cast<unsigned>(in[1]) << 8 : 0);
        out[0] = kBase64Alphabet[value >> 18];
        out[1] = kBase64Alphabet[(value >> 12) & 63];
        out[2] = rest == 2 ? kBase64Alphabet[(value >> 6) & 63] : '=';
        out[3] = '=';
    }
    return result;
}

Text Md5Hex(BytesView bytes, bool uppercase, bool shortForm) {
    const std::optional<Md5> digest = Md5Digest(bytes);
    if (!digest) {
        return {};
    }
    constexpr char kLowerHex[] = "0123456789abcdef";
    const char* digits = uppercase ? kUpperHex : kLowerHex;
    Text hex;
    hex.reserve(32);
    for (const unsigned char byte : *digest) {
        hex.push_back(digits[byte >> 4]);
        hex.push_back(digits[byte & 15]);
    }
    // The short form is the middle half: characters 9 to 24.
    return shortForm ? hex.substr(8, 16) : hex;
}

} // namespace tovrik::text
