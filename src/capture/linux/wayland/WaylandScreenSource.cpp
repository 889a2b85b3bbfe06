#include "capture/linux/wayland/WaylandScreenSource.h"

#include "capture/linux/wayland/ScreenshotPortal.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace tovrik::capture {

namespace {

// The screens as Qt knows them (logical places, scale as the device pixel ratio).
OutputLayout QtScreenLayout() {
    std::vector<OutputInfo> outputs;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect geometry = screen->geometry();
        const double ratio = screen->devicePixelRatio();
        outputs.push_back(
            {.name = screen->name().toStdString(),
             .logical = {geometry.x(), geometry.y(), geometry.x() + geometry.width(), geometry.y() + geometry.height()},
             .scale = std::max(1, static_cast<int>(std::lround(ratio))),
             .physicalWidth = static_cast<int>(std::lround(geometry.width() * ratio)),
             .physicalHeight = static_cast<int>(std::lround(geometry.height() * ratio))});
    }
    return OutputLayout(std::move(outputs));
}

} // namespace

WaylandScreenSource::WaylandScreenSource() {
    if (!m_screencopy.Available()) {
        m_portal = std::make_unique<ScreenshotPortal>();
    }
}

WaylandScreenSource::~WaylandScreenSource() = default;

ScreenOrigin WaylandScreenSource::Origin() const {
    return m_portal ? ScreenOrigin::ScreenshotPortal : ScreenOrigin::Screencopy;
}

std::string WaylandScreenSource::SourceName() const {
    return m_portal ? "xdg-desktop-portal Screenshot" : "wlr-screencopy";
}

void WaylandScreenSource::Refresh() {
    m_layout = m_portal ? QtScreenLayout() : m_screencopy.Layout();
}

Rect WaylandScreenSource::WorkArea() {
    Refresh();
    // Wayland tells a client nothing of panels: the primary output whole.
    return m_layout.Empty() ? Rect{} : m_layout.Physical().front();
}

std::vector<Rect> WaylandScreenSource::Monitors() {
    if (m_layout.Empty()) {
        Refresh();
    }
    return m_layout.Physical();
}

bool WaylandScreenSource::Grab(const Rect& area, ui::Bitmap& pictureOut) {
    if (m_layout.Empty() || !area.HasArea()) {
        return false;
    }
    if (m_portal) {
        return m_portal->Grab(m_layout, area, pictureOut);
    }
    return m_screencopy.Grab(m_layout, area, pictureOut);
}

} // namespace tovrik::capture
