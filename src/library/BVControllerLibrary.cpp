// Library folders and file list (stub until the library work lands).
#include "app/BVController.h"

#include <QDir>

void BVController::setDataDirectory(const QString& path) { _dataDirectory = path; }
QString BVController::pathToRecordingsFolder() const { return _dataDirectory + "/Recordings"; }
QString BVController::pathToNotesFolder() const { return _dataDirectory + "/Notes"; }
void BVController::setupLibraryFolder() {}
void BVController::initializeFileListArray() {}
void BVController::updateFileList() {}
void BVController::syncLibraryLocationToPreferencesWindow() {}
void BVController::doSetDataDirectory(QObject*) {}
void BVController::locationOpenPanelDidEndReturnCodeContextInfo(const QString&, int, void*) {}
float BVController::getMovieDuration(const QString&) { return 0; }
