#pragma once

#include "capture/capturedframe.h"

#include <QImage>

// Turns camera pictures into screen pictures for the preview and for single
// pictures taken from the panel: JPEG pictures are decoded, others
// converted. One per thread; it keeps its decoder and converter.
class PreviewPicture {
public:
    PreviewPicture() = default;
    ~PreviewPicture();
    PreviewPicture(const PreviewPicture&) = delete;
    PreviewPicture& operator=(const PreviewPicture&) = delete;

    // A null picture when the camera's picture cannot be read.
    QImage toImage(const CapturedFrame& frame);

private:
    QImage fromPicture(const AVFrame& picture);

    CodecContextPtr jpegDecoder_;
    FramePtr decoded_;
    SwsContext* scaler_ = nullptr;
};
