#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <functional>

// The real brevoir executable in the test rig, on a private session bus of its own, with its
// own HOME, capturing from the rig's file-backed input.
class BrevoirProcess {
public:
    // Feeds the capture device from captureFile (raw s16le stereo 44.1 kHz).
    explicit BrevoirProcess(const QString& captureFile);
    ~BrevoirProcess();

    // Starts `brevoir --headless --input-device <rig PCM>` and waits until it answers.
    bool startHeadless(const QStringList& extraArguments = {});
    // The same with its main window shown (on the rig's offscreen display).
    bool startWithWindow(const QStringList& extraArguments = {});
    // Starts it headless without waiting: for what happens while it launches.
    bool launch(const QStringList& extraArguments = {}, bool headless = true);
    // Sets a variable of the environment the instance and the clients run in.
    void setEnvironmentValue(const QString& name, const QString& value);
    QProcessEnvironment environment() const;
    QString root() const { return _root; }
    qint64 pid() const { return _instance.processId(); }
    // The private session bus the instance and the clients use.
    QString busAddress() const { return _busAddress; }
    // Runs `brevoir ARGS` as a client; answers its exit code, stdout into *out.
    int client(const QStringList& arguments, QString* out = nullptr, QString* err = nullptr);
    // The same with arguments given as bytes (which need not be UTF-8), ending it after
    // timeoutMs (answering -1 then).
    int clientWithBytes(const QList<QByteArray>& arguments, QString* out = nullptr,
                        QString* err = nullptr, int timeoutMs = 30000);
    // Waits for the instance to end; answers its exit code (-1: it did not end or crashed).
    int waitForExit(int timeoutMs = 30000);
    void signal(int signalNumber);

    QString home() const { return _root + "/home"; }
    QString recordingsFolder() const { return home() + "/Music/Brevoir/Recordings"; }
    // The recordings' names, sorted.
    QStringList recordings() const;
    // All the instance has written to stderr and stdout so far.
    QString log();

    // Polls cond (with the event loop running) until it holds or the deadline passes.
    static bool waitUntil(const std::function<bool()>& cond, int timeoutMs);

private:
    bool start(const QStringList& extraArguments, bool headless);
    QString _root;
    QString _captureFile;
    QString _busAddress;
    QProcess _bus;
    QProcess _instance;
    QByteArray _output;
    QProcessEnvironment _overrides;
};

// Raw s16le stereo samples: a deterministic, non-repeating signal, so that any run of a few
// hundred frames identifies its position.
QByteArray makeTestSignal(int frames);
// Raw samples in a file of the test's root folder, for the instance to capture; answers its path.
QString writeSignalFile(const QString& fileName, const QByteArray& signal);
// A second of the test signal in a file of its own, for an instance that records nothing.
QString writeSecondOfSignal(const QString& fileName);
// Stand-in recordings (4 KiB of zeros each) in the folder, which is made if need be.
bool makeRecordings(const QString& folder, const QStringList& names);
// Decodes a recording to raw s16le stereo 44.1 kHz with the ffmpeg command.
QByteArray decodeWithFfmpeg(const QString& path);
// Where `run` starts within `signal` (frame index), or -1 when it is not a contiguous run of it.
qsizetype findRun(const QByteArray& signal, const QByteArray& run);
