#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

#include <cmath>

// Real sound files made by the ffmpeg command, and ffprobe's reading of them.
namespace MediaFiles {

// A sine tone of the given length; codecArgs choose the encoder ("-c:a", "aac", ...).
inline bool makeTone(const QString& path, int rate, int channels, double seconds,
                     const QStringList& codecArgs) {
    QProcess ffmpeg;
    QStringList args{QStringLiteral("-v"),
                     QStringLiteral("error"),
                     QStringLiteral("-y"),
                     QStringLiteral("-f"),
                     QStringLiteral("lavfi"),
                     QStringLiteral("-i"),
                     QStringLiteral("sine=frequency=440:sample_rate=%1:duration=%2")
                         .arg(rate)
                         .arg(seconds, 0, 'f', 3),
                     QStringLiteral("-ac"),
                     QString::number(channels)};
    args << codecArgs << path;
    ffmpeg.start(QStringLiteral("ffmpeg"), args);
    return ffmpeg.waitForFinished(60000) && ffmpeg.exitStatus() == QProcess::NormalExit &&
           ffmpeg.exitCode() == 0;
}

// `ffprobe -v error -show_entries format=duration -of csv=p=0 PATH`; NaN when it has none.
inline double probeDuration(const QString& path) {
    QProcess ffprobe;
    ffprobe.start(QStringLiteral("ffprobe"),
                  {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-show_entries"),
                   QStringLiteral("format=duration"), QStringLiteral("-of"),
                   QStringLiteral("csv=p=0"), path});
    if (!ffprobe.waitForFinished(60000) || ffprobe.exitCode() != 0)
        return std::nan("");
    bool ok = false;
    const double seconds =
        QString::fromLatin1(ffprobe.readAllStandardOutput()).trimmed().toDouble(&ok);
    return ok ? seconds : std::nan("");
}

} // namespace MediaFiles
