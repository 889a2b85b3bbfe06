#pragma once

#include <QTimer>

#include <functional>

class QEventLoop;

namespace tovrik::capture {

// The modal part of an overlay's windows, shared by the X11 and Wayland overlays: the event loop
// that runs while the overlay is up, the close that may come before the loop starts, and the
// timer that lets the windows go once the program has waited a while after the last capture.
class OverlayLoop {
public:
    static constexpr int kKeepWindowMs = 30000;

    // `release` drops the windows; it runs only while no overlay is up.
    explicit OverlayLoop(std::function<void()> release);
    OverlayLoop(const OverlayLoop&) = delete;
    OverlayLoop& operator=(const OverlayLoop&) = delete;

    [[nodiscard]] bool Running() const { return m_loop != nullptr; }
    // Up and not asked to close: the keyboard belongs back to the overlay.
    [[nodiscard]] bool Open() const { return m_loop != nullptr && !m_closeRequested; }
    // The windows are needed again: no release until the next Run has ended.
    void Hold();
    // Runs the loop until Close; `show` puts the windows up once the loop is ready for a Close.
    // Returns when the overlay has ended; with `releaseLater` the windows go after a while.
    void Run(const std::function<void()>& show, bool releaseLater);
    void Close();

private:
    QEventLoop* m_loop = nullptr;
    bool m_closeRequested = false;
    QTimer m_release;
};

} // namespace tovrik::capture
