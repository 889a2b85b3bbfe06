#include "capture/linux/QtOverlayWindow.h"

#include "capture/linux/OverlayCursor.h"
#include "capture/linux/OverlayText.h"
#include "capture/linux/OverlayWidget.h"
#include "ui/linux/QtText.h"
#include "ui/linux/TestHook.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QEventLoop>
#include <QMenu>

#include <algorithm>

namespace tovrik::capture {

namespace {

QRect ToQRect(const Rect& rect) {
    return {rect.left, rect.top, rect.Width(), rect.Height()};
}

} // namespace

QtOverlayWindow::QtOverlayWindow() {
    m_release.setSingleShot(true);
    m_release.setInterval(kKeepWindowMs);
    QObject::connect(&m_release, &QTimer::timeout, [this] {
        if (m_loop == nullptr) {
            m_widget.reset();
        }
    });
}

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
    if (m_loop != nullptr || !area.HasArea() || (frame == nullptr && serverFrame == 0)) {
        return false;
    }
    m_release.stop();
    OverlayWidget& widget = Widget();
    widget.setGeometry(ToQRect(area));
    widget.Attach(frame, serverFrame, &input);
    widget.setCursor(Qt::ArrowCursor);
    m_closeRequested = false;
    QEventLoop loop;
    m_loop = &loop;
    widget.show();
    widget.raise();
    ui::TestHook::Report("overlay", "shown",
                         std::to_string(area.left) + "," + std::to_string(area.top) + "," +
                             std::to_string(area.Width()) + "x" + std::to_string(area.Height()));
    if (!m_closeRequested) {
        loop.exec();
    }
    m_loop = nullptr;
    widget.ReleaseKeyboard();
    widget.releaseMouse();
    widget.hide();
    widget.Attach(nullptr, 0, nullptr);
    if (frame != nullptr) {
        // Only a frame in memory left Qt a back buffer worth freeing.
        m_release.start();
    }
    ui::TestHook::Report("overlay", "closed");
    return true;
}

void QtOverlayWindow::Close() {
    m_closeRequested = true;
    if (m_loop != nullptr) {
        m_loop->quit();
    }
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
    QMenu menu(&widget);
    for (const MenuItem& item : items) {
        if (item.id == 0) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(ui::ToQString(item.label));
        action->setEnabled(item.enabled);
        action->setData(item.id);
    }
    ui::TestHook::Report("overlay", "menu");
    const QAction* chosen = menu.exec(QCursor::pos());
    // The menu took the keyboard while it was up.
    if (m_loop != nullptr && !m_closeRequested) {
        widget.TakeKeyboard();
    }
    return chosen != nullptr ? chosen->data().toInt() : 0;
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
