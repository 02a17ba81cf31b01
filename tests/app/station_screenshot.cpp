// Developer tool: pictures of the configuration screen, the main screen and
// the manual viewer as a first start leaves them, for checking the layout
// by eye and for the manual.
//
//   station_screenshot --screenshot FOLDER
//
// writes FOLDER/configuration.png, FOLDER/main.png, FOLDER/manual.png, the
// main screen with its capture device panel (capture-panel.png) and the
// capture screen on the virtual camera, waiting (capture.png) and at the
// moment of contact of a recording (capture-recording.png).
// The settings, video folder and data folder are temporary; run it under
// xvfb-run on a machine without a display.
#include "app/config.h"
#include "app/frmmanual.h"
#include "app/mainform.h"
#include "app/rampscope.h"
#include "app/settingsstore.h"
#include "video/previewform.h"
#include "common/clock.h"
#include "support/printingdialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

namespace {

bool save(QWidget& screen, const QString& path)
{
    screen.show();
    if (!QTest::qWaitForWindowExposed(&screen))
        std::fprintf(stderr, "the window was not shown\n");
    QTest::qWait(200);
    if (!screen.grab().save(path))
        return false;
    std::printf("%s\n", qPrintable(path));
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    const qsizetype at = arguments.indexOf(QStringLiteral("--screenshot"));
    if (at < 0 || at + 1 >= arguments.size()) {
        std::fprintf(stderr, "usage: station_screenshot --screenshot FOLDER\n");
        return 2;
    }
    // Absolute now: the start-up makes the data folder current.
    const QDir out(QFileInfo(arguments.at(at + 1)).absoluteFilePath());
    QTemporaryDir folder;
    const QString videos = folder.filePath(QStringLiteral("jumps"));
    QDir().mkpath(videos);
    QDir().mkpath(folder.filePath(QStringLiteral("data")));
    SettingsStore settings(folder.filePath(QStringLiteral("settings.ini")));
    settings.WriteSetting(QStringLiteral("logpath"), videos);
    settings.WriteSetting(QStringLiteral("TournamentName"), QStringLiteral("Lakeside Open"));
    settings.WriteSetting(QStringLiteral("grids"), QStringLiteral("2"));
    PrintingDialogs dialogs;
    SystemClock clock;
    Rampscope station(settings, dialogs, clock,
                      StationFolders{folder.filePath(QStringLiteral("data")), QStringLiteral(RAMPSCOPE_MANUAL_DIR)});
    if (!station.start())
        return 1;
    if (!save(station.configScreen(), out.filePath(QStringLiteral("configuration.png"))))
        return 1;
    station.configScreen().exitAndSave();
    if (!save(station.mainForm(), out.filePath(QStringLiteral("main.png"))))
        return 1;
    station.mainForm().hide();
    station.manual().resize(900, 640);
    if (!save(station.manual(), out.filePath(QStringLiteral("manual.png"))))
        return 1;
    station.manual().hide();

    station.mainForm().findChild<QPushButton*>(QStringLiteral("cmdShowConfig"))->click();
    if (!save(station.mainForm(), out.filePath(QStringLiteral("capture-panel.png"))))
        return 1;
    station.mainForm().findChild<QPushButton*>(QStringLiteral("cmdGoCapture"))->click();
    PreviewForm& capture = station.captureScreen();
    capture.resize(1366, 700);
    capture.ui().txtSkierName->setText(QStringLiteral("Ann Lee"));
    if (!save(capture, out.filePath(QStringLiteral("capture.png"))))
        return 1;
    capture.ui().cmdStartCapture->click();
    QTest::qWait(2700); // the skis touch the water 2.8 s into the recording
    capture.ui().cmdStartTimer->click();
    const bool saved = save(capture, out.filePath(QStringLiteral("capture-recording.png")));
    capture.ui().cmdEndCapture->click();
    return saved ? 0 : 1;
}
