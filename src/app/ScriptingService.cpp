#include "app/ScriptingService.h"

#include "app/BVController.h"
#include "brevoir_adaptor.h"
#include "platform/foundation/FileNames.h"
#include "platform/foundation/Log.h"
#include "recording/QKRecorder.h"
#include "recording/ScriptCommands.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QMainWindow>
#include <QTimer>

#include <array>
#include <memory>

const QString ScriptingService::kServiceName = QStringLiteral("org.brevoir.Brevoir");
const QString ScriptingService::kObjectPath = QStringLiteral("/org/brevoir/Brevoir");
const QString ScriptingService::kInterface = QStringLiteral("org.brevoir.Brevoir");
const QString ScriptingService::kRefusedError = QStringLiteral("org.brevoir.Brevoir.Error.Refused");
const QString ScriptingService::kNotRecordingError =
    QStringLiteral("org.brevoir.Brevoir.Error.NotRecording");

ScriptingService::ScriptingService(BVController& controller, QObject* parent)
    : QObject(parent), _controller(controller) {
    new BrevoirAdaptor(this);
    _announcedState = State();
    if (QKRecorder* recorder = _controller.recorder())
        connect(recorder, &QKRecorder::stateChanged, this, &ScriptingService::recorderStateChanged);
    // A sync beginning or ending changes the state too.
    connect(&_controller, &BVController::interfaceStateChanged, this,
            &ScriptingService::recorderStateChanged);
}

void ScriptingService::recorderStateChanged() {
    const QKRecorder* recorder = _controller.recorder();
    const bool recording = recorder && recorder->isRecording();
    // A snip ends one file and starts the next: finished first, then started.
    if (!_announcedRecording.isEmpty() &&
        (!recording || recorder->tempFile() != _announcedRecording)) {
        emit RecordingFinished(_announcedRecording);
        _announcedRecording.clear();
    }
    if (recording && _announcedRecording.isEmpty()) {
        _announcedRecording = recorder->tempFile();
        emit RecordingStarted(_announcedRecording);
    }
    const QString state = State();
    if (state == _announcedState)
        return;
    _announcedState = state;
    QDBusMessage changed =
        QDBusMessage::createSignal(kObjectPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                   QStringLiteral("PropertiesChanged"));
    changed << kInterface << QVariantMap{{QStringLiteral("State"), state}} << QStringList();
    QDBusConnection::sessionBus().send(changed);
}

ScriptingService::Registration ScriptingService::registerOnSessionBus() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        bvLog(QStringLiteral("scripting is unavailable: no D-Bus session bus"));
        return Registration::NoBus;
    }
    // The object first: whoever sees the name can call it at once.
    if (!bus.registerObject(kObjectPath, this)) {
        bvLog(QStringLiteral("scripting is unavailable: %1").arg(bus.lastError().message()));
        return Registration::NoBus;
    }
    // The bus grants the name to one connection only: this is the single-instance decision.
    if (!bus.registerService(kServiceName)) {
        bus.unregisterObject(kObjectPath);
        if (bus.interface() && bus.interface()->isServiceRegistered(kServiceName))
            return Registration::AlreadyRunning;
        bvLog(QStringLiteral("scripting is unavailable: %1").arg(bus.lastError().message()));
        return Registration::NoBus;
    }
    return Registration::Registered;
}

QString ScriptingService::State() const {
    // A recording is told before a sync: scripts pause and stop by it.
    const QKRecorder* recorder = _controller.recorder();
    if (recorder && recorder->isPaused())
        return QStringLiteral("paused");
    if (recorder && recorder->isRecording())
        return QStringLiteral("recording");
    if (_controller.isSyncing())
        return QStringLiteral("syncing");
    if (recorder && recorder->isPreviewing())
        return QStringLiteral("previewing");
    if (recorder && recorder->isListening())
        return QStringLiteral("listening");
    return QStringLiteral("idle");
}

QString ScriptingService::SyncProgress() const {
    return _controller.syncProgress();
}

double ScriptingService::ElapsedTime() const {
    const QKRecorder* recorder = _controller.recorder();
    return recorder ? recorder->elapsedSeconds() : 0;
}

QString ScriptingService::RecordingFile() const {
    const QKRecorder* recorder = _controller.recorder();
    return recorder && recorder->isRecording() ? recorder->tempFile() : QString();
}

QString ScriptingService::StartRecording() {
    QString path;
    answer(_controller.startRecordingForScript(&path));
    return path;
}

QString ScriptingService::StopRecording() {
    QString path;
    if (!_controller.stopRecordingForScript(&path) && calledFromDBus())
        sendErrorReply(kNotRecordingError, QStringLiteral("no recording is running"));
    return path;
}

void ScriptingService::Start() {
    BVStartCommand().performDefaultImplementation();
}
void ScriptingService::Stop() {
    BVStopCommand().performDefaultImplementation();
}
void ScriptingService::Pause() {
    BVPauseCommand().performDefaultImplementation();
}
void ScriptingService::Snip() {
    BVSnipCommand().performDefaultImplementation();
}

void ScriptingService::Quit() {
    // Answer the caller first; the quit path then completes any running recording.
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
}

void ScriptingService::Activate() {
    if (QMainWindow* window = _controller.mainWindow; window && window->isVisible()) {
        window->showNormal();
        window->raise();
        window->activateWindow();
    }
}

double ScriptingService::InputGain() const {
    return _controller.inputGain().value_or(-1.0);
}

