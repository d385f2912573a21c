#pragma once

#include <QByteArray>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

#include <memory>

// The per-user defaults store: persistent values in $XDG_CONFIG_HOME/Brevoir/Brevoir.conf,
// over a volatile fallback layer (registerDefaults) that lookups fall back to and that is
// never written to disk. Values written are on disk when the process ends normally.
class Defaults {
public:
    static Defaults& standard();

    // Installs fallback values; they answer lookups of keys with no stored value.
    void registerDefaults(const QVariantMap& fallbacks);

    // The stored value, else the fallback, else an invalid QVariant.
    QVariant objectForKey(const QString& key) const;
    bool hasStoredValue(const QString& key) const;

    QString stringForKey(const QString& key) const;  // null when absent
    qint64 integerForKey(const QString& key) const;  // 0 when absent
    bool boolForKey(const QString& key) const;       // "YES"/"NO" like stored booleans
    QByteArray dataForKey(const QString& key) const; // null when absent
    QStringList stringArrayForKey(const QString& key) const;

    void setObject(const QVariant& value, const QString& key);
    void setInteger(qint64 value, const QString& key) { setObject(value, key); }
    void setBool(bool value, const QString& key) { setObject(value, key); }
    void removeObject(const QString& key);

    // Writes pending values to disk now.
    void synchronize();

    // The file behind the store.
    QString fileName() const;

    // Drops the fallback layer and reopens the file (tests that simulate a new process).
    void reloadForTesting();

private:
    Defaults();
    std::unique_ptr<QSettings> _settings;
    QVariantMap _fallbacks;
};
