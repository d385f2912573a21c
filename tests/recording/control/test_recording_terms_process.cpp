// Recording on the user's terms through the real executable in the rig: a start at a set time
// that keeps its moment and length and survives a restart, and voice activation that makes one
// file per burst of sound, each holding its burst whole and none of the silence between.
#include "BrevoirProcess.h"

#include "support/FakeNotificationServer.h"
#include "support/TestEnvironment.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <cmath>

namespace {
constexpr int kRate = 44100;

// When the instance announced each recording, by the clock of the test.
class StartListener : public QObject {
    Q_OBJECT

public:
    explicit StartListener(const QString& address)
        : _bus(QDBusConnection::connectToBus(address, QStringLiteral("terms-listener"))) {
        for (const char* name : {"RecordingStarted", "RecordingFinished"})
            _bus.connect({}, "/org/brevoir/Brevoir", "org.brevoir.Brevoir", name, this,
                         SLOT(received(QDBusMessage)));
    }
    ~StartListener() override {
        QDBusConnection::disconnectFromBus(QStringLiteral("terms-listener"));
    }
    QList<qint64> startedAtMs;
    QStringList finished;

public slots:
    void received(const QDBusMessage& message) {
        if (message.member() == QLatin1String("RecordingStarted"))
            startedAtMs << QDateTime::currentMSecsSinceEpoch();
        else
            finished << message.arguments().value(0).toString();
    }

private:
    QDBusConnection _bus;
};

QString firstLine(const QString& text) {
    return text.section('\n', 0, 0);
}

// Quiet noise (well below -40 dBFS, and never repeating, so that every stretch of the file can
// be found in the signal) with bursts of syllables: 200 ms of loud noise, 100 ms of quiet.
struct Burst {
    double at; // seconds
    int syllables;
};
QByteArray burstSignal(double seconds, const std::vector<Burst>& bursts, std::vector<int>* onsets,
                       std::vector<int>* ends) {
    const int frames = int(seconds * kRate);
    QByteArray bytes(frames * 4, Qt::Uninitialized);
    auto* samples = reinterpret_cast<qint16*>(bytes.data());
    uint32_t state = 0x2468ace1u;
    for (int i = 0; i < frames * 2; ++i) {
        state = state * 1664525u + 1013904223u;
        samples[i] = qint16(int(state >> 16) % 41 - 20); // about -64 dBFS
    }
    for (const Burst& burst : bursts) {
        const int onset = int(burst.at * kRate);
        int end = onset;
        for (int s = 0; s < burst.syllables; ++s) {
            const int from = onset + s * int(0.3 * kRate);
            end = from + int(0.2 * kRate);
            for (int f = from; f < end; ++f)
                for (int ch = 0; ch < 2; ++ch) {
                    state = state * 1664525u + 1013904223u;
                    samples[2 * f + ch] = qint16(int(state >> 16) % 16001 - 8000);
                }
        }
        onsets->push_back(onset);
        ends->push_back(end);
    }
    return bytes;
}
} // namespace

TEST(RecordingTermsProcess, AScheduledStartKeepsItsMomentAndLength) {
    REQUIRE_AUDIO_RIG();
    const QByteArray signal = makeTestSignal(kRate * 30);
    BrevoirProcess brevoir(writeSignalFile("scheduled.raw", signal));
    ASSERT_TRUE(brevoir.startHeadless());
    StartListener listener(brevoir.busAddress());

    // Three seconds ahead, on the second, as a user types it.
    const qint64 startSeconds = QDateTime::currentSecsSinceEpoch() + 4;
    const QString at = QDateTime::fromSecsSinceEpoch(startSeconds).toString("HH:mm:ss");
    QString out, err;
    ASSERT_EQ(brevoir.client({"--start-at", at, "--length", "2"}, &out, &err), 0)
        << err.toStdString();
    const QString scheduledLine =
        "scheduled: " + QDateTime::fromSecsSinceEpoch(startSeconds).toString(Qt::ISODate) +
        " for 00:00:02.00";
    EXPECT_EQ(out.trimmed(), scheduledLine);
    ASSERT_EQ(brevoir.client({"--status"}, &out), 0);
    EXPECT_EQ(out.split('\n', Qt::SkipEmptyParts), (QStringList{"idle", scheduledLine}));

    ASSERT_TRUE(BrevoirProcess::waitUntil([&] { return listener.finished.size() == 1; }, 15000))
        << brevoir.log().toStdString();
    ASSERT_EQ(listener.startedAtMs.size(), 1);
    EXPECT_LT(std::abs(listener.startedAtMs[0] - startSeconds * 1000), 1000);
    const QString file = listener.finished[0];
    // The file's last write is its end: it began two seconds before.
    const qint64 endedMs = QFileInfo(file).lastModified().toMSecsSinceEpoch();
    EXPECT_LT(std::abs(endedMs - 2000 - startSeconds * 1000), 1000);
    const QByteArray sound = decodeWithFfmpeg(file);
    EXPECT_NEAR(double(sound.size()) / 4 / kRate, 2.000, 0.010);
    EXPECT_GE(findRun(signal, sound), 0);

    // Spent: nothing is scheduled any more.
    ASSERT_EQ(brevoir.client({"--status"}, &out), 0);
    EXPECT_EQ(out.trimmed(), "idle");
    ASSERT_EQ(brevoir.client({"--quit"}), 0);
    EXPECT_EQ(brevoir.waitForExit(), 0);
}

