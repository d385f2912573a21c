#include "platform/audio/LevelMeter.h"
#include "platform/audio/SequenceGrabber.h"
#include "platform/audio/SoundSettingsDialog.h"
#include "platform/audio/SpscRing.h"
#include "support/TestEnvironment.h"

#include <QComboBox>
#include <QLabel>
#include <QSlider>

#include <gtest/gtest.h>

#include <thread>

TEST(SpscRing, WrapsAroundAndKeepsOrderAcrossThreads) {
    SpscRing<int32_t> ring(1000);
    ASSERT_EQ(ring.capacity(), 1024u);
    constexpr int32_t kTotal = 2'000'000;
    std::thread producer([&] {
        int32_t next = 0;
        int32_t block[37];
        while (next < kTotal) {
            const int n = std::min<int32_t>(37, kTotal - next);
            for (int i = 0; i < n; ++i)
                block[i] = next + i;
            if (ring.push(block, size_t(n)))
                next += n;
            else
                std::this_thread::yield();
        }
    });
    int32_t expected = 0;
    bool inOrder = true;
    int32_t out[100];
    while (expected < kTotal) {
        const size_t n = ring.pop(out, 100);
        for (size_t i = 0; i < n; ++i)
            inOrder = inOrder && out[i] == expected++;
        if (n == 0)
            std::this_thread::yield();
    }
    producer.join();
    EXPECT_TRUE(inOrder);
    EXPECT_EQ(ring.writePosition(), uint64_t(kTotal));
    EXPECT_EQ(ring.readPosition(), uint64_t(kTotal));
}

TEST(SpscRing, DropsWholeBlocksThatDoNotFitAndCountsThem) {
    SpscRing<int16_t> ring(8);
    const int16_t a[6] = {1, 2, 3, 4, 5, 6};
    EXPECT_TRUE(ring.push(a, 6));
    EXPECT_FALSE(ring.push(a, 3)); // 2 free: nothing of it goes in
    EXPECT_EQ(ring.overruns(), 1u);
    EXPECT_EQ(ring.lostElements(), 3u);
    EXPECT_EQ(ring.readableCount(), 6u);
    int16_t out[8];
    EXPECT_EQ(ring.pop(out, 4), 4u);
    EXPECT_TRUE(ring.push(a, 6)); // wraps around the end
    const auto [data, count] = ring.readable();
    EXPECT_EQ(count, 4u); // contiguous up to the end of the buffer
    EXPECT_EQ(data[0], 5);
    ring.discardTo(ring.writePosition() - 2);
    EXPECT_EQ(ring.pop(out, 8), 2u);
    EXPECT_EQ(out[0], 5);
    EXPECT_EQ(out[1], 6);
    EXPECT_EQ(ring.overruns(), 1u);
}

TEST(LevelMeter, MapsDecibelsLinearlyOntoTheMeterWidth) {
    EXPECT_EQ(LevelMeter::levelForPeak(1.0), 98);
    EXPECT_EQ(LevelMeter::levelForPeak(2.0), 98);
    EXPECT_EQ(LevelMeter::levelForPeak(0.001), 0); // -60 dBFS
    EXPECT_EQ(LevelMeter::levelForPeak(0.0), 0);
    EXPECT_EQ(LevelMeter::levelForPeak(0.0316228), 49); // -30 dBFS
    EXPECT_EQ(LevelMeter::levelForPeak(0.5), 88);       // -6 dBFS

    // A falling level decays at a steady rate instead of dropping to nothing between reads.
    using namespace std::chrono;
    LevelMeter::Channel meter;
    const steady_clock::time_point t0{seconds(100)};
    EXPECT_EQ(meter.update(1.0, t0), 98);
    EXPECT_EQ(meter.update(0.0, t0 + milliseconds(1)), 98);
    EXPECT_EQ(meter.update(0.0, t0 + milliseconds(500)), 82); // 10 dB down
    EXPECT_EQ(meter.update(0.5, t0 + milliseconds(510)), 88);
    EXPECT_EQ(meter.update(0.0, t0 + seconds(10)), 0);
}

TEST(ChannelSettingsBytes, RoundTripAndRefuseWhatWeDidNotWrite) {
    ChannelSettings s;
    s.inputDevice = QStringLiteral("USB Mikrofon «Studio»");
    s.sampleRate = 22050;
    s.channels = 1;
    s.compression = ChannelSettings::Compression::Ima4;
    s.monitorVolume = 0;
    QByteArray bytes;
    ASSERT_EQ(PutUserDataIntoHandle(s, &bytes), GrabberErr::noErr);
    ChannelSettings back;
    ASSERT_EQ(NewUserDataFromHandle(bytes, &back), GrabberErr::noErr);
    EXPECT_EQ(back, s);

    ChannelSettings untouched;
    untouched.sampleRate = 48000;
    const ChannelSettings original = untouched;
    auto refused = [&](const QByteArray& b) {
        return NewUserDataFromHandle(b, &untouched) == GrabberErr::badSettings &&
               untouched == original;
    };
    QByteArray magic = bytes;
    magic[0] = 'X';
    QByteArray version = bytes;
    version[5] = 2;
    QByteArray payload = bytes;
    payload[12] = char(payload[12] ^ 0x40);
    QByteArray checksum = bytes;
    checksum[checksum.size() - 1] = char(checksum[checksum.size() - 1] ^ 1);
    EXPECT_TRUE(refused(magic));
    EXPECT_TRUE(refused(version));
    EXPECT_TRUE(refused(payload));
    EXPECT_TRUE(refused(checksum));
    EXPECT_TRUE(refused(bytes.left(bytes.size() - 1)));
    EXPECT_TRUE(refused(bytes + 'x'));
    EXPECT_TRUE(refused(QByteArray()));
    EXPECT_TRUE(refused(QByteArray("bplist00\x01\x02\x03 some other program's settings")));

    // Settings that make no sense are neither written nor read.
    ChannelSettings bad = s;
    bad.sampleBits = 24; // IMA codes 16-bit samples
    EXPECT_EQ(PutUserDataIntoHandle(bad, &bytes), GrabberErr::paramErr);
}

