#include "ControllerTestSupport.h"

#include "app/MessageBar.h"
#include "platform/foundation/Log.h"
#include "recording/LevelHistoryView.h"
#include "recording/StatusClockLabel.h"
#include "ui_TimerWindow.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

class StatusDisplayTest : public ControllerTest {
protected:
    void SetUp() override {
        ControllerTest::SetUp();
        ASSERT_NE(recorder(), nullptr);
        recorder()->setTempFile(folder.filePath("take.mov"));
    }
    Ui::TimerWindow& timer() { return ui->timerUi(); }
    QLabel* timerMessage() { return timer().timerMessage; }

    // Types the three texts, then leaves each field, as a user tabbing through would.
    void setFields(const QString& hours, const QString& minutes, const QString& seconds) {
        timer().hourField->setText(hours);
        timer().minuteField->setText(minutes);
        timer().secondField->setText(seconds);
        for (QLineEdit* field : {timer().hourField, timer().minuteField, timer().secondField})
            emit field->editingFinished();
    }

    bool buttonShows(const char* image) const {
        const QImage shown =
            controller->_timerButton->icon().pixmap(32, 32).toImage().convertToFormat(
                QImage::Format_ARGB32_Premultiplied);
        const QImage expected = QImage(QStringLiteral(":/images/") + image)
                                    .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        return !expected.isNull() && shown == expected;
    }

    QImage meter() const {
        return controller->_displayView->pixmap().toImage().convertToFormat(
            QImage::Format_ARGB32_Premultiplied);
    }

    QTemporaryDir folder;
};

TEST_F(StatusDisplayTest, TimingStringsFollowTheTickArithmetic) {
    LogCapture log;
    EXPECT_EQ(controller->formatTimingString(0), "00:00:00.00");
    EXPECT_EQ(controller->formatTimingString(3661), "00:01:01.01");
    EXPECT_EQ(controller->formatTimingString(216030), "01:00:00.50");
    log.clear();
    EXPECT_EQ(controller->formatTimingString(5), "00:00:00.08");
    EXPECT_EQ(log.lines(), QStringList{"sub = 5, sub/60 = 0"});
    EXPECT_EQ(controller->formatTimingString(59), "00:00:00.98");
    // Hours are not limited to two digits.
    EXPECT_EQ(controller->formatTimingString(216000 * 123 + 3600 * 4 + 60 * 5 + 6), "123:04:05.10");
    for (int sub = 0; sub < 60; ++sub)
        EXPECT_EQ(controller->formatTimingString(60 + sub).right(2),
                  QString::asprintf("%02d", sub * 5 / 3))
            << sub;
}

TEST_F(StatusDisplayTest, StatusShowsTheTimeAndATwoBandMeter) {
    const QImage upperPicture =
        QImage(":/images/right.png").convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage lowerPicture =
        QImage(":/images/left.png").convertToFormat(QImage::Format_ARGB32_Premultiplied);
    ASSERT_EQ(upperPicture.size(), QSize(98, 10));
    ASSERT_EQ(lowerPicture.size(), QSize(98, 10));

    grabber->levels[0] = 40;
    grabber->levels[1] = 0;
    ASSERT_TRUE(recorder()->doRecord());
    now += 3661;
    LogCapture log;
    recorder()->doIdleProcessing(nullptr);
    EXPECT_EQ(controller->_statusText->text(), "00:01:01.01");
    EXPECT_TRUE(log.contains("Left:40 Right:0"));

    QImage image = meter();
    ASSERT_EQ(image.size(), QSize(98, 20));
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 98; ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (y < 10 && x < 40)
                ASSERT_EQ(pixel, upperPicture.pixel(x, y)) << x << "," << y;
            else
                ASSERT_EQ(qAlpha(pixel), 0) << x << "," << y;
        }

    // The second channel fills the lower band from "left.png"; levels past the band are cut.
    grabber->levels[0] = 0;
    grabber->levels[1] = 98;
    now += 3;
    recorder()->doIdleProcessing(nullptr);
    image = meter();
    for (int x = 0; x < 98; ++x) {
        ASSERT_EQ(qAlpha(image.pixel(x, 4)), 0);
        ASSERT_EQ(image.pixel(x, 14), lowerPicture.pixel(x, 4));
    }
    grabber->levels[0] = 500;
    grabber->levels[1] = 120;
    now += 3;
    recorder()->doIdleProcessing(nullptr);
    image = meter();
    EXPECT_EQ(image.pixel(97, 0), upperPicture.pixel(97, 0));
    EXPECT_EQ(image.pixel(97, 19), lowerPicture.pixel(97, 9));

    // Fixed-width digits in a label that keeps its size.
    const QLabel* status = controller->_statusText;
    EXPECT_EQ(status->font().family(),
              QFontDatabase::systemFont(QFontDatabase::FixedFont).family());
    EXPECT_EQ(status->minimumSize(), status->maximumSize());
}

