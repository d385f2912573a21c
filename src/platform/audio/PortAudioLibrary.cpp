#include "platform/audio/PortAudioLibrary.h"

#include <alsa/asoundlib.h>
#include <jack/jack.h>
#include <portaudio.h>

#include <mutex>

namespace {
std::mutex gMutex;
int gUsers = 0;

void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}
void ignoreJackMessage(const char*) {}
} // namespace

bool PortAudioLibrary::acquire() {
    std::lock_guard lock(gMutex);
    if (gUsers == 0) {
        snd_lib_error_set_handler(&ignoreAlsaError);
        jack_set_error_function(&ignoreJackMessage);
        jack_set_info_function(&ignoreJackMessage);
        if (Pa_Initialize() != paNoError)
            return false;
    }
    ++gUsers;
    return true;
}

void PortAudioLibrary::release() {
    std::lock_guard lock(gMutex);
    if (gUsers > 0 && --gUsers == 0)
        Pa_Terminate();
}
