#pragma once

#include "ui/PixelMemory.h"

#include <cstddef>
#include <cstdint>

namespace tovrik::ui {

// 32-bit pixels, top-down rows, each pixel as the bytes B, G, R, A (the layout of a Windows
// DIB section and of an X11 ZPixmap on little-endian machines).
struct Bitmap {
    int width = 0;
    int height = 0;
    PixelBytes pixels; // width * height * 4 bytes

    [[nodiscard]] bool Empty() const { return width <= 0 || height <= 0; }
    [[nodiscard]] std::size_t Stride() const { return static_cast<std::size_t>(width) * 4; }
};

} // namespace tovrik::ui
