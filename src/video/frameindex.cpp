#include "video/frameindex.h"

#include "video/chunkcheck.h"
#include "video/containerindex.h"
#include "video/ffmpeghandles.h"
#include "video/recordingformat.h"

#include <algorithm>
#include <climits>
#include <map>
#include <numeric>
#include <optional>
#include <string>

namespace {

// The demuxer's own index of the stream (AVI: the idx1 chunk or the index
// parts of a large file, loaded when the file is opened).
std::vector<FrameIndex::Packet> demuxerEntries(AVStream* stream, bool allKey)
{
    std::vector<FrameIndex::Packet> packets;
    const int count = avformat_index_get_entries_count(stream);
    packets.reserve(static_cast<size_t>(std::max(count, 0)));
    for (int i = 0; i < count; ++i) {
        const AVIndexEntry* e = avformat_index_get_entry(stream, i);
        if (!e || e->size <= 0)
            continue;
        FrameIndex::Packet p;
        p.timestamp = e->timestamp;
        p.pos = e->pos;
        p.key = allKey || (e->flags & AVINDEX_KEYFRAME) != 0;
        p.size = e->size;
        packets.push_back(p);
    }
    return packets;
}

// A codec's parser reads the headers of each packet, which costs far less
// than decoding it.
struct HeaderParser {
    ParserPtr parser;
    CodecContextPtr context;

    explicit HeaderParser(const AVCodecParameters* parameters)
        : parser(av_parser_init(parameters->codec_id))
        , context(avcodec_alloc_context3(nullptr))
    {
        if (!parser || !context || avcodec_parameters_to_context(context.get(), parameters) < 0) {
            parser.reset();
            return;
        }
        // AVI chunks hold whole pictures: parse each one on its own.
        parser->flags |= PARSER_FLAG_COMPLETE_FRAMES;
    }

    bool usable() const { return parser != nullptr; }

    void parse(const AVPacket* packet)
    {
        uint8_t* out = nullptr;
        int outSize = 0;
        av_parser_parse2(parser.get(), context.get(), &out, &outSize, packet->data, packet->size, AV_NOPTS_VALUE,
                         AV_NOPTS_VALUE, packet->pos);
    }
};

// Picture order counts come from the H.264 parser's slice headers.
struct PictureOrderReader : HeaderParser {
    using HeaderParser::HeaderParser;

    void read(const AVPacket* packet, FrameIndex::Packet& entry)
    {
        parse(packet);
        entry.poc = parser->output_picture_number;
        // IDR pictures and recovery points; the container's key flags are not
        // trusted for H.264 (some writers flag every I picture).
        entry.key = parser->key_frame == 1;
    }
};

// MPEG-1, MPEG-2 and MPEG-4 Visual show a B-picture at once and hold each
// I- or P-picture back until the next one arrives. Their parsers read the
// picture type from the headers, so the display rank of every packet is
// known without decoding: an open group's leading B-pictures then rank
// before the key picture stored ahead of them, and a decode that starts
// there knows not to count them.
bool ranksByPictureType(AVCodecID codec)
{
    return codec == AV_CODEC_ID_MPEG4 || codec == AV_CODEC_ID_MPEG2VIDEO || codec == AV_CODEC_ID_MPEG1VIDEO;
}

struct PictureTypeReader : HeaderParser {
    using HeaderParser::HeaderParser;
    std::vector<bool> bidirectional; // per packet, in decode order

    void read(const AVPacket* packet)
    {
        parse(packet);
        bidirectional.push_back(parser->pict_type == AV_PICTURE_TYPE_B);
        if (packet->size <= packedPlaceholderBytes)
            packedPlaceholders = true;
        pictures.push_back(packet->size <= packedPlaceholderBytes ? std::string() : pictureTypesIn(packet));
    }

