#include "BrevoirProcess.h"

#include "support/TestEnvironment.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QThread>

#include <csignal>

namespace {
int gCount = 0;
}

BrevoirProcess::BrevoirProcess(const QString& captureFile) : _captureFile(captureFile) {
    _root = TestEnvironment::root() + QStringLiteral("/instance-%1").arg(++gCount);
    for (const char* dir : {"/home/Music", "/config", "/data", "/runtime"})
        QDir().mkpath(_root + dir);
    QFile::setPermissions(_root + "/runtime",
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QDir().mkpath(_root + "/config/alsa");
    QFile::copy(qEnvironmentVariable("BREVOIR_RIG_ASOUNDRC"), _root + "/config/alsa/asoundrc");

    // A session bus of this test's own, so that tests running side by side never meet.
    _bus.start(QStringLiteral("dbus-daemon"),
               {QStringLiteral("--session"), QStringLiteral("--nofork"),
                QStringLiteral("--print-address=1")});
    if (_bus.waitForStarted(5000)) {
        waitUntil([this] { return _bus.canReadLine(); }, 5000);
        _busAddress = QString::fromUtf8(_bus.readLine()).trimmed();
    }
}

BrevoirProcess::~BrevoirProcess() {
    if (_instance.state() != QProcess::NotRunning) {
        _instance.kill();
        _instance.waitForFinished(5000);
    }
    _bus.terminate();
    _bus.waitForFinished(5000);
}

QProcessEnvironment BrevoirProcess::environment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", _root + "/home");
    env.insert("XDG_CONFIG_HOME", _root + "/config");
    env.insert("XDG_DATA_HOME", _root + "/data");
    env.insert("XDG_RUNTIME_DIR", _root + "/runtime");
    env.insert("DBUS_SESSION_BUS_ADDRESS", _busAddress);
    env.insert("BREVOIR_TEST_CAPTURE_FILE", _captureFile);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    for (const QString& name : _overrides.keys())
        env.insert(name, _overrides.value(name));
    return env;
}

void BrevoirProcess::setEnvironmentValue(const QString& name, const QString& value) {
    _overrides.insert(name, value);
}

bool BrevoirProcess::waitUntil(const std::function<bool()>& cond, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (!cond()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(20);
    }
    return true;
}

bool BrevoirProcess::launch(const QStringList& extraArguments, bool headless) {
    if (_busAddress.isEmpty())
        return false;
    _instance.setProcessEnvironment(environment());
    _instance.setProcessChannelMode(QProcess::MergedChannels);
    _instance.start(BREVOIR_EXECUTABLE,
                    (headless ? QStringList{"--headless"} : QStringList{}) +
                        QStringList{"--input-device", TestEnvironment::capturePcm()} +
                        extraArguments);
    return _instance.waitForStarted(10000);
}

bool BrevoirProcess::startHeadless(const QStringList& extraArguments) {
    return start(extraArguments, true);
}

bool BrevoirProcess::startWithWindow(const QStringList& extraArguments) {
    return start(extraArguments, false);
}

bool BrevoirProcess::start(const QStringList& extraArguments, bool headless) {
    if (!launch(extraArguments, headless))
        return false;
    return waitUntil(
        [this] {
            QString state;
            // Its first line is the state; a schedule or voice activation may follow.
            return client({"--status"}, &state) == 0 && state.section('\n', 0, 0) == "idle";
        },
        20000);
}

int BrevoirProcess::client(const QStringList& arguments, QString* out, QString* err) {
    QProcess process;
    process.setProcessEnvironment(environment());
    process.start(BREVOIR_EXECUTABLE, arguments);
    if (!process.waitForFinished(30000))
        return -1;
    if (out)
        *out = QString::fromUtf8(process.readAllStandardOutput());
    if (err)
        *err = QString::fromUtf8(process.readAllStandardError());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

int BrevoirProcess::clientWithBytes(const QList<QByteArray>& arguments, QString* out, QString* err,
                                    int timeoutMs) {
    // QProcess passes arguments as the locale's text; xargs hands them over as they are.
    QProcess process;
    process.setProcessEnvironment(environment());
    process.start(QStringLiteral("xargs"), {"-0", BREVOIR_EXECUTABLE});
    for (const QByteArray& argument : arguments)
        process.write(argument + '\0');
    process.closeWriteChannel();
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return -1;
    }
    if (out)
        *out = QString::fromUtf8(process.readAllStandardOutput());
    if (err)
        *err = QString::fromUtf8(process.readAllStandardError());
    if (process.exitStatus() != QProcess::NormalExit)
        return -1;
    // xargs answers 123 for any status from 1 to 125 and 124 for 255; its own text is on err.
    return process.exitCode();
}

int BrevoirProcess::waitForExit(int timeoutMs) {
    if (!_instance.waitForFinished(timeoutMs))
        return -1;
    return _instance.exitStatus() == QProcess::NormalExit ? _instance.exitCode() : -1;
}

void BrevoirProcess::signal(int signalNumber) {
    ::kill(static_cast<pid_t>(_instance.processId()), signalNumber);
}

QStringList BrevoirProcess::recordings() const {
    return QDir(recordingsFolder()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

QString BrevoirProcess::log() {
    // What is still in the pipe too, not only what the event loop has read so far.
    while (_instance.state() == QProcess::Running && _instance.waitForReadyRead(0))
        _output += _instance.readAll();
    _output += _instance.readAll();
    return QString::fromUtf8(_output);
}

QByteArray makeTestSignal(int frames) {
    QByteArray bytes(frames * 4, Qt::Uninitialized);
    auto* samples = reinterpret_cast<qint16*>(bytes.data());
    uint32_t state = 0x12345678u;
    for (int i = 0; i < frames * 2; ++i) {
        state = state * 1664525u + 1013904223u; // a plain LCG: deterministic, never silent
        samples[i] = static_cast<qint16>(state >> 16);
    }
    return bytes;
}

QByteArray decodeWithFfmpeg(const QString& path) {
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg",
                 {"-v", "error", "-i", path, "-f", "s16le", "-ar", "44100", "-ac", "2", "-"});
    if (!ffmpeg.waitForFinished(60000) || ffmpeg.exitCode() != 0)
        return {};
    return ffmpeg.readAllStandardOutput();
}

qsizetype findRun(const QByteArray& signal, const QByteArray& run) {
    if (run.size() < 4096 || run.size() % 4 != 0)
        return -1;
    const qsizetype at = signal.indexOf(run.left(4096));
    if (at < 0 || at % 4 != 0)
        return -1;
    return signal.mid(at, run.size()) == run ? at / 4 : -1;
}

QString writeSignalFile(const QString& fileName, const QByteArray& signal) {
    const QString path = TestEnvironment::root() + "/" + fileName;
    QFile raw(path);
    if (raw.open(QIODevice::WriteOnly))
        raw.write(signal);
    return path;
}

QString writeSecondOfSignal(const QString& fileName) {
    return writeSignalFile(fileName, makeTestSignal(44100));
}

bool makeRecordings(const QString& folder, const QStringList& names) {
    if (!QDir().mkpath(folder))
        return false;
    for (const QString& name : names) {
        QFile file(folder + "/" + name);
        if (!file.open(QIODevice::WriteOnly) || file.write(QByteArray(4096, '\0')) != 4096)
            return false;
    }
    return true;
}
