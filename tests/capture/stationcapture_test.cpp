// The station's capture control with the virtual camera: a recording to its
// time limit, preview pictures, and cameras plugged in and pulled out.
#include "capture/lake/lakescene.h"
#include "capture/lake/virtuallake.h"
#include "capture/stationcapture.h"
#include "capture/virtualcamerasource.h"
#include "video/avifile.h"
#include "video/ffmpeghandles.h"
#include "video/framedecoder.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

int VirtualCamera(const StationCapture& capture)
{
    return int(capture.videoDevices().indexOf(QString::fromLatin1(VirtualCameraSource::deviceName)));
}

// Records to `path` until the recording ends by its time limit.
void RecordToTheLimit(StationCapture& capture, const QString& path)
{
    QSignalSpy status(&capture, &CaptureDevice::statusChanged);
    ASSERT_TRUE(capture.startStream(path));
    for (int i = 0; i < 50 && capture.isRecording(); ++i)
        status.wait(200);
    ASSERT_FALSE(capture.isRecording());
}

TEST(StationCapture, RecordsTheVirtualCameraToItsTimeLimit)
{
    QTemporaryDir dir;
    StationCapture capture([] { return QList<V4l2Device>(); }, QString());
    ASSERT_EQ(VirtualCamera(capture), capture.videoDevices().size() - 1); // always last
    ASSERT_TRUE(capture.connectDevice(VirtualCamera(capture)));
    ASSERT_TRUE(capture.setResolutionIndex(int(capture.resolutions().indexOf(QStringLiteral("640 x 480")))));
    capture.setFrameRate(30);
    capture.setTimeLimit(1);
    QSignalSpy status(&capture, &CaptureDevice::statusChanged);
    const QString path = dir.filePath(QStringLiteral("jump.avi"));
    ASSERT_TRUE(capture.startStream(path));
    EXPECT_TRUE(capture.isRecording());
    const auto ended = [&] {
        return std::ranges::any_of(status, [](const QList<QVariant>& s) {
            return s.at(0).toInt() == CaptureDevice::streamEndedStatus;
        });
    };
    for (int i = 0; i < 50 && !ended(); ++i)
        status.wait(200);
    ASSERT_TRUE(ended());
    EXPECT_FALSE(capture.isRecording());

    const CaptureStatistics figures = capture.statistics();
    auto decoder = FrameDecoder::open(path);
    ASSERT_TRUE(decoder.has_value());
    // A busy machine may drop a frame; the file still counts every slot.
    EXPECT_EQ((*decoder)->frameCount(), figures.framesCaptured + figures.framesDropped);
    EXPECT_GE((*decoder)->frameCount(), 29);
    EXPECT_LE((*decoder)->frameCount(), 30);
    EXPECT_EQ((*decoder)->frameSize(), QSize(640, 480));
    const auto info = ReadAviFileInfo(path);
    ASSERT_TRUE(info.has_value());
    EXPECT_TRUE(info->capabilities & AviFileInfo::allKeyFrames);
}

// The sound stream of a recording: format and samples, as FFmpeg reads them.
struct SoundInFile {
    AVCodecID codec = AV_CODEC_ID_NONE;
    AudioFormat format;
    int64_t samples = 0;
};

