// What the window tells the user and how it reads: problems in the message bar, wrapped and
// kept until resolved; status lines that wrap and go; and text that reads on a dark theme.
#include "WindowFixture.h"

#include "app/MessageBar.h"
#include "app/WrappingStatusBar.h"
#include "library/QKArrayController.h"
#include "platform/foundation/ThemeColours.h"

#include <QGroupBox>
#include <QPushButton>
#include <QStatusBar>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {
class WindowMessagesTest : public WindowFixture {};

QPalette darkPalette() {
    QPalette dark;
    const QColor window(0x32, 0x32, 0x32), text(0xf0, 0xf0, 0xf0), base(0x24, 0x24, 0x24);
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        dark.setColor(group, QPalette::Window, window);
        dark.setColor(group, QPalette::WindowText, text);
        dark.setColor(group, QPalette::Base, base);
        dark.setColor(group, QPalette::AlternateBase, window);
        dark.setColor(group, QPalette::Text, text);
        dark.setColor(group, QPalette::Button, window);
        dark.setColor(group, QPalette::ButtonText, text);
        dark.setColor(group, QPalette::Highlight, QColor(0x2a, 0x82, 0xda));
        dark.setColor(group, QPalette::HighlightedText, Qt::white);
        dark.setColor(group, QPalette::PlaceholderText, QColor(0xa0, 0xa0, 0xa0));
    }
    dark.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x90, 0x90, 0x90));
    dark.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x90, 0x90, 0x90));
    return dark;
}
} // namespace

TEST_F(WindowMessagesTest, ProblemsStayByTopicUntilResolvedOrDismissed) {
    launch();
    MessageBar& bar = *controller->_messageBar;
    EXPECT_TRUE(bar.isHidden());
    using Problem = BVController::UserProblem;
    controller->tellUser(
        "The library folder cannot be used.",
        {BVController::LibraryFolderProblem, Problem::Remedy::ChooseLibraryFolder});
    controller->tellUser("The input went away.",
                         {BVController::SoundInputProblem, Problem::Remedy::OpenSoundSettings});
    EXPECT_EQ(bar.text(), "The input went away.");
    // A later message of a topic replaces the earlier one; the newest shows.
    controller->tellUser(
        "The library folder is read-only.",
        {BVController::LibraryFolderProblem, Problem::Remedy::ChooseLibraryFolder});
    EXPECT_EQ(bar.text(), "The library folder is read-only.");
    ASSERT_EQ(bar.actionButtons().size(), 1);
    EXPECT_EQ(bar.actionButtons()[0]->text(), "Choose Another Folder…");
    // Resolved, it goes, and the one before comes back with its own action.
    controller->problemResolved(BVController::LibraryFolderProblem);
    EXPECT_EQ(bar.text(), "The input went away.");
    ASSERT_EQ(bar.actionButtons().size(), 1);
    EXPECT_EQ(bar.actionButtons()[0]->text(), "Open Sound Settings…");
    bar.closeButton()->click();
    EXPECT_TRUE(bar.isHidden());
    EXPECT_TRUE(bar.text().isEmpty());
}

TEST_F(WindowMessagesTest, LongTextsWrapInsteadOfBeingCutAndStatusLinesGo) {
    launch();
    window().resize(720, 500);
    const QString path = "/home/someone/Music/a folder with a rather long name/and another "
                         "one below it/Brevoir/Recordings";
    const QString longText = "The recording could not start: the library folder cannot be "
                             "used: " +
                             path + " (No such file or directory)";

    controller->tellUser(longText, {BVController::LibraryFolderProblem});
    QApplication::processEvents();
    auto* text = controller->_messageBar->findChild<QLabel*>("messageText");
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->wordWrap());
    EXPECT_GE(text->height(), text->heightForWidth(text->width()));
    EXPECT_GT(text->height(), 2 * text->fontMetrics().height() - 2); // it took more lines
    // A path longer than the window, without a blank in it, breaks at its slashes.
    const QString deep = "/home/someone" + QString("/folder-of-folders").repeated(30);
    controller->tellUser(deep, {BVController::LibraryFolderProblem});
    QApplication::processEvents();
    EXPECT_LE(controller->_messageBar->width(), window().width());
    EXPECT_LE(text->geometry().right(), controller->_messageBar->width());
    EXPECT_GE(text->height(), text->heightForWidth(text->width()));
    EXPECT_EQ(controller->_messageBar->text(), deep);

    // The status bar grows to show the whole line; it goes after a reading time, not minutes.
    controller->tellUser(longText + " " + longText);
    QApplication::processEvents();
    QStatusBar& status = *window().statusBar();
    EXPECT_EQ(status.currentMessage(), longText + " " + longText);
    const QRect needed = status.fontMetrics().boundingRect(
        QRect(0, 0, status.width() - 10, 10000), Qt::TextWordWrap, status.currentMessage());
    EXPECT_GE(status.height(), needed.height());
    for (const QString& message : {QString("Saved."), longText, longText.repeated(10)}) {
        EXPECT_GE(WrappingStatusBar::timeoutFor(message), 5000);
        EXPECT_LE(WrappingStatusBar::timeoutFor(message), 20000);
    }
}

TEST_F(WindowMessagesTest, UnderADarkThemeTheLowerPanelAndTheMessageBarRead) {
    const QPalette original = QApplication::palette();
    for (const QPalette& palette : {original, darkPalette()}) {
        const bool dark = ThemeColours::isDark(palette);
        SCOPED_TRACE(dark ? "dark" : "light");
        QApplication::setPalette(palette);
        launch();
        QWidget& pane = *w().lowerPane;
        const QImage picture = pane.grab().toImage();
        const QColor background = picture.pixelColor(3, 3);
        EXPECT_EQ(ThemeColours::isDark(palette), background.lightness() < 128);
        // The headings, the labels and the buttons' text, against what the panel paints.
        for (QWidget* widget : pane.findChildren<QWidget*>()) {
            if (!widget->isVisible() || !widget->isEnabled())
                continue;
            const QColor ink = widget->palette().color(widget->foregroundRole());
            const QColor behind = qobject_cast<QAbstractButton*>(widget)
                                      ? widget->palette().color(QPalette::Button)
                                      : background;
            if (qobject_cast<QLabel*>(widget) || qobject_cast<QGroupBox*>(widget) ||
                qobject_cast<QPushButton*>(widget)) {
                EXPECT_GE(ThemeColours::contrastRatio(ink, behind), 4.5)
                    << widget->objectName().toStdString();
            }
        }
        // The message bar's tint keeps the text readable.
        controller->tellUser("Something to act on.", {BVController::RecordingProblem});
        QApplication::processEvents();
        MessageBar& bar = *controller->_messageBar;
        const QColor tint = bar.grab().toImage().pixelColor(bar.width() / 2, 4);
        EXPECT_GE(ThemeColours::contrastRatio(bar.palette().color(QPalette::WindowText), tint),
                  4.5);
        // Errors in running text are red enough to see and still read.
        EXPECT_GE(ThemeColours::contrastRatio(ThemeColours::negativeText(palette),
                                              palette.color(QPalette::Window)),
                  4.5);
        ui.reset();
        controller.reset();
        BVController::setRecorderFactory(
            [g = grabber] { return QKRecorder::create(fakeGrabberFactory(g)); });
        controller = std::make_unique<BVController>();
        ui = std::make_unique<MainInterface>();
        ui->connect(*controller);
    }
    QApplication::setPalette(original);
}
