#pragma once

#include "grid/calibrationline.h"
#include "grid/overlay.h"
#include "measure/exchangedirectory.h"
#include "measure/landingmark.h"
#include "measure/measurestate.h"
#include "widgets/heldkeys.h"

#include <QMainWindow>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class Clock;
class OperatorDialogs;
class QImage;
class Results;
struct CalibrationState;
struct ConfigState;
struct MeasureUi;

// The measurement screen ("Measure"): one still picture of the water with
// the grid overlay, the landing mark the operator clicks and nudges, and the
// Record button that turns the mark into the jump's result. The screen is
// built once and afterwards only hidden and shown; leaving it hides it and
// asks the application, by a signal, for the next screen.
class Measure final : public QMainWindow, public LineDrawingSurface {
    Q_OBJECT

public:
    // The calibration line tool draws here; the line stays until the next
    // show_the_grid clears the drawings.
    void drawLineTwips(double x1, double y1, double x2, double y2, const QColor& color) override;

    // What the screen works on, owned by the application object.
    struct Environment {
        ConfigState& config;
        CalibrationState& calibration;
        QString& screenMode;
        OperatorDialogs& dialogs;
        const Clock& clock;
        QString applicationDirectory; // where currentcapture.bmp is written
        QString exchangeDirectory;    // the scoring system's qxio
        // The configuration's SCORIX box: result files are handed over only
        // while it is ticked.
        std::function<bool()> scoringLinkOn;
    };

    // The capture screen's skier name and jump number, which the picture
    // save writes into the log and the companion file.
    struct CaptureTexts {
        QString skierName;
        QString jumpText;
    };

    // The screen's load: Set_grid shown only for more than one grid,
    // optJumpOK selected, the readouts, FROZEN and the grid description
    // hidden.
    explicit Measure(Environment environment, QWidget* parent = nullptr);
    ~Measure() override;

    // show_the_grid: the overlay of the selected grid drawn afresh, the
    // far-buoy labels and grid_description set. A grid that cannot be drawn
    // is reported once and nothing is drawn.
    void show_the_grid();

    // One tick of keyTimer: each arrow key down, or pressed since the last
    // tick, moves the mark one pixel, in the order Left, Up, Right, Down.
    void pollArrowKeys();

    // One tick of loadTimer: the clipboard flag of the exchange directory.
    void pollClipboardFlag();

    // The capture screen and the scoring-system name file fill these. A new
    // skier name restarts the jump number at "1", as the operator's typing
    // does.
    void setSkierName(const QString& name);
    void setJumpNumberText(const QString& text);

    // The picture log viewer's "View Picture": the picture as background,
    // its size, the overlay and its path under the grid description.
    // Returns false, changing nothing, when the file is not a picture.
    bool viewLoggedPicture(const QString& path);
    // What the operator reads when a chosen file is not a picture.
    static QString notAPictureMessage(const QString& path);
    // What the operator reads when Paste finds no picture on the clipboard.
    static QString noClipboardPictureMessage();

    // Label colours, the barefoot / sit-ski indicator and the grid switch
    // (shown for more than one grid) from the configuration, as the
    // configuration screen sets them.
    void applyConfiguration();

    // "C&apture Next Jump" (button and menu) is offered only while the
    // station has a capture screen to go to.
    void setCaptureScreenAvailable(bool available);

    // The configuration screen's skier name file: the Skier_name list
    // replaced, the name being typed kept.
    void setSkierNames(const QStringList& names);

    // The magnifier switched on or off, as its own check box would.
    void setMagnifierOn(bool on);

    // Without a capture screen the screen's own skier and the next jump
    // number (the capture screen moves on after each recording) stand in.
    void setCaptureTexts(std::function<CaptureTexts()> captureTexts);

    const MeasureState& state() const { return m_state; }
    // The landing mark as last drawn, with its three lines.
    const std::optional<ImpactMark>& impactMark() const { return m_impact; }
    bool impactLinesVisible() const { return m_impactLinesVisible; }
    Results* resultsWindow() const { return m_results; }

Q_SIGNALS:
    void captureScreenRequested();
    void mainScreenRequested();
    void calibrationToolRequested();
    void pictureLogRequested();

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

    // The controls and MeasureState: the screen's texts are gathered before
    // every operation and shown again after it.
    void gatherState();
    void showState();

    // Picture sources.
    void setPicture(const QImage& picture);
    void applyPictureSize(const QImage& picture);
    void loadPictureFile();
    void freezeOnClipboard();
    void freezeOnSnapshot();
    void freeze();
    QImage clipboardPicture() const;

    void selectNextGrid();
    void endJump();
    void leave(bool toCapture);
    void offerPictureSaveOnLeaving();
    void savePicture();
    QImage displayedImage();
    void showResults();

    // Landing mark.
    void pressOnPicture(QPointF twips);
    void moveMark(MarkMove move);
    bool drawImpactMark(bool reportFault);
    void updateReadouts(QPointF twips);
    void paintOverlay(QPainter& painter);

    // Recording.
    void record();
    void offerFrozenPictureSave();
    void clickStatusOption(StatusOption option);
    void toggleVerify();
    void skierNameEdited(const QString& text);

    void fitPictureArea();

    Environment m_env;
    ExchangeDirectory m_exchange;
    std::unique_ptr<MeasureUi> m_ui;
    MeasureState m_state;
    std::function<CaptureTexts()> m_captureTexts;

    std::optional<ImpactMark> m_impact;
    bool m_impactLinesVisible = false;

    // What show_the_grid last drew; nothing before the first call or after
    // a grid that could not be drawn.
    struct DrawnOverlay {
        MeasureOverlay overlay;
        OverlayStyle style;
    };
    std::optional<DrawnOverlay> m_overlay;
    QString m_lastOverlayFault;
    struct CalibrationStroke {
        ScreenLine line;
        QColor color;
    };
    std::vector<CalibrationStroke> m_calibrationLines;

    QSize m_fittedFrame{640, 480};
    QString m_loadedPictureName; // the picture file last chosen on LoadPict
    bool m_showingState = false;

    // Arrow keys held down, and pressed since the last keyTimer tick.
    HeldKeys m_heldKeys;

    Results* m_results = nullptr;
};
