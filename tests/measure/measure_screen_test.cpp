// The measurement screen driven as the operator drives it: the real widget on
// the offscreen platform, clicks and keys through QTest, every box answered
// by a script, every file compared byte for byte.
#include "app/configstate.h"
#include "common/clock.h"
#include "grid/calibrationstate.h"
#include "measure/measure.h"
#include "measure/recording.h"
#include "measure/resultswindow.h"
#include "support/filebytes.h"
#include "support/scripteddialogs.h"
#include "widgets/picturecanvas.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

using Answer = OperatorDialogs::Answer;

const QString today = QStringLiteral("12-07-2026 14:03:11 ");

// The example jump: the landing clicked at pixel (408, 227), i.e. twips
// (6120, 3405), lies at ( 3.125/ 44.87) on the water, 43.1345 m from the jump
// point, so 45.2345 m with the 2.1 m allowance.
const QPoint examplePixel(408, 227);
const QString exampleLine = QStringLiteral(
    "12-07-2026 14:03:11 TestSkier  jump 1 -  45.2m  (IWSF) 148ft  (AWSA) ( 3.125/ 44.87) ( 6120/ 3405) ( 45.2345)");

// An affine grid (no perspective), so that the example's figures come out
// exactly: X = x / 1000 - 2.995, Y = 78.92 - y / 100.
GridRecord exampleGrid()
{
    GridRecord grid;
    grid.coefficients = {-2.995, 0.001, 0, 0, 0, 78.92, 0, -0.01};
    grid.jumpX = 3.125;
    grid.jumpY = 1.7355;
    const auto corner = [](double x, double y) {
        return GridCorner{x, y, x / 1000 - 2.995, 78.92 - y / 100};
    };
    grid.corners[slotIndex(CornerSlot::UpperRight)] = corner(7500, 1500);
    grid.corners[slotIndex(CornerSlot::LowerRight)] = corner(7500, 6000);
    grid.corners[slotIndex(CornerSlot::UpperLeft)] = corner(1500, 1500);
    grid.corners[slotIndex(CornerSlot::LowerLeft)] = corner(1500, 6000);
    grid.description = QStringLiteral("Left bank camera");
    return grid;
}

GridRecord otherGrid(double shift, const QString& description)
{
    GridRecord grid = exampleGrid();
    grid.coefficients[0] += shift;
    for (GridCorner& c : grid.corners)
        c.surveyX += shift;
    grid.description = description;
    return grid;
}

QImage testFrame(int width = 640, int height = 480, QColor colour = QColor(20, 60, 90))
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

