// Sound laid on a recording's timeline: cut before the first frame, silence
// for a late start, never past the pictures, 8-bit samples exact.
#include "capture/soundtrack.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

QByteArray Samples(const std::vector<int16_t>& values)
{
    return QByteArray(reinterpret_cast<const char*>(values.data()), qsizetype(values.size() * 2));
}

TEST(SoundTrack, PlacesSoundOnTheFileTimeline)
{
    // 1000 Hz mono, 16 bits: a sample is 1000 us. The file begins at 10 000 us.
    const struct {
        const char* name;
        int64_t arrivalUs; // of the block's last sample
        std::vector<int16_t> block;
        int64_t until;
        std::vector<int16_t> expected;
    } cases[] = {
        {"on time", 14000, {1, 2, 3, 4}, 10, {1, 2, 3, 4}},
        {"began 2 samples before the first frame", 12000, {1, 2, 3, 4}, 10, {3, 4}},
        {"heard before the first frame", 9000, {1, 2, 3, 4}, 10, {}},
        {"started 2 samples late", 16000, {1, 2, 3, 4}, 10, {0, 0, 1, 2, 3, 4}},
        {"held back to the pictures' end", 14000, {1, 2, 3, 4}, 3, {1, 2, 3}},
        {"half a sample late rounds to the nearer", 14500, {1, 2}, 10, {0, 0, 0, 1, 2}},
    };
    for (const auto& c : cases) {
        SoundTrack track({1000, 1, 16});
        track.add({c.arrivalUs, Samples(c.block)}); // before the start: not kept
        track.setStart(10000);
        track.add({c.arrivalUs, Samples(c.block)});
        EXPECT_EQ(track.take(c.until), Samples(c.expected)) << c.name;
        EXPECT_EQ(track.samplesTaken(), qsizetype(c.expected.size())) << c.name;
    }
}

TEST(SoundTrack, FollowsOnAndWritesEightBitSamples)
{
    SoundTrack track({1000, 2, 8});
    track.setStart(0);
    track.add({2000, Samples({-32768, 32767, 0, -1})});
    track.add({999999, Samples({256, -256})}); // later blocks follow on, whatever their arrival
    EXPECT_EQ(track.take(1), QByteArray("\x00\xff", 2));
    EXPECT_EQ(track.take(100), QByteArray("\x80\x7f\x81\x7f", 4));
    EXPECT_EQ(track.samplesTaken(), 3);
}

} // namespace
