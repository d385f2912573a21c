// Files and arguments that are not what they seem, through the real executable: names that are
// not UTF-8 on the command line, interrupted recordings brought in from elsewhere, and things
// that are not files where Brevoir reads its files.
#include "BrevoirProcess.h"

#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {
bool existsByBytes(const QByteArray& path) {
    struct stat info;
    return ::lstat(path.constData(), &info) == 0;
}

QByteArray corpusFile(const char* name) {
    QFile file(QStringLiteral(BREVOIR_SOURCE_DIR "/fuzz/corpus/movie_repair/") +
               QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray flipped(QByteArray bytes, qsizetype at, char bits) {
    bytes[at] = char(bytes[at] ^ bits);
    return bytes;
}
} // namespace

TEST(HostileFilesProcess, ANameThatIsNotUtf8OnTheCommandLineKeepsItsBytes) {
    REQUIRE_AUDIO_RIG();
    BrevoirProcess brevoir(writeSecondOfSignal("quiet.raw"));
    ASSERT_TRUE(makeRecordings(brevoir.recordingsFolder(), {"r.mov"}));
    ASSERT_TRUE(brevoir.startHeadless());
    const QByteArray folder = QFile::encodeName(brevoir.recordingsFolder()) + '/';
    const QByteArray odd = "bad\xfe.mov";

    QString out;
    QString err;
    ASSERT_EQ(brevoir.clientWithBytes({"--rename", "r.mov", odd}, &out, &err), 0)
        << err.toStdString();
    EXPECT_TRUE(existsByBytes(folder + odd));
    EXPECT_FALSE(existsByBytes(folder + "bad\xef\xbf\xbd.mov")) << "a name nobody asked for";
    EXPECT_FALSE(existsByBytes(folder + "r.mov"));

    // The same name reaches its note, by its bytes.
    const QString noteFile = brevoir.root() + "/note.txt";
    QFile note(noteFile);
    ASSERT_TRUE(note.open(QIODevice::WriteOnly));
    note.write("Said in a name nobody can type.\n");
    note.close();
    ASSERT_EQ(brevoir.clientWithBytes({"--set-note", odd, QFile::encodeName(noteFile)}, &out, &err),
              0)
        << err.toStdString();
    ASSERT_EQ(brevoir.clientWithBytes({"--note", odd}, &out, &err), 0) << err.toStdString();
    EXPECT_TRUE(out.contains("Said in a name nobody can type.")) << out.toStdString();

    // What is not a recording's name must be text: refused with the reason, nothing changed.
    const QList<QByteArray> refused[] = {
        {"--set-category", odd, "Pers\xf6nlich"},
        {"--library", "/tmp/\xfe", "--list"},
    };
    for (const QList<QByteArray>& arguments : refused) {
        err.clear();
        EXPECT_NE(brevoir.clientWithBytes(arguments, &out, &err), 0);
        EXPECT_TRUE(err.contains("not valid UTF-8")) << err.toStdString();
    }
    EXPECT_TRUE(existsByBytes(folder + odd));
    ASSERT_EQ(brevoir.client({"--quit"}), 0);
    EXPECT_EQ(brevoir.waitForExit(), 0);
}

TEST(HostileFilesProcess,
     AnInterruptedRecordingBroughtInIsRepairedWhenListedAndOnlyAPlayingOneIsRecovered) {
    REQUIRE_AUDIO_RIG();
    BrevoirProcess brevoir(writeSecondOfSignal("quiet.raw"));
    // A first run that ends cleanly: the journal then asks for no check at the next launch.
    ASSERT_TRUE(brevoir.startHeadless());
    ASSERT_EQ(brevoir.client({"--quit"}), 0);
    ASSERT_EQ(brevoir.waitForExit(), 0);

    const QByteArray interrupted = corpusFile("interrupted-sowt-8k-mono.mov");
    ASSERT_FALSE(interrupted.isEmpty());
    // The reserve's size with one bit flipped; and both records of the sound format damaged.
    const QByteArray reserve = flipped(interrupted, 68 + 2, 0x10);
    const QByteArray hopeless = flipped(flipped(interrupted, 30, 0x01), 68 + 1024 - 48 + 10, 0x01);
    const struct {
        const char* name;
        QByteArray bytes;
    } files[] = {
        {"brought.mov", interrupted}, {"reserve.mov", reserve}, {"hopeless.mov", hopeless}};
    for (const auto& file : files) {
        QFile out(brevoir.recordingsFolder() + '/' + file.name);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        ASSERT_EQ(out.write(file.bytes), file.bytes.size());
    }

    ASSERT_TRUE(brevoir.startHeadless());
    ASSERT_TRUE(BrevoirProcess::waitUntil(
        [&] { return brevoir.log().contains("could not be repaired"); }, 10000))
        << brevoir.log().toStdString();
    const QString log = brevoir.log();
    EXPECT_FALSE(log.contains("checking every recording")) << "the journal said all was well";
    EXPECT_TRUE(log.contains("Recovered 2 recordings interrupted by a crash: "))
        << log.toStdString();
    for (const char* name : {"brought.mov", "reserve.mov"}) {
        EXPECT_TRUE(log.contains(QStringLiteral("%1 (0.").arg(QLatin1String(name))))
            << log.toStdString();
        EXPECT_FALSE(decodeWithFfmpeg(brevoir.recordingsFolder() + '/' + name).isEmpty()) << name;
    }
    EXPECT_TRUE(log.contains("left as they are: hopeless.mov (")) << log.toStdString();
    ASSERT_EQ(brevoir.client({"--quit"}), 0);
    EXPECT_EQ(brevoir.waitForExit(), 0);
}

namespace {
enum class StandIn { Fifo, Device, Folder, LinkOut };

const char* nameOf(StandIn kind) {
    switch (kind) {
    case StandIn::Fifo:
        return "a FIFO";
    case StandIn::Device:
        return "a link to /dev/zero";
    case StandIn::Folder:
        return "a folder";
    case StandIn::LinkOut:
        return "a link leading out of the library";
    }
    return "";
}

// Puts the stand-in at `path` (its folder made first); `outside` is where a link leads.
bool putStandIn(StandIn kind, const QString& path, const QString& outside) {
    QDir().mkpath(QFileInfo(path).path());
    QFile::remove(path);
    const QByteArray bytes = QFile::encodeName(path);
    switch (kind) {
    case StandIn::Fifo:
        return ::mkfifo(bytes.constData(), 0644) == 0;
    case StandIn::Device:
        return ::symlink("/dev/zero", bytes.constData()) == 0;
    case StandIn::Folder:
        return ::mkdir(bytes.constData(), 0755) == 0;
    case StandIn::LinkOut:
        return ::symlink(QFile::encodeName(outside).constData(), bytes.constData()) == 0;
    }
    return false;
}

bool isStandIn(StandIn kind, const QString& path) {
    struct stat info;
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return false;
    switch (kind) {
    case StandIn::Fifo:
        return S_ISFIFO(info.st_mode);
    case StandIn::Device:
    case StandIn::LinkOut:
        return S_ISLNK(info.st_mode);
    case StandIn::Folder:
        return S_ISDIR(info.st_mode);
    }
    return false;
}
} // namespace

// Every file Brevoir reads, with something else in its place: the launch still answers, each
// command that touches the file answers at once with the reason, nothing crashes, nothing is
// written through a link, and the stand-in is still there afterwards.
TEST(HostileFilesProcess, WhatStandsInForAFileNeverHangsOrCrashesBrevoirAndIsLeftAsItIs) {
    REQUIRE_AUDIO_RIG();
    for (const StandIn kind : {StandIn::Fifo, StandIn::Device, StandIn::Folder, StandIn::LinkOut}) {
        SCOPED_TRACE(nameOf(kind));
        BrevoirProcess brevoir(writeSecondOfSignal("quiet.raw"));
        const QString library = brevoir.home() + "/Music/Brevoir";
        ASSERT_TRUE(makeRecordings(brevoir.recordingsFolder(), {"r.mov", "a.mov", "s.mov"}));
        // A note whose text is fine and whose picture is the stand-in.
        QDir().mkpath(library + "/Notes/a.rtfd");
        QFile text(library + "/Notes/a.rtfd/TXT.rtf");
        ASSERT_TRUE(text.open(QIODevice::WriteOnly));
        text.write("{\\rtf1\\ansi Words {{\\NeXTGraphic image.png \\width20 \\height20}"
                   "\\uc0\\u65532 }}");
        text.close();
        const QString outside = brevoir.root() + "/outside.txt";
        QFile secret(outside);
        ASSERT_TRUE(secret.open(QIODevice::WriteOnly));
        secret.write("not the library's");
        secret.close();

        const QStringList files = {
            library + "/Database.plist",         library + "/Notes/r.rtfd/TXT.rtf",
            library + "/Notes/a.rtfd/image.png", brevoir.home() + "/Music/Playlists/Brevoir.m3u",
            library + "/.recording-journal",     brevoir.root() + "/config/Brevoir/Brevoir.conf",
        };
        for (const QString& file : files)
            ASSERT_TRUE(putStandIn(kind, file, outside)) << file.toStdString();

        ASSERT_TRUE(brevoir.launch());
        QString out;
        QString err;
        ASSERT_TRUE(BrevoirProcess::waitUntil(
            [&] {
                return brevoir.clientWithBytes({"--status"}, &out, nullptr, 5000) == 0 &&
                       out.startsWith("idle");
            },
            10000))
            << brevoir.log().toStdString();
        // A listed recording that something else takes the place of.
        const QString recording = brevoir.recordingsFolder() + "/s.mov";
        ASSERT_TRUE(putStandIn(kind, recording, outside));

        struct Command {
            QList<QByteArray> arguments;
            bool refused; // answers non-zero with a reason
        };
        const Command commands[] = {
            {{"--set-category", "r.mov", "Personal"}, true},  // the database
            {{"--note", "r.mov"}, true},                      // the note's text
            {{"--note", "a.mov", "--format", "html"}, false}, // its picture: left out
            {{"--sync"}, true},                               // the playlist
        };
        for (const Command& command : commands) {
            SCOPED_TRACE(command.arguments.join(' ').toStdString());
            err.clear();
            const int status = brevoir.clientWithBytes(command.arguments, &out, &err, 5000);
            EXPECT_NE(status, -1) << "no answer within 5 s";
            if (command.refused) {
                EXPECT_NE(status, 0);
                EXPECT_FALSE(err.trimmed().isEmpty());
            }
        }
        // With the playlist itself set right, the sync meets the recording's stand-in.
        ASSERT_TRUE(isStandIn(kind, files[3]));
        QFile::remove(files[3]);
        QDir(files[3]).removeRecursively();
        const int synced = brevoir.clientWithBytes({"--sync"}, &out, &err, 5000);
        EXPECT_NE(synced, -1) << "no answer within 5 s";
        EXPECT_NE(synced, 0) << "s.mov cannot have been imported";
        // The journal is written as recordings begin and end.
        EXPECT_EQ(brevoir.clientWithBytes({"--start"}, &out, &err, 5000), 0) << err.toStdString();
        EXPECT_EQ(brevoir.clientWithBytes({"--stop"}, &out, &err, 5000), 0) << err.toStdString();
        // Quitting writes the settings and the database.
        EXPECT_EQ(brevoir.clientWithBytes({"--quit"}, &out, &err, 5000), 0) << err.toStdString();
        EXPECT_EQ(brevoir.waitForExit(5000), 0) << brevoir.log().toStdString();

        for (const QString& file : files.mid(0, 3) + files.mid(4) + QStringList{recording})
            EXPECT_TRUE(isStandIn(kind, file)) << file.toStdString();
        EXPECT_TRUE(secret.open(QIODevice::ReadOnly));
        EXPECT_EQ(secret.readAll(), "not the library's") << "written through a link";
        secret.close();
    }
}