class MeasureScreen : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString appDir = dir.filePath(QStringLiteral("app"));
    QString exchangeDir = dir.filePath(QStringLiteral("qxio"));
    QString videoDir = dir.filePath(QStringLiteral("videos"));
    QString capturesDir = dir.filePath(QStringLiteral("captures")) + QLatin1Char('/');
    QString resultsPath = videoDir + QStringLiteral("/JumpMeasurementResults120726.txt");
    ConfigState config;
    CalibrationState calibration;
    QString screenMode;
    ScriptedDialogs dialogs;
    FixedClock clock{QDateTime(QDate(2026, 12, 7), QTime(14, 3, 11))};
    bool scoringLink = false;
    std::unique_ptr<Measure> measure;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        for (const QString& path : {appDir, exchangeDir, videoDir, capturesDir})
            ASSERT_TRUE(QDir().mkpath(path));
        config.videoDirectory = videoDir;
        config.logFileName = QStringLiteral("JumpMeasurementLog120726.txt");
        config.resultsFilePath = resultsPath;
        config.capturesDirectory = capturesDir;
        config.gridCount = 2;
        calibration.grid(1) = exampleGrid();
        calibration.grid(2) = otherGrid(10, QStringLiteral("Right bank camera"));
        calibration.grid(3) = otherGrid(20, QStringLiteral("Tower camera"));
        calibration.selectGrid(1);
    }

    void TearDown() override { EXPECT_TRUE(dialogs.allAnswersUsed()); }

    Measure& screen()
    {
        if (!measure) {
            measure = std::make_unique<Measure>(Measure::Environment{
                config, calibration, screenMode, dialogs, clock, appDir, exchangeDir,
                [this] { return scoringLink; }});
        }
        return *measure;
    }

    Measure& shown()
    {
        Measure& m = screen();
        m.show();
        return m;
    }

    template <typename T>
    T* control(const char* name)
    {
        T* found = screen().findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    QString text(const char* name) { return control<QLineEdit>(name)->text(); }
    void trigger(const char* menu) { control<QAction>(menu)->trigger(); }
    void click(const char* button) { control<QAbstractButton>(button)->click(); }
    PictureCanvas* canvas() { return control<PictureCanvas>("picture"); }

    // A landing point is only ever clicked on a picture: a black frame
    // stands in where the test has shown none.
    void clickPicture(QPoint pixel, Qt::MouseButton button = Qt::LeftButton)
    {
        if (!canvas()->hasPicture()) {
            QImage water(640, 480, QImage::Format_RGB32);
            water.fill(Qt::black);
            canvas()->setPicture(water);
        }
        QTest::mouseClick(canvas(), button, {}, pixel);
    }

    void movePointer(QPoint pixel)
    {
        QMouseEvent move(QEvent::MouseMove, QPointF(pixel), QPointF(pixel), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(canvas(), &move);
    }

    void nameSkier() { screen().setSkierName(QStringLiteral("TestSkier")); }

    QByteArray results() { return FileBytesOrEmpty(resultsPath); }
    QString exchangeFile(const char* name) { return exchangeDir + QLatin1Char('/') + QLatin1String(name); }

    void putCurrentCapture(const QImage& frame)
    {
        ASSERT_TRUE(frame.save(appDir + QStringLiteral("/currentcapture.bmp"), "BMP"));
    }
};

// ---------------------------------------------------------------------------
// Loading the screen

TEST_F(MeasureScreen, LoadShowsTheInitialTextsAndHidesTheReadouts)
{
    shown();
    EXPECT_EQ(screen().windowTitle(), QStringLiteral("Measure"));
    EXPECT_EQ(text("distance"), QStringLiteral("M"));
    EXPECT_EQ(text("distance_ft"), QStringLiteral("FT"));
    EXPECT_EQ(text("Jump_no"), QStringLiteral("Jump"));
    EXPECT_EQ(control<QComboBox>("Skier_name")->currentText(), QStringLiteral("Skier Name"));
    EXPECT_EQ(text("Comment"), QString());
    EXPECT_TRUE(control<QRadioButton>("optJumpOK")->isChecked());
    EXPECT_EQ(control<QPushButton>("Record")->text(), QStringLiteral("Record &Jump"));
    EXPECT_EQ(control<QPushButton>("Unfreeze")->text(), QStringLiteral("Clear"));
    EXPECT_EQ(control<QPushButton>("verify")->text(), QStringLiteral("Verify"));
    EXPECT_EQ(control<QAction>("mnuCapture")->text(), QStringLiteral("C&apture Next Jump"));
    EXPECT_EQ(control<QCheckBox>("cbAutoLoadClipboard")->text(), QStringLiteral("Auto Load"));
    for (const char* hidden : {"xtwips", "ytwips", "xposition", "yposition", "VerifyDistance", "FrozenSign",
                               "UnofficialJump", "gif_file_name", "AdjustmentLabel", "AdjustUp"})
        EXPECT_TRUE(control<QWidget>(hidden)->isHidden()) << hidden;
    EXPECT_EQ(control<QTimer>("keyTimer")->interval(), 100);
    EXPECT_TRUE(control<QTimer>("keyTimer")->isActive());
    EXPECT_FALSE(control<QTimer>("loadTimer")->isActive());
    EXPECT_EQ(control<QScrollBar>("CrossSize")->value(), 90);
}

TEST_F(MeasureScreen, ShowingDrawsTheSelectedGridWithItsFarBuoyDistances)
{
    shown();
    // Upper-left buoy 62.36 m from the jump point, upper-right 62.20 m.
    EXPECT_EQ(control<QLabel>("maxbuoy")->text(), QStringLiteral(" 205 feet"));
    EXPECT_EQ(control<QLabel>("maxbuoym")->text(), QStringLiteral(" 62.4 meters"));
    EXPECT_EQ(control<QLabel>("minbuoy")->text(), QStringLiteral(" 204 feet"));
    EXPECT_EQ(control<QLabel>("minbuoym")->text(), QStringLiteral(" 62.2 meters"));
    // Placed 100 twips left of and 400 / 600 twips above their buoys.
    EXPECT_EQ(control<QLabel>("maxbuoy")->pos(), QPoint((1500 - 100) / 15, (1500 - 400) / 15));
    EXPECT_EQ(control<QLabel>("minbuoym")->pos(), QPoint((7500 - 100) / 15, (1500 - 600) / 15));
    EXPECT_FALSE(control<QLineEdit>("grid_description")->isHidden());
    EXPECT_EQ(text("grid_description"), QStringLiteral("Left bank camera"));

    // The side line from the lower-right to the upper-right buoy is white.
    const QImage shownImage = canvas()->composedImage();
    EXPECT_EQ(shownImage.pixel(500, 250), qRgb(255, 255, 255));
    EXPECT_EQ(shownImage.pixel(300, 250), qRgb(0, 0, 0));
}

TEST_F(MeasureScreen, CalibrationLineStaysUntilTheGridIsRedrawn)
{
    shown();
    // A horizontal line across pixel row 400 (6000 twips), below the buoys.
    screen().drawLineTwips(1500, 6000, 4500, 6000, QColor(255, 255, 255));
    EXPECT_EQ(canvas()->composedImage().pixel(200, 400), qRgb(255, 255, 255));
    screen().drawLineTwips(1500, 6000, 4500, 6000, QColor(255, 0, 255));
    EXPECT_EQ(canvas()->composedImage().pixel(200, 400), qRgb(255, 0, 255));
    screen().show_the_grid();
    EXPECT_EQ(canvas()->composedImage().pixel(200, 400), qRgb(0, 0, 0));
}

TEST_F(MeasureScreen, NoSideLinesWithBoxLineOff)
{
    config.boxLineOff = true;
    shown();
    EXPECT_EQ(canvas()->composedImage().pixel(500, 250), qRgb(0, 0, 0));
}

TEST_F(MeasureScreen, ChosenFrameIsLoadedWithItsSizeWhenEnteredFromFrameSelection)
{
    putCurrentCapture(testFrame(640, 480, QColor(10, 200, 30)));
    screenMode = QStringLiteral("SelectFrame");
    shown();
    EXPECT_EQ(canvas()->picture().size(), QSize(640, 480));
    EXPECT_EQ(canvas()->composedImage().pixel(320, 300), qRgb(10, 200, 30));
    // 640 x 480 pixels are 16933 x 12700 HIMETRIC, times 15 / 26.5.
    EXPECT_EQ(calibration.pictureWidth, QStringLiteral("9584.71698113207"));
    EXPECT_EQ(calibration.pictureHeight, QStringLiteral("7188.67924528302"));
    EXPECT_EQ(screenMode, QStringLiteral("SelectFrame"));
}

TEST_F(MeasureScreen, WithoutTheFrameSelectionModeThePictureIsNotTouched)
{
    putCurrentCapture(testFrame());
    shown();
    EXPECT_FALSE(canvas()->hasPicture());
    EXPECT_EQ(calibration.pictureWidth, QStringLiteral("12000"));
}

// ---------------------------------------------------------------------------
// Grid selection

TEST_F(MeasureScreen, OneGridHidesTheGridButton)
{
    config.gridCount = 1;
    shown();
    EXPECT_TRUE(control<QPushButton>("Set_grid")->isHidden());
}

struct GridCycle {
    int gridCount;
    std::vector<int> grids; // grid shown after each click
};

class GridCycling : public MeasureScreen, public ::testing::WithParamInterface<GridCycle> {};

TEST_P(GridCycling, TheButtonStepsThroughTheConfiguredGrids)
{
    config.gridCount = GetParam().gridCount;
    shown();
    auto* button = control<QPushButton>("Set_grid");
    EXPECT_FALSE(button->isHidden());
    EXPECT_EQ(button->text(), QStringLiteral("&Grid 1"));
    const QString descriptions[] = {QStringLiteral("Left bank camera"), QStringLiteral("Right bank camera"),
                                    QStringLiteral("Tower camera")};
    for (const int grid : GetParam().grids) {
        button->click();
        EXPECT_EQ(button->text(), QStringLiteral("&Grid ") + QString::number(grid));
        EXPECT_EQ(calibration.currentGrid, grid);
        EXPECT_EQ(calibration.coefficients, calibration.grid(grid).coefficients);
        EXPECT_EQ(text("grid_description"), descriptions[grid - 1]);
    }
}

INSTANTIATE_TEST_SUITE_P(Counts, GridCycling,
                         ::testing::Values(GridCycle{2, {2, 1, 2}}, GridCycle{3, {2, 3, 1, 2}}));

// ---------------------------------------------------------------------------
// Landing mark

TEST_F(MeasureScreen, ClickPlacesTheMarkAndShowsTheArrowButtons)
{
    shown();
    clickPicture(examplePixel, Qt::RightButton);
    ASSERT_TRUE(screen().impactMark().has_value());
    EXPECT_EQ(screen().impactMark()->mark.x, 6120);
    EXPECT_EQ(screen().impactMark()->mark.y, 3405);
    EXPECT_TRUE(screen().impactLinesVisible());
    EXPECT_EQ(text("distance"), QStringLiteral("m"));
    EXPECT_EQ(text("distance_ft"), QStringLiteral("ft"));
    for (const char* name : {"AdjustmentLabel", "AdjustUp", "AdjustDown", "AdjustLeft", "AdjustRight"})
        EXPECT_FALSE(control<QWidget>(name)->isHidden()) << name;
    // The vertical line of the mark, in the (white) label colour.
    EXPECT_EQ(canvas()->composedImage().pixel(408, 224), qRgb(255, 255, 255));
}

TEST_F(MeasureScreen, EachArrowButtonMovesTheMarkOnePixel)
{
    shown();
    clickPicture(QPoint(100, 100));
    for (int i = 0; i < 3; ++i)
        click("AdjustRight");
    EXPECT_EQ(screen().impactMark()->mark.x, 1545);
    click("AdjustUp");
    click("AdjustUp");
    EXPECT_EQ(screen().impactMark()->mark.y, 1470);
    click("AdjustLeft");
    click("AdjustDown");
    EXPECT_EQ(screen().impactMark()->mark.x, 1530);
    EXPECT_EQ(screen().impactMark()->mark.y, 1485);
    EXPECT_EQ(screen().state().markX, 1530);
    EXPECT_EQ(screen().state().markY, 1485);
}

TEST_F(MeasureScreen, HeldArrowKeysMoveTheMarkAtEveryTick)
{
    Measure& m = shown();
    clickPicture(QPoint(100, 100));
    QTest::keyPress(&m, Qt::Key_Right);
    m.pollArrowKeys();
    m.pollArrowKeys();
    EXPECT_EQ(m.impactMark()->mark.x, 1530);
    QTest::keyRelease(&m, Qt::Key_Right);
    m.pollArrowKeys();
    EXPECT_EQ(m.impactMark()->mark.x, 1530);

    // A tap between two ticks still counts once; two keys in one tick both
    // move the mark.
    QTest::keyClick(&m, Qt::Key_Left);
    QTest::keyClick(&m, Qt::Key_Up);
    m.pollArrowKeys();
    EXPECT_EQ(m.impactMark()->mark.x, 1515);
    EXPECT_EQ(m.impactMark()->mark.y, 1485);
    m.pollArrowKeys();
    EXPECT_EQ(m.impactMark()->mark.x, 1515);
}

TEST_F(MeasureScreen, ArrowKeysOnTheStatusOptionsDoNotChangeTheChoice)
{
    Measure& m = shown();
    clickPicture(QPoint(100, 100));
    m.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m));
    auto* ok = control<QRadioButton>("optJumpOK");
    ok->setFocus();
    QTest::keyClick(ok, Qt::Key_Down);
    EXPECT_TRUE(ok->isChecked());
    EXPECT_EQ(m.state().selectedOption, StatusOption::optJumpOK);
    m.pollArrowKeys();
    EXPECT_EQ(m.impactMark()->mark.y, 1515);
}