    // The coding types of the pictures in a packet ('I', 'P', 'B', 'S'), in
    // stored order: a packed packet holds an anchor and a B-picture.
    static std::string pictureTypesIn(const AVPacket* packet)
    {
        std::string types;
        const uint8_t* data = packet->data;
        for (int i = 0; i + 4 < packet->size; ++i)
            if (data[i] == 0 && data[i + 1] == 0 && data[i + 2] == 1 && data[i + 3] == 0xB6)
                types.push_back("IPBS"[data[i + 4] >> 6]);
        return types;
    }
    std::vector<std::string> pictures; // per packet; empty for a placeholder or a damaged packet

    // Packed streams: the frame each packet's first picture is shown as
    // (-1 for a placeholder), by the ranks of all pictures in stored order.
    std::vector<int64_t> packedFrames(std::vector<FrameIndex::Packet>& packets) const
    {
        std::vector<int64_t> frames(packets.size(), -1);
        int64_t rank = 0;
        std::optional<size_t> heldAnchor; // packet whose first picture is the held anchor
        bool heldIsFirst = false;
        for (size_t d = 0; d < packets.size(); ++d) {
            const std::string& types = pictures[d];
            for (size_t k = 0; k < types.size(); ++k) {
                const bool first = k == 0;
                if (types[k] == 'B') {
                    const int64_t shown = rank++;
                    if (first)
                        frames[d] = shown;
                    continue;
                }
                if (heldAnchor) {
                    const int64_t shown = rank++;
                    if (heldIsFirst)
                        frames[*heldAnchor] = shown;
                }
                heldAnchor = d;
                heldIsFirst = first;
            }
            // A start point is a packet that begins with an I-picture.
            packets[d].key = !types.empty() && types.front() == 'I';
        }
        if (heldAnchor && heldIsFirst)
            frames[*heldAnchor] = rank;
        return frames;
    }

    // The not-coded picture that stands in the slot of a packed B-picture.
    static constexpr int packedPlaceholderBytes = 8;
    bool packedPlaceholders = false;

    // Display ranks in decode order: a B-picture takes the next rank at
    // once; an anchor takes its rank when the next anchor (or the end)
    // comes.
    void assignRanks(std::vector<FrameIndex::Packet>& packets) const
    {
        int32_t rank = 0;
        std::optional<size_t> heldAnchor;
        for (size_t d = 0; d < packets.size(); ++d) {
            if (bidirectional[d]) {
                packets[d].poc = rank++;
                continue;
            }
            if (heldAnchor)
                packets[*heldAnchor].poc = rank++;
            heldAnchor = d;
        }
        if (heldAnchor)
            packets[*heldAnchor].poc = rank;
    }
};

} // namespace

FrameIndex::FrameIndex(std::vector<Packet> packets, Order order, bool cutShort, std::vector<int64_t> packedFrames)
    : m_packets(std::move(packets))
    , m_order(order)
    , m_cutShort(cutShort)
    , m_packedFrames(m_order == Order::Counted ? std::move(packedFrames) : std::vector<int64_t>())
{
    if (m_packedFrames.size() != m_packets.size())
        m_packedFrames.clear();
    if (!m_packets.empty())
        m_packets.front().key = true;
    if (ranked())
        deriveDisplayOrder();
    else if (m_order == Order::Decode)
        findEmptySlots();
    settleDamage();
}

void FrameIndex::settleDamage()
{
    spreadDamage();
    if (m_cutShort && !m_packets.empty()) {
        if (m_order == Order::PictureOrder) {
            dropPicturesAfterAGap();
        } else if (m_order == Order::Counted) {
            // Counted as the decoder shows them, the pictures of a group the
            // cut went through cannot be told apart from those it took away.
            int64_t d = packetCount() - 1;
            for (; d > 0 && !packet(d).key; --d)
                m_unusable[static_cast<size_t>(d)] = true;
            m_unusable[static_cast<size_t>(d)] = true;
        }
    }
    countDeliverableFrames();
}

