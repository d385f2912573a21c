// Recording driven from the command line and D-Bus, through the real executable in the rig.
#include "BrevoirProcess.h"

#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <csignal>

namespace {
constexpr int kBytesPerSecond = 44100 * 4;

qint64 sizeOf(const QString& path) {
    return QFileInfo(path).size();
}

// The recordings from oldest to newest.
QStringList byAge(BrevoirProcess& brevoir) {
    QStringList files = brevoir.recordings();
    std::sort(files.begin(), files.end(), [&](const QString& a, const QString& b) {
        return QFileInfo(brevoir.recordingsFolder() + "/" + a).lastModified() <
               QFileInfo(brevoir.recordingsFolder() + "/" + b).lastModified();
    });
    return files;
}

// Waits until there are `count` recordings and the newest holds about `seconds` of sound.
bool waitForSound(BrevoirProcess& brevoir, int count, double seconds) {
    return BrevoirProcess::waitUntil(
        [&] {
            const QStringList files = byAge(brevoir);
            return files.size() == count &&
                   sizeOf(brevoir.recordingsFolder() + "/" + files.last()) >
                       static_cast<qint64>(seconds * kBytesPerSecond);
        },
        15000);
}
} // namespace

TEST(ScriptingProcess, StartSnipStopQuitRecordsTwoGaplessFiles) {
    REQUIRE_AUDIO_RIG();
    const QByteArray signal = makeTestSignal(44100 * 90);
    BrevoirProcess brevoir(writeSignalFile("fed.raw", signal));
    ASSERT_TRUE(brevoir.startHeadless());

    ASSERT_EQ(brevoir.client({"--start"}), 0);
    QString state;
    EXPECT_EQ(brevoir.client({"--status"}, &state), 0);
    EXPECT_EQ(state.section('\n', 0, 0), "recording");
    ASSERT_TRUE(waitForSound(brevoir, 1, 2.0));
    ASSERT_EQ(brevoir.client({"--snip"}), 0);
    EXPECT_EQ(brevoir.client({"--status"}, &state), 0);
    EXPECT_EQ(state.section('\n', 0, 0), "recording");
    ASSERT_TRUE(waitForSound(brevoir, 2, 2.0));
    ASSERT_EQ(brevoir.client({"--stop"}), 0);
    EXPECT_EQ(brevoir.client({"--status"}, &state), 0);
    EXPECT_EQ(state.trimmed(), "idle");
    ASSERT_EQ(brevoir.client({"--quit"}), 0);
    EXPECT_EQ(brevoir.waitForExit(), 0);
    EXPECT_NE(brevoir.client({"--status"}, &state), 0);
    EXPECT_EQ(state.trimmed(), "not running");

    const QStringList files = brevoir.recordings();
    ASSERT_EQ(files.size(), 2) << files.join(", ").toStdString();
    const QRegularExpression form(R"(^Recording \d{10}(-\d+)?\.mov$)");
    for (const QString& name : files)
        EXPECT_TRUE(form.match(name).hasMatch()) << name.toStdString();

    const QStringList ordered = byAge(brevoir);
    const QByteArray first = decodeWithFfmpeg(brevoir.recordingsFolder() + "/" + ordered[0]);
    const QByteArray second = decodeWithFfmpeg(brevoir.recordingsFolder() + "/" + ordered[1]);
    ASSERT_GT(first.size(), kBytesPerSecond);
    ASSERT_GT(second.size(), kBytesPerSecond);
    const qsizetype start = findRun(signal, first + second);
    EXPECT_GE(start, 0) << "the two recordings are not one contiguous run of the input";

    EXPECT_EQ(brevoir.log().count("adding one file to list..."), 2) << brevoir.log().toStdString();
}

TEST(ScriptingProcess, ATimedRecordingIsAsLongAsItsTimerWithOrWithoutTheWindow) {
    REQUIRE_AUDIO_RIG();
    const QByteArray signal = makeTestSignal(44100 * 30);
    // Without a window the poll comes four times a second, with one ten times: neither decides
    // where the file ends.
    for (const bool window : {false, true}) {
        SCOPED_TRACE(window ? "window shown" : "headless");
        BrevoirProcess brevoir(writeSignalFile("fed.raw", signal));
        // The timer the user set last time: 2 s, switched on.
        QDir().mkpath(brevoir.root() + "/config/Brevoir");
        QFile preferences(brevoir.root() + "/config/Brevoir/Brevoir.conf");
        ASSERT_TRUE(preferences.open(QIODevice::WriteOnly));
        preferences.write("[General]\nHourField=0\nMinuteField=0\nSecondField=2\nTimerToggle=1\n");
        preferences.close();
        ASSERT_TRUE(window ? brevoir.startWithWindow() : brevoir.startHeadless());

        ASSERT_EQ(brevoir.client({"--start"}), 0);
        // Watching the log, not asking the instance: a question would compete with its timer.
        ASSERT_TRUE(BrevoirProcess::waitUntil(
            [&] { return brevoir.log().contains("adding one file to list..."); }, 15000))
            << brevoir.log().toStdString();
        const QStringList files = brevoir.recordings();
        ASSERT_EQ(files.size(), 1);
        const QByteArray sound = decodeWithFfmpeg(brevoir.recordingsFolder() + "/" + files[0]);
        EXPECT_NEAR(double(sound.size()) / kBytesPerSecond, 2.0, 0.010);
        ASSERT_EQ(brevoir.client({"--quit"}), 0);
        EXPECT_EQ(brevoir.waitForExit(), 0);
    }
}