SoundInFile ReadSound(const QString& path)
{
    SoundInFile sound;
    AVFormatContext* raw = nullptr;
    if (avformat_open_input(&raw, QFile::encodeName(path).constData(), nullptr, nullptr) < 0)
        return sound;
    FormatContextPtr file(raw);
    const int index = av_find_best_stream(file.get(), AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (index < 0)
        return sound;
    const AVCodecParameters& p = *file->streams[index]->codecpar;
    sound.codec = p.codec_id;
    sound.format = {p.sample_rate, p.ch_layout.nb_channels, p.bits_per_coded_sample};
    PacketPtr packet(av_packet_alloc());
    while (av_read_frame(file.get(), packet.get()) >= 0) {
        if (packet->stream_index == index)
            sound.samples += packet->size / p.block_align;
        av_packet_unref(packet.get());
    }
    return sound;
}

// With a sound input chosen, the file holds its sound beside the pictures,
// in the format asked for, as long as the pictures and no longer.
TEST(StationCapture, RecordsTheChosenSoundBesideThePictures)
{
    constexpr int rate = 30;
    const struct {
        AudioFormat format;
        AVCodecID codec;
    } cases[] = {{{44100, 2, 8}, AV_CODEC_ID_PCM_U8}, {{22050, 1, 16}, AV_CODEC_ID_PCM_S16LE}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format.sampleRate);
        QTemporaryDir dir;
        StationCapture capture([] { return QList<V4l2Device>(); }, QString());
        ASSERT_TRUE(capture.connectDevice(VirtualCamera(capture)));
        ASSERT_TRUE(capture.setResolutionIndex(int(capture.resolutions().indexOf(QStringLiteral("640 x 480")))));
        capture.setFrameRate(rate);
        capture.setTimeLimit(2);
        ASSERT_EQ(capture.audioDevices().last(), QString::fromLatin1(StationCapture::testToneName));
        capture.setAudioDeviceIndex(int(capture.audioDevices().size()) - 1);
        capture.setAudioFormat(c.format);
        const QString path = dir.filePath(QStringLiteral("jump.avi"));
        RecordToTheLimit(capture, path);
        if (HasFatalFailure())
            return;

        const CaptureStatistics figures = capture.statistics();
        const SoundInFile sound = ReadSound(path);
        EXPECT_EQ(sound.codec, c.codec);
        EXPECT_EQ(sound.format, c.format);
        EXPECT_EQ(sound.samples, figures.samples);
        // As long as the pictures, less at most the sound still on its way.
        const int64_t slots = figures.framesCaptured + figures.framesDropped;
        EXPECT_LE(sound.samples, slots * c.format.sampleRate / rate);
        EXPECT_GE(sound.samples, (slots - 6) * c.format.sampleRate / rate);
        // The pictures are numbered as without sound.
        auto decoder = FrameDecoder::open(path);
        ASSERT_TRUE(decoder.has_value());
        EXPECT_EQ((*decoder)->frameCount(), slots);
    }
}

// How far a recorded frame is from the lake's picture at a scene time.
double Difference(const QImage& frame, const VirtualLake& lake, double seconds)
{
    QImage rendered;
    lake.render(seconds, rendered);
    const QImage a = frame.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            sum += std::abs(qGray(a.pixel(x, y)) - qGray(rendered.pixel(x, y)));
    return sum;
}

