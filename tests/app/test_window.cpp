// The main window as a user meets it: the toolbar and its customisation, the split view, the
// grey background, the About panel and the keyboard.
#include "AppFixture.h"
#include "platform/media/player/PlaybackTestSupport.h"
#include "support/TestEnvironment.h"

#include "app/AboutBox.h"
#include "app/CustomizableToolbar.h"
#include "app/ToolbarPalette.h"
#include "app/WDCleanGreyView.h"
#include "library/QBVTableView.h"
#include "library/QKArrayController.h"
#include "platform/foundation/LocalizedString.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/ThemeColours.h"
#include "platform/media/BVMovieView.h"
#include "ui_MainWindow.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QSplitter>
#include <QTest>
#include <QTextBrowser>
#include <QTextEdit>
#include <QUrlQuery>

#include <gtest/gtest.h>

namespace {
// Stands in for the desktop's browser and mail application: notes what it was asked to open.
class UrlCatcher : public QObject {
    Q_OBJECT

public:
    QList<QUrl> opened;
    Q_INVOKABLE void open(const QUrl& url) { opened << url; }
};

const QString kToolbarKey = QStringLiteral("Example Toolbar Identifier");
const QStringList kDefaultSet = {"Play",
                                 "Stop",
                                 "NSToolbarSpaceItem",
                                 "Pause",
                                 "Record",
                                 "Snip",
                                 "NSToolbarFlexibleSpaceItem",
                                 "Time",
                                 "NSToolbarFlexibleSpaceItem",
                                 "Search",
                                 "Sync"};

class WindowTest : public ::testing::Test, public AppFixture {
protected:
    void SetUp() override { LocalizedStrings::install(); }
    void TearDown() override {
        if (controller)
            controller->soundStop(nullptr);
    }

    CustomizableToolbar& toolbar() {
        return *qobject_cast<CustomizableToolbar*>(controller->toolbar());
    }
    QAction* item(const QString& identifier) { return toolbar().itemWithIdentifier(identifier); }
    // Launches on a library holding one short recording.
    void launchWithOneRecording() {
        const QString library = TestEnvironment::home() + "/Window Library";
        ASSERT_TRUE(QDir().mkpath(library + "/Recordings"));
        ASSERT_TRUE(PlaybackTestSupport::makeSound(library + "/Recordings/Recording A.mov", 1.0));
        create();
        controller->setLibraryFolderOverride(library);
        controller->applicationDidFinishLaunching();
        interface->window()->show();
        interface->window()->activateWindow();
        QApplication::processEvents();
    }
};
} // namespace

TEST_F(WindowTest, ToolbarItemsFollowTheRecordingAndPlaybackState) {
    PlaybackTestSupport::settleAudioOutput();
    launchWithOneRecording();
    EXPECT_EQ(controller->toolbarDefaultItemIdentifiers(), kDefaultSet);
    EXPECT_EQ(
        controller->toolbarAllowedItemIdentifiers(),
        (QStringList{"Play", "Stop", "Pause", "Record", "Snip", "Timer", "Sync", "Search", "Delete",
                     "Time", "NSToolbarCustomizeToolbarItem", "NSToolbarFlexibleSpaceItem",
                     "NSToolbarSpaceItem", "NSToolbarSeparatorItem"}));
    EXPECT_EQ(toolbar().itemIdentifiers(), kDefaultSet);
    EXPECT_EQ(controller->searchField->minimumWidth(), 30);
    EXPECT_EQ(controller->searchField->maximumWidth(), 180);
    EXPECT_EQ(controller->timerView->width(), 201);

    struct State {
        bool recording;
        bool playing;
        QString playLabel, playImage, recordLabel;
        bool play, stop, pause, record, snip;
    };
    const State states[] = {
        {false, false, "Play", "play", "Rec", true, true, false, true, false},
        {true, false, "Play", "play", "Stop", false, false, true, true, true},
        {false, true, "Pause", "play_pause", "Rec", true, true, false, false, false},
    };
    for (const State& s : states) {
        SCOPED_TRACE(::testing::Message()
                     << "recording " << s.recording << " playing " << s.playing);
        if (s.playing && !TestEnvironment::hasAudioRig())
            continue;
        controller->IsBVRecording = s.recording;
        if (s.playing) {
            controller->_fileListArrayController->setSelectionIndexes({0});
            controller->soundPlayPause(nullptr);
            ASSERT_TRUE(controller->qtPlayer()->isPlaying());
        }
        controller->validateToolbar();
        EXPECT_EQ(item("Play")->text(), s.playLabel);
        EXPECT_EQ(item("Play")->property("image").toString(), s.playImage);
        EXPECT_EQ(item("Record")->text(), s.recordLabel);
        EXPECT_EQ(item("Play")->isEnabled(), s.play);
        EXPECT_EQ(item("Stop")->isEnabled(), s.stop);
        EXPECT_EQ(item("Pause")->isEnabled(), s.pause);
        EXPECT_EQ(item("Record")->isEnabled(), s.record);
        EXPECT_EQ(item("Snip")->isEnabled(), s.snip);
        EXPECT_TRUE(item("Search")->isEnabled());
        // The palette keeps naming the record item by what it is.
        EXPECT_EQ(CustomizableToolbar::paletteLabel(item("Record")), "Record");
        controller->soundStop(nullptr);
    }
    controller->IsBVRecording = false;
}

