#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

// Videos made by the ffmpeg command for tests and measurements, with each
// frame's number painted in: ten large black or white cells (five across,
// two down) inside the pattern area, bit 0 top left. Cells are big enough to
// survive lossy compression and are read back from their centres.
namespace NumberedVideo {

enum class Codec {
    Mjpeg,
    Raw,         // uncompressed 24-bit
    H264,        // long closed groups of pictures with B-pictures
    H264OpenGop, // open groups: leading B-pictures refer to the previous group
    Mpeg4,       // MPEG-4 Visual (DivX-like) with B-pictures in closed groups
    Mpeg4OpenGop, // the same in open groups: leading B-pictures refer to the previous group
    Mpeg2,       // MPEG-2 with B-pictures in open groups
    Xvid,        // libxvid with packed B-pictures
    Hevc,        // libx265 with B-pictures in open groups, tagged for QuickTime
};

struct Recipe {
    Codec codec = Codec::Mjpeg;
    QSize size{160, 120};
    int frames = 60;
    int rate = 30;
    int groupOfPictures = 30;   // H.264 only
    QRect pattern;              // empty: the whole frame
    bool movingBackground = false; // a test card behind the pattern (realistic decoding load)
    // Source frames left out with their time kept, as a capture that drops
    // frames: the AVI then holds empty slots for them (first, last; empty: none).
    std::optional<std::pair<int, int>> droppedFrames;
    double startSeconds = 0; // presentation time of the first frame (not AVI)
    bool variableRate = false; // the second half of the frames twice as close together (not AVI)
};

// True when `ffmpeg -encoders` lists the encoder.
bool HasEncoder(const QString& name);

// The ffmpeg arguments that write the video to path.
QStringList Arguments(const Recipe& recipe, const QString& path);

// Runs ffmpeg to write the video; returns ffmpeg's complaint on failure.
std::optional<QString> Make(const Recipe& recipe, const QString& path);

// The number painted into a decoded frame, or -1 when a cell is neither
// clearly black nor clearly white.
int ReadNumber(const QImage& frame, QRect pattern = {});

} // namespace NumberedVideo
