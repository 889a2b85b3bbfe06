#include "capture/linux/wayland/WaylandScreenSettle.h"

#include <QCoreApplication>
#include <QThread>

#include <algorithm>

namespace tovrik::capture {

void WaylandScreenSettle::AwaitOwnWindows(int limitMs) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    QThread::msleep(static_cast<unsigned long>(std::clamp(limitMs, 0, kCompositorFramesMs)));
}

} // namespace tovrik::capture
