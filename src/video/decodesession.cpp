#include "video/decodesession.h"

#include "video/recordingformat.h"

#include <QFile>

#include <algorithm>
#include <climits>

namespace {

// Decoded pictures of a file are held to a size its bytes can account for: a
// damaged header that declares a vast picture must not take the machine's
// memory. Pictures up to 16.7 million pixels (an action camera's 5.3K, a
// 4K camera's pictures with room to spare) are always allowed: a short or
// still 4K recording compresses to very few bytes.
int64_t pixelLimit(int64_t fileSize)
{
    constexpr int64_t floor = int64_t{1} << 24;
    constexpr int64_t ceiling = INT_MAX;
    if (fileSize <= 0)
        return floor;
    return std::clamp(fileSize * 64, floor, ceiling);
}

} // namespace

DecodeSession::~DecodeSession() = default;

std::expected<std::unique_ptr<DecodeSession>, VideoError> DecodeSession::open(const QString& path,
                                                                              std::shared_ptr<const FrameIndex> index)
{
    const VideoError working{VideoMessages::WithPath(VideoMessages::errorWorkingWithFile, path),
                             OperatorDialogs::Icon::Information};
    std::unique_ptr<DecodeSession> session(new DecodeSession);
    session->m_path = path;
    session->m_packet.reset(av_packet_alloc());
    session->m_picture.reset(av_frame_alloc());
    if (!session->m_packet || !session->m_picture || !session->openFormat())
        return std::unexpected(working);

    AVFormatContext* format = session->m_format.get();
    session->m_streamIndex = FirstVideoStream(format);
    if (session->m_streamIndex < 0)
        return std::unexpected(working);
    session->discardOtherStreams();

    std::shared_ptr<FrameIndex> fresh;
    if (index) {
        session->m_index = std::move(index);
    } else {
        auto built = FrameIndex::build(format, session->m_streamIndex);
        if (!built)
            return std::unexpected(working);
        fresh = std::make_shared<FrameIndex>(std::move(*built));
        session->m_index = fresh;
    }
    if (IsAviRecording(format)) {
        // Pictures are read from the file by the index, not by the demuxer:
        // its reading goes astray after a damaged chunk.
        session->m_file = std::make_unique<ChunkFile>(format->pb);
        session->m_fileSize = session->m_file->size();
    } else {
        session->m_demuxed = std::make_unique<DemuxedPictures>(format, session->m_streamIndex, session->m_index);
        session->m_fileSize = format->pb ? avio_size(format->pb) : -1;
    }

    session->takeStreamHeaders();
    const AVStream* stream = session->m_format->streams[session->m_streamIndex];
    const VideoError noDecoder{VideoMessages::noDecompressor, OperatorDialogs::Icon::Information};
    session->m_decoder = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!session->m_decoder || !session->openDecoder())
        return std::unexpected(noDecoder);

    if (fresh) {
        // The length is the frames that can be delivered: a last frame whose
        // picture decodes broken is no frame, nor one that ends early. Past
        // a few such frames the end is sought in growing steps back, so a
        // file broken over a long stretch costs few decodes.
        constexpr int framesTriedOneByOne = 8;
        int64_t step = 1;
        for (int tried = 0; fresh->frameCount() > 0; ++tried) {
            const int64_t last = fresh->frameCount() - 1;
            const auto decoded = session->decodeThrough(last, [](int64_t, const AVFrame&) {}, Pace::OnlyWhatFrameNeeds);
            if (decoded || decoded.error().text != VideoMessages::FrameDamaged(last))
                break;
            if (tried < framesTriedOneByOne) {
                fresh->markFrameDamaged(last);
            } else {
                step *= 2;
                fresh->endBefore(std::max<int64_t>(0, last + 1 - step));
            }
        }
        if (fresh->frameCount() == 0)
            return std::unexpected(working);
    }
    return session;
}

void DecodeSession::takeStreamHeaders()
{
    // An MPEG-4 Visual stream may carry its headers (object layer, the
    // writer's notes on packed B-pictures) only in front of its first
    // picture, and an AVI file need not repeat them in its stream format. A
    // decode that starts at a later key picture needs them all the same, or
    // it shows wrong pictures without noticing.
    const AVCodecParameters* parameters = m_format->streams[m_streamIndex]->codecpar;
    if (parameters->codec_id != AV_CODEC_ID_MPEG4 || parameters->extradata_size > 0 || m_index->packetCount() == 0)
        return;
    const FrameIndex::Packet& first = m_index->packet(0);
    const bool read = m_demuxed ? m_demuxed->read(0, m_packet.get())
                                : m_file->readPicture(first.pos, first.size, m_packet.get());
    if (!read)
        return;
    const uint8_t* data = m_packet->data;
    for (int i = 0; i + 3 < m_packet->size; ++i) {
        if (data[i] == 0 && data[i + 1] == 0 && data[i + 2] == 1 && data[i + 3] == 0xB6) {
            m_streamHeaders.assign(data, data + i);
            break;
        }
    }
    av_packet_unref(m_packet.get());
}

