#include "platform/foundation/BundleResources.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString BundleResources::path(const QString& relative) {
    QStringList places;
    if (QCoreApplication::instance())
        places << QCoreApplication::applicationDirPath() + QStringLiteral("/../share/brevoir/");
#ifdef BREVOIR_SOURCE_RESOURCES
    places << QStringLiteral(BREVOIR_SOURCE_RESOURCES "/");
#endif
    for (const QString& place : places) {
        const QString candidate = QDir::cleanPath(place + relative);
        if (QFileInfo::exists(candidate))
            return candidate;
    }
    return QString();
}
