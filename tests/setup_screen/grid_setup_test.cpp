// The grid set-up screen driven as the operator drives it: the real widget on
// the offscreen platform, clicks and keys through QTest, every box answered by
// a script, files compared byte for byte.
#include "app/configstate.h"
#include "app/mainform.h"
#include "app/rampscope.h"
#include "app/settingsstore.h"
#include "common/clock.h"
#include "common/numbertext.h"
#include "common/paths.h"
#include "grid/calibrationstate.h"
#include "grid/gridsetupfields.h"
#include "measure/measure.h"
#include "setup_screen/calibrate.h"
#include "setup_screen/grid_setup.h"
#include "support/filebytes.h"
#include "support/scripteddialogs.h"
#include "support/towergridfiles.h"
#include "widgets/magnifier.h"
#include "widgets/picturecanvas.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>

// Screen points compare exactly: every position here is whole twips.
bool operator==(ScreenPoint a, ScreenPoint b)
{
    return a.x == b.x && a.y == b.y;
}

void PrintTo(ScreenPoint p, std::ostream* os)
{
    *os << "(" << p.x << ", " << p.y << ")";
}

namespace {

using Answer = OperatorDialogs::Answer;
using Buoy = Grid_Setup::Buoy;
using Kind = SetupDrawing::Kind;

// One buoy of an example grid: where it appears on the frame (pixels) and
// where the survey puts it (metres, as typed).
struct ExampleBuoy {
    QPoint pixel;
    QString surveyX;
    QString surveyY;
};

struct ExampleGrid {
    ExampleBuoy upperLeft, upperRight, lowerLeft, lowerRight, check;
    QString jumpX, jumpY;
};

// A camera behind the ramp: the far (upper) buoys closer together on the
// frame than the near ones. Survey X grows to the left. The check buoy's
// pixel is where this grid's transform puts (2, 70) exactly, and the field
// of view is 11 degrees as reported.
const ExampleGrid perspective{
    {{120, 100}, QStringLiteral("10"), QStringLiteral("100")},
    {{520, 100}, QStringLiteral("-10"), QStringLiteral("100")},
    {{20, 400}, QStringLiteral("10"), QStringLiteral("40")},
    {{620, 400}, QStringLiteral("-10"), QStringLiteral("40")},
    {{272, 220}, QStringLiteral("2"), QStringLiteral("70")},
    QStringLiteral("0"),
    QStringLiteral("10"),
};

// A view without perspective: X = (4800 - x) / 450, Y = (9000 - y) / 75 for
// a screen point (x, y) in twips, so every distance can be worked out here.
const ExampleGrid straight{
    {{20, 100}, QStringLiteral("10"), QStringLiteral("100")},
    {{620, 100}, QStringLiteral("-10"), QStringLiteral("100")},
    {{20, 400}, QStringLiteral("10"), QStringLiteral("40")},
    {{620, 400}, QStringLiteral("-10"), QStringLiteral("40")},
    {{260, 250}, QStringLiteral("2"), QStringLiteral("70")},
    QStringLiteral("0"),
    QStringLiteral("10"),
};

QImage testFrame(int width = 640, int height = 480, QColor colour = QColor(20, 60, 90))
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

class GridSetupScreen : public ::testing::Test {
public: // the solve-failure table drives the fixture from outside
    QTemporaryDir dir;
    QString appDir = dir.filePath(QStringLiteral("app"));
    QString videoDir = dir.filePath(QStringLiteral("videos"));
    QString capturesDir = dir.filePath(QStringLiteral("captures")) + QLatin1Char('/');
    QString setupDir = dir.filePath(QStringLiteral("setups"));
    QString resultsPath = videoDir + QStringLiteral("/JumpMeasurementResults120726.txt");
    QString accuracyPath = videoDir + QStringLiteral("/12acc07.txt");
    SettingsStore settings{dir.filePath(QStringLiteral("settings.ini"))};
    ConfigState config;
    CalibrationState calibration;
    GridSetupFields fields;
    QString screenMode;
    ScriptedDialogs dialogs;
    FixedClock clock{QDateTime(QDate(2026, 12, 7), QTime(14, 3, 11))};
    std::unique_ptr<MainForm> mainForm;
    std::unique_ptr<Grid_Setup> screen;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        for (const QString& path : {appDir, videoDir, capturesDir, setupDir})
            ASSERT_TRUE(QDir().mkpath(path));
        config.videoDirectory = videoDir;
        config.resultsFilePath = resultsPath;
        config.capturesDirectory = capturesDir;
        config.setupFilesDirectory = setupDir;
        config.captureSourceType = QStringLiteral("Generic");
        config.gridCount = 1;
        mainForm = std::make_unique<MainForm>(dialogs, screenMode, StationFolders{appDir, {}});
        build();
    }

    void TearDown() override { EXPECT_TRUE(dialogs.allAnswersUsed()); }

    void build()
    {
        screen.reset();
        screen = std::make_unique<Grid_Setup>(Grid_Setup::Environment{
            config, calibration, settings, fields, screenMode, dialogs, clock, *mainForm, appDir});
    }

