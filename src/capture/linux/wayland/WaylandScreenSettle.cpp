#include "capture/linux/wayland/WaylandScreenSettle.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>
#include <QWindow>

#include <algorithm>

namespace tovrik::capture {

WaylandScreenSettle::WaylandScreenSettle() {
    if (QCoreApplication* application = QCoreApplication::instance()) {
        application->installEventFilter(this);
    }
}

WaylandScreenSettle::~WaylandScreenSettle() {
    if (QCoreApplication* application = QCoreApplication::instance()) {
        application->removeEventFilter(this);
    }
}

bool WaylandScreenSettle::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if ((type == QEvent::Show || type == QEvent::Hide) && qobject_cast<QWindow*>(watched) != nullptr) {
        m_sinceChange.start();
    }
    return false;
}

void WaylandScreenSettle::AwaitOwnWindows(int limitMs) {
    // Commits what was shown or hidden; key presses (another hotkey) wait for later.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (!m_sinceChange.isValid()) {
        return;
    }
    const qint64 left = std::min<qint64>(limitMs, kCompositorFramesMs) - m_sinceChange.elapsed();
    if (left > 0) {
        QThread::msleep(static_cast<unsigned long>(left));
    }
}

} // namespace tovrik::capture
