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
// The rig's capture PCM ("brevoir_test_capture"); it plays the file named by the
// BREVOIR_TEST_CAPTURE_FILE variable at real-time pace.
QString capturePcm();
} // namespace TestEnvironment

// Skips the current test when the audio rig is not running.
#define REQUIRE_AUDIO_RIG()                                                                        \
    do {                                                                                           \
        if (!TestEnvironment::hasAudioRig())                                                       \
            GTEST_SKIP() << "needs the audio test rig (scripts/test-rig.sh)";                      \
    } while (0)
