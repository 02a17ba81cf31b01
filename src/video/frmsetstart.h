#pragma once

#include "video/replayloop.h"
#include "widgets/heldkeys.h"

#include <QMainWindow>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class Clock;
class FramePlayer;
class OperatorDialogs;
struct CalibrationState;
struct CaptureHandover;
struct ConfigState;
struct FrmSetStartUi;

// The frame selection screen ("Rampscope 2005 Frame Selection"): plays a
// recorded jump so the operator can mark the start of the run, replay the
// seconds before it and before the end of the run, step to the frame in
// which the skis first touch the water and accept it. The accepted frame is
// written as currentcapture.bmp for the measurement or grid set-up screen; a
// fresh recording is kept or removed by the video-save mode and, when kept,
// entered in the measurement log with its .info companion.
class frmSetStart final : public QMainWindow {
    Q_OBJECT

public:
    struct Environment {
        ConfigState& config;
        CalibrationState& calibration; // allGridsReady
        QString& screenMode;
        CaptureHandover& capture;
        const QString& fileToView;     // the log viewer's file, for "View"
        OperatorDialogs& dialogs;
        const Clock& clock;
        QString applicationDirectory;  // where currentcapture.bmp is written
        std::function<bool()> barefootTiming; // the main screen's cb15
        // Free bytes of the volume holding a path; nothing when unknown.
        std::function<std::optional<uint64_t>(const QString& path)> freeBytes;
    };

    explicit frmSetStart(Environment environment, QWidget* parent = nullptr);
    ~frmSetStart() override;

    // The screen's take-over each time it is shown: disk space, then the
    // file of the screen mode (a fresh recording, a file to view, or none).
    void takeOver();

    // The destinations that exist in this build; a missing one hides its
    // button rather than leaving the operator on a hidden screen.
    void setCaptureScreenAvailable(bool available);
    void setLogViewerAvailable(bool available);

    FramePlayer& player();
    int64_t markedFrame() const { return m_markedFrame; }
    bool startMarked() const { return m_startMarked; }
    bool startTaken() const { return m_startTaken; }
    const ReplayLoopState& replayLoop() const { return m_loop; }
    int64_t endOffsetFrames() const { return m_endOffsetFrames; }
    double frameRate() const { return m_frameRate; }
    int64_t lengthFrames() const { return m_lengthFrames; }
    bool holdsFreshCapture() const { return m_freshCapture; }

    // One tick of the replay timer (Timer1), as its timeout runs it.
    void runReplayTick();

Q_SIGNALS:
    void measureRequested();
    void gridSetupRequested();
    void captureScreenRequested();
    void mainScreenRequested();
    void logViewerRequested();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    // The window's close button leaves the screen the way its exit does,
    // so the operator is never left without a screen.
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectControls();
    void showDiskSpace();
    void takeOverCapture();
    void takeOverViewedFile();
    void fixSkierName();
    bool putFileIntoPlayer(const QString& path);
    void showBeforeEndControls(bool shown);
    void enableStepButtons();
    void restorePlayerSize();
    void setDisplaySize(int size);

    void openFile();
    void stepBack();
    void stepForward();
    void showPosition();
    void holdSecondsBox(bool beforeStart);
    void playBeforeStart();
    void playBeforeEnd();
    void playToEndPauseContinue();
    void pollArrowKeys();
    void acceptDisplayedFrame(bool forGridSetup);
    void settleFreshCapture(const QString& videoPath, int64_t contactFrame);
    void recordCapture(const QString& videoPath, int64_t contactFrame);
    void leave(bool toCapture);
    void showKeyDown(int keyCode);
    void showKeyUp(int keyCode);

    // The seconds boxes, held in range first.
    double beforeStartSeconds();
    double beforeEndSeconds();
    bool barefoot() const;

    Environment m_env;
    std::unique_ptr<FrmSetStartUi> m_ui;

    int64_t m_markedFrame = 0;
    bool m_startMarked = false;
    bool m_startTaken = false;
    ReplayLoopState m_loop;
    double m_frameRate = 0;
    int64_t m_lengthFrames = 0;
    int64_t m_endOffsetFrames = 0;
    bool m_setupRequested = false;
    bool m_viewDone = false;
    bool m_freshCapture = false;
    HeldKeys m_heldKeys; // left and right arrows, read by Timer2
};
