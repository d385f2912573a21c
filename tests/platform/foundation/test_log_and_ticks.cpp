#include "platform/foundation/LocalizedString.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Ticks.h"

#include <gtest/gtest.h>

TEST(Log, CaptureSeesInfoAndDebugLinesExactly) {
    LogCapture capture;
    bvLog("error: -50 - couldn't stop recording");
    bvLogDebug("Left:40 Right:0");
    EXPECT_EQ(capture.lines(),
              (QStringList{"error: -50 - couldn't stop recording", "Left:40 Right:0"}));
    EXPECT_EQ(capture.count("Left:40 Right:0"), 1);
}

TEST(Ticks, CountsSixtiethsInSigned32BitAndWraps) {
    Ticks::setSource([] { return int64_t{3661}; });
    EXPECT_EQ(TickCount(), 3661);
    Ticks::setSource([] { return int64_t{0x80000000LL}; });
    EXPECT_EQ(TickCount(), INT32_MIN);
    Ticks::resetSource();
    const int32_t a = TickCount();
    const int32_t b = TickCount();
    EXPECT_GE(b - a, 0);
}

TEST(LocalizedString, MissingTranslationShowsTheKey) {
    EXPECT_EQ(BVLocalizedString("NoSuchKeyAnywhere"), "NoSuchKeyAnywhere");
}
