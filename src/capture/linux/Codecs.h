#pragma once

#include "capture/PictureSize.h"
#include "text/Types.h"
#include "ui/Bitmap.h"

#include <cstdint>
#include <optional>

// The Linux build's image libraries, one file each.
namespace tovrik::capture::codec {

// Checked again on the size each library reads, which may differ from what the header scan
// found (a GIF frame larger than its screen, say).
[[nodiscard]] inline bool SizeAllowed(std::uint64_t width, std::uint64_t height) {
    return width > 0 && height > 0 && width * height <= kMaxPicturePixels;
}

[[nodiscard]] std::optional<ui::Bitmap> DecodePng(BytesView bytes);
[[nodiscard]] std::optional<Bytes> EncodePng(const ui::Bitmap& image);
[[nodiscard]] std::optional<ui::Bitmap> DecodeJpeg(BytesView bytes);
[[nodiscard]] std::optional<Bytes> EncodeJpeg(const ui::Bitmap& image, int quality);
[[nodiscard]] std::optional<ui::Bitmap> DecodeGif(BytesView bytes);
[[nodiscard]] std::optional<Bytes> EncodeGif(const ui::Bitmap& image);
[[nodiscard]] std::optional<ui::Bitmap> DecodeTiff(BytesView bytes);
[[nodiscard]] std::optional<Bytes> EncodeTiff(const ui::Bitmap& image);

} // namespace tovrik::capture::codec
