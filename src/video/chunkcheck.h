#pragma once

#include "video/frameindex.h"

#include <cstdint>
#include <optional>
#include <vector>

struct AVIOContext;
struct AVPacket;

// Reads the chunks of an AVI file through the demuxer's reader, and checks
// where the frame index says the pictures lie against what the chunks there
// say of themselves: the index and the chunk sizes are two accounts of one
// file, and a damaged file makes them disagree.
class ChunkFile {
public:
    struct Header {
        char id[4] = {};
        uint32_t size = 0;
    };

    // Remembers the reader's position and puts it back when done.
    explicit ChunkFile(AVIOContext* io);
    ~ChunkFile();
    ChunkFile(const ChunkFile&) = delete;
    ChunkFile& operator=(const ChunkFile&) = delete;

    // Puts the reader back where it was found.
    void rewind();

    // Size of the file in bytes; -1 when unknown.
    int64_t size() const { return m_size; }

    // The chunk header at pos, or none when fewer than 8 bytes are there.
    std::optional<Header> header(int64_t pos);

    // Where the first chunk of the pictures' list ("movi") starts, when the
    // file's top level leads to it.
    std::optional<int64_t> firstPictureListChunk();

    // Reads the bytes of the picture whose chunk starts at pos into packet.
    // Fails (false) when the file holds fewer than size bytes there.
    bool readPicture(int64_t pos, int64_t size, AVPacket* packet);

private:
    AVIOContext* m_io = nullptr;
    int64_t m_size = -1;
    int64_t m_restore = -1;
};

// Where a chunk of `size` data bytes starting at pos ends, pad byte included.
inline int64_t ChunkEnd(int64_t pos, int64_t size)
{
    return pos + 8 + size + (size & 1);
}

struct ChunkCheck {
    // A chunk of the stream holding a picture lies between two indexed ones:
    // the index left a picture out, so it numbers the later ones wrongly.
    bool pictureLeftOut = false;
    // First packet that is not where the chunk before it ends (the demuxer
    // found it by searching past damaged bytes); how many pictures lie in
    // between is unknown.
    std::optional<size_t> brokenAt;
};

// Checks each packet (decode order; pos = its chunk's header) against the
// chunk header found there: the stream's chunk, inside the file, and of the
// packet's size. A size on which the index and the header disagree is taken
// from whichever makes the chunk end where the next packet's chunk starts; a
// packet whose chunk is not where the index says is looked for right after
// the packet before it. A packet that still disagrees is marked damaged.
ChunkCheck CheckChunks(ChunkFile& file, std::vector<FrameIndex::Packet>& packets, int streamIndex);

// The pictures of the stream as its chunks follow one another from the start
// of the pictures' list, without an index: each chunk of the stream is a slot
// (timestamp = its place; an empty chunk is a slot without a picture). The
// walk ends at the end of the file, at a chunk the file ends inside of
// (cutShort), or at bytes that are no chunk header: there the picture before
// may hold a damaged size, so it is marked damaged (cutShort too), and what
// follows cannot be numbered.
std::vector<FrameIndex::Packet> WalkPictureChunks(ChunkFile& file, int streamIndex, bool& cutShort);
