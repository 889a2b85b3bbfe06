#include "capture/MonitorLayout.h"

#include <cstdint>

namespace tovrik::capture {

namespace {

std::int64_t Overlap(const Rect& a, const Rect& b) {
    const Rect common = a.Intersected(b);
    return static_cast<std::int64_t>(common.Width()) * common.Height();
}

} // namespace

MonitorLayout::MonitorLayout(const std::vector<Rect>& monitors, const Rect& workArea, const Rect& area) {
    for (const Rect& monitor : monitors) {
        if (!monitor.IsEmpty()) {
            m_monitors.push_back({monitor.left - area.left, monitor.top - area.top, monitor.right - area.left,
                                  monitor.bottom - area.top});
        }
    }
    if (m_monitors.empty()) {
        m_monitors.push_back({0, 0, area.Width(), area.Height()});
    }
    // The work area lies within the primary monitor: the monitor it overlaps most.
    const Rect work{workArea.left - area.left, workArea.top - area.top, workArea.right - area.left,
                    workArea.bottom - area.top};
    m_primary = m_monitors.front();
    std::int64_t best = Overlap(work, m_primary);
    for (const Rect& monitor : m_monitors) {
        if (const std::int64_t overlap = Overlap(work, monitor); overlap > best) {
            best = overlap;
            m_primary = monitor;
        }
    }
}

Rect MonitorLayout::Holding(const Rect& rect) const {
    const Rect area = rect.Normalized();
    Rect holder = m_primary;
    std::int64_t best = 0;
    for (const Rect& monitor : m_monitors) {
        // Strictly more: on a tie the earlier monitor wins.
        if (const std::int64_t overlap = Overlap(area, monitor); overlap > best) {
            best = overlap;
            holder = monitor;
        }
    }
    if (best == 0) {
        // A selection without area (a click) still has a position.
        return At({area.left, area.top});
    }
    return holder;
}

Rect MonitorLayout::At(Point point) const {
    for (const Rect& monitor : m_monitors) {
        if (monitor.Contains(point)) {
            return monitor;
        }
    }
    return m_primary;
}

} // namespace tovrik::capture
