#include "numberedvideo.h"
#include "testvideos.h"

#include "video/decodesession.h"
#include "video/framedecoder.h"

#include <QFile>

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

namespace {

using TestVideos::Kind;

struct CodecCase {
    const char* name;
    Kind kind;
};

const CodecCase codecCases[] = {
    {"Mjpeg", Kind::Mjpeg},
    {"Raw", Kind::Raw},
    {"H264", Kind::H264},
    {"H264OpenGop", Kind::H264OpenGop},
    {"MjpegLateStart", Kind::MjpegLateStart},
    {"H264LateStart", Kind::H264LateStart},
    {"Mpeg4", Kind::Mpeg4},
    {"Mpeg4OpenGop", Kind::Mpeg4OpenGop},
    {"Mpeg2", Kind::Mpeg2},
};

class FrameExact : public ::testing::TestWithParam<CodecCase> {
protected:
    void SetUp() override
    {
        if (!TestVideos::Available(GetParam().kind))
            GTEST_SKIP() << "ffmpeg has no " << TestVideos::EncoderOf(GetParam().kind).toStdString() << " encoder";
        path = TestVideos::Path(GetParam().kind);
        ASSERT_FALSE(path.isEmpty());
    }

    std::unique_ptr<FrameDecoder> open(FrameDecoder::Options options = {})
    {
        auto decoder = FrameDecoder::open(path, options);
        EXPECT_TRUE(decoder.has_value()) << (decoder ? "" : decoder.error().text.toStdString());
        return decoder ? std::move(*decoder) : nullptr;
    }

    int numberOf(FrameDecoder& decoder, int64_t n)
    {
        const auto image = decoder.frame(n);
        if (!image) {
            ADD_FAILURE() << "frame " << n << ": " << image.error().text.toStdString();
            return -2;
        }
        EXPECT_EQ(image->format(), QImage::Format_BGR888);
        EXPECT_EQ(image->size(), QSize(160, 120));
        return NumberedVideo::ReadNumber(*image);
    }

