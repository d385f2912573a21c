// Exporting recordings: real recordings converted by FFmpeg's encoders, read back by the
// ffmpeg and ffprobe tools.
#include "library/NoteStore.h"
#include "library/RecordingExport.h"
#include "platform/foundation/LocalizedString.h"
#include "platform/playlists/RecordingFiles.h"
#include "support/ReadOnlyFolder.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSignalSpy>
#include <QTextDocument>

#include <gtest/gtest.h>

namespace {
QString freshFolder(const QString& name) {
    const QString folder = TestEnvironment::root() + QStringLiteral("/") + name;
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    return folder;
}

QString recording(const QString& name, double seconds) {
    const QString path = TestEnvironment::root() + QStringLiteral("/Recordings/") + name;
    if (!QFile::exists(path)) {
        EXPECT_TRUE(RecordingFiles::writeRecording(path, seconds));
    }
    return path;
}

// The ffmpeg tool's decoding of a file to 16-bit samples.
QByteArray decodedSamples(const QString& path) {
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-i"), path,
                  QStringLiteral("-f"), QStringLiteral("s16le"), QStringLiteral("-")});
    if (!ffmpeg.waitForFinished(60000) || ffmpeg.exitCode() != 0)
        return {};
    return ffmpeg.readAllStandardOutput();
}

// A tag as ffprobe reads it, from the file or its sound stream (Ogg keeps them there).
QString tagOf(const QString& path, const QString& key) {
    QProcess ffprobe;
    ffprobe.start(QStringLiteral("ffprobe"),
                  {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-show_entries"),
                   QStringLiteral("format_tags:stream_tags"), QStringLiteral("-of"),
                   QStringLiteral("json"), path});
    if (!ffprobe.waitForFinished(60000) || ffprobe.exitCode() != 0)
        return {};
    const QJsonObject root = QJsonDocument::fromJson(ffprobe.readAllStandardOutput()).object();
    for (const QJsonObject& tags :
         {root.value("format").toObject().value("tags").toObject(),
          root.value("streams").toArray().at(0).toObject().value("tags").toObject()}) {
        for (auto it = tags.begin(); it != tags.end(); ++it)
            if (it.key().compare(key, Qt::CaseInsensitive) == 0)
                return it.value().toString();
    }
    return {};
}

struct Finished {
    QStringList written;
    QString problem;
    bool cancelled = false;
};

Finished runJob(RecordingExportJob& job, bool cancelAtOnce = false) {
    // As at start-up: the worker only looks texts up.
    LocalizedStrings::install();
    QSignalSpy finished(&job, &RecordingExportJob::finished);
    job.start();
    if (cancelAtOnce)
        job.cancel();
    EXPECT_TRUE(finished.wait(120000));
    if (finished.isEmpty())
        return {};
    const QList<QVariant> arguments = finished.takeFirst();
    return {arguments.at(0).toStringList(), arguments.at(1).toString(), arguments.at(2).toBool()};
}

Finished exportInto(const QString& folder, const QString& format, const QString& source,
                    const QString& title, const QString& comment = QString()) {
    const auto encoder = RecordingExport::formatWithTitle(format);
    EXPECT_TRUE(encoder) << format.toStdString();
    if (!encoder)
        return {};
    RecordingExportJob job({{source, title, comment}}, {folder, QString(), true}, *encoder);
    return runJob(job);
}
} // namespace

TEST(RecordingExport, EveryFormatIsReadBackWithItsTitleAndCommentAndLosslessOnesKeepEverySample) {
    const QString source = recording(QStringLiteral("Interview.mov"), 1.5);
    const QByteArray original = decodedSamples(source);
    ASSERT_FALSE(original.isEmpty());
    const QString folder = freshFolder(QStringLiteral("every format"));
    struct Case {
        const char* title;
        const char* extension;
        bool lossless;
    };
    const Case cases[] = {{"Opus", "opus", false}, {"FLAC", "flac", true},
                          {"MP3", "mp3", false},   {"WAV", "wav", true},
                          {"AAC", "m4a", false},   {"Ogg Vorbis", "ogg", false}};
    for (const Case& each : cases) {
        SCOPED_TRACE(each.title);
        const QString title = QString::fromLatin1(each.title);
        if (!RecordingExport::formatWithTitle(title)) {
            // FLAC and WAV come with every FFmpeg; the others with most.
            ASSERT_FALSE(each.lossless);
            continue;
        }
        const Finished done = exportInto(folder, title, source, QStringLiteral("Réunion ") + title,
                                         QStringLiteral("Budget à revoir"));
        ASSERT_EQ(done.written.size(), 1) << done.problem.toStdString();
        const QString path = done.written.first();
        EXPECT_TRUE(path.endsWith(QStringLiteral("/Réunion ") + title + u'.' +
                                  QString::fromLatin1(each.extension)));
        EXPECT_EQ(tagOf(path, QStringLiteral("title")), QStringLiteral("Réunion ") + title);
        EXPECT_EQ(tagOf(path, QStringLiteral("comment")), QStringLiteral("Budget à revoir"));
        if (each.lossless) {
            EXPECT_TRUE(decodedSamples(path) == original);
        }
    }
    EXPECT_EQ(RecordingExport::formatForExtension(QStringLiteral("FLAC"))->title,
              QStringLiteral("FLAC"));
    EXPECT_FALSE(RecordingExport::formatWithTitle(QStringLiteral("Apple Lossless")));
}

