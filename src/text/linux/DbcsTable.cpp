#include "text/linux/DbcsTable.h"

#include "text/linux/AsciiBlock.h"

#include <iconv.h>

#include <cstdint>
#include <cstring>

namespace tovrik::text {

namespace {

class IconvHandle {
public:
    IconvHandle(const char* to, const char* from) : m_handle(iconv_open(to, from)) {}
    ~IconvHandle() {
        if (IsOpen()) {
            iconv_close(m_handle);
        }
    }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;

    [[nodiscard]] bool IsOpen() const { return m_handle != reinterpret_cast<iconv_t>(-1); }

    // The one UTF-16 unit that the whole input decodes to, or 0 when it is invalid or decodes to
    // anything else.
    [[nodiscard]] char16_t DecodeOne(const char* bytes, std::size_t size) {
        char output[8];
        char* in = const_cast<char*>(bytes);
        std::size_t inLeft = size;
        char* out = output;
        std::size_t outLeft = sizeof output;
        iconv(m_handle, nullptr, nullptr, nullptr, nullptr);
        if (iconv(m_handle, &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0 ||
            out - output != 2) {
            return 0;
        }
        return static_cast<char16_t>(static_cast<unsigned char>(output[0]) | static_cast<unsigned char>(output[1])
                                                                                 << 8);
    }

private:
    iconv_t m_handle;
};

inline void PutUnit(char*& out, unsigned unit) {
    out[0] = static_cast<char>(unit & 0xFF);
    out[1] = static_cast<char>(unit >> 8);
    out += 2;
}

} // namespace

DbcsTable::DbcsTable() : m_pairs(0x10000, kUnmappedUnit), m_encodings(0x10000, kUnmappedCode) {}

DbcsTable DbcsTable::FromIconv(const char* charset, unsigned firstLead, unsigned lastLead) {
    DbcsTable table;
    IconvHandle decoder("UTF-16LE", charset);
    for (unsigned byte = 0; byte < 0x100; ++byte) {
        table.m_lead[byte] = byte >= firstLead && byte <= lastLead;
        if (byte < 0x80) {
            table.m_singles[byte] = static_cast<char16_t>(byte);
        } else if (!table.m_lead[byte] && decoder.IsOpen()) {
            const char single = static_cast<char>(byte);
            table.m_singles[byte] = decoder.DecodeOne(&single, 1);
        }
    }
    if (!decoder.IsOpen()) {
        return table;
    }
    for (unsigned lead = firstLead; lead <= lastLead; ++lead) {
        for (unsigned trail = 1; trail < 0x100; ++trail) {
            const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            table.m_pairs[lead << 8 | trail] = decoder.DecodeOne(pair, 2);
        }
    }
    return table;
}

void DbcsTable::Finish() {
    // Byte 0 is U+0000, not unmapped; '?' itself comes before any byte that becomes '?'.
    for (unsigned byte = 0; byte < 0x100; ++byte) {
        if (m_singles[byte] == kUnmappedUnit && byte != 0) {
            m_singles[byte] = u'?';
        }
        if (m_encodings[m_singles[byte]] == kUnmappedCode) {
            m_encodings[m_singles[byte]] = static_cast<std::uint16_t>(byte);
        }
    }
    for (unsigned code = 0; code < 0x10000; ++code) {
        char16_t& unit = m_pairs[code];
        if (unit == kUnmappedUnit) {
            unit = u'?';
        } else if (m_encodings[unit] == kUnmappedCode) {
            m_encodings[unit] = static_cast<std::uint16_t>(code);
        }
    }
    for (std::uint16_t& code : m_encodings) {
        if (code == kUnmappedCode) {
            code = '?';
        }
    }
}

Bytes DbcsTable::ToWide(BytesView bytes) const {
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t size = bytes.size();
    Bytes result(size * 2, '\0');
    char* out = result.data();
    std::size_t i = 0;
    while (i < size) {
        std::uint64_t block;
        if (i + ascii_block::kSize <= size && ascii_block::Load(in + i, block)) {
            ascii_block::Widen(block, out);
            out += 2 * ascii_block::kSize;
            i += ascii_block::kSize;
            continue;
        }
        const unsigned byte = in[i];
        // A zero byte is never a trail byte: a lead byte before it stands alone.
        if (m_lead[byte] && i + 1 < size && in[i + 1] != 0) {
            PutUnit(out, m_pairs[byte << 8 | in[i + 1]]);
            i += 2;
        } else {
            PutUnit(out, m_singles[byte]);
            ++i;
        }
    }
    result.resize(static_cast<std::size_t>(out - result.data()));
    return result;
}

Bytes DbcsTable::FromWide(BytesView utf16) const {
    const auto* in = reinterpret_cast<const unsigned char*>(utf16.data());
    const std::size_t units = utf16.size() / 2;
    Bytes result(units * 2, '\0');
    char* out = result.data();
    for (std::size_t i = 0; i < units; ++i) {
        const std::uint16_t code = m_encodings[in[2 * i] | in[2 * i + 1] << 8];
        if (code >= 0x100) {
            *out++ = static_cast<char>(code >> 8);
        }
        *out++ = static_cast<char>(code & 0xFF);
    }
    result.resize(static_cast<std::size_t>(out - result.data()));
    return result;
}

} // namespace tovrik::text
