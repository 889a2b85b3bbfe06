#include "capture/linux/X11ScreenSource.h"

#include "capture/linux/X11OverlayCanvas.h"
#include "ui/linux/X11Display.h"

#include <QGuiApplication>
#include <QScreen>

#include <X11/Xlib.h>
#include <malloc.h>

#include <algorithm>

namespace tovrik::capture {

namespace {

Rect ToRect(const QRect& rect) {
    return {rect.x(), rect.y(), rect.x() + rect.width(), rect.y() + rect.height()};
}

} // namespace

X11ScreenSource::X11ScreenSource() {
    // Once the event loop runs: the program's start is not held up, and the server writes the
    // pixmaps while the program waits in the tray.
    m_prepare.setSingleShot(true);
    m_prepare.setInterval(0);
    QObject::connect(&m_prepare, &QTimer::timeout, [this] { PreparePixmaps(); });
    m_prepare.start();
    const auto screenChanged = [this] {
        m_prepare.setInterval(kScreenChangeSettleMs);
        m_prepare.start();
    };
    if (auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        QObject::connect(application, &QGuiApplication::screenAdded, &m_prepare, screenChanged);
        QObject::connect(application, &QGuiApplication::screenRemoved, &m_prepare, screenChanged);
        QObject::connect(application, &QGuiApplication::primaryScreenChanged, &m_prepare, screenChanged);
        if (const QScreen* primary = QGuiApplication::primaryScreen()) {
            QObject::connect(primary, &QScreen::virtualGeometryChanged, &m_prepare, screenChanged);
        }
    }
    m_release.setSingleShot(true);
    m_release.setInterval(kKeepMemoryMs);
    QObject::connect(&m_release, &QTimer::timeout, [this] {
        m_reader.Release();
        // The capture's smaller allocations (menus, text, events) are freed by now too; what
        // the heap holds free goes back to the system.
        malloc_trim(0);
    });
}

Rect X11ScreenSource::WorkArea() {
    const QScreen* primary = QGuiApplication::primaryScreen();
    return primary != nullptr ? ToRect(primary->availableGeometry()) : Rect{};
}

std::vector<Rect> X11ScreenSource::Monitors() {
    std::vector<Rect> monitors;
    for (const QScreen* screen : QGuiApplication::screens()) {
        monitors.push_back(ToRect(screen->geometry()));
    }
    return monitors;
}

std::optional<Point> X11ScreenSource::PointerPosition() {
    Display* display = ui::X11Display();
    if (display == nullptr) {
        return std::nullopt;
    }
    Window root = 0;
    Window child = 0;
    int x = 0;
    int y = 0;
    int windowX = 0;
    int windowY = 0;
    unsigned int buttons = 0;
    // False: the pointer is on another X screen than the one the program shows.
    if (XQueryPointer(display, DefaultRootWindow(display), &root, &child, &x, &y, &windowX, &windowY, &buttons) == 0) {
        return std::nullopt;
    }
    return Point{x, y};
}

bool X11ScreenSource::Grab(const Rect& area, ui::Bitmap& pictureOut) {
    Display* display = ui::X11Display();
    if (display == nullptr || !area.HasArea()) {
        return false;
    }
    const int screen = DefaultScreen(display);
    const ClippedArea clipped = ClipToScreen(area, DisplayWidth(display, screen), DisplayHeight(display, screen));
    pictureOut.width = area.Width();
    pictureOut.height = area.Height();
    const std::size_t size = pictureOut.Stride() * static_cast<std::size_t>(pictureOut.height);
    const bool covered = clipped.onScreen == area;
    if (!covered) {
        // What lies off the screen is black.
        pictureOut.pixels.assign(size, 0);
    } else {
        pictureOut.pixels.resize(size);
    }
    if (clipped.onScreen.IsEmpty()) {
        return true;
    }
    const bool read = m_reader.Read(display, clipped.onScreen, clipped.offset, pictureOut);
    m_release.start();
    return read;
}

void X11ScreenSource::PreparePixmaps() {
    Display* display = ui::X11Display();
    // The overlay covers every monitor.
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (display == nullptr || primary == nullptr) {
        return;
    }
    const int width = primary->virtualGeometry().width();
    const int height = primary->virtualGeometry().height();
    if (m_pixmaps && m_pixmaps->Width() == width && m_pixmaps->Height() == height) {
        return;
    }
    // The old ones first: the server need not hold both.
    m_pixmaps.reset();
    m_pixmaps = X11OverlayPixmaps::Create(display, width, height);
    if (m_pixmaps) {
        m_pixmaps->Touch();
    }
}

std::shared_ptr<X11OverlayPixmaps> X11ScreenSource::PixmapsFor(const Rect& area) {
    Display* display = ui::X11Display();
    const bool fits = m_pixmaps && m_pixmaps->Width() == area.Width() && m_pixmaps->Height() == area.Height();
    if (fits && m_pixmaps.use_count() == 1) {
        return m_pixmaps;
    }
    if (fits) {
        // An overlay still shows the kept ones.
        return X11OverlayPixmaps::Create(display, area.Width(), area.Height());
    }
    // The desktop's area changed since they were made: these are kept for the next capture.
    m_pixmaps.reset();
    m_pixmaps = X11OverlayPixmaps::Create(display, area.Width(), area.Height());
    return m_pixmaps;
}

std::unique_ptr<OverlayCanvas> X11ScreenSource::Freeze(const Rect& area) {
    if (std::unique_ptr<OverlayCanvas> kept = X11OverlayCanvas::Freeze(PixmapsFor(area), area)) {
        // Nothing to keep here, but the heap is trimmed all the same once captures stop.
        m_release.start();
        return kept;
    }
    return ScreenSource::Freeze(area);
}

} // namespace tovrik::capture
