#include "app/linux/XdgShell.h"

#include "ui/linux/QtText.h"
#include "ui/linux/TestHook.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>
#include <QUrl>

namespace tovrik::app {

namespace {

void Open(const QString& target) {
    ui::TestHook::Report("open", ui::FromQString(target));
    if (!QProcess::startDetached(QStringLiteral("xdg-open"), {target})) {
        static_cast<void>(QProcess::startDetached(QStringLiteral("gio"), {QStringLiteral("open"), target}));
    }
}

} // namespace

void XdgShell::OpenFolder(TextView folder) {
    Open(ui::ToQString(folder));
}

void XdgShell::RevealFile(TextView file) {
    const QString path = ui::ToQString(file);
    const QString folder = QFileInfo(path).absolutePath();
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        Open(folder);
        return;
    }
    ui::TestHook::Report("reveal", file);
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    call << QStringList{QUrl::fromLocalFile(path).toString()} << QString();
    // Answered later: a file manager started on demand may take a while, and the program does
    // not wait for it.
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), nullptr);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, [folder](QDBusPendingCallWatcher* finished) {
        if (finished->isError()) {
            Open(folder);
        }
        finished->deleteLater();
    });
}

void XdgShell::OpenUrl(TextView url) {
    Open(ui::ToQString(url));
}

} // namespace tovrik::app
