#include "video/containerindex.h"
#include "video/frameindex.h"

#include <cmath>

#include <gtest/gtest.h>

namespace {

using Packet = FrameIndex::Packet;

// Packets in decode order from (picture order count, key) pairs.
FrameIndex pictureOrder(std::initializer_list<std::pair<int, bool>> pictures)
{
    std::vector<Packet> packets;
    int64_t t = 0;
    for (const auto& [poc, key] : pictures)
        packets.push_back({t++, -1, key, poc, 0});
    return FrameIndex(std::move(packets), FrameIndex::Order::PictureOrder);
}

std::vector<int64_t> displayOrder(const FrameIndex& index)
{
    std::vector<int64_t> order;
    for (int64_t n = 0; n < index.frameCount(); ++n)
        order.push_back(index.decodeIndexOfFrame(n));
    return order;
}

TEST(FrameIndex, ClosedGroupsWithBPicturesShowInPictureOrder)
{
    // I0 P6 B2 B4 | IDR0 P4 B2: the second group starts its count again.
    const FrameIndex index = pictureOrder({{0, true}, {6, false}, {2, false}, {4, false},
                                           {0, true}, {4, false}, {2, false}});
    EXPECT_EQ(displayOrder(index), (std::vector<int64_t>{0, 2, 3, 1, 4, 6, 5}));
    for (int64_t n = 0; n < index.frameCount(); ++n)
        EXPECT_EQ(index.frameOfDecodeIndex(index.decodeIndexOfFrame(n)), n);
    EXPECT_EQ(index.startPacketFor(3), 0); // shown fourth, stored second
    EXPECT_EQ(index.startPacketFor(4), 4);
    EXPECT_EQ(index.startPacketFor(6), 4);
    EXPECT_TRUE(index.startsAfresh(4));
    EXPECT_FALSE(index.startsAfresh(5));
    EXPECT_FALSE(index.allKeyFrames());
}

TEST(FrameIndex, LeadingPicturesOfAnOpenGroupStartAtTheGroupBefore)
{
    // I0 P4 B2 | I8 (recovery point, count goes on) B6 P12 B10
    const FrameIndex index = pictureOrder({{0, true}, {4, false}, {2, false}, {8, true}, {6, false},
                                           {12, false}, {10, false}});
    EXPECT_EQ(displayOrder(index), (std::vector<int64_t>{0, 2, 1, 4, 3, 6, 5}));
    EXPECT_EQ(index.startPacketFor(3), 0); // B6 refers to P4 before the key picture
    EXPECT_EQ(index.startPacketFor(4), 3); // I8 itself
    EXPECT_EQ(index.startPacketFor(5), 3); // B10
    EXPECT_FALSE(index.decodableFrom(3, 4));
    EXPECT_TRUE(index.decodableFrom(3, 6));
    EXPECT_TRUE(index.decodableFrom(0, 4));
    EXPECT_FALSE(index.decodableFrom(3, 2)); // before the start
    EXPECT_TRUE(index.startsAfresh(0));
    EXPECT_FALSE(index.startsAfresh(3)); // a recovery point, not an IDR picture
}

TEST(FrameIndex, ACountBelowTheRunsFirstStartsANewRun)
{
    // A reset without a key picture: the pictures after it come later.
    const FrameIndex index = pictureOrder({{10, true}, {14, false}, {12, false}, {0, false}, {2, false}});
    EXPECT_EQ(displayOrder(index), (std::vector<int64_t>{0, 2, 1, 3, 4}));
}

TEST(FrameIndex, StoredOrderNeedsNoCounts)
{
    std::vector<Packet> packets;
    for (int i = 0; i < 6; ++i)
        packets.push_back({i + 7, -1, i % 3 == 0, 0, 0});
    packets[0].key = false; // the first packet is always a start
    const FrameIndex index(packets, FrameIndex::Order::Decode);
    EXPECT_TRUE(index.packet(0).key);
    EXPECT_EQ(index.decodeIndexOfFrame(4), 4);
    EXPECT_EQ(index.startPacketFor(2), 0);
    EXPECT_EQ(index.startPacketFor(4), 3);
    EXPECT_EQ(index.packet(0).timestamp, 7);
}

TEST(FrameIndex, CountedOrderStartsAtTheKeyFrameAtOrBeforeTheFrame)
{
    std::vector<Packet> packets(10);
    packets[5].key = true;
    const FrameIndex index(packets, FrameIndex::Order::Counted);
    EXPECT_FALSE(index.orderKnown());
    EXPECT_EQ(index.startPacketFor(4), 0);
    EXPECT_EQ(index.startPacketFor(5), 5);
    EXPECT_EQ(index.startPacketFor(9), 5);
}

TEST(FrameIndex, EveryPictureAKeyPicture)
{
    std::vector<Packet> packets(3);
    for (auto& p : packets)
        p.key = true;
    EXPECT_TRUE(FrameIndex(packets, FrameIndex::Order::Decode).allKeyFrames());
}

// Packets of an MP4, MOV or Matroska file: ranks by presentation time count
// over the whole stream.
FrameIndex presentation(std::initializer_list<std::pair<int, bool>> pictures)
{
    std::vector<Packet> packets;
    for (const auto& [rank, key] : pictures) {
        Packet p;
        p.timestamp = 512 * rank;
        p.key = key;
        p.poc = rank;
        packets.push_back(p);
    }
    return FrameIndex(std::move(packets), FrameIndex::Order::Presentation);
}

TEST(FrameIndex, PresentationOrderStartsLeadingPicturesAtTheGroupBefore)
{
    // I0 P3 B1 B2 | I4 P7 B5 B6 (closed) | I10 B8 B9 P13 B11 B12 (open)
    const FrameIndex index = presentation({{0, true}, {3, false}, {1, false}, {2, false}, {4, true}, {7, false},
                                           {5, false}, {6, false}, {10, true}, {8, false}, {9, false},
                                           {13, false}, {11, false}, {12, false}});
    EXPECT_EQ(displayOrder(index), (std::vector<int64_t>{0, 2, 3, 1, 4, 6, 7, 5, 9, 10, 8, 12, 13, 11}));
    EXPECT_TRUE(index.decodableFrom(4, 7));
    EXPECT_FALSE(index.decodableFrom(4, 3)); // before the start
    EXPECT_EQ(index.startPacketFor(8), 4); // B8 refers to the group before I10
    EXPECT_EQ(index.startPacketFor(10), 8);
    EXPECT_FALSE(index.decodableFrom(8, 9));
    EXPECT_TRUE(index.decodableFrom(8, 12));
}

struct TimingCase {
    const char* name;
    std::vector<int64_t> times;
    AVRational timeBase;
    AVRational declared;
    AVRational rate;
    bool variable;
};

std::vector<int64_t> evenTimes(int frames, int64_t first, double step)
{
    std::vector<int64_t> times;
    for (int i = 0; i < frames; ++i)
        times.push_back(first + std::llround(i * step));
    return times;
}

std::vector<int64_t> halfThenDouble()
{
    std::vector<int64_t> times = evenTimes(30, 0, 512);
    for (int i = 0; i < 30; ++i)
        times.push_back(15360 + 256 * i);
    return times;
}

class PresentationTimes : public ::testing::TestWithParam<TimingCase> {};

TEST_P(PresentationTimes, GiveTheAverageRateAndWhetherItVaries)
{
    const TimingCase& c = GetParam();
    const FrameIndex::Timing timing = PresentationTiming(c.times, c.timeBase, c.declared);
    EXPECT_EQ(timing.averageRate.num, c.rate.num);
    EXPECT_EQ(timing.averageRate.den, c.rate.den);
    EXPECT_EQ(timing.variable, c.variable);
}

INSTANTIATE_TEST_SUITE_P(
    Rates, PresentationTimes,
    ::testing::Values(
        TimingCase{"Even", evenTimes(60, 0, 512), {1, 15360}, {30, 1}, {30, 1}, false},
        TimingCase{"StartNotZero", evenTimes(60, 115200, 512), {1, 15360}, {0, 1}, {30, 1}, false},
        // Whole milliseconds step 33, 33, 34: even, and the declared rate.
        TimingCase{"WholeMilliseconds", evenTimes(60, 0, 1000.0 / 30), {1, 1000}, {30, 1}, {30, 1}, false},
        TimingCase{"WholeMillisecondsUndeclared", evenTimes(60, 0, 1000.0 / 30), {1, 1000}, {0, 1}, {59000, 1967},
                   false},
        TimingCase{"Ntsc", evenTimes(60, 0, 1001), {1, 30000}, {0, 1}, {30000, 1001}, false},
        TimingCase{"HalfThenDouble", halfThenDouble(), {1, 15360}, {30, 1}, {3540, 89}, true},
        TimingCase{"OneFrame", {1000}, {1, 1000}, {25, 1}, {25, 1}, false}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
