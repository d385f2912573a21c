// Deleting, renaming and the notes of recordings, through the real controller, list and files.
#include "library/LibraryFixture.h"
#include "library/NoteEditor.h"
#include "library/NoteFormats.h"
#include "library/QBVTrackTableModel.h"
#include "platform/foundation/LocalizedString.h"
#include "platform/foundation/Log.h"
#include "platform/media/BVMovieView.h"
#include "platform/text/RtfdFolder.h"
#include "platform/text/SelfContainedDocument.h"
#include "platform/workspace/FileOperations.h"
#include "support/TestEnvironment.h"

#include <QAbstractButton>
#include <QBuffer>
#include <QDBusConnection>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMainWindow>
#include <QMessageBox>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>

#include <unistd.h>

namespace {

using Model = QBVTrackTableModel;

class TrackOperations : public LibraryFixture {
protected:
    // Recordings a.mov ... d.mov; a and c have notes.
    void launchWithTracks() {
        ASSERT_TRUE(QDir().mkpath(recordings()));
        ASSERT_TRUE(QDir().mkpath(notes()));
        for (const char* name : {"a.mov", "b.mov", "c.mov", "d.mov"})
            writeFile(recordings() + QLatin1Char('/') + QLatin1String(name), name);
        for (const char* name : {"a", "c"})
            writeNote(QString::fromLatin1(name), QStringLiteral("note of %1").arg(name));
        launch();
        ui->window()->show();
    }

    QString notes() const { return library + QStringLiteral("/Notes"); }
    QString notePath(const QString& base) const {
        return notes() + QLatin1Char('/') + base + QStringLiteral(".rtfd");
    }
    void writeNote(const QString& base, const QString& text) const {
        QTextDocument document;
        document.setPlainText(text);
        QString error;
        ASSERT_TRUE(NoteFormats::writeFile(document, FilePath::fromString(notePath(base)),
                                           NoteFormats::Format::Rtfd, &error))
            << error.toStdString();
    }
    QString storedNote(const QString& base) const {
        QTextDocument document;
        if (!Rtfd::read(FilePath::fromString(notePath(base)), &document))
            return QStringLiteral("<none>");
        return document.toPlainText();
    }

    // The open delete confirmation, or none.
    QMessageBox* confirmation() const {
        return ui->window()->findChild<QMessageBox*>(QStringLiteral("deleteConfirmation"));
    }
    void answer(QMessageBox* sheet, const char* buttonKey) {
        for (QAbstractButton* button : sheet->buttons()) {
            if (button->text() == BVLocalizedString(buttonKey)) {
                button->click();
                QCoreApplication::processEvents();
                return;
            }
        }
        FAIL() << "no button " << buttonKey;
    }

