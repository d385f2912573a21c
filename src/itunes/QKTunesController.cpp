#include "itunes/QKTunesController.h"

#include "platform/foundation/Beep.h"
#include "platform/foundation/Log.h"
#include "platform/playlists/PlaylistComponent.h"

#include <QCoreApplication>
#include <QThread>
#include <QVariantMap>

const QString sScriptName = QStringLiteral("iTunesController");
const QString sScriptType = QStringLiteral("scpt");

namespace {
// Items of a list answer logged one by one; the rest are counted.
constexpr int kItemsLogged = 100;

HandlerDescriptor text(const QString& value) {
    return HandlerDescriptor::descriptorWithString(value);
}

HandlerDescriptor listOf(const QStringList& values) {
    HandlerDescriptor list = HandlerDescriptor::listDescriptor();
    for (qsizetype i = 0; i < values.size(); ++i)
        list.insertDescriptorAtIndex(text(values[i]), int(i + 1));
    return list;
}

// The beep belongs to the main thread; an import running elsewhere asks it there.
void beepFromAnyThread() {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() == app->thread())
        Beep();
    else
        QMetaObject::invokeMethod(
            app, [] { Beep(); }, Qt::QueuedConnection);
}
} // namespace

QKTunesController::QKTunesController() {
    bvLog(QStringLiteral("QKTunesController - init"));
    QString error;
    _iTunesControllerScpt = PlaylistComponents::load(sScriptName, sScriptType, &error);
    if (!_iTunesControllerScpt) {
        bvLog(error);
        throw std::runtime_error("There was a problem initializing the applescript.");
    }
}

QKTunesController::~QKTunesController() {
    bvLog(QStringLiteral("QKTunesController - dealloc"));
}

HandlerDescriptor QKTunesController::callHandler(const char* handler,
                                                 const HandlerDescriptor& arguments,
                                                 int errorNumber) {
    QVariantMap errorInfo;
    HandlerDescriptor result = _iTunesControllerScpt->callHandlerWithArgumentsErrorInfo(
        QString::fromLatin1(handler), arguments, &errorInfo);
    if (!errorInfo.isEmpty()) {
        beepFromAnyThread();
        bvLog(QStringLiteral("error running script %1").arg(errorNumber));
        const QString reason = errorInfo.value(PlaylistComponent::kErrorMessage).toString();
        std::lock_guard lock(_errorLock);
        _lastError = reason;
    }
    return result;
}

void QKTunesController::callForNumber(const char* handler, const HandlerDescriptor& arguments,
                                      int errorNumber) {
    const HandlerDescriptor result = callHandler(handler, arguments, errorNumber);
    bvLog(QStringLiteral("results: %1").arg(result.int32Value()));
}

QStringList QKTunesController::callForTexts(const char* handler, const HandlerDescriptor& arguments,
                                            int errorNumber, const char* itemLine) {
    const HandlerDescriptor result = callHandler(handler, arguments, errorNumber);
    const int count = result.numberOfItems();
    bvLog(QStringLiteral("results: %1").arg(count));
    QStringList items;
    items.reserve(count);
    for (int i = 1; i <= count; ++i) {
        const QString item = result.descriptorAtIndex(i).stringValue();
        // A playlist of 100,000 tracks would take seconds of log lines.
        if (i <= kItemsLogged)
            bvLog(QStringLiteral("%1 %2: %3").arg(QLatin1String(itemLine)).arg(i).arg(item));
        items << item;
    }
    if (count > kItemsLogged)
        bvLog(QStringLiteral("%1s %2 to %3 not logged")
                  .arg(QLatin1String(itemLine))
                  .arg(kItemsLogged + 1)
                  .arg(count));
    return items;
}

void QKTunesController::createPlaylist(const QString& name) {
    HandlerDescriptor arguments = HandlerDescriptor::listDescriptor();
    arguments.insertDescriptorAtIndex(text(name), 1);
    callForNumber("create_playlist_named", arguments, 1);
}

QStringList QKTunesController::getTracksForPlaylist(const QString& name) {
    HandlerDescriptor arguments = HandlerDescriptor::listDescriptor();
    arguments.insertDescriptorAtIndex(text(name), 1);
    return callForTexts("get_tracks_for_playlist", arguments, 2, "track");
}

QStringList QKTunesController::encoderList() {
    return callForTexts("get_encoder_list", HandlerDescriptor::listDescriptor(), 3, "encoder");
}

void QKTunesController::importFilesToPlaylist(const QStringList& files, const QString& playlist) {
    HandlerDescriptor arguments = HandlerDescriptor::listDescriptor();
    arguments.insertDescriptorAtIndex(listOf(files), 1);
    arguments.insertDescriptorAtIndex(text(playlist), 2);
    callForNumber("import_files_to_playlist", arguments, 4);
}

void QKTunesController::importFilesToPlaylistWithEncoder(const QStringList& files,
                                                         const QString& playlist,
                                                         const QString& encoder) {
    HandlerDescriptor arguments = HandlerDescriptor::listDescriptor();
    arguments.insertDescriptorAtIndex(listOf(files), 1);
    arguments.insertDescriptorAtIndex(text(playlist), 2);
    arguments.insertDescriptorAtIndex(text(encoder), 3);
    callForNumber("import_files_to_playlist_with_conversion", arguments, 5);
}

void QKTunesController::removeTracks(const QStringList& tracks) {
    HandlerDescriptor arguments = HandlerDescriptor::listDescriptor();
    arguments.insertDescriptorAtIndex(listOf(tracks), 1);
    callForNumber("remove_tracks", arguments, 6);
}

QString QKTunesController::lastError() const {
    std::lock_guard lock(_errorLock);
    return _lastError;
}

void QKTunesController::clearLastError() {
    std::lock_guard lock(_errorLock);
    _lastError.clear();
}

void QKTunesController::setProgressObserver(Progress observer) {
    if (!observer) {
        _iTunesControllerScpt->setProgressObserver({});
        return;
    }
    _iTunesControllerScpt->setProgressObserver(
        [observer = std::move(observer)](const PlaylistComponent::Progress& p) {
            observer(p.index, p.count, p.title, p.converting);
        });
}

void QKTunesController::cancelImport(bool immediately) {
    _iTunesControllerScpt->cancel(immediately);
}

void QKTunesController::clearCancel() {
    _iTunesControllerScpt->clearCancel();
}

void QKTunesController::setProtectedFolders(const QStringList& folders) {
    _iTunesControllerScpt->setProtectedFolders(folders);
}
