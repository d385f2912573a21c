#include "itunes/SyncPanel.h"

#include "itunes/SyncCoordinator.h"
#include "platform/foundation/LocalizedString.h"

#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace {
QPushButton* cancelButtonOf(QDialog* panel) {
    return panel ? panel->findChild<QPushButton*>(QStringLiteral("syncCancelButton")) : nullptr;
}
} // namespace

SyncPanel::SyncPanel(SyncCoordinator& sync, QDialog* panel, QLabel* text, QProgressBar* progress,
                     QObject* parent)
    : QObject(parent), _sync(sync), _panel(panel), _text(text), _progress(progress) {
    connect(&sync, &SyncCoordinator::started, this, &SyncPanel::started);
    connect(&sync, &SyncCoordinator::panelWanted, this, &SyncPanel::show);
    connect(&sync, &SyncCoordinator::statusChanged, this, [this](const QString& status) {
        if (_text)
            _text->setText(status);
    });
    connect(&sync, &SyncCoordinator::progressChanged, this, &SyncPanel::showProgress);
    connect(&sync, &SyncCoordinator::finished, this, &SyncPanel::finished);
    if (QPushButton* button = cancelButtonOf(panel)) {
        connect(button, &QPushButton::clicked, this, [this, button] {
            button->setEnabled(false);
            _sync.cancel(false);
        });
    }
    // Closing the panel (its close box, Escape) cancels too.
    if (panel)
        connect(panel, &QDialog::rejected, this, [this] { _sync.cancel(false); });
}

void SyncPanel::started() {
    if (_progress)
        _progress->setRange(0, 0); // moving without a known length
    if (QPushButton* button = cancelButtonOf(_panel))
        button->setEnabled(true);
}

void SyncPanel::show() {
    if (!_panel)
        return;
    _panel->setAttribute(Qt::WA_ShowWithoutActivating);
    _panel->show();
    _panel->raise();
}

void SyncPanel::showProgress(int index, int count, const QString& title, bool converting) {
    if (_text)
        _text->setText(BVLocalizedString(converting ? "SyncConverting" : "SyncCopying")
                           .arg(index)
                           .arg(count)
                           .arg(title));
    if (_progress) {
        _progress->setRange(0, count);
        _progress->setValue(index - 1);
    }
}

void SyncPanel::finished() {
    if (_text)
        _text->setText(BVLocalizedString("SyncFinished"));
    if (_progress)
        _progress->setRange(0, 1);
    if (_panel)
        _panel->hide();
}
