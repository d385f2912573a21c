#include "AppFixture.h"
#include "support/TestEnvironment.h"

#include "platform/foundation/Log.h"
#include "ui_PreferencesPanel.h"
#include "ui_TimerWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QSettings>
#include <QToolBar>

#include <gtest/gtest.h>

class PreferencesTest : public ::testing::Test, public AppFixture {};

TEST_F(PreferencesTest, EmptyStoreRestoresTheFallbacks) {
    create();
    LogCapture log;
    controller->PrefRestore(controller.get());
    auto& prefs = interface->preferencesUi();
    auto& timer = interface->timerUi();
    EXPECT_EQ(controller->pathToLibraryFolder(), QDir::homePath() + "/Music/Brevoir");
    EXPECT_EQ(prefs.iTunesPlaylistName->text(), "Brevoir");
    EXPECT_EQ(timer.hourField->text(), "00");
    EXPECT_EQ(timer.minuteField->text(), "00");
    EXPECT_EQ(timer.secondField->text(), "00");
    EXPECT_FALSE(timer.timerCheckBox->isChecked());
    EXPECT_EQ(prefs.encodingSelectionMenu->currentIndex(), 0);
    EXPECT_EQ(prefs.encodingSelectionMenu->itemText(0), "No Conversion");
    EXPECT_TRUE(prefs.safeDeleteCheckBox->isChecked());
    EXPECT_FALSE(prefs.twoWaySyncCheckBox->isChecked());
    for (const QString& line : log.lines())
        EXPECT_FALSE(line.startsWith("settings read from UserDefaults"));
}

TEST_F(PreferencesTest, SaveThenRestoreRoundTripsEveryControl) {
    create();
    controller->PrefRestore(controller.get());
    auto& prefs = interface->preferencesUi();
    auto& timer = interface->timerUi();
    controller->setDataDirectory("/tmp/elsewhere/Talks");
    prefs.iTunesPlaylistName->setText("Lectures");
    timer.hourField->setText("1");
    timer.minuteField->setText("3x");
    timer.secondField->setText("");
    timer.timerCheckBox->setChecked(true);
    prefs.encodingSelectionMenu->setCurrentIndex(-1);
    controller->PrefSaveAction(controller.get());
    Defaults::standard().synchronize();

    QSettings file(Defaults::standard().fileName(), QSettings::IniFormat);
    EXPECT_EQ(file.value("Library Location").toString(), "/tmp/elsewhere/Talks");
    EXPECT_EQ(file.value("iTunes Playlist").toString(), "Lectures");
    EXPECT_EQ(file.value("iTunes Encoding").toInt(), -1);
    EXPECT_EQ(file.value("TimerToggle").toInt(), 1);
    EXPECT_EQ(file.value("MinuteField").toString(), "3x");
    EXPECT_EQ(file.value("SecondField").toString(), "");

    // A new run: everything comes back as typed, and -1 leaves the pop-up without a selection.
    interface.reset();
    controller.reset();
    Defaults::standard().reloadForTesting();
    create();
    controller->PrefRestore(controller.get());
    EXPECT_EQ(controller->pathToLibraryFolder(), "/tmp/elsewhere/Talks");
    EXPECT_EQ(interface->preferencesUi().iTunesPlaylistName->text(), "Lectures");
    EXPECT_EQ(interface->timerUi().hourField->text(), "1");
    EXPECT_EQ(interface->timerUi().minuteField->text(), "3x");
    EXPECT_EQ(interface->timerUi().secondField->text(), "");
    EXPECT_TRUE(interface->timerUi().timerCheckBox->isChecked());
    EXPECT_EQ(interface->preferencesUi().encodingSelectionMenu->currentIndex(), -1);
}

TEST_F(PreferencesTest, OutOfRangeEncoderLeavesNoSelectionAndRestoreGoesOn) {
    Defaults::standard().setInteger(99, "iTunes Encoding");
    Defaults::standard().setObject("Stored", "iTunes Playlist");
    create();
    controller->PrefRestore(controller.get());
    EXPECT_EQ(interface->preferencesUi().encodingSelectionMenu->currentIndex(), -1);
    EXPECT_EQ(interface->preferencesUi().iTunesPlaylistName->text(), "Stored");
}

TEST_F(PreferencesTest, StoredCheckBoxWinsOverAZeroLengthTimer) {
    // The check box is restored after the fields have been applied, so a stored "on" with a
    // zero length stays on.
    Defaults::standard().setInteger(1, "TimerToggle");
    create();
    controller->PrefRestore(controller.get());
    EXPECT_TRUE(interface->timerUi().timerCheckBox->isChecked());
}

// Settings written by other hands: a boolean in the store's own spelling reads as such, and
// an arrangement of 100,000 spaces is cut to what a toolbar holds instead of stalling the launch.
TEST_F(PreferencesTest, StoredSettingsAreReadInEverySpellingAndWithinBounds) {
    Defaults::standard().setObject("YES", "TimerToggle");
    Defaults::standard().setObject(QStringList(100000, "NSToolbarSpaceItem"),
                                   "Example Toolbar Identifier");
    create();
    controller->PrefRestore(controller.get());
    EXPECT_TRUE(interface->timerUi().timerCheckBox->isChecked());
    ASSERT_NE(controller->toolbar(), nullptr);
    EXPECT_LE(controller->toolbar()->actions().size(),
              3 * controller->toolbarAllowedItemIdentifiers().size());
    // ... and the settings hold the bounded arrangement, not the damaged one.
    EXPECT_LE(Defaults::standard().stringArrayForKey("Example Toolbar Identifier").size(),
              3 * controller->toolbarAllowedItemIdentifiers().size());
}

TEST_F(PreferencesTest, PlaylistNameChangeOnlyLogs) {
    create();
    LogCapture log;
    controller->setPlaylistName(nullptr);
    EXPECT_EQ(log.lines(), QStringList{"playlist name has been changed..."});
}

TEST_F(PreferencesTest, BooleanCheckBoxesWriteTheirKeysDirectly) {
    create();
    interface->preferencesUi().safeDeleteCheckBox->setChecked(false);
    interface->preferencesUi().twoWaySyncCheckBox->setChecked(true);
    EXPECT_FALSE(Defaults::standard().boolForKey(sPreferencesKeySafeDelete));
    EXPECT_TRUE(Defaults::standard().boolForKey(sPreferencesKeyTwoWaySyncing));
}

TEST_F(PreferencesTest, LibraryGivenForOneRunIsNotStored) {
    Defaults::standard().setObject("/tmp/kept", sPreferencesKeyLibraryLocation);
    create();
    controller->setLibraryFolderOverride("/tmp/just-this-run");
    controller->PrefRestore(controller.get());
    EXPECT_EQ(controller->pathToLibraryFolder(), "/tmp/just-this-run");
    controller->PrefSaveAction(controller.get());
    EXPECT_EQ(Defaults::standard().stringForKey(sPreferencesKeyLibraryLocation), "/tmp/kept");
}
