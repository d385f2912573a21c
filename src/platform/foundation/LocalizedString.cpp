#include "platform/foundation/LocalizedString.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QThread>
#include <QTranslator>

#include <atomic>

namespace {
QPointer<QTranslator> gEnglish;
QPointer<QTranslator> gTranslation;
QPointer<QTranslator> gQtTranslation;
std::atomic<bool> gInstalled = false;

// Texts looked up before anyone installed the translations (tests, early start-up) still get
// their English text rather than their key. Translators are only installed from the main
// thread; worker threads just look up.
void installOnFirstUse() {
    const QCoreApplication* application = QCoreApplication::instance();
    if (!gInstalled && application && QThread::currentThread() == application->thread())
        LocalizedStrings::install();
}

void removeTranslator(QPointer<QTranslator>& translator) {
    if (!translator)
        return;
    QCoreApplication::removeTranslator(translator);
    delete translator;
}
} // namespace

QString BVLocalizedString(const char* key) {
    installOnFirstUse();
    return QCoreApplication::translate("Localizable", key);
}

QString BVLocalizedString(const char* key, int count) {
    installOnFirstUse();
    return QCoreApplication::translate("Localizable", key, nullptr, count);
}

void LocalizedStrings::install(const QLocale& locale) {
    QCoreApplication* application = QCoreApplication::instance();
    if (!application)
        return;
    gInstalled = true;
    removeTranslator(gQtTranslation);
    removeTranslator(gTranslation);
    removeTranslator(gEnglish);

    gEnglish = new QTranslator(application);
    if (gEnglish->load(QStringLiteral(":/i18n/brevoir_en.qm")))
        QCoreApplication::installTranslator(gEnglish);
    else
        removeTranslator(gEnglish);

    // load() tries each of the locale's languages in turn ("de-AT", then "de"), so regional
    // variants find their language's translation.
    gTranslation = new QTranslator(application);
    if (gTranslation->load(locale, QStringLiteral("brevoir"), QStringLiteral("_"),
                           QStringLiteral(":/i18n")) &&
        gTranslation->language() != QLatin1String("en"))
        QCoreApplication::installTranslator(gTranslation);
    else
        removeTranslator(gTranslation);
    if (!gTranslation)
        return;

    // Qt's own texts (standard buttons, file and colour dialogs, text field menus) in the same
    // language, when the system has Qt's translations installed.
    gQtTranslation = new QTranslator(application);
    if (gQtTranslation->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                             QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(gQtTranslation);
    else
        removeTranslator(gQtTranslation);
}