void FrameIndex::dropPicturesAfterAGap()
{
    // Within a run the order counts of pictures shown one after the other
    // step evenly; the pictures after the first missing step were decoded
    // before the cut but are shown after a picture it took away. They are
    // whole, so nothing else is lost with them.
    const int32_t lastRun = m_packets.empty() ? 0 : packet(m_decodeOfFrame.back()).run;
    std::vector<int32_t> counts;
    for (const Packet& p : m_packets)
        if (p.run == lastRun)
            counts.push_back(p.poc);
    std::sort(counts.begin(), counts.end());
    int64_t step = INT64_MAX;
    for (size_t i = 1; i < counts.size(); ++i)
        if (counts[i] > counts[i - 1])
            step = std::min<int64_t>(step, int64_t{counts[i]} - counts[i - 1]);
    if (step == INT64_MAX)
        return;
    for (size_t i = 1; i < counts.size(); ++i) {
        if (int64_t{counts[i]} - counts[i - 1] > step) {
            for (int64_t d = 0; d < packetCount(); ++d)
                if (packet(d).run == lastRun && packet(d).poc >= counts[i])
                    m_unusable[static_cast<size_t>(d)] = true;
            return;
        }
    }
}

void FrameIndex::spreadDamage()
{
    const int64_t count = packetCount();
    const auto nextKeyAfter = [&](int64_t d) {
        int64_t k = d + 1;
        while (k < count && !packet(k).key)
            ++k;
        return k;
    };
    std::vector<bool>& damaged = m_unusable;
    damaged.assign(static_cast<size_t>(count), false);
    for (int64_t d = 0; d < count; ++d) {
        if (!packet(d).damaged)
            continue;
        // Stored order: the pictures from the damaged one to the next start
        // point are decoded from it. Reordering codecs: its whole group,
        // since the pictures before it in the file may be shown after it,
        // and the leading pictures of the next group that refer back to it.
        int64_t first = d;
        if (m_order != Order::Decode)
            while (first > 0 && !packet(first).key)
                --first;
        const int64_t next = nextKeyAfter(d);
        for (int64_t k = first; k < next; ++k)
            damaged[static_cast<size_t>(k)] = true;
        if (m_order != Order::Decode && next < count)
            for (int64_t k = next + 1; k < nextKeyAfter(next); ++k)
                if (!decodableFrom(next, k))
                    damaged[static_cast<size_t>(k)] = true;
    }
}

void FrameIndex::endBefore(int64_t n)
{
    m_frameLimit = std::min(m_frameLimit, std::max<int64_t>(0, n));
    countDeliverableFrames();
}

void FrameIndex::countDeliverableFrames()
{
    int64_t frames = m_slotOfDecode.empty() ? packetCount() : m_slotOfDecode.back() + 1;
    if (!m_packedFrames.empty())
        frames = *std::max_element(m_packedFrames.begin(), m_packedFrames.end()) + 1;
    m_frameCount = std::min(m_frameLimit, frames);
    while (m_frameCount > 0 && frameDamaged(m_frameCount - 1))
        --m_frameCount;
}

bool FrameIndex::frameDamaged(int64_t n) const
{
    return m_unusable[static_cast<size_t>(decodeIndexOfFrame(n))];
}

void FrameIndex::markFrameDamaged(int64_t n)
{
    m_packets[static_cast<size_t>(decodeIndexOfFrame(n))].damaged = true;
    settleDamage();
}

void FrameIndex::findEmptySlots()
{
    // The demuxer leaves empty chunks out and numbers the rest by their
    // slot, so an empty slot is a gap between two timestamps.
    if (m_packets.size() < 2)
        return;
    const int64_t first = m_packets.front().timestamp;
    bool gap = false;
    for (size_t d = 1; d < m_packets.size(); ++d) {
        const int64_t step = m_packets[d].timestamp - m_packets[d - 1].timestamp;
        if (step < 1)
            return; // timestamps that do not count slots
        gap = gap || step > 1;
    }
    const int64_t slots = m_packets.back().timestamp - first + 1;
    // A damaged timestamp is no run of lost frames: a stream where most
    // slots would be empty keeps counting its pictures only.
    if (!gap || slots > 2 * static_cast<int64_t>(m_packets.size()) + 300)
        return;
    m_slotOfDecode.reserve(m_packets.size());
    for (const Packet& p : m_packets)
        m_slotOfDecode.push_back(p.timestamp - first);
}