    template <typename T>
    T* control(const char* name)
    {
        T* found = screen->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    QLineEdit* box(const char* name) { return control<QLineEdit>(name); }
    QString text(const char* name) { return box(name)->text(); }
    PictureCanvas* canvas() { return control<PictureCanvas>("picture"); }

    void trigger(const char* action) { control<QAction>(action)->trigger(); }
    // Buttons are clicked through the button itself and the frame is sent
    // its mouse events directly: the offscreen screen is smaller than the
    // maximised form, so a position in the window may name another control.
    void press(const char* button) { control<QAbstractButton>(button)->click(); }

    QRadioButton* optionOf(Buoy buoy)
    {
        static const char* const names[] = {"upper_left_button", "upper_right_button", "lower_left_button",
                                            "lower_right_button", "optCheckBuoy"};
        return control<QRadioButton>(names[static_cast<int>(buoy)]);
    }

    void clickPixel(QPoint pixel)
    {
        PictureCanvas* frame = canvas();
        const QPointF local(pixel);
        QMouseEvent press(QEvent::MouseButtonPress, local, frame->mapToGlobal(local), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(frame, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, local, frame->mapToGlobal(local), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(frame, &release);
    }

    void place(Buoy buoy, QPoint pixel)
    {
        optionOf(buoy)->click();
        clickPixel(pixel);
    }

    // The operator types over a box's whole text.
    void typeInto(const char* name, const QString& value)
    {
        QLineEdit* edit = box(name);
        edit->setFocus();
        edit->selectAll();
        if (value.isEmpty())
            QTest::keyClick(edit, Qt::Key_Backspace);
        else
            QTest::keyClicks(edit, value);
    }

    // Enter the screen from the frame selection screen with a 640 x 480
    // frame waiting as currentcapture.bmp.
    void enterWithFrame()
    {
        ASSERT_TRUE(testFrame().save(JoinPath(appDir, QStringLiteral("currentcapture.bmp"))));
        screenMode = QStringLiteral("SelectFrame");
        showScreen();
        control<QTimer>("keyTimer")->stop(); // ticks are run by hand
    }

    // Clicks on a shown window find their widget by position: wait until the
    // maximised window has its size.
    void showScreen()
    {
        screen->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(screen.get()));
    }

    void placeAll(const ExampleGrid& g)
    {
        place(Buoy::UpperLeft, g.upperLeft.pixel);
        place(Buoy::UpperRight, g.upperRight.pixel);
        place(Buoy::LowerLeft, g.lowerLeft.pixel);
        place(Buoy::LowerRight, g.lowerRight.pixel);
        place(Buoy::Check, g.check.pixel);
    }

    void typeSurvey(const ExampleGrid& g)
    {
        const std::pair<const char*, QString> values[] = {
            {"ul_survey_x", g.upperLeft.surveyX},  {"ul_survey_y", g.upperLeft.surveyY},
            {"ur_survey_x", g.upperRight.surveyX}, {"ur_survey_y", g.upperRight.surveyY},
            {"ll_survey_x", g.lowerLeft.surveyX},  {"ll_survey_y", g.lowerLeft.surveyY},
            {"lr_survey_x", g.lowerRight.surveyX}, {"lr_survey_y", g.lowerRight.surveyY},
            {"jump_x", g.jumpX},                   {"jump_y", g.jumpY},
            {"txtCheckX", g.check.surveyX},        {"txtCheckY", g.check.surveyY},
        };
        for (const auto& [name, value] : values)
            typeInto(name, value);
    }

    void setUpGrid(const ExampleGrid& g)
    {
        placeAll(g);
        typeSurvey(g);
    }

    bool shown(const char* name) { return control<QWidget>(name)->isVisibleTo(screen.get()); }

    std::vector<ScreenPoint> pointsOf(Kind kind)
    {
        std::vector<ScreenPoint> points;
        for (const SetupDrawing::Item& item : screen->drawing().itemsOf(kind))
            points.push_back(item.at);
        return points;
    }
};

ScreenPoint at(QPoint pixel)
{
    return {pixel.x() * 15.0, pixel.y() * 15.0};
}

// ---------------------------------------------------------------------------
// Load

TEST_F(GridSetupScreen, LoadShowsEveryControlWithItsOwnText)
{
    EXPECT_EQ(screen->objectName(), QStringLiteral("Grid_Setup"));
    EXPECT_EQ(screen->windowTitle(), QStringLiteral("Grid Setup"));

    const std::pair<const char*, const char*> boxes[] = {
        {"upper_left_x", "auto"},   {"upper_left_y", "auto"},   {"upper_right_x", " auto"}, {"upper_right_y", "auto"},
        {"lower_left_x", "auto"},   {"lower_left_y", "auto"},   {"lower_right_x", "auto"},  {"lower_right_y", "auto"},
        {"ul_survey_x", "input"},   {"ul_survey_y", "input"},   {"ur_survey_x", "input"},   {"ur_survey_y", "input"},
        {"ll_survey_x", "input"},   {"ll_survey_y", "input"},   {"lr_survey_x", "input"},   {"lr_survey_y", "input"},
        {"jump_x", "jump x"},       {"jump_y", "jump y"},       {"txtCheckX", "CheckX"},    {"txtCheckY", "CheckY"},
        {"txtCheckXpix", ""},       {"txtCheckYpix", ""},       {"txtPicWidth", "Text1"},   {"txtPicHeight", "Text1"},
        {"ipt_file_description", "No File"}, {"ipt_file_description_2", ""},
    };
    for (const auto& [name, initial] : boxes)
        EXPECT_EQ(text(name), QString::fromLatin1(initial)) << name;

    const std::pair<const char*, const char*> captions[] = {
        {"upper_left_button", "upper left"}, {"upper_right_button", "upper right"},
        {"lower_left_button", "lower left"}, {"lower_right_button", "lower right"},
        {"optCheckBuoy", "Check Buoy"},      {"grid_select", "Grid 1"},
        {"Load", "Complete"},                {"show_alignment", "Draw Buoys"},
        {"chkboxGridLock", "Lock Grid Buoys"}, {"chkMagnifier", "Magnifier"},
        {"btnAccuracyCheck", "Accuracy"},    {"optStandardAccuracy", "Standard"},
        {"optAdvancedAccuracy", "Advanced"}, {"optHomolgationLevel", "Hom.Lvl"},
        {"optDisplayDistance", "Distance"},  {"optDetailMeasurement", "Detail"},
    };
    for (const auto& [name, caption] : captions)
        EXPECT_EQ(control<QAbstractButton>(name)->text(), QString::fromLatin1(caption)) << name;

    const std::pair<const char*, const char*> labels[] = {
        {"gridLockedLabel", "GRID LOCKED!"},  {"lblGridDragIt", "(drag-it)"},
        {"CrossSizeLabel", "Marker Icon Size (drag-it)"}, {"AdjustmentLabel", "Micro-Adjust (drag-it)"},
        {"lblCB", "<-Check Buoy Should Be Here"},
    };
    for (const auto& [name, caption] : labels)
        EXPECT_EQ(control<QLabel>(name)->text(), QString::fromLatin1(caption)) << name;
    EXPECT_EQ(control<QGroupBox>("Frame1")->title(), QStringLiteral("Grid Point Selection"));
    EXPECT_EQ(control<QGroupBox>("fmAccuracyConfig")->title(), QStringLiteral("Display"));
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(screen->findChild<QLabel*>(QStringLiteral("LineLabel_%1").arg(i))->text(), QString::number(i + 1));
    EXPECT_NE(screen->findChild<QLabel*>(QStringLiteral("AccuracyIndicator_50")), nullptr);

    const std::pair<const char*, const char*> menus[] = {
        {"gridLoad", "&Load File"},       {"mnuLoadPicture", "Load &Picture"}, {"mnuClearPicture", "&Clear Picture"},
        {"mnuPaste", "P&aste"},           {"gridSave", "&Save"},              {"mnuCalibrate", "&Calibrate"},
        {"gridExit", "E&xit"},
    };
    for (const auto& [name, caption] : menus)
        EXPECT_EQ(control<QAction>(name)->text(), QString::fromLatin1(caption)) << name;
    EXPECT_EQ(control<QMenu>("mnuSetupPicture")->title(), QStringLiteral("Setup &Picture"));

    auto* crossSize = control<QScrollBar>("Setup_Cross_size");
    EXPECT_EQ(crossSize->minimum(), 15);
    EXPECT_EQ(crossSize->maximum(), 105);
    EXPECT_EQ(crossSize->value(), 90);
    EXPECT_EQ(crossSize->singleStep(), 15);
    auto* keyTimer = control<QTimer>("keyTimer");
    EXPECT_EQ(keyTimer->interval(), 100);
    EXPECT_FALSE(keyTimer->isActive());

    // The load step's own settings.
    EXPECT_TRUE(control<QRadioButton>("optStandardAccuracy")->isChecked());
    EXPECT_TRUE(control<QRadioButton>("optHomolgationLevel")->isChecked());
    EXPECT_TRUE(screen->windowState() & Qt::WindowMaximized);
    EXPECT_EQ(screen->markerCircleRadius(), 180.0);
    EXPECT_EQ(screen->statusPictureName(), QStringLiteral("msgbox03.ico"));
    EXPECT_FALSE(calibration.allGridsReady);
    EXPECT_EQ(calibration.pictureWidth, QStringLiteral("12000"));
    EXPECT_EQ(calibration.pictureHeight, QStringLiteral("9000"));
    for (const char* hidden : {"btnAccuracyCheck", "fmAccuracyConfig", "fmAccuracyDisplay", "lblCB",
                               "gridLockedLabel", "lblGridDragIt", "AccuracyIndicator_0"})
        EXPECT_FALSE(shown(hidden)) << hidden;
    for (const char* black : {"AdjustmentLabel", "CrossSizeLabel"}) {
        auto* label = control<QLabel>(black);
        EXPECT_TRUE(label->autoFillBackground());
        EXPECT_EQ(label->palette().color(QPalette::Window), QColor(Qt::black));
    }
    for (Buoy b : {Buoy::UpperLeft, Buoy::UpperRight, Buoy::LowerLeft, Buoy::LowerRight, Buoy::Check})
        EXPECT_EQ(screen->marker(b), (ScreenPoint{0, 0}));
    EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(GridSetupScreen, LoadShowsTheCurrentGridOnTheGridButton)
{
    calibration.currentGrid = 3;
    config.gridCount = 3;
    build();
    EXPECT_EQ(control<QPushButton>("grid_select")->text(), QStringLiteral("Grid 3"));
    EXPECT_EQ(fields.grid_select, QStringLiteral("Grid 3"));
}

TEST_F(GridSetupScreen, EnteringFromFrameSelectionLoadsTheChosenFrameAndItsSize)
{
    enterWithFrame();
    EXPECT_EQ(canvas()->picture().size(), QSize(640, 480));
    // 640 x 480 pixels are 16933 x 12700 HIMETRIC units, times 15 / 26.5.
    EXPECT_EQ(text("txtPicWidth"), QStringLiteral("9584.71698113207"));
    EXPECT_EQ(text("txtPicHeight"), QStringLiteral("7188.67924528302"));
    EXPECT_EQ(calibration.pictureWidth, QStringLiteral("9584.71698113207"));
    EXPECT_EQ(calibration.pictureHeight, QStringLiteral("7188.67924528302"));
    EXPECT_TRUE(screenMode.isEmpty());

    // Entered again from the main screen: the picture is not reloaded.
    screen->hide();
    ASSERT_TRUE(testFrame(320, 240).save(JoinPath(appDir, QStringLiteral("currentcapture.bmp"))));
    showScreen();
    EXPECT_EQ(canvas()->picture().size(), QSize(640, 480));
    EXPECT_TRUE(control<QTimer>("keyTimer")->isActive());
    screen->hide();
    EXPECT_FALSE(control<QTimer>("keyTimer")->isActive());
}

// ---------------------------------------------------------------------------
// Placing buoys

TEST_F(GridSetupScreen, ClickWithNoBuoySelectedDrawsAndChangesNothing)
{
    clickPixel({100, 100});
    EXPECT_EQ(text("upper_left_x"), QStringLiteral("auto"));
    EXPECT_TRUE(screen->drawing().items().empty());
    EXPECT_EQ(mainForm->gridPictureName(1), QString());
}

TEST_F(GridSetupScreen, MagnifierBoxSwitchesTheMagnifier)
{
    auto* magnifier = screen->findChild<Magnifier*>();
    ASSERT_NE(magnifier, nullptr);
    EXPECT_FALSE(magnifier->isEnabledByOperator());
    control<QCheckBox>("chkMagnifier")->click();
    EXPECT_TRUE(magnifier->isEnabledByOperator());
    control<QCheckBox>("chkMagnifier")->click();
    EXPECT_FALSE(magnifier->isEnabledByOperator());
}

TEST_F(GridSetupScreen, ChoosingABuoyMovesTheFocusToTheFileBox)
{
    showScreen();
    screen->activateWindow();
    optionOf(Buoy::LowerRight)->click();
    EXPECT_TRUE(optionOf(Buoy::LowerRight)->isChecked());
    EXPECT_EQ(screen->focusWidget(), box("ipt_file_description"));
}

TEST_F(GridSetupScreen, PlacingTheFiveBuoysByClicks)
{
    settings.WriteSetting(QStringLiteral("grid1File"), QStringLiteral("/old/grid.ipt"));
    placeAll(perspective);

    const std::pair<const char*, const char*> expected[] = {
        {"upper_left_x", " 1800"},  {"upper_left_y", " 1500"},  {"upper_right_x", " 7800"},
        {"upper_right_y", " 1500"}, {"lower_left_x", " 300"},   {"lower_left_y", " 6000"},
        {"lower_right_x", " 9300"}, {"lower_right_y", " 6000"}, {"txtCheckXpix", " 4080"},
        {"txtCheckYpix", " 3300"},
    };
    for (const auto& [name, value] : expected) {
        EXPECT_EQ(text(name), QString::fromLatin1(value)) << name;
        EXPECT_EQ(*fields.field(QString::fromLatin1(name)), QString::fromLatin1(value)) << name;
    }
    const Corners& live = calibration.liveCorners;
    EXPECT_EQ(live[slotIndex(CornerSlot::UpperLeft)].screenX, 1800);
    EXPECT_EQ(live[slotIndex(CornerSlot::UpperRight)].screenX, 7800);
    EXPECT_EQ(live[slotIndex(CornerSlot::LowerLeft)].screenY, 6000);
    EXPECT_EQ(live[slotIndex(CornerSlot::LowerRight)].screenX, 9300);
    EXPECT_EQ(calibration.checkScreenX, 4080);
    EXPECT_EQ(calibration.checkScreenY, 3300);
    EXPECT_EQ(screen->marker(Buoy::LowerRight), at(perspective.lowerRight.pixel));

    // Each click: the old mark where the buoy was (all at 0, 0 at first),
    // then the new one at the click; nothing else moved.
    EXPECT_EQ(pointsOf(Kind::OldPosition), std::vector<ScreenPoint>(5, ScreenPoint{0, 0}));
    EXPECT_EQ(pointsOf(Kind::NewPosition),
              (std::vector<ScreenPoint>{at(perspective.upperLeft.pixel), at(perspective.upperRight.pixel),
                                        at(perspective.lowerLeft.pixel), at(perspective.lowerRight.pixel),
                                        at(perspective.check.pixel)}));
    // The white cross of arm 90 twips (6 pixels) shows on the frame.
    const QImage image = screen->composedImage();
    EXPECT_EQ(image.pixelColor(120 + 4, 100), QColor(255, 255, 255));

    // Moving a buoy is an edit of the grid: its set-up file is forgotten.
    EXPECT_EQ(screen->statusPictureName(), QStringLiteral("msgbox03.ico"));
    EXPECT_EQ(mainForm->gridPictureName(1), QStringLiteral("SmallCaution.jpg"));
    EXPECT_EQ(settings.ReadSetting(QStringLiteral("grid1File"), QStringLiteral("unset")), QString());
}

TEST_F(GridSetupScreen, LockedPatternShiftsByTheSelectedBuoysOffset)
{
    placeAll(perspective);
    typeInto("txtCheckX", QStringLiteral("2"));
    auto* lock = control<QCheckBox>("chkboxGridLock");
    lock->click();
    ASSERT_TRUE(lock->isChecked());
    EXPECT_TRUE(shown("gridLockedLabel"));
    EXPECT_TRUE(shown("lblGridDragIt"));
    screen->clearDrawing();

    // The lower-right buoy goes 3 pixels right and 2 up; the others follow.
    place(Buoy::LowerRight, perspective.lowerRight.pixel + QPoint(3, -2));
    const std::pair<const char*, const char*> expected[] = {
        {"upper_left_x", " 1845"},  {"upper_left_y", " 1470"},  {"upper_right_x", " 7845"},
        {"upper_right_y", " 1470"}, {"lower_left_x", " 345"},   {"lower_left_y", " 5970"},
        {"lower_right_x", " 9345"}, {"lower_right_y", " 5970"}, {"txtCheckXpix", " 4125"},
        {"txtCheckYpix", " 3270"},
    };
    for (const auto& [name, value] : expected)
        EXPECT_EQ(text(name), QString::fromLatin1(value)) << name;
    EXPECT_EQ(calibration.liveCorners[slotIndex(CornerSlot::UpperLeft)].screenX, 1845);
    EXPECT_EQ(calibration.checkScreenY, 3270);

    // Old and new marks of all five, in the order UL, UR, LL, LR, check.
    EXPECT_EQ(pointsOf(Kind::OldPosition),
              (std::vector<ScreenPoint>{{1800, 1500}, {7800, 1500}, {300, 6000}, {9300, 6000}, {4080, 3300}}));
    EXPECT_EQ(pointsOf(Kind::NewPosition),
              (std::vector<ScreenPoint>{{1845, 1470}, {7845, 1470}, {345, 5970}, {9345, 5970}, {4125, 3270}}));

    lock->click();
    EXPECT_FALSE(shown("gridLockedLabel"));
    EXPECT_FALSE(shown("lblGridDragIt"));
}

TEST_F(GridSetupScreen, LockNeedsEveryBuoyPlaced)
{
    const QString message = QStringLiteral(
        "Cannot Lock Grid Until buoy positions have been entered for all four buoys and check buoy");
    auto* lock = control<QCheckBox>("chkboxGridLock");

    // A fresh screen.
    lock->click();
    EXPECT_FALSE(lock->isChecked());
    EXPECT_FALSE(shown("gridLockedLabel"));
    EXPECT_EQ(dialogs.texts(), QStringList{message});

    // All four corners placed, but txtCheckX still holds its placeholder.
    placeAll(perspective);
    lock->click();
    EXPECT_FALSE(lock->isChecked());
    EXPECT_EQ(dialogs.texts(), (QStringList{message, message}));
    EXPECT_EQ(dialogs.shown().back().buttons, OperatorDialogs::Buttons::Ok);

    typeInto("txtCheckX", QStringLiteral("2"));
    lock->click();
    EXPECT_TRUE(lock->isChecked());
    EXPECT_EQ(dialogs.texts().size(), 2);
}

TEST_F(GridSetupScreen, HeldArrowKeysNudgeFifteenTwipsPerTick)
{
    enterWithFrame();
    place(Buoy::UpperLeft, {100, 100});
    QWidget* focus = box("ipt_file_description");

    QTest::keyPress(focus, Qt::Key_Right);
    screen->pollArrowKeys();
    EXPECT_EQ(text("upper_left_x"), QStringLiteral(" 1515"));
    screen->pollArrowKeys(); // still held
    EXPECT_EQ(text("upper_left_x"), QStringLiteral(" 1530"));
    QTest::keyRelease(focus, Qt::Key_Right);
    screen->pollArrowKeys();
    EXPECT_EQ(text("upper_left_x"), QStringLiteral(" 1530"));

    // Pressed and released between two ticks still counts once.
    QTest::keyClick(focus, Qt::Key_Down);
    screen->pollArrowKeys();
    EXPECT_EQ(text("upper_left_y"), QStringLiteral(" 1515"));
    screen->pollArrowKeys();
    EXPECT_EQ(text("upper_left_y"), QStringLiteral(" 1515"));

    // Two keys in one tick: Left before Up.
    QTest::keyPress(focus, Qt::Key_Up);
    QTest::keyPress(focus, Qt::Key_Left);
    screen->clearDrawing();
    screen->pollArrowKeys();
    QTest::keyRelease(focus, Qt::Key_Up);
    QTest::keyRelease(focus, Qt::Key_Left);
    EXPECT_EQ(text("upper_left_x"), QStringLiteral(" 1515"));
    EXPECT_EQ(text("upper_left_y"), QStringLiteral(" 1500"));
    EXPECT_EQ(calibration.liveCorners[slotIndex(CornerSlot::UpperLeft)].screenX, 1515);

    // Every nudge ends by drawing the buoys afresh: only the overlay stays.
    ASSERT_EQ(screen->drawing().items().size(), 1u);
    EXPECT_EQ(screen->drawing().items()[0].kind, Kind::Overlay);

    // An arrow on an option button nudges but does not change the choice.
    QTest::keyPress(optionOf(Buoy::UpperLeft), Qt::Key_Down);
    EXPECT_TRUE(optionOf(Buoy::UpperLeft)->isChecked());
    screen->pollArrowKeys();
    QTest::keyRelease(optionOf(Buoy::UpperLeft), Qt::Key_Down);
    EXPECT_EQ(text("upper_left_y"), QStringLiteral(" 1515"));
}

TEST_F(GridSetupScreen, MicroAdjustButtonsMoveTheSelectedBuoyOrNothing)
{
    // No buoy chosen and no lock: nothing moves, the buoys are redrawn.
    control<QToolButton>("AdjustRight")->click();
    EXPECT_EQ(text("upper_left_x"), QStringLiteral("auto"));
    EXPECT_EQ(text("txtCheckXpix"), QString());
    ASSERT_EQ(screen->drawing().items().size(), 1u);
    EXPECT_EQ(screen->drawing().items()[0].kind, Kind::Overlay);

    place(Buoy::Check, {200, 200});
    control<QToolButton>("AdjustLeft")->click();
    control<QToolButton>("AdjustUp")->click();
    control<QToolButton>("AdjustUp")->click();
    control<QToolButton>("AdjustDown")->click();
    EXPECT_EQ(text("txtCheckXpix"), QStringLiteral(" 2985"));
    EXPECT_EQ(text("txtCheckYpix"), QStringLiteral(" 2985"));
    EXPECT_EQ(calibration.checkScreenX, 2985);
    EXPECT_EQ(calibration.checkScreenY, 2985);
    EXPECT_EQ(text("upper_left_x"), QStringLiteral("auto"));
}

// ---------------------------------------------------------------------------
// Editing boxes

TEST_F(GridSetupScreen, TypedSurveyValuesFeedTheLiveGridAndUnreadyIt)
{
    calibration.setReady(1, true);
    calibration.allGridsReady = true;
    settings.WriteSetting(QStringLiteral("grid1File"), QStringLiteral("/old/grid.ipt"));
    screen->setAccuracyControlsVisible(true);

    typeInto("ul_survey_x", QStringLiteral("12.5"));
    typeInto("jump_y", QStringLiteral("-2.5"));
    typeInto("txtCheckY", QStringLiteral("abc"));
    EXPECT_EQ(calibration.liveCorners[slotIndex(CornerSlot::UpperLeft)].surveyX, 12.5);
    EXPECT_EQ(calibration.jumpY, -2.5);
    EXPECT_EQ(calibration.checkSurveyY, 0.0); // not a number reads as 0
    EXPECT_EQ(fields.ul_survey_x, QStringLiteral("12.5"));
    EXPECT_FALSE(calibration.allGridsReady);
    EXPECT_FALSE(shown("btnAccuracyCheck"));
    EXPECT_FALSE(shown("fmAccuracyDisplay"));
    EXPECT_EQ(settings.ReadSetting(QStringLiteral("grid1File"), QStringLiteral("unset")), QString());
    EXPECT_EQ(mainForm->gridPictureName(1), QStringLiteral("SmallCaution.jpg"));

    // A typed screen position changes only the text.
    typeInto("upper_left_x", QStringLiteral("4500"));
    EXPECT_EQ(calibration.liveCorners[slotIndex(CornerSlot::UpperLeft)].screenX, 0.0);
    EXPECT_EQ(fields.upper_left_x, QStringLiteral("4500"));
}

// ---------------------------------------------------------------------------
// Solving

TEST_F(GridSetupScreen, FullSolveFromTypedSurveyToAReadyGrid)
{
    enterWithFrame();
    setUpGrid(perspective);
    press("Load");

    EXPECT_EQ(dialogs.texts(), QStringList{}); // front ratio 93.9: no warning
    EXPECT_EQ(screen->statusPictureName(), QStringLiteral("face02.ico"));
    EXPECT_TRUE(calibration.isReady(1));
    EXPECT_TRUE(calibration.allGridsReady);
    EXPECT_EQ(mainForm->gridPictureName(1), QStringLiteral("SmallSmiley.jpg"));
    EXPECT_EQ(mainForm->findChild<QLineEdit*>(QStringLiteral("txtGridDescription_0"))->text(),
              QStringLiteral("not saved"));
    EXPECT_TRUE(shown("btnAccuracyCheck"));
    EXPECT_TRUE(shown("fmAccuracyDisplay"));
    EXPECT_FALSE(shown("fmAccuracyConfig")); // Standard mode

    const GridRecord& record = calibration.grid(1);
    EXPECT_EQ(record.corners, calibration.liveCorners);
    EXPECT_EQ(record.checkScreenX, 4080);
    EXPECT_EQ(record.checkSurveyY, 70);
    EXPECT_EQ(calibration.surveyDirection, 1.0); // survey X grows to the left

    EXPECT_EQ(FileBytesOrEmpty(resultsPath),
              CrLfBytes({QStringLiteral("12-07-2026 14:03:11 New Set-up now in place"), QStringLiteral("No File"),
                     QString(), QStringLiteral("Grid Number:  1 "), QStringLiteral(" "),
                     QStringLiteral("Upper Left X,Y Pixels:  1800   1500"), QStringLiteral("Upper Left X,Y Survey: 10  100"),
                     QStringLiteral(" "), QStringLiteral("Lower Left X,Y Pixels:  300   6000"),
                     QStringLiteral("Lower Left X,Y Survey: 10  40"), QStringLiteral(" "),
                     QStringLiteral("Upper Right X,Y Pixels:  7800   1500"),
                     QStringLiteral("Upper Right X,Y Survey: -10  100"), QStringLiteral(" "),
                     QStringLiteral("Lower Right X,Y Pixels:  9300   6000"),
                     QStringLiteral("Lower Right X,Y Survey: -10  40"), QStringLiteral(" "),
                     QStringLiteral("Jump X,Y Survey: 0  10"), QStringLiteral(" "),
                     QStringLiteral("Check Buoy X,Y Pixels:  4080    3300 "),
                     QStringLiteral("Check Buoy X,Y Survey:  2    70 "), QStringLiteral(" ")}));
}

// Every way a solve can fail, each from a screen entered with a 640 x 480
// frame: what the operator is told, and whether the set-up report is written.
struct SolveFailure {
    const char* name;
    std::function<void(GridSetupScreen&)> setUp;
    QStringList messages;
    bool reportWritten;
};

void PrintTo(const SolveFailure& failure, std::ostream* os)
{
    *os << failure.name;
}

class SolveFailures : public GridSetupScreen, public ::testing::WithParamInterface<SolveFailure> {};

TEST_P(SolveFailures, AreReportedAndLeaveTheGridNotReady)
{
    enterWithFrame();
    GetParam().setUp(*this);
    press("Load");
    EXPECT_EQ(dialogs.texts(), GetParam().messages);
    EXPECT_EQ(screen->statusPictureName(), QStringLiteral("msgbox03.ico"));
    EXPECT_FALSE(calibration.isReady(1));
    EXPECT_FALSE(calibration.allGridsReady);
    EXPECT_NE(mainForm->gridPictureName(1), QStringLiteral("SmallSmiley.jpg"));
    EXPECT_EQ(FileBytesOrEmpty(resultsPath).contains("New Set-up now in place"), GetParam().reportWritten);
}

const QString notAllSet = QStringLiteral("Warning - Not all parameters have been set up on grid");

INSTANTIATE_TEST_SUITE_P(
    GridSetupScreen, SolveFailures,
    ::testing::Values(
        SolveFailure{"FreshScreen", [](GridSetupScreen&) {},
                     // The ratios of the "auto" boxes still run: a front ratio of 0.
                     {notAllSet, QStringLiteral("Front ratio is  0%  Zoom camera in until front is > 85%")}, true},
        SolveFailure{"JumpPointNotTyped",
                     [](GridSetupScreen& t) {
                         t.setUpGrid(perspective);
                         t.typeInto("jump_y", QStringLiteral("jump y"));
                     },
                     {notAllSet}, true},
        SolveFailure{"CheckBuoyNotPlaced",
                     [](GridSetupScreen& t) {
                         t.setUpGrid(perspective);
                         t.typeInto("txtCheckXpix", QString());
                     },
                     {QStringLiteral("Setup of Check Buoy is Mandatory"), notAllSet}, true},
        SolveFailure{"TwoCornersOnOnePoint",
                     [](GridSetupScreen& t) {
                         t.setUpGrid(perspective);
                         t.place(Buoy::UpperRight, perspective.upperLeft.pixel);
                     },
                     {QStringLiteral("No Unique Solution - Re-enter data"),
                      // Upper corners now 0 apart: the front ratio is unchanged.
                      },
                     true},
        SolveFailure{"CheckBuoyTwoPixelsOff",
                     [](GridSetupScreen& t) {
                         t.setUpGrid(perspective);
                         t.place(Buoy::Check, perspective.check.pixel + QPoint(2, 0));
                     },
                     {QStringLiteral("Check Buoy Does not Validate")}, false},
        SolveFailure{"FieldOfViewTooWide",
                     [](GridSetupScreen& t) {
                         // The far buoys only 80 pixels apart: the rays under
                         // the near ones spread 94.6 degrees.
                         ExampleGrid wide = perspective;
                         wide.upperLeft.pixel = {280, 100};
                         wide.upperRight.pixel = {360, 100};
                         wide.check.pixel = {306, 135};
                         t.setUpGrid(wide);
                     },
                     {QStringLiteral("Setup is not valid, Field of View is  96 degrees where the maximum allowed "
                                     "is 35 degrees")},
                     false}),
    [](const ::testing::TestParamInfo<SolveFailure>& info) { return std::string(info.param.name); });

TEST_F(GridSetupScreen, FailedCheckBuoyShowsWhereItShouldBe)
{
    enterWithFrame();
    setUpGrid(perspective);
    place(Buoy::Check, perspective.check.pixel + QPoint(2, 0));
    press("Load");

    // (2, 70) is at (4080, 3300) twips: lblCB at (4095, 3195), i.e. pixels
    // (273, 213).
    auto* hint = control<QLabel>("lblCB");
    EXPECT_TRUE(shown("lblCB"));
    EXPECT_EQ(hint->pos(), QPoint(273, 213));
    const auto hints = screen->drawing().itemsOf(Kind::CheckBuoyHint);
    ASSERT_EQ(hints.size(), 1u);
    EXPECT_NEAR(hints[0].at.x, 4080, 1e-6);
    EXPECT_NEAR(hints[0].at.y, 3300, 1e-6);
    EXPECT_EQ(screen->drawing().itemsOf(Kind::Overlay).size(), 1u);

    // Put right, the next solve hides the hint.
    place(Buoy::Check, perspective.check.pixel);
    press("Load");
    EXPECT_FALSE(shown("lblCB"));
    EXPECT_TRUE(calibration.isReady(1));
}

// ---------------------------------------------------------------------------
// Set-up files

TEST_F(GridSetupScreen, ASolvedGridSaysSoWithTheCheckBuoysResidual)
{
    enterWithFrame();
    setUpGrid(perspective);
    EXPECT_FALSE(shown("lblSolveSummary"));
    press("Load");
    ASSERT_TRUE(calibration.isReady(1));
    ASSERT_TRUE(shown("lblSolveSummary"));
    const QString summary = control<QLabel>("lblSolveSummary")->text();
    const QString before = QStringLiteral("Grid 1 is ready. The check buoy lies ");
    const QString after = QStringLiteral(" m from its surveyed position.");
    ASSERT_TRUE(summary.startsWith(before) && summary.endsWith(after)) << summary.toStdString();
    bool number = false;
    const double residual = summary.mid(before.size(), summary.size() - before.size() - after.size()).toDouble(&number);
    EXPECT_TRUE(number);
    EXPECT_LT(residual, 0.5); // a consistent set-up: the check buoy agrees
    EXPECT_TRUE(shown("lblAccuracyLegend"));

    // Any change to the set-up takes the words back with the ready picture.
    typeInto("txtCheckX", QStringLiteral("2.5"));
    EXPECT_FALSE(shown("lblSolveSummary"));
}

TEST_F(GridSetupScreen, SaveThenLoadAGridThroughTheMenus)
{
    enterWithFrame();
    setUpGrid(perspective);
    press("Load");
    ASSERT_TRUE(calibration.isReady(1));
    const Corners solvedCorners = calibration.liveCorners;
    const Coefficients solved = calibration.coefficients;

    const QString path = setupDir + QStringLiteral("/bank.ipt");
    dialogs.chooseFile(path).type(QStringLiteral("Left bank")).answer(Answer::Yes);
    trigger("gridSave");
    EXPECT_EQ(dialogs.texts().last(), QStringLiteral("Save Grid 1"));
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_TRUE(QFile::exists(path + QStringLiteral(".cb")));
    EXPECT_EQ(settings.ReadSetting(QStringLiteral("grid1File")), path);
    EXPECT_EQ(text("ipt_file_description"), path);
    EXPECT_EQ(text("ipt_file_description_2"), QStringLiteral("Left bank"));

    // The next run: a fresh screen loads the file.
    calibration = CalibrationState{};
    fields = GridSetupFields{};
    dialogs.clear();
    build();
    enterWithFrame();
    dialogs.chooseFile(path);
    trigger("gridLoad");

    EXPECT_EQ(dialogs.shown().size(), 1u); // one grid: no question which
    EXPECT_EQ(dialogs.shown()[0].selectedFilter, 3);
    EXPECT_EQ(calibration.liveCorners, solvedCorners);
    // The file keeps 15 significant digits.
    for (std::size_t i = 0; i < solved.size(); ++i)
        EXPECT_NEAR(calibration.coefficients[i], solved[i], std::abs(solved[i]) * 1e-14) << i;
    EXPECT_EQ(text("upper_left_x"), QStringLiteral(" 1800"));
    EXPECT_EQ(text("lr_survey_x"), QStringLiteral("-10"));
    EXPECT_EQ(text("jump_y"), QStringLiteral(" 10"));
    EXPECT_EQ(text("txtCheckXpix"), QStringLiteral(" 4080"));
    EXPECT_EQ(text("txtCheckY"), QStringLiteral(" 70"));
    EXPECT_EQ(text("ipt_file_description"), path);
    EXPECT_EQ(text("ipt_file_description_2"), QStringLiteral("Left bank"));
    EXPECT_EQ(screen->marker(Buoy::LowerRight), (ScreenPoint{9300, 6000}));
    EXPECT_EQ(screen->marker(Buoy::Check), (ScreenPoint{4080, 3300}));
    // A file with a check buoy loads ready, and its setting stays.
    EXPECT_EQ(screen->statusPictureName(), QStringLiteral("face02.ico"));
    EXPECT_TRUE(calibration.isReady(1));
    EXPECT_TRUE(calibration.allGridsReady);
    EXPECT_TRUE(shown("btnAccuracyCheck"));
    EXPECT_EQ(settings.ReadSetting(QStringLiteral("grid1File")), path);
    EXPECT_EQ(mainForm->gridPictureName(1), QStringLiteral("SmallSmiley.jpg"));
    EXPECT_TRUE(FileBytesOrEmpty(resultsPath).contains("Upper Left X,Y Twips:  1800   1500\r\n"));
}

TEST_F(GridSetupScreen, SavingClearsTheLock)
{
    placeAll(perspective);
    typeInto("txtCheckX", QStringLiteral("2"));
    control<QCheckBox>("chkboxGridLock")->click();
    ASSERT_TRUE(shown("gridLockedLabel"));
    dialogs.chooseFile(QString()); // cancelled
    trigger("gridSave");
    EXPECT_FALSE(control<QCheckBox>("chkboxGridLock")->isChecked());
    EXPECT_FALSE(shown("gridLockedLabel"));
}

// ---------------------------------------------------------------------------
// Grid selection

struct Cycling {
    int gridCount;
    std::vector<int> shownAfterEachPress;
};

void PrintTo(const Cycling& cycling, std::ostream* os)
{
    *os << cycling.gridCount << " grids";
}

class GridCycling : public GridSetupScreen, public ::testing::WithParamInterface<Cycling> {
protected:
    // Grid n's corners at n thousand twips and more, so each grid is known
    // by its boxes; grid 2 alone is ready.
    void fillGrids()
    {
        for (int n = 1; n <= 3; ++n) {
            GridRecord& r = calibration.grid(n);
            for (std::size_t k = 0; k < 4; ++k)
                r.corners[k] = GridCorner{1000.0 * n + 15 * k, 2000.0 + k, -5.5 * n, 40.0 + k};
            r.coefficients[0] = n;
            r.jumpX = 0.25 * n;
            r.jumpY = -3;
            r.checkScreenX = 4000 + n;
            r.checkScreenY = 3000;
            r.checkSurveyX = 1.5 * n;
            r.checkSurveyY = 60;
            r.setupFilePath = QStringLiteral("/setups/grid%1.ipt").arg(n);
            r.description = QStringLiteral("Camera %1").arg(n);
            settings.WriteSetting(QStringLiteral("grid%1File").arg(n), r.setupFilePath);
        }
        calibration.setReady(2, true);
    }
};

TEST_P(GridCycling, StepsThroughTheConfiguredGridsAndShowsEach)
{
    config.gridCount = GetParam().gridCount;
    fillGrids();
    for (int expected : GetParam().shownAfterEachPress) {
        press("grid_select");
        const GridRecord& r = calibration.grid(expected);
        EXPECT_EQ(control<QPushButton>("grid_select")->text(), QStringLiteral("Grid %1").arg(expected));
        EXPECT_EQ(calibration.currentGrid, expected);
        EXPECT_EQ(calibration.liveCorners, r.corners);
        EXPECT_EQ(calibration.coefficients[0], expected);
        EXPECT_EQ(calibration.jumpX, 0.25 * expected);
        const GridCorner& ul = r.corners[slotIndex(CornerSlot::UpperLeft)];
        EXPECT_EQ(text("upper_left_x"), NumberText(ul.screenX));
        EXPECT_EQ(text("ul_survey_x"), NumberText(ul.surveyX));
        EXPECT_EQ(text("jump_x"), NumberText(0.25 * expected));
        EXPECT_EQ(text("txtCheckXpix"), NumberText(4000 + expected));
        EXPECT_EQ(text("txtCheckX"), NumberText(1.5 * expected));
        EXPECT_EQ(text("ipt_file_description"), r.setupFilePath);
        EXPECT_EQ(text("ipt_file_description_2"), r.description);
        EXPECT_EQ(screen->marker(Buoy::UpperLeft), (ScreenPoint{ul.screenX, ul.screenY}));
        EXPECT_EQ(screen->marker(Buoy::Check), (ScreenPoint{4000.0 + expected, 3000}));
        const bool ready = expected == 2;
        EXPECT_EQ(screen->statusPictureName(), QString::fromLatin1(ready ? "face02.ico" : "msgbox03.ico"));
        EXPECT_EQ(shown("btnAccuracyCheck"), ready);
        EXPECT_TRUE(screen->drawing().items().empty());
    }
    // Showing a grid is not an edit of it: no set-up file is forgotten.
    for (int n = 1; n <= 3; ++n) {
        EXPECT_EQ(settings.ReadSetting(QStringLiteral("grid%1File").arg(n)), calibration.grid(n).setupFilePath);
        EXPECT_EQ(mainForm->gridPictureName(n), QString());
    }
    EXPECT_FALSE(calibration.allGridsReady);
}

INSTANTIATE_TEST_SUITE_P(GridSetupScreen, GridCycling,
                         ::testing::Values(Cycling{1, {1, 1, 1}}, Cycling{2, {2, 1, 2, 1}},
                                           Cycling{3, {2, 3, 1, 2, 3}}),
                         [](const ::testing::TestParamInfo<Cycling>& info) {
                             return "Grids" + std::to_string(info.param.gridCount);
                         });

TEST_F(GridSetupScreen, SelectingTheLastUnreadyGridMakesAllGridsReady)
{
    config.gridCount = 2;
    calibration.setReady(1, true);
    calibration.setReady(2, true);
    press("grid_select");
    EXPECT_TRUE(calibration.allGridsReady);
}

// ---------------------------------------------------------------------------
// Leaving

class Exit : public GridSetupScreen {
protected:
    // Grid 1's upper-left buoy 30.5 m from the jump point, the upper-right
    // one 20 m to its side.
    void readyTwoGrids()
    {
        config.gridCount = 2;
        GridRecord& g1 = calibration.grid(1);
        g1.corners[slotIndex(CornerSlot::UpperLeft)] = GridCorner{1800, 1500, 10, 30.5};
        g1.corners[slotIndex(CornerSlot::UpperRight)] = GridCorner{7800, 1500, -10, 30.5};
        g1.corners[slotIndex(CornerSlot::LowerLeft)] = GridCorner{300, 6000, 10, 0};
        g1.corners[slotIndex(CornerSlot::LowerRight)] = GridCorner{9300, 6000, -10, 0};
        g1.jumpX = 10;
        g1.jumpY = 0;
        g1.checkScreenX = 4080;
        g1.checkScreenY = 3300;
        g1.checkSurveyX = 2;
        g1.checkSurveyY = 17.25;
        g1.description = QStringLiteral("Tower");
        calibration.grid(2).description = QStringLiteral("Shore");
        calibration.setReady(1, true);
        calibration.setReady(2, true);
        press("grid_select"); // grid 2 on the screen
        ASSERT_TRUE(calibration.allGridsReady);
    }
};

TEST_F(Exit, WithEveryGridReadyHandsGridOneToTheMeasurementScreen)
{
    readyTwoGrids();
    showScreen();
    QSignalSpy main(screen.get(), &Grid_Setup::mainScreenRequested);
    QSignalSpy handOver(screen.get(), &Grid_Setup::gridHandedOver);
    trigger("gridExit");

    EXPECT_TRUE(dialogs.shown().empty());
    EXPECT_FALSE(screen->isVisible());
    EXPECT_FALSE(control<QTimer>("keyTimer")->isActive());
    EXPECT_EQ(main.count(), 1);
    ASSERT_EQ(handOver.count(), 1);
    const auto labels = handOver.at(0).at(0).value<FarBuoyLabels>();
    EXPECT_EQ(labels.maxbuoy, (PlacedLabel{QStringLiteral(" 100 feet"), QPointF(1700, 1100)}));
    EXPECT_EQ(labels.maxbuoym, (PlacedLabel{QStringLiteral(" 30.5 meters"), QPointF(1700, 900)}));
    // sqrt(20² + 30.5²) = 36.47 m: 119.6 feet.
    EXPECT_EQ(labels.minbuoy, (PlacedLabel{QStringLiteral(" 120 feet"), QPointF(7700, 1100)}));
    EXPECT_EQ(labels.minbuoym, (PlacedLabel{QStringLiteral(" 36.5 meters"), QPointF(7700, 900)}));
    EXPECT_EQ(handOver.at(0).at(1).toString(), QStringLiteral("Tower"));

    EXPECT_EQ(calibration.currentGrid, 1);
    EXPECT_EQ(control<QPushButton>("grid_select")->text(), QStringLiteral("Grid 1"));
    EXPECT_EQ(calibration.liveCorners, calibration.grid(1).corners);
    EXPECT_EQ(calibration.jumpX, 10);
    EXPECT_EQ(text("txtCheckX"), QStringLiteral(" 2"));
    EXPECT_EQ(text("txtCheckY"), QStringLiteral(" 17.25"));
    EXPECT_EQ(text("upper_left_x"), QStringLiteral(" 1800"));
    EXPECT_EQ(pointsOf(Kind::HandOver),
              (std::vector<ScreenPoint>{{1800, 1500}, {7800, 1500}, {300, 6000}, {9300, 6000}, {4080, 3300}}));
}

TEST_F(Exit, WithGridsNotReadyAsksAndMayStay)
{
    const QString question = QStringLiteral("Do you want to leave the grid setup with all configured grids not setup?");
    showScreen();
    QSignalSpy main(screen.get(), &Grid_Setup::mainScreenRequested);
    QSignalSpy handOver(screen.get(), &Grid_Setup::gridHandedOver);

    dialogs.answer(Answer::No);
    trigger("gridExit");
    EXPECT_TRUE(screen->isVisible());
    EXPECT_EQ(main.count(), 0);
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].text, question);
    EXPECT_EQ(dialogs.shown()[0].title, QStringLiteral("Grid Setup Error"));
    EXPECT_EQ(dialogs.shown()[0].buttons, OperatorDialogs::Buttons::YesNo);

    dialogs.answer(Answer::Yes);
    trigger("gridExit");
    EXPECT_FALSE(screen->isVisible());
    EXPECT_EQ(main.count(), 1);
    EXPECT_EQ(handOver.count(), 0);
    EXPECT_TRUE(screen->drawing().items().empty());
}

// ---------------------------------------------------------------------------
// Accuracy check

// Metres of jump distance at a screen point of the straight example grid,
// worked out here from its survey: X = (4800 - x) / 450, Y = (9000 - y) / 75,
// jump point (0, 10), normal tournament.
double straightDistance(double x, double y)
{
    const double sx = (4800 - x) / 450;
    const double sy = (9000 - y) / 75;
    return std::sqrt(sx * sx + (sy - 10) * (sy - 10)) + 2.1;
}

QString hundredths(double v)
{
    return NumberText(std::floor(v * 100 + 0.5) / 100);
}

TEST_F(GridSetupScreen, AccuracyCheckOfAKnownGridWritesTheDaysFile)
{
    enterWithFrame();
    setUpGrid(straight);
    press("Load");
    ASSERT_TRUE(calibration.isReady(1));
    ASSERT_EQ(dialogs.texts(), QStringList{});

    control<QRadioButton>("optAdvancedAccuracy")->click();
    EXPECT_TRUE(shown("fmAccuracyConfig"));
    control<QRadioButton>("optDetailMeasurement")->click();
    press("btnAccuracyCheck");
    EXPECT_EQ(dialogs.texts(), QStringList{});

    const QList<QByteArray> written = FileBytesOrEmpty(accuracyPath).split('\n');
    ASSERT_EQ(written.size(), 25 + 49 + 2 + 1);
    QStringList header;
    for (int i = 0; i < 25; ++i)
        header << QString::fromLatin1(written[i]).chopped(1);
    EXPECT_EQ(header,
              (QStringList{QStringLiteral("12-07-2026  14:03:11 Accuracy Check"),
                           QStringLiteral("Grid Set-up for accuracy check"), QStringLiteral("No File"), QString(),
                           QStringLiteral("Grid Number:  1 "), QStringLiteral(" "), QStringLiteral("Front Ratio:  93"),
                           QStringLiteral("Back Ratio:  93"), QStringLiteral("Upper Left X,Y Pixels:  300   1500"),
                           QStringLiteral("Upper Left X,Y Survey: 10  100"), QStringLiteral(" "),
                           QStringLiteral("Lower Left X,Y Pixels:  300   6000"),
                           QStringLiteral("Lower Left X,Y Survey: 10  40"), QStringLiteral(" "),
                           QStringLiteral("Upper Right X,Y Pixels:  9300   1500"),
                           QStringLiteral("Upper Right X,Y Survey: -10  100"), QStringLiteral(" "),
                           QStringLiteral("Lower Right X,Y Pixels:  9300   6000"),
                           QStringLiteral("Lower Right X,Y Survey: -10  40"), QStringLiteral(" "),
                           QStringLiteral("Jump X,Y Survey: 0  10"), QStringLiteral(" "),
                           QStringLiteral("Check Buoy X,Y Pixels:  3900    3750 "),
                           QStringLiteral("Check Buoy X,Y Survey: 2  70"), QStringLiteral(" ")}));

    // The upper-left buoy's line: distances there, one pixel right and one
    // pixel down; x and y are the survey point one pixel down.
    const double d0 = straightDistance(300, 1500);
    const double dH = straightDistance(315, 1500);
    const double dV = straightDistance(300, 1515);
    const double delta = std::max(std::abs(dH - d0), std::abs(dV - d0));
    EXPECT_EQ(QString::fromLatin1(written[25]).chopped(1),
              QStringLiteral("xpix:  300  ypix:  1500  x:  10  y:  99.8  distance: ") + hundredths(d0)
                  + QStringLiteral("  v inc: ") + hundredths(dV) + QStringLiteral("  h inc: ") + hundredths(dH)
                  + QStringLiteral("  delta: ") + hundredths(delta));
    // The lower-right buoy is the last node.
    EXPECT_TRUE(written[25 + 48].startsWith("xpix:  9300  ypix:  6000  x: "));
    EXPECT_EQ(written[74], "Accuracy Check Complete\r");
    EXPECT_EQ(written[75], "\r");

    // Advanced mode: all 49 labels, metres per pixel, under their nodes.
    auto* first = control<QLabel>("AccuracyIndicator_0");
    EXPECT_TRUE(first->isVisibleTo(screen.get()));
    EXPECT_EQ(first->text(), hundredths(delta));
    EXPECT_EQ(first->pos(), QPoint(20, 105)); // (300, 1500 + 75) twips
    int visible = 0;
    for (int i = 0; i <= 50; ++i)
        visible += screen->findChild<QLabel*>(QStringLiteral("AccuracyIndicator_%1").arg(i))->isVisibleTo(screen.get());
    EXPECT_EQ(visible, 49);
    EXPECT_EQ(screen->drawing().itemsOf(Kind::Overlay).size(), 1u);

    // Any edit of the grid takes the labels away.
    typeInto("jump_x", QStringLiteral("0.5"));
    EXPECT_FALSE(first->isVisibleTo(screen.get()));
    EXPECT_FALSE(shown("btnAccuracyCheck"));
}

TEST_F(GridSetupScreen, StandardAccuracyShowsTheChosenSkierPathLine)
{
    enterWithFrame();
    setUpGrid(straight);
    press("Load");
    ASSERT_TRUE(calibration.isReady(1));
    control<QRadioButton>("optDisplayDistance")->setChecked(true);

    // Out of range and cancelled answers are asked again.
    dialogs.type(QStringLiteral("8")).cancelInput().type(QStringLiteral("3"));
    press("btnAccuracyCheck");
    EXPECT_TRUE(control<QRadioButton>("optHomolgationLevel")->isChecked());
    const QString prompt = QStringLiteral("Pick the line number that best represents where the skier will land");
    EXPECT_EQ(dialogs.texts(), (QStringList{prompt, prompt, prompt}));
    EXPECT_EQ(dialogs.shown()[0].title, QStringLiteral("Input the skier path line"));
    EXPECT_EQ(dialogs.shown()[0].at, QPoint(100, 100));

    for (int i = 0; i <= 50; ++i) {
        auto* label = screen->findChild<QLabel*>(QStringLiteral("AccuracyIndicator_%1").arg(i));
        const bool onLine3 = i < 49 && i % 7 == 2;
        EXPECT_EQ(label->isVisibleTo(screen.get()), onLine3) << i;
        if (onLine3) {
            EXPECT_TRUE(QStringList({QStringLiteral("R"), QStringLiteral("L"), QStringLiteral("C"),
                                     QStringLiteral("NH")})
                            .contains(label->text()))
                << i;
        }
    }
    for (int r = 0; r < 7; ++r)
        EXPECT_FALSE(screen->findChild<QLabel*>(QStringLiteral("LineLabel_%1").arg(r))->isVisibleTo(screen.get()));
    EXPECT_TRUE(screen->drawing().itemsOf(Kind::Line).empty());

    // A second check the same day appends a second block.
    dialogs.type(QStringLiteral("1"));
    press("btnAccuracyCheck");
    EXPECT_EQ(FileBytesOrEmpty(accuracyPath).count("Accuracy Check Complete"), 2);
}

// ---------------------------------------------------------------------------
// Pictures

TEST_F(GridSetupScreen, LoadPictureOffersBitmapsOfTheCapturesDirectory)
{
    const QString picture = capturesDir + QStringLiteral("frame.bmp");
    ASSERT_TRUE(testFrame(720, 480).save(picture));
    dialogs.chooseFile(picture);
    trigger("mnuLoadPicture");
    ASSERT_EQ(dialogs.shown().size(), 1u);
    const auto& dialog = dialogs.shown()[0];
    EXPECT_EQ(dialog.text, QStringLiteral("All Files (*.*)|*.*|Text Files (*.txt)|*.txt|Jump Picture Files "
                                          "(*.gif)|*.gif|Jump Picture Files (*.bmp)|*.bmp|Jump Picture Files "
                                          "(*.jpg)|*.jpg|"));
    EXPECT_EQ(dialog.selectedFilter, 4);
    EXPECT_EQ(dialog.initial, capturesDir);
    EXPECT_EQ(canvas()->picture().size(), QSize(720, 480));
    // 720 pixels are 19050 HIMETRIC units.
    EXPECT_EQ(text("txtPicWidth"), QStringLiteral("10783.0188679245"));
    EXPECT_EQ(calibration.pictureWidth, QStringLiteral("10783.0188679245"));

    // Cancelled, or not a picture: the old picture stays.
    const QString notPicture = capturesDir + QStringLiteral("notes.txt");
    QFile f(notPicture);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a picture");
    f.close();
    dialogs.chooseFile(QString()).chooseFile(notPicture);
    trigger("mnuLoadPicture");
    trigger("mnuLoadPicture");
    EXPECT_EQ(canvas()->picture().size(), QSize(720, 480));
    EXPECT_EQ(dialogs.shown().size(), 3u); // no message for either

    trigger("mnuClearPicture");
    EXPECT_FALSE(canvas()->hasPicture());
}

TEST_F(GridSetupScreen, LoadPictureWithoutTheCapturesDirectoryTellsTheOperator)
{
    config.capturesDirectory = dir.filePath(QStringLiteral("gone"));
    trigger("mnuLoadPicture");
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].text, QStringLiteral("Invalid path, change in configuration screen"));
    EXPECT_EQ(dialogs.shown()[0].icon, OperatorDialogs::Icon::Warning);
}

