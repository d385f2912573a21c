// Notes with their recordings, through the real controller, window and files: a rename from the
// window or a script carries the note, a delete never takes another recording's note or one
// whose recording stayed, the delete question says what goes, and a big note is read and
// written on the note worker while the window goes on.
#include "library/LibraryFixture.h"
#include "library/NoteEditor.h"
#include "library/NoteStore.h"
#include "library/QBVTrackTableModel.h"
#include "library/ShownNote.h"
#include "platform/foundation/LocalizedString.h"
#include "platform/foundation/SafeFile.h"
#include "support/ReadOnlyFolder.h"
#include "support/TestEnvironment.h"

#include <QAbstractButton>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QTextDocument>
#include <QTextEdit>

namespace {

class TrackNotes : public LibraryFixture {
protected:
    // Recordings (4 bytes each) and notes reading "note of NAME" for some of them.
    void launchWith(const QStringList& names, const QStringList& withNotes) {
        ASSERT_TRUE(QDir().mkpath(recordings()));
        ASSERT_TRUE(QDir().mkpath(library + "/Notes"));
        for (const QString& name : names)
            writeFile(recordings() + "/" + name, "take");
        launch();
        for (const QString& name : withNotes)
            writeNote(name, "note of " + name);
        ui->window()->show();
    }
    NoteStore store() const { return controller->noteStore(); }
    void writeNote(const QString& recording, const QString& text) const {
        QTextDocument document(text);
        QString reason;
        ASSERT_TRUE(store().save(recording, document, &reason)) << reason.toStdString();
    }
    bool hasNoteFolder(const QString& base) const {
        return QFileInfo::exists(library + "/Notes/" + base + ".rtfd");
    }
    // What a script asking for the note gets, once the note worker has answered.
    QString scriptNote(const QString& recording) const {
        QString answer = QStringLiteral("<no answer>");
        controller->noteOfRecording(
            recording, "plain", [&answer](const QString& refusal, const QString& note) {
                answer = refusal.isEmpty() ? note.trimmed() : "<refused> " + refusal;
            });
        finishNoteWork();
        return answer;
    }
    void finishNoteWork() const {
        controller->shownNote().finishWork();
        QCoreApplication::processEvents(); // what the worker hands back
    }
    QMessageBox* confirmation() const {
        return ui->window()->findChild<QMessageBox*>(QStringLiteral("deleteConfirmation"));
    }
    bool renameInTable(const QString& from, const QString& to) {
        QAbstractItemModel* model = table().model();
        const QModelIndex cell =
            model->index(int(shown().indexOf(from)), QBVTrackTableModel::NameColumn);
        return model->setData(cell, to, Qt::EditRole);
    }
};

TEST_F(TrackNotes, ARenameFromTheWindowOrAScriptCarriesTheNoteWhetherItIsShownOrNot) {
    launchWith({"a.mov", "b.mov", "c.mov", "x.mp3"}, {"a.mov", "b.mov", "x.mp3"});
    select({"c.mov"});

    // Not shown, from the window and from a script.
    ASSERT_TRUE(renameInTable("a.mov", "alpha.mov"));
    EXPECT_FALSE(hasNoteFolder("a"));
    EXPECT_EQ(scriptNote("alpha.mov"), "note of a.mov");
    ASSERT_EQ(controller->renameRecording("b.mov", "beta.mov"), QString());
    EXPECT_FALSE(hasNoteFolder("b"));
    EXPECT_EQ(scriptNote("beta.mov"), "note of b.mov");

    // Onto a name whose note another listed recording reads: refused, and the user told why.
    EXPECT_FALSE(renameInTable("c.mov", "x.mov"));
    EXPECT_TRUE(told().contains("x.mp3")) << told().toStdString();
    EXPECT_TRUE(QFile::exists(recordings() + "/c.mov"));
    const QString refusal = controller->renameRecording("c.mov", "x.m4a");
    EXPECT_TRUE(refusal.contains("x.mp3")) << refusal.toStdString();
    EXPECT_EQ(scriptNote("x.mp3"), "note of x.mp3");

    // Shown, with words typed since it was stored: they go with it.
    ASSERT_FALSE(controller->userCategories().isEmpty());
    track("beta.mov")->setCategory(controller->userCategories().first());
    QCoreApplication::processEvents();
    select({"beta.mov"});
    type(" and more");
    ASSERT_EQ(controller->renameRecording("beta.mov", "gamma.mov"), QString());
    EXPECT_EQ(noteView().toPlainText(), "note of b.mov and more");
    select({"c.mov"});
    EXPECT_EQ(scriptNote("gamma.mov"), "note of b.mov and more");
    EXPECT_FALSE(hasNoteFolder("beta"));

    // The database holds the new name as soon as the event loop has run.
    QCoreApplication::processEvents();
    const QByteArray database =
        SafeFile::read(FilePath::fromString(library) / "Database.plist", 1 << 20).bytes;
    EXPECT_TRUE(database.contains("gamma.mov"));
    EXPECT_FALSE(database.contains("beta.mov"));
}

TEST_F(TrackNotes, ADeleteNeverTakesTheNoteOfAListedRecordingNorOfOneThatStayed) {
    Defaults::standard().setBool(false, sPreferencesKeySafeDelete);
    launchWith({"Interview.mov", "Interview.mp3", "a.mov", "gone.mov"},
               {"Interview.mov", "a.mov", "gone.mov"});

    // Of a pair from before notes were kept apart, the one left keeps the note.
    ASSERT_EQ(controller->deleteRecording("Interview.mov"), QString());
    EXPECT_TRUE(hasNoteFolder("Interview"));
    EXPECT_EQ(scriptNote("Interview.mp3"), "note of Interview.mov");
    ASSERT_EQ(controller->deleteRecording("Interview.mp3"), QString());
    EXPECT_FALSE(hasNoteFolder("Interview"));

    // A recording that went behind the list's back: deleting its track takes the note.
    ASSERT_TRUE(QFile::remove(recordings() + "/gone.mov"));
    ASSERT_EQ(controller->deleteRecording("gone.mov"), QString());
    EXPECT_FALSE(hasNoteFolder("gone"));

    // A recording that cannot go keeps its note, and the script is told why.
    ReadOnlyFolder readOnly(recordings());
    REQUIRE_OR_SKIP_OUTSIDE_RIG(readOnly.mounted(), "permission to bind-mount (root)");
    for (const bool toTrash : {false, true}) {
        SCOPED_TRACE(toTrash ? "to the trash" : "for good");
        Defaults::standard().setBool(toTrash, sPreferencesKeySafeDelete);
        controller->updateFileList();
        const QString refusal = controller->deleteRecording("a.mov");
        EXPECT_FALSE(refusal.isEmpty());
        EXPECT_TRUE(QFile::exists(recordings() + "/a.mov"));
        EXPECT_TRUE(hasNoteFolder("a"));
    }
}

TEST_F(TrackNotes, TheDeleteQuestionNamesWhatGoesAndEnterKeepsEverything) {
    launchWith({"a.mov", "b.mov", "c.mov"}, {});
    const struct {
        QStringList selected;
        QString question;
    } cases[] = {
        {{"a.mov"}, BVLocalizedString("DeleteOneQuestion").arg("a.mov")},
        {{"a.mov", "c.mov"}, BVLocalizedString("DeleteManyQuestion", 2)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.selected.join(' ').toStdString());
        select(c.selected);
        controller->deleteFile(nullptr);
        QMessageBox* sheet = confirmation();
        ASSERT_TRUE(sheet);
        EXPECT_EQ(sheet->text(), c.question);
        EXPECT_EQ(sheet->informativeText(), BVLocalizedString("CannotUndo"));
        EXPECT_EQ(sheet->windowTitle(), BVLocalizedString("DeleteDialog"));
        ASSERT_TRUE(sheet->defaultButton());
        EXPECT_EQ(sheet->defaultButton()->text(), BVLocalizedString("Cancel"));
        QTest::keyClick(sheet, Qt::Key_Return);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(listed().size(), 3);
        EXPECT_TRUE(QFile::exists(recordings() + "/a.mov"));
    }
    EXPECT_EQ(BVLocalizedString("DeleteManyQuestion", 23), "Delete 23 recordings?");
    EXPECT_EQ(BVLocalizedString("DeleteOneQuestion").arg("Interview.mov"),
              QString::fromUtf8("Delete \u201cInterview.mov\u201d?"));
}

TEST_F(TrackNotes, ABigNoteIsReadAndWrittenOnTheWorkerWhileTheViewSaysSo) {
    launchWith({"big.mov", "small.mov"}, {"small.mov"});
    QString words;
    for (int i = 0; words.size() < 400 * 1024; ++i)
        words += QStringLiteral("Paragraph %1 of a long interview.\n").arg(i);
    writeNote("big.mov", words);
    ASSERT_TRUE(store().isLarge("big.mov"));
    ShownNote& shown = controller->shownNote();
    QSignalSpy arrived(&shown, &ShownNote::loaded);

    // Read on the worker: meanwhile the view says so and takes no typing.
    select({"big.mov"});
    auto& view = static_cast<BVNoteTextView&>(noteView());
    EXPECT_TRUE(shown.isLoading());
    EXPECT_TRUE(view.isLoading());
    EXPECT_EQ(view.placeholderText(), BVLocalizedString("NoteLoading"));
    QTest::keyClicks(&view, "lost");
    EXPECT_TRUE(view.toPlainText().isEmpty());
    ASSERT_TRUE(arrived.wait(30000));
    EXPECT_FALSE(view.isLoading());
    QTextDocument stored;
    ASSERT_EQ(store().load("big.mov", &stored).status, NoteStore::Loaded::Read);
    EXPECT_EQ(view.toPlainText(), stored.toPlainText());
    EXPECT_TRUE(view.toPlainText().startsWith("Paragraph 0 of a long interview.\nParagraph 1"));

    // Edited and left: the worker writes it while the next note shows at once.
    view.moveCursor(QTextCursor::Start);
    QTest::keyClicks(&view, "Edited. ");
    select({"small.mov"});
    EXPECT_EQ(view.toPlainText(), "note of small.mov");
    // A script asking meanwhile reads what was written, on the worker too.
    bool answered = false;
    controller->noteOfRecording("big.mov", "plain",
                                [&answered](const QString&, const QString&) { answered = true; });
    EXPECT_FALSE(answered);
    EXPECT_TRUE(scriptNote("big.mov").startsWith("Edited. Paragraph 0"));
    EXPECT_TRUE(answered);

    // A big note set by a script is written there as well, and read back whole.
    QString refusal = QStringLiteral("<no answer>");
    controller->setNoteOfRecording(
        "big.mov", "Scripted. " + words, "plain",
        [&refusal](const QString& why, const QString&) { refusal = why; });
    EXPECT_EQ(refusal, QStringLiteral("<no answer>"));
    finishNoteWork();
    EXPECT_TRUE(refusal.isEmpty()) << refusal.toStdString();
    EXPECT_TRUE(scriptNote("big.mov").startsWith("Scripted. Paragraph 0"));

    // Left before it arrives: the read that comes late is dropped.
    select({"big.mov"});
    select({"small.mov"});
    shown.finishWork();
    QCoreApplication::processEvents();
    EXPECT_EQ(view.toPlainText(), "note of small.mov");
}

TEST_F(TrackNotes, ANoteThatCannotBeReadIsSaidSoAtOnceAndLeftAsItIs) {
    launchWith({"piped.mov", "small.mov"}, {});
    QDir().mkpath(library + "/Notes/piped.rtfd");
    const QByteArray fifo = QFile::encodeName(library + "/Notes/piped.rtfd/TXT.rtf");
    ASSERT_EQ(::mkfifo(fifo.constData(), 0644), 0);
    select({"piped.mov"});
    EXPECT_TRUE(told().contains("TXT.rtf")) << told().toStdString();
    EXPECT_TRUE(noteView().toPlainText().isEmpty());
    EXPECT_TRUE(scriptNote("piped.mov").startsWith("<refused>"));
    select({"small.mov"});
    struct stat info;
    ASSERT_EQ(::lstat(fifo.constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

} // namespace
