#pragma once

#include <QString>
#include <QVariantMap>

#include <functional>
#include <memory>
#include <vector>

// A named notification: who posted it and what it carries.
struct Notification {
    QString name;
    const void* object = nullptr;
    QVariantMap userInfo;
};

// Named notifications delivered synchronously: every observer of the name has run before
// post() returns. Observers see notifications from any sender. Main thread only.
class NotificationCenter {
public:
    using Handler = std::function<void(const Notification&)>;

    static NotificationCenter& defaultCenter();

    void addObserver(const void* observer, const QString& name, Handler handler);
    // Removes every registration of the observer, for all names.
    void removeObserver(const void* observer);

    void post(const QString& name, const void* object, const QVariantMap& userInfo = {});

private:
    struct Registration {
        const void* observer;
        QString name;
        std::shared_ptr<const Handler> handler; // shared: a post keeps it alive cheaply
        quint64 id;
    };
    std::vector<Registration> _registrations;
    quint64 _nextId = 1;
};
