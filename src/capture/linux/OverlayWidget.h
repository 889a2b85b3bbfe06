#pragma once

#include "ui/Bitmap.h"

#include <QWidget>

namespace tovrik::capture {

class OverlayInput;

// The overlay's native window: frameless, above everything and outside the window manager's
// care (override-redirect), so that one window can span every monitor. It shows the frame it
// is given, never erases, and passes mouse and key events on as the overlay expects them
// (Windows' order: down, up, double-click, up; keys on their release).
class OverlayWidget final : public QWidget {
public:
    OverlayWidget();

    // Starts showing the frame and feeding the input; null input stops the feeding. The frame
    // is either in our memory (painted by Qt) or an X pixmap that the server paints the window
    // from (Qt then paints nothing and keeps no back buffer); null and 0 show nothing.
    void Attach(const ui::Bitmap* frame, unsigned long serverFrame, OverlayInput* input);
    // The area of the frame has changed: show it now.
    void Present(const QRect& area);
    // Takes the keyboard, which an override-redirect window never gets from the window
    // manager; done once the window is on the screen, since X refuses grabs for unmapped ones.
    void TakeKeyboard();
    void ReleaseKeyboard();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    const ui::Bitmap* m_frame = nullptr;
    unsigned long m_serverFrame = 0;
    OverlayInput* m_input = nullptr;
    bool m_keyboardPending = false;
};

} // namespace tovrik::capture
