// The window for keyboard and screen-reader users: Tab visits each area once, the arrows move
// within, the player seeks from the keyboard and where its groove is clicked, and every control
// is named (checked through Qt's accessibility interfaces, as a screen reader asks).
#include "WindowFixture.h"
#include "platform/media/player/PlaybackTestSupport.h"

#include "library/NoteEditor.h"
#include "library/QKArrayController.h"
#include "platform/media/BVMovieView.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QSlider>
#include <QStyleOptionSlider>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {
class WindowAccessTest : public WindowFixture {
protected:
    void launchWithRecordings() {
        for (const char* name : {"a.mov", "b.mov", "c.mov"}) {
            QFile file(library + "/Recordings/" + name);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(name);
        }
        launch();
    }
    QSlider& slider() { return *w().movieView->findChild<QSlider*>("positionSlider"); }
    // Which area a widget of the Tab chain belongs to.
    QString areaOf(QWidget* widget) {
        if (!widget)
            return "nothing";
        if (widget == w().searchField)
            return "search";
        if (widget == w().fileTableView)
            return "list";
        if (widget == w().notesTextView)
            return "note";
        if (w().noteFormatBar->isAncestorOf(widget))
            return qobject_cast<QToolButton*>(widget) ? "format buttons" : "format fields";
        if (w().recordingGroup->isAncestorOf(widget))
            return "recording controls";
        if (widget == &slider())
            return "position";
        if (w().playbackGroup->isAncestorOf(widget))
            return "playback controls";
        return widget->metaObject()->className() + QString(" ") + widget->objectName();
    }
    // Tabs from the search field round to it again; the areas met on the way, in order.
    QStringList tabRound() {
        w().searchField->setFocus(Qt::TabFocusReason);
        QStringList areas;
        for (int i = 0; i < 40; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget* focus = QApplication::focusWidget();
            if (focus == w().searchField)
                return areas;
            areas << areaOf(focus);
        }
        areas << "no way back to the search field";
        return areas;
    }
};
} // namespace

TEST_F(WindowAccessTest, TabVisitsEachAreaOnceAndTheArrowsMoveWithin) {
    launchWithRecordings();
    // Tabbing into the list with nothing selected selects the row under the cursor: Space
    // then plays it and the note is its note.
    controller->_fileListArrayController->setSelectionIndexes({});
    w().searchField->setFocus(Qt::TabFocusReason);
    QTest::keyClick(w().searchField, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), w().fileTableView);
    EXPECT_EQ(controller->_fileListArrayController->selectionIndexes(), QList<int>{0});
    EXPECT_TRUE(w().actionPlayPause->isEnabled());
    EXPECT_FALSE(w().notesTextView->isReadOnly());
    // Without a recording loaded the position slider cannot act and is passed by.
    EXPECT_EQ(tabRound(), (QStringList{"list", "format buttons", "format fields", "format fields",
                                       "note", "recording controls", "playback controls"}));

    // Within the list the arrows move the selection; Tab leaves it at once.
    w().fileTableView->setFocus(Qt::TabFocusReason);
    QTest::keyClick(w().fileTableView, Qt::Key_Down);
    EXPECT_EQ(controller->_fileListArrayController->selectionIndexes(), QList<int>{1});
    QTest::keyClick(w().fileTableView, Qt::Key_Tab);
    EXPECT_EQ(areaOf(QApplication::focusWidget()), "format buttons");

    // Within the recording controls the arrows pass the ones that cannot act now (Pause, Snip).
    w().recordingButton->setFocus(Qt::TabFocusReason);
    QTest::keyClick(w().recordingButton, Qt::Key_Right);
    EXPECT_EQ(QApplication::focusWidget(), w().previewButton);
    QTest::keyClick(w().previewButton, Qt::Key_Left);
    EXPECT_EQ(QApplication::focusWidget(), w().recordingButton);
    // The format bar's buttons are named for what they do, and walked by the arrows too.
    auto* bold = qobject_cast<QToolButton*>(w().noteFormatBar->focusOrder().first());
    ASSERT_NE(bold, nullptr);
    bold->setFocus(Qt::TabFocusReason);
    QTest::keyClick(bold, Qt::Key_Right);
    EXPECT_EQ(QApplication::focusWidget()->accessibleName(), "Italic");
}

