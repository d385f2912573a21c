#pragma once

#include <QByteArray>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <QVariantMap>

#include <memory>

// The per-user defaults store: persistent values in $XDG_CONFIG_HOME/Brevoir/Brevoir.conf,
// over a volatile fallback layer (registerDefaults) that lookups fall back to and that is
// never written to disk. Values written are on disk when the process ends normally. A file
// that is not a regular file (or far too large) is never read or written: that run keeps its
// settings in memory and problem() says why.
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

    // The file behind the store (also when it could not be used).
    QString fileName() const;
    // Why the file could not be used (it is a FIFO, a device, a folder or far too large), so
    // that this run keeps its settings in memory only; empty when all is well.
    QString problem() const { return _problem; }

    // Drops the fallback layer and reopens the file (tests that simulate a new process).
    void reloadForTesting();

private:
    Defaults();
    ~Defaults();
    void open();
    QString _fileName;
    QString _problem;
    bool _persistent = true; // false: the file is not written (it could not be read)
    QByteArray _written;     // the file's bytes as last read or written
    std::unique_ptr<QTemporaryDir> _workFolder;
    std::unique_ptr<QSettings> _settings; // on a private copy of the file; none: memory only
    QVariantMap _volatile;                // this run's values when there is no copy
    QVariantMap _fallbacks;
};
