// Choosing the input by the name people know it by, through the real executable in the rig: a
// microphone of the sound server's own, fed with a known signal.
#include "BrevoirProcess.h"

#include "support/TestEnvironment.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {
constexpr int kBytesPerSecond = 44100 * 4;

QString pactl(const QStringList& arguments) {
    QProcess process;
    process.start("pactl", arguments);
    process.waitForFinished(10000);
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

// A source of the server's with a description, as a USB microphone would be: a remapped copy of
// a null sink's monitor, into which the test plays its signal.
class TestMicrophone {
public:
    TestMicrophone(const QString& description, const QString& signalFile)
        : name(QStringLiteral("brevoir_test_mic_%1").arg(QCoreApplication::applicationPid())) {
        _modules << pactl({"load-module", "module-null-sink", "sink_name=" + name + "_feed",
                           "rate=44100", "channels=2", "format=s16le"});
        _modules << pactl({"load-module", "module-remap-source", "master=" + name + "_feed.monitor",
                           "source_name=" + name,
                           "source_properties='device.description=\"" + description + "\"'"});
        _player.start("pacat",
                      {"--latency-msec=50", "--playback", "--device=" + name + "_feed",
                       "--format=s16le", "--rate=44100", "--channels=2", "--raw", signalFile});
        _player.waitForStarted();
    }
    ~TestMicrophone() {
        _player.kill();
        _player.waitForFinished();
        for (auto it = _modules.crbegin(); it != _modules.crend(); ++it)
            pactl({"unload-module", *it});
    }
    bool loaded() const { return _modules.size() == 2 && !_modules.contains(QString()); }

    const QString name;

private:
    QStringList _modules;
    QProcess _player;
};
} // namespace

TEST(InputProcess, AMicrophoneIsListedAndRecordedByItsDescription) {
    REQUIRE_AUDIO_RIG();
    const QByteArray signal = makeTestSignal(44100 * 60);
    TestMicrophone microphone("Studio Mic Analog Stereo", writeSignalFile("mic.raw", signal));
    ASSERT_TRUE(microphone.loaded());
    BrevoirProcess brevoir(writeSecondOfSignal("quiet.raw"));

    // The server's default input first, the microphones by description, the monitors of the
    // outputs after them, the devices last.
    QString out;
    ASSERT_EQ(brevoir.client({"--list-input-devices"}, &out), 0);
    const QStringList lines = out.split('\n', Qt::SkipEmptyParts);
    const auto kindOf = [](const QString& line) { return line.section('\t', 2, 2); };
    ASSERT_GE(lines.size(), 4) << out.toStdString();
    EXPECT_EQ(lines[0], "Null Input\tbrevoir_source\tdefault");
    const qsizetype mic = lines.indexOf("Studio Mic Analog Stereo\t" + microphone.name + "\tinput");
    const qsizetype monitor =
        lines.indexOf(QRegularExpression("^Monitor of .*\t" + microphone.name +
                                         "_feed.monitor\t"
                                         "monitor$"));
    const qsizetype device =
        lines.indexOf(QRegularExpression(".*\t" + TestEnvironment::capturePcm() + "\tdevice$"));
    EXPECT_GT(mic, 0) << out.toStdString();
    EXPECT_GT(monitor, mic) << out.toStdString();
    EXPECT_GT(device, monitor) << out.toStdString();
    for (qsizetype i = 1; i < lines.size(); ++i)
        EXPECT_FALSE(kindOf(lines[i - 1]) == "device" && kindOf(lines[i]) != "device")
            << out.toStdString();

    // Named as people read it, it records what the microphone hears.
    ASSERT_TRUE(brevoir.startHeadless({"--input-device", "Studio Mic Analog Stereo"}));
    ASSERT_EQ(brevoir.client({"--start"}), 0);
    ASSERT_TRUE(BrevoirProcess::waitUntil(
        [&] {
            const QStringList files = brevoir.recordings();
            return files.size() == 1 &&
                   QFileInfo(brevoir.recordingsFolder() + "/" + files[0]).size() >
                       4 * kBytesPerSecond;
        },
        15000))
        << brevoir.log().toStdString();
    ASSERT_EQ(brevoir.client({"--stop"}), 0);

    // Its gain is its volume on the server, which the mixer (pactl) shows.
    QString err;
    ASSERT_EQ(brevoir.client({"--input-gain", "50"}, &out, &err), 0) << err.toStdString();
    EXPECT_TRUE(pactl({"get-source-volume", microphone.name}).contains(" 50% "))
        << pactl({"get-source-volume", microphone.name}).toStdString();
    EXPECT_EQ(brevoir.client({"--input-gain", "151"}, &out, &err), 1);
    EXPECT_TRUE(err.contains("150")) << err.toStdString();
    EXPECT_EQ(brevoir.client({"--input-gain", "loud"}, &out, &err), 2);
    EXPECT_TRUE(pactl({"get-source-volume", microphone.name}).contains(" 50% "));
    ASSERT_EQ(brevoir.client({"--quit"}), 0);
    EXPECT_EQ(brevoir.waitForExit(), 0);
    const QByteArray decoded =
        decodeWithFfmpeg(brevoir.recordingsFolder() + "/" + brevoir.recordings().value(0));
    ASSERT_GT(decoded.size(), 2 * kBytesPerSecond);
    // The sink that feeds it starts when the source is first read; from then on the recording
    // is the signal, sample for sample.
    qsizetype firstSound = 0;
    while (firstSound < decoded.size() && decoded[firstSound] == 0)
        ++firstSound;
    firstSound &= ~qsizetype(3);
    ASSERT_GT(decoded.size() - firstSound, kBytesPerSecond) << "non-zero from " << firstSound;
    EXPECT_GE(findRun(signal, decoded.mid(firstSound, kBytesPerSecond)), 0);
}

TEST(InputProcess, TheGainOfAnInputTheServerDoesNotCarryIsRefused) {
    REQUIRE_AUDIO_RIG();
    // The rig's capture device is ALSA's own: no volume on the server to set.
    BrevoirProcess brevoir(writeSecondOfSignal("quiet.raw"));
    ASSERT_TRUE(brevoir.startHeadless());
    QString out;
    QString err;
    EXPECT_EQ(brevoir.client({"--input-gain", "80"}, &out, &err), 1);
    EXPECT_FALSE(err.trimmed().isEmpty());
    ASSERT_EQ(brevoir.client({"--quit"}), 0);
    EXPECT_EQ(brevoir.waitForExit(), 0);
    // With nothing running there is nothing to set.
    EXPECT_EQ(brevoir.client({"--input-gain", "80"}, &out, &err), 1);
}

TEST(InputProcess, AnUnknownInputIsRefusedWithTheSourcesListed) {
    REQUIRE_AUDIO_RIG();
    BrevoirProcess brevoir(writeSecondOfSignal("quiet.raw"));
    QString out;
    QString err;
    EXPECT_EQ(brevoir.client({"--headless", "--input-device", "Nothing Like It"}, &out, &err), 2);
    EXPECT_TRUE(err.contains("no input device named \"Nothing Like It\"")) << err.toStdString();
    EXPECT_TRUE(err.contains("  Null Input\tbrevoir_source\tdefault\n")) << err.toStdString();
}
