// Developer tool: a picture of the grid set-up screen as the operator sees it
// after setting up a grid and checking its accuracy, for checking the layout
// by eye.
//
//   grid_setup_screenshot --screenshot OUT.png [--mode standard|advanced]
//
// It generates a frame of the water with five buoys, enters the screen as the
// frame selection screen would, chooses and clicks each buoy, types the
// survey, presses "Complete", runs the accuracy check (Advanced with
// homologation levels unless --mode standard, which picks line 4 and also
// saves the screen while it asks, as OUT-lines.png) and saves the window as
// a PNG. Everything it writes goes to a temporary folder; run
// it under xvfb-run on a machine without a display.
#include "app/configstate.h"
#include "app/settingsstore.h"
#include "common/clock.h"
#include "common/operatordialogs.h"
#include "grid/calibrationstate.h"
#include "grid/gridscreeneffects.h"
#include "grid/gridsetupfields.h"
#include "setup_screen/grid_setup.h"
#include "widgets/picturecanvas.h"
#include "support/waterscene.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

namespace {

// The only question expected is the skier path line of the Standard mode,
// answered with line 4 after the screen with its seven lines is saved as
// well (OUT-lines.png); any other box is printed rather than shown.
class PrintingDialogs final : public OperatorDialogs {
public:
    QWidget* screen = nullptr;
    QString linesPicture;

    Answer message(const QString& text, const QString&, Icon, Buttons, std::optional<Answer>) override
    {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        return Answer::Ok;
    }
    std::optional<QString> input(const QString& prompt, const QString&, const QString&, QPoint) override
    {
        std::fprintf(stderr, "input: %s -> 4\n", qPrintable(prompt));
        if (screen && !linesPicture.isEmpty() && screen->grab().save(linesPicture))
            std::printf("%s\n", qPrintable(linesPicture));
        return QStringLiteral("4");
    }
    QString openFile(const QString&, const QString&, int) override { return {}; }
    QString saveFile(const QString&, const QString&, int) override { return {}; }
    QString chooseDirectory(const QString&, const QString&) override { return {}; }
};

struct Buoy {
    const char* option;
    QPoint pixel;
    const char* surveyXBox;
    const char* surveyYBox;
    const char* surveyX;
    const char* surveyY;
};

// A camera behind the ramp: the far buoys close together, the near ones
// wide; survey X grows to the left. The check buoy lies where this grid
// puts (2, 70).
const Buoy buoys[] = {
    {"upper_left_button", {360, 225}, "ul_survey_x", "ul_survey_y", "10", "100"},
    {"upper_right_button", {1560, 225}, "ur_survey_x", "ur_survey_y", "-10", "100"},
    {"lower_left_button", {60, 900}, "ll_survey_x", "ll_survey_y", "10", "40"},
    {"lower_right_button", {1860, 900}, "lr_survey_x", "lr_survey_y", "-10", "40"},
    {"optCheckBuoy", {816, 495}, "txtCheckX", "txtCheckY", "2", "70"},
};

QImage waterFrame()
{
    QImage frame = WaterScene(QSize(1920, 1080), 122);
    QPainter p(&frame);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 120, 20));
    for (const Buoy& b : buoys)
        p.drawEllipse(b.pixel, 10, 7);
    p.end();
    return frame;
}

void clickFrame(PictureCanvas* canvas, QPoint pixel)
{
    // At 1:1 with the buoy in view, as an operator places a buoy exactly;
    // the click goes through the view's zoom to the frame's pixel.
    canvas->zoomOneToOne();
    canvas->setPan(pixel - QPoint(canvas->width() / 2, canvas->height() / 2));
    const QPointF local = canvas->viewAt(QPointF(pixel) * 15);
    QMouseEvent press(QEvent::MouseButtonPress, local, canvas->mapToGlobal(local), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(canvas, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, canvas->mapToGlobal(local), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(canvas, &release);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    const qsizetype at = args.indexOf(QStringLiteral("--screenshot"));
    if (at < 0 || at + 1 >= args.size()) {
        std::fprintf(stderr, "usage: grid_setup_screenshot --screenshot OUT.png [--mode standard|advanced]\n");
        return 2;
    }
    const QString out = args.at(at + 1);
    const qsizetype modeAt = args.indexOf(QStringLiteral("--mode"));
    const bool standard = modeAt >= 0 && modeAt + 1 < args.size() && args.at(modeAt + 1) == QLatin1String("standard");

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
    config.resultsFilePath = videoDir + QStringLiteral("/JumpMeasurementResults.txt");
    config.capturesDirectory = videoDir + QLatin1Char('/');
    config.setupFilesDirectory = videoDir;
    config.captureSourceType = QStringLiteral("Generic");
    config.gridCount = 1;

    SettingsStore settings(dir.filePath(QStringLiteral("settings.ini")));
    CalibrationState calibration;
    GridSetupFields fields;
    QString screenMode = QStringLiteral("SelectFrame");
    PrintingDialogs dialogs;
    FixedClock clock(QDateTime(QDate(2026, 12, 7), QTime(14, 3, 11)));
    GridScreenEffects noOtherScreens;
    Grid_Setup setup(Grid_Setup::Environment{config, calibration, settings, fields, screenMode, dialogs, clock,
                                             noOtherScreens, appDir});
    dialogs.screen = &setup;
    dialogs.linesPicture = QString(out).replace(QStringLiteral(".png"), QStringLiteral("-lines.png"));
    setup.show();
    // Without a window manager nothing maximises the form: give it the
    // size of a laptop's screen.
    setup.showNormal();
    setup.resize(1366, 768);
    QTest::qWait(100);

    auto* canvas = setup.findChild<PictureCanvas*>(QStringLiteral("picture"));
    const auto box = [&](const char* name) { return setup.findChild<QLineEdit*>(QString::fromLatin1(name)); };
    for (const Buoy& b : buoys) {
        setup.findChild<QAbstractButton*>(QString::fromLatin1(b.option))->click();
        clickFrame(canvas, b.pixel);
        box(b.surveyXBox)->setText(QString::fromLatin1(b.surveyX));
        box(b.surveyYBox)->setText(QString::fromLatin1(b.surveyY));
    }
    canvas->fit();
    box("jump_x")->setText(QStringLiteral("0"));
    box("jump_y")->setText(QStringLiteral("10"));
    box("ipt_file_description_2")->setText(QStringLiteral("Shore tower, left bank"));
    setup.findChild<QAbstractButton*>(QStringLiteral("Load"))->click();
    if (!standard)
        setup.findChild<QAbstractButton*>(QStringLiteral("optAdvancedAccuracy"))->click();
    setup.findChild<QAbstractButton*>(QStringLiteral("btnAccuracyCheck"))->click();
    QTest::qWait(200);

    if (!setup.grab().save(out)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(out));
        return 1;
    }
    std::printf("%s\n", qPrintable(out));
    return 0;
}
