#pragma once

#include "app/HotkeyRegistrar.h"

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QObject>
#include <QString>
#include <QVariantMap>

#include <functional>
#include <vector>

namespace tovrik::app {

// System-wide hotkeys through the desktop portal's GlobalShortcuts interface (KDE Plasma 5.27+,
// GNOME 48+), for Wayland sessions. The portal binds a whole set at once: every registration
// or removal binds the program's current set anew in a fresh session, each hotkey with its
// combination as the preferred trigger ("CTRL+F8"); a hotkey counts as registered when the
// desktop granted it. The desktop may ask the user first, so each answer is awaited, bounded
// in time; a desktop that once left a request unanswered is not asked again in this run, so
// that start-up waits for it once, not once per hotkey. Activated signals reach the owner form
// as Hotkey events. A desktop that refuses or never answers leaves every hotkey unregistered,
// and the hint line says what to do instead.
class PortalHotkeyRegistrar final : public QObject, public HotkeyRegistrar {
    Q_OBJECT
public:
    static constexpr int kAnswerTimeoutMs = 30000;
    static constexpr int kSessionTimeoutMs = 5000;

    using Deliver = std::function<void(ui::FormId owner, int id)>;

    PortalHotkeyRegistrar(QDBusConnection bus, Deliver deliver, int answerTimeoutMs = kAnswerTimeoutMs);
    ~PortalHotkeyRegistrar() override;
    PortalHotkeyRegistrar(const PortalHotkeyRegistrar&) = delete;
    PortalHotkeyRegistrar& operator=(const PortalHotkeyRegistrar&) = delete;

    // Whether the bus has a portal with the GlobalShortcuts interface.
    [[nodiscard]] static bool Offered(const QDBusConnection& bus);
    // The portal's trigger text of a combination: "CTRL+ALT+F8", "SHIFT+a"; empty for a key
    // without a name.
    [[nodiscard]] static QString Trigger(unsigned modifiers, int virtualKey);

    [[nodiscard]] bool Register(ui::FormId owner, int id, unsigned modifiers, int virtualKey) override;
    void Unregister(ui::FormId owner, int id) override;
    // Non-empty while the desktop refuses the set (or never answered): allow the program in
    // the desktop's settings, or bind the command triggers.
    [[nodiscard]] Text UnavailableHint() const override;

    // Public: Qt D-Bus connects signals only to public slots, and connect fails otherwise.
public Q_SLOTS:
    void OnActivated(const QDBusObjectPath& session, const QString& shortcut, qulonglong timestamp,
                     const QVariantMap& options);

private:
    struct Binding {
        ui::FormId owner;
        int id;
        QString trigger;
        bool granted = false;
    };

    // Binds m_bindings in a new session; marks what was granted. False when the portal failed.
    bool BindAll();
    void CloseSession();
    [[nodiscard]] bool Await(const QString& requestPath, const std::function<void()>& call, QVariantMap& results);

    QDBusConnection m_bus;
    Deliver m_deliver;
    int m_answerTimeoutMs;
    // Whether Activated signals reach us; without them nothing counts as registered.
    bool m_listening = false;
    bool m_refused = false;
    // The desktop left a request unanswered.
    bool m_silent = false;
    // The set lost a hotkey and is bound anew from the event loop unless a registration does it.
    bool m_rebindPending = false;
    std::vector<Binding> m_bindings;
    QString m_session;
    unsigned m_tokens = 0;
};

} // namespace tovrik::app
