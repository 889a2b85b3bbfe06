#include "capture/linux/wayland/PortalRequest.h"

#include <QDBusObjectPath>
#include <QDBusReply>
#include <QEventLoop>
#include <QObject>
#include <QTimer>

namespace tovrik::capture {

namespace {

const QString kRequest = QStringLiteral("org.freedesktop.portal.Request");
const QString kResponse = QStringLiteral("Response");

// The request object's path that the portal uses for a token of ours.
QString RequestPath(const QDBusConnection& bus, const QString& token) {
    QString sender = bus.baseService().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    return kPortalPath + QStringLiteral("/request/") + sender + QLatin1Char('/') + token;
}

// Receives the Response signal of one request.
class ResponseCatcher : public QObject {
    Q_OBJECT
public:
    explicit ResponseCatcher(QEventLoop& loop) : m_loop(loop) {}

    bool answered = false;
    unsigned response = 2;
    QVariantMap results;

    void Listen(QDBusConnection& bus, const QString& path) {
        m_path = path;
        bus.connect(kPortalService, path, kRequest, kResponse, this, SLOT(OnResponse(uint, QVariantMap)));
    }
    void Stop(QDBusConnection& bus) {
        bus.disconnect(kPortalService, m_path, kRequest, kResponse, this, SLOT(OnResponse(uint, QVariantMap)));
    }

public Q_SLOTS:
    void OnResponse(uint code, const QVariantMap& values) {
        answered = true;
        response = code;
        results = values;
        m_loop.quit();
    }

private:
    QEventLoop& m_loop;
    QString m_path;
};

} // namespace

PortalAnswer CallPortal(QDBusConnection& bus, const QDBusMessage& call, const QString& token, int timeoutMs) {
    if (!bus.isConnected()) {
        return {};
    }
    QEventLoop loop;
    ResponseCatcher catcher(loop);
    catcher.Listen(bus, RequestPath(bus, token));
    const QDBusReply<QDBusObjectPath> reply = bus.call(call, QDBus::Block, timeoutMs);
    if (!reply.isValid()) {
        catcher.Stop(bus);
        return {};
    }
    if (const QString path = reply.value().path(); path != RequestPath(bus, token) && !catcher.answered) {
        // An older portal names the request itself.
        catcher.Stop(bus);
        catcher.Listen(bus, path);
    }
    if (!catcher.answered) {
        QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
        loop.exec();
    }
    catcher.Stop(bus);
    if (!catcher.answered) {
        // Withdrawn, so that a late answer reaches nobody.
        bus.call(
            QDBusMessage::createMethodCall(kPortalService, reply.value().path(), kRequest, QStringLiteral("Close")),
            QDBus::NoBlock);
        return {.kind = PortalAnswer::Kind::NoAnswer, .response = 2, .results = {}};
    }
    return {.kind = PortalAnswer::Kind::Answered, .response = catcher.response, .results = catcher.results};
}

} // namespace tovrik::capture

#include "PortalRequest.moc"
