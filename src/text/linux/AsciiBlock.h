#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

// Eight bytes at a time through runs of ASCII, the common case in mixed text.
namespace tovrik::text::ascii_block {

// The word tricks read and write bytes in little-endian order.
static_assert(std::endian::native == std::endian::little);

inline constexpr std::size_t kSize = 8;

// The eight bytes at `in` when all of them are ASCII.
[[nodiscard]] inline bool Load(const unsigned char* in, std::uint64_t& blockOut) {
    std::memcpy(&blockOut, in, sizeof blockOut);
    return (blockOut & 0x8080808080808080ull) == 0;
}

// Writes the eight bytes as sixteen bytes of UTF-16LE units.
inline void Widen(std::uint64_t block, char* out) {
    auto spread = [](std::uint64_t half) {
        half = (half | half << 16) & 0x0000FFFF0000FFFFull;
        return (half | half << 8) & 0x00FF00FF00FF00FFull;
    };
    const std::uint64_t low = spread(block & 0xFFFFFFFFull);
    const std::uint64_t high = spread(block >> 32);
    std::memcpy(out, &low, sizeof low);
    std::memcpy(out + 8, &high, sizeof high);
}

} // namespace tovrik::text::ascii_block
