#include "capture/lake/lakescene.h"
#include "capture/lake/virtuallake.h"
#include "capture/mjpegencoder.h"
#include "capture/stationcapture.h"
#include "capture/virtualcamerasource.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <thread>
#include <unistd.h>

namespace {

// The process's resident memory in bytes.
double ResidentBytes()
{
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return double(resident) * double(sysconf(_SC_PAGESIZE));
}

} // namespace

// The pre-roll encodes every decoded picture of the camera while it runs:
// at 30 frames a second one 1080p picture must cost well under 33 ms on
// the pre-roll's own thread, or pictures go unkept.
static void BM_PrerollEncode(benchmark::State& bench)
{
    const QSize size(static_cast<int>(bench.range(0)), static_cast<int>(bench.range(1)));
    const VirtualLake lake(size);
    FramePtr picture(av_frame_alloc());
    picture->format = AV_PIX_FMT_BGRA;
    picture->width = size.width();
    picture->height = size.height();
    av_frame_get_buffer(picture.get(), 0);
    QImage view(picture->data[0], size.width(), size.height(), picture->linesize[0], QImage::Format_RGB32);
    lake.render(LakeScene::takeOffSeconds, view);
    auto encoder = MjpegEncoder::open({size.width(), size.height(), 30, 3});
    if (!encoder) {
        bench.SkipWithError("no MJPEG encoder");
        return;
    }
    int64_t bytes = 0;
    for (auto _ : bench) {
        auto packet = (*encoder)->encode(*picture);
        bytes = packet ? (*packet)->size : 0;
        benchmark::DoNotOptimize(bytes);
    }
    bench.counters["jpegKB"] = double(bytes) / 1024;
}
BENCHMARK(BM_PrerollEncode)->Args({1280, 720})->Args({1920, 1080})->Unit(benchmark::kMillisecond);

// What three seconds of pre-roll of the virtual camera at 1080p30 hold once
// the camera has run long enough to fill it. Goal: about 90 pictures, well
// under 100 MB.
static void BM_PrerollMemory1080p(benchmark::State& bench)
{
    for (auto _ : bench) {
        const double before = ResidentBytes();
        StationCapture capture([] { return QList<V4l2Device>(); }, QString());
        const int virtualCamera =
            int(capture.videoDevices().indexOf(QString::fromLatin1(VirtualCameraSource::deviceName)));
        if (!capture.connectDevice(virtualCamera)
            || !capture.setResolutionIndex(int(capture.resolutions().indexOf(QStringLiteral("1920 x 1080"))))) {
            bench.SkipWithError("no virtual camera");
            return;
        }
        capture.setFrameRate(30);
        capture.setPrerollSeconds(CaptureDevice::maxPrerollSeconds);
        if (!capture.setPreview(true)) {
            bench.SkipWithError("the virtual camera did not start");
            return;
        }
        std::this_thread::sleep_for(std::chrono::seconds(5));
        bench.counters["pictures"] = capture.prerollPicturesKept();
        bench.counters["jpegMB"] = double(capture.prerollBytesKept()) / (1024 * 1024);
        bench.counters["residentGrowthMB"] = (ResidentBytes() - before) / (1024 * 1024);
        capture.disconnectDevice();
    }
}
BENCHMARK(BM_PrerollMemory1080p)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);
