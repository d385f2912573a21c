// The player (stub until the playback work lands).
#include "app/BVController.h"

#include <QPixmap>

void BVController::soundPlayPause(QObject*) {}
void BVController::soundDoubleClick(QObject*) {}
void BVController::tableAction(QObject*) {}
void BVController::soundStop(QObject*) {}
void BVController::playFile(QObject*) {}
void BVController::doIdleProcessing(QTimer*) {}
const QPixmap* BVController::currentlyPlayingImage() { return nullptr; }
void BVController::setPreviouslyPlayedURL(const QUrl& url) { _previouslyPlayedURL = url; }
