#include "capture/linux/wayland/OutputSurface.h"

#include "capture/OverlayInput.h"
#include "ui/linux/QtKeyboard.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include <cmath>

namespace tovrik::capture {

namespace {

constexpr int kSettleFrameMs = 16;
constexpr int kSettleFrames = 16;

} // namespace

OutputSurface::OutputSurface(QScreen* screen)
    : QWidget(nullptr,
              Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::X11BypassWindowManagerHint),
      m_screen(screen) {
    // Every pixel is painted from the frame: no background, no erasing.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_QuitOnClose, false);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setScreen(screen);
    setGeometry(screen->geometry());
    m_settle.setInterval(kSettleFrameMs);
    QObject::connect(&m_settle, &QTimer::timeout, this, [this] {
        update(0, 0, 1, 1);
        if (++m_settleFrames >= kSettleFrames) {
            m_settle.stop();
        }
    });
}

void OutputSurface::Attach(const ui::Bitmap* frame, OverlayInput* input, const Rect& area, const Rect& physical,
                           const OutputLayout* layout) {
    m_frame = frame;
    m_input = input;
    m_area = area;
    m_physical = physical;
    m_layout = layout;
    m_hadPointer = false;
}

double OutputSurface::Scale() const {
    return width() > 0 ? static_cast<double>(m_physical.Width()) / width() : 1.0;
}

QRect OutputSurface::ToLocal(const Rect& frameRect) const {
    const double scale = Scale();
    const double left = (frameRect.left + m_area.left - m_physical.left) / scale;
    const double top = (frameRect.top + m_area.top - m_physical.top) / scale;
    const double right = (frameRect.right + m_area.left - m_physical.left) / scale;
    const double bottom = (frameRect.bottom + m_area.top - m_physical.top) / scale;
    const int l = static_cast<int>(std::floor(left));
    const int t = static_cast<int>(std::floor(top));
    return QRect(l, t, static_cast<int>(std::ceil(right)) - l, static_cast<int>(std::ceil(bottom)) - t)
        .intersected(rect());
}

void OutputSurface::paintEvent(QPaintEvent* event) {
    if (m_frame == nullptr || m_frame->Empty()) {
        return;
    }
    const QImage frame(m_frame->pixels.data(), m_frame->width, m_frame->height,
                       static_cast<qsizetype>(m_frame->Stride()), QImage::Format_RGB32);
    const double scale = Scale();
    const double originX = m_physical.left - m_area.left;
    const double originY = m_physical.top - m_area.top;
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    for (const QRect& rect : event->region()) {
        // At the output's scale one logical pixel is `scale` pixels of the frame, and so of
        // the window's buffer: the copy is one to one.
        const QRectF source(originX + rect.x() * scale, originY + rect.y() * scale, rect.width() * scale,
                            rect.height() * scale);
        painter.drawImage(QRectF(rect), frame, source);
    }
}

Point OutputSurface::FramePoint(const QMouseEvent& event) {
    const QPointF local = event.position();
    const QPointF desktop = QPointF(geometry().topLeft()) + local;
    m_lastPointer = desktop.toPoint();
    m_hadPointer = true;
    Point physical{static_cast<int>(std::floor(local.x() * Scale())) + m_physical.left,
                   static_cast<int>(std::floor(local.y() * Scale())) + m_physical.top};
    if (m_layout != nullptr && !rect().contains(local.toPoint())) {
        // Beyond this output: measured on the output the pointer is over now.
        physical = m_layout->ToPhysical(desktop.x(), desktop.y());
    }
    return {physical.x - m_area.left, physical.y - m_area.top};
}

void OutputSurface::mousePressEvent(QMouseEvent* event) {
    const Point point = FramePoint(*event);
    if (m_input != nullptr && event->button() == Qt::LeftButton) {
        m_input->OnLeftButtonDown(point);
    }
}

void OutputSurface::mouseReleaseEvent(QMouseEvent* event) {
    const Point point = FramePoint(*event);
    if (m_input == nullptr) {
        return;
    }
    if (event->button() == Qt::LeftButton) {
        m_input->OnLeftButtonUp(point);
    } else if (event->button() == Qt::RightButton) {
        m_input->OnRightButtonUp(point);
    }
}

void OutputSurface::mouseDoubleClickEvent(QMouseEvent* event) {
    const Point point = FramePoint(*event);
    if (m_input != nullptr && event->button() == Qt::LeftButton) {
        m_input->OnLeftDoubleClick(point);
    }
}

void OutputSurface::mouseMoveEvent(QMouseEvent* event) {
    const Point point = FramePoint(*event);
    if (m_input != nullptr) {
        m_input->OnMouseMove(point);
    }
}

void OutputSurface::keyPressEvent(QKeyEvent* event) {
    event->accept();
}

void OutputSurface::keyReleaseEvent(QKeyEvent* event) {
    if (m_input == nullptr || event->isAutoRepeat()) {
        return;
    }
    if (const int key = ui::QtKeyboard::VirtualKeyOf(*event); key != 0) {
        m_input->OnKeyUp(key);
    }
}

void OutputSurface::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // sway places a full-screen window on its output with configures that change nothing
    // here; Qt acknowledges them without a new frame, and sway then waits 200 ms for one before
    // it shows the window. For the first quarter second each frame commits one pixel.
    m_settleFrames = 0;
    m_settle.start();
}

void OutputSurface::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (m_input != nullptr) {
        m_input->OnCloseRequest();
    }
}

} // namespace tovrik::capture
