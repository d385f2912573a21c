#include "platform/workspace/FileViewer.h"

#include "platform/foundation/Log.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusReply>
#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace {
const QString kService = QStringLiteral("org.freedesktop.FileManager1");

void openWithDefaultHandler(const QString& path) {
    // A folder opens on its contents; a file, on the folder that holds it.
    const QFileInfo info(path);
    const QUrl url =
        QUrl::fromLocalFile(info.isDir() ? info.absoluteFilePath() : info.absolutePath());
    if (!QDesktopServices::openUrl(url))
        bvLog(QStringLiteral("couldn't show %1: no file manager answered").arg(url.toLocalFile()));
}

bool fileManagerReachable(QDBusConnection& bus) {
    QDBusConnectionInterface* names = bus.interface();
    if (!names)
        return false;
    if (names->isServiceRegistered(kService))
        return true;
    const QDBusReply<QStringList> activatable = names->call(QStringLiteral("ListActivatableNames"));
    return activatable.isValid() && activatable.value().contains(kService);
}
} // namespace

void FileViewer::selectFile(const QString& path) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !fileManagerReachable(bus)) {
        openWithDefaultHandler(path);
        return;
    }
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, QStringLiteral("/org/freedesktop/FileManager1"),
                                       kService, QStringLiteral("ShowItems"));
    call << QStringList{QUrl::fromLocalFile(path).toString()} << QString();
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished,
                     [path](QDBusPendingCallWatcher* w) {
                         if (w->isError())
                             openWithDefaultHandler(path);
                         w->deleteLater();
                     });
}
