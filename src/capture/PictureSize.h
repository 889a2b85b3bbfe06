#pragma once

#include "text/Types.h"

#include <cstdint>
#include <optional>

// The size a picture file states in its header, read without decoding anything, so that a
// picture too large to hold is refused before its memory is taken.
namespace tovrik::capture {

// Larger pictures are refused by every decoder: 100 million pixels are 400 MB of BGRA, more
// than any screen or scan the program is meant for.
inline constexpr std::uint64_t kMaxPicturePixels = 100'000'000;

struct PictureSize {
    std::uint64_t width = 0;
    std::uint64_t height = 0;

    [[nodiscard]] std::uint64_t Pixels() const { return width * height; }
};

// Width and height from the header of a BMP, PNG, GIF (the logical screen), JPEG (the first
// frame header) or TIFF (the first page); nothing when the bytes are none of these or the
// header is cut short.
[[nodiscard]] std::optional<PictureSize> PictureSizeOf(BytesView bytes);

// True when the header states more than kMaxPicturePixels.
[[nodiscard]] bool PictureTooLarge(BytesView bytes);

} // namespace tovrik::capture
