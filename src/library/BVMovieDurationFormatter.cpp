#include "library/BVMovieDurationFormatter.h"

#include <cmath>
#include <cstdio>

QVariant BVMovieDurationFormatter::transformedValue(const QVariant& value) const {
    // Hundredths from the float value, whole seconds from the value truncated: the arithmetic
    // the column has always used (65.257 shows .25, not .26).
    const double v = value.toDouble();
    if (!std::isfinite(v) || std::fabs(v) > 1e12) // not a length any file has
        return QStringLiteral("00:00:00.00");
    const float f = static_cast<float>(v);
    const long hundredthsTotal = static_cast<long>(f * 100.0f);
    const long s = static_cast<long>(v);
    char text[64];
    std::snprintf(text, sizeof text, "%02ld:%02ld:%02ld.%02ld", s / 3600, (s / 60) % 60, s % 60,
                  hundredthsTotal % 100);
    return QString::fromLatin1(text);
}
