// The desktop's launcher: the session bus starts Brevoir from its service file, and the
// launcher's org.freedesktop.Application calls reach the running instance.
#include "support/TestEnvironment.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>

namespace {
const QString kName = QStringLiteral("org.brevoir.Brevoir");
const QString kPath = QStringLiteral("/org/brevoir/Brevoir");

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
}

// A session bus whose only service is the one the build installs, naming the built program.
class ActivatingBus {
public:
    ActivatingBus() {
        const QString root = TestEnvironment::root() + QStringLiteral("/activation");
        QDir().mkpath(root + "/services");
        QFile service(QStringLiteral(BREVOIR_SERVICE_TEMPLATE));
        EXPECT_TRUE(service.open(QIODevice::ReadOnly));
        writeFile(root + "/services/" + kName + ".service",
                  service.readAll().replace("@BREVOIR_EXECUTABLE@", BREVOIR_EXECUTABLE));
        writeFile(root + "/bus.conf", QStringLiteral(R"(<!DOCTYPE busconfig PUBLIC
 "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:tmpdir=%1</listen>
  <servicedir>%1/services</servicedir>
  <limit name="service_start_timeout">120000</limit>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
)")
                                          .arg(root)
                                          .toUtf8());
        _daemon.start(QStringLiteral("dbus-daemon"),
                      {"--config-file=" + root + "/bus.conf", "--nofork", "--print-address=1"});
        if (_daemon.waitForStarted(5000) && _daemon.waitForReadyRead(5000))
            address = QString::fromUtf8(_daemon.readLine()).trimmed();
    }
    ~ActivatingBus() {
        if (instance > 0)
            ::kill(pid_t(instance), SIGKILL);
        _daemon.kill();
        _daemon.waitForFinished(5000);
    }

    QString address;
    qint64 instance = 0;

private:
    QProcess _daemon;
};

QDBusMessage call(QDBusConnection& bus, const QString& interface, const QString& method,
                  const QVariantList& arguments) {
    QDBusMessage message = QDBusMessage::createMethodCall(kName, kPath, interface, method);
    message.setArguments(arguments);
    return bus.call(message, QDBus::Block, 60000);
}
} // namespace

TEST(DesktopActivation, TheBusStartsBrevoirForTheLauncherAndItsCallsReachTheRunningInstance) {
    REQUIRE_AUDIO_RIG();
    ActivatingBus activating;
    ASSERT_FALSE(activating.address.isEmpty());
    QDBusConnection bus = QDBusConnection::connectToBus(activating.address, "launcher");
    ASSERT_TRUE(bus.isConnected());
    const QString application = QStringLiteral("org.freedesktop.Application");

    // The launcher's first call starts the program named by the service file.
    QDBusMessage reply = call(bus, application, "Activate", {QVariantMap()});
    ASSERT_NE(reply.type(), QDBusMessage::ErrorMessage) << reply.errorMessage().toStdString();
    activating.instance = bus.interface()->servicePid(kName).value();
    ASSERT_GT(activating.instance, 0);
    EXPECT_EQ(QFileInfo(QStringLiteral("/proc/%1/exe").arg(activating.instance)).symLinkTarget(),
              QFileInfo(BREVOIR_EXECUTABLE).canonicalFilePath());

    // Later launches, a file handed to the launcher and an unknown action reach the same
    // instance, which answers the scripting interface too.
    const struct {
        QString interface;
        QString method;
        QVariantList arguments;
    } calls[] = {
        {application, "Activate", {QVariantMap()}},
        {application, "Open", {QStringList{"file:///tmp/x.mov"}, QVariantMap()}},
        {application, "ActivateAction", {QString("none"), QVariantList(), QVariantMap()}},
        {kName, "Activate", {}},
    };
    for (const auto& each : calls) {
        reply = call(bus, each.interface, each.method, each.arguments);
        EXPECT_NE(reply.type(), QDBusMessage::ErrorMessage)
            << each.method.toStdString() << ": " << reply.errorMessage().toStdString();
        EXPECT_EQ(bus.interface()->servicePid(kName).value(), activating.instance);
    }

    reply = call(bus, kName, "Quit", {});
    EXPECT_NE(reply.type(), QDBusMessage::ErrorMessage) << reply.errorMessage().toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return ::kill(pid_t(activating.instance), 0) != 0; }, 30000));
    activating.instance = 0;
}
