#pragma once

#include <map>
#include <memory>

using Display = struct _XDisplay;
using GC = struct _XGC*;

namespace tovrik::capture {

// The X server's memory for the overlay of one size: a pixmap for the frozen screen and one for
// the frame, with XRender pictures on them, the GC that copies the screen in and the masks of
// the dims' shades. Making them costs little; what costs is the server's first write to fresh memory
// (tens of milliseconds for a screenful). So the screen source makes them before the first
// capture, has them written once while nobody waits (Touch), and keeps them: the server then
// holds two screenfuls (33 MB at 3840 x 1080) for as long as the program runs.
class X11OverlayPixmaps final {
public:
    // Null when the server lacks XRender or a true-colour visual of 24 bits in 32-bit pixels
    // (the overlay's pixels travel as the bytes of ui::Bitmap), or refuses the pixmaps.
    [[nodiscard]] static std::unique_ptr<X11OverlayPixmaps> Create(Display* display, int width, int height);
    ~X11OverlayPixmaps();
    X11OverlayPixmaps(const X11OverlayPixmaps&) = delete;
    X11OverlayPixmaps& operator=(const X11OverlayPixmaps&) = delete;

    // Writes every pixel of both pixmaps the way a capture does (a fill, a dimmed copy), without
    // waiting for the server to do it.
    void Touch();

    [[nodiscard]] Display* Connection() const { return m_display; }
    [[nodiscard]] int Width() const { return m_width; }
    [[nodiscard]] int Height() const { return m_height; }
    [[nodiscard]] unsigned long Screen() const { return m_screen; }
    [[nodiscard]] unsigned long Frame() const { return m_frame; }
    [[nodiscard]] unsigned long ScreenPicture() const { return m_screenPicture; }
    [[nodiscard]] unsigned long FramePicture() const { return m_framePicture; }
    // Copies include what the windows show, not only the root's own pixels.
    [[nodiscard]] GC CopyGc() const { return m_gc; }
    // Black of opacity alpha / 255 (1..255), a solid picture to lay over the screen's copy.
    [[nodiscard]] unsigned long ShadeFor(int alpha);

private:
    X11OverlayPixmaps(Display* display, int width, int height);

    Display* m_display;
    int m_width;
    int m_height;
    unsigned long m_screen = 0;
    unsigned long m_frame = 0;
    unsigned long m_screenPicture = 0;
    unsigned long m_framePicture = 0;
    GC m_gc = nullptr;
    std::map<int, unsigned long> m_shades;
};

} // namespace tovrik::capture
