#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <functional>
#include <utility>
#include <vector>

// The desktop's notifications (org.freedesktop.Notifications on the session bus). Calls never
// wait for the server: one that hangs or is missing costs nothing but the notice.
class DesktopNotifier : public QObject {
    Q_OBJECT

public:
    struct Message {
        QString summary;
        QString body; // plain text: markup is escaped for servers that read it
        std::vector<std::pair<QString, QString>> actions; // key, label
        bool resident = false; // stays until closed, as a recording in the background does
        bool critical = false;
        uint replacesId = 0;
    };

    explicit DesktopNotifier(QObject* parent = nullptr,
                             const QDBusConnection& bus = QDBusConnection::sessionBus());

    // `sent` receives the server's id for it, or 0 when no server took it.
    void notify(const Message& message, std::function<void(uint id)> sent = {});
    void close(uint id);

signals:
    void actionInvoked(uint id, const QString& key);
    void closed(uint id);

private slots:
    void serverActionInvoked(uint id, const QString& key);
    void serverClosed(uint id, uint reason);

private:
    QDBusConnection _bus;
};
