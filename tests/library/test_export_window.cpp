// File > Export Recording... through the real window: the folder dialog with its format menu,
// the worker's files in the folder, the remembered format, numbered names.
#include "library/LibraryFixture.h"
#include "platform/foundation/Defaults.h"
#include "platform/foundation/LocalizedString.h"

#include <QAction>
#include <QComboBox>
#include <QFileDialog>
#include <QMainWindow>
#include <QProcess>
#include <QTest>

namespace {

class ExportWindow : public LibraryFixture {
protected:
    // Chooses `format` and `folder` in the dialog the menu item opens, and waits for the end.
    void exportTo(const QString& folder, const QString& format) {
        auto* item = ui->window()->findChild<QAction*>(QStringLiteral("actionExportRecording"));
        ASSERT_TRUE(item);
        item->trigger();
        auto* panel = ui->window()->findChild<QFileDialog*>(QStringLiteral("exportRecordingPanel"));
        ASSERT_TRUE(panel);
        EXPECT_EQ(panel->windowModality(), Qt::WindowModal);
        auto* menu = panel->findChild<QComboBox*>(QStringLiteral("exportFormatMenu"));
        ASSERT_TRUE(menu);
        const int index = menu->findData(format);
        ASSERT_GE(index, 0);
        menu->setCurrentIndex(index);
        panel->setDirectory(folder);
        static_cast<QDialog*>(panel)->accept();
        EXPECT_TRUE(QTest::qWaitFor([this] { return !controller->isExporting(); }, 60000));
    }

    static QString commentOf(const QString& path) {
        QProcess ffprobe;
        ffprobe.start(QStringLiteral("ffprobe"),
                      {QStringLiteral("-v"), QStringLiteral("error"),
                       QStringLiteral("-show_entries"), QStringLiteral("format_tags=comment"),
                       QStringLiteral("-of"), QStringLiteral("default=nw=1:nk=1"), path});
        ffprobe.waitForFinished(60000);
        return QString::fromUtf8(ffprobe.readAllStandardOutput()).trimmed();
    }
};

} // namespace

TEST_F(ExportWindow, TheSelectionGoesToTheChosenFolderInTheChosenFormatAndNeverReplaces) {
    LocalizedStrings::install();
    ASSERT_TRUE(QDir().mkpath(recordings()));
    writeRecording(recordings() + QStringLiteral("/Interview.mov"));
    writeRecording(recordings() + QStringLiteral("/Walk.mov"));
    launch();
    ui->window()->show();
    select({QStringLiteral("Interview.mov")});
    type(QStringLiteral("Questions for Anna"));
    QTest::keyClick(&noteView(), Qt::Key_Return);
    type(QStringLiteral("and more"));
    select({QStringLiteral("Interview.mov"), QStringLiteral("Walk.mov")});
    const QString folder = scratch(QStringLiteral("Shared"));
    ASSERT_TRUE(QDir().mkpath(folder));

    exportTo(folder, QStringLiteral("WAV"));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden),
              QStringList({QStringLiteral("Interview.wav"), QStringLiteral("Walk.wav")}));
    EXPECT_EQ(commentOf(folder + QStringLiteral("/Interview.wav")),
              QStringLiteral("Questions for Anna"));
    EXPECT_EQ(Defaults::standard().stringForKey(QStringLiteral("ExportFormat")),
              QStringLiteral("WAV"));

    // Again: the files there stay, the new ones are numbered; the menu offers WAV first.
    select({QStringLiteral("Walk.mov")});
    ui->window()->findChild<QAction*>(QStringLiteral("actionExportRecording"))->trigger();
    auto* panel = ui->window()->findChild<QFileDialog*>(QStringLiteral("exportRecordingPanel"));
    ASSERT_TRUE(panel);
    EXPECT_EQ(panel->findChild<QComboBox*>(QStringLiteral("exportFormatMenu"))->currentData(),
              QStringLiteral("WAV"));
    panel->setDirectory(folder);
    static_cast<QDialog*>(panel)->accept();
    EXPECT_TRUE(QTest::qWaitFor([this] { return !controller->isExporting(); }, 60000));
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("/Walk 2.wav")));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 3);
}