TEST_F(StatusDisplayTest, StatusesWithinATickAreLoggedButNotRedrawn) {
    ASSERT_TRUE(recorder()->doRecord());
    now += 60;
    recorder()->doIdleProcessing(nullptr);
    EXPECT_EQ(controller->_statusText->text(), "00:00:01.00");
    const qint64 meterKey = controller->_displayView->pixmap().cacheKey();

    LogCapture log;
    grabber->levels[0] = 90;
    recorder()->doIdleProcessing(nullptr); // the same tick
    EXPECT_TRUE(log.contains("Left:90 Right:12"));
    EXPECT_EQ(controller->_statusText->text(), "00:00:01.00");
    EXPECT_EQ(controller->_displayView->pixmap().cacheKey(), meterKey);

    now += 1; // the next tick: every poll's status is drawn
    recorder()->doIdleProcessing(nullptr);
    EXPECT_EQ(controller->_statusText->text(), "00:00:01.01");
    EXPECT_NE(controller->_displayView->pixmap().cacheKey(), meterKey);

    // The level history misses no block, not even one of a status that is not drawn.
    ASSERT_TRUE(controller->_levelHistory);
    EXPECT_FALSE(controller->_levelHistory->hasClipped());
    grabber->levelBlocks = {{0.5f, 0.3f, false}, {1.0f, 0.6f, true}};
    recorder()->doIdleProcessing(nullptr); // the same tick again
    EXPECT_TRUE(grabber->levelBlocks.empty());
    EXPECT_TRUE(controller->_levelHistory->hasClipped());
}

TEST_F(StatusDisplayTest, ThePollRunsAtTheDisplayRateOnlyWhileTheWindowIsSeen) {
    QMainWindow* window = controller->mainWindow;
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(recorder()->doPreview());
    const auto interval = [this] { return recorder()->idleTimer()->interval(); };
    EXPECT_EQ(interval(), 250); // not shown yet
    constexpr int shown = QKRecorder::kWatchedIntervalMs;

    struct Step {
        const char* what;
        std::function<void()> act;
        int expected;
    };
    const std::vector<Step> steps = {
        {"shown", [&] { window->show(); }, shown},
        {"minimised", [&] { window->showMinimized(); }, 250},
        {"restored", [&] { window->showNormal(); }, shown},
        {"hidden", [&] { window->hide(); }, 250},
        {"shown again", [&] { window->show(); }, shown},
        {"display hidden", [&] { controller->setStatusDisplayHidden(true); }, 250},
        {"display back", [&] { controller->setStatusDisplayHidden(false); }, shown},
    };
    for (const Step& step : steps) {
        step.act();
        EXPECT_EQ(interval(), step.expected) << step.what;
    }

    // A recording started while the window is seen polls at the display rate from the start.
    recorder()->doPreviewStop();
    ASSERT_TRUE(recorder()->doRecord());
    EXPECT_EQ(interval(), shown);
    recorder()->doStop();
}

