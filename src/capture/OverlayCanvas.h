#pragma once

#include "capture/Geometry.h"
#include "capture/TextPainter.h"
#include "text/Types.h"
#include "ui/Bitmap.h"

#include <cstdint>

namespace tovrik::capture {

// Where the pictures of one overlay live: the frozen screen and the frame the window shows,
// both of the overlay's size. They may be kept in our memory or by the display server, which
// then draws the frame itself and hands us only the pixels we ask for. Every operation clips
// to the canvas.
class OverlayCanvas {
public:
    virtual ~OverlayCanvas() = default;

    [[nodiscard]] virtual int Width() const = 0;
    [[nodiscard]] virtual int Height() const = 0;
    [[nodiscard]] Rect Bounds() const { return {0, 0, Width(), Height()}; }

    // The frame's area := the frozen screen's, with black laid over it at constant opacity
    // alpha (0 shows the screen as it was frozen; above 255 counts as 255). Each colour
    // channel c becomes round(c * (255 - alpha) / 255).
    virtual void ShowScreen(const Rect& area, int alpha) = 0;
    virtual void FillRect(const Rect& area, Color color) = 0;
    // The painter's text on the frame inside the box.
    virtual void DrawText(const Rect& box, TextView text, TextPainter& painter) = 0;

    // The frozen screen's pixels of the area, placed at (0, 0) of a new bitmap of the area's
    // size; parts of the area outside the canvas come out black.
    [[nodiscard]] virtual ui::Bitmap CropScreen(const Rect& area) const = 0;

    // The frozen screen and the frame in our memory; null when the display server keeps them.
    [[nodiscard]] virtual const ui::Bitmap* ScreenPixels() const = 0;
    [[nodiscard]] virtual const ui::Bitmap* FramePixels() const = 0;
    // The frame as the display server knows it (an X pixmap, for instance); 0 when it is in
    // our memory.
    [[nodiscard]] virtual std::uintptr_t NativeFrame() const = 0;
};

} // namespace tovrik::capture
