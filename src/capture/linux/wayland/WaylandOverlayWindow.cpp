#include "capture/linux/wayland/WaylandOverlayWindow.h"

#include "capture/linux/OverlayCursor.h"
#include "capture/linux/OverlayMenu.h"
#include "capture/linux/OverlayText.h"
#include "capture/linux/wayland/OutputSurface.h"
#include "ui/linux/TestHook.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace tovrik::capture {

namespace {

// The output of the layout that a screen of Qt stands for: by name, else by its place.
int OutputOf(const OutputLayout& layout, const QScreen& screen) {
    const std::string name = screen.name().toStdString();
    const QRect geometry = screen.geometry();
    const auto& outputs = layout.Outputs();
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        if (!name.empty() && outputs[i].name == name) {
            return static_cast<int>(i);
        }
    }
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        if (outputs[i].logical.left == geometry.x() && outputs[i].logical.top == geometry.y()) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

} // namespace

WaylandOverlayWindow::WaylandOverlayWindow(std::function<OutputLayout()> layout)
    : m_layoutSource(std::move(layout)), m_loop([this] { m_surfaces.clear(); }) {}

WaylandOverlayWindow::~WaylandOverlayWindow() = default;

void WaylandOverlayWindow::PrepareSurfaces() {
    const QList<QScreen*> screens = QGuiApplication::screens();
    const bool same =
        static_cast<std::size_t>(screens.size()) == m_surfaces.size() &&
        std::all_of(m_surfaces.begin(), m_surfaces.end(), [&screens](const auto& surface) {
            return screens.contains(surface->Output()) && surface->geometry() == surface->Output()->geometry();
        });
    if (!same) {
        m_surfaces.clear();
        for (QScreen* screen : screens) {
            m_surfaces.push_back(std::make_unique<OutputSurface>(screen));
        }
    }
}

bool WaylandOverlayWindow::RunModal(const Rect& area, const OverlayCanvas& canvas, OverlayInput& input) {
    // A Wayland client keeps the pictures itself: the frame is always in our memory.
    const ui::Bitmap* frame = canvas.FramePixels();
    if (m_loop.Running() || !area.HasArea() || frame == nullptr) {
        return false;
    }
    m_loop.Hold();
    m_layout = m_layoutSource();
    PrepareSurfaces();
    std::vector<OutputSurface*> shown;
    for (const auto& surface : m_surfaces) {
        const int output = OutputOf(m_layout, *surface->Output());
        if (output < 0) {
            continue;
        }
        surface->Attach(frame, &input, area, m_layout.Physical()[static_cast<std::size_t>(output)], &m_layout);
        surface->setCursor(Qt::ArrowCursor);
        shown.push_back(surface.get());
    }
    if (shown.empty()) {
        return false;
    }
    m_loop.Run(
        [&shown, &area] {
            for (OutputSurface* surface : shown) {
                surface->showFullScreen();
                surface->raise();
            }
            // The keyboard goes to the output the pointer is on, else to the first.
            shown.front()->activateWindow();
            shown.front()->setFocus(Qt::ActiveWindowFocusReason);
            ui::TestHook::Report("overlay", "shown",
                                 std::to_string(area.left) + "," + std::to_string(area.top) + "," +
                                     std::to_string(area.Width()) + "x" + std::to_string(area.Height()) + " outputs " +
                                     std::to_string(shown.size()));
        },
        true);
    for (const auto& surface : m_surfaces) {
        surface->releaseMouse();
        surface->hide();
        surface->Attach(nullptr, nullptr, {}, {}, nullptr);
    }
    ui::TestHook::Report("overlay", "closed");
    return true;
}

void WaylandOverlayWindow::Close() {
    m_loop.Close();
}

void WaylandOverlayWindow::Present(const Rect& area) {
    for (const auto& surface : m_surfaces) {
        if (surface->isVisible()) {
            if (const QRect local = surface->ToLocal(area); !local.isEmpty()) {
                surface->update(local);
            }
        }
    }
}

void WaylandOverlayWindow::SetCursor(Cursor cursor) {
    for (const auto& surface : m_surfaces) {
        surface->setCursor(QtCursorShape(cursor));
    }
}

void WaylandOverlayWindow::ReleaseMouseCapture() {
    for (const auto& surface : m_surfaces) {
        surface->releaseMouse();
    }
}

OutputSurface* WaylandOverlayWindow::PointerSurface() const {
    for (const auto& surface : m_surfaces) {
        if (surface->isVisible() && surface->HadPointer()) {
            return surface.get();
        }
    }
    for (const auto& surface : m_surfaces) {
        if (surface->isVisible()) {
            return surface.get();
        }
    }
    return nullptr;
}

int WaylandOverlayWindow::ShowMenu(const std::vector<MenuItem>& items) {
    OutputSurface* surface = PointerSurface();
    if (surface == nullptr) {
        return 0;
    }
    const int chosen =
        RunOverlayMenu(*surface, items, surface->HadPointer() ? surface->LastPointer() : surface->geometry().center());
    if (m_loop.Open()) {
        surface->activateWindow();
        surface->setFocus(Qt::ActiveWindowFocusReason);
    }
    return chosen;
}

std::uintptr_t WaylandOverlayWindow::NativeHandle() const {
    const OutputSurface* surface = PointerSurface();
    return surface != nullptr ? static_cast<std::uintptr_t>(surface->winId()) : 0;
}

void WaylandOverlayWindow::DrawText(ui::Bitmap& target, const Rect& box, TextView text) {
    DrawOverlayText(target, box, text);
}

} // namespace tovrik::capture
