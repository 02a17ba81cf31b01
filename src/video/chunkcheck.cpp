#include "video/chunkcheck.h"

extern "C" {
#include <libavcodec/packet.h>
#include <libavformat/avformat.h>
}

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

// Chunks a gap between two pictures may hold before it counts as damaged
// (sound, padding, an index part, the head of the next part of a large file).
constexpr int gapChunkLimit = 4096;

bool isStreamChunk(const ChunkFile::Header& h, int streamIndex)
{
    // "00dc" (compressed) or "00db" (uncompressed) for stream 0.
    return streamIndex >= 0 && streamIndex < 100 && h.id[0] == '0' + streamIndex / 10
        && h.id[1] == '0' + streamIndex % 10 && h.id[2] == 'd' && (h.id[3] == 'c' || h.id[3] == 'b');
}

bool isList(const ChunkFile::Header& h)
{
    return std::memcmp(h.id, "LIST", 4) == 0 || std::memcmp(h.id, "RIFF", 4) == 0;
}

bool endsAt(int64_t pos, int64_t size, int64_t next)
{
    return ChunkEnd(pos, size) == next || pos + 8 + size == next;
}

enum class Gap { Clean, PictureLeftOut, Broken };

// Walks the chunks from `from` to `to`.
Gap walkGap(ChunkFile& file, int64_t from, int64_t to, int streamIndex)
{
    int64_t pos = from;
    for (int steps = 0; pos < to; ++steps) {
        if (to - pos < 8 && pos + 1 == to)
            return Gap::Clean; // a pad byte the writer left after the chunk before
        const auto h = file.header(pos);
        if (!h || steps > gapChunkLimit)
            return Gap::Broken;
        if (isList(*h)) {
            pos += 12;
            continue;
        }
        if (isStreamChunk(*h, streamIndex) && h->size > 0)
            return Gap::PictureLeftOut;
        const int64_t end = ChunkEnd(pos, h->size);
        if (end > to)
            return pos + 8 + h->size == to ? Gap::Clean : Gap::Broken;
        pos = end;
    }
    return pos == to ? Gap::Clean : Gap::Broken;
}

// The first chunk of the stream holding a picture at or after `from`.
std::optional<int64_t> nextPictureChunk(ChunkFile& file, int64_t from, int streamIndex)
{
    int64_t pos = from;
    for (int steps = 0; steps <= gapChunkLimit; ++steps) {
        const auto h = file.header(pos);
        if (!h)
            return std::nullopt;
        if (isList(*h)) {
            pos += 12;
            continue;
        }
        if (isStreamChunk(*h, streamIndex) && h->size > 0)
            return pos;
        pos = ChunkEnd(pos, h->size);
    }
    return std::nullopt;
}

} // namespace

ChunkFile::ChunkFile(AVIOContext* io)
    : m_io(io)
{
    if (m_io) {
        m_size = avio_size(m_io);
        m_restore = avio_tell(m_io);
    }
}

ChunkFile::~ChunkFile()
{
    rewind();
}

void ChunkFile::rewind()
{
    if (m_io && m_restore >= 0)
        avio_seek(m_io, m_restore, SEEK_SET);
}

std::optional<ChunkFile::Header> ChunkFile::header(int64_t pos)
{
    if (!m_io || pos < 0 || (m_size >= 0 && pos + 8 > m_size) || avio_seek(m_io, pos, SEEK_SET) < 0)
        return std::nullopt;
    unsigned char bytes[8];
    if (avio_read(m_io, bytes, 8) != 8)
        return std::nullopt;
    Header h;
    std::memcpy(h.id, bytes, 4);
    h.size = static_cast<uint32_t>(bytes[4]) | static_cast<uint32_t>(bytes[5]) << 8
        | static_cast<uint32_t>(bytes[6]) << 16 | static_cast<uint32_t>(bytes[7]) << 24;
    return h;
}

std::optional<int64_t> ChunkFile::firstPictureListChunk()
{
    // "RIFF" size "AVI ", then chunks and lists up to LIST size "movi".
    int64_t pos = 12;
    for (int steps = 0; steps < gapChunkLimit; ++steps) {
        const auto h = header(pos);
        if (!h)
            return std::nullopt;
        if (std::memcmp(h->id, "LIST", 4) == 0) {
            char type[4];
            if (avio_read(m_io, reinterpret_cast<unsigned char*>(type), 4) != 4)
                return std::nullopt;
            if (std::memcmp(type, "movi", 4) == 0)
                return pos + 12;
        }
        pos = ChunkEnd(pos, h->size);
    }
    return std::nullopt;
}

