#pragma once

#include "video/ffmpeghandles.h"

#include <QString>

#include <expected>
#include <memory>

// Turns decoded camera pictures into the JPEG pictures of a recording:
// full-range 4:2:0 at a fixed quantiser, scaled to the recording's size.
// The recorder and the pre-roll share it, so a pre-roll picture is the
// picture the recording would have written.
class MjpegEncoder {
public:
    struct Settings {
        int width = 0;
        int height = 0;
        int rate = 30;       // frames per second
        int jpegQuality = 3; // encoder quantiser, 2 (best) to 31
    };

    // Fails with the reason when the encoder is missing or refuses the settings.
    static std::expected<std::unique_ptr<MjpegEncoder>, QString> open(const Settings& settings);

    ~MjpegEncoder();
    MjpegEncoder(const MjpegEncoder&) = delete;
    MjpegEncoder& operator=(const MjpegEncoder&) = delete;

    // One JPEG picture for `picture` (any size and pixel format); fails with
    // the reason when the picture cannot be converted or encoded.
    std::expected<PacketPtr, QString> encode(const AVFrame& picture);

    // The stream description an AVI file needs for these pictures.
    void describe(AVCodecParameters& parameters) const;

private:
    explicit MjpegEncoder(const Settings& settings);

    Settings settings_;
    CodecContextPtr encoder_;
    SwsContext* scaler_ = nullptr; // cached by sws_getCachedContext
    FramePtr yuv_;
    int64_t pts_ = 0;
};
