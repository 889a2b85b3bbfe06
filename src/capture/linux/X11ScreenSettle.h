#pragma once

#include "capture/ScreenSettle.h"

namespace tovrik::capture {

// Waits for the program's Qt windows on X11. A window shown counts once it is exposed and Qt has
// painted it; a hidden one once its top-level X window (the window manager's frame when there
// is one) is no longer viewable. A round trip then makes sure the server has carried out the
// drawing before the screen is read. Under a compositing manager the screen follows a frame
// later: two frames more are waited for then.
class X11ScreenSettle final : public ScreenSettle {
public:
    static constexpr int kPollMs = 2;
    static constexpr int kCompositorFramesMs = 34;

    void AwaitOwnWindows(int limitMs) override;
};

} // namespace tovrik::capture
