#pragma once

#include "capture/Geometry.h"
#include "capture/OverlayCanvas.h"
#include "ui/Bitmap.h"

#include <memory>
#include <optional>
#include <vector>

namespace tovrik::capture {

// Where the pictures of a desktop come from, for the user to see.
enum class ScreenOrigin {
    WindowSystem,     // the window system's own screen (Windows, X11)
    Screencopy,       // a wlroots compositor's screencopy protocol
    ScreenshotPortal, // the desktop portal's Screenshot interface
};

// The desktop as the overlay freezes it. Coordinates are physical desktop pixels; a monitor
// left of or above the primary one has negative coordinates.
class ScreenSource {
public:
    virtual ~ScreenSource() = default;

    // The primary monitor's work area (the desktop without task bars).
    [[nodiscard]] virtual Rect WorkArea() = 0;
    // One rectangle per monitor.
    [[nodiscard]] virtual std::vector<Rect> Monitors() = 0;
    // One picture of the area, layered windows included: pixel (0, 0) of the result is
    // (area.left, area.top) of the desktop. The bitmap may come with memory from an earlier
    // picture for reuse; its size fields are to be set. False when the screen cannot be read.
    [[nodiscard]] virtual bool Grab(const Rect& area, ui::Bitmap& pictureOut) = 0;
    // The area frozen for an overlay, on a canvas of the area's size; null when the screen
    // cannot be read. By default the picture of Grab, kept in our memory; a desktop whose
    // server can keep and draw the pictures itself hands out a canvas of its own.
    [[nodiscard]] virtual std::unique_ptr<OverlayCanvas> Freeze(const Rect& area);
    // Where the pointer is. A system that does not tell (a Wayland session) leaves it empty,
    // and the overlay's hint starts on the primary monitor.
    [[nodiscard]] virtual std::optional<Point> PointerPosition() { return std::nullopt; }
    // Where the pictures come from; known once the source is constructed.
    [[nodiscard]] virtual ScreenOrigin Origin() const { return ScreenOrigin::WindowSystem; }
};

} // namespace tovrik::capture
