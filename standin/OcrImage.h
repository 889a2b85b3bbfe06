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

// The 8-bit gray picture with white rows added above and below, and white columns after it.
[[nodiscard]] PixPtr WithWhite(Pix* gray, int above, int below, int after);

// In a 1-bit picture: just past the last column of [from, to) with a set pixel between the rows
// top and bottom (exclusive), or `from` when there is none.
[[nodiscard]] int InkEnd(Pix* binary, int from, int to, int top, int bottom);

// In a 1-bit picture: just past the last set pixel (between the rows top and bottom, exclusive)
// of the ink that goes on from column `from` to the right with no more than `maxGap` white
// columns in a row, looking no further than `limit`; `from` when there is none.
[[nodiscard]] int InkRunEnd(Pix* binary, int from, int maxGap, int limit, int top, int bottom);

[[nodiscard]] int PixWidth(Pix* pix);
[[nodiscard]] int PixHeight(Pix* pix);

} // namespace tovrik::standin
