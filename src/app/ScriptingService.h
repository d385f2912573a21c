#pragma once

#include <QObject>
#include <QString>

class BVController;

// Brevoir on the session bus: the scripting commands (org.brevoir.Brevoir, described by
// resources/dbus/org.brevoir.Brevoir.xml), the application's state, Quit and Activate.
class ScriptingService : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString State READ State)

public:
    static const QString kServiceName; // "org.brevoir.Brevoir"
    static const QString kObjectPath;  // "/org/brevoir/Brevoir"
    static const QString kInterface;   // "org.brevoir.Brevoir"

    explicit ScriptingService(BVController& controller, QObject* parent = nullptr);

    enum class Registration { Registered, AlreadyRunning, NoBus };
    // Claims the bus name and exports the object; logs when scripting is unavailable.
    Registration registerOnSessionBus();

    QString State() const;

public slots:
    void Start();
    void Stop();
    void Pause();
    void Snip();
    void Quit();
    void Activate();

private:
    BVController& _controller;
};
