#pragma once

#include <cstdint>

namespace tovrik::ui {

// Pixels. A form's rectangle is its outer frame on the screen; a control's is relative to the
// client area of its parent (the form, a group box or the status strip).
struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    friend bool operator==(const Rect&, const Rect&) = default;
};

// Colours in the Windows 0x00BBGGRR form, on every platform.
using Colour = std::uint32_t;

enum class WindowState { Normal, Minimised, Maximised };

} // namespace tovrik::ui
