#pragma once

#include "capture/ScreenSource.h"

namespace tovrik::capture {

// The Windows desktop through GDI: monitors from the display enumeration, pictures from the
// desktop's device context (layered windows included).
class GdiScreenSource final : public ScreenSource {
public:
    [[nodiscard]] Rect WorkArea() override;
    [[nodiscard]] std::vector<Rect> Monitors() override;
    [[nodiscard]] bool Grab(const Rect& area, ui::Bitmap& pictureOut) override;
    [[nodiscard]] std::optional<Point> PointerPosition() override;
};

} // namespace tovrik::capture
