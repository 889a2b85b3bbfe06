#pragma once

namespace tovrik::capture {

// The program's own windows as the screen shows them. A window shown or hidden just before a
// capture (the settings and main windows, by the "截图时隐藏窗口" choice) reaches the screen only
// once the display server has mapped or unmapped it and it has painted; a picture read earlier
// misses it, or shows it half drawn.
class ScreenSettle {
public:
    virtual ~ScreenSettle() = default;

    // Returns once every window of the program that is shown is on the screen and painted and
    // every hidden one is off it, or after `limitMs` milliseconds, whichever comes first.
    virtual void AwaitOwnWindows(int limitMs) = 0;
};

} // namespace tovrik::capture