    static bool exists(const QString& path) { return QFileInfo::exists(path); }
};

TEST_F(TrackOperations, DeleteTakesTheCarriedTracksWithTheirNotesToTheTrashOrForGood) {
    for (const bool toTrash : {true, false}) {
        SCOPED_TRACE(toTrash ? "to the trash" : "destroyed");
        const QString trash = FileOperations::homeTrashFolder();
        QDir(trash).removeRecursively();
        QDir(library).removeRecursively();
        Defaults::standard().setBool(toTrash, sPreferencesKeySafeDelete);
        launchWithTracks();
        LogCapture log;

        // Nothing selected: no sheet.
        select({});
        controller->deleteFile(nullptr);
        EXPECT_EQ(confirmation(), nullptr);

        // Cancelled: nothing changes.
        select({"a.mov", "b.mov", "c.mov"});
        controller->deleteFile(nullptr);
        ASSERT_TRUE(confirmation());
        EXPECT_EQ(confirmation()->text(), BVLocalizedString("DeleteManyQuestion", 3));
        EXPECT_EQ(confirmation()->informativeText(), BVLocalizedString("CannotUndo"));
        answer(confirmation(), "Cancel");
        EXPECT_EQ(shown().size(), 4);

        // The sheet carries the selection it opened with, whatever is selected at its end.
        controller->deleteFile(nullptr);
        select({"d.mov"});
        Defaults::standard().setBool(toTrash, sPreferencesKeySafeDelete);
        answer(confirmation(), "Delete");
        EXPECT_EQ(shown(), QStringList{"d.mov"});
        EXPECT_TRUE(exists(recordings() + "/d.mov"));
        for (const QString name : {"a.mov", "b.mov", "c.mov"}) {
            EXPECT_FALSE(exists(recordings() + "/" + name)) << name.toStdString();
            EXPECT_EQ(exists(trash + "/files/" + name), toTrash) << name.toStdString();
            EXPECT_EQ(exists(trash + "/info/" + name + ".trashinfo"), toTrash);
        }
        for (const QString note : {"a.rtfd", "c.rtfd"}) {
            EXPECT_FALSE(exists(notes() + "/" + note));
            EXPECT_EQ(exists(trash + "/files/" + note + "/TXT.rtf"), toTrash);
        }
        // b had no note: its note operation fails and says so, and only it.
        EXPECT_TRUE(log.contains(QStringLiteral("failed to move b.rtfd to the trash")));
        EXPECT_TRUE(log.contains(QStringLiteral("tag: %1").arg(ENOENT)));
        EXPECT_EQ(log.lines().filter(QStringLiteral("failed to move")).size(), 1);
        quit();
    }
}

TEST_F(TrackOperations, RenameMovesTheFileOrRefusesAndSaysWhy) {
    launchWithTracks();
    writeRecording(recordings() + "/tone.mov");
    controller->updateFileList();
    QAbstractItemModel* model = table().model();
    auto cellOf = [&](const QString& name) {
        return model->index(int(shown().indexOf(name)), Model::NameColumn);
    };

    const struct {
        const char* why;
        QString newName;
    } refusals[] = {
        {"empty", QString()},
        {"blank", QStringLiteral("  ")},
        {"dot", QStringLiteral(".")},
        {"dot dot", QStringLiteral("..")},
        {"slash leaves the folder", QStringLiteral("../escaped.mov")},
        {"NUL", QStringLiteral("x") + QChar(0) + QStringLiteral("y")},
        {"control character", QStringLiteral("x\x01y.mov")},
        {"carriage return", QStringLiteral("x\ry.mov")},
        {"too long", QString(300, QLatin1Char('n'))},
        {"taken", QStringLiteral("b.mov")},
    };
    for (const auto& refusal : refusals) {
        SCOPED_TRACE(refusal.why);
        ui->window()->statusBar()->clearMessage();
        EXPECT_FALSE(model->setData(cellOf("a.mov"), refusal.newName, Qt::EditRole));
        EXPECT_EQ(cellOf("a.mov").data().toString(), QStringLiteral("a.mov"));
        EXPECT_TRUE(exists(recordings() + "/a.mov"));
        EXPECT_EQ(QFile(recordings() + "/b.mov").size(), 5); // never overwritten
        EXPECT_FALSE(told().isEmpty());
    }
    EXPECT_FALSE(exists(library + "/escaped.mov"));

    // A file that went away behind the list's back: refused the same way.
    QFile::remove(recordings() + "/c.mov");
    EXPECT_FALSE(model->setData(cellOf("c.mov"), QStringLiteral("c2.mov"), Qt::EditRole));
    EXPECT_EQ(track("c.mov")->name(), QStringLiteral("c.mov"));
    EXPECT_FALSE(told().isEmpty());

    // The recording loaded in the player keeps its name until it is stopped.
    const QString tone = recordings() + "/tone.mov";
    ASSERT_TRUE(controller->_qtPlayer->setMovie(tone));
    controller->setPreviouslyPlayedURL(QUrl::fromLocalFile(tone));
    EXPECT_FALSE(model->setData(cellOf("tone.mov"), QStringLiteral("t.mov"), Qt::EditRole));
    EXPECT_TRUE(exists(tone));
    controller->soundStop(nullptr);

    // A good name, used exactly as typed (no extension added), is the file's new name; a
    // later scan lists it once.
    EXPECT_TRUE(model->setData(cellOf("a.mov"), QStringLiteral("Interview"), Qt::EditRole));
    EXPECT_TRUE(exists(recordings() + "/Interview"));
    EXPECT_FALSE(exists(recordings() + "/a.mov"));
    controller->updateFileList();
    EXPECT_EQ(listed().count(QStringLiteral("Interview")), 1);
    EXPECT_EQ(listed().count(QStringLiteral("a.mov")), 0);

    // Scripts go through the same rename, refusals and all, and the list follows.
    EXPECT_FALSE(
        controller->renameRecording(QStringLiteral("b.mov"), QStringLiteral("d.mov")).isEmpty());
    EXPECT_TRUE(
        controller->renameRecording(QStringLiteral("b.mov"), QStringLiteral("bee.mov")).isEmpty());
    EXPECT_TRUE(shown().contains(QStringLiteral("bee.mov")));
    EXPECT_TRUE(exists(recordings() + "/bee.mov"));
}

TEST_F(TrackOperations, NotesAreStoredWhenTheSelectionMovesOnAndAtQuit) {
    launchWithTracks();
    // Shown for the first selected track; typing, leaving and coming back keeps it.
    select({"a.mov"});
    EXPECT_EQ(noteView().toPlainText(), QStringLiteral("note of a"));
    select({"b.mov"});
    EXPECT_TRUE(noteView().toPlainText().isEmpty());
    type(QStringLiteral("Bassoon solo at 2:10"));
    select({"a.mov"});
    EXPECT_EQ(storedNote("b"), QStringLiteral("Bassoon solo at 2:10"));
    select({"b.mov"});
    EXPECT_EQ(noteView().toPlainText(), QStringLiteral("Bassoon solo at 2:10"));

    // An emptied note is never written: the stored one comes back.
    noteView().selectAll();
    QTest::keyClick(&noteView(), Qt::Key_Delete);
    select({"d.mov"});
    EXPECT_EQ(storedNote("b"), QStringLiteral("Bassoon solo at 2:10"));
    select({"b.mov"});
    EXPECT_EQ(noteView().toPlainText(), QStringLiteral("Bassoon solo at 2:10"));

    // Renamed while shown: the note goes with it, and what was typed since is stored there.
    type(QStringLiteral("!"));
    track("b.mov")->setName(QStringLiteral("bassoon.mov"));
    EXPECT_FALSE(exists(notePath("b")));
    select({"d.mov"});
    EXPECT_EQ(storedNote("bassoon"), QStringLiteral("Bassoon solo at 2:10!"));

    // A damaged note shows what can be read and is not rewritten by merely passing by.
    QDir().mkpath(notePath("c"));
    writeFile(notePath("c") + "/TXT.rtf", "{\\rtf1{{{\\b half a no");
    const QByteArray damaged = "{\\rtf1{{{\\b half a no";
    select({"c.mov"});
    select({"d.mov"});
    QFile stored(notePath("c") + "/TXT.rtf");
    ASSERT_TRUE(stored.open(QIODevice::ReadOnly));
    EXPECT_EQ(stored.readAll(), damaged);

    // A pasted picture is stored as its own bytes and comes back as them.
    QImage picture(12, 8, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(picture.save(&buffer, "PNG"));
    select({"c.mov"});
    ASSERT_TRUE(static_cast<BVNoteTextView&>(noteView()).insertImageBytes(png));
    select({"d.mov"});
    select({"c.mov"});
    QStringList images;
    for (QTextBlock block = noteView().document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.isImageFormat())
                images << format.toImageFormat().name();
        }
    }
    ASSERT_EQ(images.size(), 1);
    EXPECT_EQ(noteView().document()->resource(QTextDocument::ImageResource, QUrl(images[0])),
              QVariant(png));
    select({"d.mov"});

