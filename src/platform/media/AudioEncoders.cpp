#include "platform/media/AudioEncoders.h"

extern "C" {
#include <libavcodec/avcodec.h>
}

std::vector<AudioEncoder> availableAudioEncoders() {
    // Each entry lists FFmpeg encoder names in order of preference.
    struct Candidate {
        const char* title;
        std::vector<const char*> codecs;
        const char* extension;
    };
    static const std::vector<Candidate> candidates = {
        {"AAC", {"aac", "libfdk_aac"}, "m4a"},
        {"MP3", {"libmp3lame", "libshine"}, "mp3"},
        {"FLAC", {"flac"}, "flac"},
        {"Apple Lossless", {"alac"}, "m4a"},
        {"Opus", {"libopus"}, "opus"},
        {"Ogg Vorbis", {"libvorbis"}, "ogg"},
        {"WAV", {"pcm_s16le"}, "wav"},
    };
    std::vector<AudioEncoder> found;
    for (const auto& candidate : candidates) {
        for (const char* codec : candidate.codecs) {
            if (avcodec_find_encoder_by_name(codec)) {
                found.push_back({QString::fromLatin1(candidate.title), QString::fromLatin1(codec),
                                 QString::fromLatin1(candidate.extension)});
                break;
            }
        }
    }
    return found;
}
