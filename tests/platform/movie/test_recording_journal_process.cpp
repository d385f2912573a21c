// The launch check through the real executable: a recording killed with its process is
// repaired at the next launch, and a launch after a clean quit checks no recording.
#include "recording/control/BrevoirProcess.h"

#include "support/TestEnvironment.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <csignal>

TEST(RecordingJournalProcess, ARecordingKilledWithItsProcessIsRepairedAtTheNextLaunch) {
    REQUIRE_AUDIO_RIG();
    const QByteArray signal = makeTestSignal(44100 * 30);
    BrevoirProcess brevoir(writeSignalFile("journal-fed.raw", signal));
    const QString checking = "checking every recording";
    // The instance's lines reach us a little after it answers.
    auto launched = [&](int count) {
        return BrevoirProcess::waitUntil(
            [&] { return brevoir.log().count("the library folder exists") == count; }, 10000);
    };

    ASSERT_TRUE(brevoir.startHeadless());
    ASSERT_EQ(brevoir.client({"--start"}), 0);
    QString path;
    ASSERT_TRUE(BrevoirProcess::waitUntil(
        [&] {
            const QStringList files = brevoir.recordings();
            path = files.isEmpty() ? QString() : brevoir.recordingsFolder() + '/' + files[0];
            return !path.isEmpty() && QFileInfo(path).size() > 2 * 44100 * 4;
        },
        15000));
    brevoir.signal(SIGKILL);
    EXPECT_EQ(brevoir.waitForExit(), -1);
    EXPECT_EQ(brevoir.log().count(checking), 1) << brevoir.log().toStdString(); // no journal yet
    EXPECT_TRUE(decodeWithFfmpeg(path).isEmpty());

    ASSERT_TRUE(brevoir.startHeadless());
    ASSERT_TRUE(launched(1));
    const QString name = QFileInfo(path).fileName();
    EXPECT_EQ(brevoir.log().count(checking), 2);
    EXPECT_TRUE(brevoir.log().contains("repaired interrupted recording: " + name))
        << brevoir.log().toStdString();
    const QByteArray decoded = decodeWithFfmpeg(path);
    EXPECT_GT(decoded.size(), 3 * 44100 * 4 / 2);
    // The user is told too, with the length that came back.
    const QRegularExpressionMatch told =
        QRegularExpression("Recovered 1 recording interrupted by a crash: " +
                           QRegularExpression::escape(name) + R"( \((\d+\.\d\d) s\))")
            .match(brevoir.log());
    ASSERT_TRUE(told.hasMatch()) << brevoir.log().toStdString();
    EXPECT_NEAR(told.captured(1).toDouble(), decoded.size() / (44100.0 * 4), 0.015);
    ASSERT_EQ(brevoir.client({"--quit"}), 0);
    EXPECT_EQ(brevoir.waitForExit(), 0);

    ASSERT_TRUE(brevoir.startHeadless());
    ASSERT_TRUE(launched(2));
    EXPECT_EQ(brevoir.log().count(checking), 2) << brevoir.log().toStdString();
    ASSERT_EQ(brevoir.client({"--quit"}), 0);
    EXPECT_EQ(brevoir.waitForExit(), 0);
}