// With a pre-roll the file starts with the seconds the preview showed
// before Start; the virtual camera's jump starts over at Start, so its
// contact comes that many frames later, and the time limit still counts
// from Start.
TEST(StationCapture, PrerollComesBeforeTheRecordedJump)
{
    constexpr int rate = 30;
    constexpr int limitSeconds = 3;
    const int contact = int(std::lround(LakeScene::contactSeconds * rate));
    for (const int prerollSeconds : {1, 0}) {
        SCOPED_TRACE(prerollSeconds);
        QTemporaryDir dir;
        StationCapture capture([] { return QList<V4l2Device>(); }, QString());
        ASSERT_TRUE(capture.connectDevice(VirtualCamera(capture)));
        ASSERT_TRUE(capture.setResolutionIndex(int(capture.resolutions().indexOf(QStringLiteral("640 x 480")))));
        capture.setFrameRate(rate);
        capture.setTimeLimit(limitSeconds);
        capture.setPrerollSeconds(prerollSeconds);
        ASSERT_TRUE(capture.setPreview(true));
        QTest::qWait(1500);
        // Bounded by its length: a second and a slot.
        EXPECT_LE(capture.prerollPicturesKept(), prerollSeconds * rate + 1);

        const QString path = dir.filePath(QStringLiteral("jump.avi"));
        RecordToTheLimit(capture, path);
        if (HasFatalFailure())
            return;

        const int64_t preroll = capture.prerollFrames();
        if (prerollSeconds == 0)
            EXPECT_EQ(preroll, 0);
        else {
            // A busy machine may leave the oldest pictures unencoded.
            EXPECT_GE(preroll, rate * 2 / 3);
            EXPECT_LE(preroll, rate);
        }
        const CaptureStatistics figures = capture.statistics();
        auto decoder = FrameDecoder::open(path, FrameDecoder::singleFrame());
        ASSERT_TRUE(decoder.has_value());
        EXPECT_EQ((*decoder)->frameCount(), figures.framesCaptured + figures.framesDropped);
        EXPECT_GE((*decoder)->frameCount(), preroll + limitSeconds * rate - 2);
        EXPECT_LE((*decoder)->frameCount(), preroll + limitSeconds * rate);
        // A busy machine may leave a slot empty; the picture then is the
        // one before, so the contact frame is checked on whole recordings.
        if (figures.framesDropped > 0)
            continue;
        const auto frame = (*decoder)->frame(preroll + contact);
        ASSERT_TRUE(frame.has_value());
        const VirtualLake lake(QSize(640, 480));
        const double atContact = Difference(*frame, lake, LakeScene::contactSeconds);
        EXPECT_LT(atContact, Difference(*frame, lake, LakeScene::contactSeconds - 1.0 / rate));
        EXPECT_LT(atContact, Difference(*frame, lake, LakeScene::contactSeconds + 1.0 / rate));
    }
}

TEST(StationCapture, PreviewDeliversPicturesOfTheChosenSize)
{
    StationCapture capture([] { return QList<V4l2Device>(); }, QString());
    EXPECT_FALSE(capture.setPreview(true)); // nothing connected
    ASSERT_TRUE(capture.connectDevice(VirtualCamera(capture)));
    ASSERT_TRUE(capture.setResolutionIndex(int(capture.resolutions().indexOf(QStringLiteral("640 x 480")))));
    QSignalSpy pictures(&capture, &CaptureDevice::previewFrame);
    ASSERT_TRUE(capture.setPreview(true));
    ASSERT_TRUE(pictures.wait(3000));
    EXPECT_EQ(pictures.first().first().value<QImage>().size(), QSize(640, 480));
    capture.disconnectDevice();
    EXPECT_FALSE(capture.preview());
}

TEST(StationCapture, CamerasPluggedInAndPulledOutAreAnnounced)
{
    QTemporaryDir devices;
    QList<V4l2Device> found;
    StationCapture capture([&] { return found; }, devices.path());
    QSignalSpy changes(&capture, &CaptureDevice::deviceChanged);

    found = {{QStringLiteral("/dev/video0"), QStringLiteral("USB Cam"), {}, {}}};
    QFile(devices.filePath(QStringLiteral("video0"))).open(QIODevice::WriteOnly);
    ASSERT_TRUE(changes.wait(3000));
    EXPECT_EQ(changes.last().at(1).value<CaptureDevice::Change>(), CaptureDevice::Change::Added);
    EXPECT_EQ(changes.last().at(2).toInt(), 0);
    EXPECT_EQ(changes.last().at(3).toString(), QStringLiteral("USB Cam"));
    EXPECT_EQ(capture.videoDevices(),
              (QStringList{QStringLiteral("USB Cam"), QString::fromLatin1(VirtualCameraSource::deviceName)}));

    found.clear();
    QFile::remove(devices.filePath(QStringLiteral("video0")));
    ASSERT_TRUE(changes.wait(3000));
    EXPECT_EQ(changes.last().at(1).value<CaptureDevice::Change>(), CaptureDevice::Change::Removed);
    EXPECT_EQ(changes.last().at(2).toInt(), 0);
    EXPECT_EQ(capture.videoDevices().size(), 1);
}

} // namespace
