#pragma once

#include <memory>
#include <string_view>
#include <vector>

struct Pix;
struct Pixa;

namespace tovrik::standin {

struct PixCloser {
    void operator()(Pix* pix) const;
};
using PixPtr = std::unique_ptr<Pix, PixCloser>;
struct PixaCloser {
    void operator()(Pixa* pixa) const;
};
using PixaPtr = std::unique_ptr<Pixa, PixaCloser>;

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

// In an 8-bit gray picture: for each column of the rectangle (clipped to the picture), whether a
// pixel of it between its rows is darker than `level`.
[[nodiscard]] std::vector<bool> InkColumns(Pix* gray, int left, int top, int width, int height, int level);

// A connected blob of ink (8-connected), in the picture's columns and rows, and how its middle
// third of rows stands against its top and bottom thirds: the mean column of the ink of the one
// less that of the others, in hundredths of its width ("(" bends to the left, ")" to the right).
struct InkBlob {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int bend = 0;
};

// The blobs of what is darker than `level` in the rectangle of an 8-bit gray picture.
[[nodiscard]] std::vector<InkBlob> InkBlobs(Pix* gray, int left, int top, int width, int height, int level);

[[nodiscard]] int PixWidth(Pix* pix);
[[nodiscard]] int PixHeight(Pix* pix);

} // namespace tovrik::standin
