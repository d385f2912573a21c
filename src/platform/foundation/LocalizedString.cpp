#include "platform/foundation/LocalizedString.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

QString BVLocalizedString(const char* key) {
    return QCoreApplication::translate("Localizable", key);
}

void LocalizedStrings::install() {
    static QTranslator* translator = nullptr;
    if (translator || !QCoreApplication::instance())
        return;
    translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QLocale(), QStringLiteral("brevoir"), QStringLiteral("_"),
                          QStringLiteral(":/i18n")) &&
        !translator->load(QStringLiteral(":/i18n/brevoir_en.qm"))) {
        delete translator;
        translator = nullptr;
        return;
    }
    QCoreApplication::installTranslator(translator);
}
