// The capture writer follows each file it writes on its own: after a snip, the old file closing
// says nothing about the new one, so a wait for a file to close never returns while it is open.
#include "platform/audio/CaptureWriter.h"
#include "platform/movie/MovieWriter.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <vector>

TEST(CaptureWriter, FollowsEachFileOnItsOwnAcrossASnip) {
    const QString first = TestEnvironment::root() + "/snip-a.mov";
    const QString second = TestEnvironment::root() + "/snip-b.mov";
    SoundFormat format;
    format.codec = SoundCodec::Sowt;
    format.sampleRate = 44100;
    format.channels = 2;
    auto ring = std::make_shared<SampleRing>(44100 * 2 * 4);
    const std::vector<int32_t> block(2048 * 2, 1 << 16);

    CaptureWriter writer;
    writer.begin(MovieWriter::create(first, format), ring, 2, 1, {uint64_t(0), nullptr}, 0);
    EXPECT_TRUE(writer.isOpen(first));
    ring->push(block.data(), block.size());
    const CaptureWriter::Result a = writer.finish({uint64_t(2048), 0}, std::chrono::seconds(2));
    EXPECT_EQ(a.error, 0);
    // The next file begins at once, while the first may still be syncing and closing.
    writer.begin(MovieWriter::create(second, format), ring, 2, 1, {a.endFrame, nullptr}, 0);
    writer.waitUntilClosed(first);
    EXPECT_FALSE(writer.isOpen(first));
    EXPECT_TRUE(writer.isOpen(second));

    ring->push(block.data(), block.size());
    const CaptureWriter::Result b = writer.finish({uint64_t(4096), 0}, std::chrono::seconds(2));
    EXPECT_EQ(b.error, 0);
    EXPECT_EQ(b.startFrame, 2048u);
    writer.waitUntilClosed(second);
    EXPECT_FALSE(writer.isOpen(second));
}