std::expected<FrameIndex, QString> FrameIndex::build(AVFormatContext* format, int streamIndex)
{
    if (!IsAviRecording(format))
        return BuildPresentationIndex(format, streamIndex);
    AVStream* stream = format->streams[streamIndex];
    const AVCodecID codec = stream->codecpar->codec_id;
    const AVCodecDescriptor* descriptor = avcodec_descriptor_get(codec);
    const bool reorders = !descriptor || (descriptor->props & AV_CODEC_PROP_REORDER) != 0;
    const bool intraOnly = descriptor && (descriptor->props & AV_CODEC_PROP_INTRA_ONLY) != 0;

    // Two accounts of where the pictures are: the demuxer's index, checked
    // against the chunks, and the chains of chunks themselves. The index
    // serves unless it left a picture out (it then numbers every later
    // picture wrongly) or the chunks give more whole pictures (an index
    // whose positions are all off); the chunks' account ends where a
    // damaged size leads into bytes that are no chunk.
    ChunkFile file(format->pb);
    std::vector<Packet> indexed = demuxerEntries(stream, intraOnly);
    const bool indexWhole = !indexed.empty() && !CheckChunks(file, indexed, streamIndex).pictureLeftOut;
    bool walkCut = false;
    std::vector<Packet> walked = WalkPictureChunks(file, streamIndex, walkCut);
    const auto wholePictures = [](const std::vector<Packet>& list) {
        return std::count_if(list.begin(), list.end(), [](const Packet& p) { return !p.damaged; });
    };
    const bool fromIndex = indexWhole && wholePictures(indexed) >= wholePictures(walked);
    if (!fromIndex) {
        // Start points as the index flags them, where it knows the chunk.
        std::map<int64_t, bool> keyAt;
        for (const Packet& p : indexed)
            keyAt[p.pos] = p.key;
        for (Packet& p : walked) {
            const auto key = keyAt.find(p.pos);
            p.key = intraOnly || (key != keyAt.end() && key->second);
        }
    }
    std::vector<Packet> packets = fromIndex ? std::move(indexed) : std::move(walked);
    if (packets.empty())
        return std::unexpected(QStringLiteral("the video stream cannot be read"));
    if (!reorders && fromIndex)
        return FrameIndex(std::move(packets), Order::Decode);

    Order order = reorders ? Order::Counted : Order::Decode;
    std::optional<PictureOrderReader> pictureOrder;
    std::optional<PictureTypeReader> pictureTypes;
    if (codec == AV_CODEC_ID_H264) {
        pictureOrder.emplace(stream->codecpar);
        if (pictureOrder->usable())
            order = Order::PictureOrder;
        else
            pictureOrder.reset();
    } else if (reorders && ranksByPictureType(codec)) {
        pictureTypes.emplace(stream->codecpar);
        if (pictureTypes->usable())
            order = Order::PictureOrder;
        else
            pictureTypes.reset();
    }

    PacketPtr packet(av_packet_alloc());
    if (!packet)
        return std::unexpected(QStringLiteral("out of memory"));
    std::vector<bool> containerKeys;
    // The headers of one picture; a damaged one says nothing of its order.
    int32_t previousPoc = 0;
    const auto readHeaders = [&](const AVPacket* bytes, Packet& entry) {
        containerKeys.push_back(entry.key);
        if (pictureOrder) {
            if (bytes) {
                pictureOrder->read(bytes, entry);
            } else {
                entry.key = false;
                entry.poc = previousPoc;
            }
            previousPoc = entry.poc;
        }
        if (pictureTypes) {
            if (bytes) {
                pictureTypes->read(bytes);
                // Without the container's flags, an I-picture is a start point.
                if (!fromIndex)
                    entry.key = pictureTypes->parser->pict_type == AV_PICTURE_TYPE_I;
            } else {
                pictureTypes->bidirectional.push_back(false);
            }
        }
    };

    bool cutShort = !fromIndex && walkCut;
    if (reorders) {
        // Each picture's headers, read from the file.
        for (Packet& entry : packets) {
            const bool whole = !entry.damaged && file.readPicture(entry.pos, entry.size, packet.get());
            entry.damaged = !whole;
            readHeaders(whole ? packet.get() : nullptr, entry);
            av_packet_unref(packet.get());
        }
    } else {
        for (const Packet& entry : packets)
            containerKeys.push_back(entry.key);
    }

    // Damaged pictures at the end: the file ends before them.
    while (!packets.empty() && packets.back().damaged) {
        packets.pop_back();
        cutShort = true;
    }
    containerKeys.resize(packets.size());
    if (pictureTypes)
        pictureTypes->bidirectional.resize(packets.size());

    // Packed B-pictures (DivX and Xvid store a B-picture inside the packet of
    // the P-picture after it, with a placeholder of a few bytes in its own
    // slot): the picture types of the packets say nothing of the display
    // order, so such a stream is counted as the decoder shows it.
    std::vector<int64_t> packedFrames;
    if (pictureTypes && pictureTypes->packedPlaceholders) {
        order = Order::Counted;
        pictureTypes->pictures.resize(packets.size());
        packedFrames = pictureTypes->packedFrames(packets);
        pictureTypes.reset();
    }
    if (pictureTypes) {
        pictureTypes->assignRanks(packets);
        // The last anchor of a cut stream takes the rank after the pictures
        // that are there, not after those the cut took away.
        // Leaving a rank free before it marks it as shown after a gap.
        if (cutShort && !packets.empty())
            ++std::max_element(packets.begin(), packets.end(), [](const Packet& a, const Packet& b) {
                  return a.poc < b.poc;
              })->poc;
    }

    if (pictureOrder && order == Order::PictureOrder
        && std::none_of(packets.begin() + std::min<size_t>(1, packets.size()), packets.end(),
                        [](const Packet& p) { return p.key; })
        && std::find(containerKeys.begin() + std::min<size_t>(1, containerKeys.size()), containerKeys.end(), true)
            != containerKeys.end()) {
        // No picture after the first is a start point by its own headers,
        // but the container flags some: fall back on the container's flags.
        order = Order::Counted;
        for (size_t i = 0; i < packets.size(); ++i)
            packets[i].key = containerKeys[i];
    }
    return FrameIndex(std::move(packets), order, cutShort, std::move(packedFrames));
}

