#include "platform/foundation/Beep.h"

#include <QApplication>

#include <atomic>

namespace {
std::atomic<int> gBeeps{0};
}

void Beep() {
    gBeeps.fetch_add(1);
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        QApplication::beep();
}

int beepCount() {
    return gBeeps.load();
}
