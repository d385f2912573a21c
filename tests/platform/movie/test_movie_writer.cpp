#include "platform/movie/ImaAdpcm.h"
#include "platform/movie/MovieTestTools.h"
#include "platform/movie/MovieWriter.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>

using namespace MovieTestTools;

namespace {
std::vector<int32_t> widen(const std::vector<int16_t>& samples) {
    std::vector<int32_t> out(samples.size());
    for (size_t i = 0; i < samples.size(); ++i)
        out[i] = int32_t(uint32_t(uint16_t(samples[i])) << 16);
    return out;
}

// Writes `samples` in uneven pieces, as the capture layer's writer does.
void writeAll(MovieWriter& writer, const std::vector<int32_t>& samples, int channels) {
    const size_t frames = samples.size() / size_t(channels);
    size_t done = 0;
    size_t piece = 1;
    while (done < frames) {
        const size_t n = std::min(piece, frames - done);
        ASSERT_TRUE(writer.append(samples.data() + done * size_t(channels), n));
        done += n;
        piece = piece * 3 % 1999 + 1;
    }
}

struct Case {
    SoundCodec codec;
    uint32_t rate;
    uint16_t channels;
    const char* ffmpegCodec;
};

// Keeps the test names that list the parameters readable and stable.
void PrintTo(const Case& c, std::ostream* os) {
    *os << c.ffmpegCodec << ' ' << c.rate << " Hz " << c.channels << " ch";
}

class MovieWriterFormats : public ::testing::TestWithParam<Case> {};
} // namespace

TEST_P(MovieWriterFormats, FfmpegDecodesWhatWasWritten) {
    const Case c = GetParam();
    QTemporaryDir dir;
    const QString path = dir.filePath("take.mov");
    const SoundFormat format{c.codec, c.rate, c.channels};
    // IMA files hold whole packets of 64 frames.
    const size_t frames =
        c.codec == SoundCodec::Ima4 ? c.rate * 3 / 2 / 64 * 64 : c.rate * 3 / 2 + 17;
    const auto source = noise16(frames * c.channels, 7 + c.rate);
    std::vector<int32_t> samples = widen(source);
    if (c.codec == SoundCodec::In24) // keep 24 significant bits
        for (size_t i = 0; i < samples.size(); ++i)
            samples[i] = int32_t(uint32_t(samples[i]) | (uint32_t(i * 2654435761u) & 0xFF00));

    auto writer = MovieWriter::create(path, format);
    ASSERT_TRUE(writer);
    std::vector<int16_t> reconstruction;
    writer->keepReconstruction(&reconstruction);
    writeAll(*writer, samples, c.channels);
    ASSERT_EQ(writer->complete(), 0) << writer->errorText().toStdString();
    writer.reset();

    const Probe p = probe(path);
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.codec, QString::fromLatin1(c.ffmpegCodec));
    EXPECT_EQ(p.sampleRate, int(c.rate));
    EXPECT_EQ(p.channels, int(c.channels));
    EXPECT_NEAR(p.duration, double(frames) / c.rate, 0.002);

    QString error;
    if (c.codec == SoundCodec::In24) {
        const QByteArray decoded = decode(path, "s24le", &error);
        ASSERT_EQ(decoded.size(), qsizetype(samples.size() * 3)) << error.toStdString();
        QByteArray expected;
        for (int32_t s : samples) {
            const auto u = uint32_t(s) >> 8;
            expected.append(char(u & 0xFF)).append(char((u >> 8) & 0xFF)).append(char(u >> 16));
        }
        EXPECT_TRUE(decoded == expected);
    } else if (c.codec == SoundCodec::Sowt) {
        const QByteArray decoded = decode(path, "s16le", &error);
        EXPECT_TRUE(decoded == toBytes(source)) << error.toStdString();
    } else {
        // ffmpeg's decoder agrees with our encoder's reconstruction, sample for sample, over
        // many packets (a predictor reset at a packet boundary would show from sample 64 on).
        const auto decoded = fromBytes(decode(path, "s16le", &error));
        ASSERT_EQ(decoded.size(), reconstruction.size()) << error.toStdString();
        EXPECT_EQ(decoded, reconstruction);
        EXPECT_EQ(decoded.size(), frames * c.channels);
    }
}

