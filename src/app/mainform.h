#pragma once

#include "grid/gridscreeneffects.h"

#include <QMainWindow>

#include <array>
#include <functional>

class OperatorDialogs;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The main screen, "Rampscope 2005": the save-video directory, the status
// row of each configured grid and the way to the screens built so far (grid
// set-up, measurement, frame selection). The other navigation joins it with its screens.
class MainForm final : public QMainWindow, public GridScreenEffects {
    Q_OBJECT

public:
    static constexpr const char* smileyPicture = "SmallSmiley.jpg";
    static constexpr const char* cautionPicture = "SmallCaution.jpg";

    explicit MainForm(OperatorDialogs& dialogs, QWidget* parent = nullptr);
    ~MainForm() override;

    // Called with the new text whenever txtVideoDir changes (the box's
    // change step: ConfigState and the logpath setting).
    void setVideoDirectoryChanged(std::function<void(const QString&)> handler);

    // Start-up puts the directory in the box without running the change
    // step again, and copies it to lblVideodir.
    void showVideoDirectory(const QString& text);

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

private:
    void changeVideoDirectory();
    bool videoDirectoryExists();

    OperatorDialogs& m_dialogs;
    QLineEdit* m_txtVideoDir = nullptr;
    QLabel* m_lblVideodir = nullptr;
    QCheckBox* m_cb15 = nullptr;
    std::array<QLabel*, 3> m_gridLabels{};
    std::array<QLabel*, 3> m_gridImages{};
    std::array<QLineEdit*, 3> m_gridDescriptions{};
    std::function<void(const QString&)> m_videoDirectoryChanged;
};