void FrameIndex::deriveDisplayOrder()
{
    if (m_order == Order::Presentation)
        cutRunsAtCleanStarts();
    else
        findPictureOrderRuns();

    m_decodeOfFrame.resize(m_packets.size());
    std::iota(m_decodeOfFrame.begin(), m_decodeOfFrame.end(), int64_t{0});
    std::stable_sort(m_decodeOfFrame.begin(), m_decodeOfFrame.end(), [this](int64_t a, int64_t b) {
        const Packet& pa = packet(a);
        const Packet& pb = packet(b);
        return pa.run != pb.run ? pa.run < pb.run : pa.poc < pb.poc;
    });
    m_frameOfDecode.resize(m_packets.size());
    for (size_t n = 0; n < m_decodeOfFrame.size(); ++n)
        m_frameOfDecode[static_cast<size_t>(m_decodeOfFrame[n])] = static_cast<int64_t>(n);
}

void FrameIndex::findPictureOrderRuns()
{
    // A run of pictures ends where the order count starts again: at an IDR
    // picture (its count is not above the run's highest) or at a count below
    // the run's first picture (a reset inside the stream).
    int32_t run = 0;
    int32_t runFirstPoc = 0;
    int32_t runMaxPoc = INT32_MIN;
    for (size_t d = 0; d < m_packets.size(); ++d) {
        Packet& p = m_packets[d];
        if (d == 0) {
            runFirstPoc = p.poc;
        } else if ((p.key && p.poc <= runMaxPoc) || p.poc < runFirstPoc) {
            ++run;
            runFirstPoc = p.poc;
            runMaxPoc = INT32_MIN;
        }
        p.run = run;
        runMaxPoc = std::max(runMaxPoc, p.poc);
    }
}

