#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QString>
#include <QVariantMap>

namespace tovrik::capture {

// One call of a desktop portal method that answers through a Request object
// (org.freedesktop.portal.Request): the Response signal is listened for before the call goes
// out, since it may come before the call returns, and awaited for a bounded time; a request
// left unanswered is withdrawn (Close). A desktop that has not allowed the program may never
// answer.
struct PortalAnswer {
    enum class Kind { Answered, NoAnswer, CallFailed };
    Kind kind = Kind::CallFailed;
    unsigned response = 2; // 0 granted, 1 cancelled by the user, 2 refused otherwise
    QVariantMap results;
};

// `call` is the method call; its options must carry handle_token = `token`.
[[nodiscard]] PortalAnswer CallPortal(QDBusConnection& bus, const QDBusMessage& call, const QString& token,
                                      int timeoutMs);

inline const QString kPortalService = QStringLiteral("org.freedesktop.portal.Desktop");
inline const QString kPortalPath = QStringLiteral("/org/freedesktop/portal/desktop");

} // namespace tovrik::capture
