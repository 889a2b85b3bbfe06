#include "capture/BmpCodec.h"

#include "capture/PictureSize.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

namespace tovrik::capture {

namespace {

constexpr std::uint32_t kInfoBlockSize = 44;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kCompressionRgb = 0;
constexpr std::uint32_t kCompressionRle8 = 1;
constexpr std::uint32_t kCompressionRle4 = 2;
constexpr std::uint64_t kMaxPixelsPerRleByte = 128;
constexpr std::uint32_t kCompressionBitFields = 3;
constexpr std::uint32_t kCompressionAlphaBitFields = 6;

void Put16(Bytes& out, std::uint16_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8);
}

void Put32(Bytes& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out += static_cast<char>((value >> shift) & 0xFF);
    }
}

void PutFileHeader(Bytes& out, std::uint32_t headersSize, std::uint32_t imageSize) {
    out += "BM";
    Put32(out, headersSize + imageSize);
    Put16(out, 0);
    Put16(out, 0);
    Put32(out, headersSize);
}

void PutInfoHeader(Bytes& out, std::uint32_t headerSize, const ui::Bitmap& image, std::uint16_t bitCount,
                   std::uint32_t imageSize) {
    Put32(out, headerSize);
    Put32(out, static_cast<std::uint32_t>(image.width));
    Put32(out, static_cast<std::uint32_t>(image.height));
    Put16(out, 1);
    Put16(out, bitCount);
    Put32(out, kCompressionRgb);
    Put32(out, imageSize);
    Put32(out, 0); // horizontal resolution
    Put32(out, 0); // vertical resolution
    Put32(out, 0); // colours used
    Put32(out, 0); // important colours
}

const std::uint8_t* SourceRow(const ui::Bitmap& image, int y) {
    return image.pixels.data() + static_cast<std::size_t>(y) * image.Stride();
}

bool HasPixels(const ui::Bitmap& image) {
    return !image.Empty() && image.pixels.size() >= image.Stride() * static_cast<std::size_t>(image.height);
}

// Little-endian reads within bounds checked by the caller.
std::uint32_t Read16(BytesView bytes, std::size_t at) {
    return static_cast<std::uint8_t>(bytes[at]) |
           (static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[at + 1])) << 8);
}

std::uint32_t Read32(BytesView bytes, std::size_t at) {
    return Read16(bytes, at) | (Read16(bytes, at + 2) << 16);
}

// One channel of a bit-field pixel, scaled to 0-255.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint32_t max = 0;

    explicit Channel(std::uint32_t m) : mask(m) {
        if (mask != 0) {
            shift = std::countr_zero(mask);
            max = mask >> shift;
        }
    }
    [[nodiscard]] std::uint8_t Of(std::uint32_t pixel, std::uint8_t absent) const {
        if (mask == 0) {
            return absent;
        }
        const std::uint64_t value = (pixel & mask) >> shift;
        return static_cast<std::uint8_t>((value * 255 + max / 2) / max);
    }
};

struct BmpInfo {
    std::int64_t width = 0;
    std::int64_t height = 0;
    bool topDown = false;
    std::uint32_t bitCount = 0;
    std::uint32_t compression = kCompressionRgb;
    std::uint32_t headerSize = 0;
    std::uint32_t pixelOffset = 0;
    std::uint32_t coloursUsed = 0;
};

std::optional<BmpInfo> ReadInfo(BytesView bytes) {
    if (bytes.size() < kFileHeaderSize + kCoreHeaderSize || bytes.substr(0, 2) != "BM") {
        return std::nullopt;
    }
    BmpInfo info;
    info.pixelOffset = Read32(bytes, 10);
    info.headerSize = Read32(bytes, 14);
    std::int64_t height = 0;
    if (info.headerSize == kCoreHeaderSize) {
        info.width = Read16(bytes, 18);
        height = Read16(bytes, 20);
        info.bitCount = Read16(bytes, 24);
    } else if (info.headerSize >= kInfoHeaderSize && bytes.size() >= kFileHeaderSize + kInfoHeaderSize) {
        info.width = static_cast<std::int32_t>(Read32(bytes, 18));
        height = static_cast<std::int32_t>(Read32(bytes, 22));
        info.bitCount = Read16(bytes, 28);
        info.compression = Read32(bytes, 30);
        info.coloursUsed = Read32(bytes, 46);
    } else {
        return std::nullopt;
    }
    info.topDown = height < 0;
    info.height = height < 0 ? -height : height;
    return info;
}

