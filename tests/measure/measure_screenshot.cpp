// Developer tool: a picture of the measurement screen as the operator sees
// it at the end of a jump, for checking the layout by eye: a 1920 x 1080
// frame in a 1366 x 768 window, as on a tournament laptop.
//
//   measure_screenshot --screenshot OUT.png
//
// It generates a frame of the water with four buoys, solves a grid on those
// buoys, enters the screen as the frame selection screen would, clicks a
// landing point, records the jump and saves the window as a PNG. Everything
// it writes goes to a temporary folder; run it under xvfb-run on a machine
// without a display.
#include "app/configstate.h"
#include "common/clock.h"
#include "grid/calibrationstate.h"
#include "support/printingdialogs.h"
#include "support/waterscene.h"
#include "grid/solvegrid.h"
#include "measure/measure.h"
#include "widgets/picturecanvas.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

namespace {

struct Buoy {
    QPointF pixel;
    double surveyX;
    double surveyY;
};

// The camera stands behind the ramp and looks down the landing area: the
// far (upper) buoys close together near the horizon, the near ones wide.
const Buoy upperRight{{1347, 338}, -12.5, 70.0};
const Buoy lowerRight{{1733, 911}, -12.5, 30.0};
const Buoy upperLeft{{573, 338}, 12.5, 70.0};
const Buoy lowerLeft{{187, 911}, 12.5, 30.0};
const QPoint landingPixel(1013, 563);

QImage waterFrame()
{
    QImage frame = WaterScene(QSize(1920, 1080), 248);
    QPainter p(&frame);
    // The buoys.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 120, 20));
    for (const Buoy& b : {upperRight, lowerRight, upperLeft, lowerLeft})
        p.drawEllipse(b.pixel, 10, 7);
    // The skier's splash at the landing.
    p.setBrush(QColor(200, 215, 225));
    p.drawEllipse(QPointF(landingPixel) + QPointF(40, -5), 24, 10);
    p.drawEllipse(QPointF(landingPixel) + QPointF(62, -12), 16, 12);
    p.end();
    return frame;
}

Corners cornersOf()
{
    Corners corners;
    const auto put = [&](CornerSlot slot, const Buoy& b) {
        corners[slotIndex(slot)] = GridCorner{b.pixel.x() * 15, b.pixel.y() * 15, b.surveyX, b.surveyY};
    };
    put(CornerSlot::UpperRight, upperRight);
    put(CornerSlot::LowerRight, lowerRight);
    put(CornerSlot::UpperLeft, upperLeft);
    put(CornerSlot::LowerLeft, lowerLeft);
    return corners;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    const qsizetype at = args.indexOf(QStringLiteral("--screenshot"));
    if (at < 0 || at + 1 >= args.size()) {
        std::fprintf(stderr, "usage: measure_screenshot --screenshot OUT.png\n");
        return 2;
    }
    const QString out = args.at(at + 1);

    QTemporaryDir dir;
    const QString appDir = dir.filePath(QStringLiteral("app"));
    const QString videoDir = dir.filePath(QStringLiteral("videos"));
    QDir().mkpath(appDir);
    QDir().mkpath(videoDir);
    if (!waterFrame().save(appDir + QStringLiteral("/currentcapture.bmp"), "BMP")) {
        std::fprintf(stderr, "cannot write the frame\n");
        return 1;
    }

    ConfigState config;
    config.videoDirectory = videoDir;
    config.logFileName = QStringLiteral("JumpMeasurementLog.txt");
    config.resultsFilePath = videoDir + QStringLiteral("/JumpMeasurementResults.txt");
    config.capturesDirectory = videoDir + QLatin1Char('/');
    config.gridCount = 2;

    CalibrationState calibration;
    GridRecord grid;
    grid.corners = cornersOf();
    const auto coefficients = SolveCoefficients(grid.corners);
    if (!coefficients) {
        std::fprintf(stderr, "the demonstration grid does not solve\n");
        return 1;
    }
    grid.coefficients = *coefficients;
    grid.jumpX = 0.0;
    grid.jumpY = 0.0;
    grid.description = QStringLiteral("Grid 1 - shore tower, normal tournament");
    calibration.grid(1) = grid;
    calibration.setReady(1, true);
    calibration.selectGrid(1);
    calibration.surveyDirection = upperRight.surveyX < upperLeft.surveyX ? 1.0 : -1.0;

    QString screenMode = QStringLiteral("SelectFrame");
    PrintingDialogs dialogs;
    FixedClock clock(QDateTime(QDate(2026, 12, 7), QTime(14, 3, 11)));
    Measure measure(Measure::Environment{config, calibration, screenMode, dialogs, clock, appDir,
                                         dir.filePath(QStringLiteral("qxio")), [] { return false; }});
    measure.setCaptureScreenAvailable(false); // as in the station, until it has a capture screen
    measure.show();
    // Without a window manager nothing maximises the form: give it the
    // size of a laptop's screen.
    measure.showNormal();
    measure.resize(1366, 768);
    QTest::qWait(100);
    measure.setSkierName(QStringLiteral("TestSkier"));
    auto* canvas = measure.findChild<PictureCanvas*>(QStringLiteral("picture"));
    QTest::mouseClick(canvas, Qt::LeftButton, {}, canvas->viewAt(QPointF(landingPixel) * 15).toPoint());
    measure.findChild<QAbstractButton*>(QStringLiteral("AdjustRight"))->click();
    measure.findChild<QAbstractButton*>(QStringLiteral("Record"))->click();
    QTest::qWait(200);

    if (!measure.grab().save(out)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(out));
        return 1;
    }
    std::printf("%s\n", qPrintable(out));
    return 0;
}
