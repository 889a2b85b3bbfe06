#include "capture/linux/QtOverlayWindow.h"

#include "capture/linux/OverlayCursor.h"
#include "capture/linux/OverlayMenu.h"
#include "capture/linux/OverlayText.h"
#include "capture/linux/OverlayWidget.h"
#include "ui/linux/TestHook.h"

#include <QCursor>

namespace tovrik::capture {

namespace {

QRect ToQRect(const Rect& rect) {
    return {rect.left, rect.top, rect.Width(), rect.Height()};
}

} // namespace

QtOverlayWindow::QtOverlayWindow() : m_loop([this] { m_widget.reset(); }) {}

QtOverlayWindow::~QtOverlayWindow() = default;

OverlayWidget& QtOverlayWindow::Widget() {
    if (!m_widget) {
        m_widget = std::make_unique<OverlayWidget>();
    }
    return *m_widget;
}

bool QtOverlayWindow::RunModal(const Rect& area, const OverlayCanvas& canvas, OverlayInput& input) {
    const ui::Bitmap* frame = canvas.FramePixels();
    const auto serverFrame = static_cast<unsigned long>(canvas.NativeFrame());
    if (m_loop.Running() || !area.HasArea() || (frame == nullptr && serverFrame == 0)) {
        return false;
    }
    m_loop.Hold();
    OverlayWidget& widget = Widget();
    widget.setGeometry(ToQRect(area));
    widget.Attach(frame, serverFrame, &input);
    widget.setCursor(Qt::ArrowCursor);
    // Only a frame in memory leaves Qt a back buffer worth freeing.
    m_loop.Run(
        [&widget, &area] {
            widget.show();
            widget.raise();
            ui::TestHook::Report("overlay", "shown",
                                 std::to_string(area.left) + "," + std::to_string(area.top) + "," +
                                     std::to_string(area.Width()) + "x" + std::to_string(area.Height()));
        },
        frame != nullptr);
    widget.ReleaseKeyboard();
    widget.releaseMouse();
    widget.hide();
    widget.Attach(nullptr, 0, nullptr);
    ui::TestHook::Report("overlay", "closed");
    return true;
}

void QtOverlayWindow::Close() {
    m_loop.Close();
}

void QtOverlayWindow::Present(const Rect& area) {
    if (m_widget) {
        m_widget->Present(ToQRect(area));
    }
}

void QtOverlayWindow::SetCursor(Cursor cursor) {
    Widget().setCursor(QtCursorShape(cursor));
}

void QtOverlayWindow::ReleaseMouseCapture() {
    if (m_widget) {
        m_widget->releaseMouse();
    }
}

int QtOverlayWindow::ShowMenu(const std::vector<MenuItem>& items) {
    OverlayWidget& widget = Widget();
    const int chosen = RunOverlayMenu(widget, items, QCursor::pos());
    // The menu took the keyboard while it was up.
    if (m_loop.Open()) {
        widget.TakeKeyboard();
    }
    return chosen;
}

std::uintptr_t QtOverlayWindow::NativeHandle() const {
    return m_widget ? static_cast<std::uintptr_t>(m_widget->winId()) : 0;
}

void QtOverlayWindow::DrawText(ui::Bitmap& target, const Rect& box, TextView text) {
    DrawOverlayText(target, box, text);
}

int QtOverlayWindow::InkWidth(TextView text) {
    return OverlayTextInkWidth(text);
}

} // namespace tovrik::capture
