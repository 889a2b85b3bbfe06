#pragma once

#include <QDBusConnection>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <memory>
#include <string>

// A private D-Bus session bus with the portal stand-in of tests/portal/portal_double.py on it,
// for the tests of the portal clients. Both processes end with the object. Started() is false,
// with Problem() saying why, when dbus-daemon or python3 with python3-dbus and python3-gi is
// missing: the tests fail then, they do not skip.
class PortalDouble {
public:
    explicit PortalDouble(const QStringList& scenario) {
        m_daemon.start(QStringLiteral("dbus-daemon"),
                       {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
        if (!m_daemon.waitForStarted(5000) || !m_daemon.waitForReadyRead(5000)) {
            m_problem = "dbus-daemon did not start (package dbus)";
            return;
        }
        m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
        m_logPath = QStringLiteral("%1/portal-double-%2.log")
                        .arg(qEnvironmentVariable("TMPDIR", QStringLiteral("/tmp")))
                        .arg(m_daemon.processId());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_address);
        m_portal.setProcessEnvironment(environment);
        m_portal.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_portal.start(QStringLiteral("python3"),
                       QStringList{QStringLiteral(TOVRIK_TESTS_DIR "/portal/portal_double.py"), QStringLiteral("--log"),
                                   m_logPath} +
                           scenario);
        if (!m_portal.waitForStarted(5000) || !m_portal.waitForReadyRead(10000) ||
            !m_portal.readLine().startsWith("ready")) {
            m_problem = "the portal stand-in did not start (python3, python3-dbus, python3-gi)";
            return;
        }
        m_connectionName = QStringLiteral("portal-double-%1").arg(m_daemon.processId());
        m_bus = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(m_address, m_connectionName));
        if (!m_bus->isConnected()) {
            m_problem = "no connection to the private bus";
        }
    }
    ~PortalDouble() {
        m_bus.reset();
        if (!m_connectionName.isEmpty()) {
            QDBusConnection::disconnectFromBus(m_connectionName);
        }
        for (QProcess* process : {&m_portal, &m_daemon}) {
            if (process->state() != QProcess::NotRunning) {
                process->kill();
                process->waitForFinished(3000);
            }
        }
        QFile::remove(m_logPath);
    }
    PortalDouble(const PortalDouble&) = delete;
    PortalDouble& operator=(const PortalDouble&) = delete;

    [[nodiscard]] bool Started() const { return m_problem.empty() && m_bus; }
    [[nodiscard]] const std::string& Problem() const { return m_problem; }
    [[nodiscard]] QDBusConnection Bus() const { return *m_bus; }
    // What the stand-in was asked, one call a line.
    [[nodiscard]] QString Log() const {
        QFile file(m_logPath);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

private:
    QProcess m_daemon;
    QProcess m_portal;
    QString m_address;
    QString m_logPath;
    QString m_connectionName;
    std::unique_ptr<QDBusConnection> m_bus;
    std::string m_problem;
};
