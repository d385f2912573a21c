// The notes of a library, with real files and no window: where each recording's note lives,
// whose it is, how it follows a rename and goes with a delete, and what is refused in its place.
#include "library/NoteFormats.h"
#include "library/NoteStore.h"
#include "platform/foundation/FileNames.h"
#include "platform/foundation/SafeFile.h"
#include "platform/text/RtfReader.h"
#include "platform/text/RtfWriter.h"
#include "platform/text/RtfdFolder.h"
#include "platform/text/SelfContainedDocument.h"
#include "platform/workspace/Trash.h"
#include "support/TestEnvironment.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A name as the program keeps it, from the file system's bytes.
QString named(const QByteArray& bytes) {
    return FileNames::decode(bytes);
}

QByteArray tinyPng(Qt::GlobalColor colour = Qt::red) {
    QImage image(2, 2, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

// The regular files directly in a folder, by their names.
QStringList filesIn(const FilePath& folder) {
    QStringList names;
    std::error_code error;
    for (const auto& entry :
         std::filesystem::directory_iterator(folder.bytes().toStdString(), error)) {
        if (entry.is_regular_file())
            names << FileNames::decode(QByteArray::fromStdString(entry.path().filename().string()));
    }
    names.sort();
    return names;
}

// What the note of a recording says in these tests.
QString label(const QString& recording) {
    return "note of " + FileNames::displayName(recording);
}

class NoteStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        _library = FilePath::fromString(TestEnvironment::root()) / "note-store" / "Library";
        std::filesystem::create_directories((_library / "Notes").bytes().toStdString());
        std::filesystem::create_directories((_library / "Recordings").bytes().toStdString());
        _outside = FilePath::fromString(TestEnvironment::root()) / "note-store" / "outside";
        std::filesystem::create_directories(_outside.bytes().toStdString());
    }
    void TearDown() override {
        std::filesystem::remove_all(_library.parent().bytes().toStdString());
    }

    NoteStore store() const {
        return NoteStore((_library).toString(), (_library / "Notes").toString());
    }
    FilePath notes() const { return _library / "Notes"; }
    FilePath recordings() const { return _library / "Recordings"; }

    void writeNote(const QString& recording, const QString& text) const {
        QTextDocument document(text);
        QString reason;
        ASSERT_TRUE(store().save(recording, document, &reason)) << reason.toStdString();
    }
    // The text of the note of `recording`, "<none>" or "<refused>".
    QString noteText(const QString& recording) const {
        QTextDocument document;
        const NoteStore::Loaded loaded = store().load(recording, &document);
        if (loaded.status == NoteStore::Loaded::Missing)
            return QStringLiteral("<none>");
        if (loaded.status == NoteStore::Loaded::Refused)
            return QStringLiteral("<refused>");
        return document.toPlainText();
    }
    static bool exists(const FilePath& path) {
        struct stat info;
        return ::lstat(path.c_str(), &info) == 0;
    }

    FilePath _library;
    FilePath _outside;
};

TEST_F(NoteStoreTest, EachRecordingMapsToItsOwnNoteByTheBytesOfItsName) {
    const struct {
        QByteArray recording;
        QByteArray note;
    } cases[] = {
        {"Interview.mov", "Interview.rtfd"},
        {"Interview.mp3", "Interview.rtfd"},
        {"a.b.mov", "a.b.rtfd"},
        {"take", "take.rtfd"},
        {".hidden", ".hidden.rtfd"},
        {"take\xfe.mov", "take\xfe.rtfd"},
        {"take\xff.mov", "take\xff.rtfd"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.recording.toStdString());
        EXPECT_EQ(store().pathOf(named(c.recording)), notes().childBytes(c.note));
    }
    const QStringList listed = {"Interview.mov", "Interview.mp3", named("take\xfe.mov"),
                                named("take\xff.mov")};
    EXPECT_EQ(NoteStore::sharing("Interview.mov", listed), QStringList{"Interview.mp3"});
    EXPECT_TRUE(NoteStore::sharing(named("take\xfe.mov"), listed).isEmpty())
        << "names that differ in one byte have notes of their own";
}

