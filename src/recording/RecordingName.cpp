#include "recording/RecordingName.h"

#include "platform/foundation/Log.h"

#include <QFileInfo>

#include <ctime>

namespace {
QString stamp(const QDateTime& localTime) {
    const QDate date = localTime.date();
    const QTime time = localTime.time();
    int hour12 = time.hour() % 12;
    if (hour12 == 0)
        hour12 = 12;
    return QString::asprintf("%02d%02d%02d%02d%02d", date.month(), date.day(), hour12,
                             time.minute(), time.second());
}

bool taken(const QString& path) {
    // A dangling link or a folder takes the name as much as a file does.
    return QFileInfo(path).exists() || QFileInfo(path).isSymLink();
}
} // namespace

QString RecordingName::forTime(const QDateTime& localTime) {
    return QStringLiteral("Recording %1.mov").arg(stamp(localTime));
}

QString RecordingName::pathForNewRecording(const QString& folder, const QDateTime& localTime) {
    const QString base = folder + QLatin1Char('/') + forTime(localTime);
    if (!taken(base))
        return base;
    for (int n = 2;; ++n) {
        const QString candidate =
            folder + QStringLiteral("/Recording %1-%2.mov").arg(stamp(localTime)).arg(n);
        if (!taken(candidate)) {
            bvLog(QStringLiteral("%1 exists; recording to %2 instead")
                      .arg(QFileInfo(base).fileName(), QFileInfo(candidate).fileName()));
            return candidate;
        }
    }
}
