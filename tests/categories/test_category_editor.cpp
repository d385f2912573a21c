// The Categories menu, the list's category pop-up and the category editor, through the real
// widgets.
#include "CategoryFixture.h"

#include "library/QBVTrackTableModel.h"
#include "platform/foundation/LocalizedString.h"
#include "platform/foundation/Log.h"

#include <QAbstractButton>
#include <QActionGroup>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>

namespace {

class CategoryEditing : public CategoryFixture {
protected:
    void launchWith(const QStringList& categories, const QVariantMap& mappings) {
        makeRecordings({"a.mov", "b.mov", "c.mov"});
        writeFile(database(), PropertyList::xmlFromDictionary(
                                  CategoryDatabase::dictionaryOf(categories, mappings)));
        launch();
        ui->window()->show();
        list().setSortDescriptor(QBVTrackTableModel::NameColumn, Qt::AscendingOrder);
    }

    QMenu* categoriesMenu() const {
        for (QAction* file : ui->window()->menuBar()->actions()) {
            if (!file->menu())
                continue;
            for (QAction* item : file->menu()->actions()) {
                if (item->menu() && item->text().remove('&') == QLatin1String("Categories"))
                    return item->menu();
            }
        }
        return nullptr;
    }
    // The menu's titles, "|" for a separator.
    QStringList menuTitles() const {
        QStringList titles;
        for (QAction* item : categoriesMenu()->actions())
            titles << (item->isSeparator() ? QStringLiteral("|") : item->text());
        return titles;
    }
    QAction* menuItem(const QString& title) const {
        for (QAction* item : categoriesMenu()->actions()) {
            if (item->text() == title)
                return item;
        }
        return nullptr;
    }

    // Opens the pop-up of a row's category cell.
    QComboBox* popUpOfRow(int row) {
        const QModelIndex cell = list().model()->index(row, QBVTrackTableModel::CategoryColumn);
        table().setCurrentIndex(cell);
        table().edit(cell);
        return qobject_cast<QComboBox*>(table().indexWidget(cell));
    }
    QStringList popUpEntries(QComboBox* popUp) const {
        QStringList entries;
        for (int i = 0; i < popUp->count(); ++i) {
            const bool separator = popUp->itemData(i, Qt::AccessibleDescriptionRole).toString() ==
                                   QLatin1String("separator");
            entries << (separator ? QStringLiteral("|") : popUp->itemText(i));
        }
        return entries;
    }
    static void choose(QComboBox* popUp, const QString& entry) {
        const int index = popUp->findText(entry, Qt::MatchExactly);
        ASSERT_GE(index, 0) << entry.toStdString();
        popUp->setCurrentIndex(index);
        emit popUp->activated(index);
    }

