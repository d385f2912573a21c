// Categories driven from another process: the list over D-Bus, filing a recording with the
// command-line client, and --list showing it, against the real running executable.
#include "BrevoirProcess.h"

#include "platform/foundation/PropertyList.h"
#include "support/TestEnvironment.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

TEST(CategoryScripting, CategoriesAreListedAndSetFromAnotherProcessWithRefusals) {
    REQUIRE_AUDIO_RIG();
    BrevoirProcess brevoir(writeSecondOfSignal("quiet-categories.raw"));
    ASSERT_TRUE(makeRecordings(brevoir.recordingsFolder(), {"take.mov", "other.mov"}));
    QString out;
    QString err;
    EXPECT_NE(brevoir.client({"--set-category", "take.mov", "Business"}, &out, &err), 0);
    EXPECT_TRUE(err.contains("not running")) << err.toStdString();

    ASSERT_TRUE(brevoir.startHeadless());
    // The list over the instance's bus.
    const QString bus = brevoir.environment().value("DBUS_SESSION_BUS_ADDRESS");
    QDBusConnection connection = QDBusConnection::connectToBus(bus, "category-test");
    QDBusInterface remote("org.brevoir.Brevoir", "/org/brevoir/Brevoir", "org.brevoir.Brevoir",
                          connection);
    const QDBusReply<QStringList> categories = remote.call("Categories");
    ASSERT_TRUE(categories.isValid()) << categories.error().message().toStdString();
    EXPECT_EQ(categories.value(), (QStringList{"Personal", "Business", "Project1", "Project2"}));

    // Filed and written before the client returns.
    ASSERT_EQ(brevoir.client({"--set-category", "take.mov", "Business"}, &out, &err), 0)
        << err.toStdString();
    const QString database = brevoir.home() + "/Music/Brevoir/Database.plist";
    EXPECT_EQ(PropertyList::readDictionary(database).dictionary.value("category mappings"),
              QVariant(QVariantMap{{"take.mov", "Business"}}));

    // Refusals: a category not in the list, the fixed entries, an unknown recording.
    const QStringList refused[] = {
        {"--set-category", "take.mov", "Nope"}, {"--set-category", "take.mov", "-"},
        {"--set-category", "take.mov", "Edit"}, {"--set-category", "missing.mov", "Business"},
        {"--set-category", "take.mov"},
    };
    for (const QStringList& arguments : refused) {
        err.clear();
        EXPECT_NE(brevoir.client(arguments, &out, &err), 0) << arguments.join(' ').toStdString();
        EXPECT_FALSE(err.trimmed().isEmpty()) << arguments.join(' ').toStdString();
    }
    const QDBusMessage reply = remote.call("SetCategory", "other.mov", "Nope");
    EXPECT_EQ(reply.type(), QDBusMessage::ErrorMessage);
    EXPECT_EQ(reply.errorName(), QStringLiteral("org.brevoir.Brevoir.Error.Refused"));

    // --list prints the category as the last field of the filed recording only.
    ASSERT_EQ(brevoir.client({"--list"}, &out, &err), 0) << err.toStdString();
    EXPECT_TRUE(out.contains("\t00:00:00.00\tBusiness\n")) << out.toStdString();
    EXPECT_TRUE(out.contains("other.mov\t")) << out.toStdString();
    EXPECT_FALSE(out.contains("other.mov\t4096\t0.000\t4 KB\t00:00:00.00\t")) << out.toStdString();

    EXPECT_EQ(brevoir.client({"--quit"}), 0);
    EXPECT_EQ(brevoir.waitForExit(), 0);
}