TEST_F(StatusDisplayTest, RestoredInputSettingsConfigureTheChannelOrSayWhatRecordsInstead) {
    grabber->presentDevices = {"USB Mic"};
    for (const char* device : {"USB Mic", "Headset (unplugged)"}) {
        ChannelSettings stored;
        stored.inputDevice = QString::fromUtf8(device);
        stored.sampleRate = 22050;
        stored.channels = 1;
        QByteArray bytes;
        ASSERT_EQ(PutUserDataIntoHandle(stored, &bytes), 0);
        Defaults::standard().setObject(bytes, QStringLiteral("AudioSettings"));
        grabber->channel = ChannelSettings();
        controller->problemResolved(BVController::SoundInputProblem);

        controller->PrefRestore(nullptr);
        EXPECT_EQ(grabber->channel, stored) << device;
        // It stays in the window, with the way to choose another input.
        const QString message = controller->_messageBar->text();
        if (stored.inputDevice == "USB Mic") {
            EXPECT_TRUE(message.isEmpty()) << message.toStdString();
        } else {
            EXPECT_TRUE(message.startsWith("The input \"Headset (unplugged)\" is not connected; "
                                           "recording from the default input"))
                << message.toStdString();
            ASSERT_EQ(controller->_messageBar->actionButtons().size(), 1);
            EXPECT_EQ(controller->_messageBar->actionButtons()[0]->text(), "Open Sound Settings…");
        }
        // What is saved again is the user's choice, not the input used instead.
        controller->PrefSaveAction(nullptr);
        EXPECT_EQ(Defaults::standard().dataForKey(QStringLiteral("AudioSettings")), bytes);
    }
}

TEST_F(StatusDisplayTest, StopAndTheEndOfMonitoringEmptyTheMeterAndZeroTheClock) {
    struct Case {
        const char* what;
        std::function<bool()> start;
        std::function<void()> end;
    };
    // Monitoring moves the meter but not the clock: only a recording counts time.
    const Case cases[] = {
        {"monitoring",
         [&] {
             controller->_previewButton->setChecked(true);
             controller->togglePreview(nullptr);
             return recorder()->isPreviewing();
         },
         [&] {
             controller->_previewButton->setChecked(false);
             controller->togglePreview(nullptr);
         }},
        {"recording", [&] { return recorder()->doRecord(); }, [&] { recorder()->doStop(); }},
    };
    const auto meterIsEmpty = [this] {
        const QImage image = meter();
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qAlpha(image.pixel(x, y)) != 0)
                    return false;
        return true;
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(c.start()) << c.what;
        now += 150;
        recorder()->doIdleProcessing(nullptr);
        ASSERT_EQ(controller->_statusText->text(),
                  recorder()->isRecording() ? "00:00:02.50" : "00:00:00.00")
            << c.what;
        ASSERT_FALSE(meterIsEmpty()) << c.what;

        c.end();
        EXPECT_EQ(controller->_statusText->text(), "00:00:00.00") << c.what;
        EXPECT_TRUE(meterIsEmpty()) << c.what;
    }
}

TEST_F(StatusDisplayTest, TimerFieldsGiveTheTimedLength) {
    struct Case {
        const char *hours, *minutes, *seconds;
        int32_t ticks;
    };
    const Case cases[] = {
        {"1", "30", "0", 324000}, {"0", "0", "90", 5400},   {"2h", "0", "0", 432000},
        {"x", "1", "0", 3600},    {" +3", "", "0", 648000}, {"9942", "3", "14", 2147483640},
    };
    for (const Case& c : cases) {
        setFields(c.hours, c.minutes, c.seconds);
        EXPECT_EQ(recorder()->timedLength(), c.ticks)
            << c.hours << " " << c.minutes << " " << c.seconds;
        EXPECT_TRUE(timerMessage()->text().isEmpty());
    }

    // Armed with a length; then a zero length disarms and clears the check box.
    timer().timerCheckBox->click();
    EXPECT_TRUE(recorder()->isTimed());
    EXPECT_TRUE(buttonShows("Interface_timer_on.png"));
    setFields("00", "00", "00");
    EXPECT_EQ(recorder()->timedLength(), 0);
    EXPECT_FALSE(recorder()->isTimed());
    EXPECT_FALSE(timer().timerCheckBox->isChecked());
    EXPECT_TRUE(buttonShows("Interface_timer_off.png"));

    // The check box on with a zero length arms a recording that ends at its second poll.
    timer().timerCheckBox->click();
    EXPECT_TRUE(recorder()->isTimed());
    EXPECT_EQ(recorder()->timedLength(), 0);
    timer().timerCheckBox->click();
    EXPECT_FALSE(recorder()->isTimed());
    EXPECT_TRUE(buttonShows("Interface_timer_off.png"));
}

