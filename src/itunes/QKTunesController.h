#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>

class HandlerDescriptor;
class PlaylistComponent;

// Resource name and type of the playlist component the bridge loads.
extern const QString sScriptName; // "iTunesController"
extern const QString sScriptType; // "scpt"

// The bridge to the playlist component: loads it once and offers one method per handler,
// packing the arguments into the handler's argument list and unpacking its result. A failed
// call beeps and logs "error running script N"; the caller gets an empty answer. The methods
// may run on a worker thread (imports do), one call at a time.
class QKTunesController {
public:
    // Throws std::runtime_error("There was a problem initializing the applescript.") when the
    // component cannot be loaded.
    QKTunesController();
    ~QKTunesController();
    QKTunesController(const QKTunesController&) = delete;
    QKTunesController& operator=(const QKTunesController&) = delete;

    void createPlaylist(const QString& name);
    QStringList getTracksForPlaylist(const QString& name);
    QStringList encoderList();
    void importFilesToPlaylist(const QStringList& files, const QString& playlist);
    void importFilesToPlaylistWithEncoder(const QStringList& files, const QString& playlist,
                                          const QString& encoder);
    void removeTracks(const QStringList& tracks);

    // What the component said about the last call that failed since clearLastError(), or
    // empty: the reason users are told.
    QString lastError() const;
    void clearLastError();

    // An import's progress: file `index` of `count`, and whether it is being converted. Called
    // on the thread that runs the import.
    using Progress =
        std::function<void(int index, int count, const QString& title, bool converting)>;
    void setProgressObserver(Progress observer);
    // Stops a running import after its current file, or at once; safe from any thread. Holds
    // until clearCancel(), which whoever starts an import calls first.
    void cancelImport(bool immediately);
    void clearCancel();
    // Folders the component must never write into, nor keep its files around.
    void setProtectedFolders(const QStringList& folders);

private:
    HandlerDescriptor callHandler(const char* handler, const HandlerDescriptor& arguments,
                                  int errorNumber);
    void callForNumber(const char* handler, const HandlerDescriptor& arguments, int errorNumber);
    QStringList callForTexts(const char* handler, const HandlerDescriptor& arguments,
                             int errorNumber, const char* itemLine);

    std::unique_ptr<PlaylistComponent> _iTunesControllerScpt;
    mutable std::mutex _errorLock;
    QString _lastError;
};
