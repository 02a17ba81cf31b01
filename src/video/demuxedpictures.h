#pragma once

#include "video/frameindex.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <utility>

struct AVFormatContext;
struct AVPacket;

// Reads the pictures of one stream of an MP4, MOV or Matroska file by their
// place in the frame index (decode order), through the file's demuxer:
// reading on from the picture before costs nothing, any other picture is
// found by a seek to a start point at or before it and reading on from
// there. Used from one thread at a time.
class DemuxedPictures {
public:
    DemuxedPictures(AVFormatContext* format, int streamIndex, std::shared_ptr<const FrameIndex> index);

    // Reads packet d of the index into packet. Fails (false, packet empty)
    // when the file does not give that picture, even read from its start.
    bool read(int64_t d, AVPacket* packet);

private:
    bool seekBefore(int64_t d);
    bool seekToStart();
    // The next picture of the stream in the file; false at its end.
    bool readNext(AVPacket* packet);
    std::optional<int64_t> placeOf(const AVPacket* packet) const;
    // Reads on until packet d; false when a later one comes first.
    bool readOnTo(int64_t d, AVPacket* packet);

    AVFormatContext* m_format = nullptr;
    int m_streamIndex = -1;
    std::shared_ptr<const FrameIndex> m_index;
    std::map<std::pair<int64_t, int64_t>, int64_t> m_placeOf; // (time, position) -> decode index
    int64_t m_next = -1; // the packet the demuxer gives next, -1 when unknown
};
