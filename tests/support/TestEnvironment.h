#pragma once

#include <QString>

// The headless test environment of one test process: fresh HOME and XDG folders, Qt's
// offscreen platform, and the test rig's ALSA configuration when the rig is running.
namespace TestEnvironment {
// The temporary folder that holds HOME and the XDG folders of this process.
QString root();
QString home();
// Whether the test rig's audio (PulseAudio and the file-backed capture PCM) is available.
bool hasAudioRig();
// Whether this process runs inside the test rig (scripts/test-rig.sh): there, everything a test
// needs is expected to be present, and a test that cannot run fails instead of skipping.
bool insideRig();
// The rig's capture PCM ("brevoir_test_capture"); it plays the file named by the
// BREVOIR_TEST_CAPTURE_FILE variable at real-time pace.
QString capturePcm();
} // namespace TestEnvironment

// A test that needs what `available` says is there: outside the rig (a developer running one
// test by hand) it is skipped when it is missing; inside the rig, where CI runs the suite, it
// fails, so that no part of the suite can silently not run.
#define REQUIRE_OR_SKIP_OUTSIDE_RIG(available, what)                                               \
    do {                                                                                           \
        if (!(available)) {                                                                        \
            if (TestEnvironment::insideRig())                                                      \
                FAIL() << "the test rig lacks " << what;                                           \
            GTEST_SKIP() << "needs " << what;                                                      \
        }                                                                                          \
    } while (0)

// The audio rig (private PulseAudio and the file-backed capture PCM).
#define REQUIRE_AUDIO_RIG()                                                                        \
    REQUIRE_OR_SKIP_OUTSIDE_RIG(TestEnvironment::hasAudioRig(),                                    \
                                "the audio test rig (scripts/test-rig.sh)")
