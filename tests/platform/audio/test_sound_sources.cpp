// The sound server's sources as people know them, their gain (on the server and in the sound
// settings), and the deadline every wait for the server has; and the level blocks the history is
// drawn from.
#include "platform/audio/CaptureStream.h"
#include "platform/audio/LevelBlocks.h"
#include "platform/audio/SoundServerConnection.h"
#include "platform/audio/SoundSettingsDialog.h"
#include "platform/audio/SoundSources.h"
#include "support/TestEnvironment.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHash>
#include <QProcess>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {
QString pactl(const QStringList& arguments) {
    QProcess process;
    process.start("pactl", arguments);
    process.waitForFinished(10000);
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

// A socket that is listened on and never answered: the kernel takes the connection, nobody talks.
class StalledServer {
public:
    explicit StalledServer(const QString& path) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray bytes = path.toLocal8Bit();
        std::strncpy(address.sun_path, bytes.constData(), sizeof address.sun_path - 1);
        _fd = socket(AF_UNIX, SOCK_STREAM, 0);
        _listening = _fd >= 0 &&
                     bind(_fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
                     listen(_fd, 4) == 0;
    }
    ~StalledServer() {
        if (_fd >= 0)
            close(_fd);
    }
    bool listening() const { return _listening; }

private:
    int _fd = -1;
    bool _listening = false;
};

// Points the client library at another server for the test's length.
class ServerAddress {
public:
    explicit ServerAddress(const QString& address) : _before(qgetenv("PULSE_SERVER")) {
        qputenv("PULSE_SERVER", address.toLocal8Bit());
    }
    ~ServerAddress() { qputenv("PULSE_SERVER", _before); }

private:
    QByteArray _before;
};
} // namespace

TEST(LevelBlocks, MeasureSilenceToneAndClipInFiftyMillisecondBlocks) {
    struct Case {
        const char* what;
        bool wide;
        int32_t amplitude; // of a square wave, in the sample's own scale
        float peak;
        float rms;
        bool clipped;
    };
    const Case cases[] = {
        {"silence", false, 0, 0.0f, 0.0f, false},
        {"half scale", false, 16384, 0.5f, 0.5f, false},
        {"16-bit full scale", false, 32767, 32767.0f / 32768, 32767.0f / 32768, true},
        {"24-bit just below full", true, 8388606, 8388606.0f / 8388608, 8388606.0f / 8388608,
         false},
        {"24-bit full scale", true, 8388607, 8388607.0f / 8388608, 8388607.0f / 8388608, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LevelBlockMeter meter;
        meter.configure(8000, 2, c.wide);
        // Left-justified, as the capture code hands them over, in pieces of odd sizes.
        const int shift = c.wide ? 8 : 16;
        std::vector<int32_t> samples(2 * 1000);
        for (size_t i = 0; i < samples.size(); ++i)
            samples[i] = ((i / 2) % 2 ? -c.amplitude : c.amplitude) * (1 << shift);
        std::vector<LevelBlock> blocks;
        for (size_t done = 0; done < 1000;) {
            const size_t n = std::min<size_t>(137, 1000 - done);
            meter.add(samples.data() + done * 2, n,
                      [&](const LevelBlock& b) { blocks.push_back(b); });
            done += n;
        }
        // 400 frames a block at 8 kHz: two whole blocks, the rest waits for more.
        ASSERT_EQ(blocks.size(), 2u);
        for (const LevelBlock& b : blocks) {
            EXPECT_NEAR(b.peak, c.peak, 1e-6);
            EXPECT_NEAR(b.rms, c.rms, 1e-6);
            EXPECT_EQ(b.clipped, c.clipped);
        }
    }
}

TEST(SoundServerConnection, AServerThatTakesTheSocketAndStallsCostsOnlyTheDeadline) {
    const QString path = TestEnvironment::root() + "/stalled-server";
    const StalledServer stalled(path);
    ASSERT_TRUE(stalled.listening());
    const ServerAddress address("unix:" + path);
    SoundServerConnection::setDeadlineForTesting(std::chrono::milliseconds(300));
    QElapsedTimer clock;
    clock.start();
    SoundServerConnection::Failure failure;
    EXPECT_FALSE(SoundServerConnection::open("test", "test-loop", &failure));
    EXPECT_TRUE(failure.timedOut);
    EXPECT_TRUE(failure.reason.contains("did not answer")) << failure.reason.toStdString();

    // Recording from a source of that server gives up as quickly, with the reason.
    CaptureConfig config;
    config.source = QStringLiteral("alsa_input.usb-mic");
    QString error;
    EXPECT_FALSE(CaptureStream::open(config, &error));
    EXPECT_TRUE(error.contains("did not answer")) << error.toStdString();
    EXPECT_LT(clock.elapsed(), 2000);
    SoundServerConnection::setDeadlineForTesting(std::chrono::milliseconds(0));

    // Nobody there at all is told apart.
    const ServerAddress nowhere("unix:" + TestEnvironment::root() + "/no-server-here");
    EXPECT_FALSE(SoundServerConnection::open("test", "test-loop", &failure));
    EXPECT_TRUE(failure.noServer);
    EXPECT_FALSE(failure.timedOut);
}

TEST(SoundSources, ListsByDescriptionFollowsChangesAndSetsTheGainTheServerReports) {
    REQUIRE_AUDIO_RIG();
    SoundSources sources;
    ASSERT_TRUE(sources.available()) << sources.unavailableReason().toStdString();
    const QList<SoundSources::Source> before = sources.sources();
    ASSERT_FALSE(before.isEmpty());
    EXPECT_EQ(before.first().name, "brevoir_source");
    EXPECT_EQ(before.first().description, "Null Input");
    EXPECT_EQ(sources.defaultSourceName(), "brevoir_source");

    // A microphone plugged in while we watch.
    QSignalSpy changed(&sources, &SoundSources::sourcesChanged);
    const QString name = QStringLiteral("brevoir_mic_%1").arg(QCoreApplication::applicationPid());
    // As a webcam's microphone is: a source with a description (fed by a sink of its own).
    const QString feed = pactl({"load-module", "module-null-sink", "sink_name=" + name + "_feed"});
    const QString module =
        pactl({"load-module", "module-remap-source", "master=" + name + "_feed.monitor",
               "source_name=" + name, "source_properties='device.description=\"Webcam C920 Mono\"'",
               "channels=1", "channel_map=mono"});
    ASSERT_FALSE(module.isEmpty());
    const auto listed = [&] { return sources.find("Webcam C920 Mono").has_value(); };
    EXPECT_TRUE(QTest::qWaitFor(listed, 5000));
    EXPECT_GE(changed.count(), 1);
    const QList<SoundSources::Source> all = sources.sources();
    // Inputs before monitors; the monitor says whose it is.
    qsizetype firstMonitor = all.size();
    for (qsizetype i = 0; i < all.size(); ++i)
        if (all[i].isMonitor && firstMonitor == all.size())
            firstMonitor = i;
    for (qsizetype i = firstMonitor; i < all.size(); ++i)
        EXPECT_TRUE(all[i].isMonitor);
    ASSERT_LT(firstMonitor, all.size());
    EXPECT_FALSE(all[firstMonitor].monitorOf.isEmpty());
    const auto mic = sources.find("Webcam C920 Mono");
    ASSERT_TRUE(mic);
    EXPECT_EQ(mic->name, name);
    EXPECT_EQ(mic->channels, 1);

    // The gain is the server's volume: the mixer (pactl) agrees.
    QString error;
    ASSERT_TRUE(sources.setGain(name, 0.5, &error)) << error.toStdString();
    EXPECT_TRUE(pactl({"get-source-volume", name}).contains(" 50% "))
        << pactl({"get-source-volume", name}).toStdString();
    EXPECT_NEAR(sources.find(name)->gain(), 0.5, 0.01);
    pactl({"set-source-volume", name, "120%"});
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return std::abs(sources.find(name)->gain() - 1.2) < 0.01; }, 5000));
    EXPECT_FALSE(sources.setGain("no_such_source", 1.0, &error));

    // Unplugged, it goes from the list.
    pactl({"unload-module", module});
    pactl({"unload-module", feed});
    EXPECT_TRUE(QTest::qWaitFor([&] { return !listed(); }, 5000));
}

