#pragma once

#include "capture/Geometry.h"

#include <vector>

// Which monitor of the frozen screen a box belongs on. The overlay covers every monitor, but a
// box placed by the whole virtual screen can land in a corner that no monitor shows (a shorter
// monitor beside a taller one) or straddle the seam between two.
namespace tovrik::capture {

class MonitorLayout {
public:
    MonitorLayout() = default;
    // Monitors and the primary monitor's work area in desktop pixels, the frozen area's corner
    // as origin: every rectangle this answers with is in frozen-screen pixels. Without
    // monitors the whole area counts as one.
    MonitorLayout(const std::vector<Rect>& monitors, const Rect& workArea, const Rect& area);

    // The monitor holding most of the rectangle; the primary monitor when it lies on none.
    [[nodiscard]] Rect Holding(const Rect& rect) const;
    // The monitor under the point; the primary monitor when the point lies on none.
    [[nodiscard]] Rect At(Point point) const;
    [[nodiscard]] Rect Primary() const { return m_primary; }

private:
    std::vector<Rect> m_monitors;
    Rect m_primary;
};

} // namespace tovrik::capture
