#pragma once

#include "app/BVController.h"
#include "app/MainInterface.h"
#include "library/QBVTableView.h"
#include "library/QBVTrack.h"
#include "library/QKArrayController.h"
#include "platform/foundation/Defaults.h"
#include "platform/media/duration/MediaFiles.h"
#include "recording/QKRecorder.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QMainWindow>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

#include <gtest/gtest.h>

#include <memory>

// The real controller and main interface, without the sound input, over a library folder of
// its own in a temporary folder.
class LibraryFixture : public ::testing::Test {
protected:
    void SetUp() override {
        QFile::remove(Defaults::standard().fileName());
        Defaults::standard().reloadForTesting();
        BVController::initialize();
        BVController::setRecorderFactory([] { return nullptr; });
        library = _root.filePath(QStringLiteral("Library"));
    }

    void TearDown() override {
        quit();
        BVController::setRecorderFactory(nullptr);
    }

    // Ends this run; launch() starts the next.
    void quit() {
        controller.reset();
        ui.reset();
    }

    // Creation, interface, launch on `library`.
    void launch() {
        controller = std::make_unique<BVController>();
        ui = std::make_unique<MainInterface>();
        ui->connect(*controller);
        controller->setLibraryFolderOverride(library);
        controller->applicationDidFinishLaunching();
    }

    QString recordings() const { return library + QStringLiteral("/Recordings"); }
    QString scratch(const QString& name) const { return _root.filePath(name); }
    QKArrayController& list() const { return *controller->_fileListArrayController; }
    QBVTableView& table() const { return *controller->fileTableView; }

    QStringList names(const std::vector<std::shared_ptr<QBVTrack>>& tracks) const {
        QStringList all;
        for (const auto& track : tracks)
            all << track->name();
        return all;
    }
    QStringList listed() const { return names(controller->fileList()); }
    QStringList shown() const { return names(list().arrangedObjects()); }

    std::shared_ptr<QBVTrack> track(const QString& name) const {
        for (const auto& t : controller->fileList()) {
            if (t->name() == name)
                return t;
        }
        return nullptr;
    }

    void select(const QStringList& names) {
        std::vector<std::shared_ptr<QBVTrack>> tracks;
        for (const QString& name : names)
            tracks.push_back(track(name));
        list().setSelectedObjects(tracks);
    }
    QTextEdit& noteView() const { return *controller->_notesTextView; }
    // Types at the end of the note view, as the user would.
    void type(const QString& text) {
        noteView().setFocus();
        noteView().moveCursor(QTextCursor::End);
        QTest::keyClicks(&noteView(), text);
    }
    // What the status line says.
    QString told() const { return ui->window()->statusBar()->currentMessage(); }

    static void writeFile(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
        file.write(bytes);
    }

    // A real recording of the given length (made once per process and copied).
    static void writeRecording(const QString& path, double seconds = 1.5) {
        const QString made =
            TestEnvironment::root() + QStringLiteral("/tone-%1.mov").arg(seconds, 0, 'f', 3);
        if (!QFile::exists(made)) {
            ASSERT_TRUE(MediaFiles::makeTone(made, 22050, 1, seconds,
                                             {"-c:a", QStringLiteral("pcm_s16be")}));
        }
        QFile::remove(path);
        ASSERT_TRUE(QFile::copy(made, path)) << path.toStdString();
    }

    std::unique_ptr<BVController> controller;
    std::unique_ptr<MainInterface> ui;
    QString library;

private:
    QTemporaryDir _root;
};