TEST(SoundSettingsDialog, ListsSourcesApartSetsGainsAtOnceAndPutsThemBackOnCancel) {
    using Kind = AudioDevices::Input::Kind;
    SoundSettingsDialog dialog;
    dialog.setDevices(QList<AudioDevices::Input>{
        {"hw_card", "hw_card", Kind::Device, false, {}},
        {"out.monitor", "Monitor of Speakers", Kind::Monitor, false, "Speakers"},
        {"usb_mic", "Blue Yeti Analog Stereo", Kind::Source, true, {}},
    });
    QHash<QString, double> gains{{"usb_mic", 0.8}, {"out.monitor", 1.0}};
    QList<std::pair<QString, double>> sets;
    dialog.setGainControl(
        [&](const QString& device) -> std::optional<double> {
            if (!gains.contains(device))
                return std::nullopt;
            return gains.value(device);
        },
        [&](const QString& device, double gain) {
            sets.append({device, gain});
            gains[device] = gain;
            return true;
        });
    auto* device = dialog.findChild<QComboBox*>("inputDevice");
    auto* gain = dialog.findChild<QSlider*>("inputGain");
    ASSERT_TRUE(device && gain);
    // The default input with the sources, then the monitors, then the devices, set apart.
    QStringList shown;
    for (int i = 0; i < device->count(); ++i)
        shown << (device->itemText(i).isEmpty() ? QStringLiteral("|") : device->itemText(i));
    EXPECT_EQ(shown.mid(1),
              (QStringList{"Blue Yeti Analog Stereo", "|", "Monitor of Speakers", "|", "hw_card"}));

    ChannelSettings s;
    s.inputDevice = "usb_mic";
    dialog.setSettings(s);
    EXPECT_TRUE(gain->isEnabled());
    EXPECT_EQ(gain->value(), 80);
    gain->setValue(120); // heard at once, as the mixer would
    EXPECT_DOUBLE_EQ(gains.value("usb_mic"), 1.2);
    // A device of ALSA's own has no gain on the server.
    device->setCurrentIndex(device->findData("hw_card"));
    EXPECT_FALSE(gain->isEnabled());
    device->setCurrentIndex(device->findData("out.monitor"));
    gain->setValue(50);
    dialog.reject();
    // Both put back as they were before the dialog.
    EXPECT_DOUBLE_EQ(gains.value("usb_mic"), 0.8);
    EXPECT_DOUBLE_EQ(gains.value("out.monitor"), 1.0);
}