    // A note set by a script for the track on show shows at once.
    QString refusal = QStringLiteral("<no answer>");
    controller->setNoteOfRecording(
        QStringLiteral("d.mov"), QStringLiteral("# Heading"), QStringLiteral("markdown"),
        [&refusal](const QString& why, const QString&) { refusal = why; });
    EXPECT_TRUE(refusal.isEmpty()) << refusal.toStdString(); // a small note, at once
    EXPECT_EQ(noteView().toPlainText(), QStringLiteral("Heading"));
    noteView().clear();

    // Typed and never left: quitting stores it.
    type(QStringLiteral("last words"));
    controller->applicationWillTerminate();
    EXPECT_EQ(storedNote("d"), QStringLiteral("last words"));
}

TEST_F(TrackOperations, ExportWritesTheShownNoteInTheChosenFormat) {
    launchWithTracks();
    select({"b.mov"});
    controller->exportNote(nullptr); // nothing to export: no panel
    EXPECT_EQ(ui->window()->findChild<QFileDialog*>(), nullptr);

    select({"a.mov"});
    type(QStringLiteral(" and more"));
    ASSERT_TRUE(QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)));
    controller->exportNote(nullptr);
    auto* panel = ui->window()->findChild<QFileDialog*>(QStringLiteral("exportNotePanel"));
    ASSERT_TRUE(panel);
    EXPECT_EQ(QFileInfo(panel->selectedFiles().value(0)).fileName(), QStringLiteral("a.odt"));
    EXPECT_EQ(panel->directory().absolutePath(),
              QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    panel->reject();

    const QString expected = QStringLiteral("note of a and more");
    for (const NoteFormats::ExportType& type : NoteFormats::exportTypes()) {
        SCOPED_TRACE(type.suffix.toStdString());
        const QString path = scratch(QStringLiteral("export.") + type.suffix);
        controller->exportSavePanelDidEndReturnCodeContextInfo(path, 1, type.nameFilter);
        ASSERT_TRUE(exists(path));
        if (type.format == NoteFormats::Format::OpenDocument)
            continue; // a zip; its text is LibreOffice's to read
        SelfContainedDocument back;
        if (type.format == NoteFormats::Format::Rtfd) {
            ASSERT_TRUE(Rtfd::read(FilePath::fromString(path), &back));
        } else {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            const QByteArray bytes = file.readAll();
            ASSERT_TRUE(NoteFormats::fromText(type.format == NoteFormats::Format::Rtf
                                                  ? QString::fromLatin1(bytes)
                                                  : QString::fromUtf8(bytes),
                                              type.format, &back, nullptr));
        }
        EXPECT_EQ(back.toPlainText().trimmed(), expected);
    }
    // Cancelled: nothing written; the stored note is neither read nor changed.
    controller->exportSavePanelDidEndReturnCodeContextInfo(scratch("no.rtf"), 0, QString());
    EXPECT_FALSE(exists(scratch("no.rtf")));
    EXPECT_EQ(storedNote("a"), QStringLiteral("note of a"));
}