TEST_F(GridSetupScreen, PasteTakesTheClipboardPicture)
{
    QGuiApplication::clipboard()->setImage(testFrame(400, 300, QColor(200, 10, 10)));
    trigger("mnuPaste");
    ASSERT_EQ(canvas()->picture().size(), QSize(400, 300));
    EXPECT_EQ(canvas()->picture().pixelColor(5, 5), QColor(200, 10, 10));
}

// ---------------------------------------------------------------------------
// Drag labels

TEST_F(GridSetupScreen, DragLabelsMoveTheirGroups)
{
    showScreen();
    const auto drag = [](QWidget* label, QPoint by) {
        QTest::mousePress(label, Qt::LeftButton, {}, QPoint(5, 5));
        QMouseEvent move(QEvent::MouseMove, QPointF(QPoint(5, 5) + by), label->mapToGlobal(QPointF(QPoint(5, 5) + by)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(label, &move);
        QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(5, 5) + by);
    };

    auto* bar = control<QScrollBar>("Setup_Cross_size");
    const QPoint barAt = bar->pos();
    drag(control<QLabel>("CrossSizeLabel"), {-20, -10});
    EXPECT_EQ(bar->pos(), barAt + QPoint(-20, -10));

    auto* up = control<QToolButton>("AdjustUp");
    const QPoint upAt = up->pos();
    drag(control<QLabel>("AdjustmentLabel"), {30, -40});
    EXPECT_EQ(up->pos(), upAt + QPoint(30, -40));

    auto* locked = control<QLabel>("gridLockedLabel");
    const QPoint lockedAt = locked->pos();
    drag(control<QLabel>("lblGridDragIt"), {7, 9});
    EXPECT_EQ(locked->pos(), lockedAt + QPoint(7, 9));
}

TEST_F(GridSetupScreen, CalibrationLinesStayOnTheFrameUntilCleared)
{
    QSignalSpy requested(screen.get(), &Grid_Setup::calibrationToolRequested);
    trigger("mnuCalibrate");
    EXPECT_EQ(requested.count(), 1);

    screen->drawLineTwips(150, 1500, 3000, 1500, QColor(255, 255, 255));
    const auto drawn = screen->drawing().itemsOf(Kind::Line);
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].to, (ScreenPoint{3000, 1500}));
    EXPECT_EQ(screen->composedImage().pixelColor(50, 100), QColor(255, 255, 255));
    press("show_alignment");
    EXPECT_TRUE(screen->drawing().itemsOf(Kind::Line).empty());
}

