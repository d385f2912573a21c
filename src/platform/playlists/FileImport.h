#pragma once

#include "platform/media/AudioEncoders.h"

#include <QString>

#include <atomic>
#include <optional>

// Bringing one file into a playlist's folder: copied as it is or converted, written under a
// temporary name of its own (".import-XXXXXX", locked while written) and given its name only
// when whole and synced, readable by others (0666 less the umask, as a music daemon running as
// its own user must read it). A file already there is never replaced.
namespace FileImport {

struct Result {
    QString path;        // where the file now is; empty when it was not imported
    double seconds = -1; // its length, when known
    QString error;       // why not, in a user's words
};

// How the file is named and what a converted file is tagged with besides its title.
struct Options {
    QString fileStem;     // the name without extension; empty: the title
    bool numbered = true; // a name taken gets the next number; otherwise the import is refused
    QString comment;      // a converted file's comment tag
};

// Copies or converts `source` into `folder` as "TITLE.EXT" ("TITLE 2.EXT" and on when that is
// taken; never a hidden name). A source that is not a regular file, or that a writer still
// holds locked, is refused. `abort`, read between chunks, removes what was written.
Result importInto(const QString& source, const QString& title, const QString& folder,
                  const std::optional<AudioEncoder>& encoder, const std::atomic<bool>* abort,
                  const Options& options = {});

// Removes the temporaries an import that was killed left in `folder` (regular files named
// like ours that no import holds). Answers how many went.
int removeLeftovers(const QString& folder);

} // namespace FileImport