TEST_F(MeasureScreen, PointerReadoutsFollowThePointerAndShowInVerifyMode)
{
    shown();
    movePointer(examplePixel);
    EXPECT_EQ(text("xtwips"), QStringLiteral(" 6120"));
    EXPECT_EQ(text("ytwips"), QStringLiteral(" 3405"));
    EXPECT_EQ(text("xposition"), QStringLiteral(" 3.13"));
    EXPECT_EQ(text("yposition"), QStringLiteral(" 44.87"));
    // Live feet use 3.28: 45.2345 x 3.28 = 148.37.
    EXPECT_EQ(text("VerifyDistance"), QStringLiteral(" 45.2m  148ft"));
    EXPECT_TRUE(control<QWidget>("VerifyDistance")->isHidden());
}

TEST_F(MeasureScreen, DraggingTheAdjustLabelMovesItsArrowButtons)
{
    shown();
    clickPicture(QPoint(100, 100));
    auto* label = control<QLabel>("AdjustmentLabel");
    auto* up = control<QToolButton>("AdjustUp");
    const QPoint labelBefore = label->pos();
    const QPoint upBefore = up->pos();
    QTest::mousePress(label, Qt::LeftButton, {}, QPoint(5, 5));
    QMouseEvent move(QEvent::MouseMove, QPointF(35, 25), label->mapToGlobal(QPointF(35, 25)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(label, &move);
    QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(35, 25));
    EXPECT_EQ(label->pos(), labelBefore + QPoint(30, 20));
    EXPECT_EQ(up->pos(), upBefore + QPoint(30, 20));
    // The press on the label placed no mark.
    EXPECT_EQ(screen().impactMark()->mark.x, 1500);
}

// ---------------------------------------------------------------------------
// Recording

TEST_F(MeasureScreen, MeasuredJumpWritesTheExampleResultLine)
{
    shown();
    nameSkier();
    EXPECT_EQ(text("Jump_no"), QStringLiteral("1"));
    clickPicture(examplePixel);
    click("Record");
    EXPECT_EQ(results(), CrLfBytes({exampleLine}));
    EXPECT_EQ(text("distance"), QStringLiteral(" 45.2m"));
    EXPECT_EQ(text("distance_ft"), QStringLiteral(" 148ft"));
    // Live frame: the jump number waits for Clear.
    EXPECT_EQ(text("Jump_no"), QStringLiteral("1"));
    EXPECT_TRUE(control<QLineEdit>("Comment")->isHidden());
    EXPECT_TRUE(control<QRadioButton>("optJumpOK")->isChecked());
    EXPECT_TRUE(dialogs.shown().empty());
    // The scoring link is off: nothing in the exchange directory.
    EXPECT_FALSE(QFile::exists(exchangeFile("qxresult.dst")));
}

TEST_F(MeasureScreen, MagnifierDoesNotChangeWhatIsMeasured)
{
    shown();
    nameSkier();
    control<QCheckBox>("chkMagnifier")->setChecked(true);
    movePointer(examplePixel);
    EXPECT_FALSE(control<QWidget>("magnifier")->isHidden());
    const QString readout = text("VerifyDistance");
    clickPicture(examplePixel);
    click("Record");
    control<QCheckBox>("chkMagnifier")->setChecked(false);
    EXPECT_TRUE(control<QWidget>("magnifier")->isHidden());
    movePointer(examplePixel);
    EXPECT_EQ(text("VerifyDistance"), readout);
    clickPicture(examplePixel);
    click("Record");
    EXPECT_EQ(results(), CrLfBytes({exampleLine, exampleLine}));
}

TEST_F(MeasureScreen, ScoringLinkHandsEachResultOver)
{
    scoringLink = true;
    shown();
    nameSkier();
    clickPicture(examplePixel);
    click("Record");
    EXPECT_EQ(FileBytesOrEmpty(exchangeFile("qxresult.dst")), QByteArray("OK,  45.2,  148, 1\r\n"));
    EXPECT_EQ(FileBytesOrEmpty(exchangeFile("qxraw.dst")), QByteArray("14:03:11 ,TestSkier,OK,  45.2,  148, 1\r\n"));

    clock.set(QDateTime(QDate(2026, 12, 7), QTime(14, 5, 0)));
    click("Fall");
    click("Record");
    EXPECT_EQ(FileBytesOrEmpty(exchangeFile("qxresult.dst")), QByteArray("Fall, 0, 0,1\r\n"));
    EXPECT_EQ(FileBytesOrEmpty(exchangeFile("qxraw.dst")),
              QByteArray("14:03:11 ,TestSkier,OK,  45.2,  148, 1\r\n14:05:00 ,TestSkier,Fall, 0, 0,1\r\n"));
    EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(MeasureScreen, MissingExchangeDirectoryIsReportedAndTheRecordingStands)
{
    scoringLink = true;
    ASSERT_TRUE(QDir(exchangeDir).removeRecursively());
    shown();
    nameSkier();
    clickPicture(examplePixel);
    click("Pass");
    click("Record");
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_TRUE(dialogs.texts().at(0).startsWith(QStringLiteral("Error while writing SCORIX result: ")));
    EXPECT_FALSE(QFile::exists(exchangeFile("qxresult.dst")));
    EXPECT_FALSE(QFile::exists(exchangeFile("qxraw.dst")));
    EXPECT_FALSE(QDir(exchangeDir).exists());
    EXPECT_EQ(results(), CrLfBytes({today + QStringLiteral("TestSkier  jump 1 -   (IWSF)  (AWSA)Pass ( 0/ 0) ( 0/ 0) ()")}));
    EXPECT_EQ(text("Jump_no"), QStringLiteral(" 2"));
}

TEST_F(MeasureScreen, PassWithoutAFrozenFrameAdvancesTheJumpAndRepeatsTheLastLanding)
{
    shown();
    nameSkier();
    clickPicture(examplePixel);
    click("Record");
    click("Pass");
    EXPECT_EQ(text("Comment"), QStringLiteral("Pass"));
    click("Record");
    EXPECT_EQ(results(),
              CrLfBytes({exampleLine, today
                         + QStringLiteral("TestSkier  jump 1 -   (IWSF)  (AWSA)Pass ( 3.125/ 44.87) ( 6120/ 3405) ( 45.2345)")}));
    EXPECT_EQ(text("distance"), QString());
    EXPECT_EQ(text("distance_ft"), QString());
    EXPECT_EQ(text("Jump_no"), QStringLiteral(" 2"));
    EXPECT_FALSE(control<QRadioButton>("Pass")->isChecked());
    EXPECT_EQ(screen().state().selectedOption, StatusOption::None);
}

TEST_F(MeasureScreen, FallOnAFrozenFrameKeepsTheOptionAndTheJumpNumber)
{
    QGuiApplication::clipboard()->setImage(testFrame());
    shown();
    nameSkier();
    trigger("mnuPaste");
    click("Fall");
    click("Record");
    EXPECT_EQ(results(), CrLfBytes({today + QStringLiteral("TestSkier  jump 1 -   (IWSF)  (AWSA)Fall ( 0/ 0) ( 0/ 0) ()")}));
    EXPECT_TRUE(control<QRadioButton>("Fall")->isChecked());
    EXPECT_EQ(text("Jump_no"), QStringLiteral("1"));
    EXPECT_EQ(text("Comment"), QString());
    EXPECT_FALSE(control<QLabel>("FrozenSign")->isHidden());
}

TEST_F(MeasureScreen, OtherGridAsksUntilMetresAndFeetAgree)
{
    scoringLink = true;
    shown();
    nameSkier();
    click("Other_Grid");
    EXPECT_EQ(text("Comment"), QStringLiteral("Distance from other grid"));
    dialogs.answer(Answer::Yes)
        .type(QStringLiteral("45.2"))
        .type(QStringLiteral("151"))
        .answer(Answer::Yes)
        .type(QStringLiteral("45.2"))
        .type(QStringLiteral("148"));
    click("Record");

    const QString question = QStringLiteral("Is there a distance to be recorded in the other grid?");
    const QString metres = QStringLiteral("Enter distance in meters from other screen");
    const QString feet = QStringLiteral("Enter distance in feet from other screen");
    EXPECT_EQ(dialogs.texts(),
              (QStringList{question, metres, feet,
                           QStringLiteral("The meter distance and the foot distance you entered did not match, "
                                          "please enter them again"),
                           question, metres, feet}));
    EXPECT_EQ(dialogs.shown().at(0).title, QStringLiteral("Message"));
    EXPECT_EQ(dialogs.shown().at(1).title, QStringLiteral("Other Grid Measurement"));
    EXPECT_EQ(results(),
              CrLfBytes({today + QStringLiteral("TestSkier  jump 1 - 45.2m  (IWSF)148 ft  (AWSA)Distance from other grid")}));
    EXPECT_EQ(FileBytesOrEmpty(exchangeFile("qxresult.dst")), QByteArray("OK, 45.2, 148 , 1\r\n"));
    EXPECT_EQ(text("distance"), QStringLiteral("45.2m"));
    EXPECT_EQ(text("distance_ft"), QStringLiteral("148 ft"));
    EXPECT_EQ(text("Jump_no"), QStringLiteral(" 2"));
    EXPECT_FALSE(control<QRadioButton>("Other_Grid")->isChecked());
}

TEST_F(MeasureScreen, OtherGridAnsweredNoOnAFrozenFrame)
{
    scoringLink = true;
    QGuiApplication::clipboard()->setImage(testFrame());
    shown();
    nameSkier();
    trigger("mnuPaste");
    click("Other_Grid");
    dialogs.answer(Answer::No);
    click("Record");
    EXPECT_EQ(results(),
              CrLfBytes({today + QStringLiteral("TestSkier  jump 1 -   (IWSF)  (AWSA)Other Grid - no distance recorded")}));
    EXPECT_EQ(FileBytesOrEmpty(exchangeFile("qxresult.dst")), QByteArray("OK, , , 1\r\n"));
    EXPECT_EQ(text("Jump_no"), QStringLiteral("1"));
    EXPECT_FALSE(control<QRadioButton>("Other_Grid")->isChecked());
}

TEST_F(MeasureScreen, MeasuredJumpOnAFrozenFrameOffersTheFrozenPicture)
{
    QGuiApplication::clipboard()->setImage(testFrame(320, 240));
    shown();
    nameSkier();
    trigger("mnuPaste");
    EXPECT_EQ(text("gif_file_name"), QStringLiteral("Picture from Clipboard"));
    EXPECT_EQ(text("distance"), QString());
    clickPicture(examplePixel);
    const QString frozenPath = dir.filePath(QStringLiteral("frozen.bmp"));
    dialogs.type(frozenPath);
    click("Record");
    EXPECT_EQ(results(), CrLfBytes({exampleLine}));
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown().at(0).kind, ScriptedDialogs::Kind::Input);
    EXPECT_EQ(dialogs.shown().at(0).initial, capturesDir + QStringLiteral("TestSkierjump1.bmp"));
    EXPECT_EQ(QImage(frozenPath).size(), QSize(320, 240));
    EXPECT_EQ(text("Jump_no"), QStringLiteral("1"));
}

// Record never writes a distance for a point the operator did not click on
// the picture shown.
TEST_F(MeasureScreen, RecordWithoutALandingPointOnThePictureShownIsRefused)
{
    struct Case {
        const char* name;
        std::function<void()> before;
    };
    const Case cases[] = {
        {"no picture, no click", [] {}},
        {"a click, then another picture", [&] {
             clickPicture(examplePixel);
             QGuiApplication::clipboard()->setImage(testFrame());
             trigger("mnuPaste");
         }},
        {"a recorded jump, then Clear", [&] {
             clickPicture(examplePixel);
             click("Record");
             click("Unfreeze");
         }},
    };
    for (const Case& c : cases) {
        measure.reset();
        QFile::remove(resultsPath);
        dialogs.clear();
        shown();
        nameSkier();
        c.before();
        const QByteArray written = results();
        dialogs.clear();
        click("Record");
        EXPECT_EQ(dialogs.texts(), QStringList{NoLandingPointMessage()}) << c.name;
        EXPECT_EQ(results(), written) << c.name;
    }
}

TEST_F(MeasureScreen, PasteWithoutAPictureOnTheClipboardKeepsThePictureShown)
{
    QGuiApplication::clipboard()->setImage(testFrame(320, 240));
    shown();
    trigger("mnuPaste");
    click("Unfreeze");
    const QImage shownBefore = canvas()->picture();
    QGuiApplication::clipboard()->setText(QStringLiteral("Smith, Ann"));
    trigger("mnuPaste");
    EXPECT_EQ(dialogs.texts(), QStringList{Measure::noClipboardPictureMessage()});
    EXPECT_FALSE(screen().state().frameFrozen);
    EXPECT_EQ(canvas()->picture(), shownBefore);
}

TEST_F(MeasureScreen, RerideAndCommentNotes)
{
    shown();
    nameSkier();
    clickPicture(examplePixel);
    click("Record");
    click("O_reride");
    EXPECT_EQ(text("distance"), QStringLiteral(" 45.2m"));
    EXPECT_FALSE(control<QRadioButton>("O_reride")->isChecked());
    click("M_Reride");
    EXPECT_EQ(text("distance"), QString());
    EXPECT_EQ(text("distance_ft"), QString());
    EXPECT_FALSE(control<QRadioButton>("M_Reride")->isChecked());
    dialogs.type(QStringLiteral("Judges asked for a re-measure"));
    click("Make_comment");
    EXPECT_EQ(dialogs.shown().at(0).text, QStringLiteral("What comment would you like to add?"));
    EXPECT_EQ(dialogs.shown().at(0).title, QStringLiteral("Input Comment"));
    EXPECT_FALSE(control<QRadioButton>("Make_comment")->isChecked());
    EXPECT_EQ(text("Comment"), QString());
    EXPECT_EQ(results(), CrLfBytes({exampleLine, today + QStringLiteral("Optional Reride on previous jump"),
                                today + QStringLiteral("Mandatory Reride - disregard last jump"),
                                today + QStringLiteral("Judges asked for a re-measure")}));
}

TEST_F(MeasureScreen, RerideOnAFrozenFrameStaysSelected)
{
    QGuiApplication::clipboard()->setImage(testFrame());
    shown();
    trigger("mnuPaste");
    click("M_Reride");
    EXPECT_TRUE(control<QRadioButton>("M_Reride")->isChecked());
    EXPECT_EQ(results(), CrLfBytes({today + QStringLiteral("Mandatory Reride - disregard last jump")}));
}

TEST_F(MeasureScreen, VerifyModeShowsTheReadoutsAndMarksTheResult)
{
    shown();
    nameSkier();
    click("verify");
    EXPECT_EQ(control<QPushButton>("verify")->text(), QStringLiteral("Verify off"));
    for (const char* name : {"xtwips", "ytwips", "xposition", "yposition", "VerifyDistance", "UnofficialJump"})
        EXPECT_FALSE(control<QWidget>(name)->isHidden()) << name;
    clickPicture(examplePixel);
    click("Record");
    EXPECT_EQ(results(), CrLfBytes({today
                                + QStringLiteral("TestSkier  jump 1 -  45.2m  (IWSF) 148ft  (AWSA) UNOFFICIAL JUMP - "
                                                 "verify mode  ( 3.125/ 44.87) ( 6120/ 3405) ( 45.2345)")}));
    click("verify");
    EXPECT_EQ(control<QPushButton>("verify")->text(), QStringLiteral("Verify"));
    for (const char* name : {"xtwips", "ytwips", "xposition", "yposition", "VerifyDistance", "UnofficialJump"})
        EXPECT_TRUE(control<QWidget>(name)->isHidden()) << name;
}

TEST_F(MeasureScreen, UnwritableResultsFileStopsTheRecordingAndLeavesTheScreen)
{
    config.resultsFilePath = dir.filePath(QStringLiteral("gone/JumpMeasurementResults120726.txt"));
    shown();
    nameSkier();
    click("Pass");
    click("Record");
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown().at(0).icon, OperatorDialogs::Icon::Critical);
    EXPECT_EQ(text("Jump_no"), QStringLiteral("1"));
    EXPECT_TRUE(control<QRadioButton>("Pass")->isChecked());
    EXPECT_EQ(text("Comment"), QStringLiteral("Pass"));
    EXPECT_FALSE(control<QLineEdit>("Comment")->isHidden());
}

