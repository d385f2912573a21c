#include "platform/movie/ImaAdpcm.h"

#include <algorithm>

namespace {
constexpr int kIndexTable[16] = {-1, -1, -1, -1, 2, 4, 6, 8, -1, -1, -1, -1, 2, 4, 6, 8};
constexpr int kStepTable[89] = {
    7,     8,     9,     10,    11,    12,    13,    14,    16,    17,    19,   21,    23,
    25,    28,    31,    34,    37,    41,    45,    50,    55,    60,    66,   73,    80,
    88,    97,    107,   118,   130,   143,   157,   173,   190,   209,   230,  253,   279,
    307,   337,   371,   408,   449,   494,   544,   598,   658,   724,   796,  876,   963,
    1060,  1166,  1282,  1411,  1552,  1707,  1878,  2066,  2272,  2499,  2749, 3024,  3327,
    3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845,  8630,  9493, 10442, 11487,
    12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};
} // namespace

ImaEncoder::ImaEncoder(int channels) : _channels(std::clamp(channels, 1, 2)) {}

// The decoder's arithmetic (shifts and adds, not a multiply), so that our reconstruction is
// bit-exact with what players decode.
int ImaEncoder::expand(State& state, int code) {
    const int step = kStepTable[state.stepIndex];
    int diff = step >> 3;
    if (code & 4)
        diff += step;
    if (code & 2)
        diff += step >> 1;
    if (code & 1)
        diff += step >> 2;
    const int predictor = (code & 8) ? state.predictor - diff : state.predictor + diff;
    state.predictor = std::clamp(predictor, -32768, 32767);
    state.stepIndex = std::clamp(state.stepIndex + kIndexTable[code], 0, 88);
    return state.predictor;
}

int ImaEncoder::encodeSample(State& state, int sample) {
    int step = kStepTable[state.stepIndex];
    int diff = sample - state.predictor;
    int code = 0;
    if (diff < 0) {
        code = 8;
        diff = -diff;
    }
    for (int bit = 4; bit; bit >>= 1) {
        if (diff >= step) {
            code |= bit;
            diff -= step;
        }
        step >>= 1;
    }
    return code;
}

void ImaEncoder::encodePacket(const int16_t* frames, uint8_t* out, int16_t* reconstruction) {
    for (int ch = 0; ch < _channels; ++ch) {
        State& state = _state[ch];
        uint8_t* packet = out + ch * kBytesPerChannelPacket;
        const auto header = uint16_t((state.predictor & 0xFF80) | (state.stepIndex & 0x7F));
        packet[0] = uint8_t(header >> 8);
        packet[1] = uint8_t(header);
        for (int i = 0; i < kFramesPerPacket; ++i) {
            const int code = encodeSample(state, frames[i * _channels + ch]);
            const int decoded = expand(state, code);
            if (reconstruction)
                reconstruction[i * _channels + ch] = int16_t(decoded);
            uint8_t& byte = packet[2 + i / 2];
            if (i % 2 == 0)
                byte = uint8_t(code);
            else
                byte = uint8_t(byte | (code << 4));
        }
    }
}
