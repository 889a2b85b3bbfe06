#pragma once

#include "capture/ScreenSettle.h"

namespace tovrik::capture {

// Waits for the program's Qt windows in a Wayland session. A client cannot ask the compositor
// whether its surfaces are on the screen: the shown or hidden windows are committed by handling
// Qt's pending events, and the compositor has drawn them after its next frames.
class WaylandScreenSettle final : public ScreenSettle {
public:
    static constexpr int kCompositorFramesMs = 34;

    void AwaitOwnWindows(int limitMs) override;
};

} // namespace tovrik::capture
