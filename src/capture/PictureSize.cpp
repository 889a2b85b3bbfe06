#include "capture/PictureSize.h"

#include <cstddef>

namespace tovrik::capture {

namespace {

std::uint32_t Byte(BytesView bytes, std::size_t at) {
    return static_cast<std::uint8_t>(bytes[at]);
}

std::uint32_t Little16(BytesView bytes, std::size_t at) {
    return Byte(bytes, at) | (Byte(bytes, at + 1) << 8);
}

std::uint32_t Little32(BytesView bytes, std::size_t at) {
    return Little16(bytes, at) | (Little16(bytes, at + 2) << 16);
}

std::uint32_t Big16(BytesView bytes, std::size_t at) {
    return (Byte(bytes, at) << 8) | Byte(bytes, at + 1);
}

std::uint32_t Big32(BytesView bytes, std::size_t at) {
    return (Big16(bytes, at) << 16) | Big16(bytes, at + 2);
}

std::optional<PictureSize> BmpSize(BytesView bytes) {
    if (bytes.size() < 26) {
        return std::nullopt;
    }
    if (Little32(bytes, 14) == 12) {
        return PictureSize{Little16(bytes, 18), Little16(bytes, 20)};
    }
    const auto width = static_cast<std::int32_t>(Little32(bytes, 18));
    const auto height = static_cast<std::int32_t>(Little32(bytes, 22));
    // A negative height marks top-down rows.
    const auto magnitude = [](std::int32_t value) {
        return value < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(static_cast<std::int64_t>(value))
                         : static_cast<std::uint64_t>(value);
    };
    return PictureSize{magnitude(width), magnitude(height)};
}

std::optional<PictureSize> PngSize(BytesView bytes) {
    // The header chunk comes first and is 13 bytes long, as the type test expects too.
    if (bytes.size() < 24 || bytes.substr(8, 8) != BytesView("\0\0\0\x0dIHDR", 8)) {
        return std::nullopt;
    }
    return PictureSize{Big32(bytes, 16), Big32(bytes, 20)};
}

std::optional<PictureSize> GifSize(BytesView bytes) {
    if (bytes.size() < 10) {
        return std::nullopt;
    }
    return PictureSize{Little16(bytes, 6), Little16(bytes, 8)};
}

// The first start-of-frame segment; the markers before it carry their own lengths.
std::optional<PictureSize> JpegSize(BytesView bytes) {
    std::size_t at = 2;
    while (at + 4 <= bytes.size()) {
        if (Byte(bytes, at) != 0xFF) {
            return std::nullopt;
        }
        const std::uint32_t marker = Byte(bytes, at + 1);
        if (marker == 0xFF) {
            ++at; // fill byte
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            at += 2; // no length
            continue;
        }
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (at + 9 > bytes.size()) {
                return std::nullopt;
            }
            return PictureSize{Big16(bytes, at + 7), Big16(bytes, at + 5)};
        }
        if (marker == 0xD9 || marker == 0xDA) {
            return std::nullopt; // the end, or image data before any frame header
        }
        at += 2 + Big16(bytes, at + 2);
    }
    return std::nullopt;
}

std::optional<PictureSize> TiffSize(BytesView bytes) {
    const bool little = bytes[0] == 'I';
    const auto read16 = [&](std::size_t at) { return little ? Little16(bytes, at) : Big16(bytes, at); };
    const auto read32 = [&](std::size_t at) { return little ? Little32(bytes, at) : Big32(bytes, at); };
    const std::uint64_t directory = read32(4);
    if (directory + 2 > bytes.size()) {
        return std::nullopt;
    }
    const std::uint32_t entries = read16(static_cast<std::size_t>(directory));
    PictureSize size;
    bool haveWidth = false;
    bool haveHeight = false;
    for (std::uint32_t i = 0; i < entries; ++i) {
        const std::uint64_t entry = directory + 2 + std::uint64_t{12} * i;
        if (entry + 12 > bytes.size()) {
            break;
        }
        const auto at = static_cast<std::size_t>(entry);
        const std::uint32_t tag = read16(at);
        const std::uint32_t type = read16(at + 2);
        if ((tag != 256 && tag != 257) || (type != 3 && type != 4)) {
            continue;
        }
        const std::uint64_t value = type == 3 ? read16(at + 8) : read32(at + 8);
        (tag == 256 ? size.width : size.height) = value;
        (tag == 256 ? haveWidth : haveHeight) = true;
    }
    if (!haveWidth || !haveHeight) {
        return std::nullopt;
    }
    return size;
}

} // namespace

std::optional<PictureSize> PictureSizeOf(BytesView bytes) {
    if (bytes.starts_with("BM")) {
        return BmpSize(bytes);
    }
    if (bytes.starts_with("\x89PNG\r\n\x1a\n")) {
        return PngSize(bytes);
    }
    if (bytes.starts_with("GIF8")) {
        return GifSize(bytes);
    }
    if (bytes.starts_with("\xFF\xD8\xFF")) {
        return JpegSize(bytes);
    }
    if (bytes.size() >= 8 && (bytes.starts_with(BytesView("II*\0", 4)) || bytes.starts_with(BytesView("MM\0*", 4)))) {
        return TiffSize(bytes);
    }
    return std::nullopt;
}

bool PictureTooLarge(BytesView bytes) {
    const std::optional<PictureSize> size = PictureSizeOf(bytes);
    return size && size->Pixels() > kMaxPicturePixels;
}

} // namespace tovrik::capture
