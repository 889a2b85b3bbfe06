#pragma once

#include <memory>
#include <string_view>

struct Pix;

namespace tovrik::standin {

struct PixCloser {
    void operator()(Pix* pix) const;
};
using PixPtr = std::unique_ptr<Pix, PixCloser>;

// The uploaded picture (JPEG, PNG, BMP, GIF, TIFF, ...) as 8-bit gray with dark text on a light
// background: light-on-dark pictures (dark themes) are inverted here, once, rather than line by
// line inside tesseract. Null when the bytes are no picture.
[[nodiscard]] PixPtr DecodeGray(std::string_view bytes);

[[nodiscard]] PixPtr ScaleGray(Pix* gray, int factor);

// A copy of the rectangle, clipped to the picture; null when nothing of it lies inside.
[[nodiscard]] PixPtr Crop(Pix* pix, int left, int top, int width, int height);

[[nodiscard]] int PixWidth(Pix* pix);
[[nodiscard]] int PixHeight(Pix* pix);

} // namespace tovrik::standin