TEST_F(MeasureScreen, NewSkierRestartsTheJumpNumber)
{
    shown();
    nameSkier();
    clickPicture(examplePixel);
    click("Record");
    click("Unfreeze");
    EXPECT_EQ(text("Jump_no"), QStringLiteral(" 2"));
    control<QComboBox>("Skier_name")->setEditText(QStringLiteral("Ann Lee"));
    EXPECT_EQ(text("Jump_no"), QStringLiteral("1"));
    EXPECT_EQ(text("distance"), QString());
}

// ---------------------------------------------------------------------------
// Ending the jump and picture sources

TEST_F(MeasureScreen, ClearEndsTheJump)
{
    QGuiApplication::clipboard()->setImage(testFrame());
    for (const char* name : {"snapshot.bmp", "other.bmp", "keep.txt"}) {
        QFile f(exchangeDir + QLatin1Char('/') + QLatin1String(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    Measure& m = shown();
    m.setJumpNumberText(QStringLiteral("7"));
    trigger("mnuPaste");
    clickPicture(examplePixel);
    click("Pass");
    click("Unfreeze");
    EXPECT_EQ(text("Jump_no"), QStringLiteral(" 8"));
    EXPECT_EQ(text("distance"), QStringLiteral("m"));
    EXPECT_EQ(text("distance_ft"), QStringLiteral("ft"));
    EXPECT_EQ(text("Comment"), QString());
    EXPECT_TRUE(control<QRadioButton>("optJumpOK")->isChecked());
    EXPECT_FALSE(control<QRadioButton>("Pass")->isChecked());
    EXPECT_FALSE(m.state().frameFrozen);
    EXPECT_TRUE(control<QLabel>("FrozenSign")->isHidden());
    EXPECT_TRUE(control<QLineEdit>("gif_file_name")->isHidden());
    EXPECT_TRUE(control<QWidget>("AdjustRight")->isHidden());
    EXPECT_FALSE(m.impactLinesVisible());
    EXPECT_FALSE(canvas()->hasPicture());
    EXPECT_EQ(QDir(exchangeDir).entryList(QDir::Files), QStringList{QStringLiteral("keep.txt")});
    EXPECT_TRUE(results().isEmpty());
}

TEST_F(MeasureScreen, ClipboardFreezesTheScreen)
{
    QGuiApplication::clipboard()->setImage(testFrame(320, 240, QColor(200, 100, 0)));
    shown();
    click("ClipSnapShot");
    EXPECT_TRUE(screen().state().frameFrozen);
    EXPECT_FALSE(control<QLabel>("FrozenSign")->isHidden());
    EXPECT_EQ(canvas()->picture().size(), QSize(320, 240));
    EXPECT_EQ(text("gif_file_name"), QStringLiteral("Picture from Clipboard"));
    EXPECT_FALSE(control<QLineEdit>("gif_file_name")->isHidden());
}

TEST_F(MeasureScreen, SnapshotFromTheExchangeDirectory)
{
    shown();
    click("ImgSnapShot");
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.texts().at(0), QStringLiteral("Warning, snapshot file has not been saved in the \\qxio directory"));
    EXPECT_EQ(dialogs.shown().at(0).icon, OperatorDialogs::Icon::Warning);
    EXPECT_TRUE(screen().state().frameFrozen);

    ASSERT_TRUE(testFrame(200, 100).save(exchangeFile("snapshot.bmp"), "BMP"));
    click("ImgSnapShot");
    EXPECT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(canvas()->picture().size(), QSize(200, 100));
    EXPECT_EQ(text("gif_file_name"), QStringLiteral("snapshot.bmp"));
}

TEST_F(MeasureScreen, ClipboardFlagLoadsThePictureWithoutFreezing)
{
    shown();
    auto* autoLoad = control<QCheckBox>("cbAutoLoadClipboard");
    autoLoad->setChecked(true);
    EXPECT_TRUE(control<QTimer>("loadTimer")->isActive());
    EXPECT_EQ(control<QTimer>("loadTimer")->interval(), 1000);

    QGuiApplication::clipboard()->setImage(testFrame(300, 200));
    screen().pollClipboardFlag();
    EXPECT_FALSE(canvas()->hasPicture());
    {
        QFile flag(exchangeFile("clipflag.txt"));
        ASSERT_TRUE(flag.open(QIODevice::WriteOnly));
        flag.write("Ready,from the tower\r\n");
    }
    screen().pollClipboardFlag();
    EXPECT_EQ(canvas()->picture().size(), QSize(300, 200));
    EXPECT_FALSE(screen().state().frameFrozen);
    EXPECT_EQ(FileBytesOrEmpty(exchangeFile("clipflag.txt")), QByteArray("  \r\n"));

    autoLoad->setChecked(false);
    EXPECT_FALSE(control<QTimer>("loadTimer")->isActive());
}

TEST_F(MeasureScreen, LoadPictureWritesTheLoadedLineAndNothingForALoadThatDidNotHappen)
{
    config.pictureExtension = QStringLiteral(".jpg");
    const QString picture = capturesDir + QStringLiteral("Bobjump2.bmp");
    ASSERT_TRUE(testFrame().save(picture, "BMP"));
    shown();
    dialogs.chooseFile(picture).chooseFile(QString());
    trigger("LoadPict");
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown().at(0).text,
              QStringLiteral("All Files (*.*)|*.*|Text Files (*.txt)|*.txt|Jump Picture Files (*.gif)|*.gif|Jump "
                             "Picture Files (*.bmp)|*.bmp|Jump Picture Files (*.jpg)|*.jpg|"));
    EXPECT_EQ(dialogs.shown().at(0).selectedFilter, 5);
    EXPECT_EQ(dialogs.shown().at(0).initial, capturesDir);
    EXPECT_EQ(canvas()->picture().size(), QSize(640, 480));
    EXPECT_EQ(calibration.pictureWidth, QStringLiteral("9584.71698113207"));
    auto* name = control<QLineEdit>("gif_file_name");
    auto* description = control<QLineEdit>("grid_description");
    EXPECT_EQ(name->text(), picture);
    EXPECT_FALSE(name->isHidden());
    EXPECT_EQ(name->y(), description->y() + description->height());
    EXPECT_EQ(screenMode, QStringLiteral("PictureLoadMenu"));
    EXPECT_FALSE(screen().state().frameFrozen);

    trigger("LoadPict");
    EXPECT_EQ(dialogs.shown().size(), 2u); // the dialog only: no message
    const QString notes = capturesDir + QStringLiteral("notes.bmp");
    ASSERT_TRUE(WriteFileBytes(notes, "not a picture"));
    dialogs.chooseFile(notes);
    trigger("LoadPict");
    EXPECT_EQ(dialogs.texts().last(), Measure::notAPictureMessage(notes));
    EXPECT_EQ(results(), CrLfBytes({today + QStringLiteral("Loaded picture: ") + picture}));
    EXPECT_EQ(canvas()->picture().size(), QSize(640, 480));
}

TEST_F(MeasureScreen, LoadPictureWithoutCapturesDirectory)
{
    config.capturesDirectory = dir.filePath(QStringLiteral("nowhere/"));
    shown();
    trigger("LoadPict");
    EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("Invalid path, change in configuration screen")});
    EXPECT_EQ(dialogs.shown().at(0).icon, OperatorDialogs::Icon::Warning);
    EXPECT_EQ(results(), QByteArray());
    EXPECT_EQ(screenMode, QStringLiteral("PictureLoadMenu"));
}