TEST(ScriptingProcess, SigtermDuringARecordingLeavesACompletePlayableFile) {
    REQUIRE_AUDIO_RIG();
    const QByteArray signal = makeTestSignal(44100 * 30);
    BrevoirProcess brevoir(writeSignalFile("fed.raw", signal));
    ASSERT_TRUE(brevoir.startHeadless());
    ASSERT_EQ(brevoir.client({"--start"}), 0);
    ASSERT_TRUE(waitForSound(brevoir, 1, 1.0));
    brevoir.signal(SIGTERM);
    EXPECT_EQ(brevoir.waitForExit(), 0);

    const QStringList files = brevoir.recordings();
    ASSERT_EQ(files.size(), 1);
    const QByteArray decoded = decodeWithFfmpeg(brevoir.recordingsFolder() + "/" + files[0]);
    EXPECT_GT(decoded.size(), kBytesPerSecond / 2);
    EXPECT_GE(findRun(signal, decoded), 0) << brevoir.log().toStdString();
}

TEST(ScriptingProcess, AnInputDeviceThatIsNotPresentIsRefusedWithTheListOfInputs) {
    BrevoirProcess brevoir(QString{});
    QString out;
    QString err;
    EXPECT_EQ(brevoir.client({"--headless", "--input-device", "No Such Input"}, &out, &err), 2);
    EXPECT_TRUE(err.contains("no input device named \"No Such Input\"")) << err.toStdString();
    EXPECT_TRUE(err.contains("\t" + TestEnvironment::capturePcm() + "\tdevice\n"))
        << err.toStdString();
    EXPECT_TRUE(brevoir.recordings().isEmpty());
}

TEST(ScriptingProcess, ClientReportsWhenNoInstanceRuns) {
    BrevoirProcess brevoir(QStringLiteral("/dev/zero"));
    QString out, err;
    EXPECT_EQ(brevoir.client({"--status"}, &out), 1);
    EXPECT_EQ(out.trimmed(), "not running");
    // Commands that could only fail against a fresh instance start none: each says why.
    for (const char* command : {"--quit", "--stop", "--pause"}) {
        EXPECT_EQ(brevoir.client({command}, &out, &err), 1) << command;
        EXPECT_TRUE(err.startsWith("brevoir: ")) << err.toStdString();
        EXPECT_EQ(err.count('\n'), 1) << err.toStdString();
    }
    EXPECT_EQ(brevoir.client({"--status"}, &out), 1);
    EXPECT_EQ(out.trimmed(), "not running");
}

TEST(ScriptingProcess, ARecordingCommandLaunchesAnInstanceWhenNoneRuns) {
    REQUIRE_AUDIO_RIG();
    BrevoirProcess brevoir(writeSignalFile("fed.raw", makeTestSignal(44100 * 20)));
    ASSERT_EQ(brevoir.client({"--start", "--input-device", TestEnvironment::capturePcm()}), 0);
    QString state;
    EXPECT_EQ(brevoir.client({"--status"}, &state), 0);
    EXPECT_EQ(state.section('\n', 0, 0), "recording");
    ASSERT_EQ(brevoir.client({"--quit"}), 0);
    // The launched instance completes the recording as it quits.
    EXPECT_TRUE(BrevoirProcess::waitUntil([&] { return brevoir.client({"--status"}, &state) == 1; },
                                          20000));
    ASSERT_EQ(brevoir.recordings().size(), 1);
    EXPECT_FALSE(
        decodeWithFfmpeg(brevoir.recordingsFolder() + "/" + brevoir.recordings()[0]).isEmpty());
}

TEST(ScriptingProcess, WithoutASessionBusTheAppRunsAndTheClientSaysScriptingIsUnavailable) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + TestEnvironment::root() + "/no-bus");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("HOME", TestEnvironment::home());

    QProcess client;
    client.setProcessEnvironment(env);
    client.start(BREVOIR_EXECUTABLE, {"--status"});
    ASSERT_TRUE(client.waitForFinished(30000));
    EXPECT_EQ(client.exitCode(), 2);
    EXPECT_EQ(QString::fromUtf8(client.readAllStandardError()),
              "brevoir: scripting is unavailable: no D-Bus session bus\n");

    QProcess app;
    app.setProcessEnvironment(env);
    app.setProcessChannelMode(QProcess::MergedChannels);
    app.start(BREVOIR_EXECUTABLE, {"--headless"});
    QByteArray output;
    EXPECT_TRUE(BrevoirProcess::waitUntil(
        [&] {
            output += app.readAll();
            return output.contains("scripting is unavailable: no D-Bus session bus");
        },
        20000))
        << output.toStdString();
    EXPECT_EQ(app.state(), QProcess::Running); // it runs on without scripting
    app.terminate();
    EXPECT_TRUE(app.waitForFinished(20000));
    EXPECT_EQ(app.exitCode(), 0);
}