TEST(RecordingExport, ATakenNameGetsANumberAndWhatWasThereStays) {
    const QString source = recording(QStringLiteral("Talk.mov"), 0.5);
    const QString folder = freshFolder(QStringLiteral("numbered"));
    QFile mine(folder + QStringLiteral("/Talk.flac"));
    ASSERT_TRUE(mine.open(QIODevice::WriteOnly));
    mine.write("the user's own file");
    mine.close();
    const auto flac = RecordingExport::formatWithTitle(QStringLiteral("FLAC"));
    ASSERT_TRUE(flac);
    RecordingExportJob job(
        {{source, QStringLiteral("Talk"), {}}, {source, QStringLiteral("Talk"), {}}},
        {folder, QString(), true}, *flac);
    const Finished done = runJob(job);
    EXPECT_EQ(done.written, QStringList({folder + QStringLiteral("/Talk 2.flac"),
                                         folder + QStringLiteral("/Talk 3.flac")}));
    ASSERT_TRUE(mine.open(QIODevice::ReadOnly));
    EXPECT_EQ(mine.readAll(), QByteArray("the user's own file"));
    // A script's target is the exact name: taken, it is refused.
    RecordingExportJob exact({{source, QStringLiteral("Talk"), {}}},
                             {folder, QStringLiteral("Talk 2"), false}, *flac);
    const Finished refused = runJob(exact);
    EXPECT_TRUE(refused.written.isEmpty());
    EXPECT_TRUE(refused.problem.contains(QStringLiteral("Talk 2.flac")))
        << refused.problem.toStdString();
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 3);
}

TEST(RecordingExport, ACancelledOrRefusedExportLeavesNothing) {
    const QString source = recording(QStringLiteral("Long.mov"), 60);
    const auto flac = RecordingExport::formatWithTitle(QStringLiteral("FLAC"));
    ASSERT_TRUE(flac);
    const QString cancelled = freshFolder(QStringLiteral("cancelled"));
    RecordingExportJob job({{source, QStringLiteral("Long"), {}}}, {cancelled, QString(), true},
                           *flac);
    const Finished done = runJob(job, true);
    EXPECT_TRUE(done.cancelled);
    EXPECT_TRUE(done.written.isEmpty());
    EXPECT_TRUE(QDir(cancelled).entryList(QDir::Files | QDir::Hidden).isEmpty());

    const QString readOnly = freshFolder(QStringLiteral("read-only"));
    ReadOnlyFolder mounted(readOnly);
    REQUIRE_OR_SKIP_OUTSIDE_RIG(mounted.mounted(), "a read-only bind mount");
    const Finished refused =
        exportInto(readOnly, QStringLiteral("FLAC"), source, QStringLiteral("Long"));
    EXPECT_TRUE(refused.written.isEmpty());
    EXPECT_TRUE(refused.problem.startsWith(QStringLiteral("“Long” was not exported: ")))
        << refused.problem.toStdString();
    EXPECT_TRUE(QDir(readOnly).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST(RecordingExport, AScriptsFileIsRefusedForAnUnknownExtensionAMissingFolderOrWhenItExists) {
    const QString folder = freshFolder(QStringLiteral("script"));
    QFile taken(folder + QStringLiteral("/taken.wav"));
    ASSERT_TRUE(taken.open(QIODevice::WriteOnly));
    taken.close();
    struct Case {
        QString file;
        QString refusalStart; // empty: accepted
    };
    const Case cases[] = {
        {folder + QStringLiteral("/out.xyz"), QStringLiteral("“")},
        {folder + QStringLiteral("/noextension"), QStringLiteral("“")},
        {folder + QStringLiteral("/missing/out.flac"), QStringLiteral("The folder")},
        {folder + QStringLiteral("/taken.wav"), QStringLiteral("“")},
        {folder + QStringLiteral("/Interview.final.FLAC"), QString()},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.file.toStdString());
        RecordingExport::Target target;
        AudioEncoder format;
        const QString refusal = RecordingExport::targetOfFile(each.file, &target, &format);
        if (each.refusalStart.isEmpty()) {
            EXPECT_TRUE(refusal.isEmpty()) << refusal.toStdString();
            EXPECT_EQ(format.title, QStringLiteral("FLAC"));
            EXPECT_EQ(target.folder, folder);
            EXPECT_EQ(target.fileStem, QStringLiteral("Interview.final"));
            EXPECT_FALSE(target.numbered);
        } else {
            EXPECT_TRUE(refusal.startsWith(each.refusalStart)) << refusal.toStdString();
        }
    }
}

TEST(RecordingExport, TheCommentIsTheFirstLineOfTheNoteWithText) {
    const QString library = freshFolder(QStringLiteral("library"));
    QDir().mkpath(library + QStringLiteral("/Notes"));
    const NoteStore notes(library, library + QStringLiteral("/Notes"));
    EXPECT_EQ(RecordingExport::commentOfNote(notes, QStringLiteral("none.mov")), QString());
    QTextDocument document;
    document.setPlainText(QStringLiteral("\n   \n  Call Anna back  \nsecond line"));
    QString reason;
    ASSERT_TRUE(notes.save(QStringLiteral("take.mov"), document, &reason)) << reason.toStdString();
    EXPECT_EQ(RecordingExport::commentOfNote(notes, QStringLiteral("take.mov")),
              QStringLiteral("Call Anna back"));
}