// 32-bit pixels laid out as B, G, R and an ignored or alpha byte: a copy, no per-channel work.
void CopyRow32(const std::uint8_t* in, std::int64_t width, bool withAlpha, std::uint8_t* out) {
    if (withAlpha) {
        std::memcpy(out, in, static_cast<std::size_t>(width) * 4);
        return;
    }
    for (std::int64_t x = 0; x < width; ++x) {
        std::uint32_t pixel = 0;
        std::memcpy(&pixel, in + x * 4, 4);
        pixel |= 0xFF000000u;
        std::memcpy(out + x * 4, &pixel, 4);
    }
}

void DecodeRow(BytesView row, const BmpInfo& info, const std::array<std::uint32_t, 256>& palette,
               const std::array<Channel, 4>& channels, std::uint8_t* out) {
    const auto* in = reinterpret_cast<const std::uint8_t*>(row.data());
    if (info.bitCount == 32 && channels[0].mask == 0x00FF0000u && channels[1].mask == 0x0000FF00u &&
        channels[2].mask == 0x000000FFu && (channels[3].mask == 0 || channels[3].mask == 0xFF000000u)) {
        CopyRow32(in, info.width, channels[3].mask != 0, out);
        return;
    }
    for (std::int64_t x = 0; x < info.width; ++x, out += 4) {
        std::uint32_t colour = 0;
        switch (info.bitCount) {
        case 1:
        case 4:
        case 8: {
            const std::int64_t bit = x * info.bitCount;
            const unsigned byte = in[bit / 8];
            const unsigned index = (byte >> (8 - info.bitCount - bit % 8)) & ((1u << info.bitCount) - 1);
            colour = palette[index];
            break;
        }
        case 24:
            colour = 0xFF000000u | in[x * 3] | (in[x * 3 + 1] << 8) | (static_cast<std::uint32_t>(in[x * 3 + 2]) << 16);
            break;
        default: {
            const std::size_t size = info.bitCount / 8;
            std::uint32_t pixel = in[x * size] | (in[x * size + 1] << 8);
            if (size == 4) {
                pixel |= (static_cast<std::uint32_t>(in[x * 4 + 2]) << 16) |
                         (static_cast<std::uint32_t>(in[x * 4 + 3]) << 24);
            }
            colour = channels[2].Of(pixel, 0) | (channels[1].Of(pixel, 0) << 8) |
                     (static_cast<std::uint32_t>(channels[0].Of(pixel, 0)) << 16) |
                     (static_cast<std::uint32_t>(channels[3].Of(pixel, 0xFF)) << 24);
            break;
        }
        }
        std::memcpy(out, &colour, 4);
    }
}

// Palette indexes of a run-length encoded BMP (RLE8: a byte per pixel, RLE4: a nibble), rows
// bottom-up as the format has them. Runs that reach past the picture are clipped; pixels the
// data skips (a delta, a line or the picture ended early) keep index 0.
class RleReader {
public:
    RleReader(BytesView data, std::int64_t width, std::int64_t height, bool fourBit)
        : m_data(data), m_width(width), m_height(height), m_fourBit(fourBit),
          m_indexes(static_cast<std::size_t>(width * height), 0) {}

    [[nodiscard]] std::vector<std::uint8_t> Read() {
        std::size_t at = 0;
        while (at + 2 <= m_data.size() && m_y < m_height) {
            const unsigned count = Byte(at);
            const unsigned value = Byte(at + 1);
            at += 2;
            if (count > 0) {
                for (unsigned i = 0; i < count; ++i) {
                    Put(m_fourBit ? ((i % 2 == 0) ? value >> 4 : value & 0x0F) : value);
                }
                continue;
            }
            if (value == 0) { // end of line
                m_x = 0;
                ++m_y;
            } else if (value == 1) { // end of picture
                break;
            } else if (value == 2) { // delta
                if (at + 2 > m_data.size()) {
                    break;
                }
                m_x += Byte(at);
                m_y += Byte(at + 1);
                at += 2;
            } else { // a literal run, padded to a whole 16-bit word
                const std::size_t bytes = m_fourBit ? (value + 1) / 2 : value;
                if (at + bytes > m_data.size()) {
                    break;
                }
                for (unsigned i = 0; i < value; ++i) {
                    const unsigned byte = Byte(at + (m_fourBit ? i / 2 : i));
                    Put(m_fourBit ? ((i % 2 == 0) ? byte >> 4 : byte & 0x0F) : byte);
                }
                at += bytes + bytes % 2;
            }
        }
        return std::move(m_indexes);
    }

private:
    [[nodiscard]] unsigned Byte(std::size_t at) const { return static_cast<std::uint8_t>(m_data[at]); }

