#pragma once

#include "capture/Geometry.h"
#include "capture/OverlayCanvas.h"
#include "capture/OverlayLayout.h"
#include "capture/TextPainter.h"
#include "text/Types.h"
#include "ui/Bitmap.h"

#include <cstdint>
#include <vector>

namespace tovrik::capture {

class OverlayInput;

struct MenuItem {
    int id = 0; // 0 for a separator
    Text label;
    bool enabled = true;

    bool operator==(const MenuItem&) const = default;
};

// The full-screen window of one capture, carried out by the desktop backend.
class OverlayWindow : public TextPainter {
public:
    // Shows a borderless, topmost tool window without caption over the area (desktop pixels)
    // and runs a modal loop until Close. The window shows the canvas's frame (in our memory or
    // kept by the display server) with the frame's (0, 0) at its top-left corner, repaints
    // from it whenever the system asks, never erases its background, and feeds mouse and key
    // events to `input`. False when no window could be shown or the frame is of a kind the
    // window cannot show. The canvas stays valid and keeps its size until this returns.
    [[nodiscard]] virtual bool RunModal(const Rect& area, const OverlayCanvas& canvas, OverlayInput& input) = 0;
    // Ends the modal loop once the event being handled returns.
    virtual void Close() = 0;
    // The area of the frame has changed: show it now.
    virtual void Present(const Rect& area) = 0;
    // Sets the cursor now and keeps it whenever the pointer is over the window.
    virtual void SetCursor(Cursor cursor) = 0;
    virtual void ReleaseMouseCapture() = 0;
    // Shows a popup menu at the pointer's current position and waits for it to close; the id
    // of the chosen entry, or 0 when none was chosen. Disabled entries are shown grey.
    [[nodiscard]] virtual int ShowMenu(const std::vector<MenuItem>& items) = 0;
    // The native window (for instance an HWND) that owns dialogs opened from the overlay.
    [[nodiscard]] virtual std::uintptr_t NativeHandle() const = 0;
};

} // namespace tovrik::capture
