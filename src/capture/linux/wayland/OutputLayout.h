#pragma once

#include "capture/Geometry.h"

#include <string>
#include <vector>

namespace tovrik::capture {

// One output (monitor) of a Wayland session as the compositor describes it: its place in the
// compositor's logical layout, its scale and its size in physical pixels.
struct OutputInfo {
    std::string name;
    Rect logical;
    int scale = 1;
    int physicalWidth = 0;
    int physicalHeight = 0;

    bool operator==(const OutputInfo&) const = default;
};

// The program's virtual screen in physical pixels, made from the compositor's logical layout.
// An output keeps its physical size; it is placed right of the outputs it touches on its left
// and below those it touches above, so that neighbours stay neighbours: a scale-1 output of
// 1920 pixels with a scale-2 output of 1280x1024 to its right gives 0..1920 and 1920..3200,
// the same row. A drag over the edge of one output goes on in the next.
class OutputLayout {
public:
    OutputLayout() = default;
    explicit OutputLayout(std::vector<OutputInfo> outputs);

    [[nodiscard]] const std::vector<OutputInfo>& Outputs() const { return m_outputs; }
    // Physical rectangle of each output, in the order of Outputs().
    [[nodiscard]] const std::vector<Rect>& Physical() const { return m_physical; }
    [[nodiscard]] bool Empty() const { return m_outputs.empty(); }
    // The index of the output that holds the logical point, else of the nearest one; -1 when
    // there is none.
    [[nodiscard]] int OutputAt(double logicalX, double logicalY) const;
    // A point of the logical layout (a pointer position) in physical pixels, measured on the
    // output that holds it (the nearest when it lies between outputs).
    [[nodiscard]] Point ToPhysical(double logicalX, double logicalY) const;

private:
    std::vector<OutputInfo> m_outputs;
    std::vector<Rect> m_physical;
};

} // namespace tovrik::capture
