#include "app/DesktopActivation.h"

#include "app/ScriptingService.h"

DesktopActivation::DesktopActivation(ScriptingService* service)
    : QDBusAbstractAdaptor(service), _service(service) {}

void DesktopActivation::Activate(const QVariantMap&) {
    _service->Activate();
}

void DesktopActivation::Open(const QStringList&, const QVariantMap&) {
    _service->Activate();
}

void DesktopActivation::ActivateAction(const QString&, const QVariantList&, const QVariantMap&) {}