    QString path;
};

TEST_P(FrameExact, CountsEveryFrame)
{
    const auto decoder = open();
    ASSERT_TRUE(decoder);
    EXPECT_EQ(decoder->frameCount(), TestVideos::frames);
    EXPECT_EQ(decoder->frameSize(), QSize(160, 120));
    EXPECT_EQ(av_q2d(decoder->frameRate()), 30.0);
}

TEST_P(FrameExact, SequentialDecodeShowsEveryNumberInTurn)
{
    const auto decoder = open();
    ASSERT_TRUE(decoder);
    for (int n = 0; n < TestVideos::frames; ++n)
        ASSERT_EQ(numberOf(*decoder, n), n);
}

TEST_P(FrameExact, RandomAccessInAnyOrderShowsTheFrameAskedFor)
{
    const auto decoder = open();
    ASSERT_TRUE(decoder);
    std::vector<int> order(TestVideos::frames);
    std::iota(order.begin(), order.end(), 0);
    std::mt19937 shuffle(20050);
    std::shuffle(order.begin(), order.end(), shuffle);
    for (int n : order)
        ASSERT_EQ(numberOf(*decoder, n), n);
}

TEST_P(FrameExact, OneOffDecodingSkipsOnlyWhatTheFrameDoesNotNeed)
{
    // A fresh decoder per frame, as the extraction opens one.
    for (int n : {0, 1, 2, 3, 28, 29, 30, 31, 32, 33, 45, 57, 58, 59}) {
        const auto decoder = open(FrameDecoder::singleFrame());
        ASSERT_TRUE(decoder);
        EXPECT_EQ(numberOf(*decoder, n), n);
    }
}

TEST_P(FrameExact, SteppingBackwardsFromTheLastFrameToTheFirst)
{
    const auto decoder = open();
    ASSERT_TRUE(decoder);
    for (int n = TestVideos::frames - 1; n >= 0; --n)
        ASSERT_EQ(numberOf(*decoder, n), n);
}

TEST_P(FrameExact, SteppingBackAndForthAcrossGroupBoundaries)
{
    const auto decoder = open();
    ASSERT_TRUE(decoder);
    for (int n : {31, 30, 29, 28, 29, 30, 31, 32, 59, 58, 0, 1, 0})
        ASSERT_EQ(numberOf(*decoder, n), n);
}

TEST_P(FrameExact, FramesOutsideTheStreamAreRefusedWithTheirRange)
{
    const auto decoder = open();
    ASSERT_TRUE(decoder);
    for (int64_t n : {int64_t{60}, int64_t{-1}, int64_t{1} << 33}) {
        const auto image = decoder->frame(n);
        ASSERT_FALSE(image.has_value());
        EXPECT_EQ(image.error().text,
                  QStringLiteral("Frame %1 is outside the video stream (frames 0 to 59):\r\n").arg(n) + path);
    }
    EXPECT_EQ(numberOf(*decoder, 59), 59);
}

INSTANTIATE_TEST_SUITE_P(Codecs, FrameExact, ::testing::ValuesIn(codecCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FrameIndexOfFiles, LateStartFileReallyStartsLate)
{
    const QString path = TestVideos::Path(Kind::MjpegLateStart);
    const auto session = DecodeSession::open(path);
    ASSERT_TRUE(session.has_value());
    EXPECT_EQ((*session)->index().packet(0).timestamp, 7);
    EXPECT_EQ((*session)->index().frameCount(), 60);
}

TEST(FrameIndexOfFiles, Mpeg4AndMpeg2AreRankedByTheirPictureTypes)
{
    for (const Kind kind : {Kind::Mpeg4, Kind::Mpeg4OpenGop}) {
        if (!TestVideos::Available(kind))
            GTEST_SKIP();
        const auto session = DecodeSession::open(TestVideos::Path(kind));
        ASSERT_TRUE(session.has_value());
        const FrameIndex& index = (*session)->index();
        EXPECT_EQ(index.order(), FrameIndex::Order::PictureOrder);
        // The second group's key picture, wherever the B-pictures put it.
        EXPECT_EQ(index.startPacketFor(45), index.startPacketFor(40));
        EXPECT_GT(index.startPacketFor(45), 25);
        EXPECT_EQ(index.startPacketFor(20), 0);
        // In an open group the B-pictures shown just before the key picture
        // need the group before it.
        EXPECT_EQ(index.startPacketFor(29), kind == Kind::Mpeg4 ? index.startPacketFor(30) : 0)
            << static_cast<int>(kind);
    }
}

// A capture that could not keep up leaves empty slots: each is a frame that
// shows the picture before it, so frame n stays at n / rate seconds.
TEST(FrameIndexOfFiles, EmptySlotsAreFramesShowingThePictureBeforeThem)
{
    const QString path = TestVideos::Path(Kind::MjpegDroppedFrames);
    const auto shownAt = [](int64_t n) { return n >= 4 && n <= 17 ? 3 : static_cast<int>(n); };
    auto sequential = FrameDecoder::open(path);
    ASSERT_TRUE(sequential.has_value());
    ASSERT_EQ((*sequential)->frameCount(), 74);
    for (int64_t n = 0; n < 74; ++n) {
        const auto image = (*sequential)->frame(n);
        ASSERT_TRUE(image.has_value()) << n;
        ASSERT_EQ(NumberedVideo::ReadNumber(*image), shownAt(n)) << n;
    }
    for (int64_t n : {73, 17, 18, 4, 3, 10, 40}) {
        auto single = FrameDecoder::open(path, FrameDecoder::singleFrame());
        ASSERT_TRUE(single.has_value());
        const auto image = (*single)->frame(n);
        ASSERT_TRUE(image.has_value()) << n;
        EXPECT_EQ(NumberedVideo::ReadNumber(*image), shownAt(n)) << n;
    }
}

TEST(FrameIndexOfFiles, PackedBPicturesAreCountedAsTheDecoderShowsThem)
{
    if (!TestVideos::Available(Kind::Xvid))
        GTEST_SKIP() << "ffmpeg has no libxvid encoder";
    auto decoder = FrameDecoder::open(TestVideos::Path(Kind::Xvid));
    ASSERT_TRUE(decoder.has_value());
    EXPECT_EQ((*decoder)->index().order(), FrameIndex::Order::Counted);
    for (int64_t n = 0; n < (*decoder)->frameCount(); ++n) {
        const auto image = (*decoder)->frame(n);
        ASSERT_TRUE(image.has_value()) << n;
        ASSERT_EQ(NumberedVideo::ReadNumber(*image), n);
    }
}

TEST(FrameIndexOfFiles, H264IsOrderedByPictureOrderWithKeyFramesEveryGroup)
{
    if (!TestVideos::Available(Kind::H264))
        GTEST_SKIP();
    const auto session = DecodeSession::open(TestVideos::Path(Kind::H264));
    ASSERT_TRUE(session.has_value());
    const FrameIndex& index = (*session)->index();
    EXPECT_EQ(index.order(), FrameIndex::Order::PictureOrder);
    EXPECT_TRUE(index.packet(0).key);
    EXPECT_TRUE(index.packet(30).key);
    EXPECT_FALSE(index.allKeyFrames());
    // B-pictures: some frame is shown before a picture stored ahead of it.
    bool reordered = false;
    for (int64_t n = 0; n < index.frameCount(); ++n)
        reordered = reordered || index.decodeIndexOfFrame(n) != n;
    EXPECT_TRUE(reordered);
}

// Kept pictures: what is decoded on the way to a frame stays for stepping
// back, and stepping back fills in the frames further back.
class KeptFrames : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!TestVideos::Available(Kind::H264))
            GTEST_SKIP();
        path = TestVideos::Path(Kind::H264);
    }
    QString path;
};

