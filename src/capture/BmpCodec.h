#pragma once

#include "text/Types.h"
#include "ui/Bitmap.h"

#include <cstddef>
#include <optional>

// BMP files written and read without any platform library, so that both builds produce the
// same bytes from the same pixels.
namespace tovrik::capture {

inline constexpr std::size_t kCaptureBmpHeaderSize = 58;

// The BMP layout of a screen capture: a 14-byte file header, a 44-byte info block (the
// 40-byte info header plus one colour entry, so the header-size field says 44), then 32-bit
// rows bottom-up. The fields are what the platform's DIB reader fills in for a 32-bit screen
// bitmap: width, positive height, 1 plane, 32 bits, no compression, image size = width *
// height * 4, resolution 0, no palette counts, the colour entry 0, and 0 in the fourth byte of
// every pixel. Empty bytes for an empty bitmap.
[[nodiscard]] Bytes ToBmpBytes(const ui::Bitmap& image);

// A conventional 24-bit BMP (54-byte header, rows bottom-up, padded to 4 bytes).
[[nodiscard]] Bytes EncodeBmp24(const ui::Bitmap& image);

// BMPs of 1, 4, 8, 16, 24 or 32 bits, bit fields included, either row order, and run-length
// encoded ones (RLE8, RLE4). More than kMaxPicturePixels are refused.
// Pixels without an alpha mask come out opaque.
[[nodiscard]] std::optional<ui::Bitmap> DecodeBmp(BytesView bytes);

} // namespace tovrik::capture
