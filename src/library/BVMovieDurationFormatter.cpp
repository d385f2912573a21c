// Stub until the library work lands.
#include "library/BVMovieDurationFormatter.h"

QVariant BVMovieDurationFormatter::transformedValue(const QVariant&) const { return QString(); }
