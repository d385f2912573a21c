// Stub until the movie writer lands.
#include "platform/movie/MovieRepair.h"

int RepairInterruptedMovies(const QString&) { return 0; }
