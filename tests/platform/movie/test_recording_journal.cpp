#include "platform/foundation/FilePath.h"
#include "platform/foundation/Log.h"
#include "platform/movie/MovieRepair.h"
#include "platform/movie/MovieTestTools.h"
#include "platform/movie/MovieWriter.h"
#include "platform/movie/RecordingJournal.h"
#include "support/StandIns.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace MovieTestTools;

namespace {
QByteArray records(std::initializer_list<const char*> entries) {
    QByteArray bytes;
    for (const char* entry : entries)
        bytes += QByteArray(entry) + '\0';
    return bytes;
}

bool record(const QString& path, bool complete) {
    auto writer = MovieWriter::create(path, {SoundCodec::Sowt, 8000, 1});
    std::vector<int32_t> samples(8000, 1 << 20);
    return writer && writer->append(samples.data(), samples.size()) &&
           (!complete || writer->complete() == 0);
}
} // namespace

TEST(RecordingJournal, SaysWhenEveryRecordingMustBeChecked) {
    const char* magic = "jbrevoir recording journal 1";
    struct Case {
        const char* what;
        QByteArray bytes;
        bool needsCheck;
        QList<QByteArray> unfinished;
    };
    const Case cases[] = {
        {"no journal yet", {}, true, {}},
        {"a clean run", records({magic, "r", "bA.mov", "eA.mov", "q"}), false, {}},
        {"a run that did not end", records({magic, "r", "q", "r", "bA.mov", "eA.mov"}), true, {}},
        {"a recording never completed",
         records({magic, "r", "bA.mov", "bB\xff.mov", "eA.mov", "q"}),
         true,
         {"B\xff.mov"}},
        {"a torn last record", records({magic, "r", "q"}) + "bA.m", true, {}},
        {"someone else's file", records({"jsomething else", "r", "q"}), true, {}},
        {"an unknown record", records({magic, "r", "x", "q"}), true, {}},
    };
    for (const Case& c : cases) {
        const RecordingJournal::Reading reading = RecordingJournal::parse(c.bytes);
        EXPECT_EQ(reading.needsCheck, c.needsCheck) << c.what;
        EXPECT_EQ(reading.unfinished, c.unfinished) << c.what;
        EXPECT_EQ(reading.why.isEmpty(), !c.needsCheck) << c.what;
    }
}

TEST(RecordingJournal, ALaunchChecksTheRecordingsOnlyWhenOneMayBeUnfinished) {
    QTemporaryDir library;
    const QString recordings = library.filePath("Recordings");
    ASSERT_TRUE(QDir().mkpath(recordings));
    for (const char* name : {"Recording 1.mov", "Recording 2.mov", "notes.txt"})
        ASSERT_TRUE(writeFile(recordings + '/' + name, "x"));
    ASSERT_TRUE(record(recordings + "/Recording 3.mov", true));
    const QByteArray folder = QFile::encodeName(recordings);
    const QByteArray journal = QFile::encodeName(library.filePath(RecordingJournal::kFileName));
    auto launch = [&] { return MovieRepair::repairAtLaunch(folder, journal); };

    // Without a journal, everything is checked once.
    MovieRepair::Report report = launch();
    EXPECT_TRUE(report.checkedAll);
    EXPECT_EQ(report.filesOpened, 4);
    RecordingJournal::endRun();

    // A launch after a clean run opens no recording.
    report = launch();
    EXPECT_FALSE(report.checkedAll);
    EXPECT_EQ(report.filesOpened, 0);

    // A recording that was begun and never completed is repaired at the next launch, even after
    // a run that ended cleanly; one that was completed leaves nothing to check.
    ASSERT_TRUE(record(recordings + "/Recording 4.mov", false));
    RecordingJournal::endRun();
    LogCapture log;
    report = launch();
    EXPECT_TRUE(report.checkedAll);
    EXPECT_EQ(report.repaired, QList<QByteArray>{"Recording 4.mov"});
    EXPECT_TRUE(log.contains("repaired interrupted recording: Recording 4.mov"));
    ASSERT_TRUE(record(recordings + "/Recording 5.mov", true));
    RecordingJournal::endRun();
    report = launch();
    EXPECT_FALSE(report.checkedAll);
    EXPECT_EQ(report.filesOpened, 0);
    RecordingJournal::endRun();
}

TEST(RecordingJournal, WhatStandsInItsPlaceIsLeftAloneAndEveryRecordingIsChecked) {
    QTemporaryDir root;
    const QString recordings = root.filePath("library/Recordings");
    ASSERT_TRUE(QDir().mkpath(recordings));
    ASSERT_TRUE(record(recordings + "/Recording 1.mov", true));
    const QByteArray folder = QFile::encodeName(recordings);
    const FilePath journal = FilePath::fromString(root.filePath("library")) /
                             QString::fromLatin1(RecordingJournal::kFileName);
    // A clean journal elsewhere, for the link that leads to it.
    const FilePath outside = FilePath::fromString(root.filePath("outside-journal"));
    const QByteArray clean = records({"jbrevoir recording journal 1", "r", "q"});
    ASSERT_TRUE(writeFile(outside.toString(), clean));
    for (const StandIns::StandIn& standIn : StandIns::kAll) {
        SCOPED_TRACE(standIn.what);
        ASSERT_TRUE(StandIns::make(standIn.kind, journal, outside));
        const QByteArray before = StandIns::describe(journal);
        const MovieRepair::Report report = MovieRepair::repairAtLaunch(folder, journal.bytes());
        EXPECT_TRUE(report.checkedAll);
        EXPECT_EQ(report.filesOpened, 1);
        // Nothing of this run is noted in it, and nothing goes through a link.
        EXPECT_FALSE(RecordingJournal::noteBegun(folder + "/Recording 2.mov"));
        RecordingJournal::endRun();
        EXPECT_EQ(StandIns::describe(journal), before);
        ASSERT_EQ(::remove(journal.c_str()), 0);
    }
    QFile kept(outside.toString());
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), clean);
}