    void Put(unsigned index) {
        if (m_x < m_width && m_y < m_height) {
            m_indexes[static_cast<std::size_t>(m_y * m_width + m_x)] = static_cast<std::uint8_t>(index);
        }
        ++m_x;
    }

    BytesView m_data;
    std::int64_t m_width;
    std::int64_t m_height;
    bool m_fourBit;
    std::int64_t m_x = 0;
    std::int64_t m_y = 0;
    std::vector<std::uint8_t> m_indexes;
};

ui::Bitmap DecodeRle(BytesView data, const BmpInfo& info, const std::array<std::uint32_t, 256>& palette) {
    const std::vector<std::uint8_t> indexes =
        RleReader(data, info.width, info.height, info.compression == kCompressionRle4).Read();
    ui::Bitmap image;
    image.width = static_cast<int>(info.width);
    image.height = static_cast<int>(info.height);
    image.pixels.resize(image.Stride() * static_cast<std::size_t>(image.height));
    for (int y = 0; y < image.height; ++y) {
        const int sourceRow = info.topDown ? y : image.height - 1 - y;
        const std::uint8_t* in = indexes.data() + static_cast<std::size_t>(sourceRow) * static_cast<std::size_t>(image.width);
        std::uint8_t* out = image.pixels.data() + static_cast<std::size_t>(y) * image.Stride();
        for (int x = 0; x < image.width; ++x) {
            std::memcpy(out + static_cast<std::size_t>(x) * 4, &palette[in[x]], 4);
        }
    }
    return image;
}

std::array<std::uint32_t, 256> ReadPalette(BytesView bytes, const BmpInfo& info) {
    std::array<std::uint32_t, 256> palette{};
    palette.fill(0xFF000000u);
    const std::size_t entrySize = info.headerSize == kCoreHeaderSize ? 3 : 4;
    const std::size_t maxCount = std::size_t{1} << info.bitCount;
    const std::size_t count = (info.coloursUsed != 0 && info.coloursUsed < maxCount) ? info.coloursUsed : maxCount;
    const std::size_t start = kFileHeaderSize + info.headerSize;
    for (std::size_t i = 0; i < count && start + (i + 1) * entrySize <= bytes.size(); ++i) {
        const std::size_t at = start + i * entrySize;
        palette[i] = 0xFF000000u | Read16(bytes, at) |
                     (static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[at + 2])) << 16);
    }
    return palette;
}

} // namespace

Bytes ToBmpBytes(const ui::Bitmap& image) {
    if (!HasPixels(image)) {
        return {};
    }
    const std::uint32_t imageSize = static_cast<std::uint32_t>(image.Stride() * static_cast<std::size_t>(image.height));
    Bytes out;
    out.reserve(kCaptureBmpHeaderSize + imageSize);
    PutFileHeader(out, kFileHeaderSize + kInfoBlockSize, imageSize);
    PutInfoHeader(out, kInfoBlockSize, image, 32, imageSize);
    Put32(out, 0); // the colour entry
    const std::size_t start = out.size();
    out.resize(start + imageSize);
    auto* target = reinterpret_cast<std::uint8_t*>(out.data() + start);
    const std::size_t rowBytes = image.Stride();
    for (int y = 0; y < image.height; ++y) {
        const std::uint8_t* source = SourceRow(image, image.height - 1 - y);
        std::uint8_t* row = target + static_cast<std::size_t>(y) * rowBytes;
        for (int x = 0; x < image.width; ++x) {
            std::uint32_t pixel = 0;
            std::memcpy(&pixel, source + x * 4, 4);
            pixel &= 0x00FFFFFFu;
            std::memcpy(row + x * 4, &pixel, 4);
        }
    }
    return out;
}

