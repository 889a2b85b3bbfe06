#pragma once

#include "capture/ScreenSettle.h"

#include <QElapsedTimer>
#include <QObject>

namespace tovrik::capture {

// Waits for the program's Qt windows in a Wayland session. A client cannot ask the compositor
// whether its surfaces are on the screen: the shown or hidden windows are committed by handling
// Qt's pending events, and the compositor has drawn them after its next frames. Only a window
// shown or hidden within those frames is waited for: a capture from the tray waits for nothing.
class WaylandScreenSettle final : public QObject, public ScreenSettle {
public:
    static constexpr int kCompositorFramesMs = 34;

    WaylandScreenSettle();
    ~WaylandScreenSettle() override;
    WaylandScreenSettle(const WaylandScreenSettle&) = delete;
    WaylandScreenSettle& operator=(const WaylandScreenSettle&) = delete;

    void AwaitOwnWindows(int limitMs) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Since a window of ours was last shown or hidden; invalid while none has been.
    QElapsedTimer m_sinceChange;
};

} // namespace tovrik::capture
