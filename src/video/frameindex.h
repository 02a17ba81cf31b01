#pragma once

#include <QString>

extern "C" {
#include <libavutil/rational.h>
}

#include <climits>
#include <cstdint>
#include <expected>
#include <vector>

struct AVFormatContext;

// Where every frame of a video stream lies and in which order the frames are
// shown, built once when a file is opened. Frame n is the nth picture a
// sequential decode of the stream shows (0-based, display order), whatever
// timestamps the file carries: AVI stores none for display, and its first
// timestamp need not be 0; an MP4, MOV or Matroska file's first presentation
// time need not be 0 either.
class FrameIndex {
public:
    // How display order relates to the order of the packets in the file.
    enum class Order {
        Decode,       // frames are shown in the order they are stored (MJPEG, raw, DV, ...)
        PictureOrder, // shown by a display rank read from the packets before decoding:
                      // H.264 picture order counts within each run of pictures; MPEG-1,
                      // MPEG-2 and MPEG-4 Visual ranks from their picture types
        Counted,      // another reordering codec: frames are counted as the decoder shows
                      // them from a key frame that starts a closed group of pictures
        Presentation, // shown by the container's presentation timestamps (MP4, MOV,
                      // Matroska): poc is the packet's rank among them
    };

    // How often the frames of a stream with presentation timestamps are
    // shown: on average over the recording, and whether the spacing varies.
    struct Timing {
        AVRational averageRate{0, 1}; // frames per second; 0/1 when unknown
        bool variable = false;
    };

    struct Packet {
        int64_t timestamp = 0; // the demuxer's timestamp of the packet (stream time base), to seek with;
                               // Presentation: the presentation timestamp
        int64_t pos = -1;      // byte position of the packet's chunk, to recognise it after a seek
        bool key = false;      // decoding may start here
        int32_t poc = 0;       // picture order count or display rank (PictureOrder only)
        int32_t run = 0;       // pictures whose order counts compare (PictureOrder only)
        int64_t size = 0;      // bytes of the picture in the chunk
        bool damaged = false;  // the picture cannot be taken from the file whole
        int64_t decodeTimestamp = INT64_MIN; // Presentation: the decode timestamp, INT64_MIN when none
    };

    FrameIndex() = default;
    // An index over the given packets (decode order); the display order is
    // derived from the order kind. The first packet is always a start point.
    // A damaged packet makes every frame that needs it damaged, and damaged
    // frames at the end are no frames: the stream ends before them. cutShort
    // says the stream lost pictures at its end (the file is cut there), so
    // that pictures shown after a lost one are not numbered as if nothing
    // were missing.
    // packedFrames (Counted only): the frame each packet's first picture is
    // shown as, -1 for a packet with none (the placeholder of a packed
    // B-picture); empty when every packet holds one picture in shown order.
    FrameIndex(std::vector<Packet> packets, Order order, bool cutShort = false,
               std::vector<int64_t> packedFrames = {});

    // Indexes the stream: from the demuxer's own index where it agrees with
    // the chunks of the file (for reordering codecs each picture's headers
    // are read too), otherwise by reading every packet of the stream once.
    // A picture whose chunk disagrees with the index is damaged; where the
    // chunks can no longer be told apart the stream ends. The read position
    // is left at an unspecified place. Packets of size 0 (dropped frames) are
    // not frames. Fails when the stream cannot be read at all.
    // Files other than AVI are indexed by their presentation timestamps
    // (containerindex.h).
    static std::expected<FrameIndex, QString> build(AVFormatContext* format, int streamIndex);

    // Presentation only: the rate and its spacing, as the timestamps give them.
    const Timing& timing() const { return m_timing; }
    void setTiming(Timing timing) { m_timing = timing; }

    // Number of frames of the stream. In stored order every slot of the
    // stream counts, also one the writer left empty for a frame it could not
    // capture: that frame shows the picture before it, so frame n stays at
    // n / rate seconds.
    int64_t frameCount() const { return m_frameCount; }
    // True when frame n (0 <= n < frameCount) cannot be delivered: its
    // picture, or one it is decoded from, is damaged.
    bool frameDamaged(int64_t n) const;
    // Marks frame n damaged (a decode found its picture broken); damaged
    // frames at the end leave the count.
    void markFrameDamaged(int64_t n);
    // Ends the stream before frame n (none from n on can be delivered).
    void endBefore(int64_t n);
    // Number of packets that hold a picture.
    int64_t packetCount() const { return static_cast<int64_t>(m_packets.size()); }
    Order order() const { return m_order; }
    // True when a packet's display position is known before it is decoded.
    bool orderKnown() const { return m_order != Order::Counted; }
    // True when frames are ranked by poc rather than stored order.
    bool ranked() const { return m_order == Order::PictureOrder || m_order == Order::Presentation; }
    const Packet& packet(int64_t decodeIndex) const { return m_packets[static_cast<size_t>(decodeIndex)]; }

    // Decode index of the picture frame n shows, and back: the first frame
    // that shows packet d's picture, and the last (later than the first
    // where empty slots follow it). orderKnown only; Counted gives n.
    int64_t decodeIndexOfFrame(int64_t n) const;
    int64_t frameOfDecodeIndex(int64_t d) const;
    int64_t lastFrameOfDecodeIndex(int64_t d) const;

    // The packet to start decoding at so that frame n comes out whole.
    int64_t startPacketFor(int64_t n) const;

    // Whether the picture of packet d comes out whole when decoding started at
    // packet start (an open group's leading pictures do not).
    bool decodableFrom(int64_t start, int64_t d) const;

    // True when decoding from packet d owes nothing to earlier packets: any
    // start in stored order, an IDR picture in picture order.
    bool startsAfresh(int64_t d) const;

    // True when every frame can be decoded on its own.
    bool allKeyFrames() const;

private:
    void deriveDisplayOrder();
    void findPictureOrderRuns();
    void cutRunsAtCleanStarts();
    void findEmptySlots();
    void settleDamage();
    void spreadDamage();
    void dropPicturesAfterAGap();
    void countDeliverableFrames();

    std::vector<Packet> m_packets;
    Order m_order = Order::Decode;
    bool m_cutShort = false;
    std::vector<int64_t> m_decodeOfFrame; // ranked only
    std::vector<int64_t> m_frameOfDecode; // ranked only
    std::vector<int64_t> m_packedFrames;  // Counted with packed B-pictures
    // Decode order with empty slots: the slot of each packet's picture,
    // counted from the first packet's (ascending); empty when none is empty.
    std::vector<int64_t> m_slotOfDecode;
    std::vector<bool> m_unusable; // per packet: damaged or decoded from a damaged one
    int64_t m_frameCount = 0;
    int64_t m_frameLimit = INT64_MAX; // endBefore
    Timing m_timing;
};