TEST_F(WindowTest, CustomisedToolbarIsStoredAndComesBackAtTheNextLaunch) {
    create();
    EXPECT_EQ(toolbar().itemIdentifiers(), kDefaultSet);
    EXPECT_FALSE(Defaults::standard().hasStoredValue(kToolbarKey));

    // The palette offers every allowed item; opening it from the View menu starts customising.
    interface->mainUi().actionCustomizeToolbar->trigger();
    ASSERT_NE(toolbar().customizationPalette(), nullptr);
    EXPECT_TRUE(toolbar().isCustomizing());
    for (const QString& identifier : controller->toolbarAllowedItemIdentifiers())
        EXPECT_NE(toolbar().customizationPalette()->findChild<QWidget*>(identifier), nullptr)
            << qPrintable(identifier);

    toolbar().insertItem("Timer", 0); // dragged in from the palette
    toolbar().insertItem("Play", 4);  // an item already there moves instead of doubling
    toolbar().removeItem(11);         // "Sync" dragged out
    toolbar().insertItem("NSToolbarSeparatorItem", 1);
    const QStringList customised = {"Timer",
                                    "NSToolbarSeparatorItem",
                                    "Stop",
                                    "NSToolbarSpaceItem",
                                    "Play",
                                    "Pause",
                                    "Record",
                                    "Snip",
                                    "NSToolbarFlexibleSpaceItem",
                                    "Time",
                                    "NSToolbarFlexibleSpaceItem",
                                    "Search"};
    EXPECT_EQ(toolbar().itemIdentifiers(), customised);
    EXPECT_EQ(Defaults::standard().stringArrayForKey(kToolbarKey), customised);
    EXPECT_NE(item("Timer"), nullptr);
    EXPECT_EQ(item("Sync"), nullptr);

    // The next launch, with an item this version does not know stored among them.
    Defaults::standard().setObject(QStringList{"Bogus", "Delete", "Search", "Time"}, kToolbarKey);
    Defaults::standard().synchronize();
    interface.reset();
    controller.reset();
    Defaults::standard().reloadForTesting();
    create();
    EXPECT_EQ(toolbar().itemIdentifiers(), (QStringList{"Delete", "Search", "Time"}));
    ASSERT_NE(item("Search"), nullptr);
    EXPECT_EQ(toolbar().widgetForAction(item("Search")), controller->searchField);

    interface->mainUi().actionCustomizeToolbar->trigger();
    toolbar().customizationPalette()->findChild<QPushButton*>("restoreDefaults")->click();
    EXPECT_EQ(toolbar().itemIdentifiers(), kDefaultSet);
    EXPECT_EQ(Defaults::standard().stringArrayForKey(kToolbarKey), kDefaultSet);
    // The search field and the time display survived every rebuild.
    EXPECT_EQ(toolbar().widgetForAction(item("Time")), controller->timerView);
}

TEST_F(WindowTest, TallerWindowGrowsOnlyTheUpperPaneAndNeverSqueezesItAway) {
    create();
    QMainWindow& window = *interface->window();
    window.resize(900, 600);
    window.show();
    QApplication::processEvents();
    QSplitter& split = *interface->mainUi().splitView;
    const int upper = split.widget(0)->height();
    const int lower = split.widget(1)->height();
    ASSERT_GT(upper, 0);

    window.resize(900, 800);
    QApplication::processEvents();
    EXPECT_EQ(split.widget(1)->height(), lower);
    EXPECT_EQ(split.widget(0)->height(), upper + 200);

    window.resize(900, 650);
    QApplication::processEvents();
    EXPECT_EQ(split.widget(1)->height(), lower);
    EXPECT_EQ(split.widget(0)->height(), upper + 50);

    // As short as the window may get: the list keeps its least height, the lower pane its own.
    window.resize(900, 0);
    QApplication::processEvents();
    EXPECT_EQ(split.widget(1)->height(), lower);
    EXPECT_GE(split.widget(0)->height(), 0);
    EXPECT_GE(split.widget(0)->height(), split.widget(0)->minimumSizeHint().height());
}

