#pragma once

class LivePicture;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QMainWindow;

// The controls of the capture screen, laid out beside the live picture.
struct PreviewFormUi {
    LivePicture* CapturePRO1 = nullptr;
    QLineEdit* txtSkierName = nullptr;
    QLineEdit* txtPass = nullptr;
    QPushButton* cmdSelect = nullptr;
    QPushButton* btnGetName = nullptr;
    QComboBox* captureTimeValue = nullptr;
    QPushButton* cmdStartCapture = nullptr;
    QPushButton* cmdStartTimer = nullptr;
    QPushButton* cmdEndCapture = nullptr;
    QPushButton* cmdGoToTimer = nullptr;
    QPushButton* cmdGoSetup = nullptr;
    QLabel* captime = nullptr;
    QLabel* LblFrame = nullptr;
    QLabel* LblFrmDrop = nullptr;
    QLabel* lblStartFrame = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* Text1 = nullptr;
};

PreviewFormUi BuildPreviewForm(QMainWindow* form);