// The same picture point clicked fitted, at 1:1 and at 4x records the same
// line byte for byte: the zoom is the view's, never the measurement's. The
// frame is twice the view each way, so fitted is exactly 1:2 and the
// point, on an even pixel, is reachable at every scale.
TEST_F(MeasureScreen, ARecordedLineIsTheSameAtEveryZoom)
{
    const QPoint landing(408, 228);
    struct Case {
        const char* view;
        double scale;
    };
    const Case cases[] = {{"1:1", 1.0}, {"fit", 0.5}, {"4x", 4.0}};
    QList<QByteArray> lines;
    for (const Case& c : cases) {
        measure.reset();
        QFile::remove(resultsPath);
        shown();
        nameSkier();
        QCoreApplication::processEvents();
        canvas()->setPicture(testFrame(canvas()->width() * 2, canvas()->height() * 2));
        if (c.scale != 0.5)
            canvas()->zoomOneToOne();
        while (canvas()->viewport().scale() < c.scale)
            canvas()->zoomIn();
        ASSERT_EQ(canvas()->viewport().scale(), c.scale) << c.view;
        const double scale = c.scale;
        canvas()->setPan((QPointF(landing) * scale - QPointF(100, 100)).toPoint());
        const QPoint at = (QPointF(landing) * scale).toPoint() - canvas()->viewport().offset();
        ASSERT_TRUE(canvas()->rect().contains(at)) << c.view;
        QTest::mouseClick(canvas(), Qt::LeftButton, {}, at);
        click("Record");
        lines << results();
    }
    ASSERT_FALSE(lines[0].isEmpty());
    EXPECT_TRUE(lines[0].contains("( 6120/ 3420)")) << lines[0].constData();
    EXPECT_EQ(lines[1], lines[0]);
    EXPECT_EQ(lines[2], lines[0]);
}

