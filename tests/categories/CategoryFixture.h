#pragma once

#include "app/BVController.h"
#include "categories/CategoryDatabase.h"
#include "categories/CategoryStore.h"
#include "library/LibraryFixture.h"
#include "platform/foundation/PropertyList.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QMainWindow>
#include <QProcess>
#include <QStatusBar>

#include <map>

// A library with recordings and a "Database.plist" of our choosing, and another property-list
// implementation (Python's plistlib, plistutil) to write and read that file.
class CategoryFixture : public LibraryFixture {
protected:
    QString database() const { return library + QStringLiteral("/Database.plist"); }

    void makeRecordings(const QStringList& names) {
        ASSERT_TRUE(QDir().mkpath(recordings()));
        for (const QString& name : names)
            writeFile(recordings() + QLatin1Char('/') + name, name.toUtf8());
    }

    // Python's plistlib writes `json` (keys in the order given) as "xml" or "bin".
    static void writeWithPython(const QString& path, const QByteArray& json, const char* format) {
        QProcess python;
        python.start(QStringLiteral("python3"),
                     {QStringLiteral("-c"),
                      QStringLiteral("import plistlib,json,sys\n"
                                     "d=json.loads(sys.stdin.read())\n"
                                     "f=plistlib.FMT_BINARY if sys.argv[1]=='bin' else "
                                     "plistlib.FMT_XML\n"
                                     "open(sys.argv[2],'wb').write(plistlib.dumps(d,fmt=f,"
                                     "sort_keys=False))"),
                      QString::fromLatin1(format), path});
        python.write(json);
        python.closeWriteChannel();
        ASSERT_TRUE(python.waitForFinished(30000));
        ASSERT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    }

    // What Python's plistlib reads from the file (data as hex text), or an invalid value when it
    // refuses it.
    static QVariant readWithPython(const QString& path) {
        QProcess python;
        python.start(QStringLiteral("python3"),
                     {QStringLiteral("-c"),
                      QStringLiteral("import plistlib,json,sys\n"
                                     "print(json.dumps(plistlib.load(open(sys.argv[1],'rb')),"
                                     "default=lambda b: b.hex()))"),
                      path});
        if (!python.waitForFinished(30000) || python.exitCode() != 0)
            return {};
        return QJsonDocument::fromJson(python.readAllStandardOutput()).toVariant();
    }

    // The tracks' categories in the order of their names.
    QStringList trackCategories() const {
        std::map<QString, QString> byName;
        for (const auto& t : controller->fileList())
            byName[t->name()] = t->category().isNull() ? QStringLiteral("<none>") : t->category();
        QStringList all;
        for (const auto& [name, category] : byName)
            all << category;
        return all;
    }

    // The deferred write of the database runs when control returns to the event loop.
    static void returnToEventLoop() { QCoreApplication::processEvents(); }

    QVariantMap stored() const { return PropertyList::readDictionary(database()).dictionary; }
    QString told() const { return ui->window()->statusBar()->currentMessage(); }
};