TEST_F(KeptFrames, FramesDecodedOnTheWayAreKeptWithinTheWindow)
{
    FrameDecoder::Options options;
    options.keepBehind = 10;
    options.keepAhead = 4;
    auto decoder = FrameDecoder::open(path, options);
    ASSERT_TRUE(decoder.has_value());
    ASSERT_TRUE((*decoder)->frame(45).has_value());
    for (int n = 35; n <= 45; ++n)
        EXPECT_TRUE((*decoder)->isKept(n)) << n;
    EXPECT_FALSE((*decoder)->isKept(34));
    EXPECT_FALSE((*decoder)->isKept(29)); // another group, never decoded
}

TEST_F(KeptFrames, SteppingBackFillsTheFramesFurtherBackAcrossAGroupBoundary)
{
    FrameDecoder::Options options;
    options.keepBehind = 10;
    options.keepAhead = 4;
    auto opened = FrameDecoder::open(path, options);
    ASSERT_TRUE(opened.has_value());
    FrameDecoder& decoder = **opened;
    ASSERT_TRUE(decoder.frame(45).has_value());
    for (int n = 44; n >= 39; --n) {
        const auto image = decoder.frame(n);
        ASSERT_TRUE(image.has_value());
        EXPECT_EQ(NumberedVideo::ReadNumber(*image), n);
    }
    decoder.waitUntilIdle();
    // Window of 39: 29 to 43; 29 lies in the group before.
    for (int n = 29; n <= 43; ++n)
        EXPECT_TRUE(decoder.isKept(n)) << n;
    for (int n = 38; n >= 25; --n) {
        const auto image = decoder.frame(n);
        ASSERT_TRUE(image.has_value());
        EXPECT_EQ(NumberedVideo::ReadNumber(*image), n);
    }
}