bool DecodeSession::openDecoder()
{
    const AVStream* stream = m_format->streams[m_streamIndex];
    m_codec.reset(avcodec_alloc_context3(m_decoder));
    if (!m_codec || avcodec_parameters_to_context(m_codec.get(), stream->codecpar) < 0)
        return false;
    if (!m_streamHeaders.empty() && m_codec->extradata_size == 0) {
        const size_t size = m_streamHeaders.size();
        m_codec->extradata = static_cast<uint8_t*>(av_mallocz(size + AV_INPUT_BUFFER_PADDING_SIZE));
        if (!m_codec->extradata)
            return false;
        std::copy(m_streamHeaders.begin(), m_streamHeaders.end(), m_codec->extradata);
        m_codec->extradata_size = static_cast<int>(size);
    }
    // Slices of one picture in parallel, never pictures in parallel: how
    // far damage spreads through pictures decoded side by side depends on
    // their timing, and a damaged frame must be damaged every time.
    m_codec->thread_count = 0; // as many as the machine has
    m_codec->thread_type = FF_THREAD_SLICE;
    m_codec->pkt_timebase = stream->time_base;
    m_codec->max_pixels = pixelLimit(m_fileSize);
    if (avcodec_open2(m_codec.get(), m_decoder, nullptr) < 0) {
        m_codec.reset();
        return false;
    }
    return true;
}

bool DecodeSession::openFormat()
{
    m_format = OpenRecording(m_path);
    return m_format != nullptr;
}

void DecodeSession::discardOtherStreams()
{
    for (unsigned i = 0; i < m_format->nb_streams; ++i)
        if (static_cast<int>(i) != m_streamIndex)
            m_format->streams[i]->discard = AVDISCARD_ALL;
}

QSize DecodeSession::frameSize() const
{
    const AVCodecParameters* p = m_format->streams[m_streamIndex]->codecpar;
    return {p->width, p->height};
}

AVRational DecodeSession::frameRate() const
{
    if (m_index->order() == FrameIndex::Order::Presentation && m_index->timing().averageRate.num > 0)
        return m_index->timing().averageRate;
    const AVStream* s = m_format->streams[m_streamIndex];
    return av_inv_q(s->time_base);
}

VideoError DecodeSession::damaged(int64_t n) const
{
    return {VideoMessages::FrameDamaged(n), OperatorDialogs::Icon::Information};
}

VideoError DecodeSession::failure() const
{
    return {VideoMessages::WithPath(VideoMessages::errorWorkingWithFile, m_path), OperatorDialogs::Icon::Information};
}

bool DecodeSession::canContinueTo(int64_t n, Pace pace) const
{
    if (!m_runActive || m_drained || m_skipped || n <= m_lastOutput)
        return false;
    // Once a picture nothing refers to is skipped the run cannot show it.
    if (pace == Pace::OnlyWhatFrameNeeds)
        return false;
    if (m_index->startPacketFor(n) > m_nextPacket)
        return false; // a seek passes over packets that continuing would decode
    return m_index->decodableFrom(m_runStart, m_index->decodeIndexOfFrame(n));
}

bool DecodeSession::startRun(int64_t startPacket)
{
    // A decoder keeps more than a flush clears (some keep the timing of the
    // pictures before); a fresh one makes frame n the same picture whatever
    // was decoded before it, also in a damaged file.
    m_runActive = false;
    if (!openDecoder())
        return false;
    m_drained = false;
    m_skipped = false;
    m_outputs = 0;
    m_lastOutput = -1;
    m_runActive = true;
    m_runStart = startPacket;
    m_nextPacket = startPacket;
    return true;
}

AVPacket* DecodeSession::nextPacket()
{
    // A damaged picture is never fed: nothing the run is for needs it, and
    // its bytes would only lead the decoder astray.
    const FrameIndex::Packet& want = m_index->packet(m_nextPacket);
    if (want.damaged)
        return nullptr;
    if (m_demuxed ? !m_demuxed->read(m_nextPacket, m_packet.get())
                  : !m_file->readPicture(want.pos, want.size, m_packet.get()))
        return nullptr;
    if (want.key)
        m_packet->flags |= AV_PKT_FLAG_KEY;
    return m_packet.get();
}

