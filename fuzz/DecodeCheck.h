#pragma once

#include "capture/ImageCodec.h"
#include "text/Types.h"
#include "ui/Bitmap.h"

#include <cstddef>
#include <optional>

// What every picture decoder must hold to on any input: a picture it returns is whole (as many
// pixel bytes as its size says), and what it returns, encoded again, decodes to the same size.
namespace tovrik::fuzz {

// Re-encoding is what costs; small pictures show the same faults.
inline constexpr int kMaxRoundTripPixels = 64 * 64;

inline void CheckDecoded(const std::optional<ui::Bitmap>& image, capture::ImageFormat format) {
    if (!image) {
        return;
    }
    if (image->Empty() || image->pixels.size() != image->Stride() * static_cast<std::size_t>(image->height)) {
        __builtin_trap();
    }
    if (image->width * image->height > kMaxRoundTripPixels) {
        return;
    }
    const std::optional<Bytes> encoded = capture::EncodeBitmap(*image, format);
    if (!encoded) {
        __builtin_trap();
    }
    const std::optional<ui::Bitmap> again = capture::DecodeImageBytes(*encoded);
    if (!again || again->width != image->width || again->height != image->height) {
        __builtin_trap();
    }
}

} // namespace tovrik::fuzz
