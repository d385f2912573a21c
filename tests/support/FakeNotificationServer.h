#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

#include <vector>

// A notification server of the test's own on a session bus (the rig's, or an instance's
// private one): records what it is asked to show and can click a notice's action. On the
// rig's bus, which other test processes share, only this process's notices are recorded.
class FakeNotificationServer : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    struct Notice {
        uint id = 0;
        QString summary;
        QString body;
        QStringList actions;
        QVariantMap hints;
        int timeout = 0;
    };

    // busAddress empty: the session bus of the environment.
    explicit FakeNotificationServer(const QString& busAddress = {});
    ~FakeNotificationServer() override;
    bool isServing() const { return _serving; }

    std::vector<Notice> notices;
    std::vector<uint> closedIds;
    // As a user clicking the action `key` of the notice `id` does.
    void invokeAction(uint id, const QString& key);

public slots:
    uint Notify(const QString& appName, uint replacesId, const QString& appIcon,
                const QString& summary, const QString& body, const QStringList& actions,
                const QVariantMap& hints, int expireTimeout);
    void CloseNotification(uint id);
    QStringList GetCapabilities();

private:
    QString _connectionName;
    QDBusConnection _bus;
    QString _recordOnlyFrom; // a unique bus name; empty: every sender
    bool _serving = false;
    uint _nextId = 1;
};
