// FLAC export of a long recording (16-bit stereo 44.1 kHz) through the real export job, timed
// beside the flac tool encoding the same samples (as a WAV file, at its default level, which
// is FFmpeg's default too). Reports both speeds as multiples of real time.
#include "SpeechLikeRecording.h"
#include "library/RecordingExport.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>
#include <vector>

namespace {

bool run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, arguments);
    return process.waitForFinished(-1) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QCommandLineParser parser;
    parser.addOption({QStringLiteral("minutes"), QStringLiteral("Length of the recording."),
                      QStringLiteral("MINUTES"), QStringLiteral("60")});
    parser.process(application);
    const double seconds = parser.value(QStringLiteral("minutes")).toDouble() * 60;

    QTemporaryDir folder;
    const QString recording = folder.filePath(QStringLiteral("Long.mov"));
    std::printf("writing %.0f minutes of 16-bit stereo 44.1 kHz...\n", seconds / 60);
    if (!writeSpeechLikeRecording(recording, seconds)) {
        std::fprintf(stderr, "could not write the recording\n");
        return 1;
    }

    const auto flac = RecordingExport::formatWithTitle(QStringLiteral("FLAC"));
    if (!flac) {
        std::fprintf(stderr, "FFmpeg has no FLAC encoder\n");
        return 1;
    }
    RecordingExportJob job({{recording, QStringLiteral("Long"), QStringLiteral("bench")}},
                           {folder.path(), QString(), true}, *flac);
    QEventLoop loop;
    QString problem;
    QObject::connect(&job, &RecordingExportJob::finished, &loop,
                     [&](const QStringList&, const QString& why, bool) {
                         problem = why;
                         loop.quit();
                     });
    QElapsedTimer clock;
    clock.start();
    job.start();
    loop.exec();
    const double exportSeconds = clock.nsecsElapsed() / 1e9;
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "export failed: %s\n", qPrintable(problem));
        return 1;
    }
    std::printf("export to FLAC: %.2f s, %.0fx real time\n", exportSeconds,
                seconds / exportSeconds);

    // The same samples for the flac tool, as WAV (not timed).
    const QString wav = folder.filePath(QStringLiteral("Long.wav"));
    if (!run(QStringLiteral("ffmpeg"),
             {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-i"), recording,
              QStringLiteral("-c:a"), QStringLiteral("pcm_s16le"), wav})) {
        std::fprintf(stderr, "ffmpeg could not make the WAV file\n");
        return 1;
    }
    clock.restart();
    if (!run(QStringLiteral("flac"), {QStringLiteral("--silent"), QStringLiteral("--force"),
                                      QStringLiteral("-o"), folder.filePath("tool.flac"), wav})) {
        std::fprintf(stderr, "the flac tool failed (is it installed?)\n");
        return 1;
    }
    const double toolSeconds = clock.nsecsElapsed() / 1e9;
    std::printf("flac tool:      %.2f s, %.0fx real time\n", toolSeconds, seconds / toolSeconds);
    const double speed = seconds / exportSeconds;
    std::printf("%s: export at %.0fx real time (goal: at least 100x)\n",
                speed >= 100 ? "PASS" : "FAIL", speed);
    return speed >= 100 ? 0 : 2;
}
