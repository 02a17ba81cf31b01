#pragma once

#include "measure/measurestate.h"
#include "widgets/pictureparts.h"

#include <QSize>

#include <array>
#include <utility>

class Magnifier;
class PictureCanvas;
class QAction;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMainWindow;
class QString;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QTimer;
class QToolButton;
class QWidget;

// The controls of the measurement screen, built in code. Every control
// carries the screen's control name as its objectName and starts with the
// screen's own caption or text. The picture area holds the frame (fitted,
// zoomed and panned) with the far-buoy labels on it, and the draggable groups
// floating above it; the operator's controls stand beside it.
struct MeasureUi {
    // Menus.
    QAction* LoadPict = nullptr;
    QAction* mnuPaste = nullptr;
    QAction* SavePict = nullptr;
    QAction* mnuResults = nullptr;
    QAction* mnuCalibrate = nullptr;
    QAction* mnuCapture = nullptr;
    QAction* mnuViewLog = nullptr;
    QAction* Exit = nullptr;

    // The picture and what lies on it.
    PictureArea pictureParts;
    QWidget* pictureArea = nullptr;
    PictureCanvas* canvas = nullptr;
    Magnifier* magnifier = nullptr;
    QLabel* maxbuoy = nullptr;
    QLabel* maxbuoym = nullptr;
    QLabel* minbuoy = nullptr;
    QLabel* minbuoym = nullptr;

    // Draggable groups over the picture.
    QLabel* AdjustmentLabel = nullptr;
    QToolButton* AdjustUp = nullptr;
    QToolButton* AdjustDown = nullptr;
    QToolButton* AdjustLeft = nullptr;
    QToolButton* AdjustRight = nullptr;
    QLabel* CrossLabel = nullptr;
    QScrollBar* CrossSize = nullptr;
    QLabel* FrozenSign = nullptr;
    QLabel* gridlabel = nullptr;
    QLineEdit* grid_description = nullptr;
    QLineEdit* gif_file_name = nullptr;

    // Skier, jump and result.
    QComboBox* Skier_name = nullptr;
    QLineEdit* Jump_no = nullptr;
    QGroupBox* Frame1 = nullptr;
    QButtonGroup* statusGroup = nullptr;
    QRadioButton* optJumpOK = nullptr;
    QRadioButton* Pass = nullptr;
    QRadioButton* Fall = nullptr;
    QRadioButton* Other_Grid = nullptr;
    QRadioButton* M_Reride = nullptr;
    QRadioButton* O_reride = nullptr;
    QRadioButton* Make_comment = nullptr;
    QLineEdit* Comment = nullptr;
    QPushButton* Record = nullptr;
    QLabel* IWSFlabel = nullptr;
    QLineEdit* distance = nullptr;
    QLabel* AWSAlabel = nullptr;
    QLineEdit* distance_ft = nullptr;
    QLineEdit* barefoot_indicator = nullptr;

    // Verify mode.
    QPushButton* verify = nullptr;
    QLabel* UnofficialJump = nullptr;
    QLineEdit* VerifyDistance = nullptr;
    QLineEdit* xposition = nullptr;
    QLineEdit* yposition = nullptr;
    QLineEdit* xtwips = nullptr;
    QLineEdit* ytwips = nullptr;

    // Grid, picture sources and leaving.
    QPushButton* Set_grid = nullptr;
    QPushButton* Show_grid = nullptr;
    QPushButton* Unfreeze = nullptr;
    QPushButton* ClipSnapShot = nullptr;
    QPushButton* ImgSnapShot = nullptr;
    QCheckBox* cbAutoLoadClipboard = nullptr;
    QCheckBox* chkMagnifier = nullptr;
    QPushButton* btnNextJump = nullptr;

    QTimer* keyTimer = nullptr;
    QTimer* loadTimer = nullptr;

    // The four arrow buttons with their label: shown by a click on the
    // picture, hidden when the jump ends.
    std::array<QWidget*, 5> fineAdjustment() const;

    void setupUi(QMainWindow* form);

    // The seven status options with the option each stands for.
    std::array<std::pair<QRadioButton*, StatusOption>, 7> statusOptions() const;

    // The label colour choice: "white", "black" or "yellow" paints every
    // caption in that colour; anything else gives the options, the result
    // labels and the labels on the frame their own colours.
    void applyLabelColours(const QString& choice);
    // The verify readouts with UNOFFICIAL JUMP.
    void setReadoutsVisible(bool visible);
    // The micro-adjust group, raised above the frame when shown.
    void setFineAdjustmentVisible(bool visible);
    // The far-buoy labels emptied.
    void clearFarBuoyLabels();
    // The picture's name under the grid description.
    void showPictureName(const QString& name);

    // Puts the floating groups back at their places: the grid description
    // at the picture area's top-left corner, FROZEN at the top-right, the
    // arrow buttons and the cross size in the band below the frame, so that
    // at first they cover no buoy.
    void placeFloatingGroups();
};
