#include "text/linux/SystemUtf8.h"

#include "text/linux/AsciiBlock.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace tovrik::text {

namespace {

constexpr unsigned kReplacement = 0xFFFD;
constexpr unsigned kInvalid = ~0u;

// Continuation bytes after a lead byte of 0x80 + index; 0 for bytes that can't lead.
constexpr std::array<unsigned char, 128> MakeSequenceLengths() {
    std::array<unsigned char, 128> lengths{};
    for (unsigned byte = 0xC2; byte <= 0xDF; ++byte) {
        lengths[byte - 0x80] = 1;
    }
    for (unsigned byte = 0xE0; byte <= 0xEF; ++byte) {
        lengths[byte - 0x80] = 2;
    }
    for (unsigned byte = 0xF0; byte <= 0xF4; ++byte) {
        lengths[byte - 0x80] = 3;
    }
    return lengths;
}

constexpr std::array<unsigned char, 128> kSequenceLengths = MakeSequenceLengths();
constexpr std::array<unsigned char, 4> kLeadMasks{0x7F, 0x1F, 0x0F, 0x07};

// Decodes the sequence whose lead byte was just read; `at` points after it and moves past the
// bytes the sequence takes (also when it turns out invalid).
unsigned DecodeSequence(unsigned lead, const unsigned char* in, std::size_t& at, std::size_t size) {
    const unsigned length = kSequenceLengths[lead - 0x80];
    if (at + length > size) {
        at = size;
        return kInvalid;
    }
    unsigned value = lead & kLeadMasks[length];
    auto next = [&](unsigned& continuation) {
        continuation = in[at] ^ 0x80u;
        return continuation < 0x40;
    };
    unsigned continuation = 0;
    if (length == 3) {
        if (!next(continuation)) {
            return kInvalid;
        }
        value = value << 6 | continuation;
        ++at;
        if (value < 0x10) {
            return kInvalid; // overlong four-byte form
        }
    }
    if (length >= 2) {
        if (!next(continuation)) {
            return kInvalid;
        }
        value = value << 6 | continuation;
        if (value >= (0x110000 >> 6)) {
            return kInvalid; // beyond U+10FFFF; this byte is not taken
        }
        ++at;
        if (value < 0x20 || (value >= (0xD800 >> 6) && value <= (0xDFFF >> 6))) {
            return kInvalid; // overlong three-byte form or a surrogate
        }
    }
    if (length >= 1) {
        if (!next(continuation)) {
            return kInvalid;
        }
        value = value << 6 | continuation;
        ++at;
        if (value < 0x80) {
            return kInvalid;
        }
        return value;
    }
    return kInvalid;
}

inline void PutUnit(char*& out, unsigned unit) {
    out[0] = static_cast<char>(unit & 0xFF);
    out[1] = static_cast<char>(unit >> 8);
    out += 2;
}

} // namespace

Bytes SystemUtf8ToWide(BytesView utf8) {
    const auto* in = reinterpret_cast<const unsigned char*>(utf8.data());
    const std::size_t size = utf8.size();
    // Each byte gives at most one unit; four bytes give at most two.
    Bytes result(size * 2, '\0');
    char* out = result.data();
    std::size_t at = 0;
    while (at < size) {
        std::uint64_t block;
        if (at + ascii_block::kSize <= size && ascii_block::Load(in + at, block)) {
            ascii_block::Widen(block, out);
            out += 2 * ascii_block::kSize;
            at += ascii_block::kSize;
            continue;
        }
        const unsigned byte = in[at++];
        if (byte < 0x80) {
            PutUnit(out, byte);
            continue;
        }
        const unsigned value = DecodeSequence(byte, in, at, size);
        if (value == kInvalid) {
            PutUnit(out, kReplacement);
        } else if (value >= 0x10000) {
            PutUnit(out, 0xD800 | ((value - 0x10000) >> 10));
            PutUnit(out, 0xDC00 | (value & 0x3FF));
        } else {
            PutUnit(out, value);
        }
    }
    result.resize(static_cast<std::size_t>(out - result.data()));
    return result;
}

Bytes SystemWideToUtf8(BytesView utf16) {
    const auto* in = reinterpret_cast<const unsigned char*>(utf16.data());
    const std::size_t units = utf16.size() / 2;
    auto unitAt = [in](std::size_t i) { return static_cast<unsigned>(in[2 * i] | in[2 * i + 1] << 8); };
    Bytes result(units * 3, '\0');
    auto* out = reinterpret_cast<unsigned char*>(result.data());
    for (std::size_t i = 0; i < units; ++i) {
        if (i + 4 <= units) {
            std::uint64_t block;
            std::memcpy(&block, in + 2 * i, sizeof block);
            if ((block & 0xFF80FF80FF80FF80ull) == 0) {
                // Four ASCII units: squeeze out the zero high bytes.
                block = (block | block >> 8) & 0x0000FFFF0000FFFFull;
                block = (block | block >> 16) & 0x00000000FFFFFFFFull;
                const auto packed = static_cast<std::uint32_t>(block);
                std::memcpy(out, &packed, sizeof packed);
                out += 4;
                i += 3;
                continue;
            }
        }
        unsigned value = unitAt(i);
        if (value < 0x80) {
            *out++ = static_cast<unsigned char>(value);
            continue;
        }
        if (value < 0x800) {
            *out++ = static_cast<unsigned char>(0xC0 | value >> 6);
            *out++ = static_cast<unsigned char>(0x80 | (value & 0x3F));
            continue;
        }
        if (value >= 0xD800 && value <= 0xDFFF) {
            const bool paired = value <= 0xDBFF && i + 1 < units && (unitAt(i + 1) & 0xFC00) == 0xDC00;
            if (paired) {
                value = 0x10000 + ((value - 0xD800) << 10) + (unitAt(++i) - 0xDC00);
                *out++ = static_cast<unsigned char>(0xF0 | value >> 18);
                *out++ = static_cast<unsigned char>(0x80 | ((value >> 12) & 0x3F));
                *out++ = static_cast<unsigned char>(0x80 | ((value >> 6) & 0x3F));
                *out++ = static_cast<unsigned char>(0x80 | (value & 0x3F));
                continue;
            }
            value = kReplacement;
        }
        *out++ = static_cast<unsigned char>(0xE0 | value >> 12);
        *out++ = static_cast<unsigned char>(0x80 | ((value >> 6) & 0x3F));
        *out++ = static_cast<unsigned char>(0x80 | (value & 0x3F));
    }
    result.resize(static_cast<std::size_t>(reinterpret_cast<char*>(out) - result.data()));
    // The worst case of three bytes a unit is mostly unused for ASCII: give a large unused
    // remainder back rather than leave it to the caller.
    if (result.size() > 64 * 1024 && result.capacity() > 2 * result.size()) {
        result.shrink_to_fit();
    }
    return result;
}

} // namespace tovrik::text
