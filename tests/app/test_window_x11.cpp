// The real program on a real X display, driven as a user would with xdotool: a recording
// played to its end, then one press of Ctrl+R records.
#include "platform/media/player/PlaybackTestSupport.h"
#include "recording/control/BrevoirProcess.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

namespace {
// An X server of the test's own, on a display number it picks itself.
class VirtualDisplay {
public:
    VirtualDisplay() {
        _server.start(QStringLiteral("Xvfb"),
                      {"-displayfd", "1", "-screen", "0", "1280x900x24", "-nolisten", "tcp"});
        if (!_server.waitForStarted(10000))
            return;
        BrevoirProcess::waitUntil([this] { return _server.canReadLine(); }, 10000);
        const QString number = QString::fromUtf8(_server.readLine()).trimmed();
        if (!number.isEmpty())
            _display = ":" + number;
    }
    ~VirtualDisplay() {
        _server.terminate();
        _server.waitForFinished(5000);
    }
    QString display() const { return _display; }

    // Runs xdotool on this display; its output.
    QString xdotool(const QStringList& arguments) const {
        QProcess tool;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DISPLAY", _display);
        tool.setProcessEnvironment(env);
        tool.start(QStringLiteral("xdotool"), arguments);
        tool.waitForFinished(20000);
        return QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
    }

private:
    QProcess _server;
    QString _display;
};

bool haveTool(const char* name) {
    return !QStandardPaths::findExecutable(QString::fromLatin1(name)).isEmpty();
}
} // namespace

TEST(OnAnXDisplay, AfterARecordingPlaysToItsEndOnePressOfCtrlRRecords) {
    REQUIRE_AUDIO_RIG();
    REQUIRE_OR_SKIP_OUTSIDE_RIG(haveTool("Xvfb") && haveTool("xdotool"),
                                "Xvfb and xdotool (scripts/setup.sh)");
    VirtualDisplay x;
    ASSERT_FALSE(x.display().isEmpty());

    BrevoirProcess brevoir(writeSecondOfSignal("x11-input.raw"));
    ASSERT_TRUE(QDir().mkpath(brevoir.recordingsFolder()));
    ASSERT_TRUE(PlaybackTestSupport::makeSound(brevoir.recordingsFolder() + "/Short.mov", 0.5));
    brevoir.setEnvironmentValue("QT_QPA_PLATFORM", "xcb");
    brevoir.setEnvironmentValue("DISPLAY", x.display());
    ASSERT_TRUE(brevoir.startWithWindow()) << brevoir.log().toStdString();

    const QString window =
        x.xdotool({"search", "--sync", "--onlyvisible", "--name", "^Brevoir$"}).section('\n', 0, 0);
    ASSERT_FALSE(window.isEmpty());
    // No window manager here: the window is given the keyboard by hand.
    x.xdotool({"mousemove", "--window", window, "400", "300", "windowfocus", "--sync", window});

    // The list has the focus: Home selects the recording, Space plays it.
    x.xdotool({"key", "--clearmodifiers", "Home"});
    x.xdotool({"key", "--clearmodifiers", "space"});
    ASSERT_TRUE(BrevoirProcess::waitUntil(
        [&] { return brevoir.log().contains("sound finished playing"); }, 15000))
        << brevoir.log().toStdString();

    x.xdotool({"key", "--clearmodifiers", "ctrl+r"});
    QString state;
    EXPECT_TRUE(BrevoirProcess::waitUntil(
        [&] {
            return brevoir.client({"--status"}, &state) == 0 &&
                   state.section(QLatin1Char('\n'), 0, 0) == "recording";
        },
        10000))
        << "--status says " << state.toStdString();

    EXPECT_EQ(brevoir.client({"--stop"}), 0);
    EXPECT_EQ(brevoir.client({"--quit"}), 0);
    EXPECT_EQ(brevoir.waitForExit(), 0);
    EXPECT_EQ(brevoir.recordings().size(), 2);
}