TEST(GreyView, LeavesItsBottomStripUnpaintedAndPaintsFromItsLeftEdge) {
    WDCleanGreyView view;
    view.resize(40, 20);
    QImage image(40, 20, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    view.render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
    // A light grey under the light palette the tests run with, from its window colour.
    const QRgb grey = ThemeColours::panelBackground(view.palette()).rgb();
    EXPECT_LT(qGray(grey), qGray(view.palette().color(QPalette::Window).rgb()));
    EXPECT_GT(qGray(grey), 200);
    for (int x = 0; x < 40; ++x) {
        EXPECT_EQ(image.pixel(x, 0), grey);
        EXPECT_EQ(image.pixel(x, 18), grey);
        EXPECT_EQ(qAlpha(image.pixel(x, 19)), 0) << "x " << x;
    }
    struct Redraw {
        QRect dirty, painted;
    };
    // (Top-down coordinates.) A redraw of part of the view fills from its left edge, as far as
    // the redrawn area reaches, one point above the bottom.
    const Redraw redraws[] = {
        {QRect(10, 5, 10, 5), QRect(0, 4, 20, 15)},
        {QRect(0, 0, 40, 20), QRect(0, -1, 40, 20)},
        {QRect(30, 19, 10, 1), QRect(0, 18, 40, 1)},
    };
    for (const Redraw& r : redraws)
        EXPECT_EQ(view.paintedRect(r.dirty), r.painted) << r.dirty.x() << "," << r.dirty.y();
}

TEST_F(WindowTest, AboutPanelIsFilledOnceAndAFailedLoadOnlyBeeps) {
    LogCapture log;
    AboutBox::setInterfaceLoaderForTesting([](AboutBox&) { return false; });
    AboutBox::sharedInstance()->showPanel(nullptr);
    EXPECT_TRUE(log.contains("Failed to load AboutBox.nib"));
    EXPECT_EQ(AboutBox::sharedInstance()->panel(), nullptr);
    AboutBox::setInterfaceLoaderForTesting(nullptr);

    create();
    controller->showAboutBox(nullptr);
    controller->showAboutBox(nullptr);
    AboutBox& box = *AboutBox::sharedInstance();
    ASSERT_NE(box.panel(), nullptr);
    EXPECT_TRUE(box.panel()->isVisible());
    EXPECT_EQ(box.panel()->windowTitle(), "About Brevoir");
    EXPECT_EQ(box.appNameField->text(), "Brevoir");
    EXPECT_EQ(box.versionField->text(), "Version " BREVOIR_VERSION);
    EXPECT_TRUE(box.copyrightField->text().startsWith("Copyright"));
    const QString credits = box.creditsField->toPlainText();
    EXPECT_EQ(credits.count("Written by"), 1) << qPrintable(credits);
    EXPECT_TRUE(box.creditsField->document()->toHtml().contains("font-weight:700"));
    QDialog* first = box.panel();
    box.panel()->hide();
    controller->showAboutBox(nullptr);
    EXPECT_EQ(box.panel(), first);
    EXPECT_EQ(box.creditsField->toPlainText().count("Written by"), 1);
}

TEST_F(WindowTest, SpacePlaysOnlyFromTheListWhileTypingKeepsItsSpaces) {
    launchWithOneRecording();
    Ui::MainWindow& ui = interface->mainUi();
    controller->_fileListArrayController->setSelectionIndexes({0});

    struct Press {
        QWidget* focus;
        bool plays;
    };
    const Press presses[] = {
        {ui.searchField, false}, {ui.notesTextView, false}, {ui.fileTableView, true}};
    for (const Press& press : presses) {
        SCOPED_TRACE(press.focus->objectName().toStdString());
        controller->soundStop(nullptr);
        controller->setPreviouslyPlayedURL(QUrl());
        press.focus->setFocus();
        QApplication::processEvents();
        ASSERT_EQ(QApplication::focusWidget(), press.focus);
        QTest::keyClick(press.focus, Qt::Key_Space);
        EXPECT_EQ(!controller->previouslyPlayedURL().isEmpty(), press.plays);
    }
    EXPECT_EQ(ui.searchField->text(), " ");
    EXPECT_EQ(ui.notesTextView->toPlainText(), " ");

    // Ctrl+F finds, Esc empties the search field.
    ui.fileTableView->setFocus();
    QTest::keyClick(ui.fileTableView, Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), ui.searchField);
    QTest::keyClick(ui.searchField, Qt::Key_Escape);
    EXPECT_TRUE(ui.searchField->text().isEmpty());
}

TEST_F(WindowTest, HelpOpensTheShippedPagesAndTellAFriendHandsOverItsMail) {
    create();
    UrlCatcher desktop;
    QDesktopServices::setUrlHandler("file", &desktop, "open");
    QDesktopServices::setUrlHandler("mailto", &desktop, "open");
    LogCapture log;
    interface->mainUi().actionHelp->trigger();
    interface->mainUi().actionTellAFriend->trigger();
    QDesktopServices::unsetUrlHandler("file");
    QDesktopServices::unsetUrlHandler("mailto");

    ASSERT_EQ(desktop.opened.size(), 2);
    const QString help = desktop.opened[0].toLocalFile();
    EXPECT_TRUE(help.endsWith("/help/index.html")) << qPrintable(help);
    EXPECT_TRUE(QFile::exists(help));
    const QUrl mail = desktop.opened[1];
    EXPECT_EQ(mail.scheme(), "mailto");
    const QUrlQuery query(mail);
    EXPECT_EQ(query.queryItemValue("subject", QUrl::FullyDecoded), "Brevoir Rocks!");
    EXPECT_EQ(query.queryItemValue("body", QUrl::FullyDecoded),
              QString("You can download a free copy from ") + kMakerName + ": " + kMakerWebAddress);
    EXPECT_EQ(log.count("Email Loaded"), 1);
}

#include "test_window.moc"
