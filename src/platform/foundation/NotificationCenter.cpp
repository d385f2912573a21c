#include "platform/foundation/NotificationCenter.h"

#include <QVarLengthArray>

#include <algorithm>

NotificationCenter& NotificationCenter::defaultCenter() {
    static NotificationCenter center;
    return center;
}

void NotificationCenter::addObserver(const void* observer, const QString& name, Handler handler) {
    _registrations.push_back(
        {observer, name, std::make_shared<const Handler>(std::move(handler)), _nextId++});
}

void NotificationCenter::removeObserver(const void* observer) {
    std::erase_if(_registrations,
                  [observer](const Registration& r) { return r.observer == observer; });
}

void NotificationCenter::post(const QString& name, const void* object,
                              const QVariantMap& userInfo) {
    const Notification notification{name, object, userInfo};
    // Observers may add or remove registrations while being notified: deliver to a snapshot
    // of the ids, and skip any that were removed in the meantime. Some names are posted a
    // hundred times a second, so the common case allocates nothing.
    QVarLengthArray<quint64, 16> ids;
    for (const auto& r : _registrations) {
        if (r.name == name)
            ids.push_back(r.id);
    }
    for (quint64 id : ids) {
        auto it = std::find_if(_registrations.begin(), _registrations.end(),
                               [id](const Registration& r) { return r.id == id; });
        if (it == _registrations.end())
            continue;
        const auto handler = it->handler; // the registration may go away while it runs
        (*handler)(notification);
    }
}
