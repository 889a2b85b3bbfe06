#pragma once

#include "capture/Geometry.h"

namespace tovrik::capture {

// A window whose pixels the X server paints from a pixmap of its own: after mapping, after an
// exposure (a menu closing over it) and on request, without a paint event of ours and without
// a back buffer in our memory. Both do nothing without an X11 connection.

// Makes the pixmap the window's background; 0 takes it away (the window then keeps what it
// shows, and the server may free the pixmap once it is freed by its owner).
void SetBackgroundPixmap(unsigned long window, unsigned long pixmap);
// Repaints the area of the window (window pixels) from its background now.
void RepaintFromBackground(unsigned long window, const Rect& area);

} // namespace tovrik::capture
