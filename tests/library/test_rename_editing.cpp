// Renaming in the list as in a file manager: the editor selects the base name, a name typed
// without an extension keeps the old one, and click-to-rename never opens where the user no
// longer is.
#include "library/LibraryFixture.h"
#include "library/QBVTrackTableModel.h"
#include "library/RenameEditing.h"
#include "ui_MainWindow.h"

#include <QApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QTest>
#include <QTextEdit>

#include <functional>

namespace {
using Model = QBVTrackTableModel;

class RenameEditingTest : public LibraryFixture {
protected:
    void SetUp() override {
        LibraryFixture::SetUp();
        ASSERT_TRUE(QDir().mkpath(recordings()));
        for (const char* name : {"Take 1.mov", "Take 2.mov", "Take 3.mov"})
            writeFile(recordings() + "/" + name, name);
        launch();
        ui->window()->show();
        ui->window()->activateWindow();
        QApplication::processEvents();
    }
    ClickToRename& clicks() { return *table().findChild<ClickToRename*>("clickToRename"); }
    QPoint nameCell(int row) {
        return table().visualRect(table().model()->index(row, Model::NameColumn)).center();
    }
    void click(int row, Qt::KeyboardModifiers modifiers = {}) {
        QTest::mouseClick(table().viewport(), Qt::LeftButton, modifiers, nameCell(row));
    }
    // The name editor open in the list, if any.
    QLineEdit* editor() {
        auto* line = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        return line && line->parentWidget() == table().viewport() ? line : nullptr;
    }
};
} // namespace

TEST(RenameNames, TheBaseNameIsSelectedAndTheExtensionKept) {
    struct Name {
        QString old, typed, becomes;
        int base; // of the old name
    };
    const Name names[] = {
        {"Take 1.mov", "Interview with Anna", "Interview with Anna.mov", 6},
        {"Take 1.mov", "Take 1.5", "Take 1.5.mov", 6},
        {"a.b.mov", "c", "c.mov", 3},
        {"Take 1.mov", "Interview.mov", "Interview.mov", 6},
        {"Take 1.mov", "Interview.MOV", "Interview.MOV", 6},
        {"Take 1.mov", "Interview.m4a", "Interview.m4a", 6}, // another kind on purpose
        {"Take 1.mov", "Interview.", "Interview.mov", 6},
        {"Take 1.mov", "", "", 6}, // refused as it is
        {"take", "new", "new", 4},
        {".hidden", "x", "x", 7},
    };
    for (const Name& n : names) {
        EXPECT_EQ(RenameEditing::nameKeepingExtension(n.old, n.typed), n.becomes)
            << n.old.toStdString() << " / " << n.typed.toStdString();
        EXPECT_EQ(RenameEditing::baseNameLength(n.old), n.base) << n.old.toStdString();
    }
}

TEST_F(RenameEditingTest, TheEditorSelectsTheBaseNameAndATypedNameKeepsTheExtension) {
    list().setSelectionIndexes({0});
    const QString old = list().selectedObjects().front()->name();
    table().setFocus();
    ui->mainUi().actionRename->trigger();
    QLineEdit* line = editor();
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->text(), old);
    EXPECT_EQ(line->selectedText(), QFileInfo(old).completeBaseName());
    // Typing replaces the selection; Return takes it.
    QTest::keyClicks(line, "Interview with Anna");
    QTest::keyClick(line, Qt::Key_Return);
    QApplication::processEvents(); // the view takes the name once the key has been handled
    EXPECT_TRUE(QFileInfo::exists(recordings() + "/Interview with Anna.mov"));
    EXPECT_FALSE(QFileInfo::exists(recordings() + "/" + old));
    EXPECT_TRUE(listed().contains("Interview with Anna.mov"));
}

TEST_F(RenameEditingTest, AClickOnTheSelectedNameRenamesOnlyIfNothingHappensMeanwhile) {
    QTextEdit* note = ui->mainUi().notesTextView;
    struct Meanwhile {
        const char* what;
        std::function<void()> happens;
        bool opens;
    };
    const Meanwhile cases[] = {
        {"nothing", [] {}, true},
        {"the focus moves to the note", [&] { note->setFocus(); }, false},
        {"another row is selected", [&] { QTest::keyClick(&table(), Qt::Key_Down); }, false},
        {"a double-click",
         [&] { QTest::mouseDClick(table().viewport(), Qt::LeftButton, {}, nameCell(0)); }, false},
        {"the list is sorted again", [&] { list().rearrangeObjects(); }, false},
    };
    for (const Meanwhile& m : cases) {
        SCOPED_TRACE(m.what);
        controller->soundStop(nullptr);
        QApplication::processEvents();
        table().setFocus();
        list().setSelectionIndexes({0});
        // A row the program selected is only chosen by a click; the next one renames.
        click(0);
        ASSERT_FALSE(clicks().isPending());
        QTest::mouseClick(table().viewport(), Qt::LeftButton, {}, nameCell(0),
                          QApplication::doubleClickInterval() + 10);
        ASSERT_TRUE(clicks().isPending());
        m.happens();
        // The moment the editor would open.
        clicks().openPendingEditor();
        EXPECT_EQ(editor() != nullptr, m.opens);
        if (QLineEdit* line = editor()) {
            // The clicked row's base name (files made in one clock tick may sort either way).
            EXPECT_EQ(line->selectedText(), QFileInfo(shown().front()).completeBaseName());
            QTest::keyClick(line, Qt::Key_Escape);
        }
        // Typing after a cancelled rename lands where the focus is.
        if (note->hasFocus()) {
            QTest::keyClicks(note, "Cal");
            EXPECT_EQ(note->toPlainText(), "Cal");
            note->clear();
        }
    }
    QStringList names = listed();
    names.sort();
    EXPECT_EQ(names, (QStringList{"Take 1.mov", "Take 2.mov", "Take 3.mov"}));
}

TEST_F(RenameEditingTest, AClickInAMultipleSelectionNarrowsItAndNeverRenames) {
    table().setFocus();
    list().setSelectionIndexes({0, 1, 2});
    click(1);
    EXPECT_FALSE(clicks().isPending());
    ASSERT_EQ(list().selectedObjects().size(), 1u);
    EXPECT_EQ(list().selectedObjects().front()->name(), shown().at(1));
    EXPECT_EQ(editor(), nullptr);
    // A second click on it, now the only selection, renames.
    click(1);
    EXPECT_TRUE(clicks().isPending());
    clicks().cancel();
}
