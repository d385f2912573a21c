// The library driven from another process: renaming, deleting and notes through the
// command-line client and D-Bus, against the real running executable.
#include "BrevoirProcess.h"

#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {
QString fixture(const char* name) {
    return QStringLiteral(BREVOIR_SOURCE_DIR "/tests/platform/text/fixtures/") +
           QLatin1String(name);
}

} // namespace

TEST(LibraryScripting, RenameNoteAndDeleteFromAnotherProcessWithTheWindowsRefusals) {
    REQUIRE_AUDIO_RIG();
    BrevoirProcess brevoir(writeSecondOfSignal("quiet.raw"));
    ASSERT_TRUE(makeRecordings(brevoir.recordingsFolder(), {"take.mov", "other.mov"}));

    // Without a running instance the library commands say so and change nothing.
    QString out;
    QString err;
    EXPECT_NE(brevoir.client({"--rename", "take.mov", "x.mov"}, &out, &err), 0);
    EXPECT_TRUE(err.contains("not running")) << err.toStdString();

    ASSERT_TRUE(brevoir.startHeadless());
    EXPECT_EQ(brevoir.client({"--rename", "take.mov", "meeting.mov"}, &out, &err), 0)
        << err.toStdString();
    EXPECT_EQ(brevoir.recordings(), (QStringList{"meeting.mov", "other.mov"}));

    // Refusals come back with their reason and a non-zero exit; nothing changes.
    const QStringList refused[] = {
        {"--rename", "other.mov", "meeting.mov"}, // taken
        {"--rename", "other.mov", "../out.mov"},  // leaves the folder
        {"--rename", "nothing.mov", "x.mov"},     // no such recording
        {"--delete", "../Recordings"},            // not a file in the folder
        {"--note", "meeting.mov", "--format", "pdf"},
    };
    for (const QStringList& arguments : refused) {
        err.clear();
        EXPECT_NE(brevoir.client(arguments, &out, &err), 0) << arguments.join(' ').toStdString();
        EXPECT_FALSE(err.trimmed().isEmpty()) << arguments.join(' ').toStdString();
    }
    EXPECT_EQ(brevoir.recordings(), (QStringList{"meeting.mov", "other.mov"}));

    // A note written by another word processor goes in as RTF and comes back as text.
    ASSERT_EQ(
        brevoir.client({"--set-note", "meeting.mov", fixture("libreoffice-note.rtf")}, &out, &err),
        0)
        << err.toStdString();
    ASSERT_EQ(brevoir.client({"--note", "meeting.mov"}, &out, &err), 0) << err.toStdString();
    for (const char* words : {"Ελληνικά: καλημέρα.", "доброе утро", "你好世界", "Second number"})
        EXPECT_TRUE(out.contains(QString::fromUtf8(words))) << out.toStdString();
    EXPECT_TRUE(QFileInfo::exists(brevoir.home() + "/Music/Brevoir/Notes/meeting.rtfd/TXT.rtf"));

    // Deleted to the trash, with its note.
    ASSERT_EQ(brevoir.client({"--delete", "meeting.mov"}, &out, &err), 0) << err.toStdString();
    EXPECT_EQ(brevoir.recordings(), QStringList{"other.mov"});
    const QString trash = brevoir.home() + "/../data/Trash";
    EXPECT_TRUE(QFileInfo::exists(trash + "/files/meeting.mov"));
    EXPECT_TRUE(QFileInfo::exists(trash + "/info/meeting.mov.trashinfo"));
    EXPECT_TRUE(QFileInfo::exists(trash + "/files/meeting.rtfd/TXT.rtf"));

    EXPECT_EQ(brevoir.client({"--quit"}), 0);
    EXPECT_EQ(brevoir.waitForExit(), 0);
}