TEST_F(MeasureScreen, PictureFromTheLogViewer)
{
    const QString picture = capturesDir + QStringLiteral("TestSkierjump3.bmp");
    ASSERT_TRUE(testFrame(800, 600).save(picture, "BMP"));
    shown();
    EXPECT_FALSE(screen().viewLoggedPicture(capturesDir + QStringLiteral("missing.bmp")));
    EXPECT_EQ(screenMode, QString());
    ASSERT_TRUE(screen().viewLoggedPicture(picture));
    EXPECT_EQ(canvas()->picture().size(), QSize(800, 600));
    EXPECT_EQ(text("gif_file_name"), picture);
    EXPECT_FALSE(control<QLineEdit>("gif_file_name")->isHidden());
    EXPECT_EQ(screenMode, QStringLiteral("PictureLog"));
    // The whole frame is shown (fitted to the room), with the arrow buttons
    // in the band below it.
    const double scale = canvas()->viewport().scale();
    EXPECT_LE(800 * scale, canvas()->width());
    EXPECT_LE(600 * scale, canvas()->height());
    EXPECT_GE(control<QWidget>("AdjustmentLabel")->y(), canvas()->geometry().bottom());
}

// ---------------------------------------------------------------------------
// Leaving with the picture-save offer

struct LeavingCase {
    const char* saveMode;
    std::optional<Answer> answer; // to "Do you want to save this picture?"
    bool saved;
};