Bytes EncodeBmp24(const ui::Bitmap& image) {
    if (!HasPixels(image)) {
        return {};
    }
    const std::size_t rowBytes = (static_cast<std::size_t>(image.width) * 3 + 3) & ~std::size_t{3};
    const auto imageSize = static_cast<std::uint32_t>(rowBytes * static_cast<std::size_t>(image.height));
    Bytes out;
    out.reserve(kFileHeaderSize + kInfoHeaderSize + imageSize);
    PutFileHeader(out, kFileHeaderSize + kInfoHeaderSize, imageSize);
    PutInfoHeader(out, kInfoHeaderSize, image, 24, imageSize);
    const std::size_t start = out.size();
    out.resize(start + imageSize, '\0');
    auto* target = reinterpret_cast<std::uint8_t*>(out.data() + start);
    for (int y = 0; y < image.height; ++y) {
        const std::uint8_t* source = SourceRow(image, image.height - 1 - y);
        std::uint8_t* row = target + static_cast<std::size_t>(y) * rowBytes;
        for (int x = 0; x < image.width; ++x) {
            row[x * 3] = source[x * 4];
            row[x * 3 + 1] = source[x * 4 + 1];
            row[x * 3 + 2] = source[x * 4 + 2];
        }
    }
    return out;
}

std::optional<ui::Bitmap> DecodeBmp(BytesView bytes) {
    const std::optional<BmpInfo> info = ReadInfo(bytes);
    if (!info || info->width <= 0 || info->height <= 0 ||
        static_cast<std::uint64_t>(info->width) * static_cast<std::uint64_t>(info->height) > kMaxPicturePixels) {
        return std::nullopt;
    }
    const std::uint32_t bits = info->bitCount;
    const bool rle = (info->compression == kCompressionRle8 && bits == 8) ||
                     (info->compression == kCompressionRle4 && bits == 4);
    if (rle) {
        // Two bytes of runs make at most 255 pixels: a picture far larger than its data could
        // make is not trusted with the memory it asks for.
        const std::uint64_t pixels = static_cast<std::uint64_t>(info->width) * static_cast<std::uint64_t>(info->height);
        if (info->pixelOffset >= bytes.size() || pixels / kMaxPixelsPerRleByte > bytes.size() - info->pixelOffset) {
            return std::nullopt;
        }
        return DecodeRle(bytes.substr(info->pixelOffset), *info, ReadPalette(bytes, *info));
    }
    const bool indexed = bits == 1 || bits == 4 || bits == 8;
    const bool fields = info->compression == kCompressionBitFields || info->compression == kCompressionAlphaBitFields;
    if (!(indexed || bits == 16 || bits == 24 || bits == 32) ||
        !(info->compression == kCompressionRgb || (fields && (bits == 16 || bits == 32)))) {
        return std::nullopt;
    }
    const std::uint64_t rowBytes = ((static_cast<std::uint64_t>(info->width) * bits + 31) / 32) * 4;
    if (info->pixelOffset > bytes.size() ||
        rowBytes * static_cast<std::uint64_t>(info->height) > bytes.size() - info->pixelOffset) {
        return std::nullopt;
    }

    std::array<std::uint32_t, 256> palette{};
    palette.fill(0xFF000000u);
    if (indexed) {
        palette = ReadPalette(bytes, *info);
    }

    std::array<std::uint32_t, 4> masks = {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0}; // R, G, B, A
    if (bits == 16) {
        masks = {0x7C00u, 0x03E0u, 0x001Fu, 0};
    }
    if (fields) {
        const std::size_t at = kFileHeaderSize + kInfoHeaderSize;
        const bool withAlpha = info->compression == kCompressionAlphaBitFields || info->headerSize >= 56;
        if (bytes.size() < at + (withAlpha ? 16 : 12)) {
            return std::nullopt;
        }
        masks = {Read32(bytes, at), Read32(bytes, at + 4), Read32(bytes, at + 8),
                 withAlpha ? Read32(bytes, at + 12) : 0};
    }
    const std::array<Channel, 4> channels = {Channel(masks[0]), Channel(masks[1]), Channel(masks[2]),
                                             Channel(masks[3])};

    ui::Bitmap image;
    image.width = static_cast<int>(info->width);
    image.height = static_cast<int>(info->height);
    image.pixels.resize(image.Stride() * static_cast<std::size_t>(image.height));
    for (int y = 0; y < image.height; ++y) {
        const int sourceRow = info->topDown ? y : image.height - 1 - y;
        const BytesView row =
            bytes.substr(info->pixelOffset + static_cast<std::size_t>(sourceRow) * rowBytes, rowBytes);
        DecodeRow(row, *info, palette, channels, image.pixels.data() + static_cast<std::size_t>(y) * image.Stride());
    }
    return image;
}

} // namespace tovrik::capture
