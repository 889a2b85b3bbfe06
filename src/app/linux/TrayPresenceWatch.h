#pragma once

#include <QAbstractNativeEventFilter>
#include <QDBusServiceWatcher>
#include <QObject>
#include <QTimer>

#include <cstdint>
#include <functional>

namespace tovrik::app {

// Tells when a tray may have come or gone, without waking the program in between: the X server
// reports every change of owner of the screen's system tray selection (XFixes), and the session
// bus every change of owner of the StatusNotifier watcher's name and the watcher's own signals
// of hosts that register or leave. Bursts (a tray that ends drops its windows and the selection
// in turn) arrive as one call, a moment after the last of them; the callee asks what is there.
class TrayPresenceWatch final : public QObject, private QAbstractNativeEventFilter {
    Q_OBJECT
public:
    explicit TrayPresenceWatch(std::function<void()> changed);
    ~TrayPresenceWatch() override;
    TrayPresenceWatch(const TrayPresenceWatch&) = delete;
    TrayPresenceWatch& operator=(const TrayPresenceWatch&) = delete;

private slots:
    void Changed();

private:
    void WatchTraySelection();
    void WatchStatusNotifierHosts();
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

    std::function<void()> m_changed;
    QTimer m_settle;
    QDBusServiceWatcher m_watcherName;
    std::uint8_t m_selectionNotify = 0;
    std::uint32_t m_selection = 0;
};

} // namespace tovrik::app
