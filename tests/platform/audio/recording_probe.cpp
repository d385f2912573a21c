// A separate recording process for the tests that kill a recording or starve it of disk
// space: it records from an input device into a movie file through the grabber, the way the
// recorder drives it, and reports on stdout:
//   started
//   captured FRAMES written FRAMES        (every 100 ms)
//   stopped RESULT                        (the answer of stop())
//   health overruns=N error=CODE text=REASON
// Usage: brevoir_recording_probe --output PATH [--device NAME] [--seconds S] [--rate HZ]
//        [--channels N] [--codec sowt|in24|ima4] [--file-size-limit BYTES]
#include "platform/audio/SequenceGrabber.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <sys/resource.h>

namespace {
void say(const QString& line) {
    std::fputs(qPrintable(line + '\n'), stdout);
    std::fflush(stdout);
}

int failed(const char* step, OSErr e) {
    say(QStringLiteral("failed %1 %2").arg(QLatin1String(step)).arg(e));
    return 2;
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption output("output", "movie file", "path");
    const QCommandLineOption device("device", "input device", "name");
    const QCommandLineOption seconds("seconds", "length", "seconds", "5");
    const QCommandLineOption rate("rate", "sample rate", "hz", "44100");
    const QCommandLineOption channels("channels", "channels", "n", "2");
    const QCommandLineOption codec("codec", "sowt, in24 or ima4", "codec", "sowt");
    const QCommandLineOption sizeLimit("file-size-limit", "RLIMIT_FSIZE", "bytes");
    parser.addOptions({output, device, seconds, rate, channels, codec, sizeLimit});
    parser.process(app);

    if (parser.isSet(sizeLimit)) {
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = rlim_t(parser.value(sizeLimit).toULongLong());
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
            return failed("setrlimit", -1);
    }

    auto grabber = OpenDefaultGrabber();
    if (OSErr e = grabber->initialize())
        return failed("initialize", e);
    if (OSErr e = grabber->newSoundChannel())
        return failed("newSoundChannel", e);
    grabber->setChannelUsage(kSeqGrabRecordAndPreview);
    grabber->setChannelVolume(16);
    ChannelSettings settings;
    settings.inputDevice = parser.value(device);
    settings.sampleRate = parser.value(rate).toInt();
    settings.channels = parser.value(channels).toInt();
    if (parser.value(codec) == "ima4")
        settings.compression = ChannelSettings::Compression::Ima4;
    else if (parser.value(codec) == "in24")
        settings.sampleBits = 24;
    if (OSErr e = grabber->setChannelSettings(settings))
        return failed("setChannelSettings", e);
    const QString path = parser.value(output);
    if (OSErr e = grabber->setDataOutput(path, kSeqGrabToDisk))
        return failed("setDataOutput", e);
    if (OSErr e = grabber->createMovieFile(path, kMovieCreator, -1, kCreateMovieFileFlags))
        return failed("createMovieFile", e);
    grabber->setMaximumRecordTime(0);
    if (OSErr e = grabber->startRecord())
        return failed("startRecord", e);
    say("started");

    bool done = false;
    auto finish = [&] {
        if (done)
            return;
        done = true;
        say(QStringLiteral("stopped %1").arg(grabber->stop()));
        const CaptureHealth h = grabber->health();
        say(QStringLiteral("health overruns=%1 error=%2 text=%3")
                .arg(h.overruns)
                .arg(h.writeError)
                .arg(h.writeErrorText));
        app.quit();
    };
    QTimer idle;
    idle.callOnTimeout([&] {
        if (!done && grabber->idle() != GrabberErr::noErr)
            finish(); // a failed recording ends at once
    });
    idle.start(10);
    QTimer report;
    report.callOnTimeout([&] {
        const CaptureHealth h = grabber->health();
        if (!done)
            say(QStringLiteral("captured %1 written %2")
                    .arg(h.framesCaptured)
                    .arg(h.framesWritten));
    });
    report.start(100);
    QTimer::singleShot(int(parser.value(seconds).toDouble() * 1000), finish);
    app.exec();
    grabber.reset();
    return 0;
}
