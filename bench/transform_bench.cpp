#include "grid/calibrationstate.h"
#include "grid/transform.h"

#include <benchmark/benchmark.h>

// One accuracy check maps 147 points; a landing mark drag maps one per mouse
// move. Both must stay far below a frame time.
static void BM_DistanceCalculation(benchmark::State& bench)
{
    CalibrationState state;
    state.coefficients = {-12.5, 0.0021, 0.0003, 1.2e-6, 3.4e-5, 80.0, 0.0002, -0.0095};
    state.jumpX = 0.0;
    state.jumpY = 0.0;
    double x = 3000.0;
    for (auto _ : bench) {
        benchmark::DoNotOptimize(distance_calculation(state, x, 4000.0, TournamentType::Normal));
        x += 1.0;
    }
}
BENCHMARK(BM_DistanceCalculation);

BENCHMARK_MAIN();