void ScriptingService::setInputGain(double gain) {
    SetInputGain(gain);
}

void ScriptingService::SetInputGain(double gain) {
    answer(_controller.setInputGainTo(gain));
}

void ScriptingService::answer(const QString& refusal) {
    if (!refusal.isEmpty() && calledFromDBus())
        sendErrorReply(kRefusedError, refusal);
}

void ScriptingService::RenameRecording(const QString& oldName, const QString& newName) {
    answer(_controller.renameRecording(oldName, newName));
}

void ScriptingService::DeleteRecording(const QString& name) {
    answer(_controller.deleteRecording(name));
}

std::function<void(const QString&, const QString&)> ScriptingService::noteReply(bool withNote) {
    if (!calledFromDBus())
        return [](const QString&, const QString&) {};
    // A large note is read or written on the note worker: the reply waits for it.
    setDelayedReply(true);
    return [call = message(), bus = connection(), withNote](const QString& refusal,
                                                            const QString& note) {
        if (!refusal.isEmpty())
            bus.send(call.createErrorReply(kRefusedError, refusal));
        else
            bus.send(withNote ? call.createReply(note) : call.createReply());
    };
}

QString ScriptingService::GetNote(const QString& name, const QString& format) {
    _controller.noteOfRecording(name, format, noteReply(true));
    return QString(); // the reply carries the note
}

void ScriptingService::SetNote(const QString& name, const QString& content, const QString& format) {
    _controller.setNoteOfRecording(name, content, format, noteReply(false));
}

QStringList ScriptingService::Categories() {
    return _controller.userCategories();
}

void ScriptingService::SetCategory(const QString& name, const QString& category) {
    answer(_controller.setCategoryOfRecording(name, category));
}

void ScriptingService::RenameRecordingBytes(const QByteArray& oldName, const QByteArray& newName) {
    RenameRecording(FileNames::decode(oldName), FileNames::decode(newName));
}

void ScriptingService::DeleteRecordingBytes(const QByteArray& name) {
    DeleteRecording(FileNames::decode(name));
}

QString ScriptingService::GetNoteBytes(const QByteArray& name, const QString& format) {
    return GetNote(FileNames::decode(name), format);
}

void ScriptingService::SetNoteBytes(const QByteArray& name, const QString& content,
                                    const QString& format) {
    SetNote(FileNames::decode(name), content, format);
}

void ScriptingService::SetCategoryBytes(const QByteArray& name, const QString& category) {
    SetCategory(FileNames::decode(name), category);
}

void ScriptingService::Sync() {
    // The reply waits for the end of the sync; the event loop goes on meanwhile.
    const bool fromBus = calledFromDBus();
    QDBusMessage call;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (fromBus) {
        setDelayedReply(true);
        call = message();
        bus = connection();
    }
    // A refusal comes at once, inside the command; the end of a sync that started, later.
    auto ends = std::make_shared<std::array<QMetaObject::Connection, 2>>();
    const auto reply = [fromBus, call, bus, ends](const QString& problem) {
        QObject::disconnect((*ends)[0]);
        QObject::disconnect((*ends)[1]);
        if (fromBus)
            bus.send(problem.isEmpty() ? call.createReply()
                                       : call.createErrorReply(kRefusedError, problem));
    };
    (*ends)[0] = connect(&_controller, &BVController::syncFinished, this, reply);
    (*ends)[1] = connect(&_controller, &BVController::syncRefused, this, reply);
    BVSyncItunesCommand().performDefaultImplementation();
}

void ScriptingService::ExportRecording(const QString& name, const QString& path) {
    if (!calledFromDBus()) {
        _controller.exportRecording(name, path, [](const QString&) {});
        return;
    }
    // The reply waits for the end of the conversion.
    setDelayedReply(true);
    _controller.exportRecording(
        name, path, [call = message(), bus = connection()](const QString& refusal) {
            bus.send(refusal.isEmpty() ? call.createReply()
                                       : call.createErrorReply(kRefusedError, refusal));
        });
}

void ScriptingService::ExportRecordingBytes(const QByteArray& name, const QString& path) {
    ExportRecording(FileNames::decode(name), path);
}

void ScriptingService::ScheduleRecording(qlonglong unixTime, double lengthSeconds) {
    answer(unixTime > 0 ? _controller.scheduleRecording(QDateTime::fromSecsSinceEpoch(unixTime),
                                                        lengthSeconds)
                        : QStringLiteral("the start time must be seconds since the epoch"));
}

void ScriptingService::CancelSchedule() {
    _controller.cancelSchedule();
}

qlonglong ScriptingService::ScheduledStart() const {
    const auto plan = _controller.scheduledRecording();
    return plan ? plan->start.toSecsSinceEpoch() : 0;
}

double ScriptingService::ScheduledLength() const {
    const auto plan = _controller.scheduledRecording();
    return plan ? plan->lengthSeconds : 0;
}

void ScriptingService::SetVoiceActivation(const QVariantMap& changes) {
    VoiceActivation::Settings settings = _controller.voiceActivation();
    QString refusal = VoiceActivation::applyMap(changes, &settings);
    if (refusal.isEmpty())
        refusal = _controller.setVoiceActivation(settings);
    answer(refusal);
}

QString ScriptingService::MarkRecording(const QString& text) {
    _controller.markRunningRecording(text, noteReply(true));
    return QString(); // the reply carries the line
}

QVariantMap ScriptingService::VoiceActivation() const {
    return VoiceActivation::toMap(_controller.voiceActivation());
}
