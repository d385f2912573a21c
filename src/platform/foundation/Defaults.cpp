#include "platform/foundation/Defaults.h"

#include "platform/foundation/FilePath.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/SafeFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <sys/stat.h>

namespace {
// Far more than any settings we write; a larger file is not ours to parse at every launch.
constexpr qint64 kMaxSettingsBytes = 4 * 1024 * 1024;

bool truthOf(const QVariant& value) {
    if (value.typeId() == QMetaType::QString || value.typeId() == QMetaType::QByteArray) {
        const QString text = value.toString().trimmed();
        if (text.isEmpty())
            return false;
        const QChar first = text.at(0).toUpper();
        // Like the platform's boolean read: "YES"/"true"/non-zero numbers are true.
        if (first == u'Y' || first == u'T')
            return true;
        bool isNumber = false;
        const double number = text.toDouble(&isNumber);
        return isNumber && number != 0.0;
    }
    return value.toBool();
}
} // namespace

Defaults::Defaults() {
    open();
    if (auto* app = QCoreApplication::instance())
        QObject::connect(app, &QCoreApplication::aboutToQuit, [this] { synchronize(); });
}

Defaults::~Defaults() {
    // What was set after the last synchronisation reaches the file too.
    synchronize();
}

Defaults& Defaults::standard() {
    static Defaults store;
    return store;
}

void Defaults::registerDefaults(const QVariantMap& fallbacks) {
    for (auto it = fallbacks.begin(); it != fallbacks.end(); ++it)
        _fallbacks.insert(it.key(), it.value());
}

QVariant Defaults::objectForKey(const QString& key) const {
    if (hasStoredValue(key))
        return _settings ? _settings->value(key) : _volatile.value(key);
    return _fallbacks.value(key);
}

bool Defaults::hasStoredValue(const QString& key) const {
    return _settings ? _settings->contains(key) : _volatile.contains(key);
}

QString Defaults::stringForKey(const QString& key) const {
    const QVariant value = objectForKey(key);
    if (!value.isValid() || value.typeId() == QMetaType::QStringList ||
        value.typeId() == QMetaType::QVariantList)
        return QString();
    return value.toString();
}

qint64 Defaults::integerForKey(const QString& key) const {
    const QVariant value = objectForKey(key);
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? 1 : 0;
    // A boolean stored in words ("YES", "true"...) counts as 1 or 0, as a number would.
    const QString text = value.toString().trimmed();
    if (!text.isEmpty() && text.at(0).isLetter())
        return truthOf(value) ? 1 : 0;
    bool ok = false;
    const qint64 number = value.toLongLong(&ok);
    if (ok)
        return number;
    return static_cast<qint64>(value.toString().trimmed().toDouble());
}

bool Defaults::boolForKey(const QString& key) const {
    return truthOf(objectForKey(key));
}

QByteArray Defaults::dataForKey(const QString& key) const {
    const QVariant value = objectForKey(key);
    if (value.typeId() != QMetaType::QByteArray)
        return QByteArray();
    return value.toByteArray();
}

QStringList Defaults::stringArrayForKey(const QString& key) const {
    const QVariant value = objectForKey(key);
    if (!value.isValid())
        return {};
    // The settings file keeps a one-element list as a plain string.
    return value.toStringList();
}

void Defaults::setObject(const QVariant& value, const QString& key) {
    if (!value.isValid()) {
        removeObject(key);
        return;
    }
    if (_settings)
        _settings->setValue(key, value);
    else
        _volatile.insert(key, value);
}

void Defaults::removeObject(const QString& key) {
    if (_settings)
        _settings->remove(key);
    else
        _volatile.remove(key);
}

// QSettings works on a private copy of the file and never sees the file itself: it would
// open() a FIFO put in its place and wait there for ever (at launch, or at any later sync), and
// write it back however the write went. The file is read here without blocking and only when
// it is a regular file, and written back all or nothing.
void Defaults::open() {
    _fileName = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                QStringLiteral("/Brevoir/Brevoir.conf");
    const FilePath path = FilePath::fromString(_fileName);
    const SafeFile::Contents contents = SafeFile::read(path, kMaxSettingsBytes);
    _persistent = contents.status != SafeFile::Contents::Refused;
    _written = contents.bytes;
    // A link is read where it leads, but never written through.
    struct stat info;
    if (_persistent && ::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        _persistent = false;
        _problem = SafeFile::notARegularFileReason(path, info.st_mode);
        bvLog(QStringLiteral("settings are kept for this run only: %1").arg(_problem));
    }
    if (contents.status == SafeFile::Contents::Refused) {
        _problem = contents.problem.reason;
        bvLog(QStringLiteral("settings are kept for this run only: %1").arg(_problem));
    }
    _workFolder = std::make_unique<QTemporaryDir>();
    const QString copy = _workFolder->filePath(QStringLiteral("Brevoir.conf"));
    QFile file(copy);
    if (!_workFolder->isValid() || !file.open(QIODevice::WriteOnly) ||
        file.write(_written) != _written.size()) {
        // Nowhere to keep a copy: this run's values live in memory only.
        bvLog(QStringLiteral("settings are kept in memory: no private folder for them"));
        _settings.reset();
        return;
    }
    file.close();
    _settings = std::make_unique<QSettings>(copy, QSettings::IniFormat);
}

void Defaults::synchronize() {
    if (!_settings)
        return;
    _settings->sync();
    if (!_persistent)
        return;
    QFile copy(_settings->fileName());
    if (!copy.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = copy.readAll();
    if (bytes == _written)
        return;
    const FilePath path = FilePath::fromString(_fileName);
    QDir().mkpath(path.parent().toString());
    SafeFile::Problem problem;
    if (!SafeFile::replace(path, bytes, &problem)) {
        // The file stays as it was; the values stay here, and the next write tries again.
        bvLog(QStringLiteral("couldn't write the settings: %1").arg(problem.reason));
        return;
    }
    _written = bytes;
}

QString Defaults::fileName() const {
    return _fileName;
}

void Defaults::reloadForTesting() {
    synchronize();
    _settings.reset();
    _volatile.clear();
    _problem.clear();
    open();
    _fallbacks.clear();
}
