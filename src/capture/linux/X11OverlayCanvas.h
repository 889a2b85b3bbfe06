#pragma once

#include "capture/OverlayCanvas.h"

#include <map>
#include <memory>

using Display = struct _XDisplay;
using GC = struct _XGC*;

namespace tovrik::capture {

// The overlay's pictures kept by the X server: the frozen screen is copied from the root
// window into a pixmap of the server's, the frame is another one, and the dimmed parts are
// drawn by the server (XRender, the screen through a constant alpha mask). The overlay window
// shows the frame pixmap as its background, so neither picture ever crosses into our memory;
// we fetch only the pixels under the information box (to draw its text) and the selection.
class X11OverlayCanvas final : public OverlayCanvas {
public:
    // Freezes the area of the root window (parts outside it are black); null when the server
    // lacks XRender or a true-colour visual of 24 bits in 32-bit pixels, or refuses the
    // pixmaps: the caller then reads the screen into memory instead.
    [[nodiscard]] static std::unique_ptr<X11OverlayCanvas> Freeze(Display* display, const Rect& area);
    ~X11OverlayCanvas() override;
    X11OverlayCanvas(const X11OverlayCanvas&) = delete;
    X11OverlayCanvas& operator=(const X11OverlayCanvas&) = delete;

    [[nodiscard]] int Width() const override { return m_width; }
    [[nodiscard]] int Height() const override { return m_height; }
    void ShowScreen(const Rect& area, int alpha) override;
    void FillRect(const Rect& area, Color color) override;
    void DrawText(const Rect& box, TextView text, TextPainter& painter) override;
    [[nodiscard]] ui::Bitmap CropScreen(const Rect& area) const override;
    [[nodiscard]] const ui::Bitmap* ScreenPixels() const override { return nullptr; }
    [[nodiscard]] const ui::Bitmap* FramePixels() const override { return nullptr; }
    [[nodiscard]] std::uintptr_t NativeFrame() const override { return m_frame; }

private:
    X11OverlayCanvas(Display* display, int width, int height);
    // The solid mask that lets (255 - alpha) / 255 of the screen through.
    [[nodiscard]] unsigned long MaskFor(int alpha);

    Display* m_display;
    int m_width;
    int m_height;
    unsigned long m_screen = 0; // pixmaps
    unsigned long m_frame = 0;
    unsigned long m_screenPicture = 0; // XRender pictures on them
    unsigned long m_framePicture = 0;
    GC m_gc = nullptr;
    std::map<int, unsigned long> m_masks;
};

} // namespace tovrik::capture
