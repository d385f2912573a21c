#include "platform/audio/CaptureTestTools.h"

#include "platform/movie/MovieTestTools.h"
#include "support/TestEnvironment.h"

#include <QElapsedTimer>
#include <QTest>
#include <QUuid>

#include <cstring>

namespace CaptureTestTools {

std::vector<int16_t> feed(int seconds, int rate, int channels, uint32_t seed) {
    auto samples = MovieTestTools::noise16(size_t(seconds) * size_t(rate) * size_t(channels), seed);
    const QString path =
        TestEnvironment::root() + "/fed-" + QUuid::createUuid().toString(QUuid::Id128) + ".raw";
    MovieTestTools::writeFile(path, MovieTestTools::toBytes(samples));
    qputenv("BREVOIR_TEST_CAPTURE_FILE", path.toLocal8Bit());
    return samples;
}

QByteArray additionalRates() {
    QByteArray block(20, '\0');
    const uint32_t rates[5] = {8000u << 16, 11025u << 16, 16000u << 16, 22050u << 16, 32000u << 16};
    std::memcpy(block.data(), rates, sizeof rates);
    return block;
}

std::unique_ptr<SequenceGrabber> rigGrabber(ChannelSettings settings, const QString& device) {
    auto grabber = OpenDefaultGrabber();
    if (grabber->initialize() || grabber->newSoundChannel() || grabber->setChannelUsage(3) ||
        grabber->setChannelVolume(16) || grabber->setAdditionalSoundRates(additionalRates()))
        return nullptr;
    settings.inputDevice = device.isEmpty() ? TestEnvironment::capturePcm() : device;
    settings.monitorVolume = 16;
    if (grabber->setChannelSettings(settings) || grabber->setLevelMetering(true))
        return nullptr;
    return grabber;
}

bool idleUntil(SequenceGrabber& grabber, const std::function<bool()>& done, int timeoutMs,
               OSErr* idleResult) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        const OSErr e = grabber.idle();
        if (e && idleResult && !*idleResult)
            *idleResult = e;
        if (clock.elapsed() > timeoutMs)
            return false;
        QTest::qWait(5);
    }
    return true;
}

OSErr startRecording(SequenceGrabber& grabber, const QString& path) {
    if (OSErr e = grabber.setDataOutput(path, kSeqGrabToDisk))
        return e;
    if (OSErr e = grabber.createMovieFile(path, kMovieCreator, -1, kCreateMovieFileFlags))
        return e;
    if (OSErr e = grabber.setMaximumRecordTime(0))
        return e;
    return grabber.startRecord();
}

bool waitUntil(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QTest::qWait(10);
    }
    return true;
}

} // namespace CaptureTestTools
