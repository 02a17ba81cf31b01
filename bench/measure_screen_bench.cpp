// The measurement screen with a 4K frame: a redraw of the frame with the
// grid overlay and the landing mark, fitted and at 4x, and the pointer moving
// with the magnifier on. Each must stay well under a frame time (16 ms).
#include "app/configstate.h"
#include "common/clock.h"
#include "grid/calibrationstate.h"
#include "grid/solvegrid.h"
#include "measure/measure.h"
#include "support/printingdialogs.h"
#include "support/waterscene.h"
#include "widgets/picturecanvas.h"

#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

const QSize frameSize(3840, 2160);

// Buoys where a shore camera sees them, in pixels of the 4K frame.
Corners fourKCorners()
{
    Corners corners;
    const auto put = [&](CornerSlot slot, double x, double y, double surveyX, double surveyY) {
        corners[slotIndex(slot)] = GridCorner{x * 15, y * 15, surveyX, surveyY};
    };
    put(CornerSlot::UpperRight, 2690, 690, -12.5, 70.0);
    put(CornerSlot::LowerRight, 3460, 1820, -12.5, 30.0);
    put(CornerSlot::UpperLeft, 1150, 690, 12.5, 70.0);
    put(CornerSlot::LowerLeft, 370, 1820, 12.5, 30.0);
    return corners;
}

// One screen, built once for every benchmark: building it is not what is
// measured.
struct Station {
    QTemporaryDir dir;
    ConfigState config;
    CalibrationState calibration;
    QString screenMode;
    PrintingDialogs dialogs;
    FixedClock clock{QDateTime(QDate(2026, 12, 7), QTime(14, 3, 11))};
    std::unique_ptr<Measure> screen;
    PictureCanvas* canvas = nullptr;

    Station()
    {
        const QString path = dir.filePath(QStringLiteral("jump4k.bmp"));
        WaterScene(frameSize, 520).save(path, "BMP");
        config.gridCount = 1;
        GridRecord grid;
        grid.corners = fourKCorners();
        grid.coefficients = SolveCoefficients(grid.corners).value_or(Coefficients{});
        grid.description = QStringLiteral("4K bench grid");
        calibration.grid(1) = grid;
        calibration.setReady(1, true);
        calibration.selectGrid(1);
        screen = std::make_unique<Measure>(Measure::Environment{config, calibration, screenMode, dialogs, clock,
                                                                dir.path(), dir.filePath(QStringLiteral("qxio")),
                                                                [] { return false; }});
        screen->show();
        // A laptop's screen; nothing maximises the form offscreen.
        screen->showNormal();
        screen->resize(1366, 768);
        screen->viewLoggedPicture(path);
        canvas = screen->findChild<PictureCanvas*>(QStringLiteral("picture"));
        QTest::qWait(50);
        // A landing mark, so its lines are drawn too.
        QTest::mouseClick(canvas, Qt::LeftButton, {}, canvas->rect().center());
    }
};

Station& station()
{
    static Station s;
    return s;
}

void moveTo(PictureCanvas* canvas, QPoint at)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(at), canvas->mapToGlobal(QPointF(at)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(canvas, &move);
}

void redraw(benchmark::State& bench, bool zoomed)
{
    Station& s = station();
    s.canvas->fit();
    while (zoomed && s.canvas->viewport().scale() < 4.0)
        s.canvas->zoomIn();
    for (auto _ : bench)
        s.canvas->repaint();
    bench.counters["scale"] = s.canvas->viewport().scale();
    bench.counters["view_w"] = s.canvas->width();
    bench.counters["view_h"] = s.canvas->height();
}

void BM_RedrawFitted4K(benchmark::State& bench)
{
    redraw(bench, false);
}
BENCHMARK(BM_RedrawFitted4K)->Unit(benchmark::kMillisecond);

void BM_RedrawZoomed4K(benchmark::State& bench)
{
    redraw(bench, true);
}
BENCHMARK(BM_RedrawZoomed4K)->Unit(benchmark::kMillisecond);

// The first redraw at a new shrinking scale smooths the whole 4K frame once
// (later redraws at that scale reuse it): the frame shown at 2/3, then
// fitted, each a new scale.
void BM_RedrawAfterZoomChange4K(benchmark::State& bench)
{
    Station& s = station();
    for (auto _ : bench) {
        s.canvas->zoomOneToOne();
        s.canvas->zoomOut();
        s.canvas->repaint();
        s.canvas->fit();
        s.canvas->repaint();
    }
    bench.counters["redraws"] = benchmark::Counter(2, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_RedrawAfterZoomChange4K)->Unit(benchmark::kMillisecond);

// A pointer move with the magnifier on: the readouts, the status line and
// the magnifier's view follow, and the screen is painted again.
void BM_PointerMoveWithMagnifier(benchmark::State& bench)
{
    Station& s = station();
    s.canvas->fit();
    s.screen->setMagnifierOn(true);
    const QPoint centre = s.canvas->rect().center();
    int step = 0;
    for (auto _ : bench) {
        moveTo(s.canvas, centre + QPoint(step % 200 - 100, step % 120 - 60));
        ++step;
        QCoreApplication::processEvents();
    }
    s.screen->setMagnifierOn(false);
}
BENCHMARK(BM_PointerMoveWithMagnifier)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