// ---------------------------------------------------------------------------
// In the running program

class InTheProgram : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString videoDir = dir.filePath(QStringLiteral("videos"));
    SettingsStore settings{dir.filePath(QStringLiteral("settings.ini"))};
    ScriptedDialogs dialogs;
    FixedClock clock{QDateTime(QDate(2026, 7, 3), QTime(9, 5, 7))};

    // A tower camera grid with its check buoy, configured as grid 1.
    void configureTowerGrid()
    {
        ASSERT_TRUE(QDir().mkpath(videoDir));
        const QString ipt = dir.filePath(QStringLiteral("tower.ipt"));
        ASSERT_TRUE(WriteTowerGridFiles(ipt));
        settings.WriteSetting(QStringLiteral("logpath"), videoDir);
        settings.WriteSetting(QStringLiteral("grids"), QStringLiteral("1"));
        settings.WriteSetting(QStringLiteral("grid1File"), ipt);
        dialogs.answer(Answer::No); // no emergency reset
    }
};

TEST_F(InTheProgram, ReloadedGridShowsOnTheSetupScreen)
{
    configureTowerGrid();
    Rampscope app(settings, dialogs, clock);
    app.start();

    Grid_Setup& setup = app.gridSetup();
    const auto textOf = [&](const char* name) {
        return setup.findChild<QLineEdit*>(QString::fromLatin1(name))->text();
    };
    EXPECT_EQ(textOf("upper_right_x"), QStringLiteral(" 7500"));
    EXPECT_EQ(textOf("ll_survey_x"), QStringLiteral("-25"));
    EXPECT_EQ(textOf("txtCheckXpix"), QStringLiteral(" 4800"));
    EXPECT_EQ(textOf("ipt_file_description_2"), QStringLiteral("Tower camera"));
    EXPECT_EQ(setup.marker(Grid_Setup::Buoy::UpperRight), (ScreenPoint{7500, 2400}));
    // The screen was loaded before the reload, so its load did not undo it.
    EXPECT_EQ(setup.statusPictureName(), QStringLiteral("face02.ico"));
    EXPECT_TRUE(app.calibration().allGridsReady);
    EXPECT_TRUE(setup.findChild<QPushButton*>(QStringLiteral("btnAccuracyCheck"))->isVisibleTo(&setup));
    EXPECT_EQ(app.mainForm().gridPictureName(1), QStringLiteral("SmallSmiley.jpg"));
}

