#pragma once

#include "text/Types.h"

#include <array>
#include <cstdint>
#include <vector>

namespace tovrik::text {

// A double-byte code page as the Windows conversion functions apply it with flags 0 and no
// default character: a lead byte followed by a non-zero byte is read as a pair, anything that
// doesn't map becomes '?' (U+003F one way, 0x3F the other), and surrogates are converted unit
// by unit.
class DbcsTable {
public:
    // Reads every single byte and every lead/trail pair through iconv; pairs iconv rejects stay
    // unmapped until Finish.
    [[nodiscard]] static DbcsTable FromIconv(const char* charset, unsigned firstLead, unsigned lastLead);

    [[nodiscard]] bool IsPairMapped(unsigned code) const { return m_pairs[code] != kUnmappedUnit; }
    void SetSingle(unsigned byte, char16_t unit) { m_singles[byte] = unit; }
    void SetPair(unsigned code, char16_t unit) { m_pairs[code] = unit; }
    // An encoding that doesn't come from decoding (the system's best-fit choices).
    void SetEncoding(char16_t unit, std::uint16_t code) { m_encodings[unit] = code; }
    // Replaces what is still unmapped by '?' and gives every decodable unit without an encoding
    // the first code that decodes to it.
    void Finish();

    [[nodiscard]] Bytes ToWide(BytesView bytes) const;
    [[nodiscard]] Bytes FromWide(BytesView utf16) const;

private:
    static constexpr char16_t kUnmappedUnit = 0;
    static constexpr std::uint16_t kUnmappedCode = 0xFFFF;

    DbcsTable();

    std::array<bool, 256> m_lead{};
    std::array<char16_t, 256> m_singles{};
    // Indexed by lead << 8 | trail.
    std::vector<char16_t> m_pairs;
    // Indexed by UTF-16 unit; a value below 0x100 is a single byte.
    std::vector<std::uint16_t> m_encodings;
};

} // namespace tovrik::text
