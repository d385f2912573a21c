#include "library/LibraryFixture.h"
#include "platform/foundation/Log.h"

#include <QDropEvent>
#include <QMainWindow>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QUrl>

namespace {

class LibraryDrops : public LibraryFixture {
protected:
    void SetUp() override {
        LibraryFixture::SetUp();
        ASSERT_TRUE(QDir().mkpath(scratch(QStringLiteral("A"))));
        ASSERT_TRUE(QDir().mkpath(scratch(QStringLiteral("B"))));
        ASSERT_TRUE(QDir().mkpath(recordings()));
    }

    // Drops the files on the table as another application would, through the widget.
    void drop(const QStringList& paths) const {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& path : paths)
            urls << QUrl::fromLocalFile(path);
        data.setUrls(urls);
        const QPointF at(10, 10);
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(table().viewport(), &enter);
        ASSERT_TRUE(enter.isAccepted());
        EXPECT_EQ(enter.dropAction(), Qt::CopyAction);
        QDropEvent event(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(table().viewport(), &event);
        ASSERT_TRUE(event.isAccepted());
    }

    void waitForCopy() const {
        QSignalSpy finished(&list(), &QKArrayController::dropCopyFinished);
        if (list().pendingCopies() > 0) {
            ASSERT_TRUE(finished.wait(30000));
        }
    }

    QStringList recordingsOnDisk() const {
        QStringList names =
            QDir(recordings())
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                           QDir::Name);
        return names;
    }

    // The lines a drop logs, without those of other parts.
    static QStringList dropLines(const QStringList& lines) {
        static const QStringList starts{"droppedFiles", "added file: ",  "filesToCopy",
                                        "source: ",     "destination: ", "performing copy...",
                                        "not copied",   "copy ",         "adding one file"};
        QStringList kept;
        for (const QString& line : lines) {
            for (const QString& start : starts) {
                if (line.startsWith(start)) {
                    kept << line;
                    break;
                }
            }
        }
        return kept;
    }
};

TEST_F(LibraryDrops, SoundFilesAreCopiedFromEveryFolderAndNothingIsReplaced) {
    writeFile(recordings() + QStringLiteral("/g.mov"), "the library's own g");
    launch();
    const QString a = scratch(QStringLiteral("A"));
    const QString b = scratch(QStringLiteral("B"));
    writeRecording(a + QStringLiteral("/a.mov"), 1.0);
    writeFile(a + QStringLiteral("/b.mp3"), "b");
    writeFile(a + QStringLiteral("/c.m4a"), "c");
    writeFile(a + QStringLiteral("/d.MOV"), "d");
    writeFile(a + QStringLiteral("/e.wav"), "e");
    writeFile(b + QStringLiteral("/f.mov"), "f from another folder");
    writeFile(b + QStringLiteral("/g.mov"), "a dropped g");
    ASSERT_TRUE(QDir().mkdir(b + QStringLiteral("/h.mov")));
    writeFile(b + QStringLiteral("/h.mov/inside.mov"), "inside");

    LogCapture log;
    drop({a + "/a.mov", a + "/b.mp3", a + "/c.m4a", a + "/d.MOV", a + "/e.wav", b + "/f.mov",
          b + "/g.mov", b + "/h.mov"});
    waitForCopy();

    const QString destination = recordings();
    const QStringList expected{
        QStringLiteral("droppedFiles count: 8"),
        QStringLiteral("droppedFiles: (\"%1/a.mov\", \"%1/b.mp3\", \"%1/c.m4a\", \"%1/d.MOV\", "
                       "\"%1/e.wav\", \"%2/f.mov\", \"%2/g.mov\", \"%2/h.mov\")")
            .arg(a, b),
        QStringLiteral("added file: a.mov"),
        QStringLiteral("added file: b.mp3"),
        QStringLiteral("added file: c.m4a"),
        QStringLiteral("added file: f.mov"),
        QStringLiteral("added file: g.mov"),
        QStringLiteral("added file: h.mov"),
        QStringLiteral("filesToCopy count: 6"),
        QStringLiteral(
            "filesToCopy: (\"a.mov\", \"b.mp3\", \"c.m4a\", \"f.mov\", \"g.mov\", \"h.mov\")"),
        QStringLiteral("source: ") + a,
        QStringLiteral("source: ") + b,
        QStringLiteral("destination: ") + destination,
        QStringLiteral("performing copy..."),
        QStringLiteral("not copied, already in the library: ") + b + QStringLiteral("/g.mov"),
        QStringLiteral("not copied, not a file: ") + b + QStringLiteral("/h.mov"),
        QStringLiteral("copy completed"),
        QStringLiteral("adding one file to list..."),
        QStringLiteral("adding one file to list..."),
        QStringLiteral("adding one file to list..."),
        QStringLiteral("adding one file to list..."),
    };
    EXPECT_EQ(dropLines(log.lines()), expected);

    EXPECT_EQ(recordingsOnDisk(), (QStringList{"a.mov", "b.mp3", "c.m4a", "f.mov", "g.mov"}));
    QFile g(destination + QStringLiteral("/g.mov"));
    ASSERT_TRUE(g.open(QIODevice::ReadOnly));
    EXPECT_EQ(g.readAll(), QByteArray("the library's own g"));
    EXPECT_EQ(listed().count(QStringLiteral("g.mov")), 1);
    EXPECT_EQ(listed().size(), 5);
    EXPECT_NEAR(*track(QStringLiteral("a.mov"))->duration(), 1.0, 0.001);
    EXPECT_TRUE(shown().contains(QStringLiteral("f.mov")));
    // The dropped files stay where they were.
    EXPECT_TRUE(QFile::exists(b + QStringLiteral("/f.mov")));

    // The user is told which file was left out.
    auto* report = ui->window()->findChild<QMessageBox*>(QStringLiteral("dropCopyReport"));
    ASSERT_TRUE(report);
    EXPECT_TRUE(report->isVisible());
    EXPECT_TRUE(report->informativeText().contains(QStringLiteral("g.mov")));
    report->close();
}

