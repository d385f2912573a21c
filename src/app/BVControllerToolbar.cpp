#include "app/BVController.h"

#include "app/CustomizableToolbar.h"
#include "platform/foundation/LocalizedString.h"
#include "platform/media/BVMovieView.h"

#include <QAction>
#include <QIcon>
#include <QLineEdit>
#include <QMainWindow>

const QString ToolbarIdentifier = QStringLiteral("Example Toolbar Identifier");
const QString Item1ToolbarItemIdentifier = QStringLiteral("Play");
const QString Item2ToolbarItemIdentifier = QStringLiteral("Stop");
const QString Item3ToolbarItemIdentifier = QStringLiteral("Pause");
const QString Item4ToolbarItemIdentifier = QStringLiteral("Record");
const QString Item5ToolbarItemIdentifier = QStringLiteral("Snip");
const QString Item6ToolbarItemIdentifier = QStringLiteral("Timer");
const QString Item7ToolbarItemIdentifier = QStringLiteral("Sync");
const QString Item8ToolbarItemIdentifier = QStringLiteral("Search");
const QString Item9ToolbarItemIdentifier = QStringLiteral("Delete");
const QString Item10ToolbarItemIdentifier = QStringLiteral("Time");

namespace {
// The desktop's icon for an image where its theme has a fitting one; ours otherwise.
QIcon toolbarImage(const QString& name) {
    static const QHash<QString, QString> themed = {
        {QStringLiteral("play"), QStringLiteral("media-playback-start")},
        {QStringLiteral("play_pause"), QStringLiteral("media-playback-pause")},
        {QStringLiteral("stop"), QStringLiteral("media-playback-stop")},
        {QStringLiteral("pause"), QStringLiteral("media-playback-pause")},
        {QStringLiteral("record"), QStringLiteral("media-record")},
        {QStringLiteral("snip"), QStringLiteral("edit-cut")},
        {QStringLiteral("delete"), QStringLiteral("edit-delete")},
    };
    const QIcon ours(QStringLiteral(":/images/%1.png").arg(name));
    const QString theme = themed.value(name);
    return theme.isEmpty() ? ours : QIcon::fromTheme(theme, ours);
}

void setImage(QAction* item, const QString& name) {
    item->setIcon(toolbarImage(name));
    item->setProperty("image", name);
}
} // namespace

QStringList BVController::toolbarDefaultItemIdentifiers() const {
    using namespace ToolbarStandardItems;
    return {Item1ToolbarItemIdentifier,
            Item2ToolbarItemIdentifier,
            Space,
            Item3ToolbarItemIdentifier,
            Item4ToolbarItemIdentifier,
            Item5ToolbarItemIdentifier,
            FlexibleSpace,
            Item10ToolbarItemIdentifier,
            FlexibleSpace,
            Item8ToolbarItemIdentifier,
            Item7ToolbarItemIdentifier};
}

QStringList BVController::toolbarAllowedItemIdentifiers() const {
    using namespace ToolbarStandardItems;
    return {Item1ToolbarItemIdentifier,
            Item2ToolbarItemIdentifier,
            Item3ToolbarItemIdentifier,
            Item4ToolbarItemIdentifier,
            Item5ToolbarItemIdentifier,
            Item6ToolbarItemIdentifier,
            Item7ToolbarItemIdentifier,
            Item8ToolbarItemIdentifier,
            Item9ToolbarItemIdentifier,
            Item10ToolbarItemIdentifier,
            Customize,
            FlexibleSpace,
            Space,
            Separator};
}

