#pragma once

#include "numberedvideo.h"

#include <QByteArray>
#include <QString>

#include <vector>

// Small numbered videos shared by the tests, made on first use by the ffmpeg
// command into the build tree (160 x 120, 60 frames at 30 fps; H.264 in
// groups of 30). Tests never change them: they work on copies.
namespace TestVideos {

enum class Kind {
    Mjpeg,
    Raw,
    H264,
    H264OpenGop,
    MjpegLateStart, // the stream's first timestamp is 7, not 0
    H264LateStart,
    Mpeg4,
    Mpeg4OpenGop,
    Mpeg2,
    Xvid,
    MjpegDroppedFrames, // source frames 4 to 17 dropped: 60 pictures in 74 slots
    Mp4H264,            // the files of phones and action cameras (open groups)
    MovHevc,
    MkvLateStart,       // H.264, the first frame shown at 7.5 s
    Mp4VariableRate,    // H.264, 30 frames at 30 fps, then 30 at 60 fps
    XvidHeadersAtStart, // Xvid whose stream headers stand only before its first picture
};

constexpr int frames = 60;

// The encoder a kind needs ("mjpeg", "rawvideo", "libx264").
QString EncoderOf(Kind kind);
bool Available(Kind kind);

// Path of the video; fails the running test (and returns an empty path)
// when ffmpeg cannot make it.
QString Path(Kind kind);

// A scratch folder that lives as long as the test process.
QString ScratchDirectory();

// Copies the first `bytes` bytes of a file to a new scratch file.
QString TruncatedCopy(const QString& path, qint64 bytes, const QString& name);

// Blanks the MPEG-4 stream headers in front of every picture but the first,
// in place (zero bytes, so no chunk moves). False when there were none.
bool KeepStreamHeadersOnlyAtStart(const QString& path);

// Sets the start field of the first stream header of an AVI file.
bool SetStreamStart(const QString& path, quint32 start);

// Where the pictures of an AVI file lie: the header position of each
// picture chunk of stream 0 in stored order, and of the index chunk (-1:
// none).
struct AviLayout {
    std::vector<qsizetype> chunks;
    qsizetype index = -1;
};
AviLayout LayoutOf(const QByteArray& avi);

// Damages frame n's picture beyond setting right, in place: its chunk's size
// field and its index entry's size disagree with each other and with where
// the next chunk starts.
bool DamageFrame(const QString& path, int frame);

} // namespace TestVideos
