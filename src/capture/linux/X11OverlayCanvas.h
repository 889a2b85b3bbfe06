#pragma once

#include "capture/OverlayCanvas.h"
#include "capture/linux/X11OverlayPixmaps.h"

#include <memory>

using Display = struct _XDisplay;

namespace tovrik::capture {

// The overlay's pictures kept by the X server: the frozen screen is copied from the root
// window into a pixmap of the server's, the frame is another one, and the dimmed parts are
// drawn by the server (XRender, the screen through a constant alpha mask). The overlay window
// shows the frame pixmap as its background, so neither picture ever crosses into our memory;
// we fetch only the pixels under the information box (to draw its text) and the selection.
class X11OverlayCanvas final : public OverlayCanvas {
public:
    // Freezes the area of the root window into the pixmaps (parts outside the root are black);
    // null when they are missing or not of the area's size.
    [[nodiscard]] static std::unique_ptr<X11OverlayCanvas> Freeze(std::shared_ptr<X11OverlayPixmaps> pixmaps,
                                                                  const Rect& area);
    // The same into pixmaps made for this canvas alone; null when the server cannot keep them
    // (X11OverlayPixmaps::Create): the caller then reads the screen into memory instead.
    [[nodiscard]] static std::unique_ptr<X11OverlayCanvas> Freeze(Display* display, const Rect& area);

    [[nodiscard]] int Width() const override { return m_pixmaps->Width(); }
    [[nodiscard]] int Height() const override { return m_pixmaps->Height(); }
    void ShowScreen(const Rect& area, int alpha) override;
    void FillRect(const Rect& area, Color color) override;
    void DrawText(const Rect& box, TextView text, TextPainter& painter) override;
    [[nodiscard]] ui::Bitmap CropScreen(const Rect& area) const override;
    [[nodiscard]] const ui::Bitmap* ScreenPixels() const override { return nullptr; }
    [[nodiscard]] const ui::Bitmap* FramePixels() const override { return nullptr; }
    [[nodiscard]] std::uintptr_t NativeFrame() const override { return m_pixmaps->Frame(); }

private:
    explicit X11OverlayCanvas(std::shared_ptr<X11OverlayPixmaps> pixmaps);

    std::shared_ptr<X11OverlayPixmaps> m_pixmaps;
    Display* m_display;
};

} // namespace tovrik::capture
