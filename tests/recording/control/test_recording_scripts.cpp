// What scripts rely on beyond the record toggle: StartRecording and StopRecording answer the
// file, the bus announces each change, and every failure is a non-zero exit with a reason.
#include "BrevoirProcess.h"

#include "support/TestEnvironment.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {
// Every signal the instance sends on its object, in order, as "Name arg".
class BusListener : public QObject {
    Q_OBJECT

public:
    explicit BusListener(const QString& address)
        : _bus(QDBusConnection::connectToBus(address, QStringLiteral("listener"))) {
        for (const char* name : {"RecordingStarted", "RecordingFinished"})
            _bus.connect({}, "/org/brevoir/Brevoir", "org.brevoir.Brevoir", name, this,
                         SLOT(received(QDBusMessage)));
        _bus.connect({}, "/org/brevoir/Brevoir", "org.freedesktop.DBus.Properties",
                     "PropertiesChanged", this, SLOT(received(QDBusMessage)));
    }
    ~BusListener() override { QDBusConnection::disconnectFromBus(QStringLiteral("listener")); }

    QStringList heard;

public slots:
    void received(const QDBusMessage& message) {
        const QVariant first = message.arguments().value(0);
        if (message.member() == QLatin1String("PropertiesChanged")) {
            const QVariantMap changed = qdbus_cast<QVariantMap>(message.arguments().value(1));
            heard << "State " + changed.value("State").toString();
        } else {
            heard << message.member() + " " + first.toString();
        }
    }

private:
    QDBusConnection _bus;
};

} // namespace

TEST(RecordingScripts, StartAndStopAnswerTheFileAndTheBusHearsEachChange) {
    REQUIRE_AUDIO_RIG();
    const QByteArray signal = makeTestSignal(44100 * 30);
    BrevoirProcess brevoir(writeSignalFile("scripts-fed.raw", signal));
    ASSERT_TRUE(brevoir.startHeadless());
    BusListener listener(brevoir.busAddress());
    QString out, err;

    for (const char* idle : {"--stop", "--pause"}) {
        EXPECT_EQ(brevoir.client({idle}, &out, &err), 1) << idle;
        EXPECT_EQ(err, "brevoir: no recording is running\n");
    }

    ASSERT_EQ(brevoir.client({"--start"}, &out), 0);
    const QString path = out.trimmed();
    EXPECT_EQ(QFileInfo(path).absolutePath(), brevoir.recordingsFolder());
    // Asked again, it answers the same file and starts nothing new.
    ASSERT_EQ(brevoir.client({"--start"}, &out), 0);
    EXPECT_EQ(out.trimmed(), path);
    ASSERT_TRUE(BrevoirProcess::waitUntil(
        [&] { return QFileInfo(path).size() > 44100 * 4 * 3 / 2; }, 15000));

    ASSERT_EQ(brevoir.client({"--status"}, &out), 0);
    const QStringList status = out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(status.size(), 3) << out.toStdString();
    EXPECT_EQ(status[0], "recording");
    EXPECT_TRUE(status[1].startsWith("elapsed: 00:00:0")) << status[1].toStdString();
    EXPECT_EQ(status[2], "file: " + path);

    ASSERT_EQ(brevoir.client({"--stop"}, &out), 0);
    EXPECT_EQ(out.trimmed(), path);
    // Complete the moment the answer arrives.
    const QByteArray sound = decodeWithFfmpeg(path);
    EXPECT_GT(sound.size(), 44100 * 4);
    EXPECT_GE(findRun(signal, sound), 0);
    EXPECT_EQ(brevoir.client({"--stop"}, &out, &err), 1);
    EXPECT_EQ(err, "brevoir: no recording is running\n");

    const QStringList expected = {"RecordingStarted " + path, "State recording",
                                  "RecordingFinished " + path, "State idle"};
    EXPECT_TRUE(BrevoirProcess::waitUntil([&] { return listener.heard.size() >= 4; }, 5000));
    EXPECT_EQ(listener.heard, expected) << listener.heard.join(" | ").toStdString();
    EXPECT_EQ(brevoir.recordings().size(), 1);
    ASSERT_EQ(brevoir.client({"--quit"}), 0);
    EXPECT_EQ(brevoir.waitForExit(), 0);
}

TEST(RecordingScripts, AStartThatFailsExitsNonZeroWithTheReasonAndLeavesNoFile) {
    REQUIRE_AUDIO_RIG();
    struct Case {
        const char* what;
        QString captureFile;
        bool libraryIsAFile;
        bool libraryReadOnly;
        bool inputGone; // the input's source disappears once the instance runs
        bool diskFull;  // no file may grow once the instance runs, as on a full disk
        const char* reason;
    };
    const Case cases[] = {
        {"library path is a file", writeSecondOfSignal("fails-1.raw"), true, false, false, false,
         "library folder cannot be used"},
        {"input cannot be opened", writeSecondOfSignal("fails-2.raw"), false, false, true, false,
         "input device could not be started"},
        {"library is read-only", writeSecondOfSignal("fails-3.raw"), false, true, false, false,
         "library folder cannot be used"},
        {"disk is full", writeSecondOfSignal("fails-4.raw"), false, false, false, true,
         "recording file could not be written: "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // Permissions do not stop the superuser.
        if (c.libraryReadOnly && ::geteuid() == 0)
            continue;
        BrevoirProcess brevoir(c.captureFile);
        const QString library = brevoir.root() + "/library";
        if (c.libraryIsAFile) {
            QFile file(library);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        } else {
            ASSERT_TRUE(QDir().mkpath(library + "/Recordings"));
        }
        if (c.libraryReadOnly) {
            QFile::setPermissions(library + "/Recordings", QFile::ReadOwner | QFile::ExeOwner);
        }
        ASSERT_TRUE(brevoir.startHeadless({"--library", library}));
        if (c.inputGone)
            QFile::remove(c.captureFile);
        if (c.diskFull) {
            ASSERT_EQ(QProcess::execute("prlimit",
                                        {"--pid", QString::number(brevoir.pid()), "--fsize=1:1"}),
                      0);
        }
        QString out, err;
        EXPECT_EQ(brevoir.client({"--start"}, &out, &err), 1);
        EXPECT_TRUE(err.startsWith("brevoir: ") && err.contains(c.reason)) << err.toStdString();
        EXPECT_EQ(err.count('\n'), 1) << err.toStdString();
        EXPECT_EQ(brevoir.client({"--status"}, &out), 0);
        EXPECT_EQ(out.trimmed(), "idle");
        if (!c.libraryIsAFile) {
            EXPECT_TRUE(QDir(library + "/Recordings").entryList(QDir::Files).isEmpty());
        }
        ASSERT_EQ(brevoir.client({"--quit"}), 0);
        EXPECT_EQ(brevoir.waitForExit(), 0);
    }
}

#include "test_recording_scripts.moc"
