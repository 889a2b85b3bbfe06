#include "capture/linux/OverlayWidget.h"

#include "capture/OverlayInput.h"
#include "capture/linux/X11Background.h"
#include "ui/linux/QtKeyboard.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QWindow>

namespace tovrik::capture {

namespace {

Point PointOf(const QMouseEvent& event) {
    const QPoint position = event.position().toPoint();
    return {position.x(), position.y()};
}

} // namespace

OverlayWidget::OverlayWidget()
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::X11BypassWindowManagerHint | Qt::Tool) {
    // Every pixel is painted from the frame: no background, no erasing.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_QuitOnClose, false);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

void OverlayWidget::Attach(const ui::Bitmap* frame, unsigned long serverFrame, OverlayInput* input) {
    m_frame = frame;
    m_input = input;
    m_keyboardPending = input != nullptr;
    if (serverFrame != m_serverFrame) {
        m_serverFrame = serverFrame;
        // Qt paints only frames in memory; with updates off it neither paints nor sizes a
        // back buffer, and the server's background shows.
        setUpdatesEnabled(serverFrame == 0);
        SetBackgroundPixmap(static_cast<unsigned long>(winId()), serverFrame);
    }
    if (m_serverFrame != 0 && m_keyboardPending) {
        // No paint event tells when the window is on the screen: ask once Qt has mapped it.
        QTimer::singleShot(0, this, [this] {
            if (m_keyboardPending) {
                m_keyboardPending = false;
                TakeKeyboard();
            }
        });
    }
}

void OverlayWidget::Present(const QRect& area) {
    if (!isVisible()) {
        return;
    }
    if (m_serverFrame != 0) {
        RepaintFromBackground(static_cast<unsigned long>(winId()),
                              {area.x(), area.y(), area.x() + area.width(), area.y() + area.height()});
    } else {
        update(area);
    }
}

void OverlayWidget::TakeKeyboard() {
    if (m_input == nullptr || !isVisible() || windowHandle() == nullptr) {
        return;
    }
    // A grab of the X window, not QWidget::grabKeyboard: Qt then still routes keys to an open
    // menu and to the widgets of a dialog laid inside the overlay.
    windowHandle()->setKeyboardGrabEnabled(true);
    activateWindow();
    setFocus(Qt::ActiveWindowFocusReason);
}

void OverlayWidget::ReleaseKeyboard() {
    if (windowHandle() != nullptr) {
        windowHandle()->setKeyboardGrabEnabled(false);
    }
}

void OverlayWidget::paintEvent(QPaintEvent* event) {
    if (m_frame == nullptr || m_frame->Empty()) {
        return;
    }
    const QImage frame(m_frame->pixels.data(), m_frame->width, m_frame->height,
                       static_cast<qsizetype>(m_frame->Stride()), QImage::Format_RGB32);
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    for (const QRect& rect : event->region()) {
        painter.drawImage(rect.topLeft(), frame, rect);
    }
    if (m_keyboardPending) {
        m_keyboardPending = false;
        // After this paint has reached the server: by then the window is mapped.
        QTimer::singleShot(0, this, [this] { TakeKeyboard(); });
    }
}

void OverlayWidget::mousePressEvent(QMouseEvent* event) {
    if (m_input != nullptr && event->button() == Qt::LeftButton) {
        m_input->OnLeftButtonDown(PointOf(*event));
    }
}

void OverlayWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (m_input == nullptr) {
        return;
    }
    if (event->button() == Qt::LeftButton) {
        m_input->OnLeftButtonUp(PointOf(*event));
    } else if (event->button() == Qt::RightButton) {
        m_input->OnRightButtonUp(PointOf(*event));
    }
}

void OverlayWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    if (m_input != nullptr && event->button() == Qt::LeftButton) {
        m_input->OnLeftDoubleClick(PointOf(*event));
    }
}

void OverlayWidget::mouseMoveEvent(QMouseEvent* event) {
    if (m_input != nullptr) {
        m_input->OnMouseMove(PointOf(*event));
    }
}

void OverlayWidget::keyPressEvent(QKeyEvent* event) {
    // Nothing happens on a key going down; without this Qt would pass it to nobody anyway.
    event->accept();
}

void OverlayWidget::keyReleaseEvent(QKeyEvent* event) {
    if (m_input == nullptr || event->isAutoRepeat()) {
        return;
    }
    if (const int key = ui::QtKeyboard::VirtualKeyOf(*event); key != 0) {
        m_input->OnKeyUp(key);
    }
}

void OverlayWidget::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (m_input != nullptr) {
        m_input->OnCloseRequest();
    }
}

} // namespace tovrik::capture
