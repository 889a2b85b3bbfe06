#pragma once

// The X server connection that Qt opened; the backends use it rather than opening their own.
// Both are null when the program does not run on X11.
using Display = struct _XDisplay;
struct xcb_connection_t;

namespace tovrik::ui {

[[nodiscard]] Display* X11Display();
[[nodiscard]] xcb_connection_t* X11Connection();

} // namespace tovrik::ui
