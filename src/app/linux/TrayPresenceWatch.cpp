#include "app/linux/TrayPresenceWatch.h"

#include "ui/linux/X11Display.h"

#include <QCoreApplication>
#include <QDBusConnection>

#include <X11/Xlib.h>
#include <xcb/xcb.h>
#include <xcb/xfixes.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace tovrik::app {

namespace {

constexpr int kSettleMs = 100;
const QString kWatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename Reply> using ReplyPtr = std::unique_ptr<Reply, FreeReply>;

} // namespace

TrayPresenceWatch::TrayPresenceWatch(std::function<void()> changed) : m_changed(std::move(changed)) {
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMs);
    connect(&m_settle, &QTimer::timeout, this, [this] { m_changed(); });
    WatchTraySelection();
    WatchStatusNotifierHosts();
}

TrayPresenceWatch::~TrayPresenceWatch() {
    if (m_selectionNotify != 0) {
        if (QCoreApplication* application = QCoreApplication::instance()) {
            application->removeNativeEventFilter(this);
        }
    }
}

void TrayPresenceWatch::WatchTraySelection() {
    xcb_connection_t* connection = ui::X11Connection();
    if (connection == nullptr) {
        return;
    }
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(connection, &xcb_xfixes_id);
    if (extension == nullptr || extension->present == 0) {
        return;
    }
    // The client states the version it speaks before its first request of the extension.
    const ReplyPtr<xcb_xfixes_query_version_reply_t> version(xcb_xfixes_query_version_reply(
        connection, xcb_xfixes_query_version(connection, XCB_XFIXES_MAJOR_VERSION, XCB_XFIXES_MINOR_VERSION), nullptr));
    Display* display = ui::X11Display();
    if (version == nullptr || display == nullptr) {
        return;
    }
    const int screen = DefaultScreen(display);
    const std::string name = "_NET_SYSTEM_TRAY_S" + std::to_string(screen);
    const ReplyPtr<xcb_intern_atom_reply_t> atom(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(name.size()), name.c_str()), nullptr));
    if (atom == nullptr) {
        return;
    }
    m_selection = atom->atom;
    m_selectionNotify = static_cast<std::uint8_t>(extension->first_event + XCB_XFIXES_SELECTION_NOTIFY);
    QCoreApplication::instance()->installNativeEventFilter(this);
    xcb_xfixes_select_selection_input(connection, static_cast<xcb_window_t>(RootWindow(display, screen)), m_selection,
                                      XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER |
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY |
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
    xcb_flush(connection);
}

void TrayPresenceWatch::WatchStatusNotifierHosts() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return;
    }
    m_watcherName.setConnection(bus);
    m_watcherName.setWatchMode(QDBusServiceWatcher::WatchForOwnerChange);
    m_watcherName.addWatchedService(kWatcherService);
    connect(&m_watcherName, &QDBusServiceWatcher::serviceOwnerChanged, this, &TrayPresenceWatch::Changed);
    const QString path = QStringLiteral("/StatusNotifierWatcher");
    // Matched by interface and path from whichever connection owns the name, now or later.
    for (const QString& signal :
         {QStringLiteral("StatusNotifierHostRegistered"), QStringLiteral("StatusNotifierHostUnregistered")}) {
        bus.connect(QString(), path, kWatcherService, signal, this, SLOT(Changed()));
    }
}

void TrayPresenceWatch::Changed() {
    m_settle.start();
}

bool TrayPresenceWatch::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t") {
        return false;
    }
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7F) != m_selectionNotify) {
        return false;
    }
    if (static_cast<const xcb_xfixes_selection_notify_event_t*>(message)->selection == m_selection) {
        Changed();
    }
    // Qt watches selections of its own (the clipboard) through the same events.
    return false;
}

} // namespace tovrik::app
