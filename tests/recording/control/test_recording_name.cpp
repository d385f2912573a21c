#include "recording/RecordingName.h"

#include "platform/foundation/Log.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

TEST(RecordingName, TenDigitsOnTheTwelveHourClock) {
    const QDate march14(2026, 3, 14);
    EXPECT_EQ(RecordingName::forTime(QDateTime(march14, QTime(21, 30, 5))),
              "Recording 0314093005.mov");
    EXPECT_EQ(RecordingName::forTime(QDateTime(march14, QTime(9, 30, 5))),
              "Recording 0314093005.mov");
    EXPECT_EQ(RecordingName::forTime(QDateTime(march14, QTime(0, 15, 0))),
              "Recording 0314121500.mov");
    EXPECT_EQ(RecordingName::forTime(QDateTime(QDate(2026, 12, 1), QTime(12, 0, 59))),
              "Recording 1201120059.mov");
}

TEST(RecordingName, ATakenNameGetsASuffixAndTheExistingFileIsUntouched) {
    const QString folder = TestEnvironment::root() + "/names";
    QDir().mkpath(folder);
    const QDateTime when(QDate(2026, 3, 14), QTime(21, 30, 5));
    EXPECT_EQ(RecordingName::pathForNewRecording(folder, when),
              folder + "/Recording 0314093005.mov");

    QFile existing(folder + "/Recording 0314093005.mov");
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("an earlier recording");
    existing.close();
    QDir().mkdir(folder + "/Recording 0314093005-2.mov"); // a folder takes the name too

    LogCapture log;
    EXPECT_EQ(RecordingName::pathForNewRecording(folder, when),
              folder + "/Recording 0314093005-3.mov");
    EXPECT_EQ(log.lines(), QStringList{"Recording 0314093005.mov exists; recording to "
                                       "Recording 0314093005-3.mov instead"});
    QFile check(folder + "/Recording 0314093005.mov");
    ASSERT_TRUE(check.open(QIODevice::ReadOnly));
    EXPECT_EQ(check.readAll(), "an earlier recording");
}
