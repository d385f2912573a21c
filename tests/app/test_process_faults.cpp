// The real executable against faults that a careful user, a crash or a bad disk would bring:
// a quit while launching, two launches at once, hostile and oddly named files, and the sound
// server going away.
#include "recording/control/BrevoirProcess.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

QString writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return path;
}

QByteArray readRaw(const QByteArray& path) {
    QByteArray bytes;
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return bytes;
    char buffer[65536];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;)
        bytes.append(buffer, n);
    ::close(fd);
    return bytes;
}

// Records `--start` .. `--stop` until the file holds sound; answers the file's path.
QString recordOne(BrevoirProcess& brevoir, bool stop) {
    if (brevoir.client({"--start"}) != 0)
        return {};
    QString path;
    BrevoirProcess::waitUntil(
        [&] {
            const QStringList names = brevoir.recordings();
            path = names.isEmpty() ? QString() : brevoir.recordingsFolder() + "/" + names.last();
            return !path.isEmpty() && QFileInfo(path).size() > 200000;
        },
        20000);
    if (stop)
        brevoir.client({"--stop"});
    return path;
}

// `--list`: one line per track, its display name first.
QStringList listedNames(BrevoirProcess& brevoir) {
    QString out;
    brevoir.client({"--list"}, &out);
    QStringList names;
    for (const QString& line : out.split('\n', Qt::SkipEmptyParts))
        names << line.section('\t', 0, 0);
    return names;
}

// A PulseAudio server of the test's own, so that it can be killed without disturbing the rig.
class PrivateSoundServer {
public:
    explicit PrivateSoundServer(const QString& folder) : _folder(folder) {
        QDir().mkpath(folder + "/pulse");
        QFile::setPermissions(folder + "/pulse",
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        writeFile(folder + "/server.pa",
                  ("load-module module-native-protocol-unix auth-anonymous=1 socket=" + socket() +
                   "\nload-module module-null-sink sink_name=s rate=44100 channels=2\n"
                   "load-module module-null-source source_name=m rate=44100 channels=2\n"
                   "set-default-sink s\nset-default-source m\n")
                      .toUtf8());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("PULSE_RUNTIME_PATH", folder + "/pulse");
        _server.setProcessEnvironment(env);
        _server.start("pulseaudio", {"-n", "-F", folder + "/server.pa", "--daemonize=no",
                                     "--exit-idle-time=-1", "--use-pid-file=no", "--disallow-exit",
                                     "--log-target=file:" + folder + "/log"});
    }
    ~PrivateSoundServer() { kill(); }

    QString socket() const { return _folder + "/pulse/native"; }
    bool waitUntilReady() {
        return BrevoirProcess::waitUntil(
            [this] {
                QProcess pactl;
                pactl.start("pactl", {"-s", "unix:" + socket(), "info"});
                return pactl.waitForFinished(5000) && pactl.exitCode() == 0;
            },
            10000);
    }
    void kill() {
        if (_server.state() == QProcess::NotRunning)
            return;
        _server.kill();
        _server.waitForFinished(5000);
    }

private:
    QString _folder;
    QProcess _server;
};

} // namespace

TEST(ProcessFaults, SigtermDuringASlowLaunchEndsItPromptlyWithoutSavingAnything) {
    REQUIRE_AUDIO_RIG();
    BrevoirProcess brevoir("/dev/zero");
    // Enough recordings that the repair check and the scan take a while.
    QDir().mkpath(brevoir.recordingsFolder());
    QDir().mkpath(brevoir.home() + "/Music/Brevoir/Notes");
    for (int i = 0; i < 30000; ++i)
        writeFile(brevoir.recordingsFolder() + QStringLiteral("/Recording %1.mov").arg(i), "x");
    ASSERT_TRUE(brevoir.launch());
    // The library folders are checked first; the slow steps follow.
    ASSERT_TRUE(BrevoirProcess::waitUntil(
        [&] { return brevoir.log().contains("the Notes folder exists"); }, 20000));
    QElapsedTimer sinceSignal;
    sinceSignal.start();
    brevoir.signal(SIGTERM);
    EXPECT_EQ(brevoir.waitForExit(15000), 0) << brevoir.log().toStdString();
    EXPECT_LT(sinceSignal.elapsed(), 10000);
    // The launch was cut short, so the quit path saved nothing.
    EXPECT_FALSE(QFile::exists(brevoir.root() + "/config/Brevoir/Brevoir.conf"));
    EXPECT_EQ(brevoir.recordings().size(), 30000);
}

TEST(ProcessFaults, TwoLaunchesAtTheSameMomentLeaveOneInstanceThatAnswers) {
    REQUIRE_AUDIO_RIG();
    BrevoirProcess brevoir("/dev/zero");
    QProcess second;
    second.setProcessEnvironment(brevoir.environment());
    second.setProcessChannelMode(QProcess::MergedChannels);
    ASSERT_TRUE(brevoir.launch());
    second.start(BREVOIR_EXECUTABLE, {"--headless"});
    ASSERT_TRUE(second.waitForStarted(10000));

    // One of them hands over and ends; the other stays and answers.
    int firstExit = -2;
    ASSERT_TRUE(BrevoirProcess::waitUntil(
        [&] {
            if (second.state() == QProcess::NotRunning)
                return true;
            firstExit = brevoir.waitForExit(0);
            return firstExit != -1;
        },
        40000));
    const bool secondEnded = second.state() == QProcess::NotRunning;
    if (secondEnded) {
        EXPECT_EQ(second.exitCode(), 0);
        EXPECT_TRUE(second.readAll().contains("already running")) << "the second handed over";
    } else {
        EXPECT_EQ(firstExit, 0);
        EXPECT_TRUE(brevoir.log().contains("already running"));
    }
    QString state;
    EXPECT_TRUE(BrevoirProcess::waitUntil(
        [&] { return brevoir.client({"--status"}, &state) == 0 && state.trimmed() == "idle"; },
        20000));
    // The survivor is still there once everything settled.
    if (secondEnded)
        EXPECT_EQ(brevoir.waitForExit(0), -1);
    else
        EXPECT_EQ(second.state(), QProcess::Running);
    ASSERT_EQ(brevoir.client({"--quit"}), 0);
    EXPECT_TRUE(secondEnded ? brevoir.waitForExit() == 0 : second.waitForFinished(20000));
}

