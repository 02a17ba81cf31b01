#include "capture/lake/lakescene.h"
#include "capture/lake/virtuallake.h"

#include <benchmark/benchmark.h>

// The virtual camera renders every frame in real time: at 30 frames a
// second one frame must cost well under half of a core's 33 ms.
static void BM_VirtualLakeRender(benchmark::State& bench)
{
    const QSize size(static_cast<int>(bench.range(0)), static_cast<int>(bench.range(1)));
    const VirtualLake lake(size);
    QImage frame(size, QImage::Format_RGB32);
    // Skier, spray and foam all in the picture.
    double seconds = LakeScene::contactSeconds;
    for (auto _ : bench) {
        lake.render(seconds, frame);
        benchmark::DoNotOptimize(frame.constBits());
        seconds = seconds < LakeScene::contactSeconds + 0.5 ? seconds + 1.0 / 30.0 : LakeScene::contactSeconds;
    }
}
BENCHMARK(BM_VirtualLakeRender)->Args({1280, 720})->Args({1920, 1080})->Unit(benchmark::kMillisecond);

// The still course is painted once when the camera starts: a start-up delay.
static void BM_VirtualLakePaintCourse(benchmark::State& bench)
{
    const QSize size(static_cast<int>(bench.range(0)), static_cast<int>(bench.range(1)));
    for (auto _ : bench) {
        const VirtualLake lake(size);
        benchmark::DoNotOptimize(&lake);
    }
}
BENCHMARK(BM_VirtualLakePaintCourse)->Args({1280, 720})->Args({1920, 1080})->Unit(benchmark::kMillisecond);
