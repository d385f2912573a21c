#pragma once

#include "library/Formatter.h"

#include <QObject>

// Byte counts as "%.f Bytes", "%.f KB", "%.1f MB" or "%.1f GB", in the 32-bit float arithmetic
// the size column has always shown. Counts of exactly 1024 and 2^20 still take the lower unit.
QString byteCountText(float bytes);

// The size column's formatter: the byte-count text for a number, none for anything else.
class QKFileSizeFormatter : public Formatter {
public:
    QString stringForObjectValue(const QVariant& value) const override;
};

// The same rule as an object the controller keeps an outlet to.
class convertBytes : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;
    QString convertFromBytes(float bytes) const { return byteCountText(bytes); }
};
