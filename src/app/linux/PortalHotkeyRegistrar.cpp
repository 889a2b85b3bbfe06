#include "app/linux/PortalHotkeyRegistrar.h"

#include "capture/linux/wayland/PortalRequest.h"
#include "text/Encoding.h"
#include "ui/linux/KeyCodes.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QStringList>
#include <QTimer>

#include <X11/Xlib.h>

#include <algorithm>
#include <utility>

namespace tovrik::app {

namespace {

using capture::kPortalPath;
using capture::kPortalService;
using capture::PortalAnswer;

const QString kInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");

// One entry of the a(sa{sv}) lists that BindShortcuts takes and answers with.
struct Shortcut {
    QString id;
    QVariantMap properties;
};

QDBusArgument& operator<<(QDBusArgument& argument, const Shortcut& shortcut) {
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, Shortcut& shortcut) {
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

} // namespace

} // namespace tovrik::app

Q_DECLARE_METATYPE(tovrik::app::Shortcut)

namespace tovrik::app {

namespace {

QString ShortcutId(int id) {
    return QStringLiteral("hotkey-%1").arg(id);
}

} // namespace

PortalHotkeyRegistrar::PortalHotkeyRegistrar(QDBusConnection bus, Deliver deliver, int answerTimeoutMs)
    : m_bus(std::move(bus)), m_deliver(std::move(deliver)), m_answerTimeoutMs(answerTimeoutMs) {
    qDBusRegisterMetaType<Shortcut>();
    qDBusRegisterMetaType<QList<Shortcut>>();
    // The slot's parameter types must be known by id before connect looks them up, or it
    // fails: nothing else in the program has used QDBusObjectPath by then.
    qRegisterMetaType<QDBusObjectPath>();
    m_listening = m_bus.connect(kPortalService, kPortalPath, kInterface, QStringLiteral("Activated"), this,
                                SLOT(OnActivated(QDBusObjectPath, QString, qulonglong, QVariantMap)));
}

PortalHotkeyRegistrar::~PortalHotkeyRegistrar() {
    CloseSession();
}

bool PortalHotkeyRegistrar::Offered(const QDBusConnection& bus) {
    if (!bus.isConnected()) {
        return false;
    }
    QDBusMessage get = QDBusMessage::createMethodCall(
        kPortalService, kPortalPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << kInterface << QStringLiteral("version");
    const QDBusMessage reply = bus.call(get, QDBus::Block, 3000);
    return reply.type() == QDBusMessage::ReplyMessage;
}

QString PortalHotkeyRegistrar::Trigger(unsigned modifiers, int virtualKey) {
    const unsigned long keysym = ui::KeysymFromVirtualKey(virtualKey);
    const char* name = keysym != 0 ? XKeysymToString(keysym) : nullptr;
    if (name == nullptr) {
        return {};
    }
    QStringList parts;
    if ((modifiers & kModControl) != 0) {
        parts << QStringLiteral("CTRL");
    }
    if ((modifiers & kModAlt) != 0) {
        parts << QStringLiteral("ALT");
    }
    if ((modifiers & kModShift) != 0) {
        parts << QStringLiteral("SHIFT");
    }
    parts << QString::fromLatin1(name);
    return parts.join(QLatin1Char('+'));
}

bool PortalHotkeyRegistrar::Register(ui::FormId owner, int id, unsigned modifiers, int virtualKey) {
    const QString trigger = Trigger(modifiers, virtualKey);
    const bool taken = std::any_of(m_bindings.begin(), m_bindings.end(), [&](const Binding& binding) {
        return binding.id == id || binding.trigger == trigger;
    });
    if (trigger.isEmpty() || taken) {
        return false;
    }
    m_bindings.push_back({owner, id, trigger});
    const bool bound = BindAll();
    const auto mine =
        std::find_if(m_bindings.begin(), m_bindings.end(), [id](const Binding& binding) { return binding.id == id; });
    if (!bound || !mine->granted) {
        m_bindings.erase(mine);
        return false;
    }
    return true;
}

void PortalHotkeyRegistrar::Unregister(ui::FormId owner, int id) {
    const auto removed = std::erase_if(
        m_bindings, [owner, id](const Binding& binding) { return binding.owner == owner && binding.id == id; });
    if (removed == 0 || m_rebindPending) {
        return;
    }
    // A changed hotkey box unregisters its old combination and registers the new one at once:
    // the set is bound anew once, by that registration, or here when none follows. Presses of
    // the removed hotkey reach nobody meanwhile, as it is no longer among the bindings.
    m_rebindPending = true;
    QTimer::singleShot(0, this, [this] {
        if (std::exchange(m_rebindPending, false)) {
            static_cast<void>(BindAll());
        }
    });
}

Text PortalHotkeyRegistrar::UnavailableHint() const {
    if (!m_refused) {
        return {};
    }
    return text::Utf8ToText(
        "桌面未允许全局热键: 请在桌面设置中允许 TovrikOcr, 或绑定 TovrikOcr --capture-to-file 等命令");
}

void PortalHotkeyRegistrar::CloseSession() {
    if (!m_session.isEmpty()) {
        m_bus.call(QDBusMessage::createMethodCall(kPortalService, m_session,
                                                  QStringLiteral("org.freedesktop.portal.Session"),
                                                  QStringLiteral("Close")),
                   QDBus::NoBlock);
        m_session.clear();
    }
}

bool PortalHotkeyRegistrar::BindAll() {
    m_rebindPending = false;
    // A session's shortcuts are bound once: a changed set goes into a new session.
    CloseSession();
    for (Binding& binding : m_bindings) {
        binding.granted = false;
    }
    if (m_bindings.empty()) {
        return true;
    }
    if (!m_listening || m_silent) {
        // Presses could not reach us, or the desktop did not answer before: as good as refused
        // without waiting again, and the commands are the way out.
        m_refused = true;
        return false;
    }
    const QString token = QStringLiteral("tovrik%1").arg(++m_tokens);
    QDBusMessage create =
        QDBusMessage::createMethodCall(kPortalService, kPortalPath, kInterface, QStringLiteral("CreateSession"));
    create << QVariantMap{{QStringLiteral("handle_token"), token}, {QStringLiteral("session_handle_token"), token}};
    // Making a session asks the user nothing: a portal that is slow to do it will not answer.
    const PortalAnswer created =
        capture::CallPortal(m_bus, create, token, std::min(m_answerTimeoutMs, kSessionTimeoutMs));
    m_silent = created.kind == PortalAnswer::Kind::NoAnswer;
    m_refused = created.kind != PortalAnswer::Kind::Answered || created.response != 0;
    if (m_refused) {
        return false;
    }
    m_session = created.results.value(QStringLiteral("session_handle")).toString();
    if (m_session.isEmpty()) {
        return false;
    }
    QList<Shortcut> shortcuts;
    for (const Binding& binding : m_bindings) {
        shortcuts.push_back({ShortcutId(binding.id),
                             {{QStringLiteral("description"), QStringLiteral("TovrikOcr %1").arg(binding.id)},
                              {QStringLiteral("preferred_trigger"), binding.trigger}}});
    }
    const QString bindToken = QStringLiteral("tovrik%1").arg(++m_tokens);
    QDBusMessage bind =
        QDBusMessage::createMethodCall(kPortalService, kPortalPath, kInterface, QStringLiteral("BindShortcuts"));
    bind << QVariant::fromValue(QDBusObjectPath(m_session)) << QVariant::fromValue(shortcuts) << QString()
         << QVariantMap{{QStringLiteral("handle_token"), bindToken}};
    const PortalAnswer bound = capture::CallPortal(m_bus, bind, bindToken, m_answerTimeoutMs);
    m_silent = bound.kind == PortalAnswer::Kind::NoAnswer;
    m_refused = bound.kind != PortalAnswer::Kind::Answered || bound.response != 0;
    if (m_refused) {
        return false;
    }
    QList<Shortcut> granted;
    bound.results.value(QStringLiteral("shortcuts")).value<QDBusArgument>() >> granted;
    for (Binding& binding : m_bindings) {
        binding.granted = std::any_of(granted.begin(), granted.end(),
                                      [&binding](const Shortcut& s) { return s.id == ShortcutId(binding.id); });
    }
    return true;
}

void PortalHotkeyRegistrar::OnActivated(const QDBusObjectPath& session, const QString& shortcut, qulonglong,
                                        const QVariantMap&) {
    if (session.path() != m_session) {
        return;
    }
    for (const Binding& binding : m_bindings) {
        if (binding.granted && ShortcutId(binding.id) == shortcut) {
            m_deliver(binding.owner, binding.id);
        }
    }
}

} // namespace tovrik::app
