#include "video/frameindex.h"

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

} // namespace