TEST_F(InTheProgram, LeavingTheSetupScreenShowsTheMainScreenAndHandsOverGridOne)
{
    configureTowerGrid();
    Rampscope app(settings, dialogs, clock);
    app.start();
    Grid_Setup& setup = app.gridSetup();
    app.mainForm().findChild<QPushButton*>(QStringLiteral("cmdSetup"))->click();
    EXPECT_FALSE(app.mainForm().isVisible());
    EXPECT_TRUE(setup.isVisible());

    setup.findChild<QAction*>(QStringLiteral("gridExit"))->trigger();
    EXPECT_FALSE(setup.isVisible());
    EXPECT_TRUE(app.mainForm().isVisible());
    // Upper-left buoy (-25, 90), jump point (0, -2.5): 95.82 m.
    QLabel* maxbuoy = app.measure().findChild<QLabel*>(QStringLiteral("maxbuoy"));
    QLabel* maxbuoym = app.measure().findChild<QLabel*>(QStringLiteral("maxbuoym"));
    EXPECT_EQ(maxbuoy->text(), QStringLiteral(" 314 feet"));
    EXPECT_EQ(maxbuoym->text(), QStringLiteral(" 95.8 meters"));
    EXPECT_EQ(app.measure().findChild<QLineEdit*>(QStringLiteral("grid_description"))->text(),
              QStringLiteral("Tower camera"));
}

TEST_F(InTheProgram, CalibrateMenuOpensTheLineToolWhichDrawsOnBothScreens)
{
    configureTowerGrid();
    Rampscope app(settings, dialogs, clock);
    app.start();
    Grid_Setup& setup = app.gridSetup();
    setup.findChild<QAction*>(QStringLiteral("mnuCalibrate"))->trigger();
    EXPECT_TRUE(app.calibrate().isVisible());
    // The measurement screen first, then the set-up screen.
    EXPECT_EQ(app.calibrate().surfaces(), (std::vector<LineDrawingSurface*>{&app.measure(), &setup}));
    app.calibrate().drawLine();
    // The first draw paints the last line (all zeros) in magenta, then the
    // new one in white.
    const auto drawn = setup.drawing().itemsOf(SetupDrawing::Kind::Line);
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[0].color, QColor(255, 0, 255));
    EXPECT_EQ(drawn[1].color, QColor(255, 255, 255));
}

} // namespace