bool ChunkFile::readPicture(int64_t pos, int64_t size, AVPacket* packet)
{
    // The size is checked against the file before any memory is taken for it.
    if (!m_io || pos < 0 || size <= 0 || size > INT_MAX - 64 || (m_size >= 0 && pos + 8 + size > m_size))
        return false;
    if (avio_seek(m_io, pos + 8, SEEK_SET) < 0)
        return false;
    if (av_get_packet(m_io, packet, static_cast<int>(size)) != size) {
        av_packet_unref(packet);
        return false;
    }
    return true;
}

ChunkCheck CheckChunks(ChunkFile& file, std::vector<FrameIndex::Packet>& packets, int streamIndex)
{
    ChunkCheck check;
    const int64_t fileSize = file.size();

    // The size of the picture in the chunk at pos, when a chunk of the
    // stream is there and it agrees with the index or with the next chunk.
    const auto pictureSizeAt = [&](int64_t pos, int64_t indexSize, int64_t next) -> std::optional<int64_t> {
        const auto h = file.header(pos);
        if (!h || !isStreamChunk(*h, streamIndex))
            return std::nullopt;
        int64_t size = -1;
        if (h->size == indexSize)
            size = indexSize;
        else if (next >= 0 && endsAt(pos, h->size, next))
            size = h->size; // the index's size is damaged
        else if (next >= 0 && endsAt(pos, indexSize, next))
            size = indexSize; // the chunk's own size field is damaged
        if (size <= 0 || (fileSize >= 0 && pos + 8 + size > fileSize))
            return std::nullopt;
        return size;
    };

    // The first picture is checked against the start of the list, so an
    // index that left out the very first picture is found out too.
    const std::optional<int64_t> listStart = file.firstPictureListChunk();
    for (size_t k = 0; k < packets.size(); ++k) {
        FrameIndex::Packet& p = packets[k];
        const int64_t next = k + 1 < packets.size() ? packets[k + 1].pos : -1;
        const bool previousGood = k > 0 ? !packets[k - 1].damaged : listStart.has_value();
        const int64_t previousEnd = k == 0 ? listStart.value_or(-1)
            : previousGood                 ? ChunkEnd(packets[k - 1].pos, packets[k - 1].size)
                                           : -1;

        std::optional<int64_t> size = p.damaged ? std::nullopt : pictureSizeAt(p.pos, p.size, next);
        if (!size && !p.damaged && previousGood) {
            // The index's position is damaged: the picture follows the one before.
            if (const auto found = nextPictureChunk(file, previousEnd, streamIndex); found && *found != p.pos) {
                size = pictureSizeAt(*found, p.size, next);
                if (size)
                    p.pos = *found;
            }
        }
        if (!size) {
            p.damaged = true;
            continue;
        }
        p.size = *size;
        if (previousGood) {
            const Gap gap = p.pos < previousEnd ? Gap::Broken : walkGap(file, previousEnd, p.pos, streamIndex);
            if (gap == Gap::PictureLeftOut)
                check.pictureLeftOut = true;
            else if (gap == Gap::Broken && !check.brokenAt)
                check.brokenAt = k;
        }
    }
    return check;
}

std::vector<FrameIndex::Packet> WalkPictureChunks(ChunkFile& file, int streamIndex, bool& cutShort)
{
    std::vector<FrameIndex::Packet> packets;
    cutShort = false;
    const auto start = file.firstPictureListChunk();
    if (!start)
        return packets;
    const int64_t fileSize = file.size();
    const auto printable = [](const ChunkFile::Header& h) {
        return std::all_of(h.id, h.id + 4, [](char c) { return c >= 0x20 && c <= 0x7e; });
    };
    int64_t slot = 0;
    int64_t pos = *start;
    while (fileSize < 0 || pos < fileSize) {
        const auto h = file.header(pos);
        if (!h) {
            cutShort = fileSize < 0 || pos + 1 < fileSize; // more than a pad byte left
            break;
        }
        if (!printable(*h)) {
            if (!packets.empty())
                packets.back().damaged = true;
            cutShort = true;
            break;
        }
        if (isList(*h)) {
            pos += 12;
            continue;
        }
        const int64_t end = pos + 8 + int64_t{h->size};
        if (isStreamChunk(*h, streamIndex)) {
            if (fileSize >= 0 && end > fileSize) {
                cutShort = true;
                break;
            }
            if (h->size > 0) {
                FrameIndex::Packet p;
                p.timestamp = slot;
                p.pos = pos;
                p.size = h->size;
                packets.push_back(p);
            }
            ++slot;
        } else if (fileSize >= 0 && end > fileSize) {
            break; // the index or padding at the end, cut
        }
        pos = ChunkEnd(pos, h->size);
    }
    return packets;
}
