#include "numberedvideo.h"
#include "testvideos.h"

#include "video/avifile.h"
#include "video/frameextract.h"
#include "video/framedecoder.h"

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using TestVideos::Kind;

// Every kind of recording a club brings, each checked against the number
// painted into its frames.
struct RecordingCase {
    const char* name;
    Kind kind;
    // FFmpeg's count to agree with: an AVI stream's slots (an empty one is a
    // frame showing the picture before), other files' decoded pictures.
    bool slots = false;
};

const RecordingCase recordingCases[] = {
    {"Mjpeg", Kind::Mjpeg, true},
    {"Raw", Kind::Raw, true},
    {"H264ClosedGop", Kind::H264, true},
    {"H264OpenGop", Kind::H264OpenGop, true},
    {"Mpeg4OpenGop", Kind::Mpeg4OpenGop, true},
    {"Mpeg2", Kind::Mpeg2, true},
    // A placeholder slot stands for the B-picture packed into the slot
    // before; the encoder's last two pictures never reach the file, so
    // the slots outnumber the pictures.
    {"XvidPackedB", Kind::Xvid, false},
    {"XvidHeadersAtStart", Kind::XvidHeadersAtStart, false},
    {"AviEmptySlots", Kind::MjpegDroppedFrames, true},
    {"Mp4H264", Kind::Mp4H264},
    {"MovHevc", Kind::MovHevc},
    {"MkvLateStart", Kind::MkvLateStart},
    {"Mp4VariableRate", Kind::Mp4VariableRate},
};

// The number painted into frame n: an empty slot shows the picture before.
int paintedAt(Kind kind, int64_t n)
{
    if (kind == Kind::MjpegDroppedFrames && n >= 4 && n <= 17)
        return 3;
    return static_cast<int>(n);
}

// FFmpeg's own count of the file's frames: the stream header's slots, or
// the pictures a full decode shows.
int64_t ffmpegFrameCount(const QString& path, bool slots)
{
    QStringList args{"-v", "error", "-select_streams", "v:0", "-of", "csv=p=0", "-show_entries"};
    args << (slots ? "stream=nb_frames" : "stream=nb_read_frames");
    if (!slots)
        args << "-count_frames";
    QProcess probe;
    probe.start(QStringLiteral("ffprobe"), args << path);
    if (!probe.waitForFinished(120000) || probe.exitCode() != 0)
        return -1;
    bool ok = false;
    const int64_t count = QString::fromLatin1(probe.readAllStandardOutput()).section(',', 0, 0).trimmed().toLongLong(&ok);
    return ok ? count : -1;
}

class RecordingMatrix : public ::testing::TestWithParam<RecordingCase> {};

TEST_P(RecordingMatrix, TheFrameShownIsTheFrameCountedAndTheFrameExtracted)
{
    const Kind kind = GetParam().kind;
    if (!TestVideos::Available(kind))
        GTEST_SKIP() << "ffmpeg has no " << TestVideos::EncoderOf(kind).toStdString() << " encoder";
    const QString path = TestVideos::Path(kind);
    ASSERT_FALSE(path.isEmpty());
    const int64_t count = ffmpegFrameCount(path, GetParam().slots);
    ASSERT_GT(count, 0) << "ffprobe could not count the frames";

    const auto info = ReadAviFileInfo(path);
    ASSERT_TRUE(info.has_value()) << info.error().text.toStdString();
    EXPECT_EQ(AviInfoLength(*info), count);

    auto opened = FrameDecoder::open(path);
    ASSERT_TRUE(opened.has_value()) << opened.error().text.toStdString();
    FrameDecoder& player = **opened;
    ASSERT_EQ(player.frameCount(), count);
    // A seek into the middle, steps back and forwards across it, then seeks
    // to both ends and back.
    const int64_t mid = count * 3 / 5;
    for (int64_t n : {mid, mid - 1, mid - 2, mid - 1, mid, mid + 1, count - 1, int64_t{0}, int64_t{1}, count / 4}) {
        const auto image = player.frame(n);
        ASSERT_TRUE(image.has_value()) << n << ": " << image.error().text.toStdString();
        EXPECT_EQ(NumberedVideo::ReadNumber(*image), paintedAt(kind, n)) << "frame " << n;
    }

    // Extraction opens the file afresh for each frame, as the screen does.
    QTemporaryDir dir;
    // Just after a start point, the decoder is not drained before the frame is out.
    for (int64_t n : {count / 2 + 1, count - 1, int64_t{1}}) {
        const QString bitmap = dir.filePath(QStringLiteral("frame%1.bmp").arg(n));
        const auto extracted = ExtractFrameToFile(path, n, bitmap);
        ASSERT_TRUE(extracted.has_value()) << n << ": " << extracted.error().text.toStdString();
        EXPECT_EQ(NumberedVideo::ReadNumber(QImage(bitmap)), paintedAt(kind, n)) << "extracted frame " << n;
    }
}

INSTANTIATE_TEST_SUITE_P(Recordings, RecordingMatrix, ::testing::ValuesIn(recordingCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
