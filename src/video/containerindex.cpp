#include "video/containerindex.h"

#include "video/ffmpeghandles.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <numeric>

FrameIndex::Timing PresentationTiming(const std::vector<int64_t>& shownTimes, AVRational timeBase,
                                      AVRational declared)
{
    FrameIndex::Timing timing;
    const bool declaredValid = declared.num > 0 && declared.den > 0;
    if (declaredValid)
        timing.averageRate = declared;
    const size_t count = shownTimes.size();
    if (count < 2 || timeBase.num <= 0 || timeBase.den <= 0)
        return timing;
    const int64_t span = shownTimes.back() - shownTimes.front();
    if (span <= 0)
        return timing;
    const double meanStep = static_cast<double>(span) / static_cast<double>(count - 1);
    const double allowed = std::max(1.0, meanStep / 10);
    for (size_t i = 1; i < count && !timing.variable; ++i)
        timing.variable = std::abs(static_cast<double>(shownTimes[i] - shownTimes[i - 1]) - meanStep) > allowed;

    const double average = static_cast<double>(count - 1) * timeBase.den / (static_cast<double>(span) * timeBase.num);
    if (!timing.variable && declaredValid && std::abs(average / av_q2d(declared) - 1) <= 0.01)
        return timing;
    int num = 0;
    int den = 0;
    // (count - 1) * den over span * num, reduced; too large to reduce
    // exactly, the nearest fraction that fits.
    if (span <= INT64_MAX / timeBase.num
        && av_reduce(&num, &den, static_cast<int64_t>(count - 1) * timeBase.den, span * timeBase.num, INT_MAX))
        timing.averageRate = {num, den};
    else
        timing.averageRate = av_d2q(average, INT_MAX);
    return timing;
}

std::expected<FrameIndex, QString> BuildPresentationIndex(AVFormatContext* format, int streamIndex)
{
    PacketPtr packet(av_packet_alloc());
    if (!packet)
        return std::unexpected(QStringLiteral("out of memory"));
    std::vector<FrameIndex::Packet> packets;
    while (av_read_frame(format, packet.get()) >= 0) {
        if (packet->stream_index == streamIndex && packet->size > 0) {
            FrameIndex::Packet p;
            p.timestamp = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
            p.decodeTimestamp = packet->dts != AV_NOPTS_VALUE ? packet->dts : INT64_MIN;
            p.pos = packet->pos;
            p.key = (packet->flags & AV_PKT_FLAG_KEY) != 0;
            p.size = packet->size;
            if (p.timestamp == AV_NOPTS_VALUE) {
                av_packet_unref(packet.get());
                return std::unexpected(QStringLiteral("a picture of the video stream has no time"));
            }
            packets.push_back(p);
        }
        av_packet_unref(packet.get());
    }
    if (packets.empty())
        return std::unexpected(QStringLiteral("the video stream cannot be read"));
    if (packets.size() > static_cast<size_t>(INT32_MAX))
        return std::unexpected(QStringLiteral("the video stream has too many pictures"));

    // Ranks by presentation time; pictures of equal time keep stored order.
    std::vector<size_t> shown(packets.size());
    std::iota(shown.begin(), shown.end(), size_t{0});
    std::stable_sort(shown.begin(), shown.end(),
                     [&](size_t a, size_t b) { return packets[a].timestamp < packets[b].timestamp; });
    std::vector<int64_t> times;
    times.reserve(shown.size());
    for (size_t rank = 0; rank < shown.size(); ++rank) {
        packets[shown[rank]].poc = static_cast<int32_t>(rank);
        times.push_back(packets[shown[rank]].timestamp);
    }
    const AVStream* stream = format->streams[streamIndex];
    FrameIndex index(std::move(packets), FrameIndex::Order::Presentation);
    index.setTiming(PresentationTiming(times, stream->time_base, stream->avg_frame_rate));
    return index;
}