TEST(RecordingTermsProcess, AScheduleSurvivesARestartAndOneMissedMeanwhileIsToldNotStarted) {
    REQUIRE_AUDIO_RIG();
    BrevoirProcess brevoir(writeSecondOfSignal("schedule-restart.raw"));
    ASSERT_TRUE(brevoir.startHeadless());
    QString out, err;
    const QString tomorrow =
        QDateTime::currentDateTime().addDays(1).toString("yyyy-MM-dd") + " 06:30";
    ASSERT_EQ(brevoir.client({"--start-at", tomorrow, "--length", "1h30m"}, &out), 0);
    const QString scheduled = out.trimmed();
    EXPECT_TRUE(scheduled.endsWith("T06:30:00 for 01:30:00.00")) << scheduled.toStdString();
    ASSERT_EQ(brevoir.client({"--quit"}), 0);
    ASSERT_EQ(brevoir.waitForExit(), 0);

    ASSERT_TRUE(brevoir.startHeadless());
    ASSERT_EQ(brevoir.client({"--status"}, &out), 0);
    EXPECT_EQ(out.split('\n', Qt::SkipEmptyParts), (QStringList{"idle", scheduled}));
    ASSERT_EQ(brevoir.client({"--quit"}), 0);
    ASSERT_EQ(brevoir.waitForExit(), 0);

    // Its moment passes while Brevoir is not running: told, and not started late.
    const QString settings = brevoir.root() + "/config/Brevoir/Brevoir.conf";
    QFile conf(settings);
    ASSERT_TRUE(conf.open(QIODevice::ReadOnly));
    QByteArray text = conf.readAll();
    conf.close();
    const QByteArray past = QByteArray::number(QDateTime::currentSecsSinceEpoch() - 600);
    const qsizetype key = text.indexOf("ScheduledStart=");
    ASSERT_GE(key, 0) << text.toStdString();
    const qsizetype lineEnd = text.indexOf('\n', key);
    text.replace(key, lineEnd - key, "ScheduledStart=" + past);
    ASSERT_TRUE(conf.open(QIODevice::WriteOnly | QIODevice::Truncate));
    conf.write(text);
    conf.close();

    ASSERT_TRUE(brevoir.startHeadless());
    ASSERT_EQ(brevoir.client({"--status"}, &out), 0);
    EXPECT_EQ(out.trimmed(), "idle");
    EXPECT_TRUE(brevoir.log().contains("did not start: Brevoir was not running at that time"))
        << brevoir.log().toStdString();
    EXPECT_TRUE(brevoir.recordings().isEmpty());

    // Refusals come back as one line and a non-zero exit.
    EXPECT_EQ(brevoir.client({"--start-at", "yesterday"}, &out, &err), 2);
    EXPECT_TRUE(err.startsWith("brevoir: --start-at takes")) << err.toStdString();
    EXPECT_EQ(brevoir.client({"--start-at", "@1000000000"}, &out, &err), 1);
    EXPECT_TRUE(err.contains("has already passed")) << err.toStdString();
    ASSERT_EQ(brevoir.client({"--quit"}), 0);
    EXPECT_EQ(brevoir.waitForExit(), 0);
}

