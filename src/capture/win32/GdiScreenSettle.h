#pragma once

#include "capture/ScreenSettle.h"

namespace tovrik::capture {

// Waits for the program's windows on Windows. Showing and hiding take effect at once, but a
// window shown paints only when its WM_PAINT comes round, and with desktop composition the
// screen changes at the next composed frame. So: paint what is pending now, flush GDI, then wait
// for the compositor's next frame (DwmFlush); without composition the windows uncovered by a
// hidden one repaint in their own processes, which get a short time for it.
class GdiScreenSettle final : public ScreenSettle {
public:
    static constexpr int kUncoverMs = 30;

    void AwaitOwnWindows(int limitMs) override;
};

} // namespace tovrik::capture
