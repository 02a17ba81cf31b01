// The recorder writes one slot per 1/rate seconds; our own reader must find
// each picture at the slot its time gives, an empty slot showing the picture
// before it, and a recording cut short must keep its whole frames.
#include "capture/avirecorder.h"
#include "video/avifile.h"
#include "video/framedecoder.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <thread>

namespace {

constexpr int width = 64;
constexpr int height = 48;

// A flat grey picture whose level tells which source picture it was.
int Level(int picture)
{
    return 30 + 20 * (picture % 11);
}

CapturedFrame GreyFrame(int picture, double seconds)
{
    CapturedFrame frame;
    frame.timeUs = int64_t(seconds * 1e6);
    frame.picture.reset(av_frame_alloc());
    frame.picture->format = AV_PIX_FMT_BGRA;
    frame.picture->width = width;
    frame.picture->height = height;
    EXPECT_GE(av_frame_get_buffer(frame.picture.get(), 0), 0);
    for (int y = 0; y < height; ++y)
        std::memset(frame.picture->data[0] + y * frame.picture->linesize[0], Level(picture), width * 4);
    return frame;
}

// Hands the pictures over one at a time, as a camera would, giving the
// writer time for each so none is dropped for a slow disk (a picture for a
// slot already filled is never written, hence the bound).
void Feed(AviRecorder& recorder, const std::vector<double>& seconds)
{
    for (size_t i = 0; i < seconds.size() && !recorder.ended(); ++i) {
        const int64_t before = recorder.statistics().framesCaptured;
        recorder.submit(GreyFrame(int(i), seconds[i]));
        for (int wait = 0; wait < 50 && recorder.statistics().framesCaptured == before && !recorder.ended(); ++wait)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

// The source picture shown in each frame of the file, as our reader sees it.
std::vector<int> PicturesInFile(const QString& path)
{
    std::vector<int> pictures;
    auto decoder = FrameDecoder::open(path, FrameDecoder::singleFrame());
    EXPECT_TRUE(decoder.has_value());
    if (!decoder)
        return pictures;
    for (int64_t n = 0; n < (*decoder)->frameCount(); ++n) {
        const auto frame = (*decoder)->frame(n);
        if (!frame) {
            pictures.push_back(-1);
            continue;
        }
        pictures.push_back((qGray(frame->pixel(width / 2, height / 2)) - 30 + 10) / 20);
    }
    return pictures;
}

struct SlotCase {
    const char* name;
    int rate;
    int timeLimit;
    std::vector<double> seconds;
    std::vector<int> expectedPictures; // per frame of the file
    int64_t dropped;
};

class RecorderSlots : public ::testing::TestWithParam<SlotCase> {};

TEST_P(RecorderSlots, EachPictureLandsInTheSlotOfItsTime)
{
    const SlotCase& c = GetParam();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("jump.avi"));
    auto recorder = AviRecorder::start({path, width, height, c.rate, c.timeLimit, 3});
    ASSERT_TRUE(recorder.has_value()) << recorder.error().toStdString();
    Feed(**recorder, c.seconds);
    const AviRecorder::Statistics figures = (*recorder)->stop();
    EXPECT_TRUE((*recorder)->failure().isEmpty());

    EXPECT_EQ(figures.framesCaptured + figures.framesDropped, int64_t(c.expectedPictures.size()));
    EXPECT_EQ(figures.framesDropped, c.dropped);
    EXPECT_EQ(PicturesInFile(path), c.expectedPictures);
    const auto info = ReadAviFileInfo(path);
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(AviInfoLength(*info), int64_t(c.expectedPictures.size()));
    EXPECT_EQ(AviInfoFrameRate(*info), c.rate);
    EXPECT_TRUE(info->capabilities & AviFileInfo::allKeyFrames);
}

INSTANTIATE_TEST_SUITE_P(
    Recordings, RecorderSlots,
    ::testing::Values(
        SlotCase{"on time", 30, 0, {0, 1 / 30.0, 2 / 30.0, 3 / 30.0}, {0, 1, 2, 3}, 0},
        // Pictures 3 and 4 of the camera never came: their slots repeat picture 2.
        SlotCase{"late camera", 10, 0, {0, 0.1, 0.2, 0.5, 0.6}, {0, 1, 2, 2, 2, 3, 4}, 2},
        // Timing jitter below half a slot does not move a picture.
        SlotCase{"jitter", 10, 0, {0.004, 0.096, 0.21, 0.31}, {0, 1, 2, 3}, 0},
        // A camera faster than the rate: the first picture of each slot is kept.
        SlotCase{"fast camera", 10, 0, {0, 0.04, 0.1, 0.14, 0.2}, {0, 2, 4}, 0},
        // Nothing after the time limit.
        SlotCase{"time limit", 5, 1, {0, 0.2, 0.4, 0.6, 0.8, 1.0, 1.2}, {0, 1, 2, 3, 4}, 0}),
    [](const auto& info) {
        std::string name = info.param.name;
        std::ranges::replace(name, ' ', '_');
        return name;
    });

enum class Cut { Killed, DiskFull };

// Runs a recording in a child process that is killed after 12 frames, or
// whose files may not grow beyond 40 KB; the file must still read up to its
// last whole frame.
class RecorderCutShort : public ::testing::TestWithParam<Cut> {};

TEST_P(RecorderCutShort, KeepsItsWholeFrames)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cut.avi"));
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (GetParam() == Cut::DiskFull) {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{40 * 1024, 40 * 1024};
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        auto recorder = AviRecorder::start({path, width, height, 30, 0, 2});
        if (!recorder)
            _exit(3);
        std::vector<double> seconds;
        for (int i = 0; i < (GetParam() == Cut::Killed ? 12 : 400); ++i)
            seconds.push_back(i / 30.0);
        Feed(**recorder, seconds);
        if (GetParam() == Cut::Killed)
            raise(SIGKILL);
        (*recorder)->stop();
        // The full disk is told, with the frames kept so far.
        _exit((*recorder)->ended() && !(*recorder)->failure().isEmpty() ? 0 : 4);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    if (GetParam() == Cut::Killed) {
        ASSERT_TRUE(WIFSIGNALED(status));
    } else {
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }

    const std::vector<int> pictures = PicturesInFile(path);
    ASSERT_GE(pictures.size(), 2u);
    if (GetParam() == Cut::Killed) {
        EXPECT_EQ(pictures.size(), 12u);
    }
    for (size_t n = 0; n < pictures.size(); ++n)
        EXPECT_EQ(pictures[n], int(n) % 11) << "frame " << n;
}

INSTANTIATE_TEST_SUITE_P(Recordings, RecorderCutShort, ::testing::Values(Cut::Killed, Cut::DiskFull),
                         [](const auto& info) { return info.param == Cut::Killed ? "killed" : "disk_full"; });

} // namespace
