// Stub until the recording engine lands.
#include "recording/QKRecorder.h"

const QString QKRecorderRecordingStatusUpdate = QStringLiteral("QKRecorderRecordingStatusUpdate");
const QString QKRecorderRecordingDidStop = QStringLiteral("QKRecorderRecordingDidStop");

std::unique_ptr<QKRecorder> QKRecorder::create(GrabberFactory) { return nullptr; }
QKRecorder::~QKRecorder() = default;
QByteArray QKRecorder::currentSoundSettings() { return {}; }
void QKRecorder::setCurrentSoundSettings(const QByteArray&) {}
void QKRecorder::setTempFile(const QString& path) { _tempFile = path; }
void QKRecorder::doStop() {}
