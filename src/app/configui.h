#pragma once

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMainWindow;
class QPushButton;
class QRadioButton;
class QSpinBox;

// The controls of the configuration screen, built in code. Every control
// carries the screen's control name as its objectName and starts with the
// screen's own caption or text.
struct ConfigUi {
    QAction* mnuExit = nullptr;

    QLineEdit* TournamentName = nullptr;
    QLineEdit* ResultsPathName = nullptr;
    QLineEdit* CapturesPathName = nullptr;
    QLineEdit* SetupFilesPathName = nullptr;
    QLineEdit* SkierNameFile = nullptr;
    QPushButton* btnFindResults = nullptr;
    QPushButton* btnFindNames = nullptr;
    // Folder choosers beside the two directory boxes.
    QPushButton* btnFindCaptures = nullptr;
    QPushButton* btnFindSetupFiles = nullptr;

    QRadioButton* Opt1Grid = nullptr;
    QRadioButton* Opt2grid = nullptr;
    QRadioButton* Opt3grid = nullptr;

    QCheckBox* Barefoot_box = nullptr;
    QCheckBox* SitSki_box = nullptr;

    QRadioButton* left_to_right_button = nullptr;
    QRadioButton* right_to_left_button = nullptr;

    QRadioButton* OptCross = nullptr;
    QRadioButton* OptCircle = nullptr;

    QRadioButton* white_color = nullptr;
    QRadioButton* black_color = nullptr;
    QRadioButton* yellow_color = nullptr;
    QRadioButton* default_color = nullptr;

    QCheckBox* line_control_check = nullptr;
    QCheckBox* SCORIX = nullptr;
    QLabel* QXIOLabel = nullptr;
    QCheckBox* chkLoupe = nullptr;
    QPushButton* cmdLoupe = nullptr;
    // Seconds before Start that a recording keeps (the pre-roll).
    QSpinBox* prerollSeconds = nullptr;

    QRadioButton* OptPictureAsk = nullptr;
    QRadioButton* OptPictureNoSave = nullptr;
    QRadioButton* OptPictureSave = nullptr;
    QRadioButton* OptVideoAsk = nullptr;
    QRadioButton* OptVideoNoSave = nullptr;
    QRadioButton* OptVideoSave = nullptr;

    void setupUi(QMainWindow* form);
};