TEST(ProcessFaults, HostileAndNonUtf8NamedFilesAreListedRepairedAndDoNotStopTheLaunch) {
    REQUIRE_AUDIO_RIG();
    BrevoirProcess brevoir("/dev/zero");
    ASSERT_TRUE(brevoir.startHeadless());
    // A finished recording, then an interrupted one (the instance is killed while recording).
    const QString finished = recordOne(brevoir, true);
    ASSERT_FALSE(finished.isEmpty());
    const QString interrupted = recordOne(brevoir, false);
    ASSERT_FALSE(interrupted.isEmpty());
    brevoir.signal(SIGKILL);
    brevoir.waitForExit();

    // The finished one gets an atom whose 64-bit size wraps an offset sum around.
    {
        QFile file(finished);
        ASSERT_TRUE(file.open(QIODevice::Append));
        file.write(QByteArray::fromHex("00000001"
                                       "66726565"
                                       "fffffffffffffff0"));
    }
    // The interrupted one goes under two names that are not UTF-8 and differ in one byte.
    const QByteArray folder = QFile::encodeName(brevoir.recordingsFolder()) + "/";
    const QByteArray nameA = folder + "Take \xe9t\xe9.mov";
    const QByteArray nameB = folder + "Take \xe8t\xe9.mov";
    const QByteArray interruptedBytes = readRaw(QFile::encodeName(interrupted));
    ASSERT_FALSE(interruptedBytes.contains("moov"));
    ASSERT_EQ(::rename(QFile::encodeName(interrupted).constData(), nameA.constData()), 0);
    {
        const int fd = ::open(nameB.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::write(fd, interruptedBytes.constData(), size_t(interruptedBytes.size())),
                  interruptedBytes.size());
        ::close(fd);
    }

    // The launch comes up and answers, and each file is its own track.
    ASSERT_TRUE(brevoir.startHeadless()) << brevoir.log().toStdString();
    const QStringList names = listedNames(brevoir);
    EXPECT_EQ(names.size(), 3) << names.join('|').toStdString();
    EXPECT_EQ(names.count(QString::fromUtf8("Take \xef\xbf\xbdt\xef\xbf\xbd.mov")), 2);
    EXPECT_TRUE(names.contains(QFileInfo(finished).fileName()));
    // Both interrupted copies were repaired under their own names, their sound untouched.
    for (const QByteArray& name : {nameA, nameB}) {
        const QByteArray repaired = readRaw(name);
        EXPECT_TRUE(repaired.contains("moov")) << name.constData();
        EXPECT_EQ(repaired.mid(4096, interruptedBytes.size() - 4096), interruptedBytes.mid(4096));
    }
    ASSERT_EQ(brevoir.client({"--quit"}), 0);
    EXPECT_EQ(brevoir.waitForExit(), 0);
}

TEST(ProcessFaults, TheSoundServerGoingAwayEndsTheRecordingAndAFailedStartLeavesNoFile) {
    REQUIRE_AUDIO_RIG();
    BrevoirProcess brevoir("/dev/zero");
    PrivateSoundServer server(brevoir.root() + "/sound");
    ASSERT_TRUE(server.waitUntilReady());
    brevoir.setEnvironmentValue("PULSE_SERVER", "unix:" + server.socket());
    ASSERT_TRUE(brevoir.startHeadless());
    const QString path = recordOne(brevoir, false);
    ASSERT_FALSE(path.isEmpty());

    server.kill();
    QString state;
    EXPECT_TRUE(BrevoirProcess::waitUntil(
        [&] { return brevoir.client({"--status"}, &state) == 0 && state.trimmed() == "idle"; },
        20000))
        << state.toStdString() << brevoir.log().toStdString();
    EXPECT_TRUE(brevoir.log().contains("lost the input device")) << brevoir.log().toStdString();
    // Complete up to that moment: ffmpeg decodes it.
    EXPECT_GT(decodeWithFfmpeg(path).size(), 44100 * 4);

    // With the server gone a start fails, says why, and leaves no empty recording behind.
    QString out, err;
    EXPECT_EQ(brevoir.client({"--start"}, &out, &err), 1);
    EXPECT_TRUE(err.startsWith("brevoir: The recording could not start")) << err.toStdString();
    EXPECT_EQ(brevoir.recordings(), QStringList{QFileInfo(path).fileName()});
    EXPECT_TRUE(brevoir.client({"--status"}, &state) == 0 && state.trimmed() == "idle");
    ASSERT_EQ(brevoir.client({"--quit"}), 0);
    EXPECT_EQ(brevoir.waitForExit(), 0);
}
