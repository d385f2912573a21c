#pragma once

#include "platform/foundation/ValueTransformer.h"

// Seconds to "HH:MM:SS.hh" for the duration column; hours are not wrapped at 24. Registered
// under the name "BVMovieDurationFormatter", where the table finds it.
class BVMovieDurationFormatter : public ValueTransformer {
public:
    // A number of seconds to its text (a QString); none counts as 0.
    QVariant transformedValue(const QVariant& value) const override;
    // The class of what transformedValue answers.
    static QMetaType transformedValueClass() { return QMetaType::fromType<QString>(); }
};