TEST_F(WindowAccessTest, ThePlayerSeeksFromTheKeyboardAndWhereItsGrooveIsClicked) {
    REQUIRE_AUDIO_RIG();
    ASSERT_TRUE(PlaybackTestSupport::makeSound(library + "/Recordings/long.mov", 65.0));
    launch();
    BVMovieView& player = *w().movieView;
    ASSERT_TRUE(player.setMovie(library + "/Recordings/long.mov"));
    const qint64 rate = player.timeScale();
    EXPECT_TRUE(tabRound().contains("position"));

    struct Key {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        qint64 seconds; // where the player is after it
    };
    const Key keys[] = {
        {Qt::Key_Right, {}, 5}, {Qt::Key_Right, Qt::ShiftModifier, 35},
        {Qt::Key_Left, {}, 30}, {Qt::Key_Left, Qt::ShiftModifier, 0},
        {Qt::Key_End, {}, 65},  {Qt::Key_Home, {}, 0},
    };
    slider().setFocus(Qt::TabFocusReason);
    for (const Key& k : keys) {
        QTest::keyClick(&slider(), k.key, k.modifiers);
        EXPECT_EQ(player.currentTime() / rate, k.seconds)
            << QKeySequence(k.key).toString().toStdString();
    }
    EXPECT_EQ(slider().accessibleDescription(), "0:00 of 1:05");

    // A click on the groove, not on the handle, goes to where it was clicked.
    QStyleOptionSlider option;
    option.initFrom(&slider());
    option.minimum = slider().minimum();
    option.maximum = slider().maximum();
    option.sliderPosition = slider().value();
    option.orientation = Qt::Horizontal;
    const QRect groove = slider().style()->subControlRect(QStyle::CC_Slider, &option,
                                                          QStyle::SC_SliderGroove, &slider());
    const QPoint threeQuarters(groove.left() + groove.width() * 3 / 4, groove.center().y());
    QTest::mouseClick(&slider(), Qt::LeftButton, {}, threeQuarters);
    const double at = double(player.currentTime()) / double(rate);
    EXPECT_GT(at, 65 * 0.6);
    EXPECT_LT(at, 65 * 0.9);
}

TEST_F(WindowAccessTest, EveryControlIsNamedAndTheMeterAndClockTellTheirValues) {
    launchWithRecordings();
    controller->_fileListArrayController->setSelectionIndexes({0});
    QStringList unnamed;
    for (QWidget* widget : window().findChildren<QWidget*>()) {
        const bool interactive = widget->focusPolicy() != Qt::NoFocus ||
                                 qobject_cast<QAbstractButton*>(widget) ||
                                 widget == w().displayView || widget == w().statusText;
        if (!interactive || !widget->isVisible() || qobject_cast<QLineEdit*>(widget->focusProxy()))
            continue;
        QAccessibleInterface* access = QAccessible::queryAccessibleInterface(widget);
        if (!access || access->text(QAccessible::Name).trimmed().isEmpty())
            unnamed << areaOf(widget);
    }
    EXPECT_TRUE(unnamed.isEmpty()) << unnamed.join(", ").toStdString();

    // Glyph-only buttons are named for what they do, not for their glyph.
    QStringList formatNames;
    for (QWidget* control : w().noteFormatBar->focusOrder())
        formatNames << QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
    EXPECT_TRUE(formatNames.contains("Bold")) << formatNames.join(", ").toStdString();
    EXPECT_FALSE(formatNames.contains("B"));

    // The meter its level, the clock its time, the state its words.
    grabber->levels[0] = 40;
    grabber->levels[1] = 12;
    w().recordingButton->click();
    now += 72 * 60 + 20;
    poll();
    const auto description = [](QWidget* widget) {
        return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Description);
    };
    EXPECT_EQ(description(w().displayView), "Left 40 %, right 10 %");
    EXPECT_EQ(description(w().statusText), "00:01:12.00");
    EXPECT_EQ(description(w().stateText), "Recording");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(w().displayView)->text(QAccessible::Name),
              "Input level");
    w().recordingButton->click();
}