TEST_F(LibraryDrops, CapitalsOtherExtensionsAndPlainFoldersCopyNothing) {
    launch();
    const QString a = scratch(QStringLiteral("A"));
    writeFile(a + QStringLiteral("/loud.MOV"), "d");
    writeFile(a + QStringLiteral("/take.wav"), "e");
    ASSERT_TRUE(QDir().mkdir(a + QStringLiteral("/folder")));
    LogCapture log;
    drop({a + "/loud.MOV", a + "/take.wav", a + "/folder"});
    EXPECT_EQ(list().pendingCopies(), 0);
    EXPECT_EQ(dropLines(log.lines()),
              (QStringList{QStringLiteral("droppedFiles count: 3"),
                           QStringLiteral("droppedFiles: (\"%1/loud.MOV\", \"%1/take.wav\", "
                                          "\"%1/folder\")")
                               .arg(a)}));
    EXPECT_TRUE(recordingsOnDisk().isEmpty());
    EXPECT_TRUE(listed().isEmpty());
}

TEST_F(LibraryDrops, RowsDraggedWithinTheTableAreNotDroppedBackOnIt) {
    ASSERT_TRUE(QDir().mkpath(recordings()));
    writeFile(recordings() + QStringLiteral("/one.mov"), "1");
    writeFile(recordings() + QStringLiteral("/two.mov"), "2");
    launch();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(recordings() + QStringLiteral("/one.mov"))});
    int row = 0;
    TableViewDropOperation operation = TableViewDropOperation::On;
    EXPECT_EQ(list().tableViewValidateDropProposedRowProposedDropOperation(
                  &table(), DraggingInfo{&data, &table()}, row, operation),
              Qt::IgnoreAction);
    // From elsewhere: always after the last row, as a copy.
    EXPECT_EQ(list().tableViewValidateDropProposedRowProposedDropOperation(
                  &table(), DraggingInfo{&data, nullptr}, row, operation),
              Qt::CopyAction);
    EXPECT_EQ(row, 2);
    EXPECT_EQ(operation, TableViewDropOperation::Above);

    // Text without files is not taken at all.
    QMimeData text;
    text.setText(QStringLiteral("hello"));
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(table().viewport(), &enter);
    EXPECT_FALSE(enter.isAccepted());
}

TEST_F(LibraryDrops, ALargeCopyShowsProgressAndCancellingLeavesNothing) {
    launch();
    const QString big = scratch(QStringLiteral("A/big.mov"));
    {
        QFile file(big);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(qint64(2) << 30)); // sparse: cheap to make, long to copy
    }
    LogCapture log;
    drop({big});
    ASSERT_EQ(list().pendingCopies(), 1);
    auto* progress = ui->window()->findChild<QProgressDialog*>(QStringLiteral("dropCopyProgress"));
    ASSERT_TRUE(progress);
    EXPECT_EQ(progress->windowModality(), Qt::WindowModal);
    // The user presses Cancel.
    auto* cancel = progress->findChild<QPushButton*>();
    ASSERT_TRUE(cancel);
    cancel->click();
    waitForCopy();
    EXPECT_TRUE(log.contains(QStringLiteral("copy cancelled: ") + big));
    EXPECT_TRUE(recordingsOnDisk().isEmpty());
    EXPECT_TRUE(listed().isEmpty());
    EXPECT_FALSE(ui->window()->findChild<QMessageBox*>(QStringLiteral("dropCopyReport")));
}

TEST_F(LibraryDrops, AFileThatWouldShareAListedRecordingsNoteGetsANumberedName) {
    writeFile(recordings() + QStringLiteral("/Interview.mov"), "the library's interview");
    writeFile(recordings() + QStringLiteral("/Interview 2.mov"), "the second");
    launch();
    const QString a = scratch(QStringLiteral("A"));
    writeFile(a + QStringLiteral("/Interview.mp3"), "dropped");
    writeFile(a + QStringLiteral("/Talk.mov"), "talk");
    writeFile(a + QStringLiteral("/Talk.m4a"), "talk again");
    drop({a + "/Interview.mp3", a + "/Talk.mov", a + "/Talk.m4a"});
    waitForCopy();
    // Interview.mp3 would read Interview.mov's note; Talk.m4a the note of Talk.mov dropped with it.
    EXPECT_EQ(recordingsOnDisk(), (QStringList{"Interview 2.mov", "Interview 3.mp3",
                                               "Interview.mov", "Talk 2.m4a", "Talk.mov"}));
    EXPECT_EQ(listed().size(), 5);
    QFile copied(recordings() + QStringLiteral("/Interview 3.mp3"));
    ASSERT_TRUE(copied.open(QIODevice::ReadOnly));
    EXPECT_EQ(copied.readAll(), QByteArray("dropped"));
}

} // namespace
