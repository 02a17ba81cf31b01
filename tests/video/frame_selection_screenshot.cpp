// Developer tool: a picture of the frame selection screen with a recorded
// jump taken over from the capture screen, for checking the layout by eye.
//
//   frame_selection_screenshot --screenshot OUT.png
//
// It makes a numbered 1920 x 1080 video through the ffmpeg command, hands it
// over as a fresh recording tapped at frame 45, steps two frames on and saves
// the window as a PNG. Everything it writes goes to a temporary folder; run
// it under xvfb-run on a machine without a display.
#include "app/configstate.h"
#include "common/clock.h"
#include "grid/calibrationstate.h"
#include "numberedvideo.h"
#include "support/printingdialogs.h"
#include "video/capturehandover.h"
#include "video/frmsetstart.h"

#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    const qsizetype at = arguments.indexOf(QStringLiteral("--screenshot"));
    if (at < 0 || at + 1 >= arguments.size()) {
        std::fprintf(stderr, "usage: frame_selection_screenshot --screenshot OUT.png\n");
        return 2;
    }
    QTemporaryDir folder;
    const QString video = folder.filePath(QStringLiteral("Annjump2.avi"));
    NumberedVideo::Recipe recipe;
    recipe.size = QSize(1920, 1080);
    recipe.frames = 90;
    recipe.movingBackground = true;
    recipe.pattern = QRect(48, 48, 480, 192);
    if (const auto complaint = NumberedVideo::Make(recipe, video)) {
        std::fprintf(stderr, "ffmpeg: %s\n", qPrintable(*complaint));
        return 1;
    }

    ConfigState config;
    config.videoDirectory = folder.path();
    config.logFileName = QStringLiteral("JumpMeasurementLog120826.txt");
    CalibrationState calibration;
    QString screenMode = QStringLiteral("Capture");
    CaptureHandover capture{video, 30.0, 90, 45, false, QStringLiteral("Ann"), QStringLiteral("3")};
    const QString fileToView;
    PrintingDialogs dialogs;
    SystemClock clock;
    frmSetStart screen({config, calibration, screenMode, capture, fileToView, dialogs, clock, folder.path(),
                        [] { return false; }, [](const QString&) { return std::optional<uint64_t>(123'456'789'012u); }});
    screen.setCaptureScreenAvailable(false); // as in the station, until it has a capture screen
    screen.show();
    screen.resize(1366, 768); // a laptop's screen
    if (!QTest::qWaitForWindowExposed(&screen))
        std::fprintf(stderr, "the window was not shown\n");
    for (int i = 0; i < 2; ++i)
        QTest::mouseClick(screen.findChild<QPushButton*>(QStringLiteral("Command4")), Qt::LeftButton);
    QTest::qWait(200);
    if (!screen.grab().save(arguments.at(at + 1)))
        return 1;
    std::printf("%s\n", qPrintable(arguments.at(at + 1)));
    return 0;
}
