#include "platform/foundation/Beep.h"

#include <QApplication>

void Beep() {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        QApplication::beep();
}
