#include "capture/linux/X11Background.h"

#include "ui/linux/X11Display.h"

#include <X11/Xlib.h>

namespace tovrik::capture {

void SetBackgroundPixmap(unsigned long window, unsigned long pixmap) {
    Display* display = ui::X11Display();
    if (display == nullptr || window == 0) {
        return;
    }
    XSetWindowBackgroundPixmap(display, window, pixmap != 0 ? pixmap : None);
    // Sent before Qt's own requests (mapping the window) go out on the shared connection.
    XFlush(display);
}

void RepaintFromBackground(unsigned long window, const Rect& area) {
    Display* display = ui::X11Display();
    if (display == nullptr || window == 0 || area.IsEmpty()) {
        return;
    }
    XClearArea(display, window, area.left, area.top, static_cast<unsigned>(area.Width()),
               static_cast<unsigned>(area.Height()), False);
    XFlush(display);
}

} // namespace tovrik::capture
