// Categories: the user's category list and its "Database.plist", the Categories menu, the
// category pop-up's entries and the category editor.
#include "app/BVController.h"
#include "platform/foundation/LocalizedString.h"

#include "categories/BVMenuItem.h"
#include "categories/CategoryDatabase.h"
#include "categories/CategoryListModel.h"
#include "categories/CategoryStore.h"
#include "library/QBVTrack.h"
#include "library/QKArrayController.h"
#include "library/TrackNames.h"
#include "platform/foundation/Beep.h"
#include "platform/foundation/FilePath.h"
#include "platform/foundation/Log.h"

#include <QDialog>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTableView>

namespace {
QString plainTitle(const QAction* action) {
    QString title = action->text();
    title.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    return title.replace(QLatin1String("&&"), QLatin1String("&"));
}

// The submenu of the item titled `title` in `actions`, or none. A translated window names its
// menus in its own language, so the menu the form calls "menu<title>" is found too.
QMenu* submenuTitled(const QList<QAction*>& actions, const QString& title) {
    for (QAction* action : actions) {
        QMenu* menu = action->menu();
        if (menu && (plainTitle(action) == title || menu->objectName() == "menu" + title))
            return menu;
    }
    return nullptr;
}

} // namespace

void BVController::loadCategories() {
    if (!_categoryDatabase) {
        _categoryDatabase = new CategoryDatabase(
            [this] {
                return CategoryDatabase::Snapshot{_categoriesDynamicItems, mapTracksToCategories()};
            },
            this);
        connect(_categoryDatabase, &CategoryDatabase::problemToTell, this, &BVController::tellUser);
    }
    const CategoryDatabase::Opened opened =
        _categoryDatabase->open(FilePath::fromString(pathToLibraryFolder()));
    _categoriesDynamicItems =
        opened.contents.categories.value_or(CategoryStore::defaultCategories());
    _categoriesStaticItems = {CategoryStore::kSeparator, CategoryStore::editEntry()};
    buildCategoriesMenu();
    reloadCategoriesTable();
    if (opened.contents.mappings)
        restoreCategoriesToTracks(*opened.contents.mappings);
}

void BVController::unloadCategories() {
    if (_categoryDatabase)
        _categoryDatabase->close();
    _categoriesDynamicItems.clear();
    _categoriesStaticItems.clear();
}

QString BVController::saveCategories() {
    return _categoryDatabase ? _categoryDatabase->write() : QString();
}

void BVController::scheduleCategoriesSave() {
    if (_categoryDatabase)
        _categoryDatabase->scheduleWrite();
}

QVariantMap BVController::mapTracksToCategories() const {
    QVariantMap mappings;
    for (const auto& track : _fileList) {
        if (!track->category().isNull())
            mappings.insert(track->name(), track->category());
    }
    return mappings;
}

void BVController::restoreCategoriesToTracks(const QVariantMap& mappings) {
    for (const auto& track : _fileList) {
        const auto found = mappings.constFind(track->name());
        track->setCategory(found == mappings.constEnd() ? QString() : found->toString());
        if (track->category().isEmpty() && !track->category().isNull())
            track->setCategory(firstUserCategory());
    }
    if (_fileListArrayController)
        _fileListArrayController->rearrangeObjects();
}

int32_t BVController::countOfCategories() const {
    return int32_t(_categoriesDynamicItems.size() + _categoriesStaticItems.size());
}

QString BVController::objectInCategoriesAtIndex(uint32_t index) const {
    const auto users = uint32_t(_categoriesDynamicItems.size());
    if (index < users)
        return _categoriesDynamicItems.at(qsizetype(index));
    return _categoriesStaticItems.value(qsizetype(index - users));
}

QStringList BVController::categories() const {
    return _categoriesDynamicItems + _categoriesStaticItems;
}

void BVController::buildCategoriesMenu() {
    QMenu* file = mainWindow ? submenuTitled(mainWindow->menuBar()->actions(), "File") : nullptr;
    QMenu* menu = file ? submenuTitled(file->actions(), "Categories") : nullptr;
    if (!menu)
        return;
    menu->clear();
    const QString edit = CategoryStore::editEntry();
    for (const QString& entry : _categoriesDynamicItems) {
        if (entry == edit)
            continue;
        auto* item = new BVMenuItem(entry, menu);
        menu->addAction(item);
        if (item->isSeparatorItem())
            continue;
        item->setCheckable(true);
        connect(item, &QAction::triggered, this, [this, item] { changeCategory(item); });
    }
    if (!menu->isEmpty())
        menu->addSeparator();
    auto* editItem = new BVMenuItem(edit, menu);
    menu->addAction(editItem);
    connect(editItem, &QAction::triggered, this, [this, editItem] { editCategories(editItem); });
    // The check mark follows the selection, which changes while the menu is closed.
    disconnect(menu, &QMenu::aboutToShow, this, nullptr);
    connect(menu, &QMenu::aboutToShow, this, [this, menu] {
        QString current;
        if (_fileListArrayController && !_fileListArrayController->selectedObjects().empty())
            current = _fileListArrayController->selectedObjects().front()->category();
        for (QAction* item : menu->actions()) {
            if (item->isCheckable())
                item->setChecked(!current.isNull() && plainTitle(item) == current);
        }
    });
}