class Leaving : public MeasureScreen, public ::testing::WithParamInterface<LeavingCase> {
protected:
    QString picturePath() { return capturesDir + QStringLiteral("TestSkierjump1.bmp"); }

    void enterWithChosenFrame()
    {
        config.pictureSaveMode = QString::fromLatin1(GetParam().saveMode);
        putCurrentCapture(testFrame());
        screenMode = QStringLiteral("SelectFrame");
        shown();
        nameSkier();
        clickPicture(examplePixel);
        click("Record");
        if (GetParam().answer)
            dialogs.answer(*GetParam().answer);
    }

    void expectOffer()
    {
        QStringList expected;
        if (GetParam().answer)
            expected << QStringLiteral("Do you want to save this picture?");
        if (GetParam().saved)
            expected << picturePath();
        EXPECT_EQ(dialogs.texts(), expected);
        EXPECT_EQ(QFile::exists(picturePath()), GetParam().saved);
        EXPECT_EQ(QFile::exists(picturePath() + QStringLiteral(".info")), GetParam().saved);
        QByteArray expectedResults = CrLfBytes({exampleLine});
        if (GetParam().saved)
            expectedResults += CrLfBytes({today + QStringLiteral("Saved picture: ") + picturePath()});
        EXPECT_EQ(results(), expectedResults);
    }
};

