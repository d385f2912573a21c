// Files and arguments that are not what they seem, through the real executable: names that are
// not UTF-8 on the command line, and interrupted recordings brought in from elsewhere.
#include "BrevoirProcess.h"

#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>

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
