#include "itunes/SyncSession.h"

#include "itunes/QKTunesController.h"
#include "platform/foundation/LocalizedString.h"
#include "platform/foundation/Log.h"
#include "platform/playlists/BackgroundCall.h"

#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

SyncSession::SyncSession(QKTunesController& bridge, QDialog* panel, QLabel* text,
                         QProgressBar* progress)
    : _bridge(bridge), _text(text), _progress(progress) {
    _bridge.clearCancel();
    _bridge.setProgressObserver(
        [this](int index, int count, const QString& title, bool converting) {
            // From the worker: shown once the main thread gets to it.
            QMetaObject::invokeMethod(
                this, [=, this] { showProgress(index, count, title, converting); },
                Qt::QueuedConnection);
        });
    if (!panel)
        return;
    if (auto* button = panel->findChild<QPushButton*>(QStringLiteral("syncCancelButton"))) {
        button->setEnabled(true);
        connect(button, &QPushButton::clicked, this, [this, button] {
            button->setEnabled(false);
            cancel(false);
        });
    }
    // Closing the panel (its close box, Escape) cancels too.
    connect(panel, &QDialog::rejected, this, [this] { cancel(false); });
}

SyncSession::~SyncSession() {
    if (importRunning())
        cancel(true);
    waitForImport();
    detach();
}

void SyncSession::detach() {
    if (_detached)
        return;
    waitForImport();
    _bridge.setProgressObserver({});
    disconnect(this, &SyncSession::importFinished, nullptr, nullptr);
    _detached = true;
}

void SyncSession::runImport(std::function<void()> import) {
    _worker = new BackgroundCall(this);
    connect(_worker, &BackgroundCall::finished, this, &SyncSession::importFinished);
    _worker->start(std::move(import));
}

bool SyncSession::importRunning() const {
    return _worker && _worker->isRunning();
}

void SyncSession::cancel(bool immediately) {
    if (_detached)
        return;
    if (!_cancelled)
        bvLog(QStringLiteral("sync cancelled"));
    _cancelled = true;
    _bridge.cancelImport(immediately);
}

void SyncSession::waitForImport() {
    if (_worker)
        _worker->wait();
}

void SyncSession::showProgress(int index, int count, const QString& title, bool converting) {
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