std::expected<void, VideoError> DecodeSession::decodeThrough(int64_t n, const Sink& sink, Pace pace,
                                                             const std::atomic<bool>* cancel)
{
    const FrameIndex& index = *m_index;
    if (n < 0 || n >= index.frameCount())
        return std::unexpected(failure());
    if (index.frameDamaged(n))
        return std::unexpected(damaged(n));
    const bool skip = pace == Pace::OnlyWhatFrameNeeds && index.orderKnown();
    if (!canContinueTo(n, pace)) {
        if (!startRun(index.startPacketFor(n)))
            return std::unexpected(failure());
        m_skipped = skip;
    }
    m_targetDamaged = false;
    m_outOfMemory = false;
    const int64_t targetPacket = index.decodeIndexOfFrame(n);
    // From a fresh start the decoder can be drained right after the frame's
    // own packet; after a recovery point it only lets pictures out while
    // packets keep coming.
    const bool drainAfterTarget = skip && index.startsAfresh(m_runStart);

    bool found = false;
    bool ok = true;
    while (!found && ok) {
        if (cancel && cancel->load())
            break;
        // Pictures come out in display order: once a later one is out, frame
        // n was damaged beyond decoding and will not come.
        if (m_drained || m_lastOutput > n || m_targetDamaged)
            break;
        const bool wanted
            = m_nextPacket < index.packetCount() && !(drainAfterTarget && m_nextPacket > targetPacket);
        AVPacket* packet = wanted ? nextPacket() : nullptr;
        if (!packet) {
            // Nothing more to feed: the decoder gives up the pictures it holds.
            avcodec_send_packet(m_codec.get(), nullptr);
            m_drained = true;
            ok = receive(n, sink, found);
            break;
        }
        if (skip) {
            // Leading pictures of an open group are decoded as a sequential
            // decode meets them, or the decoder loses its footing.
            const bool leading = !index.decodableFrom(m_runStart, m_nextPacket);
            m_codec->skip_frame = m_nextPacket == targetPacket || leading ? AVDISCARD_DEFAULT : AVDISCARD_NONREF;
        }
        // The packet's place in decode order travels with its picture, so a
        // reordered picture is recognised when it comes out.
        packet->pts = m_nextPacket;
        packet->dts = m_nextPacket;
        ++m_nextPacket;
        ok = feed(packet, n, sink, found);
        av_packet_unref(packet);
    }
    m_codec->skip_frame = AVDISCARD_DEFAULT;
    if (found || (ok && cancel && cancel->load()))
        return {};
    // Everything frame n needs was there to be read, and the decoder did not
    // show it whole or showed the pictures in another order than the file
    // says: the file is damaged there.
    if (!m_outOfMemory)
        return std::unexpected(damaged(n));
    return std::unexpected(failure());
}

bool DecodeSession::feed(AVPacket* packet, int64_t target, const Sink& sink, bool& found)
{
    int status = 0;
    while ((status = avcodec_send_packet(m_codec.get(), packet)) == AVERROR(EAGAIN)) {
        if (!receive(target, sink, found))
            return false;
    }
    // A damaged picture is left out as a sequential decode leaves it out;
    // only running out of memory stops the decode.
    if (status == AVERROR(ENOMEM)) {
        m_outOfMemory = true;
        return false;
    }
    return receive(target, sink, found);
}

bool DecodeSession::receive(int64_t target, const Sink& sink, bool& found)
{
    const FrameIndex& index = *m_index;
    int errors = 0;
    while (true) {
        const int status = avcodec_receive_frame(m_codec.get(), m_picture.get());
        if (status == AVERROR(EAGAIN) || status == AVERROR_EOF)
            return true;
        if (status < 0) {
            m_outOfMemory = status == AVERROR(ENOMEM);
            if (m_outOfMemory || ++errors > 64)
                return false;
            continue;
        }
        int64_t frame = -1;
        int64_t lastFrame = -1; // later than frame where empty slots repeat the picture
        if (index.orderKnown()) {
            const int64_t d = m_picture->pts;
            if (d >= 0 && d < index.packetCount() && index.decodableFrom(m_runStart, d)) {
                frame = index.frameOfDecodeIndex(d);
                lastFrame = index.lastFrameOfDecodeIndex(d);
            }
        } else {
            // Counted from the start point's own picture: a decode that
            // starts there shows nothing stored before it.
            frame = index.frameOfDecodeIndex(m_runStart) + m_outputs++;
            lastFrame = frame;
            if (frame >= index.frameCount())
                frame = -1;
        }
        // A picture the decoder says it patched up is no picture to measure on.
        const bool corrupt = (m_picture->flags & AV_FRAME_FLAG_CORRUPT) != 0 || m_picture->decode_error_flags != 0;
        for (int64_t shown = frame; frame >= 0 && shown <= lastFrame; ++shown) {
            m_lastOutput = std::max(m_lastOutput, shown);
            if (shown == target) {
                found = !corrupt;
                m_targetDamaged = corrupt;
            }
            if (!corrupt)
                sink(shown, *m_picture);
        }
        av_frame_unref(m_picture.get());
    }
}
