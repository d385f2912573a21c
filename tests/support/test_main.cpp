#include "support/TestEnvironment.h"

#include <QApplication>
#include <QDir>
#include <QFile>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>

namespace {
QString gRoot;

void makeFolder(const QString& path, mode_t mode = 0755) {
    QDir().mkpath(path);
    ::chmod(QFile::encodeName(path).constData(), mode);
}

// Every test process gets its own HOME and XDG folders, so that no test touches the real
// user's files or settings, and no two tests see each other's.
void prepareEnvironment() {
    char pattern[] = "/tmp/brevoir-test.XXXXXX";
    const char* made = ::mkdtemp(pattern);
    if (!made)
        std::abort();
    gRoot = QString::fromLocal8Bit(made);
    const QString home = gRoot + "/home";
    makeFolder(home);
    makeFolder(gRoot + "/config/alsa");
    makeFolder(gRoot + "/data");
    makeFolder(gRoot + "/runtime", 0700);
    qputenv("HOME", home.toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (gRoot + "/config").toLocal8Bit());
    qputenv("XDG_DATA_HOME", (gRoot + "/data").toLocal8Bit());
    qputenv("XDG_CACHE_HOME", (gRoot + "/cache").toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", (gRoot + "/runtime").toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QString asoundrc = qEnvironmentVariable("BREVOIR_RIG_ASOUNDRC");
    if (!asoundrc.isEmpty())
        QFile::copy(asoundrc, gRoot + "/config/alsa/asoundrc");
}
} // namespace

QString TestEnvironment::root() {
    return gRoot;
}
QString TestEnvironment::home() {
    return gRoot + "/home";
}

bool TestEnvironment::hasAudioRig() {
    return !qEnvironmentVariableIsEmpty("BREVOIR_RIG_ASOUNDRC") &&
           !qEnvironmentVariableIsEmpty("PULSE_SERVER");
}

bool TestEnvironment::insideRig() {
    return qEnvironmentVariable("BREVOIR_IN_TEST_RIG") == QLatin1String("1");
}

QString TestEnvironment::capturePcm() {
    const QString pcm = qEnvironmentVariable("BREVOIR_TEST_CAPTURE_PCM");
    return pcm.isEmpty() ? QStringLiteral("brevoir_test_capture") : pcm;
}

int main(int argc, char** argv) {
    prepareEnvironment();
    // Removed at exit, after the destructors of the stores made during the tests (the
    // defaults store writes its file as it goes), which would otherwise make the folder anew;
    // by bytes, as tests leave names that are not UTF-8.
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(QFile::encodeName(gRoot).toStdString(), ignored);
    });
    QApplication app(argc, argv);
    ::testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
