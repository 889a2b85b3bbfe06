#include "app/linux/QtTrayHost.h"

#include "app/TrayIcon.h"
#include "app/linux/AppIcon.h"
#include "app/linux/TrayPresenceWatch.h"
#include "ui/linux/PictureImage.h"
#include "ui/linux/QtText.h"
#include "ui/linux/QtWindowSystem.h"
#include "ui/linux/TestHook.h"

#include "ui/linux/X11Display.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QPixmap>
#include <QSystemTrayIcon>

#include <X11/Xlib.h>

#include <string>

namespace tovrik::app {

namespace {

constexpr int kLeftButtonUp = 514;
constexpr int kMiddleButtonUp = 520;
constexpr int kDbusTimeoutMs = 500;

// What Qt itself asks before it puts the icon on D-Bus rather than into an XEmbed tray.
bool StatusNotifierHostRegistered() {
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.kde.StatusNotifierWatcher"), QStringLiteral("/StatusNotifierWatcher"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    call << QStringLiteral("org.kde.StatusNotifierWatcher") << QStringLiteral("IsStatusNotifierHostRegistered");
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, kDbusTimeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
           reply.arguments().first().value<QDBusVariant>().variant().toBool();
}

// An XEmbed tray: the owner of the screen's system tray selection.
bool XEmbedTrayPresent() {
    Display* display = ui::X11Display();
    if (display == nullptr) {
        return false;
    }
    const std::string selection = "_NET_SYSTEM_TRAY_S" + std::to_string(DefaultScreen(display));
    const Atom atom = XInternAtom(display, selection.c_str(), False);
    return atom != None && XGetSelectionOwner(display, atom) != None;
}

} // namespace

QtTrayHost::QtTrayHost(ui::QtWindowSystem& windows) : m_windows(windows) {}

QtTrayHost::~QtTrayHost() = default;

bool QtTrayHost::AddIcon(ui::FormId owner, BytesView iconData) {
    if (m_windows.Widget(owner) == nullptr) {
        return false;
    }
    m_owner = owner;
    m_image = AppIcon();
    if (const QImage image = ui::DecodePicture(iconData); !image.isNull()) {
        m_image = QIcon(QPixmap::fromImage(image));
    }
    m_present = TrayPresent();
    if (m_present) {
        MakeIcon();
    } else {
        ui::TestHook::Report("tray", "added", "no-tray");
    }
    if (!m_watch) {
        m_watch = std::make_unique<TrayPresenceWatch>([this] { Watch(); });
    }
    return true;
}

bool QtTrayHost::TrayPresent() const {
    if (m_icon) {
        return m_statusNotifier ? StatusNotifierHostRegistered() : XEmbedTrayPresent();
    }
    // Qt chooses between a StatusNotifier item and an XEmbed icon once per process, at its first
    // look for a tray; so it is not asked before a tray of either kind is there.
    return StatusNotifierHostRegistered() || XEmbedTrayPresent();
}

void QtTrayHost::MakeIcon() {
    m_statusNotifier = m_present && StatusNotifierHostRegistered();
    m_icon = std::make_unique<QSystemTrayIcon>(m_image);
    m_icon->setToolTip(m_tip);
    if (m_menu != nullptr) {
        m_icon->setContextMenu(m_menu);
    }
    QObject::connect(m_icon.get(), &QSystemTrayIcon::activated, m_icon.get(),
                     [this](QSystemTrayIcon::ActivationReason reason) {
                         int code = 0;
                         switch (reason) {
                         case QSystemTrayIcon::DoubleClick:
                             code = kTrayLeftDoubleClick;
                             break;
                         case QSystemTrayIcon::Trigger:
                             code = m_statusNotifier ? kTrayLeftDoubleClick : kLeftButtonUp;
                             break;
                         case QSystemTrayIcon::Context:
                             // A handed-over menu is shown by the tray (or by Qt for it).
                             code = m_menu != nullptr ? 0 : kTrayRightButtonDown;
                             break;
                         case QSystemTrayIcon::MiddleClick:
                             code = kMiddleButtonUp;
                             break;
                         case QSystemTrayIcon::Unknown:
                             break;
                         }
                         if (code != 0) {
                             m_windows.Post(m_owner, {.kind = ui::EventKind::TrayNotify, .code = code});
                         }
                     });
    m_icon->show();
    ui::TestHook::Report("tray", "added", m_statusNotifier ? "statusnotifier" : "docked");
}

void QtTrayHost::Watch() {
    const bool present = TrayPresent();
    if (present == m_present) {
        return;
    }
    m_present = present;
    if (!present) {
        ui::TestHook::Report("tray", "gone");
    } else if (m_icon && m_statusNotifier) {
        // Qt registers its item again with a watcher that comes back; an icon made anew would be
        // a second item, and the host would keep the first one's entry without its object.
        ui::TestHook::Report("tray", "back", "statusnotifier");
    } else {
        MakeIcon();
    }
    m_windows.Post(m_owner, {.kind = ui::EventKind::TrayNotify, .code = present ? kTrayHostAppeared : kTrayHostGone});
}

void QtTrayHost::SetTip(TextView tip) {
    m_tip = ui::ToQString(tip);
    if (m_icon) {
        m_icon->setToolTip(m_tip);
    }
}

void QtTrayHost::SetMenu(ui::FormId owner, TextView menu) {
    m_menu = m_windows.HandOverMenu(owner, menu, {.kind = ui::EventKind::TrayNotify, .code = kTrayMenuOpening});
    if (m_icon) {
        m_icon->setContextMenu(m_menu);
    }
}

void QtTrayHost::RemoveIcon() {
    m_watch.reset();
    if (m_icon) {
        m_icon->hide();
        m_icon.reset();
        ui::TestHook::Report("tray", "removed");
    }
}

} // namespace tovrik::app
