#include "FakeScreenSource.h"

#include <cstring>

namespace tovrik::fakes {

std::uint32_t FakeScreenSource::PixelAt(int desktopX, int desktopY) {
    const auto x = static_cast<std::uint32_t>(desktopX + 65536);
    const auto y = static_cast<std::uint32_t>(desktopY + 65536);
    const std::uint32_t red = (x / 256 + 16 * (y / 256)) & 0xFF;
    return 0xFF000000u | (red << 16) | ((y & 0xFF) << 8) | (x & 0xFF);
}

bool FakeScreenSource::Grab(const capture::Rect& area, ui::Bitmap& pictureOut) {
    ++grabCount;
    lastGrab = area;
    pictureOut = ui::Bitmap{};
    if (failGrab || area.IsEmpty()) {
        return false;
    }
    pictureOut.width = area.Width();
    pictureOut.height = area.Height();
    pictureOut.pixels.resize(pictureOut.Stride() * static_cast<std::size_t>(pictureOut.height));
    for (int y = 0; y < pictureOut.height; ++y) {
        for (int x = 0; x < pictureOut.width; ++x) {
            const std::uint32_t pixel = PixelAt(area.left + x, area.top + y);
            std::memcpy(pictureOut.pixels.data() + (static_cast<std::size_t>(y) * pictureOut.width + x) * 4, &pixel, 4);
        }
    }
    return true;
}

} // namespace tovrik::fakes
