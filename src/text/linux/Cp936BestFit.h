#pragma once

#include <cstdint>
#include <span>

namespace tovrik::text {

struct BestFitEntry {
    char16_t unit;
    // A value below 0x100 is a single byte.
    std::uint16_t code;
};

[[nodiscard]] std::span<const BestFitEntry> Cp936BestFit();

} // namespace tovrik::text
