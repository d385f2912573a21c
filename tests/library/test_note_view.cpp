// The note view takes typing only while it has one recording to give it to.
#include "library/LibraryFixture.h"
#include "library/NoteEditor.h"
#include "ui_MainWindow.h"

#include <QApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QTest>

#include <functional>

namespace {
class NoteViewTest : public LibraryFixture {};
} // namespace

TEST_F(NoteViewTest, WithoutExactlyOneSelectedRecordingTheNoteIsReadOnlyAndSaysWhy) {
    ASSERT_TRUE(QDir().mkpath(recordings()));
    for (const char* name : {"a.mov", "b.mov", "c.mov"})
        writeFile(recordings() + "/" + name, name);
    launch();
    ui->window()->show();
    Ui::MainWindow& w = ui->mainUi();
    BVNoteTextView& note = *w.notesTextView;

    struct Selection {
        const char* what;
        std::function<void()> select;
        bool writable;
        QString says; // the start of the placeholder
    };
    const Selection selections[] = {
        {"nothing selected", [&] { list().setSelectionIndexes({}); }, false, "Select a recording"},
        {"one", [&] { list().setSelectionIndexes({0}); }, true, "A note about"},
        {"three",
         [&] {
             list().setSelectionIndexes({0, 1, 2});
         },
         false, "3 recordings are selected"},
        {"a search that matches nothing", [&] { w.searchField->setText("no such take"); }, false,
         "Select a recording"},
        {"the search cleared, one selected",
         [&] {
             w.searchField->clear();
             list().setSelectionIndexes({1});
         },
         true, "A note about"},
    };
    for (const Selection& s : selections) {
        SCOPED_TRACE(s.what);
        s.select();
        EXPECT_EQ(note.isReadOnly(), !s.writable);
        EXPECT_TRUE(note.placeholderText().startsWith(s.says))
            << note.placeholderText().toStdString();
        EXPECT_EQ(w.noteFormatBar->isEnabled(), s.writable);
        const QString before = note.toPlainText();
        note.setFocus();
        QTest::keyClicks(&note, "typed");
        EXPECT_EQ(note.toPlainText(), s.writable ? before + "typed" : before);
        note.selectAll();
        if (s.writable)
            QTest::keyClick(&note, Qt::Key_Delete);
    }
}