TEST_F(NoteStoreTest, ARenameCarriesTheNoteOrNothingMoves) {
    struct Case {
        const char* what;
        QStringList listed;
        QStringList withNotes; // recordings whose notes are on disk before
        QString from;
        QString to;
        QString recordingMove; // what moving the recording answers
        bool renamed;
        bool noteMoved;
        // Afterwards: the note each of these recordings reads, by recording.
        QList<QPair<QString, QString>> notesAfter;
    };
    const QString odd = named("take\xfe.mov");
    const QString other = named("take\xff.mov");
    const Case cases[] = {
        {"its own note follows",
         {"a.mov", "b.mov"},
         {"a.mov"},
         "a.mov",
         "c.mov",
         {},
         true,
         true,
         {{"c.mov", "note of a.mov"}, {"a.mov", "<none>"}}},
        {"no note, nothing to carry",
         {"a.mov", "b.mov"},
         {"a.mov"},
         "b.mov",
         "d.mov",
         {},
         true,
         false,
         {{"d.mov", "<none>"}, {"a.mov", "note of a.mov"}}},
        {"a new extension keeps the note where it is",
         {"a.mov"},
         {"a.mov"},
         "a.mov",
         "a.mp3",
         {},
         true,
         false,
         {{"a.mp3", "note of a.mov"}}},
        {"never onto another listed recording's note",
         {"a.mov", "x.mp3"},
         {"a.mov", "x.mp3"},
         "a.mov",
         "x.mov",
         {},
         false,
         false,
         {{"a.mov", "note of a.mov"}, {"x.mp3", "note of x.mp3"}}},
        {"a shared note stays with the one not renamed",
         {"pair.mov", "pair.mp3"},
         {"pair.mov"},
         "pair.mp3",
         "solo.mp3",
         {},
         true,
         false,
         {{"pair.mov", "note of pair.mov"}, {"solo.mp3", "<none>"}}},
        {"a note folder in the way is never replaced",
         {"a.mov"},
         {"a.mov", "z.mov"},
         "a.mov",
         "z.mov",
         {},
         false,
         false,
         {{"a.mov", "note of a.mov"}, {"z.mov", "note of z.mov"}}},
        {"the note goes back when the recording cannot move",
         {"a.mov"},
         {"a.mov"},
         "a.mov",
         "c.mov",
         "the name is taken",
         false,
         false,
         {{"a.mov", "note of a.mov"}, {"c.mov", "<none>"}}},
        {"by bytes",
         {odd, other},
         {odd, other},
         odd,
         named("take\xfd.mov"),
         {},
         true,
         true,
         {{named("take\xfd.mov"), label(odd)}, {other, label(other)}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(notes().bytes().toStdString());
        std::filesystem::create_directories(notes().bytes().toStdString());
        for (const QString& name : c.withNotes)
            writeNote(name, label(name));
        bool recordingMoved = false;
        const NoteStore::Renamed renamed = store().renameWithRecording(c.from, c.to, c.listed, [&] {
            recordingMoved = c.recordingMove.isEmpty();
            return c.recordingMove;
        });
        EXPECT_EQ(renamed.refusal.isEmpty(), c.renamed) << renamed.refusal.toStdString();
        EXPECT_EQ(renamed.noteMoved, c.noteMoved);
        EXPECT_EQ(recordingMoved, c.renamed) << "the recording moves only with its note";
        for (const auto& [recording, text] : c.notesAfter)
            EXPECT_EQ(noteText(recording).toStdString(), text.toStdString())
                << recording.toStdString();
    }
    // The refusal names the recording whose note it would be.
    const QString refusal = NoteStore::renameRefusal("a.mov", "x.mov", {"a.mov", "x.mp3"});
    EXPECT_TRUE(refusal.contains("x.mp3")) << refusal.toStdString();
}

TEST_F(NoteStoreTest, ADeleteTakesTheNoteOnlyWhenNoListedRecordingStillMapsToIt) {
    writeNote("pair.mov", "shared");
    writeNote("a.mov", "mine");
    writeNote("b.mov", "mine too");

    // The other of a pair keeps it.
    NoteStore::Removed removed = store().removeAfterRecording("pair.mov", {"pair.mp3"}, true);
    EXPECT_EQ(removed.outcome, NoteStore::Removed::KeptFor);
    EXPECT_EQ(removed.keptFor, "pair.mp3");
    EXPECT_EQ(noteText("pair.mp3"), "shared");

    // The only owner's note goes to the trash or for good.
    removed = store().removeAfterRecording("a.mov", {"b.mov"}, true);
    EXPECT_EQ(removed.outcome, NoteStore::Removed::Gone) << removed.reason.toStdString();
    EXPECT_FALSE(exists(store().pathOf("a.mov")));
    EXPECT_TRUE(exists(Trash::homeTrash() / "files" / "a.rtfd" / "TXT.rtf"));
    removed = store().removeAfterRecording("b.mov", {}, false);
    EXPECT_EQ(removed.outcome, NoteStore::Removed::Gone) << removed.reason.toStdString();
    EXPECT_FALSE(exists(store().pathOf("b.mov")));

    // No note: the attempt fails as for a missing file.
    removed = store().removeAfterRecording("c.mov", {}, false);
    EXPECT_EQ(removed.outcome, NoteStore::Removed::Failed);
    EXPECT_EQ(removed.error, ENOENT);
}

TEST_F(NoteStoreTest, AFileArrivingGetsAFreeNumberedNameWhenItsNoteIsTaken) {
    const QStringList listed = {"Interview.mov", "Interview 2.mov", "Talk.m4a"};
    writeNote("Interview 3.mov", "a note nobody lists");
    const struct {
        QString wanted;
        QString given;
    } cases[] = {
        {"Interview.mp3", "Interview 4.mp3"}, // 2 is listed, 3's note is on disk
        {"Interview", "Interview 4"},
        {"Interview.mov", "Interview.mov"}, // listed already: the copy says so
        {"Other.mp3", "Other.mp3"},
        {"Talk.mp3", "Talk 2.mp3"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(store().nameForNewRecording(c.wanted, listed, recordings()), c.given)
            << c.wanted.toStdString();
}

TEST_F(NoteStoreTest, NotesReadBackAsStoredAndWhatStandsInTheirPlaceIsRefusedAndLeftAsItIs) {
    // What is stored reads back, pictures and all, under a name that is not UTF-8.
    SelfContainedDocument document;
    QString error;
    ASSERT_TRUE(NoteFormats::fromText("<p>Words and <img src=\"data:image/png;base64," +
                                          tinyPng().toBase64() + "\"></p>",
                                      NoteFormats::Format::Html, &document, &error));
    const QString odd = named("take\xfe.mov");
    ASSERT_TRUE(store().save(odd, document, &error)) << error.toStdString();
    QTextDocument back;
    ASSERT_EQ(store().load(odd, &back).status, NoteStore::Loaded::Read);
    EXPECT_EQ(back.toPlainText().trimmed(),
              QString("Words and ") + QChar::ObjectReplacementCharacter);
    EXPECT_EQ(filesIn(store().pathOf(odd)).size(), 2);

    // Stand-ins for the note folder and for its text.
    SafeFile::Problem problem;
    ASSERT_TRUE(SafeFile::replace(_outside / "secret.txt", "not the library's", &problem));
    std::filesystem::create_directories((_outside / "note.rtfd").bytes().toStdString());
    ASSERT_TRUE(
        SafeFile::replace(_outside / "note.rtfd" / "TXT.rtf", "{\\rtf1 outside}", &problem));
    const auto inNote = [&](const char* recording) {
        std::filesystem::create_directories(store().pathOf(recording).bytes().toStdString());
        return store().pathOf(recording) / "TXT.rtf";
    };
    struct StandIn {
        const char* recording;
        FilePath path;
        std::function<int(const char*)> make;
        mode_t type;
    };
    const StandIn standIns[] = {
        {"fifo.mov", store().pathOf("fifo.mov"), [](const char* p) { return ::mkfifo(p, 0644); },
         S_IFIFO},
        {"zero.mov", store().pathOf("zero.mov"),
         [](const char* p) { return ::symlink("/dev/zero", p); }, S_IFLNK},
        {"file.mov", store().pathOf("file.mov"),
         [&](const char* p) { return SafeFile::createNew(FilePath(p), "x", &problem) ? 0 : -1; },
         S_IFREG},
        {"out.mov", store().pathOf("out.mov"),
         [&](const char* p) { return ::symlink((_outside / "note.rtfd").c_str(), p); }, S_IFLNK},
        {"textfifo.mov", inNote("textfifo.mov"), [](const char* p) { return ::mkfifo(p, 0644); },
         S_IFIFO},
        {"textzero.mov", inNote("textzero.mov"),
         [](const char* p) { return ::symlink("/dev/zero", p); }, S_IFLNK},
        {"textfolder.mov", inNote("textfolder.mov"), [](const char* p) { return ::mkdir(p, 0755); },
         S_IFDIR},
        {"textout.mov", inNote("textout.mov"),
         [&](const char* p) { return ::symlink((_outside / "secret.txt").c_str(), p); }, S_IFLNK},
    };
    for (const StandIn& standIn : standIns) {
        SCOPED_TRACE(standIn.recording);
        ASSERT_EQ(standIn.make(standIn.path.c_str()), 0);
        QTextDocument loaded;
        const NoteStore::Loaded result = store().load(standIn.recording, &loaded);
        EXPECT_EQ(result.status, NoteStore::Loaded::Refused);
        EXPECT_FALSE(result.reason.isEmpty());
        EXPECT_TRUE(loaded.isEmpty());
        // Saving over a note folder that is not a folder (or leads out) is refused too.
        if (standIn.path == store().pathOf(standIn.recording)) {
            QTextDocument text(QStringLiteral("new words"));
            EXPECT_FALSE(store().save(standIn.recording, text, &error));
            EXPECT_FALSE(error.isEmpty());
        }
        struct stat info;
        ASSERT_EQ(::lstat(standIn.path.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & S_IFMT, standIn.type) << "left as it is";
    }
    EXPECT_EQ(SafeFile::read(_outside / "secret.txt", 100).bytes, "not the library's");
    EXPECT_EQ(SafeFile::read(_outside / "note.rtfd" / "TXT.rtf", 100).bytes, "{\\rtf1 outside}")
        << "nothing is written through a link";

    // A link that stays inside the library is followed.
    ASSERT_EQ(::symlink(store().pathOf(odd).fileNameBytes().constData(),
                        store().pathOf("alias.mov").c_str()),
              0);
    EXPECT_EQ(noteText("alias.mov"), back.toPlainText());
}

TEST_F(NoteStoreTest, PicturesComeOnlyFromInsideTheNoteAndAreCappedWithAReason) {
    // Text from a script names a file the user can read: it is not copied in.
    SafeFile::Problem problem;
    ASSERT_TRUE(SafeFile::replace(_outside / "secret.png", tinyPng(Qt::blue), &problem));
    SelfContainedDocument document;
    QString error;
    ASSERT_TRUE(NoteFormats::fromText("<p>a<img src=\"" + (_outside / "secret.png").toString() +
                                          "\">b<img src=\"file://" +
                                          (_outside / "secret.png").toString() + "\">c</p>",
                                      NoteFormats::Format::Html, &document, &error));
    EXPECT_EQ(document.toPlainText(), "abc");
    ASSERT_TRUE(store().save("script.mov", document, &error)) << error.toStdString();
    EXPECT_EQ(filesIn(store().pathOf("script.mov")), QStringList{"TXT.rtf"});

    // A note of more pictures than a note holds loads the first ones and says how many went.
    const QByteArray hex = tinyPng().toHex();
    QByteArray rtf = "{\\rtf1 ";
    for (int i = 0; i < Rtf::kMaxPictures + 25; ++i)
        rtf += "{\\pict\\pngblip " + hex + "}";
    rtf += "}";
    std::filesystem::create_directories(store().pathOf("many.mov").bytes().toStdString());
    ASSERT_TRUE(SafeFile::createNew(store().pathOf("many.mov") / "TXT.rtf", rtf, &problem));
    QTextDocument loaded;
    const NoteStore::Loaded result = store().load("many.mov", &loaded);
    EXPECT_EQ(result.status, NoteStore::Loaded::Read);
    EXPECT_EQ(result.picturesLeftOut, 25);
    // The writer holds to the same number, and counts what it leaves out.
    SelfContainedDocument pictures;
    QTextCursor cursor(&pictures);
    for (int i = 0; i < Rtf::kMaxPictures + 3; ++i) {
        const QString name = QStringLiteral("picture-%1").arg(i);
        pictures.addResource(QTextDocument::ImageResource, QUrl(name), tinyPng());
        cursor.insertImage(name);
    }
    int leftOut = -1;
    const QByteArray written = Rtf::write(pictures, Rtf::Images::Embedded, nullptr, &leftOut);
    EXPECT_EQ(leftOut, 3);
    EXPECT_EQ(written.count("{\\pict"), Rtf::kMaxPictures);
}

} // namespace
