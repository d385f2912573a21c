#include "app/BVController.h"

#include "platform/foundation/LocalizedString.h"
#include "platform/media/BVMovieView.h"

#include <QAction>
#include <QIcon>
#include <QLineEdit>
#include <QMainWindow>
#include <QToolBar>
#include <QWidgetAction>

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
const QString kSpace = QStringLiteral("NSToolbarSpaceItem");
const QString kFlexibleSpace = QStringLiteral("NSToolbarFlexibleSpaceItem");

QIcon toolbarImage(const QString& name) {
    return QIcon(QStringLiteral(":/images/%1.png").arg(name));
}

QWidget* spacer(bool flexible) {
    auto* widget = new QWidget;
    if (flexible)
        widget->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    else
        widget->setFixedWidth(16);
    return widget;
}
} // namespace

QStringList BVController::toolbarDefaultItemIdentifiers() const {
    return {Item1ToolbarItemIdentifier,
            Item2ToolbarItemIdentifier,
            kSpace,
            Item3ToolbarItemIdentifier,
            Item4ToolbarItemIdentifier,
            Item5ToolbarItemIdentifier,
            kFlexibleSpace,
            Item10ToolbarItemIdentifier,
            kFlexibleSpace,
            Item8ToolbarItemIdentifier,
            Item7ToolbarItemIdentifier};
}

QAction* BVController::toolbarItemForItemIdentifier(QToolBar* toolbar, const QString& identifier) {
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
        {Item7ToolbarItemIdentifier, "Sync", "sync", nullptr},
        {Item9ToolbarItemIdentifier, "DeleteToolbar", "delete", &BVController::deleteFile},
    };
    for (const ButtonItem& item : buttons) {
        if (identifier != item.identifier)
            continue;
        auto* action =
            new QAction(toolbarImage(item.image), BVLocalizedString(item.labelKey), toolbar);
        action->setObjectName(identifier);
        action->setToolTip(BVLocalizedString(item.labelKey));
        if (item.action) {
            auto method = item.action;
            QObject::connect(action, &QAction::triggered, this,
                             [this, action, method] { (this->*method)(action); });
        }
        return action;
    }
    if (identifier == Item8ToolbarItemIdentifier && searchField) {
        searchField->setMinimumWidth(30);
        searchField->setMaximumWidth(180);
        auto* action = new QWidgetAction(toolbar);
        action->setObjectName(identifier);
        action->setText(BVLocalizedString("Search"));
        action->setDefaultWidget(searchField);
        return action;
    }
    if (identifier == Item10ToolbarItemIdentifier && timerView) {
        timerView->setFixedWidth(201);
        auto* action = new QWidgetAction(toolbar);
        action->setObjectName(identifier);
        action->setDefaultWidget(timerView);
        return action;
    }
    return nullptr;
}

void BVController::buildToolbar() {
    auto* toolbar = new QToolBar(mainWindow);
    toolbar->setObjectName(ToolbarIdentifier);
    toolbar->setWindowTitle(QObject::tr("Toolbar"));
    toolbar->setMovable(false);
    toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolbar->setIconSize(QSize(32, 32));
    for (const QString& identifier : toolbarDefaultItemIdentifiers()) {
        if (identifier == kSpace || identifier == kFlexibleSpace) {
            toolbar->addWidget(spacer(identifier == kFlexibleSpace));
            continue;
        }
        if (QAction* item = toolbarItemForItemIdentifier(toolbar, identifier))
            toolbar->addAction(item);
    }
    mainWindow->addToolBar(Qt::TopToolBarArea, toolbar);
    _toolbar = toolbar;
    validateToolbar();
}

bool BVController::validateToolbarItem(QAction* item) {
    const QString identifier = item->objectName();
    const bool playing = _qtPlayer && _qtPlayer->isPlaying();
    if (identifier == Item1ToolbarItemIdentifier) {
        item->setText(BVLocalizedString(playing ? "Pause" : "Play"));
        item->setIcon(
            toolbarImage(playing ? QStringLiteral("play_pause") : QStringLiteral("play")));
        return !IsBVRecording;
    }
    if (identifier == Item2ToolbarItemIdentifier)
        return !IsBVRecording;
    if (identifier == Item3ToolbarItemIdentifier)
        return IsBVRecording;
    if (identifier == Item4ToolbarItemIdentifier) {
        item->setText(IsBVRecording ? QStringLiteral("Stop") : QStringLiteral("Rec"));
        return !playing;
    }
    if (identifier == Item5ToolbarItemIdentifier)
        return IsBVRecording;
    return true;
}

void BVController::validateToolbar() {
    if (!_toolbar)
        return;
    for (QAction* item : _toolbar->actions()) {
        if (!item->objectName().isEmpty())
            item->setEnabled(validateToolbarItem(item));
    }
}
