#pragma once

#include "capture/Geometry.h"
#include "capture/linux/wayland/OutputLayout.h"
#include "ui/Bitmap.h"

#include <QTimer>
#include <QWidget>

class QScreen;

namespace tovrik::capture {

class OverlayInput;

// The overlay on one output of a Wayland session: a frameless full-screen window on that
// output that shows the output's part of the frozen picture at the output's scale, pixel for
// pixel, and passes pointer positions on in the physical pixels of the whole overlay, so that
// a drag that began here goes on correctly over the next output (the compositor keeps sending
// the motion of a pressed button to this window).
class OutputSurface final : public QWidget {
public:
    explicit OutputSurface(QScreen* screen);

    // What to show: the frame covers `area` of the virtual screen; this output is `physical`
    // of it; `layout` turns the compositor's logical positions into physical ones.
    void Attach(const ui::Bitmap* frame, OverlayInput* input, const Rect& area, const Rect& physical,
                const OutputLayout* layout);
    [[nodiscard]] QScreen* Output() const { return m_screen; }
    // A rectangle of the frame in this window's logical coordinates, grown to whole pixels.
    [[nodiscard]] QRect ToLocal(const Rect& frameRect) const;
    // The last pointer position over this window, in logical desktop coordinates.
    [[nodiscard]] QPoint LastPointer() const { return m_lastPointer; }
    [[nodiscard]] bool HadPointer() const { return m_hadPointer; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    [[nodiscard]] Point FramePoint(const QMouseEvent& event);
    [[nodiscard]] double Scale() const;

    QScreen* m_screen;
    const ui::Bitmap* m_frame = nullptr;
    OverlayInput* m_input = nullptr;
    Rect m_area;
    Rect m_physical;
    const OutputLayout* m_layout = nullptr;
    QPoint m_lastPointer;
    bool m_hadPointer = false;
    // Frames committed after showing, see showEvent.
    QTimer m_settle;
    int m_settleFrames = 0;
};

} // namespace tovrik::capture
