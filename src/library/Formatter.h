#pragma once

#include <QString>
#include <QVariant>

// Turns a cell's value into the text a table column shows. Display only: no reverse
// conversion. Answers a null string for a value it does not take.
class Formatter {
public:
    virtual ~Formatter() = default;
    virtual QString stringForObjectValue(const QVariant& value) const = 0;
};
