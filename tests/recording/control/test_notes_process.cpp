// Notes with their recordings, through the real executable driven by the command line: a
// rename carries the note, a delete leaves the note another recording reads, and the trash
// keeps the bytes of a name that is not UTF-8.
#include "BrevoirProcess.h"

#include "platform/foundation/FilePath.h"
#include "platform/foundation/SafeFile.h"
#include "platform/workspace/Trash.h"
#include "support/TestEnvironment.h"

#include <QFile>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <sys/stat.h>

namespace {

bool exists(const FilePath& path) {
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0;
}

FilePath realPath(const FilePath& path) {
    std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
    return real ? FilePath(QByteArray(real.get())) : FilePath();
}

QByteArray infoLine(const FilePath& info, const QByteArray& key) {
    for (const QByteArray& line : SafeFile::read(info, 1 << 16).bytes.split('\n')) {
        if (line.startsWith(key + '='))
            return line.mid(key.size() + 1);
    }
    return {};
}

} // namespace

TEST(NotesProcess, NotesGoWithTheirRecordingsAndTheTrashKeepsTheBytesOfEveryName) {
    REQUIRE_AUDIO_RIG();
    BrevoirProcess brevoir(writeSecondOfSignal("quiet.raw"));
    ASSERT_TRUE(makeRecordings(brevoir.recordingsFolder(), {"old.mov", "X.mov", "X.mp3", "r.mov"}));
    const FilePath notes = FilePath::fromString(brevoir.home()) / "Music" / "Brevoir" / "Notes";
    const QString noteFile = brevoir.root() + "/note.txt";
    {
        QFile note(noteFile);
        ASSERT_TRUE(note.open(QIODevice::WriteOnly));
        note.write("Spoken at the window.\n");
    }
    const QByteArray noteArgument = QFile::encodeName(noteFile);
    ASSERT_TRUE(brevoir.startHeadless());
    QString out;
    QString err;

    // A scripted rename carries the note.
    ASSERT_EQ(brevoir.clientWithBytes({"--set-note", "old.mov", noteArgument}, &out, &err), 0)
        << err.toStdString();
    ASSERT_EQ(brevoir.clientWithBytes({"--rename", "old.mov", "new.mov"}, &out, &err), 0)
        << err.toStdString();
    ASSERT_EQ(brevoir.clientWithBytes({"--note", "new.mov"}, &out, &err), 0) << err.toStdString();
    EXPECT_TRUE(out.contains("Spoken at the window.")) << out.toStdString();
    EXPECT_FALSE(exists(notes / "old.rtfd"));

    // Of X.mov and X.mp3, which read one note, deleting one leaves it to the other.
    ASSERT_EQ(brevoir.clientWithBytes({"--set-note", "X.mov", noteArgument}, &out, &err), 0)
        << err.toStdString();
    ASSERT_EQ(brevoir.clientWithBytes({"--delete", "X.mov"}, &out, &err), 0) << err.toStdString();
    ASSERT_EQ(brevoir.clientWithBytes({"--note", "X.mp3"}, &out, &err), 0) << err.toStdString();
    EXPECT_TRUE(out.contains("Spoken at the window.")) << out.toStdString();
    EXPECT_TRUE(exists(notes / "X.rtfd" / "TXT.rtf"));

    // A name that is not UTF-8 goes to the trash with its note, and each entry's info holds
    // the bytes of where it was.
    const QByteArray odd = "take \xfe%.mov";
    ASSERT_EQ(brevoir.clientWithBytes({"--rename", "r.mov", odd}, &out, &err), 0)
        << err.toStdString();
    ASSERT_EQ(brevoir.clientWithBytes({"--set-note", odd, noteArgument}, &out, &err), 0)
        << err.toStdString();
    ASSERT_EQ(brevoir.clientWithBytes({"--delete", odd}, &out, &err), 0) << err.toStdString();
    const FilePath trash = FilePath::fromString(brevoir.root()) / "data" / "Trash";
    const FilePath recordings = realPath(FilePath::fromString(brevoir.recordingsFolder()));
    const struct {
        QByteArray name;
        FilePath from;
    } entries[] = {
        {odd, recordings.childBytes(odd)},
        {"take \xfe%.rtfd", realPath(notes).childBytes("take \xfe%.rtfd")},
    };
    for (const auto& entry : entries) {
        SCOPED_TRACE(entry.name.toHex().toStdString());
        EXPECT_FALSE(exists(entry.from));
        EXPECT_TRUE(exists((trash / "files").childBytes(entry.name)));
        const FilePath info = (trash / "info").childBytes(entry.name + ".trashinfo");
        const QByteArray path = infoLine(info, "Path");
        EXPECT_TRUE(path.contains("take%20%FE%25.")) << path.toStdString();
        EXPECT_EQ(Trash::decodeInfoPath(path), entry.from.bytes());
        EXPECT_FALSE(infoLine(info, "DeletionDate").isEmpty());
    }
    EXPECT_TRUE(exists((trash / "files").childBytes("take \xfe%.rtfd") / "TXT.rtf"));

    ASSERT_EQ(brevoir.client({"--quit"}), 0);
    EXPECT_EQ(brevoir.waitForExit(), 0);
}
