#include "platform/workspace/DesktopNotifier.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

namespace {
const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
constexpr int kServerDecidesTimeout = -1;
constexpr int kNeverExpires = 0;
constexpr uchar kUrgencyNormal = 1;
constexpr uchar kUrgencyCritical = 2;
} // namespace

DesktopNotifier::DesktopNotifier(QObject* parent, const QDBusConnection& bus)
    : QObject(parent), _bus(bus) {
    _bus.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                 SLOT(serverActionInvoked(uint, QString)));
    _bus.connect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"), this,
                 SLOT(serverClosed(uint, uint)));
}

void DesktopNotifier::notify(const Message& message, std::function<void(uint)> sent) {
    QStringList actions;
    for (const auto& [key, label] : message.actions)
        actions << key << label;
    QVariantMap hints{{QStringLiteral("desktop-entry"), QStringLiteral("org.brevoir.Brevoir")},
                      {QStringLiteral("urgency"),
                       QVariant::fromValue(message.critical ? kUrgencyCritical : kUrgencyNormal)}};
    if (message.resident)
        hints.insert(QStringLiteral("resident"), true);
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Notify"));
    call << QStringLiteral("Brevoir") << message.replacesId << QStringLiteral("org.brevoir.Brevoir")
         << message.summary << message.body.toHtmlEscaped() << actions << hints
         << (message.resident ? kNeverExpires : kServerDecidesTimeout);
    auto* watcher = new QDBusPendingCallWatcher(_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [sent = std::move(sent)](QDBusPendingCallWatcher* done) {
                const QDBusPendingReply<uint> reply = *done;
                if (sent)
                    sent(reply.isError() ? 0 : reply.value());
                done->deleteLater();
            });
}

void DesktopNotifier::close(uint id) {
    if (id == 0)
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface,
                                                       QStringLiteral("CloseNotification"));
    call << id;
    _bus.asyncCall(call);
}

void DesktopNotifier::serverActionInvoked(uint id, const QString& key) {
    emit actionInvoked(id, key);
}

void DesktopNotifier::serverClosed(uint id, uint) {
    emit closed(id);
}
