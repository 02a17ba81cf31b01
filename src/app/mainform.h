#pragma once

#include "common/stationfolders.h"
#include "grid/gridscreeneffects.h"

#include <QMainWindow>

#include <array>
#include <functional>

class OperatorDialogs;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The main screen, "Rampscope 2005": the save-video directory, the status
// row of each configured grid, the skier list import and the way to the
// other screens. The capture screen's button and the capture device panel
// join it with those screens.
class MainForm final : public QMainWindow, public GridScreenEffects {
    Q_OBJECT

public:
    static constexpr const char* smileyPicture = "SmallSmiley.jpg";
    static constexpr const char* cautionPicture = "SmallCaution.jpg";

    // Every repaint clears screenMode: a screen shown from here is shown for
    // no particular reason. The skier list is imported into the folders'
    // data folder.
    MainForm(OperatorDialogs& dialogs, QString& screenMode, StationFolders folders, QWidget* parent = nullptr);
    ~MainForm() override;

    // Called with the new text whenever txtVideoDir changes (the box's
    // change step: ConfigState and the logpath setting).
    void setVideoDirectoryChanged(std::function<void(const QString&)> handler);

    // Start-up puts the directory in the box without running the change
    // step again, and copies it to lblVideodir.
    void showVideoDirectory(const QString& text);

    // txtVideoDir as typed.
    QString videoDirectoryText() const;

    // Rows of grids beyond the count are hidden.
    void setGridCount(int gridCount);

    // GridScreenEffects: the grid status rows.
    void setMainGridPicture(int grid, bool ready) override;
    void setMainGridDescription(int grid, const QString& text) override;

    // cb15 "Enable Barefoot Timing (15 sec)": start-up sets it from the
    // stored value without writing it back; the frame selection screen reads
    // it directly.
    void setBarefootTiming(bool on);
    bool barefootTiming() const;

    // lblConfig: the frame-rate class text.
    void setConfiguredFor(const QString& text);
    QString configuredFor() const;

    // cmdShowConfig is offered only while the station has a capture device
    // panel to show.
    void setCapturePanelAvailable(bool available);
    // The capture device panel joins the configuration frames that
    // cmdShowConfig shows and hides.
    void setCapturePanel(QWidget* panel);

    // cmdImport: a skier list chosen by the operator (plain text or rich
    // text) replaces SkierNames.txt. A cancelled choice changes nothing; a
    // file that cannot be read is reported and no list is written.
    void importSkierNames();

    // The picture file a grid's status shows ("SmallSmiley.jpg" or
    // "SmallCaution.jpg"), empty before the first status.
    QString gridPictureName(int grid) const;

Q_SIGNALS:
    // cmdSetup: the grid set-up screen; this screen hides.
    void setupRequested();
    // ccmdGoToMeasure: the measurement screen; this screen hides.
    void measureRequested();
    // cmdGoTimer, once the video directory exists: the frame selection
    // screen; this screen hides.
    void frameSelectionRequested();
    // mnuViewLog and mnuPictureLog: the log viewers, over this screen.
    void videoLogRequested();
    void pictureLogRequested();
    // The operator clicked cb15 (the value to store).
    void barefootTimingClicked(bool on);
    // cmdConfigure: the configuration screen; this screen hides.
    void configureRequested();
    // munManual: the manual viewer; this screen hides.
    void manualRequested();
    // cmdGoCapture, once the video directory exists: the capture screen with
    // the preview on; this screen hides.
    void captureRequested();
    // A skier list was imported; its first name (commas folded) is for the
    // capture screen's skier name box.
    void skierListImported(const QString& firstName);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void changeVideoDirectory();
    void toggleCapturePanel();
    bool videoDirectoryExists();

    OperatorDialogs& m_dialogs;
    QString& m_screenMode;
    StationFolders m_folders;
    QGroupBox* m_frame1 = nullptr;
    QGroupBox* m_capturePanel = nullptr;
    QPushButton* m_cmdShowConfig = nullptr;
    QLabel* m_lblConfig = nullptr;
    QLineEdit* m_txtVideoDir = nullptr;
    QLabel* m_lblVideodir = nullptr;
    QCheckBox* m_cb15 = nullptr;
    std::array<QLabel*, 3> m_gridLabels{};
    std::array<QLabel*, 3> m_gridImages{};
    std::array<QLineEdit*, 3> m_gridDescriptions{};
    std::function<void(const QString&)> m_videoDirectoryChanged;
};