TEST(RecordingTermsProcess, VoiceActivationMakesOneFilePerBurstHoldingItWhole) {
    REQUIRE_AUDIO_RIG();
    std::vector<int> onsets, ends;
    const QByteArray signal =
        burstSignal(24.0, {{2.0, 7}, {11.0, 5}}, &onsets, &ends); // bursts of 2.0 s and 1.4 s
    BrevoirProcess brevoir(writeSignalFile("bursts.raw", signal));
    ASSERT_TRUE(brevoir.startHeadless());
    QString out, err;
    // The input opens, and the fed signal begins, as listening begins.
    ASSERT_EQ(brevoir.client({"--voice", "on"}, &out, &err), 0) << err.toStdString();
    ASSERT_EQ(brevoir.client({"--status"}, &out), 0);
    EXPECT_EQ(out.split('\n', Qt::SkipEmptyParts),
              (QStringList{"listening",
                           "voice activation: -40 dBFS, stop after 3 s of silence, 0.5 s before"}));

    ASSERT_TRUE(BrevoirProcess::waitUntil(
        [&] {
            return brevoir.recordings().size() == 2 && brevoir.client({"--status"}, &out) == 0 &&
                   firstLine(out) == "listening";
        },
        30000))
        << brevoir.log().toStdString();
    const QStringList files = brevoir.recordings(); // named by their start: in order
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(files[i].toStdString());
        const QByteArray sound = decodeWithFfmpeg(brevoir.recordingsFolder() + "/" + files[i]);
        const qsizetype start = findRun(signal, sound);
        ASSERT_GE(start, 0);
        const qsizetype end = start + sound.size() / 4;
        // From at least 0.4 s (the pre-roll is 0.5 s) before the onset ...
        EXPECT_LE(start, onsets[i] - qsizetype(0.4 * kRate));
        EXPECT_GE(start, onsets[i] - qsizetype(0.5 * kRate) - 1);
        // ... to the set silence after the burst's last sound.
        EXPECT_NEAR(double(end - ends[i]) / kRate, 3.0, 0.010);
    }
    ASSERT_EQ(brevoir.client({"--voice", "off"}), 0);
    ASSERT_EQ(brevoir.client({"--status"}, &out), 0);
    EXPECT_EQ(out.trimmed(), "idle");
    EXPECT_EQ(brevoir.client({"--voice", "on", "--threshold", "-90"}, &out, &err), 1);
    EXPECT_TRUE(err.contains("between −60 and 0 dBFS")) << err.toStdString();
    ASSERT_EQ(brevoir.client({"--quit"}), 0);
    EXPECT_EQ(brevoir.waitForExit(), 0);
}

TEST(RecordingTermsProcess, ARecordingEndedByItsTimerIsToldToTheDesktopOnce) {
    REQUIRE_AUDIO_RIG();
    BrevoirProcess brevoir(writeSignalFile("notice.raw", makeTestSignal(kRate * 10)));
    ASSERT_TRUE(brevoir.startHeadless()); // no window: none is active
    FakeNotificationServer server(brevoir.busAddress());
    ASSERT_TRUE(server.isServing());
    StartListener listener(brevoir.busAddress());
    QString out, err;
    ASSERT_EQ(brevoir.client({"--start-at", "+0s", "--length", "1"}, &out, &err), 0)
        << err.toStdString();
    ASSERT_TRUE(BrevoirProcess::waitUntil([&] { return !server.notices.empty(); }, 15000))
        << brevoir.log().toStdString();
    ASSERT_EQ(listener.finished.size(), 1);
    const QString name = QFileInfo(listener.finished[0]).fileName();
    EXPECT_EQ(server.notices[0].body, name + " (00:00:01.00): the timer ended it.");
    EXPECT_EQ(server.notices[0].hints.value("desktop-entry").toString(), "org.brevoir.Brevoir");
    ASSERT_EQ(brevoir.client({"--quit"}), 0);
    EXPECT_EQ(brevoir.waitForExit(), 0);
    EXPECT_EQ(server.notices.size(), 1u);
}

TEST(RecordingTermsProcess, AMarkPutsATimeStampedLineInTheRunningRecordingsNote) {
    REQUIRE_AUDIO_RIG();
    BrevoirProcess brevoir(writeSignalFile("mark.raw", makeTestSignal(kRate * 20)));
    ASSERT_TRUE(brevoir.startHeadless());
    QString out, err;
    EXPECT_EQ(brevoir.client({"--mark", "too", "soon"}, &out, &err), 1);
    EXPECT_EQ(err.trimmed(), "brevoir: no recording is running");

    ASSERT_EQ(brevoir.client({"--start"}, &out), 0);
    const QString name = QFileInfo(out.trimmed()).fileName();
    ASSERT_EQ(brevoir.client({"--mark", "question", "3"}, &out, &err), 0) << err.toStdString();
    const QRegularExpression line(QStringLiteral("^\\[00:00:\\d\\d\\] question 3$"));
    EXPECT_TRUE(line.match(out.trimmed()).hasMatch()) << out.toStdString();
    const QString marked = out.trimmed();
    ASSERT_EQ(brevoir.client({"--mark"}, &out, &err), 0) << err.toStdString();
    ASSERT_EQ(brevoir.client({"--stop"}), 0);

    ASSERT_EQ(brevoir.client({"--note", name}, &out, &err), 0) << err.toStdString();
    const QStringList lines = out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << out.toStdString();
    EXPECT_EQ(lines[0], marked);
    EXPECT_TRUE(lines[1].startsWith("[00:00:")) << out.toStdString();
    // As RTF it is a link of ours; as HTML, the text alone.
    ASSERT_EQ(brevoir.client({"--note", name, "--format", "rtf"}, &out), 0);
    EXPECT_TRUE(out.contains("HYPERLINK \"brevoir-time:")) << out.toStdString();
    ASSERT_EQ(brevoir.client({"--note", name, "--format", "html"}, &out), 0);
    EXPECT_TRUE(out.contains("question 3"));
    EXPECT_FALSE(out.contains("brevoir-time"));
    ASSERT_EQ(brevoir.client({"--quit"}), 0);
    EXPECT_EQ(brevoir.waitForExit(), 0);
}

#include "test_recording_terms_process.moc"
