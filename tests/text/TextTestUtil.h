#pragma once

#include "text/Types.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tovrik::text::testing {

// UTF-16 little-endian bytes of a char16_t literal (which the GBK literal charset leaves alone).
inline Bytes Wide(std::u16string_view units) {
    Bytes bytes;
    for (const char16_t unit : units) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

// Upper-case hex of each UTF-16 unit, space separated: readable failure messages.
inline std::string Units(BytesView utf16) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string text;
    for (std::size_t i = 0; i + 1 < utf16.size(); i += 2) {
        const unsigned unit = static_cast<unsigned char>(utf16[i]) | static_cast<unsigned char>(utf16[i + 1]) << 8;
        if (!text.empty()) {
            text.push_back(' ');
        }
        for (int shift = 12; shift >= 0; shift -= 4) {
            text.push_back(kHex[(unit >> shift) & 15]);
        }
    }
    return text;
}

// Hex of each byte, space separated.
inline std::string Hex(BytesView bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string text;
    for (const char c : bytes) {
        if (!text.empty()) {
            text.push_back(' ');
        }
        text.push_back(kHex[static_cast<unsigned char>(c) >> 4]);
        text.push_back(kHex[static_cast<unsigned char>(c) & 15]);
    }
    return text;
}

// Small deterministic generator: the same sequence under every compiler and library.
class SplitMix {
public:
    explicit SplitMix(std::uint64_t seed) : m_state(seed) {}
    std::uint64_t Next() {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    unsigned Below(unsigned bound) { return static_cast<unsigned>(Next() % bound); }

private:
    std::uint64_t m_state;
};

} // namespace tovrik::text::testing
