#pragma once

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// The controls of the capture device panel, laid out in its frames.
struct CapturePanelUi {
    QComboBox* Combo1 = nullptr;
    QPushButton* CmdConnect = nullptr;
    QPushButton* CmdPreview = nullptr;
    QComboBox* ResolutionCombo = nullptr;
    QLabel* ResolLabel = nullptr;
    QComboBox* ColorFormatCombo = nullptr;
    QLabel* ColorLabel = nullptr;
    QComboBox* VideoInput = nullptr;
    QLabel* InputLabel = nullptr;
    QComboBox* Channel = nullptr;
    QLabel* ChannelLabel = nullptr;
    QPushButton* VideoConfig = nullptr;
    QComboBox* CompressionCombo = nullptr;
    QPushButton* ComprConfig = nullptr;
    QLineEdit* EdtRate = nullptr;
    QLineEdit* EdtLimit = nullptr;
    QComboBox* AudioDevice = nullptr;
    QPushButton* AudioConfig = nullptr;
    QComboBox* AudioCompr = nullptr;
    QLabel* AudioCompLabel = nullptr;
    QComboBox* ComboAttrib = nullptr;
    QLabel* AttribLabel = nullptr;
    QCheckBox* Check1 = nullptr;
    QComboBox* Effect = nullptr;
    QComboBox* CaptureType = nullptr;
    QLineEdit* EdtFile = nullptr;
    QPushButton* CmdCapFN = nullptr;
    QPushButton* CmdCap = nullptr;
    QLabel* LblFrames = nullptr;
    QLabel* LblFrmDrop = nullptr;
    QLabel* LblSamples = nullptr;
    QLabel* LblTime = nullptr;
    QCheckBox* ChkProg = nullptr;
    QCheckBox* ChkAutoSave = nullptr;
    QCheckBox* ChkAutoInc = nullptr;
    QLineEdit* EdtChrom = nullptr;
    QLineEdit* EdtLum = nullptr;
    QLineEdit* EdtInterval = nullptr;
    QLineEdit* EdtPass = nullptr;
    QLineEdit* EdtCaption = nullptr;
    QLineEdit* EdtCapLeft = nullptr;
    QLineEdit* EdtCapTop = nullptr;
    QLabel* LblStatus = nullptr;
    // The option frames that show and hide together.
    QGroupBox* frameOptions = nullptr;
    QGroupBox* streamOptions = nullptr;
};

// Builds the panel's controls into `panel`.
CapturePanelUi BuildCapturePanel(QWidget* panel);
