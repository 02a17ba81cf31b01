#pragma once

#include "video/ffmpeghandles.h"

#include <QImage>

// Turns decoded pictures into 24-bit pictures with the bytes of each pixel in
// blue, green, red order (QImage::Format_BGR888): the layout of an
// uncompressed bitmap's rows. Keeps its scaler between pictures of one size.
class PictureConverter {
public:
    // Returns a null image when the picture's format cannot be converted or
    // memory runs out.
    QImage toBgr(const AVFrame& picture);

    // Writes the picture's rows into destination, one row every stride bytes
    // (a negative stride with destination at the last row stores the rows
    // bottom-up, as a bitmap does). Returns false when the format cannot be
    // converted.
    bool convertInto(const AVFrame& picture, uint8_t* destination, int stride);

private:
    struct Setup {
        int width = 0;
        int height = 0;
        AVPixelFormat format = AV_PIX_FMT_NONE;
        bool fullRange = false;
        int matrix = 0;
        bool operator==(const Setup&) const = default;
    };

    SwsContextPtr m_scaler;
    Setup m_setup;
};
