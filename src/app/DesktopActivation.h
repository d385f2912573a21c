#pragma once

#include <QDBusAbstractAdaptor>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

class ScriptingService;

// org.freedesktop.Application beside the scripting interface, on the same object: the desktop
// starts Brevoir through the bus when its launcher is chosen and calls Activate, which brings
// the running window to the front as a second launch does.
class DesktopActivation : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")

public:
    explicit DesktopActivation(ScriptingService* service);

public slots:
    void Activate(const QVariantMap& platformData);
    // Brevoir opens no documents: the window comes to the front, as for Activate.
    void Open(const QStringList& uris, const QVariantMap& platformData);
    // The launcher offers no actions; a named one does nothing.
    void ActivateAction(const QString& name, const QVariantList& parameter,
                        const QVariantMap& platformData);

private:
    ScriptingService* _service;
};