TEST_F(StatusDisplayTest, NegativeOrTooLongTimesAreRefusedAndTheLengthStays) {
    setFields("0", "10", "0");
    timer().timerCheckBox->click();
    ASSERT_EQ(recorder()->timedLength(), 36000);

    for (const auto& fields :
         {std::array<const char*, 3>{"-1", "0", "0"}, std::array<const char*, 3>{"0", "0", "-5"},
          std::array<const char*, 3>{"9942", "3", "15"},
          std::array<const char*, 3>{"99999999999999999999", "0", "0"}}) {
        setFields(fields[0], fields[1], fields[2]);
        EXPECT_FALSE(timerMessage()->text().isEmpty()) << fields[0] << " " << fields[2];
        EXPECT_EQ(recorder()->timedLength(), 36000);
        EXPECT_TRUE(recorder()->isTimed());
        EXPECT_TRUE(timer().timerCheckBox->isChecked());
    }
    setFields("0", "20", "0");
    EXPECT_TRUE(timerMessage()->text().isEmpty());
    EXPECT_EQ(recorder()->timedLength(), 72000);
}

TEST_F(StatusDisplayTest, AStoredTimerTheSheetWouldRefuseStartsOffAndIsToldOnce) {
    // Typing: the fields take digits only.
    timer().hourField->clear();
    QTest::keyClicks(timer().hourField, "-1a2");
    EXPECT_EQ(timer().hourField->text(), "12");

    for (const char* hours : {"-1", "9943"}) {
        Defaults::standard().setObject(QString::fromLatin1(hours), "HourField");
        Defaults::standard().setObject(QStringLiteral("0"), "MinuteField");
        Defaults::standard().setObject(QStringLiteral("5"), "SecondField");
        Defaults::standard().setInteger(1, "TimerToggle");
        QString told;
        {
            LogCapture log;
            controller->PrefRestore(controller.get());
            told = log.lines().filter("The saved timer").join('\n');
        }
        EXPECT_FALSE(recorder()->isTimed()) << hours;
        EXPECT_FALSE(timer().timerCheckBox->isChecked());
        EXPECT_EQ(timer().hourField->text(), "0");
        EXPECT_EQ(told.count('\n'), 0);
        EXPECT_TRUE(told.contains(QStringLiteral("%1:0:5").arg(hours))) << told.toStdString();
        // What is saved next is a timer the sheet takes: the next launch says nothing.
        controller->PrefSaveAction(controller.get());
        LogCapture quiet;
        controller->PrefRestore(controller.get());
        EXPECT_TRUE(quiet.lines().filter("The saved timer").isEmpty());
    }
    for (const char* key : {"HourField", "MinuteField", "SecondField", "TimerToggle"})
        Defaults::standard().removeObject(QString::fromLatin1(key));
}

TEST_F(StatusDisplayTest, TimerSheetStaysOpenUntilItsFieldsAreAcceptedOrCancelledThenSaves) {
    ui->window()->show();
    controller->showTimerWindow(nullptr);
    QDialog* sheet = controller->timerWindow;
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(sheet->windowModality(), Qt::WindowModal);

    timer().hourField->setText("-2");
    timer().timerButtons->button(QDialogButtonBox::Ok)->click();
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_FALSE(timerMessage()->text().isEmpty());
    EXPECT_FALSE(Defaults::standard().hasStoredValue("HourField"));
    // Escape is Cancel: the sheet goes and leaves everything as it was when it opened.
    QTest::keyClick(sheet, Qt::Key_Escape);
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_EQ(timer().hourField->text(), "00");
    EXPECT_FALSE(Defaults::standard().hasStoredValue("HourField"));

    controller->showTimerWindow(nullptr);
    timer().hourField->setText("2");
    timer().minuteField->setText("5");
    timer().timerButtons->button(QDialogButtonBox::Ok)->click();
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_EQ(recorder()->timedLength(), 2 * 216000 + 5 * 3600);
    EXPECT_EQ(Defaults::standard().stringForKey("HourField"), "2");
    EXPECT_EQ(Defaults::standard().stringForKey("MinuteField"), "5");

    // Cancel undoes what was changed while the sheet was open, the check box included.
    controller->showTimerWindow(nullptr);
    setFields("9", "0", "0");
    timer().timerCheckBox->click();
    EXPECT_TRUE(recorder()->isTimed());
    timer().timerButtons->button(QDialogButtonBox::Cancel)->click();
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_EQ(timer().hourField->text(), "2");
    EXPECT_EQ(recorder()->timedLength(), 2 * 216000 + 5 * 3600);
    EXPECT_FALSE(timer().timerCheckBox->isChecked());
    EXPECT_FALSE(recorder()->isTimed());
    EXPECT_EQ(Defaults::standard().stringForKey("HourField"), "2");
}

