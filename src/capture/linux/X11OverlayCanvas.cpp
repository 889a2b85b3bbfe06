#include "capture/linux/X11OverlayCanvas.h"

#include "capture/linux/RootImage.h"
#include "capture/linux/XErrorTrap.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xrender.h>

#include <algorithm>

namespace tovrik::capture {

namespace {

// The only layout the canvas serves: the frame goes into and out of our memory as the bytes of
// ui::Bitmap without conversion.
bool ServesBgrx(Display* display) {
    const int screen = DefaultScreen(display);
    if (DefaultDepth(display, screen) != 24 || ImageByteOrder(display) != LSBFirst) {
        return false;
    }
    const Visual* visual = DefaultVisual(display, screen);
    XPixelLayout layout{0, true, visual->red_mask, visual->green_mask, visual->blue_mask};
    int count = 0;
    if (XPixmapFormatValues* formats = XListPixmapFormats(display, &count)) {
        for (int i = 0; i < count; ++i) {
            if (formats[i].depth == 24) {
                layout.bitsPerPixel = formats[i].bits_per_pixel;
            }
        }
        XFree(formats);
    }
    return layout.IsBgrx();
}

XRenderColor RenderColor(Color color, unsigned alpha) {
    const auto wide = [](unsigned value) { return static_cast<unsigned short>(value * 257); };
    return {wide(color.red), wide(color.green), wide(color.blue), wide(alpha)};
}

} // namespace

std::unique_ptr<X11OverlayCanvas> X11OverlayCanvas::Freeze(Display* display, const Rect& area) {
    int eventBase = 0;
    int errorBase = 0;
    if (display == nullptr || !area.HasArea() || !XRenderQueryExtension(display, &eventBase, &errorBase) ||
        !ServesBgrx(display)) {
        return nullptr;
    }
    const int screen = DefaultScreen(display);
    XRenderPictFormat* format = XRenderFindVisualFormat(display, DefaultVisual(display, screen));
    if (format == nullptr) {
        return nullptr;
    }
    std::unique_ptr<X11OverlayCanvas> canvas(new X11OverlayCanvas(display, area.Width(), area.Height()));
    const Window root = DefaultRootWindow(display);
    XErrorTrap trap(display);
    const auto width = static_cast<unsigned>(area.Width());
    const auto height = static_cast<unsigned>(area.Height());
    canvas->m_screen = XCreatePixmap(display, root, width, height, 24);
    canvas->m_frame = XCreatePixmap(display, root, width, height, 24);
    canvas->m_screenPicture = XRenderCreatePicture(display, canvas->m_screen, format, 0, nullptr);
    canvas->m_framePicture = XRenderCreatePicture(display, canvas->m_frame, format, 0, nullptr);
    XGCValues values{};
    values.subwindow_mode = IncludeInferiors; // what is on the screen, not the root's own pixels
    values.graphics_exposures = False;
    canvas->m_gc = XCreateGC(display, canvas->m_screen, GCSubwindowMode | GCGraphicsExposures, &values);

    const ClippedArea clipped = ClipToScreen(area, DisplayWidth(display, screen), DisplayHeight(display, screen));
    if (clipped.onScreen != area) {
        const XRenderColor black = RenderColor({}, 255);
        XRenderFillRectangle(display, PictOpSrc, canvas->m_screenPicture, &black, 0, 0, width, height);
    }
    if (!clipped.onScreen.IsEmpty()) {
        XCopyArea(display, root, canvas->m_screen, canvas->m_gc, clipped.onScreen.left, clipped.onScreen.top,
                  static_cast<unsigned>(clipped.onScreen.Width()), static_cast<unsigned>(clipped.onScreen.Height()),
                  clipped.offset.x, clipped.offset.y);
    }
    // The copy is done once the server answered: the screen is frozen from here on.
    if (trap.Failed()) {
        return nullptr;
    }
    return canvas;
}

X11OverlayCanvas::X11OverlayCanvas(Display* display, int width, int height)
    : m_display(display), m_width(width), m_height(height) {}

X11OverlayCanvas::~X11OverlayCanvas() {
    for (const auto& [alpha, mask] : m_masks) {
        XRenderFreePicture(m_display, mask);
    }
    if (m_framePicture != 0) {
        XRenderFreePicture(m_display, m_framePicture);
    }
    if (m_screenPicture != 0) {
        XRenderFreePicture(m_display, m_screenPicture);
    }
    if (m_gc != nullptr) {
        XFreeGC(m_display, m_gc);
    }
    if (m_frame != 0) {
        XFreePixmap(m_display, m_frame);
    }
    if (m_screen != 0) {
        XFreePixmap(m_display, m_screen);
    }
    XFlush(m_display);
}

unsigned long X11OverlayCanvas::MaskFor(int alpha) {
    auto found = m_masks.find(alpha);
    if (found == m_masks.end()) {
        const XRenderColor through = RenderColor({}, static_cast<unsigned>(255 - alpha));
        found = m_masks.emplace(alpha, XRenderCreateSolidFill(m_display, &through)).first;
    }
    return found->second;
}

void X11OverlayCanvas::ShowScreen(const Rect& area, int alpha) {
    const Rect clip = area.Normalized().Intersected(Bounds());
    if (clip.IsEmpty()) {
        return;
    }
    alpha = std::min(alpha, 255);
    // Screen IN mask: each channel becomes round(c * (255 - alpha) / 255), as in memory.
    const Picture mask = alpha > 0 ? MaskFor(alpha) : None;
    XRenderComposite(m_display, PictOpSrc, m_screenPicture, mask, m_framePicture, clip.left, clip.top, 0, 0, clip.left,
                     clip.top, static_cast<unsigned>(clip.Width()), static_cast<unsigned>(clip.Height()));
}

void X11OverlayCanvas::FillRect(const Rect& area, Color color) {
    const Rect clip = area.Intersected(Bounds());
    if (clip.IsEmpty()) {
        return;
    }
    const XRenderColor fill = RenderColor(color, 255);
    XRenderFillRectangle(m_display, PictOpSrc, m_framePicture, &fill, clip.left, clip.top,
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
    if (!ReadDrawable(m_display, m_frame, part, {0, 0}, pixels)) {
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
    XPutImage(m_display, m_frame, m_gc, image, 0, 0, part.left, part.top, static_cast<unsigned>(part.Width()),
              static_cast<unsigned>(part.Height()));
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
        !ReadDrawable(m_display, m_screen, part, {part.left - wanted.left, part.top - wanted.top}, result)) {
        return {};
    }
    return result;
}

} // namespace tovrik::capture
