#pragma once

#include <QDBusContext>
#include <QObject>
#include <QString>
#include <QStringList>

class BVController;

// Brevoir on the session bus: the scripting commands (org.brevoir.Brevoir, described by
// resources/dbus/org.brevoir.Brevoir.xml), the application's state, Quit and Activate.
class ScriptingService : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_PROPERTY(QString State READ State)

public:
    static const QString kServiceName;  // "org.brevoir.Brevoir"
    static const QString kObjectPath;   // "/org/brevoir/Brevoir"
    static const QString kInterface;    // "org.brevoir.Brevoir"
    static const QString kRefusedError; // "org.brevoir.Brevoir.Error.Refused"

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
    void RenameRecording(const QString& oldName, const QString& newName);
    void DeleteRecording(const QString& name);
    QString GetNote(const QString& name, const QString& format);
    void SetNote(const QString& name, const QString& content, const QString& format);
    QStringList Categories();
    void SetCategory(const QString& name, const QString& category);
    // Answers once the sync has ended; an error says why it was refused, failed or stopped.
    void Sync();

private:
    // A refusal goes back to the caller as a D-Bus error carrying the reason.
    void answer(const QString& refusal);

    BVController& _controller;
};
