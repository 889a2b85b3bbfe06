#include "capture/linux/wayland/OutputLayout.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tovrik::capture {

namespace {

bool OverlapsVertically(const Rect& a, const Rect& b) {
    return a.top < b.bottom && b.top < a.bottom;
}

bool OverlapsHorizontally(const Rect& a, const Rect& b) {
    return a.left < b.right && b.left < a.right;
}

double DistanceSquared(const Rect& rect, double x, double y) {
    const double dx = x < rect.left ? rect.left - x : (x >= rect.right ? x - rect.right + 1 : 0);
    const double dy = y < rect.top ? rect.top - y : (y >= rect.bottom ? y - rect.bottom + 1 : 0);
    return dx * dx + dy * dy;
}

// An output's physical edge on one axis: its logical edge when nothing lies before it on that
// axis, else the farthest physical edge of the outputs of its row (column) that end at or
// before it, plus the logical gap between them. Outputs are placed in the order of their
// logical edges, so every neighbour before an output is placed first.
template <typename LogicalStart, typename LogicalEnd, typename PhysicalStart, typename Size, typename Overlap>
void PlaceAxis(const std::vector<OutputInfo>& outputs, std::vector<Rect>& physical, LogicalStart logicalStart,
               LogicalEnd logicalEnd, PhysicalStart physicalStart, Size size, Overlap overlap) {
    std::vector<std::size_t> order(outputs.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return logicalStart(outputs[a].logical) < logicalStart(outputs[b].logical);
    });
    for (const std::size_t i : order) {
        const Rect& mine = outputs[i].logical;
        int start = logicalStart(mine);
        bool neighbour = false;
        for (std::size_t j = 0; j < outputs.size(); ++j) {
            const Rect& other = outputs[j].logical;
            if (j == i || logicalEnd(other) > logicalStart(mine) || !overlap(mine, other)) {
                continue;
            }
            const int candidate =
                physicalStart(physical[j]) + size(outputs[j]) + (logicalStart(mine) - logicalEnd(other));
            start = neighbour ? std::max(start, candidate) : candidate;
            neighbour = true;
        }
        physicalStart(physical[i]) = start;
    }
}

} // namespace

OutputLayout::OutputLayout(std::vector<OutputInfo> outputs) : m_outputs(std::move(outputs)) {
    m_physical.assign(m_outputs.size(), Rect{});
    PlaceAxis(
        m_outputs, m_physical, [](const Rect& r) { return r.left; }, [](const Rect& r) { return r.right; },
        [](Rect& r) -> int& { return r.left; }, [](const OutputInfo& o) { return o.physicalWidth; },
        OverlapsVertically);
    PlaceAxis(
        m_outputs, m_physical, [](const Rect& r) { return r.top; }, [](const Rect& r) { return r.bottom; },
        [](Rect& r) -> int& { return r.top; }, [](const OutputInfo& o) { return o.physicalHeight; },
        OverlapsHorizontally);
    for (std::size_t i = 0; i < m_outputs.size(); ++i) {
        m_physical[i].right = m_physical[i].left + m_outputs[i].physicalWidth;
        m_physical[i].bottom = m_physical[i].top + m_outputs[i].physicalHeight;
    }
}

int OutputLayout::OutputAt(double logicalX, double logicalY) const {
    int best = -1;
    double bestDistance = std::numeric_limits<double>::max();
    for (std::size_t i = 0; i < m_outputs.size(); ++i) {
        const double distance = DistanceSquared(m_outputs[i].logical, logicalX, logicalY);
        if (distance < bestDistance) {
            best = static_cast<int>(i);
            bestDistance = distance;
        }
    }
    return best;
}

Point OutputLayout::ToPhysical(double logicalX, double logicalY) const {
    const int index = OutputAt(logicalX, logicalY);
    if (index < 0) {
        return {static_cast<int>(std::floor(logicalX)), static_cast<int>(std::floor(logicalY))};
    }
    const OutputInfo& output = m_outputs[static_cast<std::size_t>(index)];
    const Rect& physical = m_physical[static_cast<std::size_t>(index)];
    const double scaleX =
        output.logical.Width() > 0 ? static_cast<double>(output.physicalWidth) / output.logical.Width() : output.scale;
    const double scaleY = output.logical.Height() > 0
                              ? static_cast<double>(output.physicalHeight) / output.logical.Height()
                              : output.scale;
    return {physical.left + static_cast<int>(std::floor((logicalX - output.logical.left) * scaleX)),
            physical.top + static_cast<int>(std::floor((logicalY - output.logical.top) * scaleY))};
}

} // namespace tovrik::capture
