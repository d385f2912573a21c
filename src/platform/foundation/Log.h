#pragma once

#include <QString>
#include <QStringList>

// Plain log lines, written to stderr and the system log. Lines written on every poll go out
// at debug level: shown only when BREVOIR_LOG_DEBUG is set, but always seen by LogCapture.
// Thread-safe; never call from a real-time audio callback.
void bvLog(const QString& line);
void bvLogDebug(const QString& line);
// Whether a debug line would go anywhere; lets a hot path skip formatting one.
bool bvLogDebugWanted();

void deliverToCaptures(const QString& line); // internal: hands a line to the captures

// Collects every line logged while it exists (tests assert on exact lines).
class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    QStringList lines() const;
    int count(const QString& line) const;
    bool contains(const QString& line) const { return count(line) > 0; }
    void clear();

private:
    friend void deliverToCaptures(const QString& line);
    void append(const QString& line);
    QStringList _lines;
};
