#pragma once

#include <cstdint>

// IMA ADPCM 4:1 in QuickTime's 'ima4' packets: per channel, a 2-byte header (the predictor's
// upper nine bits and the step index) and 32 bytes of 64 four-bit codes, low nibble first.
//
// The encoder carries its full-precision predictor from packet to packet and writes only the
// truncated value into each header, exactly as a decoder continues: a decoder resets to the
// header only when it is more than 127 away, which never happens for our packets.
class ImaEncoder {
public:
    static constexpr int kFramesPerPacket = 64;
    static constexpr int kBytesPerChannelPacket = 34;

    explicit ImaEncoder(int channels);

    // Encodes 64 interleaved frames into channels * 34 bytes (channel packets one after the
    // other). When `reconstruction` is given it receives the 64 interleaved frames a decoder
    // will produce.
    void encodePacket(const int16_t* frames, uint8_t* out, int16_t* reconstruction = nullptr);

private:
    struct State {
        int predictor = 0;
        int stepIndex = 0;
    };
    static int expand(State& state, int code);
    static int encodeSample(State& state, int sample);

    int _channels;
    State _state[2];
};
