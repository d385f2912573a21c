#include "platform/foundation/Defaults.h"

#include <QCoreApplication>

namespace {
std::unique_ptr<QSettings> openSettings() {
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("Brevoir"), QStringLiteral("Brevoir"));
}

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

Defaults::Defaults() : _settings(openSettings()) {
    if (auto* app = QCoreApplication::instance())
        QObject::connect(app, &QCoreApplication::aboutToQuit, [this] { synchronize(); });
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
    if (_settings->contains(key))
        return _settings->value(key);
    return _fallbacks.value(key);
}

bool Defaults::hasStoredValue(const QString& key) const {
    return _settings->contains(key);
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
    _settings->setValue(key, value);
}

void Defaults::removeObject(const QString& key) {
    _settings->remove(key);
}

void Defaults::synchronize() {
    _settings->sync();
}

QString Defaults::fileName() const {
    return _settings->fileName();
}

void Defaults::reloadForTesting() {
    _settings->sync();
    _settings = openSettings();
    _fallbacks.clear();
}
