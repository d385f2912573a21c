#pragma once

#include <QString>

// Shows an item selected in the desktop's file manager (org.freedesktop.FileManager1 on the
// session bus); where no file manager answers there, opens it with the desktop's default
// handler (a folder on its contents, a file on its folder). Does not wait for the file manager.
namespace FileViewer {
void selectFile(const QString& path);
} // namespace FileViewer