TEST_F(StatusDisplayTest, CaptureProblemsStayInTheWindowWithWhatMendsThem) {
    MessageBar& bar = *controller->_messageBar;
    ASSERT_TRUE(recorder()->doRecord());
    grabber->health.overruns = 2;
    recorder()->doIdleProcessing(nullptr);
    EXPECT_TRUE(bar.text().contains("2")) << bar.text().toStdString();
    EXPECT_EQ(bar.kind(), MessageBar::Kind::Warning);
    EXPECT_TRUE(recorder()->isRecording());

    grabber->health.writeError = GrabberErr::fileError;
    grabber->health.writeErrorText = "No space left on device";
    recorder()->doIdleProcessing(nullptr);
    EXPECT_FALSE(recorder()->isRecording());
    EXPECT_TRUE(bar.text().contains("No space left on device")) << bar.text().toStdString();
    EXPECT_EQ(bar.kind(), MessageBar::Kind::Error);
    ASSERT_EQ(bar.actionButtons().size(), 1);
    EXPECT_EQ(bar.actionButtons()[0]->text(), "Choose Another Folder…");
    // Nothing is cut off and nothing lingers for minutes in the status bar.
    EXPECT_TRUE(ui->window()->statusBar()->currentMessage().isEmpty());
}

namespace {
// Where a widget's picture differs from its background colour, and the most strongly coloured
// of those pixels.
struct Ink {
    QRect box;
    QRgb strongest = 0;
};
Ink inkOf(QWidget& widget) {
    const QImage image = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRgb background = image.pixel(0, 0);
    Ink ink;
    int strongest = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (p == background)
                continue;
            ink.box |= QRect(x, y, 1, 1);
            const int strength = std::abs(qRed(p) - qRed(background)) +
                                 std::abs(qGreen(p) - qGreen(background)) +
                                 std::abs(qBlue(p) - qBlue(background));
            if (strength > strongest) {
                strongest = strength;
                ink.strongest = p;
            }
        }
    return ink;
}
} // namespace

TEST(StatusClockLabelTest, DrawsTheTextWhereALabelWouldAndInItsColour) {
    StatusClockLabel clock;
    QLabel label;
    const QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    for (QLabel* l : std::initializer_list<QLabel*>{&clock, &label}) {
        l->setTextFormat(Qt::PlainText);
        l->setFont(font);
        l->setAutoFillBackground(true);
        l->setFixedSize(140, 24);
    }
    struct Case {
        QString text;
        Qt::Alignment alignment;
    };
    for (const Case& c :
         {Case{"00:00:00.00", Qt::AlignRight | Qt::AlignVCenter},
          Case{"01:23:45.67", Qt::AlignRight | Qt::AlignVCenter},
          Case{"01:23:45.67", Qt::AlignLeft | Qt::AlignTop}, Case{"12:34", Qt::AlignCenter}}) {
        for (QLabel* l : std::initializer_list<QLabel*>{&clock, &label}) {
            l->setAlignment(c.alignment);
            l->setText(c.text);
        }
        EXPECT_EQ(inkOf(clock).box, inkOf(label).box) << c.text.toStdString();
    }
    // A new colour is not drawn from glyphs kept in the old one.
    QPalette red = clock.palette();
    red.setColor(QPalette::WindowText, Qt::red);
    clock.setPalette(red);
    const QRgb strongest = inkOf(clock).strongest;
    EXPECT_GT(qRed(strongest), qGreen(strongest) + 100);
}
