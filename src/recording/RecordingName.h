#pragma once

#include <QDateTime>
#include <QString>

namespace RecordingName {
// "Recording %@.mov" with the local time as "%m%d%I%M%S" (ten digits, 12-hour clock).
QString forTime(const QDateTime& localTime);

// The path of a new recording started at localTime in folder. A recording never replaces an
// existing file: when the name is taken, a short suffix makes it distinct
// ("Recording 0314093005-2.mov"), and the log says so.
QString pathForNewRecording(const QString& folder, const QDateTime& localTime);
} // namespace RecordingName
