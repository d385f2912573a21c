#pragma once

#include <QString>

// Completes, in place, every movie in the folder that a crash left without a movie header:
// each becomes a playable movie of every whole frame that reached the disk, and a log line
// names it. Files locked by a running recording (here or in another process) are left alone.
// Answers how many files were repaired.
int RepairInterruptedMovies(const QString& folder);