TEST_F(KeptFrames, SingleFrameModeKeepsNothingBeyondTheFrame)
{
    auto decoder = FrameDecoder::open(path, FrameDecoder::singleFrame());
    ASSERT_TRUE(decoder.has_value());
    ASSERT_TRUE((*decoder)->frame(45).has_value());
    EXPECT_FALSE((*decoder)->isKept(44));
}

TEST(FrameDecoderFailures, DamagedAndForeignFiles)
{
    const QString scratch = TestVideos::ScratchDirectory();
    const QString text = scratch + QStringLiteral("/notes.avi");
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("This is not a video.\r\n");
    file.close();
    const QString missing = scratch + QStringLiteral("/missing.avi");
    const QString stub = TestVideos::TruncatedCopy(TestVideos::Path(Kind::Mjpeg), 100, QStringLiteral("stub.avi"));

    for (const QString& path : {text, missing, stub}) {
        const auto decoder = FrameDecoder::open(path);
        ASSERT_FALSE(decoder.has_value()) << path.toStdString();
        EXPECT_EQ(decoder.error().text, QStringLiteral("There was an error working with the file:\r\n") + path);
        EXPECT_EQ(decoder.error().icon, OperatorDialogs::Icon::Information);
    }
}

TEST(FrameDecoderFailures, UnknownCodecHasNoDecompressor)
{
    const QString path = TestVideos::TruncatedCopy(TestVideos::Path(Kind::Mjpeg), 1 << 30, QStringLiteral("zz.avi"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    // The stream handler and the bitmap header's compression both name the codec.
    ASSERT_GE(bytes.count("MJPG"), 2);
    bytes.replace("MJPG", "ZZZZ");
    ASSERT_TRUE(file.seek(0));
    ASSERT_EQ(file.write(bytes), bytes.size());
    file.close();

    const auto decoder = FrameDecoder::open(path);
    ASSERT_FALSE(decoder.has_value());
    EXPECT_EQ(decoder.error().text, QStringLiteral("No suitable decompressor found for this video stream!"));
}

class TruncatedFiles : public ::testing::TestWithParam<CodecCase> {};

TEST_P(TruncatedFiles, TheFramesLeftAreExactAndTheRestAreOutside)
{
    if (!TestVideos::Available(GetParam().kind))
        GTEST_SKIP();
    const QString whole = TestVideos::Path(GetParam().kind);
    // Cut the picture data in half, headers whole (no index at the end then).
    QFile file(whole);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const qsizetype data = bytes.indexOf("movi");
    ASSERT_GT(data, 0);
    const QString path = TestVideos::TruncatedCopy(whole, data + (bytes.size() - data) / 2,
                                                   QStringLiteral("half%1.avi").arg(GetParam().name));
    auto opened = FrameDecoder::open(path);
    ASSERT_TRUE(opened.has_value()) << opened.error().text.toStdString();
    FrameDecoder& decoder = **opened;
    const int64_t count = decoder.frameCount();
    EXPECT_GT(count, 10);
    EXPECT_LT(count, 60);
    // The last frame may be cut; the ones before it are whole.
    for (int64_t n : {count - 2, int64_t{0}, count / 2, int64_t{1}}) {
        const auto image = decoder.frame(n);
        ASSERT_TRUE(image.has_value()) << n;
        EXPECT_EQ(NumberedVideo::ReadNumber(*image), n);
    }
    const auto beyond = decoder.frame(59);
    ASSERT_FALSE(beyond.has_value());
    EXPECT_EQ(beyond.error().text,
              QStringLiteral("Frame 59 is outside the video stream (frames 0 to %1):\r\n").arg(count - 1) + path);
}

INSTANTIATE_TEST_SUITE_P(Codecs, TruncatedFiles,
                         ::testing::Values(CodecCase{"Mjpeg", Kind::Mjpeg}, CodecCase{"H264", Kind::H264}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
