#pragma once

#include "capture/ScreenSource.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace tovrik::fakes {

// A desktop of monitors whose pixels encode their own desktop coordinates, so a test can tell
// from any captured pixel where it came from (see PixelAt).
class FakeScreenSource final : public capture::ScreenSource {
public:
    capture::Rect workArea{0, 0, 1920, 1040};
    std::vector<capture::Rect> monitors{{0, 0, 1920, 1080}};
    bool failGrab = false;
    std::optional<capture::Point> pointer; // desktop pixels; empty: the system does not tell
    capture::ScreenOrigin origin = capture::ScreenOrigin::WindowSystem;

    int grabCount = 0;
    capture::Rect lastGrab;

    capture::Rect WorkArea() override { return workArea; }
    std::vector<capture::Rect> Monitors() override { return monitors; }
    bool Grab(const capture::Rect& area, ui::Bitmap& pictureOut) override;
    std::optional<capture::Point> PointerPosition() override { return pointer; }
    capture::ScreenOrigin Origin() const override { return origin; }

    // B = desktop x mod 256, G = desktop y mod 256, R = (x / 256 + 16 * (y / 256)) mod 256,
    // A = 255, as packed 0xAARRGGBB.
    [[nodiscard]] static std::uint32_t PixelAt(int desktopX, int desktopY);
};

} // namespace tovrik::fakes