TEST_P(Leaving, CaptureNextJump)
{
    enterWithChosenFrame();
    QSignalSpy toCapture(&screen(), &Measure::captureScreenRequested);
    click("btnNextJump");
    expectOffer();
    if (GetParam().saved) {
        // The saved picture is the screen as the operator saw it: the frame
        // with the side line of the grid drawn over it.
        const QImage saved(picturePath());
        EXPECT_EQ(saved.size(), QSize(640, 480));
        EXPECT_EQ(saved.pixel(500, 250), qRgb(255, 255, 255));
        EXPECT_EQ(saved.pixel(300, 300), testFrame().pixel(0, 0));
    }
    EXPECT_EQ(toCapture.count(), 1);
    EXPECT_EQ(screenMode, QStringLiteral("Measure"));
    EXPECT_TRUE(screen().isHidden());
    EXPECT_FALSE(control<QTimer>("keyTimer")->isActive());
    EXPECT_EQ(text("Jump_no"), QStringLiteral(" 2"));
    EXPECT_FALSE(canvas()->hasPicture());
}

TEST_P(Leaving, ExitToTheMainScreen)
{
    enterWithChosenFrame();
    QSignalSpy toMain(&screen(), &Measure::mainScreenRequested);
    trigger("Exit");
    expectOffer();
    EXPECT_EQ(toMain.count(), 1);
    EXPECT_EQ(screenMode, QString());
    EXPECT_TRUE(screen().isHidden());
    for (const char* label : {"maxbuoy", "minbuoy", "maxbuoym", "minbuoym"})
        EXPECT_EQ(control<QLabel>(label)->text(), QString()) << label;
    EXPECT_TRUE(control<QLineEdit>("grid_description")->isHidden());
}

INSTANTIATE_TEST_SUITE_P(PictureSaveModes, Leaving,
                         ::testing::Values(LeavingCase{"Ask", Answer::Yes, true}, LeavingCase{"Ask", Answer::No, false},
                                           LeavingCase{"Save", std::nullopt, true},
                                           LeavingCase{"NoSave", std::nullopt, false}));

TEST_F(MeasureScreen, LeavingALoadedPictureOffersNoSave)
{
    const QString picture = capturesDir + QStringLiteral("old.bmp");
    ASSERT_TRUE(testFrame().save(picture, "BMP"));
    screenMode = QStringLiteral("SelectFrame");
    shown();
    dialogs.chooseFile(picture);
    trigger("LoadPict");
    trigger("mnuCapture");
    EXPECT_EQ(dialogs.shown().size(), 1u); // the file dialog only
    EXPECT_EQ(screenMode, QStringLiteral("Measure"));
}

TEST_F(MeasureScreen, SavePictureWritesPictureCompanionAndLines)
{
    putCurrentCapture(testFrame());
    screenMode = QStringLiteral("SelectFrame");
    shown();
    nameSkier();
    screen().setCaptureTexts([] { return Measure::CaptureTexts{QStringLiteral("TestSkier"), QStringLiteral("2")}; });
    clickPicture(examplePixel);
    click("Record");
    trigger("SavePict");
    const QString path = capturesDir + QStringLiteral("TestSkierjump1.bmp");
    EXPECT_EQ(dialogs.texts(), QStringList{path});
    EXPECT_EQ(FileBytesOrEmpty(path + QStringLiteral(".info")), CrLfBytes({path + QStringLiteral(", TestSkier, 2")}));
    const QByteArray log = FileBytesOrEmpty(videoDir + QStringLiteral("/JumpMeasurementLog120726.txt"));
    EXPECT_TRUE(log.endsWith(("File: " + path + "\r\n").toLatin1())) << log.constData();
    EXPECT_TRUE(log.contains("Jump:  1")) << log.constData();
    EXPECT_TRUE(log.contains("Distance:  45.2m")) << log.constData();
}

// ---------------------------------------------------------------------------
// Results window

TEST_F(MeasureScreen, ResultsWindowShowsTheResultsFile)
{
    shown();
    nameSkier();
    clickPicture(examplePixel);
    click("Record");
    trigger("mnuResults");
    Results* window = screen().resultsWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), resultsPath);
    auto* box = window->findChild<QTextEdit*>(QStringLiteral("output_box"));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->toPlainText(), exampleLine + QLatin1Char('\n'));
    EXPECT_TRUE(box->isReadOnly());

    auto* exitResults = window->findChild<QAction*>(QStringLiteral("Exit_results"));
    ASSERT_NE(exitResults, nullptr);
    EXPECT_EQ(exitResults->text(), QStringLiteral("E&xit"));
    exitResults->trigger();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(box->toPlainText(), QString());
}

TEST_F(MeasureScreen, ResultsWindowReportsAMissingFile)
{
    shown();
    trigger("mnuResults");
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_TRUE(dialogs.texts().at(0).contains(resultsPath));
    EXPECT_FALSE(screen().resultsWindow()->isVisible());
}

// ---------------------------------------------------------------------------
// Label colours

TEST_F(MeasureScreen, DefaultLabelColoursAndOneColourForAll)
{
    shown();
    const auto colourOf = [&](const char* name) {
        return control<QWidget>(name)->palette().color(QPalette::WindowText);
    };
    EXPECT_EQ(colourOf("Pass"), QColor(0, 0, 0));
    EXPECT_EQ(colourOf("M_Reride"), QColor(255, 0, 0));
    EXPECT_EQ(colourOf("O_reride"), QColor(255, 255, 0));
    EXPECT_EQ(colourOf("maxbuoy"), QColor(255, 255, 255));
    EXPECT_EQ(colourOf("IWSFlabel"), QColor(0, 0, 0));

    config.labelColorName = QStringLiteral("yellow");
    screen().applyConfiguration();
    for (const char* name : {"Pass", "M_Reride", "O_reride", "maxbuoy", "IWSFlabel", "FrozenSign", "CrossLabel"})
        EXPECT_EQ(colourOf(name), QColor(255, 255, 0)) << name;
}

TEST_F(MeasureScreen, BarefootJumpsRecordFeetInTenths)
{
    config.barefootMode = true;
    shown();
    EXPECT_FALSE(control<QLineEdit>("barefoot_indicator")->isHidden());
    EXPECT_EQ(text("barefoot_indicator"), QStringLiteral("Barefoot Jump"));
    nameSkier();
    clickPicture(examplePixel);
    click("Record");
    // No allowance: 43.1345 m, 141.5 ft.
    EXPECT_EQ(results(), CrLfBytes({today
                                + QStringLiteral("TestSkier  jump 1 -  43.1m  (IWSF) 141.5ft  (AWSA) BAREFOOT  ( "
                                                 "3.125/ 44.87) ( 6120/ 3405) ( 43.1345)")}));
}

} // namespace
