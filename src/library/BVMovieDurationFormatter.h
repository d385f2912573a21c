#pragma once

#include "platform/foundation/ValueTransformer.h"

// Seconds to "HH:MM:SS.hh" for the duration column.
class BVMovieDurationFormatter : public ValueTransformer {
public:
    QVariant transformedValue(const QVariant& value) const override;
};