std::string caseName(const ::testing::TestParamInfo<Case>& c) {
    return std::string(c.param.ffmpegCodec) + "_" + std::to_string(c.param.rate) + "_" +
           std::to_string(c.param.channels) + "ch";
}

INSTANTIATE_TEST_SUITE_P(Codecs, MovieWriterFormats,
                         ::testing::Values(Case{SoundCodec::Sowt, 44100, 2, "pcm_s16le"},
                                           Case{SoundCodec::Sowt, 22050, 1, "pcm_s16le"},
                                           Case{SoundCodec::In24, 48000, 2, "pcm_s24le"},
                                           Case{SoundCodec::In24, 8000, 1, "pcm_s24le"},
                                           Case{SoundCodec::Ima4, 44100, 2, "adpcm_ima_qt"},
                                           Case{SoundCodec::Ima4, 11025, 1, "adpcm_ima_qt"}),
                         caseName);

TEST(MovieWriter, ImaPaddingOfAPartialLastPacketIsSilence) {
    QTemporaryDir dir;
    const QString path = dir.filePath("short.mov");
    auto writer = MovieWriter::create(path, {SoundCodec::Ima4, 16000, 1});
    ASSERT_TRUE(writer);
    const std::vector<int32_t> samples(100, 0x10000000);
    ASSERT_TRUE(writer->append(samples.data(), samples.size()));
    EXPECT_EQ(writer->framesWritten(), 64u);
    ASSERT_EQ(writer->complete(), 0);
    writer.reset();
    EXPECT_EQ(decode(path).size(), 128 * 2);
}

TEST(MovieWriter, EmptyRecordingIsAValidMovie) {
    QTemporaryDir dir;
    const QString path = dir.filePath("empty.mov");
    auto writer = MovieWriter::create(path, {SoundCodec::Sowt, 44100, 2});
    ASSERT_TRUE(writer);
    ASSERT_EQ(writer->complete(), 0);
    writer.reset();
    const Probe p = probe(path);
    EXPECT_TRUE(p.ok);
    EXPECT_EQ(p.codec, "pcm_s16le");
    EXPECT_EQ(decode(path).size(), 0);
}

TEST(ImaEncoder, CarriesTheFullPredictorAcrossPacketsAndTracksTheInput) {
    // A slow sine keeps the predictor's low bits busy at every packet boundary.
    constexpr int kPackets = 40;
    std::vector<int16_t> input(64 * kPackets);
    for (size_t i = 0; i < input.size(); ++i)
        input[i] = int16_t(std::lround(12000 * std::sin(double(i) * 0.013) + 333));
    ImaEncoder encoder(1);
    std::vector<int16_t> decoded(input.size());
    std::vector<uint8_t> packets(34 * kPackets);
    for (int p = 0; p < kPackets; ++p)
        encoder.encodePacket(input.data() + 64 * p, packets.data() + 34 * p,
                             decoded.data() + 64 * p);

    int truncatedHeaders = 0;
    double error = 0;
    double power = 0;
    for (int p = 1; p < kPackets; ++p) {
        const int header = int16_t(uint16_t((packets[34 * p] << 8) | packets[34 * p + 1]));
        const int carried = decoded[64 * p - 1];
        // The header holds the carried predictor with its low seven bits dropped...
        EXPECT_EQ(header & ~0x7F, carried & ~0x7F) << "packet " << p;
        truncatedHeaders += (carried & 0x7F) != 0;
    }
    // ...and the reconstruction went on from the full value, not the truncated one.
    EXPECT_GT(truncatedHeaders, kPackets / 2);
    for (size_t i = 64; i < input.size(); ++i) {
        error += std::pow(double(input[i]) - decoded[i], 2);
        power += std::pow(double(input[i]), 2);
    }
    EXPECT_GT(10 * std::log10(power / error), 25.0); // a faithful 4:1 coding of a sine
}