// A file manager on the session bus, for the reveal to call.
class FileManager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")

public:
    QStringList shown;

public slots:
    void ShowItems(const QStringList& uris, const QString&) { shown << uris; }
};

// Where the desktop's default handler was asked to open something.
class UrlHandler : public QObject {
    Q_OBJECT

public:
    QList<QUrl> opened;

public slots:
    void open(const QUrl& url) { opened << url; }
};

TEST_F(TrackOperations, RevealShowsTheRecordingsFolderInTheFileManagerOrOpensIt) {
    launchWithTracks();
    const QUrl folder = QUrl::fromLocalFile(recordings());
    UrlHandler handler;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &handler, "open");
    const auto restore =
        qScopeGuard([] { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); });

    controller->revealInFinder(nullptr);
    EXPECT_EQ(handler.opened, QList<QUrl>{folder});

    QDBusConnection bus =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("file-manager"));
    REQUIRE_OR_SKIP_OUTSIDE_RIG(bus.isConnected(), "a session bus (scripts/test-rig.sh)");
    FileManager manager;
    ASSERT_TRUE(bus.registerObject(QStringLiteral("/org/freedesktop/FileManager1"), &manager,
                                   QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(bus.registerService(QStringLiteral("org.freedesktop.FileManager1")));
    controller->revealInFinder(nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !manager.shown.isEmpty(); }, 10000));
    EXPECT_EQ(manager.shown, QStringList{folder.toString()});
    EXPECT_EQ(handler.opened.size(), 1);
    bus.unregisterService(QStringLiteral("org.freedesktop.FileManager1"));
    QDBusConnection::disconnectFromBus(QStringLiteral("file-manager"));
}

} // namespace

#include "test_track_operations.moc"
