#pragma once

#include <QByteArray>
#include <QString>

// File operations on paths given as the file system's bytes, each of which checks that it
// really happened before it answers success. Failures answer false with an errno value in
// *error and a sentence for people in *reason.
namespace FileOperations {

struct Failure {
    int error = 0; // errno
    QString reason;
};

// Renames `from` to `to` without ever replacing what is at `to`, even when another program
// creates it at the same moment.
bool renameWithoutReplacing(const QByteArray& from, const QByteArray& to, Failure* failure);

// Moves a file or folder to the desktop's trash (Trash::moveToTrash: the trash of its own file
// system, its .trashinfo written first). Succeeds only when the item has left its folder.
bool moveToTrash(const QByteArray& path, Failure* failure);

// Removes a file, or a folder with everything in it, for good.
bool destroy(const QByteArray& path, Failure* failure);

// The home trash: $XDG_DATA_HOME/Trash, or ~/.local/share/Trash.
QString homeTrashFolder();

} // namespace FileOperations
