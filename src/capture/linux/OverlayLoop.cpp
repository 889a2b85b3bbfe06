#include "capture/linux/OverlayLoop.h"

#include <QEventLoop>

namespace tovrik::capture {

OverlayLoop::OverlayLoop(std::function<void()> release) {
    m_release.setSingleShot(true);
    m_release.setInterval(kKeepWindowMs);
    QObject::connect(&m_release, &QTimer::timeout, [this, release = std::move(release)] {
        if (m_loop == nullptr) {
            release();
        }
    });
}

void OverlayLoop::Hold() {
    m_release.stop();
}

void OverlayLoop::Run(const std::function<void()>& show, bool releaseLater) {
    m_closeRequested = false;
    QEventLoop loop;
    m_loop = &loop;
    show();
    // Showing may already have ended the overlay (a Close from its first events).
    if (!m_closeRequested) {
        loop.exec();
    }
    m_loop = nullptr;
    if (releaseLater) {
        m_release.start();
    }
}

void OverlayLoop::Close() {
    m_closeRequested = true;
    if (m_loop != nullptr) {
        m_loop->quit();
    }
}

} // namespace tovrik::capture
