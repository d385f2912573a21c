#include "support/FakeNotificationServer.h"

#include <QDBusMessage>

namespace {
const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");

QDBusConnection connectTo(const QString& address, const QString& name) {
    return address.isEmpty() ? QDBusConnection::connectToBus(QDBusConnection::SessionBus, name)
                             : QDBusConnection::connectToBus(address, name);
}
} // namespace

FakeNotificationServer::FakeNotificationServer(const QString& busAddress)
    : _connectionName(QStringLiteral("fake-notifications-%1").arg(quintptr(this))),
      _bus(connectTo(busAddress, _connectionName)) {
    if (busAddress.isEmpty())
        _recordOnlyFrom = QDBusConnection::sessionBus().baseService();
    _serving = _bus.isConnected() &&
               _bus.registerObject(kPath, this, QDBusConnection::ExportAllSlots) &&
               _bus.registerService(kService);
}

FakeNotificationServer::~FakeNotificationServer() {
    _bus.unregisterService(kService);
    _bus.unregisterObject(kPath);
    QDBusConnection::disconnectFromBus(_connectionName);
}

uint FakeNotificationServer::Notify(const QString&, uint replacesId, const QString&,
                                    const QString& summary, const QString& body,
                                    const QStringList& actions, const QVariantMap& hints,
                                    int expireTimeout) {
    const uint id = replacesId != 0 ? replacesId : _nextId++;
    if (_recordOnlyFrom.isEmpty() || !calledFromDBus() || message().service() == _recordOnlyFrom)
        notices.push_back({id, summary, body, actions, hints, expireTimeout});
    return id;
}

void FakeNotificationServer::CloseNotification(uint id) {
    closedIds.push_back(id);
}

QStringList FakeNotificationServer::GetCapabilities() {
    return {QStringLiteral("actions"), QStringLiteral("body")};
}

void FakeNotificationServer::invokeAction(uint id, const QString& key) {
    _bus.send(QDBusMessage::createSignal(kPath, kService, QStringLiteral("ActionInvoked"))
              << id << key);
}
