#include "capture/linux/X11OverlayPixmaps.h"

#include "capture/OverlayPainter.h"
#include "capture/linux/RootImage.h"
#include "capture/linux/XErrorTrap.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xrender.h>

namespace tovrik::capture {

namespace {

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

} // namespace

std::unique_ptr<X11OverlayPixmaps> X11OverlayPixmaps::Create(Display* display, int width, int height) {
    int eventBase = 0;
    int errorBase = 0;
    if (display == nullptr || width <= 0 || height <= 0 || !XRenderQueryExtension(display, &eventBase, &errorBase) ||
        !ServesBgrx(display)) {
        return nullptr;
    }
    const int screen = DefaultScreen(display);
    XRenderPictFormat* format = XRenderFindVisualFormat(display, DefaultVisual(display, screen));
    if (format == nullptr) {
        return nullptr;
    }
    std::unique_ptr<X11OverlayPixmaps> pixmaps(new X11OverlayPixmaps(display, width, height));
    const Window root = DefaultRootWindow(display);
    XErrorTrap trap(display);
    pixmaps->m_screen = XCreatePixmap(display, root, static_cast<unsigned>(width), static_cast<unsigned>(height), 24);
    pixmaps->m_frame = XCreatePixmap(display, root, static_cast<unsigned>(width), static_cast<unsigned>(height), 24);
    pixmaps->m_screenPicture = XRenderCreatePicture(display, pixmaps->m_screen, format, 0, nullptr);
    pixmaps->m_framePicture = XRenderCreatePicture(display, pixmaps->m_frame, format, 0, nullptr);
    XGCValues values{};
    values.subwindow_mode = IncludeInferiors;
    values.graphics_exposures = False;
    pixmaps->m_gc = XCreateGC(display, pixmaps->m_screen, GCSubwindowMode | GCGraphicsExposures, &values);
    // Out of memory, for one: the server says so only in an error.
    if (trap.Failed()) {
        return nullptr;
    }
    return pixmaps;
}

X11OverlayPixmaps::X11OverlayPixmaps(Display* display, int width, int height)
    : m_display(display), m_width(width), m_height(height) {}

X11OverlayPixmaps::~X11OverlayPixmaps() {
    for (const auto& [alpha, shade] : m_shades) {
        XRenderFreePicture(m_display, shade);
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

unsigned long X11OverlayPixmaps::ShadeFor(int alpha) {
    auto found = m_shades.find(alpha);
    if (found == m_shades.end()) {
        const XRenderColor black{0, 0, 0, static_cast<unsigned short>(alpha * 257)};
        found = m_shades.emplace(alpha, XRenderCreateSolidFill(m_display, &black)).first;
    }
    return found->second;
}

void X11OverlayPixmaps::Touch() {
    const XRenderColor black{0, 0, 0, 0xFFFF};
    const auto width = static_cast<unsigned>(m_width);
    const auto height = static_cast<unsigned>(m_height);
    XRenderFillRectangle(m_display, PictOpSrc, m_screenPicture, &black, 0, 0, width, height);
    XCopyArea(m_display, m_screen, m_frame, m_gc, 0, 0, width, height, 0, 0);
    XRenderComposite(m_display, PictOpOver, ShadeFor(OverlayPainter::kDimAlpha), None, m_framePicture, 0, 0, 0, 0, 0, 0,
                     width, height);
    XFlush(m_display);
}

} // namespace tovrik::capture
