#pragma once

#include "platform/audio/PortAudioLibrary.h"
#include "support/TestEnvironment.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <portaudio.h>

#include <algorithm>
#include <atomic>
#include <functional>

namespace PlaybackTestSupport {

// A sine tone made by the ffmpeg command; the default options give a recording like ours
// (QuickTime, 16-bit PCM, 44.1 kHz stereo).
inline bool makeSound(const QString& path, double seconds,
                      const QStringList& encoding = {"-ar", "44100", "-ac", "2", "-c:a",
                                                     "pcm_s16le"},
                      int frequency = 440) {
    QStringList arguments{
        "-nostdin", "-loglevel",
        "error",    "-y",
        "-f",       "lavfi",
        "-i",       QStringLiteral("sine=frequency=%1:duration=%2").arg(frequency).arg(seconds)};
    arguments << encoding << path;
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"), arguments);
    return ffmpeg.waitForFinished(60000) && ffmpeg.exitStatus() == QProcess::NormalExit &&
           ffmpeg.exitCode() == 0;
}

// Runs the event loop, checking the condition every few milliseconds, until it holds or the
// deadline passes; answers whether it held. For waiting on real-time playback.
inline bool waitUntil(const std::function<bool()>& condition, int timeoutMilliseconds,
                      int checkMilliseconds = 5) {
    if (condition())
        return true;
    QEventLoop loop;
    QDeadlineTimer deadline(timeoutMilliseconds, Qt::PreciseTimer);
    bool held = false;
    QTimer check;
    check.setTimerType(Qt::PreciseTimer);
    check.setInterval(checkMilliseconds);
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        held = condition();
        if (held || deadline.hasExpired())
            loop.quit();
    });
    check.start();
    loop.exec();
    return held;
}

// A freshly started sound server holds back the first stream it is given for a second or two
// before it settles into real time. Timing tests wait for that here, once per process, with
// a silent stream of their own, so that they measure playback and not the server's start.
inline void settleAudioOutput() {
    static bool settled = false;
    if (settled || !TestEnvironment::hasAudioRig())
        return;
    settled = true;
    PortAudioLibrary::Session session;
    PaStreamParameters output{};
    output.device = Pa_GetDefaultOutputDevice();
    if (!session.ok() || output.device < 0)
        return;
    output.channelCount = 2;
    output.sampleFormat = paFloat32;
    output.suggestedLatency = 0.1;
    std::atomic<long> played{0};
    PaStream* stream = nullptr;
    auto silence = [](const void*, void* out, unsigned long frames, const PaStreamCallbackTimeInfo*,
                      PaStreamCallbackFlags, void* counter) {
        std::fill_n(static_cast<float*>(out), frames * 2, 0.0f);
        static_cast<std::atomic<long>*>(counter)->fetch_add(long(frames));
        return int(paContinue);
    };
    if (Pa_OpenStream(&stream, nullptr, &output, 44100, paFramesPerBufferUnspecified, paNoFlag,
                      silence, &played) != paNoError)
        return;
    if (Pa_StartStream(stream) == paNoError)
        waitUntil([&] { return played.load() >= 44100 / 2; }, 10000);
    Pa_AbortStream(stream);
    Pa_CloseStream(stream);
}

} // namespace PlaybackTestSupport
