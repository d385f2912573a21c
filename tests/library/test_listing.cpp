#include "library/BVMovieDurationFormatter.h"
#include "library/LibraryFixture.h"
#include "library/LibraryScanner.h"
#include "library/QKFileSizeFormatter.h"

#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>

namespace {

struct ProcessRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// The real executable, without a display.
ProcessRun brevoir(const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(BREVOIR_EXECUTABLE), arguments);
    ProcessRun run;
    if (!process.waitForFinished(60000))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

using Listing = LibraryFixture;

TEST_F(Listing, PrintsTheTracksOfTheFullScanInItsOrder) {
    ASSERT_TRUE(QDir().mkpath(recordings() + QStringLiteral("/sub")));
    writeRecording(recordings() + QStringLiteral("/Recording 1.mov"), 1.5);
    writeRecording(recordings() + QStringLiteral("/Recording 2.mov"), 65.257);
    writeFile(recordings() + QStringLiteral("/.DS_Store"), "x");
    writeFile(recordings() + QStringLiteral("/tab\there.mov"), QByteArray(5000000, 'x'));

    const ProcessRun run =
        brevoir({QStringLiteral("--list"), QStringLiteral("--library"), library});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();

    // In the scan's order, each field as the table shows it.
    QByteArray expected;
    const BVMovieDurationFormatter durationText;
    for (const ScannedEntry& entry : scanRecordingsFolder(recordings())) {
        if (entry.kind != ScannedEntry::File)
            continue;
        QString name = entry.name;
        name.replace(QLatin1Char('\t'), QLatin1String("\\t"));
        const qint64 size = QFileInfo(recordings() + QLatin1Char('/') + entry.name).size();
        expected += QStringLiteral("%1\t%2\t%3\t%4\t%5\n")
                        .arg(name)
                        .arg(size)
                        .arg(double(entry.duration), 0, 'f', 3)
                        .arg(byteCountText(float(size)),
                             durationText.transformedValue(entry.duration).toString())
                        .toUtf8();
    }
    EXPECT_EQ(run.out, expected);
    EXPECT_EQ(run.out.count('\n'), 3);
    EXPECT_TRUE(run.out.contains("tab\\there.mov\t5000000\t0.000\t4.8 MB\t00:00:00.00\n"));
    EXPECT_TRUE(run.out.contains("Recording 1.mov\t"));
    EXPECT_TRUE(run.out.contains("\t1.500\t"));
    EXPECT_TRUE(run.out.contains("\t00:01:05.25\n"));
    // The library is only read: nothing is created in it.
    EXPECT_FALSE(QFileInfo::exists(library + QStringLiteral("/Notes")));
}

TEST_F(Listing, AMissingLibraryFolderIsAnError) {
    const QString missing = scratch(QStringLiteral("no such library"));
    const ProcessRun run =
        brevoir({QStringLiteral("--list"), QStringLiteral("--library"), missing});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_EQ(run.err.count('\n'), 1);
    EXPECT_TRUE(run.err.contains(QFile::encodeName(missing))) << run.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(missing));
}

} // namespace
