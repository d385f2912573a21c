// The real executable: launch with empty folders, quit on a signal, and what it leaves behind.
#include "support/TestEnvironment.h"

#include <QDir>
#include <QProcess>
#include <QSettings>

#include <gtest/gtest.h>

#include <csignal>

namespace {
struct ProcessRun {
    int exitCode = -1;
    QProcess::ExitStatus status = QProcess::CrashExit;
    QString settingsFile;
    QString home;
};

// Starts brevoir in fresh XDG folders, waits until it has launched, then sends the signal.
ProcessRun launchAndSignal(int signal) {
    ProcessRun run;
    const QString root = TestEnvironment::root() + QStringLiteral("/proc-%1").arg(signal);
    run.home = root + "/home";
    for (const char* dir : {"/home", "/config", "/data", "/runtime"})
        QDir().mkpath(root + dir);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", run.home);
    env.insert("XDG_CONFIG_HOME", root + "/config");
    env.insert("XDG_DATA_HOME", root + "/data");
    env.insert("XDG_RUNTIME_DIR", root + "/runtime");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    QDir().mkpath(run.home + "/Music");
    run.settingsFile = root + "/config/Brevoir/Brevoir.conf";

    QProcess process;
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(BREVOIR_EXECUTABLE, {});
    if (!process.waitForStarted(10000))
        return run;
    // Launching has finished once the instance answers on the bus (calls wait until then).
    for (int i = 0; i < 200; ++i) {
        QProcess client;
        client.setProcessEnvironment(env);
        client.start(BREVOIR_EXECUTABLE, {"--status"});
        if (client.waitForFinished(30000) && client.exitCode() == 0)
            break;
        process.waitForReadyRead(25);
    }
    ::kill(static_cast<pid_t>(process.processId()), signal);
    process.waitForFinished(20000);
    run.exitCode = process.exitCode();
    run.status = process.exitStatus();
    return run;
}
} // namespace

TEST(Process, QuitsCleanlyOnSigtermAndSigintHavingWrittenThePreferences) {
    for (int signal : {SIGTERM, SIGINT}) {
        const ProcessRun run = launchAndSignal(signal);
        EXPECT_EQ(run.status, QProcess::NormalExit) << signal;
        EXPECT_EQ(run.exitCode, 0) << signal;
        QSettings file(run.settingsFile, QSettings::IniFormat);
        EXPECT_EQ(file.value("HourField").toString(), "00");
        EXPECT_EQ(file.value("MinuteField").toString(), "00");
        EXPECT_EQ(file.value("SecondField").toString(), "00");
        EXPECT_EQ(file.value("TimerToggle").toInt(), 0);
        EXPECT_EQ(file.value("iTunes Playlist").toString(), "Brevoir");
        EXPECT_EQ(file.value("iTunes Encoding").toInt(), 0);
        EXPECT_EQ(file.value("Library Location").toString(), run.home + "/Music/Brevoir");
        EXPECT_FALSE(file.contains("Move Files to Trash"));
        EXPECT_FALSE(file.contains("Do Two-Way Sync"));
        EXPECT_FALSE(file.contains("User Categories"));
    }
}
