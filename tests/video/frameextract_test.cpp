#include "numberedvideo.h"
#include "testvideos.h"

#include "support/filebytes.h"
#include "support/scripteddialogs.h"
#include "video/frameextract.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

namespace {

using TestVideos::Kind;

class Extraction : public ::testing::Test {
protected:
    QTemporaryDir applicationDirectory;
    QString bitmap() const { return applicationDirectory.filePath("currentcapture.bmp"); }
};

TEST_F(Extraction, WritesTheFrameAsCurrentCaptureInTheApplicationDirectory)
{
    const QString video = TestVideos::Path(Kind::Mjpeg);
    ASSERT_TRUE(ExtractFrameToBitmap(video, 37, applicationDirectory.path()).has_value());
    const QByteArray bytes = FileBytesOrEmpty(bitmap());
    ASSERT_EQ(bytes.size(), 54 + 160 * 3 * 120);
    EXPECT_EQ(bytes.left(2), "BM");
    EXPECT_EQ(qFromLittleEndian<quint32>(bytes.constData() + 2), 54u + 57600);
    EXPECT_EQ(qFromLittleEndian<quint32>(bytes.constData() + 10), 54u);
    EXPECT_EQ(qFromLittleEndian<quint32>(bytes.constData() + 14), 40u);
    EXPECT_EQ(qFromLittleEndian<qint32>(bytes.constData() + 22), 120); // bottom-up
    EXPECT_EQ(qFromLittleEndian<quint16>(bytes.constData() + 28), 24u);
    EXPECT_EQ(NumberedVideo::ReadNumber(QImage(bitmap())), 37);

    // A second extraction replaces the picture.
    ASSERT_TRUE(ExtractFrameToBitmap(video, 38, applicationDirectory.path()).has_value());
    EXPECT_EQ(NumberedVideo::ReadNumber(QImage(bitmap())), 38);
}

TEST_F(Extraction, TheBitmapHoldsThePictureBottomUpWithPaddedRows)
{
    // 321 pixels wide: rows of 963 bytes padded to 964. The top half of the
    // picture is white, the bottom half black.
    const QString video = applicationDirectory.filePath("wide.avi");
    NumberedVideo::Recipe recipe;
    recipe.codec = NumberedVideo::Codec::Raw;
    recipe.size = QSize(321, 16);
    recipe.frames = 2;
    recipe.pattern = QRect(0, 0, 321, 16);
    ASSERT_EQ(NumberedVideo::Make(recipe, video), std::nullopt);
    // Frame 1: only bit 0, the top left cell (64 x 8 pixels), is white.
    ASSERT_TRUE(ExtractFrameToFile(video, 1, bitmap()).has_value());
    const QByteArray bytes = FileBytesOrEmpty(bitmap());
    ASSERT_EQ(bytes.size(), 54 + 964 * 16);
    EXPECT_EQ(qFromLittleEndian<quint32>(bytes.constData() + 4 + 14), 321u);
    EXPECT_EQ(qFromLittleEndian<quint32>(bytes.constData() + 20 + 14), 964u * 16);
    const auto pixel = [&](int storedRow, int x) { return static_cast<uchar>(bytes.at(54 + storedRow * 964 + x * 3)); };
    EXPECT_EQ(pixel(15, 0), 255);   // picture row 0, stored last
    EXPECT_EQ(pixel(15, 63), 255);
    EXPECT_EQ(pixel(15, 64), 0);
    EXPECT_EQ(pixel(0, 0), 0);      // picture row 15, stored first
    for (int row = 0; row < 16; ++row)
        EXPECT_EQ(bytes.at(54 + row * 964 + 963), '\0') << "padding of stored row " << row;
}

TEST_F(Extraction, AFrameBeyondTheStreamIsRefusedAndNothingIsWritten)
{
    QFile previous(bitmap());
    ASSERT_TRUE(previous.open(QIODevice::WriteOnly));
    previous.write("previous picture");
    previous.close();
    const QString video = TestVideos::Path(Kind::Mjpeg);
    const auto result = ExtractFrameToBitmap(video, 60, applicationDirectory.path());
    ASSERT_FALSE(result.has_value());
    EXPECT_EQ(result.error().text, "Frame 60 is outside the video stream (frames 0 to 59):\r\n" + video);
    EXPECT_EQ(FileBytesOrEmpty(bitmap()), "previous picture");

    // What the operator sees.
    ScriptedDialogs dialogs;
    ShowVideoError(dialogs, result.error());
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].title, "Rampscope Measurement");
    EXPECT_EQ(dialogs.shown()[0].icon, OperatorDialogs::Icon::Information);
}

TEST_F(Extraction, AFileThatIsNoVideoIsAnErrorWorkingWithTheFile)
{
    const QString notVideo = applicationDirectory.filePath("notes.avi");
    QFile f(notVideo);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("RIFF\0\0\0\0AVI notes");
    f.close();
    const auto result = ExtractFrameToBitmap(notVideo, 0, applicationDirectory.path());
    ASSERT_FALSE(result.has_value());
    EXPECT_EQ(result.error().text, "There was an error working with the file:\r\n" + notVideo);
    EXPECT_EQ(result.error().icon, OperatorDialogs::Icon::Information);
    EXPECT_FALSE(QFile::exists(bitmap()));
}

// Open groups of pictures: the B-pictures shown before a key picture are
// stored after it, and a decode started at that key picture drops them.
TEST_F(Extraction, TheBitmapHoldsTheFrameAskedForInOpenGroups)
{
    for (const Kind kind : {Kind::Mpeg4OpenGop, Kind::Mpeg2, Kind::H264OpenGop}) {
        if (!TestVideos::Available(kind))
            continue;
        const QString video = TestVideos::Path(kind);
        for (const int64_t n : {10, 13, 14, 28, 29, 30, 31, 57, 59}) {
            ASSERT_TRUE(ExtractFrameToBitmap(video, n, applicationDirectory.path()).has_value())
                << static_cast<int>(kind) << " " << n;
            EXPECT_EQ(NumberedVideo::ReadNumber(QImage(bitmap())), n) << static_cast<int>(kind);
        }
    }
}

TEST_F(Extraction, AWriteFailureIsReportedNotPassedOver)
{
    const QString video = TestVideos::Path(Kind::Mjpeg);
    const QString missing = applicationDirectory.filePath("gone");
    const auto result = ExtractFrameToBitmap(video, 3, missing);
    ASSERT_FALSE(result.has_value());
    EXPECT_TRUE(result.error().text.startsWith("The picture could not be written to the file:\r\n" + missing
                                               + "/currentcapture.bmp\r\n"))
        << result.error().text.toStdString();
    EXPECT_EQ(result.error().icon, OperatorDialogs::Icon::Critical);
}

TEST_F(Extraction, WriteFrameBitmapWritesAPictureOnScreenTheSameWay)
{
    const QString video = TestVideos::Path(Kind::Raw);
    ASSERT_TRUE(ExtractFrameToFile(video, 12, bitmap()).has_value());
    const QString again = applicationDirectory.filePath("again.bmp");
    ASSERT_TRUE(WriteFrameBitmap(QImage(bitmap()), again).has_value());
    EXPECT_EQ(FileBytesOrEmpty(again), FileBytesOrEmpty(bitmap()));
    EXPECT_FALSE(WriteFrameBitmap(QImage(), again).has_value());
}

} // namespace
