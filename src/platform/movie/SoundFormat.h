#pragma once

#include <cstdint>

// How the sound of a recording is stored in its movie file.
enum class SoundCodec : uint8_t {
    Sowt = 0, // 16-bit signed little-endian PCM
    In24 = 1, // 24-bit signed little-endian PCM
    Ima4 = 2, // IMA ADPCM 4:1, packets of 64 frames, 34 bytes per channel
};

struct SoundFormat {
    SoundCodec codec = SoundCodec::Sowt;
    uint32_t sampleRate = 44100;
    uint16_t channels = 2;

    // The sample description's rate is 16.16 fixed point, hence the upper bound.
    bool valid() const {
        return channels >= 1 && channels <= 2 && sampleRate >= 1000 && sampleRate <= 65535 &&
               codec <= SoundCodec::Ima4;
    }
    uint32_t framesPerPacket() const { return codec == SoundCodec::Ima4 ? 64 : 1; }
    uint32_t bytesPerChannelPacket() const {
        switch (codec) {
        case SoundCodec::Sowt:
            return 2;
        case SoundCodec::In24:
            return 3;
        case SoundCodec::Ima4:
            return 34;
        }
        return 0;
    }
    // One packet of every channel: the unit that is written, synced and repaired whole.
    uint32_t bytesPerPacket() const { return bytesPerChannelPacket() * channels; }
    uint16_t bitsPerSample() const { return codec == SoundCodec::In24 ? 24 : 16; }

    bool operator==(const SoundFormat&) const = default;
};
