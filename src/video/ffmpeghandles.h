#pragma once

// Owning wrappers for the FFmpeg handles of the video services, so that an
// early return never leaks a demuxer, a decoder or a decoded picture.

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/frame.h>
#include <libswscale/swscale.h>
}

#include <memory>

struct FormatContextCloser {
    void operator()(AVFormatContext* c) const { avformat_close_input(&c); }
};
using FormatContextPtr = std::unique_ptr<AVFormatContext, FormatContextCloser>;

struct CodecContextFreer {
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
using CodecContextPtr = std::unique_ptr<AVCodecContext, CodecContextFreer>;

struct PacketFreer {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
using PacketPtr = std::unique_ptr<AVPacket, PacketFreer>;

struct FrameFreer {
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};
using FramePtr = std::unique_ptr<AVFrame, FrameFreer>;

struct SwsContextFreer {
    void operator()(SwsContext* s) const { sws_freeContext(s); }
};
using SwsContextPtr = std::unique_ptr<SwsContext, SwsContextFreer>;

struct ParserCloser {
    void operator()(AVCodecParserContext* p) const { av_parser_close(p); }
};
using ParserPtr = std::unique_ptr<AVCodecParserContext, ParserCloser>;

// A new reference to the same decoded picture (the pixel buffers are shared,
// not copied). Returns null when out of memory.
inline FramePtr ShareFrame(const AVFrame* frame)
{
    FramePtr copy(av_frame_alloc());
    if (copy && av_frame_ref(copy.get(), frame) < 0)
        copy.reset();
    return copy;
}

// A file being written: the muxer and, when it owns one, its output file.
struct OutputContextCloser {
    void operator()(AVFormatContext* c) const
    {
        if (c->pb && !(c->oformat->flags & AVFMT_NOFILE))
            avio_closep(&c->pb);
        avformat_free_context(c);
    }
};
using OutputContextPtr = std::unique_ptr<AVFormatContext, OutputContextCloser>;
