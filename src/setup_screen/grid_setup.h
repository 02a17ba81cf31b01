#pragma once

#include "grid/calibrationline.h"
#include "grid/gridscreeneffects.h"
#include "grid/overlay.h"
#include "grid/transform.h"
#include "setup_screen/setupdrawing.h"
#include "widgets/heldkeys.h"

#include <QMainWindow>
#include <QSize>
#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <optional>

class Clock;
class OperatorDialogs;
class QImage;
class SettingsStore;
struct AccuracyCheckResult;
struct CalibrationState;
struct ConfigState;
struct GridContext;
struct GridSetupFields;
struct GridSetupUi;

// The grid set-up screen ("Grid Setup"): the operator places the four corner
// buoys and the check buoy on a still frame, types their surveyed positions
// and the jump point, and solves, saves or loads the grid; up to three grids
// are set up in turn. Built once, then only hidden and shown, so markers,
// boxes and the lock survive between visits.
//
// The screen is the set-up part of GridScreenEffects; the main screen's and
// the measurement screen's parts are passed on to the other screens.
class Grid_Setup final : public QMainWindow, public GridScreenEffects, public LineDrawingSurface {
    Q_OBJECT

public:
    // What the screen works on, owned by the application object. The boxes'
    // texts live in fields, shared with the configuration load's grid reload,
    // so a grid reloaded at start-up shows in the boxes.
    struct Environment {
        ConfigState& config;
        CalibrationState& calibration;
        SettingsStore& settings;
        GridSetupFields& fields;
        QString& screenMode;
        OperatorDialogs& dialogs;
        const Clock& clock;
        GridScreenEffects& otherScreens; // main screen row, measurement grid description
        QString applicationDirectory;    // where currentcapture.bmp is found
    };

    // The five buoys in the order every click and nudge visits them.
    enum class Buoy { UpperLeft = 0, UpperRight = 1, LowerLeft = 2, LowerRight = 3, Check = 4 };
    static constexpr int buoyCount = 5;

    enum class Nudge { Left, Up, Right, Down };

    static constexpr const char* notReadyPicture = "msgbox03.ico";
    static constexpr const char* readyPicture = "face02.ico";

    // The screen's load (runs once, here): Standard accuracy with
    // homologation levels, the grid button for currentGrid, markers at 0,
    // allGridsReady false, the not-ready picture, the accuracy controls and
    // lblCB hidden, the picture size 12000 x 9000 twips.
    explicit Grid_Setup(Environment environment, QWidget* parent = nullptr);
    ~Grid_Setup() override;

    // The screen becomes active: a frame just chosen on the frame selection
    // screen (ScreenMode "SelectFrame") becomes the picture, then keyTimer
    // runs. Called when the screen is shown or its window activated.
    void activate();

    // The operator's actions, callable directly.
    void chooseBuoy(Buoy buoy);
    void clickPicture(QPointF twips);
    void nudge(Nudge step);
    void show_alignment();
    void selectNextGrid();
    void solve();
    void loadGridFile();
    void saveGridFile();
    void loadPictureFile();
    void clearPicture();
    void pastePicture();
    void runAccuracyCheck();
    void exitScreen();
    // The magnifier switched on or off, as its own check box would.
    void setMagnifierOn(bool on);

    // One tick of keyTimer: each arrow key down, or pressed since the last
    // tick, nudges in the order Left, Up, Right, Down.
    void pollArrowKeys();

    // Marker of a buoy (twips); the check buoy's is the live check buoy.
    ScreenPoint marker(Buoy buoy) const;
    double markerCircleRadius() const { return m_markerCircleRadius; }
    // The picture grid_state_icon shows: "msgbox03.ico" or "face02.ico".
    QString statusPictureName() const { return m_statusPicture; }
    const SetupDrawing& drawing() const { return m_drawing; }
    // The frame as the operator sees it, with the drawing and the labels.
    QImage composedImage();

    // GridScreenEffects, set-up screen part.
    void setSetupStatusPicture(bool ready) override;
    void setSolveSummary(const QString& text) override;
    void setAccuracyControlsVisible(bool visible) override;
    void clearAccuracyIndicator() override;
    void clearGridLock() override;
    void clearDrawing() override;
    void hideCheckBuoyHint() override;
    void showCheckBuoyHint(ScreenPoint predicted) override;
    void setupFieldsChanged() override;
    // Passed on to the other screens.
    void setMainGridPicture(int grid, bool ready) override;
    void setMainGridDescription(int grid, const QString& text) override;
    void setMeasureGridDescription(const QString& text) override;

    // LineDrawingSurface: the calibration line tool's lines.
    void drawLineTwips(double x1, double y1, double x2, double y2, const QColor& color) override;

Q_SIGNALS:
    // Leaving: the main screen is shown again.
    void mainScreenRequested();
    // Leaving with every grid ready: grid 1 goes to the measurement screen,
    // with its far-buoy labels and its description.
    void gridHandedOver(const FarBuoyLabels& labels, const QString& gridDescription);
    // mnuCalibrate: show the calibration line tool.
    void calibrationToolRequested();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    // The window's close button leaves the screen the way its exit does,
    // so the operator is never left without a screen.
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectControls();
    void load();
    GridContext context();

    // Boxes: the screen's own writes leave the grid as it is; the operator's
    // edits go through boxEdited.
    void writeBox(const QString& name, const QString& text);
    void boxEdited(const QString& name, const QString& text);
    void showFields();
    void setGridCaption(int grid);

    void setMarker(Buoy buoy, ScreenPoint at);
    // Moves the selected buoy, or all five while the lock is ticked, in the
    // order upper left, upper right, lower left, lower right, check buoy:
    // old-position mark, new position (to), boxes, new-position mark.
    void moveBuoys(std::optional<Buoy> selected, const std::function<ScreenPoint(Buoy, ScreenPoint)>& to);
    std::optional<Buoy> selectedBuoy() const;
    // The buoy's two position boxes from its marker; a move by the operator
    // also runs the edit steps for each box whose text changed.
    void writeMarkerBoxes(Buoy buoy, bool operatorMove);
    // Grid n's record into the live state, the markers and every box, and
    // its readiness into the status picture and the accuracy controls.
    void showGrid(int grid);
    void Show_grid();
    OverlayStyle overlayStyle() const;

    void lockToggled(bool ticked);
    bool allBuoysPlaced() const;
    void setPicture(const QImage& picture);
    void applyPictureSize(const QImage& picture);
    void handOverGridOne();
    void showAccuracyLabels(const AccuracyCheckResult& result);
    void stopKeys();

    Environment m_env;
    std::unique_ptr<GridSetupUi> m_ui;
    SetupDrawing m_drawing;
    std::array<ScreenPoint, 4> m_cornerMarkers{}; // UL, UR, LL, LR
    double m_markerCircleRadius = 0.0;
    QString m_statusPicture;
    QSize m_fittedFrame{640, 480};

    HeldKeys m_heldKeys;
};