void FrameIndex::cutRunsAtCleanStarts()
{
    // Ranks count over the whole stream. A new run starts at a start point
    // that no picture stored after it is shown before, and no picture stored
    // before it after: decoding from there owes nothing to what came before.
    const size_t count = m_packets.size();
    std::vector<int32_t> lowestFrom(count + 1, INT32_MAX);
    for (size_t d = count; d-- > 0;)
        lowestFrom[d] = std::min(lowestFrom[d + 1], m_packets[d].poc);
    int32_t run = 0;
    int32_t highestBefore = INT32_MIN;
    for (size_t d = 0; d < count; ++d) {
        Packet& p = m_packets[d];
        if (d > 0 && p.key && lowestFrom[d] == p.poc && highestBefore < p.poc)
            ++run;
        p.run = run;
        highestBefore = std::max(highestBefore, p.poc);
    }
}

int64_t FrameIndex::decodeIndexOfFrame(int64_t n) const
{
    if (!m_slotOfDecode.empty()) {
        // The last picture at or before slot n.
        const auto after = std::upper_bound(m_slotOfDecode.begin(), m_slotOfDecode.end(), n);
        return std::max<int64_t>(0, (after - m_slotOfDecode.begin()) - 1);
    }
    if (!m_packedFrames.empty()) {
        // The last packet whose first picture is shown at or before n.
        int64_t found = 0;
        for (int64_t d = 0; d < packetCount(); ++d)
            if (m_packedFrames[static_cast<size_t>(d)] >= 0 && m_packedFrames[static_cast<size_t>(d)] <= n)
                found = d;
        return found;
    }
    return ranked() ? m_decodeOfFrame[static_cast<size_t>(n)] : n;
}

int64_t FrameIndex::frameOfDecodeIndex(int64_t d) const
{
    if (!m_slotOfDecode.empty())
        return m_slotOfDecode[static_cast<size_t>(d)];
    if (!m_packedFrames.empty())
        return m_packedFrames[static_cast<size_t>(d)];
    return ranked() ? m_frameOfDecode[static_cast<size_t>(d)] : d;
}

int64_t FrameIndex::lastFrameOfDecodeIndex(int64_t d) const
{
    if (!m_slotOfDecode.empty() && d + 1 < packetCount())
        return m_slotOfDecode[static_cast<size_t>(d + 1)] - 1;
    return frameOfDecodeIndex(d);
}

int64_t FrameIndex::startPacketFor(int64_t n) const
{
    const int64_t d = decodeIndexOfFrame(n);
    for (int64_t k = d; k > 0; --k)
        if (packet(k).key && decodableFrom(k, d))
            return k;
    return 0;
}

bool FrameIndex::decodableFrom(int64_t start, int64_t d) const
{
    if (d < start)
        return false;
    if (!m_packedFrames.empty())
        return m_packedFrames[static_cast<size_t>(d)] >= m_packedFrames[static_cast<size_t>(start)];
    if (!ranked())
        return true;
    const Packet& s = packet(start);
    const Packet& p = packet(d);
    return p.run != s.run || p.poc >= s.poc;
}

bool FrameIndex::startsAfresh(int64_t d) const
{
    switch (m_order) {
    case Order::Decode:
        return packet(d).key;
    case Order::PictureOrder:
        return packet(d).key && (d == 0 || packet(d).run != packet(d - 1).run);
    case Order::Presentation:
        // A container's start point may be a recovery point rather than an
        // IDR picture: the decoder then lets its pictures out only while
        // packets keep coming.
        return false;
    case Order::Counted:
        return false;
    }
    return false;
}

bool FrameIndex::allKeyFrames() const
{
    return std::all_of(m_packets.begin(), m_packets.end(), [](const Packet& p) { return p.key; });
}
