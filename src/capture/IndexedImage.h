#pragma once

#include "capture/Geometry.h"
#include "ui/Bitmap.h"

#include <cstdint>
#include <vector>

namespace tovrik::capture {

// A picture of at most 256 colours, one palette index per pixel, rows top-down.
struct IndexedImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> indices;
    std::vector<Color> palette; // 1 to 256 entries

    // A picture with at most 256 colours keeps them exactly (screenshots of plain windows
    // often do); a richer one is mapped to the nearest colour of a fixed 6 x 7 x 6 cube. Both
    // builds reduce the same way, so their GIF files hold the same indices.
    [[nodiscard]] static IndexedImage From(const ui::Bitmap& image);
};

} // namespace tovrik::capture
