#include "capture/linux/X11OverlayCanvas.h"

#include "capture/linux/RootImage.h"
#include "capture/linux/XErrorTrap.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xrender.h>

#include <algorithm>
#include <utility>

namespace tovrik::capture {

namespace {

XRenderColor RenderColor(Color color, unsigned alpha) {
    const auto wide = [](unsigned value) { return static_cast<unsigned short>(value * 257); };
    return {wide(color.red), wide(color.green), wide(color.blue), wide(alpha)};
}

} // namespace

std::unique_ptr<X11OverlayCanvas> X11OverlayCanvas::Freeze(std::shared_ptr<X11OverlayPixmaps> pixmaps,
                                                           const Rect& area) {
    if (!pixmaps || !area.HasArea() || pixmaps->Width() != area.Width() || pixmaps->Height() != area.Height()) {
        return nullptr;
    }
    std::unique_ptr<X11OverlayCanvas> canvas(new X11OverlayCanvas(std::move(pixmaps)));
    Display* display = canvas->m_display;
    const X11OverlayPixmaps& target = *canvas->m_pixmaps;
    XErrorTrap trap(display);
    const int screen = DefaultScreen(display);
    const ClippedArea clipped = ClipToScreen(area, DisplayWidth(display, screen), DisplayHeight(display, screen));
    if (clipped.onScreen != area) {
        const XRenderColor black = RenderColor({}, 255);
        XRenderFillRectangle(display, PictOpSrc, target.ScreenPicture(), &black, 0, 0,
                             static_cast<unsigned>(area.Width()), static_cast<unsigned>(area.Height()));
    }
    if (!clipped.onScreen.IsEmpty()) {
        XCopyArea(display, DefaultRootWindow(display), target.Screen(), target.CopyGc(), clipped.onScreen.left,
                  clipped.onScreen.top, static_cast<unsigned>(clipped.onScreen.Width()),
                  static_cast<unsigned>(clipped.onScreen.Height()), clipped.offset.x, clipped.offset.y);
    }
    // The copy is done once the server answered: the screen is frozen from here on.
    if (trap.Failed()) {
        return nullptr;
    }
    return canvas;
}

std::unique_ptr<X11OverlayCanvas> X11OverlayCanvas::Freeze(Display* display, const Rect& area) {
    if (!area.HasArea()) {
        return nullptr;
    }
    return Freeze(X11OverlayPixmaps::Create(display, area.Width(), area.Height()), area);
}

X11OverlayCanvas::X11OverlayCanvas(std::shared_ptr<X11OverlayPixmaps> pixmaps)
    : m_pixmaps(std::move(pixmaps)), m_display(m_pixmaps->Connection()) {}

void X11OverlayCanvas::ShowScreen(const Rect& area, int alpha) {
    const Rect clip = area.Normalized().Intersected(Bounds());
    if (clip.IsEmpty()) {
        return;
    }
    alpha = std::min(alpha, 255);
    const auto width = static_cast<unsigned>(clip.Width());
    const auto height = static_cast<unsigned>(clip.Height());
    XCopyArea(m_display, m_pixmaps->Screen(), m_pixmaps->Frame(), m_pixmaps->CopyGc(), clip.left, clip.top, width,
              height, clip.left, clip.top);
    if (alpha > 0) {
        // Black OVER the copy: each channel becomes round(c * (255 - alpha) / 255), as in memory.
        // Two plain passes, both of which the server has fast code for; the screen through a
        // constant mask in one pass takes it about four times as long.
        XRenderComposite(m_display, PictOpOver, m_pixmaps->ShadeFor(alpha), None, m_pixmaps->FramePicture(), 0, 0, 0, 0,
                         clip.left, clip.top, width, height);
    }
}

void X11OverlayCanvas::FillRect(const Rect& area, Color color) {
    const Rect clip = area.Intersected(Bounds());
    if (clip.IsEmpty()) {
        return;
    }
    const XRenderColor fill = RenderColor(color, 255);
    XRenderFillRectangle(m_display, PictOpSrc, m_pixmaps->FramePicture(), &fill, clip.left, clip.top,
                         static_cast<unsigned>(clip.Width()), static_cast<unsigned>(clip.Height()));
}

void X11OverlayCanvas::DrawText(const Rect& box, TextView text, TextPainter& painter) {
    // A selection's box is as wide as the selection; its text covers a few hundred pixels.
    const int inkWidth = painter.InkWidth(text);
    Rect inked = box;
    if (inkWidth < box.Width()) {
        inked.right = box.left + std::max(inkWidth, 0);
    }
    const Rect part = inked.Intersected(Bounds());
    if (part.IsEmpty()) {
        return;
    }
    // The pixels under the text come over, get the text as they would in memory, and go back.
    ui::Bitmap pixels;
    pixels.width = part.Width();
    pixels.height = part.Height();
    pixels.pixels.resize(pixels.Stride() * static_cast<std::size_t>(pixels.height));
    if (!ReadDrawable(m_display, m_pixmaps->Frame(), part, {0, 0}, pixels)) {
        return;
    }
    const Rect shifted{box.left - part.left, box.top - part.top, inked.right - part.left, box.bottom - part.top};
    painter.DrawText(pixels, shifted, text);
    const int screen = DefaultScreen(m_display);
    XImage* image = XCreateImage(m_display, DefaultVisual(m_display, screen), 24, ZPixmap, 0,
                                 reinterpret_cast<char*>(pixels.pixels.data()), static_cast<unsigned>(pixels.width),
                                 static_cast<unsigned>(pixels.height), 32, static_cast<int>(pixels.Stride()));
    if (image == nullptr) {
        return;
    }
    XPutImage(m_display, m_pixmaps->Frame(), m_pixmaps->CopyGc(), image, 0, 0, part.left, part.top,
              static_cast<unsigned>(part.Width()), static_cast<unsigned>(part.Height()));
    image->data = nullptr; // the bitmap's memory, not Xlib's
    XDestroyImage(image);
}

ui::Bitmap X11OverlayCanvas::CropScreen(const Rect& area) const {
    ui::Bitmap result;
    const Rect wanted = area.Normalized();
    if (wanted.IsEmpty()) {
        return result;
    }
    result.width = wanted.Width();
    result.height = wanted.Height();
    result.pixels.assign(result.Stride() * static_cast<std::size_t>(result.height), 0);
    const Rect part = wanted.Intersected(Bounds());
    if (!part.IsEmpty() &&
        !ReadDrawable(m_display, m_pixmaps->Screen(), part, {part.left - wanted.left, part.top - wanted.top}, result)) {
        return {};
    }
    return result;
}

} // namespace tovrik::capture