QAction* BVController::toolbarItemForItemIdentifier(QToolBar* toolbar, const QString& identifier,
                                                    bool /*willBeInserted*/) {
    struct ButtonItem {
        const QString& identifier;
        const char* labelKey;
        const char* image;
        void (BVController::*action)(QObject*);
    };
    const ButtonItem buttons[] = {
        {Item1ToolbarItemIdentifier, "Play", "play", &BVController::soundPlayPause},
        {Item2ToolbarItemIdentifier, "Stop", "stop", &BVController::soundStop},
        {Item3ToolbarItemIdentifier, "Pause", "pause", &BVController::pauseRecording},
        {Item4ToolbarItemIdentifier, "Record", "record", &BVController::startRecording},
        {Item5ToolbarItemIdentifier, "Snip", "snip", &BVController::snipFile},
        {Item6ToolbarItemIdentifier, "Timer", "timer", &BVController::showTimerWindow},
        {Item7ToolbarItemIdentifier, "Sync", "sync", &BVController::handleSync},
        {Item9ToolbarItemIdentifier, "DeleteToolbar", "delete", &BVController::deleteFile},
    };
    for (const ButtonItem& button : buttons) {
        if (identifier != button.identifier)
            continue;
        auto* item = new QAction(BVLocalizedString(button.labelKey), toolbar);
        item->setObjectName(identifier);
        item->setProperty("paletteLabel", BVLocalizedString(button.labelKey));
        setImage(item, QString::fromLatin1(button.image));
        auto method = button.action;
        connect(item, &QAction::triggered, this, [this, item, method] { (this->*method)(item); });
        return item;
    }
    if (identifier == Item8ToolbarItemIdentifier && searchField) {
        auto* item = new HostedWidgetAction(searchField, toolbar);
        item->setObjectName(identifier);
        item->setText(BVLocalizedString("Search"));
        item->setProperty("paletteLabel", BVLocalizedString("Search"));
        searchField->setMinimumSize(30, searchField->height());
        searchField->setMaximumSize(180, searchField->height());
        return item;
    }
    if (identifier == Item10ToolbarItemIdentifier && timerView) {
        auto* item = new HostedWidgetAction(timerView, toolbar);
        item->setObjectName(identifier);
        item->setProperty("paletteLabel", BVLocalizedString("Time"));
        timerView->setMinimumSize(201, timerView->height());
        timerView->setMaximumSize(201, timerView->height());
        return item;
    }
    return nullptr;
}

void BVController::buildToolbar() {
    auto* toolbar = new CustomizableToolbar(
        ToolbarIdentifier, toolbarDefaultItemIdentifiers(), toolbarAllowedItemIdentifiers(),
        [this](QToolBar* bar, const QString& identifier, bool willBeInserted) {
            return toolbarItemForItemIdentifier(bar, identifier, willBeInserted);
        },
        mainWindow);
    toolbar->setWindowTitle(BVLocalizedString("Toolbar"));
    toolbar->setMovable(false);
    toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolbar->setIconSize(QSize(32, 32));
    connect(toolbar, &CustomizableToolbar::itemsRebuilt, this, [this] { validateToolbar(); });
    mainWindow->addToolBar(Qt::TopToolBarArea, toolbar);
    _toolbar = toolbar;
    toolbar->restoreConfiguration();
}

void BVController::runToolbarCustomizationPalette(QObject*) {
    if (auto* toolbar = qobject_cast<CustomizableToolbar*>(_toolbar))
        toolbar->runCustomizationPalette();
}

bool BVController::validateToolbarItem(QAction* item) {
    const QString identifier = item->objectName();
    const bool playing = _qtPlayer && _qtPlayer->isPlaying();
    if (identifier == Item1ToolbarItemIdentifier) {
        item->setText(BVLocalizedString(playing ? "Pause" : "Play"));
        setImage(item, playing ? QStringLiteral("play_pause") : QStringLiteral("play"));
        return !IsBVRecording;
    }
    if (identifier == Item2ToolbarItemIdentifier)
        return !IsBVRecording;
    if (identifier == Item3ToolbarItemIdentifier)
        return IsBVRecording;
    if (identifier == Item4ToolbarItemIdentifier) {
        // Short labels that say what a press does now, in the user's language.
        item->setText(BVLocalizedString(IsBVRecording ? "Stop" : "Rec"));
        return !playing;
    }
    if (identifier == Item5ToolbarItemIdentifier)
        return IsBVRecording;
    return true;
}

void BVController::validateToolbar() {
    if (_toolbar) {
        for (QAction* item : _toolbar->actions()) {
            if (!item->objectName().isEmpty())
                item->setEnabled(validateToolbarItem(item));
        }
    }
    emit interfaceStateChanged();
}
