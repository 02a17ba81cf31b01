#pragma once

class FramePlayer;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMainWindow;
class QPushButton;
class QTimer;

// The controls of the frame selection screen, built in code. Every control
// carries the screen's control name as its objectName and starts with the
// screen's own caption or text. The player stands on the left, taking the
// room the window gives it; stepping, replays and accepting on the right;
// the file, its information and the disk space below.
struct FrmSetStartUi {
    // The player's smallest size, the form's 5775 x 5415 twips: it grows
    // with the window, the frame keeping its aspect.
    static constexpr int playerWidthPixels = 385;
    static constexpr int playerHeightPixels = 361;

    FramePlayer* MediaPlayer1 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command4 = nullptr;
    QLineEdit* Text9 = nullptr;
    QPushButton* Command5 = nullptr;
    QLineEdit* Text4 = nullptr;
    QLineEdit* Text5 = nullptr;
    QLineEdit* txtStartLoop = nullptr;
    QPushButton* Command7 = nullptr;
    QLineEdit* Text7 = nullptr;
    QLineEdit* txtEndLoop = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label6 = nullptr;
    QCheckBox* cbPlayAfter = nullptr;
    QPushButton* cmdPlayAndPause = nullptr;
    QCheckBox* cbFullScreen = nullptr;
    QPushButton* cmdMarkStart = nullptr;
    QPushButton* btnGoToSetup = nullptr;
    QPushButton* Command6 = nullptr;
    QListWidget* lstFileInfo = nullptr;
    QLineEdit* Text6 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* Label10 = nullptr;
    QLabel* lblDiskSpace = nullptr;
    QLabel* Label11 = nullptr;
    QPushButton* cmdViewLog = nullptr;
    QPushButton* cmdGoToCapture = nullptr;
    QPushButton* cmdGoToSetup = nullptr;
    QTimer* Timer1 = nullptr;
    QTimer* Timer2 = nullptr;
    QLineEdit* Text1 = nullptr;
    QLineEdit* Text2 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* Label12 = nullptr;

    // Builds every control on the window.
    void build(QMainWindow* window);

    // The player back at its place in the window after a full-screen replay:
    // never smaller than its smallest size, otherwise as large as the room.
    void restorePlayerSize();
};

// The instructions Label5 shows.
inline constexpr const char* selectStartInstruction = "Select Start Position using direction buttons and/or slider";
inline constexpr const char* selectContactInstruction = "Select First Contact by using direction buttons and/or slider";