TEST(SoundSettingsDialog, MapsSettingsToControlsAndBack) {
    SoundSettingsDialog dialog;
    dialog.setDevices(QStringList{"pulse", "USB Mic"});
    dialog.setRateSource([](const QString& device) {
        return device == "USB Mic" ? QList<int>{8000, 16000, 48000}
                                   : QList<int>{8000, 11025, 22050, 44100, 48000};
    });
    ChannelSettings s;
    s.inputDevice = "USB Mic";
    s.sampleRate = 16000;
    s.channels = 1;
    s.sampleBits = 24;
    s.monitorVolume = 64;
    dialog.setSettings(s);
    auto* device = dialog.findChild<QComboBox*>("inputDevice");
    auto* rate = dialog.findChild<QComboBox*>("sampleRate");
    auto* compression = dialog.findChild<QComboBox*>("compression");
    auto* sampleSize = dialog.findChild<QComboBox*>("sampleSize");
    auto* monitor = dialog.findChild<QSlider*>("monitorVolume");
    auto* monitorText = dialog.findChild<QLabel*>("monitorVolumeText");
    ASSERT_TRUE(device && rate && compression && sampleSize && monitor && monitorText);
    EXPECT_EQ(device->currentText(), "USB Mic");
    EXPECT_EQ(rate->count(), 3);
    EXPECT_EQ(rate->currentData().toInt(), 16000);
    EXPECT_EQ(monitorText->text(), "25 %");
    EXPECT_EQ(dialog.settings(), s);

    // Another device offers other rates; the nearest to the chosen one is kept.
    device->setCurrentIndex(device->findText("pulse"));
    EXPECT_EQ(rate->count(), 5);
    EXPECT_EQ(rate->currentData().toInt(), 11025);
    // IMA needs 16-bit samples; the monitor can be switched off.
    compression->setCurrentIndex(compression->findData(1));
    EXPECT_FALSE(sampleSize->isEnabled());
    monitor->setValue(0);
    EXPECT_EQ(monitorText->text(), "Off");
    const ChannelSettings chosen = dialog.settings();
    EXPECT_EQ(chosen.inputDevice, "pulse");
    EXPECT_EQ(chosen.sampleBits, 16);
    EXPECT_EQ(chosen.compression, ChannelSettings::Compression::Ima4);
    EXPECT_EQ(chosen.monitorVolume, 0);
    EXPECT_TRUE(chosen.isValid());

    // The default input is the empty name; a device that is gone stays selectable.
    s.inputDevice = "Headset (unplugged)";
    dialog.setSettings(s);
    EXPECT_EQ(dialog.settings().inputDevice, "Headset (unplugged)");
    device->setCurrentIndex(0);
    EXPECT_EQ(dialog.settings().inputDevice, QString());
}

TEST(Grabber, AnswersCodesForRequestsOutOfTurn) {
    auto grabber = OpenDefaultGrabber();
    ASSERT_TRUE(grabber);
    int16_t count = 0;
    EXPECT_EQ(grabber->newSoundChannel(), GrabberErr::badComponent);
    EXPECT_EQ(grabber->startRecord(), GrabberErr::badComponent);
    EXPECT_EQ(grabber->getChannelCount(&count), GrabberErr::badComponent);
    EXPECT_FALSE(grabber->hasInputDriver());
    ASSERT_EQ(grabber->initialize(), GrabberErr::noErr);
    EXPECT_EQ(grabber->startPreview(), GrabberErr::noChannel);
    REQUIRE_OR_SKIP_OUTSIDE_RIG(grabber->newSoundChannel() == GrabberErr::noErr, "an input device");
    EXPECT_TRUE(grabber->hasInputDriver());
    EXPECT_EQ(grabber->startRecord(), GrabberErr::noDataOutput);
    EXPECT_EQ(grabber->setChannelUsage(8), GrabberErr::paramErr);
    EXPECT_EQ(grabber->setChannelVolume(-1), GrabberErr::paramErr);
    EXPECT_EQ(grabber->setAdditionalSoundRates(QByteArray(7, '\0')), GrabberErr::paramErr);
    EXPECT_EQ(grabber->pause(true), GrabberErr::wrongState);
    EXPECT_EQ(grabber->stop(), GrabberErr::noErr);
    ChannelSettings s;
    s.channels = 3;
    EXPECT_EQ(grabber->setChannelSettings(s), GrabberErr::paramErr);
    s.channels = 1;
    ASSERT_EQ(grabber->setChannelSettings(s), GrabberErr::noErr);
    ASSERT_EQ(grabber->getChannelCount(&count), GrabberErr::noErr);
    EXPECT_EQ(count, 1);
    ChannelSettings back;
    ASSERT_EQ(grabber->getChannelSettings(&back), GrabberErr::noErr);
    EXPECT_EQ(back, s);
    grabber->disposeChannel();
    EXPECT_FALSE(grabber->hasInputDriver());
}