void BVController::changeCategory(QObject* sender) {
    const auto* item = qobject_cast<QAction*>(sender);
    if (!item || !_fileListArrayController || _fileListArrayController->selectedObjects().empty()) {
        Beep();
        return;
    }
    _fileListArrayController->selectedObjects().front()->setCategory(plainTitle(item));
    _fileListArrayController->rearrangeObjects();
    scheduleCategoriesSave();
}

void BVController::editCategories(QObject*) {
    if (!_categoriesPanel)
        return;
    reloadCategoriesTable();
    // Attached to the window but not modal: the list stays usable while the editor is open.
    if (!_categoriesPanel->isVisible())
        _categoriesPanel->setWindowModality(Qt::NonModal);
    _categoriesPanel->show();
    _categoriesPanel->raise();
    _categoriesPanel->activateWindow();
}

void BVController::endEditCategories(QObject*) {
    if (_categoriesPanel)
        _categoriesPanel->hide();
}

void BVController::addCategory(QObject*) {
    _categoriesDynamicItems.append(CategoryStore::untitledName(_categoriesDynamicItems));
    reloadCategoriesTable();
    buildCategoriesMenu();
}

void BVController::removeCategory(QObject*) {
    if (!_categoriesTable || !_categoriesTable->selectionModel())
        return;
    const QModelIndexList rows = _categoriesTable->selectionModel()->selectedRows();
    if (rows.isEmpty() || rows.first().row() >= _categoriesDynamicItems.size())
        return;
    const QString name = _categoriesDynamicItems.at(rows.first().row());
    if (_categoriesDynamicItems.count(name) == _categoriesDynamicItems.size()) {
        Beep();
        tellUser(BVLocalizedString("LastCategory"));
        return;
    }
    const QString first = _categoriesDynamicItems.first();
    for (const auto& track : _fileList) {
        if (track->category() == name)
            track->setCategory(first);
    }
    _categoriesDynamicItems.removeAll(name);
    reloadCategoriesTable();
    buildCategoriesMenu();
    if (_fileListArrayController)
        _fileListArrayController->rearrangeObjects();
}

int32_t BVController::numberOfRowsInTableView(QTableView* table) const {
    if (table != _categoriesTable)
        bvLog(QStringLiteral("wrong table !"));
    return int32_t(_categoriesDynamicItems.size());
}

QString BVController::tableViewObjectValueForTableColumnRow(QTableView*, int, int row) const {
    return _categoriesDynamicItems.value(row);
}

void BVController::tableViewSetObjectValueForTableColumnRow(QTableView*, const QString& value, int,
                                                            int row) {
    if (row < 0 || row >= _categoriesDynamicItems.size())
        return;
    const QString old = _categoriesDynamicItems.at(row);
    if (value == old)
        return;
    // It would be written into the categories file, which could then not be read back.
    if (!CategoryDatabase::nameCanBeStoredAsText(value)) {
        Beep();
        tellUser(BVLocalizedString("CategoryNameRefused"));
        reloadCategoriesTable();
        return;
    }
    _categoriesDynamicItems[row] = value;
    for (const auto& track : _fileList) {
        if (track->category() == old)
            track->setCategory(value);
    }
    buildCategoriesMenu();
    if (_fileListArrayController)
        _fileListArrayController->rearrangeObjects();
}

void BVController::handleTrackCategoryChanged(const Notification&) {
    bvLog(QStringLiteral("time for some sheet action..."));
    editCategories(nullptr);
}

void BVController::reloadCategoriesTable() {
    if (!_categoriesTable)
        return;
    if (auto* model = qobject_cast<CategoryListModel*>(_categoriesTable->model()))
        model->reloadData();
}

QString BVController::setCategoryOfRecording(const QString& name, const QString& category) {
    if (!_categoryDatabase || !_categoryDatabase->isOpen())
        return BVLocalizedString("LibraryNotOpen");
    if (!_categoriesDynamicItems.contains(category) || category == CategoryStore::kSeparator ||
        category == CategoryStore::editEntry())
        return BVLocalizedString("NotACategory").arg(category);
    std::shared_ptr<QBVTrack> track;
    if (const QString refusal = recordingForScript(name, &track); !refusal.isEmpty())
        return refusal;
    track->setCategory(category);
    if (_fileListArrayController)
        _fileListArrayController->rearrangeObjects();
    // The caller may read the file as soon as we answer, or learns why it cannot.
    return saveCategories();
}
