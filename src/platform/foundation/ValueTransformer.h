#pragma once

#include <QString>
#include <QVariant>

#include <memory>

// A one-way value converter that the interface finds by name (the duration column uses one).
class ValueTransformer {
public:
    virtual ~ValueTransformer() = default;
    virtual QVariant transformedValue(const QVariant& value) const = 0;
    virtual bool allowsReverseTransformation() const { return false; }

    static void setValueTransformerForName(std::shared_ptr<ValueTransformer> transformer,
                                           const QString& name);
    // None when no transformer was registered under the name.
    static std::shared_ptr<ValueTransformer> valueTransformerForName(const QString& name);
};
