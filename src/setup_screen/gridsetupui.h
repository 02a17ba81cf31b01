#pragma once

#include "widgets/pictureparts.h"

#include <QSize>
#include <QString>

#include <array>
#include <vector>

class Magnifier;
class PictureCanvas;
class QAction;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMainWindow;
class QMenu;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QTimer;
class QToolButton;
class QWidget;
class QColor;
struct AccuracyLabel;

// The controls of the grid set-up screen, built in code. Every control
// carries the screen's control name as its objectName and starts with the
// screen's own caption or text. The frame (fitted, zoomed and panned) fills the left side
// with the draggable groups, the check-buoy hint and the accuracy labels
// lying on it; the buoy choice, the boxes and the buttons stand on the
// right.
struct GridSetupUi {
    // Label arrays: AccuracyIndicator items 0..50 (one per mesh point, the
    // last two never used), LineLabel items 0..6 (captions 1..7).
    static constexpr int accuracyIndicatorCount = 51;
    static constexpr int lineLabelCount = 7;

    // Menus.
    QAction* gridLoad = nullptr;
    QMenu* mnuSetupPicture = nullptr;
    QAction* mnuLoadPicture = nullptr;
    QAction* mnuClearPicture = nullptr;
    QAction* mnuPaste = nullptr;
    QAction* gridSave = nullptr;
    QAction* mnuCalibrate = nullptr;
    QAction* gridExit = nullptr;

    // The frame and what lies on it; the draggable groups float above it in
    // the picture area.
    PictureArea pictureParts;
    QWidget* pictureArea = nullptr;
    PictureCanvas* canvas = nullptr;
    Magnifier* magnifier = nullptr;
    QLabel* lblCB = nullptr;
    std::array<QLabel*, accuracyIndicatorCount> AccuracyIndicator{};
    std::array<QLabel*, lineLabelCount> LineLabel{};

    // Draggable groups over the frame.
    QLabel* AdjustmentLabel = nullptr;
    QToolButton* AdjustLeft = nullptr;
    QToolButton* AdjustRight = nullptr;
    QToolButton* AdjustUp = nullptr;
    QToolButton* AdjustDown = nullptr;
    QLabel* CrossSizeLabel = nullptr;
    QScrollBar* Setup_Cross_size = nullptr;
    QLabel* gridLockedLabel = nullptr;
    QLabel* lblGridDragIt = nullptr;

    // Which buoy a click places.
    QGroupBox* Frame1 = nullptr;
    QButtonGroup* buoyGroup = nullptr;
    QRadioButton* upper_left_button = nullptr;
    QRadioButton* upper_right_button = nullptr;
    QRadioButton* lower_left_button = nullptr;
    QRadioButton* lower_right_button = nullptr;
    QRadioButton* optCheckBuoy = nullptr;

    // The boxes.
    QLineEdit* upper_left_x = nullptr;
    QLineEdit* upper_left_y = nullptr;
    QLineEdit* upper_right_x = nullptr;
    QLineEdit* upper_right_y = nullptr;
    QLineEdit* lower_left_x = nullptr;
    QLineEdit* lower_left_y = nullptr;
    QLineEdit* lower_right_x = nullptr;
    QLineEdit* lower_right_y = nullptr;
    QLineEdit* ul_survey_x = nullptr;
    QLineEdit* ul_survey_y = nullptr;
    QLineEdit* ur_survey_x = nullptr;
    QLineEdit* ur_survey_y = nullptr;
    QLineEdit* ll_survey_x = nullptr;
    QLineEdit* ll_survey_y = nullptr;
    QLineEdit* lr_survey_x = nullptr;
    QLineEdit* lr_survey_y = nullptr;
    QLineEdit* jump_x = nullptr;
    QLineEdit* jump_y = nullptr;
    QLineEdit* txtCheckX = nullptr;
    QLineEdit* txtCheckY = nullptr;
    QLineEdit* txtCheckXpix = nullptr;
    QLineEdit* txtCheckYpix = nullptr;
    QLineEdit* txtPicWidth = nullptr;
    QLineEdit* txtPicHeight = nullptr;
    QLineEdit* ipt_file_description = nullptr;
    QLineEdit* ipt_file_description_2 = nullptr;

    // Buttons and the grid's state.
    QPushButton* grid_select = nullptr;
    QPushButton* Load = nullptr;
    QPushButton* show_alignment = nullptr;
    QCheckBox* chkboxGridLock = nullptr;
    QCheckBox* chkMagnifier = nullptr;
    QLabel* grid_state_icon = nullptr;
    QLabel* lblSolveSummary = nullptr;     // a successful solve in words
    QLabel* lblAccuracyLegend = nullptr;   // what the homologation letters mean

    // Accuracy check.
    QPushButton* btnAccuracyCheck = nullptr;
    QGroupBox* fmAccuracyDisplay = nullptr;
    QRadioButton* optStandardAccuracy = nullptr;
    QRadioButton* optAdvancedAccuracy = nullptr;
    QGroupBox* fmAccuracyConfig = nullptr;
    QRadioButton* optHomolgationLevel = nullptr;
    QRadioButton* optDisplayDistance = nullptr;
    QRadioButton* optDetailMeasurement = nullptr;

    QTimer* keyTimer = nullptr;

    // The boxes under their control names, in the order GridSetupFields
    // lists them (grid_select is the button and not among them).
    std::vector<std::pair<QString, QLineEdit*>> boxes() const;

    void setupUi(QMainWindow* form);

    // grid_state_icon: an exclamation sign (not ready) or a smiling face
    // (ready), drawn rather than shipped as files.
    void showGridState(bool ready);
    // The accuracy button with its choices (the display kinds only for the
    // advanced check).
    void setAccuracyControlsVisible(bool visible);
    // "GRID LOCKED!" and its handle, raised above the frame when shown.
    void showGridLocked(bool locked);
    // An accuracy or line label on the frame, in the given colour.
    void placeAccuracyLabel(QLabel* label, const AccuracyLabel& item, const QColor& color);

    // Puts the draggable groups back in the band below the frame, so that
    // at first they cover no buoy.
    void placeFloatingGroups();
};