    QTableView& editorTable() const { return *controller->_categoriesTable; }
    void selectEditorRow(int row) {
        editorTable().selectionModel()->select(editorTable().model()->index(row, 0),
                                               QItemSelectionModel::ClearAndSelect |
                                                   QItemSelectionModel::Rows);
    }
    // Answers the removal's question; what it asked.
    QString answerRemoval(bool remove) {
        auto* ask = controller->_categoriesPanel->findChild<QMessageBox*>("removeCategoryQuestion");
        if (!ask)
            return QStringLiteral("no question");
        const QString question = ask->text();
        EXPECT_EQ(static_cast<QAbstractButton*>(ask->defaultButton()),
                  ask->button(QMessageBox::Cancel));
        for (QAbstractButton* button : ask->buttons()) {
            if ((ask->buttonRole(button) == QMessageBox::DestructiveRole) == remove) {
                button->click();
                break;
            }
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return question;
    }
    void renameInEditor(int row, const QString& name) {
        editorTable().model()->setData(editorTable().model()->index(row, 0), name, Qt::EditRole);
    }
};

} // namespace

TEST_F(CategoryEditing, MenuAndPopUpOfferTheListWithSeparatorsAndFileTheSelection) {
    launchWith({"Talks", "-", CategoryStore::editEntry(), "R&D"}, {{"b.mov", "Talks"}});
    // "-" is a separator in both; a category named like the edit entry gets no menu item.
    EXPECT_EQ(menuTitles(), (QStringList{"Talks", "|", "R&&D", "|", CategoryStore::editEntry()}));
    QComboBox* popUp = popUpOfRow(1);
    ASSERT_NE(popUp, nullptr);
    EXPECT_EQ(popUpEntries(popUp), (QStringList{"Talks", "|", CategoryStore::editEntry(), "R&D",
                                                "|", CategoryStore::editEntry()}));
    EXPECT_EQ(popUp->currentText(), QStringLiteral("Talks"));

    // A choice in the pop-up files the row's track and reaches the file.
    choose(popUp, QStringLiteral("R&D"));
    EXPECT_EQ(trackCategories(), (QStringList{"<none>", "R&D", "<none>"}));
    returnToEventLoop();
    EXPECT_EQ(stored().value("category mappings").toMap(), (QVariantMap{{"b.mov", "R&D"}}));

    // With two selected, the menu files only the first; its check mark follows the selection,
    // one item at most, and with nothing selected its items rest.
    EXPECT_TRUE(menuItem(QStringLiteral("Talks"))->actionGroup()->isExclusive());
    list().setSelectionIndexes({0, 2});
    menuItem(QStringLiteral("Talks"))->trigger();
    EXPECT_EQ(trackCategories(), (QStringList{"Talks", "R&D", "<none>"}));
    emit categoriesMenu()->aboutToShow();
    EXPECT_TRUE(menuItem(QStringLiteral("Talks"))->isChecked());
    EXPECT_FALSE(menuItem(QStringLiteral("R&&D"))->isChecked());
    returnToEventLoop();
    EXPECT_EQ(stored().value("category mappings").toMap(),
              (QVariantMap{{"a.mov", "Talks"}, {"b.mov", "R&D"}}));

    // Without a selection nothing changes.
    list().setSelectionIndexes({});
    EXPECT_FALSE(menuItem(QStringLiteral("R&&D"))->isEnabled());
    EXPECT_FALSE(menuItem(QStringLiteral("Talks"))->isChecked());
    EXPECT_TRUE(menuItem(CategoryStore::editEntry())->isEnabled());
    menuItem(QStringLiteral("R&&D"))->trigger();
    EXPECT_EQ(trackCategories(), (QStringList{"Talks", "R&D", "<none>"}));
    list().setSelectionIndexes({1});
    EXPECT_TRUE(menuItem(QStringLiteral("R&&D"))->isEnabled());
    EXPECT_TRUE(menuItem(QStringLiteral("R&&D"))->isChecked());
}

TEST_F(CategoryEditing, ThePopUpsEditEntryOpensTheEditorInTheTranslatedText) {
    // The English translation spells the entry with an ellipsis character.
    LocalizedStrings::install();
    ASSERT_EQ(CategoryStore::editEntry(), QStringLiteral("Edit…"));
    launchWith({"Talks", "Songs"}, {{"a.mov", "Songs"}});
    EXPECT_FALSE(controller->_categoriesPanel->isVisible());
    LogCapture log;
    choose(popUpOfRow(0), QStringLiteral("Edit…"));
    EXPECT_TRUE(controller->_categoriesPanel->isVisible());
    EXPECT_TRUE(log.contains(QStringLiteral("time for some sheet action...")));
    EXPECT_EQ(trackCategories(), (QStringList{"Songs", "<none>", "<none>"}));
    EXPECT_EQ(editorTable().model()->rowCount(), 2);
    controller->endEditCategories(nullptr);
    EXPECT_FALSE(controller->_categoriesPanel->isVisible());
}

TEST_F(CategoryEditing, AddRenameAndRemoveInTheEditor) {
    launchWith({"untitled", "untitled 2", "Songs"},
               {{"a.mov", "untitled"}, {"b.mov", "Songs"}, {"c.mov", "Songs"}});
    controller->editCategories(nullptr);

    // Added names take the first free number; the new row opens for typing its name.
    controller->addCategory(nullptr);
    QLineEdit* naming = editorTable().viewport()->findChild<QLineEdit*>();
    ASSERT_NE(naming, nullptr);
    EXPECT_TRUE(naming->isVisible());
    EXPECT_EQ(naming->text(), "untitled 1");
    EXPECT_EQ(editorTable().currentIndex().row(), 3);
    controller->addCategory(nullptr);
    EXPECT_EQ(controller->userCategories(),
              (QStringList{"untitled", "untitled 2", "Songs", "untitled 1", "untitled 3"}));
    EXPECT_EQ(editorTable().model()->rowCount(), 5);
    EXPECT_EQ(menuTitles().mid(0, 5), controller->userCategories());

    // Renaming relabels the tracks of that category only, and is written once.
    renameInEditor(2, QStringLiteral("Lieder"));
    EXPECT_EQ(trackCategories(), (QStringList{"untitled", "Lieder", "Lieder"}));
    EXPECT_TRUE(menuTitles().contains(QStringLiteral("Lieder")));
    returnToEventLoop();
    EXPECT_EQ(stored().value("categories").toStringList(), controller->userCategories());
    renameInEditor(2, QStringLiteral("Lieder")); // the same name changes nothing

    // Removing a category recordings use says how many move where, and asks; Cancel keeps it.
    selectEditorRow(2);
    controller->removeCategory(nullptr);
    EXPECT_TRUE(answerRemoval(false).contains("The 2 recordings filed under it move to "
                                              "“untitled”"));
    EXPECT_TRUE(controller->userCategories().contains("Lieder"));
    EXPECT_EQ(trackCategories(), (QStringList{"untitled", "Lieder", "Lieder"}));
    // Removing moves its tracks to the first category; removing the first leaves them.
    controller->removeCategory(nullptr);
    answerRemoval(true);
    EXPECT_EQ(trackCategories(), (QStringList{"untitled", "untitled", "untitled"}));
    selectEditorRow(0);
    controller->removeCategory(nullptr);
    EXPECT_TRUE(answerRemoval(true).contains("keep it as their category"));
    EXPECT_EQ(controller->userCategories(),
              (QStringList{"untitled 2", "untitled 1", "untitled 3"}));
    EXPECT_EQ(trackCategories(), (QStringList{"untitled", "untitled", "untitled"}));

    // One nobody uses goes at once; the last one stays, and the user is told why.
    for (int i = 0; i < 2; ++i) {
        selectEditorRow(0);
        controller->removeCategory(nullptr);
    }
    selectEditorRow(0);
    controller->removeCategory(nullptr);
    EXPECT_EQ(controller->userCategories(), QStringList{"untitled 3"});
    EXPECT_FALSE(told().isEmpty());
    EXPECT_EQ(menuTitles(), (QStringList{"untitled 3", "|", CategoryStore::editEntry()}));
}
