#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include <chrono>
#include <memory>
#include <optional>

class SoundServerConnection;

// The sound server's sources (microphones, line inputs, and the monitors of its outputs) as
// people know them, followed while the program runs: a source plugged in or out, a new default,
// a volume changed in the desktop's mixer. Also sets a source's volume, as the mixer would, so
// that every program agrees on it. Used on the main thread; the server's answers arrive on the
// connection's own thread and are handed over as queued calls.
class SoundSources : public QObject {
    Q_OBJECT

public:
    struct Source {
        QString name;        // the server's stable name, kept in the settings
        QString description; // what people read ("Blue Yeti Analog Stereo")
        // For the monitor of an output: that output's description; empty for an input.
        QString monitorOf;
        bool isMonitor = false;
        int channels = 0;
        QList<uint32_t> volumes; // per channel, the server's scale (PA_VOLUME_NORM = 100 %)

        // The loudest channel's volume relative to 100 %.
        double gain() const;
        bool operator==(const Source&) const = default;
    };

    // The process's one follower of the server, made on first use (a child of the application).
    static SoundSources& shared();
    SoundSources();
    ~SoundSources() override;

    // The sources, the server's default first, then the other inputs, then the monitors. The
    // first call lists them now (within the connection's deadline); later calls answer the
    // list as last heard. Empty when no server answers.
    QList<Source> sources();
    // Whether a server answered the last time it was asked.
    bool available();
    // The source a recording from "the default input" reads: the one PULSE_SOURCE names, or
    // the server's default. Empty without a server.
    QString defaultSourceName();
    // A source by its name, or else by its description (which must then name one source).
    std::optional<Source> find(const QString& nameOrDescription);
    // Why the server could not be reached, in English; empty when it answered.
    QString unavailableReason() const { return _unavailableReason; }

    // Sets the source's volume (balance kept) to `gain` times 100 %, and waits for the server
    // to confirm (within the deadline). False with the reason in English.
    bool setGain(const QString& name, double gain, QString* error);

signals:
    // The list changed: a source came or went, a description, the default or a volume changed.
    void sourcesChanged();

private:
    friend struct SoundSourcesCallbacks; // the server's answers, on the connection's thread
    struct Listing;
    // Connects (at most once per kRetryInterval after a failure) and lists the sources.
    bool ensureConnected();
    // On the connection's thread: asks for the server's default, the outputs and the sources;
    // the list is published when all three have answered.
    void requestListing();
    void publish(const QList<Source>& sources, const QString& defaultName);

    static constexpr std::chrono::seconds kRetryInterval{10};
    std::unique_ptr<SoundServerConnection> _connection;
    std::unique_ptr<Listing> _listing; // the connection thread's, under the loop's lock
    QList<Source> _sources;            // the main thread's copy
    QString _defaultName;
    bool _listed = false; // guarded by the loop's lock: a first listing has been published
    QString _unavailableReason;
    std::chrono::steady_clock::time_point _lastAttempt{};
};
