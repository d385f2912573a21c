// Exporting through the real executable: `--export` and the bus's ExportRecording write the
// recording's very samples, and refuse what they cannot do with a one-line reason.
#include "BrevoirProcess.h"

#include "platform/playlists/RecordingFiles.h"
#include "support/TestEnvironment.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

TEST(ExportProcess, ExportWritesTheRecordingsSamplesAndRefusesWhatItCannotDo) {
    REQUIRE_AUDIO_RIG();
    BrevoirProcess brevoir(writeSecondOfSignal("export-quiet.raw"));
    const QString recording = brevoir.recordingsFolder() + "/Talk.mov";
    ASSERT_TRUE(RecordingFiles::writeRecording(recording, 2.0));
    const QString out = brevoir.root() + "/exported";
    QDir().mkpath(out);
    ASSERT_TRUE(brevoir.startHeadless());
    const QByteArray original = decodeWithFfmpeg(recording);
    ASSERT_FALSE(original.isEmpty());
    QString printed;
    QString err;

    for (const char* extension : {"flac", "wav"}) {
        SCOPED_TRACE(extension);
        const QString file = out + "/Talk." + extension;
        ASSERT_EQ(brevoir.client({"--export", "Talk.mov", file}, &printed, &err), 0)
            << err.toStdString();
        EXPECT_TRUE(decodeWithFfmpeg(file) == original);
        EXPECT_EQ(RecordingFiles::probe(file).title, QStringLiteral("Talk"));
    }

    struct Refusal {
        QStringList arguments;
        const char* reason;
    };
    const Refusal refusals[] = {
        {{"--export", "Talk.mov", out + "/Talk.flac"}, "already exists"},
        {{"--export", "Talk.mov", out + "/Talk.xyz"}, "no extension"},
        {{"--export", "Gone.mov", out + "/Gone.flac"}, "Gone.mov"},
        {{"--export", "Talk.mov", out + "/missing/Talk.flac"}, "does not exist"},
    };
    const qint64 flacSize = QFile(out + "/Talk.flac").size();
    for (const Refusal& refusal : refusals) {
        SCOPED_TRACE(refusal.arguments.join(' ').toStdString());
        EXPECT_NE(brevoir.client(refusal.arguments, &printed, &err), 0);
        EXPECT_TRUE(err.contains(QString::fromUtf8(refusal.reason))) << err.toStdString();
        EXPECT_EQ(err.trimmed().count('\n'), 0) << err.toStdString();
    }
    EXPECT_EQ(QFile(out + "/Talk.flac").size(), flacSize);
    EXPECT_EQ(QDir(out).entryList(QDir::Files | QDir::Hidden).size(), 2);

    // On the bus the reply comes once the file is written.
    QDBusConnection bus = QDBusConnection::connectToBus(brevoir.busAddress(), "export-test");
    const auto call = [&](const QString& name, const QString& path) {
        QDBusMessage message =
            QDBusMessage::createMethodCall("org.brevoir.Brevoir", "/org/brevoir/Brevoir",
                                           "org.brevoir.Brevoir", "ExportRecording");
        message << name << path;
        return bus.call(message, QDBus::Block, 120000);
    };
    const QDBusMessage written = call("Talk.mov", out + "/Talk bus.flac");
    EXPECT_EQ(written.type(), QDBusMessage::ReplyMessage) << written.errorMessage().toStdString();
    EXPECT_TRUE(decodeWithFfmpeg(out + "/Talk bus.flac") == original);
    const QDBusMessage refused = call("Talk.mov", out + "/Talk bus.flac");
    EXPECT_EQ(refused.type(), QDBusMessage::ErrorMessage);
    EXPECT_EQ(refused.errorName(), QStringLiteral("org.brevoir.Brevoir.Error.Refused"));
    QDBusConnection::disconnectFromBus("export-test");
}
