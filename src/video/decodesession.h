#pragma once

#include "video/chunkcheck.h"
#include "video/demuxedpictures.h"
#include "video/ffmpeghandles.h"
#include "video/frameindex.h"
#include "video/videoerror.h"

#include <QSize>
#include <QString>

#include <atomic>
#include <cstdint>
#include <expected>
#include <functional>
#include <memory>
#include <vector>

// One reader and decoder of the first video stream of a recording (AVI, MP4,
// MOV or Matroska), with its frame index. Used from one thread at a time; a second thread gets a session
// of its own sharing the same index.
class DecodeSession {
public:
    // What a decode towards frame n decodes on the way.
    enum class Pace {
        Everything,         // every picture, so that neighbours of n can be kept
        OnlyWhatFrameNeeds, // skips pictures nothing refers to (one-off extraction)
    };

    // Called with every picture that comes out whole, and its frame number.
    using Sink = std::function<void(int64_t frame, const AVFrame& picture)>;

    // Opens the file as AVI, MP4, MOV or Matroska and its first video stream
    // for decoding, and indexes the stream unless an index is given. Fails
    // with "There was an error working with the file:" when the file opens as
    // none of them, has no
    // video stream or cannot be indexed, and with "No suitable decompressor
    // found for this video stream!" when no decoder takes the stream.
    static std::expected<std::unique_ptr<DecodeSession>, VideoError>
    open(const QString& path, std::shared_ptr<const FrameIndex> index = nullptr);

    ~DecodeSession();
    DecodeSession(const DecodeSession&) = delete;
    DecodeSession& operator=(const DecodeSession&) = delete;

    const FrameIndex& index() const { return *m_index; }
    std::shared_ptr<const FrameIndex> sharedIndex() const { return m_index; }
    const QString& path() const { return m_path; }
    // The picture size the stream declares.
    QSize frameSize() const;
    // Frames per second as an AVI stream declares them (rate / scale); for
    // other files the average rate of the presentation times.
    AVRational frameRate() const;

    // Decodes until frame n (0 <= n < frameCount) has come out, continuing the
    // current run of decoding when that reaches n sooner than a seek. Only
    // pictures that come out whole reach the sink. Fails with "Frame n of
    // this recording is damaged" when the index knows the frame damaged, or
    // when the decoder, given what the frame needs, shows it broken, not at
    // all or out of the file's order; with "There was an error working with
    // the file:" when no decoder can be had or memory runs out. Stops early
    // (without error) when cancel becomes true.
    std::expected<void, VideoError> decodeThrough(int64_t n, const Sink& sink, Pace pace,
                                                  const std::atomic<bool>* cancel = nullptr);

private:
    DecodeSession() = default;

    bool openFormat();
    void takeStreamHeaders();
    bool openDecoder();
    void discardOtherStreams();
    bool canContinueTo(int64_t n, Pace pace) const;
    bool startRun(int64_t startPacket);
    // The picture of packet m_nextPacket read from the file, or null when it
    // is damaged or cannot be read whole.
    AVPacket* nextPacket();
    bool feed(AVPacket* packet, int64_t target, const Sink& sink, bool& found);
    bool receive(int64_t target, const Sink& sink, bool& found);
    VideoError failure() const;
    VideoError damaged(int64_t n) const;

    QString m_path;
    FormatContextPtr m_format;
    const AVCodec* m_decoder = nullptr;
    CodecContextPtr m_codec;
    int m_streamIndex = -1;
    std::shared_ptr<const FrameIndex> m_index;
    std::unique_ptr<ChunkFile> m_file;             // AVI: pictures read by their chunks
    std::unique_ptr<DemuxedPictures> m_demuxed;    // others: read through the demuxer
    int64_t m_fileSize = -1;
    std::vector<uint8_t> m_streamHeaders; // given to the decoder when the file's stream format has none
    PacketPtr m_packet;
    FramePtr m_picture;

    // The current run: decoding started at packet m_runStart and has been fed
    // up to (not including) m_nextPacket.
    bool m_runActive = false;
    bool m_drained = false;
    bool m_skipped = false;
    int64_t m_runStart = 0;
    int64_t m_nextPacket = 0;
    int64_t m_outputs = 0;
    int64_t m_lastOutput = -1;
    bool m_targetDamaged = false; // the frame sought came out broken
    bool m_outOfMemory = false;
};
