#include "capture/BmpCodec.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace tovrik::capture {

namespace {

constexpr std::uint32_t kInfoBlockSize = 44;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kCompressionRgb = 0;
constexpr std::uint32_t kCompressionBitFields = 3;
constexpr std::uint32_t kCompressionAlphaBitFields = 6;
// Larger pictures are refused rather than trusted: 2^28 pixels is a gigabyte of BGRA.
constexpr std::uint64_t kMaxPixels = std::uint64_t{1} << 28;

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
        static_cast<std::uint64_t>(info->width) * static_cast<std::uint64_t>(info->height) > kMaxPixels) {
        return std::nullopt;
    }
    const std::uint32_t bits = info->bitCount;
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
        const std::size_t entrySize = info->headerSize == kCoreHeaderSize ? 3 : 4;
        const std::size_t maxCount = std::size_t{1} << bits;
        const std::size_t count =
            (info->coloursUsed != 0 && info->coloursUsed < maxCount) ? info->coloursUsed : maxCount;
        const std::size_t start = kFileHeaderSize + info->headerSize;
        for (std::size_t i = 0; i < count && start + (i + 1) * entrySize <= bytes.size(); ++i) {
            const std::size_t at = start + i * entrySize;
            palette[i] = 0xFF000000u | Read16(bytes, at) |
                         (static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[at + 2])) << 16);
        }
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
