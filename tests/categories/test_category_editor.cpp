// The Categories menu, the list's category pop-up and the category editor, through the real
// widgets.
#include "CategoryFixture.h"

#include "library/QBVTrackTableModel.h"
#include "platform/foundation/LocalizedString.h"
#include "platform/foundation/Log.h"

#include <QComboBox>
#include <QDialog>
#include <QMenu>
#include <QMenuBar>
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

    // With two selected, the menu files only the first; its check mark follows the selection.
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
    menuItem(QStringLiteral("R&&D"))->trigger();
    EXPECT_EQ(trackCategories(), (QStringList{"Talks", "R&D", "<none>"}));
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

    // Added names take the first free number.
    controller->addCategory(nullptr);
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

    // Removing moves its tracks to the first category; removing the first leaves them.
    selectEditorRow(2);
    controller->removeCategory(nullptr);
    EXPECT_EQ(trackCategories(), (QStringList{"untitled", "untitled", "untitled"}));
    selectEditorRow(0);
    controller->removeCategory(nullptr);
    EXPECT_EQ(controller->userCategories(),
              (QStringList{"untitled 2", "untitled 1", "untitled 3"}));
    EXPECT_EQ(trackCategories(), (QStringList{"untitled", "untitled", "untitled"}));

    // The last one stays, and the user is told why.
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
