#pragma once

#include <QByteArray>
#include <QDBusContext>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <functional>

class BVController;

// Brevoir on the session bus: the scripting commands (org.brevoir.Brevoir, described by
// resources/dbus/org.brevoir.Brevoir.xml), the application's state, Quit and Activate.
class ScriptingService : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_PROPERTY(QString State READ State)
    Q_PROPERTY(double ElapsedTime READ ElapsedTime)
    Q_PROPERTY(QString RecordingFile READ RecordingFile)
    Q_PROPERTY(QString SyncProgress READ SyncProgress)
    Q_PROPERTY(double InputGain READ InputGain WRITE setInputGain)
    Q_PROPERTY(qlonglong ScheduledStart READ ScheduledStart)
    Q_PROPERTY(double ScheduledLength READ ScheduledLength)
    Q_PROPERTY(QVariantMap VoiceActivation READ VoiceActivation)

public:
    static const QString kServiceName;       // "org.brevoir.Brevoir"
    static const QString kObjectPath;        // "/org/brevoir/Brevoir"
    static const QString kInterface;         // "org.brevoir.Brevoir"
    static const QString kRefusedError;      // "org.brevoir.Brevoir.Error.Refused"
    static const QString kNotRecordingError; // "org.brevoir.Brevoir.Error.NotRecording"

    explicit ScriptingService(BVController& controller, QObject* parent = nullptr);

    enum class Registration { Registered, AlreadyRunning, NoBus };
    // Claims the bus name and exports the object; logs when scripting is unavailable.
    Registration registerOnSessionBus();

    QString State() const;
    double ElapsedTime() const;
    QString RecordingFile() const;
    QString SyncProgress() const;
    // -1 when the input has no gain the sound server controls.
    double InputGain() const;
    void setInputGain(double gain);
    qlonglong ScheduledStart() const;
    double ScheduledLength() const;
    QVariantMap VoiceActivation() const;

signals:
    void RecordingStarted(const QString& path);
    void RecordingFinished(const QString& path);

public slots:
    void Start();
    void Stop();
    void Pause();
    void Snip();
    void Quit();
    void Activate();
    QString StartRecording();
    QString StopRecording();
    void RenameRecording(const QString& oldName, const QString& newName);
    void DeleteRecording(const QString& name);
    QString GetNote(const QString& name, const QString& format);
    void SetNote(const QString& name, const QString& content, const QString& format);
    QStringList Categories();
    void SetCategory(const QString& name, const QString& category);
    // The same for names that are not valid UTF-8, given as the file system's bytes.
    void RenameRecordingBytes(const QByteArray& oldName, const QByteArray& newName);
    void DeleteRecordingBytes(const QByteArray& name);
    QString GetNoteBytes(const QByteArray& name, const QString& format);
    void SetNoteBytes(const QByteArray& name, const QString& content, const QString& format);
    void SetCategoryBytes(const QByteArray& name, const QString& category);
    // Sends the sync command; answers once the sync has ended, or with an error that says why
    // it was refused, failed or stopped.
    void Sync();
    // Converts a recording to a file; answers once it is written, or with why not.
    void ExportRecording(const QString& name, const QString& path);
    void ExportRecordingBytes(const QByteArray& name, const QString& path);
    // Sets InputGain, with the reason when it is refused.
    void SetInputGain(double gain);
    void ScheduleRecording(qlonglong unixTime, double lengthSeconds);
    void CancelSchedule();
    void SetVoiceActivation(const QVariantMap& settings);
    // Adds "[00:12:31] text" at the end of the running recording's note; answers that line.
    QString MarkRecording(const QString& text);

private:
    // A refusal goes back to the caller as a D-Bus error carrying the reason.
    void answer(const QString& refusal);
    // The reply to the note call in hand, sent when the answer comes (perhaps later).
    std::function<void(const QString& refusal, const QString& note)> noteReply(bool withNote);
    // Tells the bus what changed: a recording began or ended, or the State property moved.
    void recorderStateChanged();

    BVController& _controller;
    QString _announcedState;
    QString _announcedRecording; // the file of the recording announced as started
};
