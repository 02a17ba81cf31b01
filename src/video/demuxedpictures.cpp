#include "video/demuxedpictures.h"

#include "video/ffmpeghandles.h"

#include <algorithm>

DemuxedPictures::DemuxedPictures(AVFormatContext* format, int streamIndex, std::shared_ptr<const FrameIndex> index)
    : m_format(format)
    , m_streamIndex(streamIndex)
    , m_index(std::move(index))
{
    for (int64_t d = 0; d < m_index->packetCount(); ++d)
        m_placeOf.emplace(std::pair{m_index->packet(d).timestamp, m_index->packet(d).pos}, d);
}

std::optional<int64_t> DemuxedPictures::placeOf(const AVPacket* packet) const
{
    const int64_t time = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
    const auto found = m_placeOf.find({time, packet->pos});
    if (found == m_placeOf.end())
        return std::nullopt;
    return found->second;
}

bool DemuxedPictures::readNext(AVPacket* packet)
{
    while (av_read_frame(m_format, packet) >= 0) {
        if (packet->stream_index == m_streamIndex && packet->size > 0)
            return true;
        av_packet_unref(packet);
    }
    return false;
}

bool DemuxedPictures::seekBefore(int64_t d)
{
    // The container's start points are looked up by decode time in MP4 and
    // MOV and by presentation time in Matroska; the earlier of the two lands
    // at or before the picture in both.
    const FrameIndex::Packet& p = m_index->packet(d);
    int64_t time = p.timestamp;
    if (p.decodeTimestamp != INT64_MIN)
        time = std::min(time, p.decodeTimestamp);
    return av_seek_frame(m_format, m_streamIndex, time, AVSEEK_FLAG_BACKWARD) >= 0;
}

bool DemuxedPictures::seekToStart()
{
    const FrameIndex::Packet& first = m_index->packet(0);
    const int64_t time = std::min(first.timestamp, first.decodeTimestamp != INT64_MIN ? first.decodeTimestamp
                                                                                      : first.timestamp);
    return av_seek_frame(m_format, m_streamIndex, time, AVSEEK_FLAG_BACKWARD) >= 0
        || av_seek_frame(m_format, m_streamIndex, time, 0) >= 0;
}

bool DemuxedPictures::readOnTo(int64_t d, AVPacket* packet)
{
    while (readNext(packet)) {
        const auto place = placeOf(packet);
        if (place == d)
            return true;
        av_packet_unref(packet);
        if (!place || *place > d)
            return false; // past it, or a picture the index does not know
    }
    return false;
}

bool DemuxedPictures::read(int64_t d, AVPacket* packet)
{
    const int64_t expected = m_next;
    m_next = -1;
    if (d == expected && readOnTo(d, packet)) {
        m_next = d + 1;
        return true;
    }
    // A seek that lands after the picture (a start point whose time is not
    // where the index says) is followed by reading from the start.
    if ((seekBefore(d) && readOnTo(d, packet)) || (seekToStart() && readOnTo(d, packet))) {
        m_next = d + 1;
        return true;
    }
    return false;
}
