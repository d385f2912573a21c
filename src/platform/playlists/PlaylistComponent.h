#pragma once

#include "platform/playlists/HandlerDescriptor.h"

#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>

// A component that keeps named playlists of tracks named by title, driven through named
// handlers: each call is an event carrying the handler's name and its argument list, answered
// by a result or by error information. Playlist backends (M3U files, a music player daemon)
// implement executeAppleEvent.
class PlaylistComponent {
public:
    static const QString kErrorMessage; // error information: why the call failed
    static const QString kErrorNumber;  // error information: a number, as components give

    virtual ~PlaylistComponent();

    // Runs the handler the event names ('snam') with the arguments of its direct parameter.
    // On failure fills *errorInfo and answers none.
    virtual HandlerDescriptor executeAppleEvent(const HandlerEvent& event,
                                                QVariantMap* errorInfo) = 0;

    // Builds the handler event, addressed to this process, and has the component run it.
    HandlerDescriptor callHandlerWithArgumentsErrorInfo(const QString& handler,
                                                        const HandlerDescriptor& arguments,
                                                        QVariantMap* errorInfo);

    // What an import is doing: file `index` (1-based) of `count`, titled `title`.
    struct Progress {
        int index = 0;
        int count = 0;
        QString title;
        bool converting = false;
    };
    using ProgressObserver = std::function<void(const Progress&)>;
    // Called on the thread that runs the import, before each file.
    void setProgressObserver(ProgressObserver observer);

    // Stops a running import after the file in hand, or at once (that file's partial output is
    // removed). Safe from any thread; holds until clearCancel().
    void cancel(bool immediately);
    // Before an import is started, so that a cancel arriving as it starts is not lost.
    void clearCancel();

    // Folders the component must never write into, nor keep a playlist's files in a folder that
    // holds one (the folder the files come from). A call that would is refused with the reason.
    // Safe from any thread.
    void setProtectedFolders(const QStringList& folders);
    QStringList protectedFolders() const;

protected:
    void reportProgress(const Progress& progress);
    bool cancelRequested() const { return _cancel.load(); }
    const std::atomic<bool>* abortFlag() const { return &_abort; }

private:
    mutable std::mutex _observerLock; // also guards the protected folders
    QStringList _protectedFolders;
    ProgressObserver _observer;
    std::atomic<bool> _cancel{false};
    std::atomic<bool> _abort{false};
};

// The components a resource name can load, so that a backend is chosen by name.
namespace PlaylistComponents {
using Factory = std::function<std::unique_ptr<PlaylistComponent>()>;

// The component registered for "NAME.TYPE"; none (with the reason) when there is none or it
// cannot be set up.
std::unique_ptr<PlaylistComponent> load(const QString& resourceName, const QString& type,
                                        QString* error);
// Registers (or, with an empty factory, removes) the component of a resource file name.
void setFactory(const QString& resourceFileName, Factory factory);
// Puts back the built-in registrations.
void restoreDefaults();
} // namespace PlaylistComponents
