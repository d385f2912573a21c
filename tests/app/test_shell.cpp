#include "AppFixture.h"
#include "support/TestEnvironment.h"

#include "library/QKArrayController.h"
#include "platform/foundation/LocalizedString.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/ValueTransformer.h"

#include <QAction>
#include <QMainWindow>
#include <QToolBar>

#include <gtest/gtest.h>

class ShellTest : public ::testing::Test, public AppFixture {};

TEST_F(ShellTest, SharedInstanceExistsExactlyWhileTheControllerDoes) {
    EXPECT_EQ(BVController::sharedInstance(), nullptr);
    create();
    EXPECT_EQ(BVController::sharedInstance(), controller.get());
    interface.reset();
    controller.reset();
    EXPECT_EQ(BVController::sharedInstance(), nullptr);
}

TEST_F(ShellTest, ClassSetUpRegistersTheDurationTransformerByName) {
    EXPECT_NE(ValueTransformer::valueTransformerForName("BVMovieDurationFormatter"), nullptr);
}

TEST_F(ShellTest, LaunchHandsTheFileListItselfToTheListController) {
    create();
    controller->setLibraryFolderOverride(TestEnvironment::home() + "/Library");
    controller->applicationDidFinishLaunching();
    EXPECT_EQ(controller->_fileListArrayController->content(), &controller->fileList());
}

TEST_F(ShellTest, TeardownStopsObservingEveryNotification) {
    create();
    interface.reset();
    controller.reset();
    // Posting after teardown must reach no dead observer.
    NotificationCenter::defaultCenter().post("QKRecorderRecordingDidStop", nullptr);
    NotificationCenter::defaultCenter().post("NSTableViewSelectionDidChangeNotification", nullptr);
    SUCCEED();
}

TEST_F(ShellTest, ToolbarShowsTheDefaultSetAndFollowsTheRecordingState) {
    LocalizedStrings::install();
    create();
    QToolBar* toolbar = controller->toolbar();
    ASSERT_NE(toolbar, nullptr);
    QStringList items;
    for (QAction* action : toolbar->actions())
        if (!action->objectName().isEmpty())
            items << action->objectName();
    EXPECT_EQ(items,
              (QStringList{"Play", "Stop", "Pause", "Record", "Snip", "Time", "Search", "Sync"}));

    auto item = [&](const QString& name) {
        for (QAction* action : toolbar->actions())
            if (action->objectName() == name)
                return action;
        return static_cast<QAction*>(nullptr);
    };
    controller->validateToolbar();
    EXPECT_TRUE(item("Play")->isEnabled());
    EXPECT_FALSE(item("Pause")->isEnabled());
    EXPECT_FALSE(item("Snip")->isEnabled());
    EXPECT_EQ(item("Record")->text(), "Rec");

    controller->IsBVRecording = true;
    controller->validateToolbar();
    EXPECT_FALSE(item("Play")->isEnabled());
    EXPECT_FALSE(item("Stop")->isEnabled());
    EXPECT_TRUE(item("Pause")->isEnabled());
    EXPECT_TRUE(item("Snip")->isEnabled());
    EXPECT_EQ(item("Record")->text(), "Stop");
    controller->IsBVRecording = false;
}

TEST_F(ShellTest, DeleteItemShowsItsTranslatedLabel) {
    LocalizedStrings::install();
    EXPECT_EQ(BVLocalizedString("DeleteToolbar"), "Delete");
    create();
    QAction* item = controller->toolbarItemForItemIdentifier(controller->toolbar(), "Delete");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), "Delete");
    EXPECT_EQ(controller->toolbarItemForItemIdentifier(controller->toolbar(), "Unknown"), nullptr);
}
