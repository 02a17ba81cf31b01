#include "measure/measure.h"

#include "app/configstate.h"
#include "common/clock.h"
#include "common/numbertext.h"
#include "common/operatordialogs.h"
#include "common/paths.h"
#include "common/val.h"
#include "grid/calibrationstate.h"
#include "grid/labelcolor.h"
#include "grid/picturesize.h"
#include "measure/jumpnotes.h"
#include "measure/labeldrag.h"
#include "measure/measurementlog.h"
#include "measure/measureui.h"
#include "measure/picturesave.h"
#include "measure/recording.h"
#include "measure/resultswindow.h"
#include "widgets/magnifier.h"
#include "widgets/picturecanvas.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>

#include <cmath>

namespace {

const QString pictureFilter = QStringLiteral(
    "All Files (*.*)|*.*|Text Files (*.txt)|*.txt|Jump Picture Files (*.gif)|*.gif|Jump Picture Files "
    "(*.bmp)|*.bmp|Jump Picture Files (*.jpg)|*.jpg|");

// The file dialog opens on the entry of the configured picture type.
int pictureFilterIndex(const QString& pictureExtension)
{
    if (pictureExtension == QLatin1String(".gif"))
        return 3;
    if (pictureExtension == QLatin1String(".bmp"))
        return 4;
    if (pictureExtension == QLatin1String(".jpg"))
        return 5;
    return 1;
}

int arrowKeyOf(MarkMove move)
{
    switch (move) {
    case MarkMove::Left: return Qt::Key_Left;
    case MarkMove::Up: return Qt::Key_Up;
    case MarkMove::Right: return Qt::Key_Right;
    case MarkMove::Down: return Qt::Key_Down;
    }
    return 0;
}

bool isArrowKey(int key)
{
    return key == Qt::Key_Left || key == Qt::Key_Up || key == Qt::Key_Right || key == Qt::Key_Down;
}

void setTextIfChanged(QLineEdit* box, const QString& text)
{
    if (box->text() != text)
        box->setText(text);
}

// "&Grid 2" names grid 2.
int gridOfCaption(const QString& caption)
{
    return caption.isEmpty() ? 1 : static_cast<int>(Val(caption.right(1)));
}

} // namespace

Measure::Measure(Environment environment, QWidget* parent)
    : QMainWindow(parent)
    , m_env(std::move(environment))
    , m_exchange(m_env.exchangeDirectory)
    , m_ui(std::make_unique<MeasureUi>())
{
    setObjectName(QStringLiteral("Measure"));
    setWindowTitle(QStringLiteral("Measure"));
    m_ui->setupUi(this);
    m_ui->canvas->setOverlay([this](QPainter& painter) { paintOverlay(painter); });
    ConnectPictureStatus(m_ui->pictureParts, [this](QPointF twips) {
        return GridStatusReadout(m_env.calibration, m_env.config.tournamentType(), twips.x(), twips.y());
    });
    connectControls();
    // Arrow keys are followed for the whole window, whichever control has
    // the keyboard focus, as the station always read the keyboard's state.
    QCoreApplication::instance()->installEventFilter(this);
    load();
}

Measure::~Measure() = default;

void Measure::connectControls()
{
    MeasureUi& ui = *m_ui;
    connect(ui.LoadPict, &QAction::triggered, this, &Measure::loadPictureFile);
    connect(ui.mnuPaste, &QAction::triggered, this, &Measure::freezeOnClipboard);
    connect(ui.SavePict, &QAction::triggered, this, &Measure::savePicture);
    connect(ui.mnuResults, &QAction::triggered, this, &Measure::showResults);
    connect(ui.mnuCalibrate, &QAction::triggered, this, &Measure::calibrationToolRequested);
    connect(ui.mnuCapture, &QAction::triggered, this, [this] { leave(true); });
    connect(ui.mnuViewLog, &QAction::triggered, this, &Measure::pictureLogRequested);
    connect(ui.Exit, &QAction::triggered, this, [this] { leave(false); });

    connect(ui.canvas, &PictureCanvas::pressed, this, [this](QPointF twips) { pressOnPicture(twips); });
    connect(ui.canvas, &PictureCanvas::moved, this, &Measure::updateReadouts);
    connect(ui.AdjustLeft, &QToolButton::clicked, this, [this] { moveMark(MarkMove::Left); });
    connect(ui.AdjustUp, &QToolButton::clicked, this, [this] { moveMark(MarkMove::Up); });
    connect(ui.AdjustRight, &QToolButton::clicked, this, [this] { moveMark(MarkMove::Right); });
    connect(ui.AdjustDown, &QToolButton::clicked, this, [this] { moveMark(MarkMove::Down); });
    connect(ui.CrossSize, &QScrollBar::valueChanged, this, &Measure::show_the_grid);

    connect(ui.Record, &QPushButton::clicked, this, &Measure::record);
    for (const auto& [button, option] : ui.statusOptions())
        connect(button, &QRadioButton::clicked, this, [this, option] { clickStatusOption(option); });
    connect(ui.verify, &QPushButton::clicked, this, &Measure::toggleVerify);
    connect(ui.Skier_name, &QComboBox::editTextChanged, this, &Measure::skierNameEdited);
    connect(ui.Skier_name, &QComboBox::activated, this,
            [this] { skierNameEdited(m_ui->Skier_name->currentText()); });

    connect(ui.Set_grid, &QPushButton::clicked, this, &Measure::selectNextGrid);
    connect(ui.Show_grid, &QPushButton::clicked, this, &Measure::show_the_grid);
    connect(ui.Unfreeze, &QPushButton::clicked, this, &Measure::endJump);
    connect(ui.ClipSnapShot, &QPushButton::clicked, this, &Measure::freezeOnClipboard);
    connect(ui.ImgSnapShot, &QPushButton::clicked, this, &Measure::freezeOnSnapshot);
    connect(ui.btnNextJump, &QPushButton::clicked, this, [this] { leave(true); });
    connect(ui.cbAutoLoadClipboard, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            m_ui->loadTimer->start(1000);
        else
            m_ui->loadTimer->stop();
    });
    connect(ui.chkMagnifier, &QCheckBox::toggled, this,
            [this](bool on) { m_ui->magnifier->setEnabledByOperator(on); });
    connect(ui.keyTimer, &QTimer::timeout, this, &Measure::pollArrowKeys);
    connect(ui.loadTimer, &QTimer::timeout, this, &Measure::pollClipboardFlag);

    new LabelDragGroup({ui.AdjustmentLabel},
                       {ui.AdjustmentLabel, ui.AdjustUp, ui.AdjustDown, ui.AdjustLeft, ui.AdjustRight}, this);
    new LabelDragGroup({ui.CrossLabel}, {ui.CrossLabel, ui.CrossSize}, this);
    new LabelDragGroup({ui.FrozenSign}, {ui.FrozenSign}, this);
    new LabelDragGroup({ui.gridlabel}, {ui.gridlabel, ui.grid_description, ui.gif_file_name}, this);
}

void Measure::load()
{
    MeasureUi& ui = *m_ui;
    m_state.selectedOption = StatusOption::optJumpOK;
    m_state.Comment.clear();
    // The whole screen for the frame beside the controls.
    setWindowState(windowState() | Qt::WindowMaximized);
    ui.grid_description->hide();
    ui.gif_file_name->hide();
    ui.FrozenSign->hide();
    m_ui->setReadoutsVisible(false);
    m_ui->setFineAdjustmentVisible(false);
    applyConfiguration();
    showState();
}

// ---------------------------------------------------------------------------
// Screen state

void Measure::gatherState()
{
    const MeasureUi& ui = *m_ui;
    m_state.distance = ui.distance->text();
    m_state.distance_ft = ui.distance_ft->text();
    m_state.Jump_no = ui.Jump_no->text();
    m_state.Skier_name = ui.Skier_name->currentText();
    m_state.Comment = ui.Comment->text();
}

void Measure::showState()
{
    MeasureUi& ui = *m_ui;
    m_showingState = true;
    setTextIfChanged(ui.distance, m_state.distance);
    setTextIfChanged(ui.distance_ft, m_state.distance_ft);
    setTextIfChanged(ui.Jump_no, m_state.Jump_no);
    setTextIfChanged(ui.Comment, m_state.Comment);
    if (ui.Skier_name->currentText() != m_state.Skier_name)
        ui.Skier_name->setEditText(m_state.Skier_name);
    ui.Comment->setVisible(m_state.commentVisible);

    // No option at all is a state of its own (after a recording deselected
    // Pass or Fall), which an exclusive group cannot show.
    ui.statusGroup->setExclusive(false);
    for (const auto& [button, option] : ui.statusOptions())
        button->setChecked(m_state.selectedOption == option);
    ui.statusGroup->setExclusive(true);

    ui.FrozenSign->setVisible(m_state.frameFrozen);
    ui.verify->setText(VerifyCaption(m_state));
    m_ui->setReadoutsVisible(m_state.verifyMode);
    m_showingState = false;
}

void Measure::applyConfiguration()
{
    MeasureUi& ui = *m_ui;
    const ConfigState& config = m_env.config;
    ui.applyLabelColours(config.labelColorName);

    // The grid count may have changed on the configuration screen since the
    // load: the grid switch follows it.
    ui.Set_grid->setVisible(config.gridCount != 1);

    const bool indicator = config.barefootMode || config.sitSkiMode;
    ui.barefoot_indicator->setText(config.barefootMode ? QStringLiteral("Barefoot Jump")
                                                       : QStringLiteral("Sit Ski Jump"));
    ui.barefoot_indicator->setVisible(indicator);
    m_state.barefootIndicatorVisible = indicator;
}

void Measure::setCaptureScreenAvailable(bool available)
{
    m_ui->btnNextJump->setVisible(available);
    m_ui->mnuCapture->setVisible(available);
}

void Measure::setSkierNames(const QStringList& names)
{
    QComboBox* box = m_ui->Skier_name;
    const QSignalBlocker blocker(box);
    const QString typed = box->currentText();
    box->clear();
    box->addItems(names);
    box->setEditText(typed);
}

void Measure::setMagnifierOn(bool on)
{
    m_ui->chkMagnifier->setChecked(on);
}

void Measure::setCaptureTexts(std::function<CaptureTexts()> captureTexts)
{
    m_captureTexts = std::move(captureTexts);
}

void Measure::setSkierName(const QString& name)
{
    // Through the box, so that its change step restarts the jump number.
    m_ui->Skier_name->setEditText(name);
}

void Measure::setJumpNumberText(const QString& text)
{
    m_ui->Jump_no->setText(text);
    m_state.Jump_no = text;
}

// ---------------------------------------------------------------------------
// Showing and leaving the screen

void Measure::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (event->spontaneous())
        return;
    // The screen is entered: a frame just chosen on the frame selection
    // screen is waiting in the application directory.
    applyConfiguration();
    if (m_env.screenMode == QLatin1String("SelectFrame")) {
        const QImage frame(JoinPath(m_env.applicationDirectory, QStringLiteral("currentcapture.bmp")));
        if (!frame.isNull()) {
            setPicture(frame);
            applyPictureSize(frame);
        }
    }
    show_the_grid();
    m_ui->keyTimer->start();
}

void Measure::closeEvent(QCloseEvent* event)
{
    event->ignore();
    leave(false);
}

void Measure::hideEvent(QHideEvent* event)
{
    QMainWindow::hideEvent(event);
    m_ui->keyTimer->stop();
    m_heldKeys.clear();
}

void Measure::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::ActivationChange)
        return;
    if (isActiveWindow()) {
        show_the_grid();
        m_ui->keyTimer->start();
    } else {
        // Key releases go to the window that has the focus now.
        m_ui->keyTimer->stop();
        m_heldKeys.clear();
    }
}

bool Measure::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if ((type == QEvent::KeyPress || type == QEvent::KeyRelease) && watched->isWidgetType()) {
        auto* key = static_cast<QKeyEvent*>(event);
        auto* widget = static_cast<QWidget*>(watched);
        if (isArrowKey(key->key()) && widget->window() == this) {
            m_heldKeys.track(*key);
            // Arrows move the landing mark; on an option button, a button,
            // the skier list or the cross-size bar they would also change a
            // choice behind the operator's back (an arrow on the options
            // would select Fall).
            const bool onChoice = qobject_cast<QAbstractButton*>(widget) || qobject_cast<QAbstractSlider*>(widget)
                || qobject_cast<QComboBox*>(widget) || qobject_cast<QComboBox*>(widget->parentWidget());
            if (onChoice)
                return true;
        }
    }
    if (type == QEvent::FocusIn
        && (watched == m_ui->Skier_name || watched == m_ui->Skier_name->lineEdit()))
        show_the_grid();
    return QMainWindow::eventFilter(watched, event);
}

void Measure::pollArrowKeys()
{
    for (const MarkMove move : arrowKeyPollOrder) {
        const int key = arrowKeyOf(move);
        if (m_heldKeys.counts(key))
            moveMark(move);
    }
    m_heldKeys.endPoll();
}

void Measure::leave(bool toCapture)
{
    offerPictureSaveOnLeaving();
    if (toCapture) {
        m_env.screenMode = QStringLiteral("Measure");
        endJump();
    } else {
        m_env.screenMode.clear();
        endJump();
        m_ui->clearFarBuoyLabels();
        m_ui->grid_description->hide();
    }
    hide();
    m_ui->keyTimer->stop();
    if (toCapture)
        Q_EMIT captureScreenRequested();
    else
        Q_EMIT mainScreenRequested();
}

void Measure::offerPictureSaveOnLeaving()
{
    // Only a frame chosen from a recorded video is offered: a loaded picture
    // is already on disk and a frozen one had its own offer.
    if (m_env.screenMode != QLatin1String("SelectFrame"))
        return;
    const QString& mode = m_env.config.pictureSaveMode;
    if (mode == QLatin1String("Save")) {
        savePicture();
    } else if (mode == QLatin1String("Ask")) {
        const auto answer = m_env.dialogs.message(QStringLiteral("Do you want to save this picture?"), {},
                                                  OperatorDialogs::Icon::Question,
                                                  OperatorDialogs::Buttons::YesNo);
        if (answer == OperatorDialogs::Answer::Yes)
            savePicture();
    }
}

// ---------------------------------------------------------------------------
// Picture sources

void Measure::setPicture(const QImage& picture)
{
    // A landing point clicked on another picture is no landing point on this one.
    m_state.markPlaced = false;
    m_impactLinesVisible = false;
    m_ui->canvas->setPicture(picture);
    fitPictureArea();
}

void Measure::fitPictureArea()
{
    // A frame of another size: the groups the operator dragged go back to
    // their places; the same size leaves them where they are.
    const QSize frame = m_ui->canvas->picture().size().expandedTo(QSize(640, 480));
    if (frame != m_fittedFrame) {
        m_fittedFrame = frame;
        m_ui->placeFloatingGroups();
    }
}

void Measure::applyPictureSize(const QImage& picture)
{
    m_env.calibration.pictureWidth = PictureSideTwips(picture.width());
    m_env.calibration.pictureHeight = PictureSideTwips(picture.height());
}

void Measure::loadPictureFile()
{
    const ConfigState& config = m_env.config;
    if (config.capturesDirectory.isEmpty() || !PathExistsByKind(config.capturesDirectory, 1)) {
        m_env.dialogs.message(QStringLiteral("Invalid path, change in configuration screen"), {},
                              OperatorDialogs::Icon::Warning);
    } else {
        const QString path = m_env.dialogs.openFile(config.capturesDirectory, pictureFilter,
                                                    pictureFilterIndex(config.pictureExtension));
        if (!path.isEmpty()) {
            const QImage picture(path);
            if (picture.isNull()) {
                // The old picture stays, and the log is told of no load.
                m_env.dialogs.message(notAPictureMessage(path),
                                      {}, OperatorDialogs::Icon::Warning);
            } else {
                setPicture(picture);
                applyPictureSize(picture);
                show_the_grid();
                m_loadedPictureName = path;
                m_ui->showPictureName(path);
                if (auto appended = AppendLoadedPictureLine(config, m_loadedPictureName, m_env.clock); !appended)
                    m_env.dialogs.message(PictureLineFailureMessage(appended.error()), {},
                                          OperatorDialogs::Icon::Warning);
            }
        }
    }
    m_env.screenMode = QStringLiteral("PictureLoadMenu");
}

QString Measure::noClipboardPictureMessage()
{
    return QStringLiteral("The clipboard holds no picture. The picture shown stays.");
}

QString Measure::notAPictureMessage(const QString& path)
{
    return QStringLiteral("The file %1 is not a picture that can be shown.").arg(path);
}

bool Measure::viewLoggedPicture(const QString& path)
{
    const QImage picture(path);
    if (picture.isNull())
        return false;
    setPicture(picture);
    applyPictureSize(picture);
    show_the_grid();
    m_ui->showPictureName(path);
    m_env.screenMode = QStringLiteral("PictureLog");
    return true;
}

QImage Measure::clipboardPicture() const
{
    return QGuiApplication::clipboard()->image();
}

void Measure::freeze()
{
    gatherState();
    m_state.frameFrozen = true;
    m_state.distance.clear();
    m_state.distance_ft.clear();
    showState();
    m_ui->FrozenSign->raise();
    m_ui->Show_grid->setFocus();
}

void Measure::freezeOnClipboard()
{
    // Nothing to freeze: the picture shown stays, and so does the jump.
    const QImage picture = clipboardPicture();
    if (picture.isNull()) {
        m_env.dialogs.message(noClipboardPictureMessage(), {}, OperatorDialogs::Icon::Warning);
        return;
    }
    freeze();
    setPicture(picture);
    show_the_grid();
    m_ui->showPictureName(QStringLiteral("Picture from Clipboard"));
}

void Measure::freezeOnSnapshot()
{
    freeze();
    const QImage snapshot(m_exchange.snapshotPath());
    if (snapshot.isNull()) {
        m_env.dialogs.message(ExchangeDirectory::snapshotMissingWarning(), {}, OperatorDialogs::Icon::Warning);
        return;
    }
    setPicture(snapshot);
    show_the_grid();
    m_ui->showPictureName(QStringLiteral("snapshot.bmp"));
}

void Measure::pollClipboardFlag()
{
    // The supplier's picture replaces the background only: the screen is
    // not frozen and the overlay stays as drawn.
    m_exchange.pollClipboardFlag([this] {
        const QImage picture = clipboardPicture();
        if (!picture.isNull())
            setPicture(picture);
    });
}

// ---------------------------------------------------------------------------
// Grid and the end of a jump

void Measure::selectNextGrid()
{
    const int shown = gridOfCaption(m_ui->Set_grid->text());
    int next = 1;
    if (shown == 1)
        next = 2;
    else if (shown == 2 && m_env.config.gridCount == 3)
        next = 3;
    m_ui->Set_grid->setText(QStringLiteral("&Grid ") + QString::number(next));

    m_overlay.reset();
    m_ui->clearFarBuoyLabels();
    CalibrationState& calibration = m_env.calibration;
    calibration.selectGrid(next);
    // The splash indicator's side follows the grid on display: grids may
    // have been surveyed with X running either way.
    const Corners& corners = calibration.grid(next).corners;
    calibration.surveyDirection = corners[slotIndex(CornerSlot::UpperRight)].surveyX
            < corners[slotIndex(CornerSlot::UpperLeft)].surveyX
        ? 1.0
        : -1.0;
    show_the_grid();
}

void Measure::drawLineTwips(double x1, double y1, double x2, double y2, const QColor& color)
{
    m_calibrationLines.push_back({ScreenLine{x1, y1, x2, y2}, color});
    m_ui->canvas->update();
}

void Measure::show_the_grid()
{
    MeasureUi& ui = *m_ui;
    m_calibrationLines.clear(); // the form's drawings are cleared first
    const ConfigState& config = m_env.config;
    const MeasureOverlay overlay = MeasureOverlayFrom(m_env.calibration, config.boxLineOff);
    const auto texts = ComputeMeasureOverlayTexts(overlay);
    if (!texts) {
        m_overlay.reset();
        ui.canvas->update();
        // Reported once: the overlay is redrawn whenever the screen comes
        // back from the message box itself.
        if (texts.error().message != m_lastOverlayFault) {
            m_lastOverlayFault = texts.error().message;
            m_env.dialogs.message(m_lastOverlayFault, {}, OperatorDialogs::Icon::Warning);
        }
        return;
    }
    m_lastOverlayFault.clear();

    OverlayStyle style;
    style.marker = BuoyMarkerStyleFromSetting(config.buoyMarker);
    style.labelColor = LabelColor(config.labelColorName);
    style.crossSize = ui.CrossSize->value();
    m_overlay = DrawnOverlay{overlay, style};

    // The labels stay beside their buoys at any zoom.
    const auto place = [&ui, &overlay](QLabel* label, const PlacedLabel& placed, CornerSlot buoy) {
        label->setText(placed.caption);
        label->adjustSize();
        const GridCorner& at = overlay.corners[slotIndex(buoy)];
        ui.canvas->placeOnPicture(label, placed.topLeft, QPointF(at.screenX, at.screenY));
    };
    place(ui.maxbuoy, texts->labels.maxbuoy, CornerSlot::UpperLeft);
    place(ui.minbuoy, texts->labels.minbuoy, CornerSlot::UpperRight);
    place(ui.maxbuoym, texts->labels.maxbuoym, CornerSlot::UpperLeft);
    place(ui.minbuoym, texts->labels.minbuoym, CornerSlot::UpperRight);
    ui.grid_description->setText(texts->gridDescription);
    ui.grid_description->setCursorPosition(0);
    ui.grid_description->show();
    ui.canvas->update();
}

void Measure::endJump()
{
    gatherState();
    m_impactLinesVisible = false;
    EndJump(m_state, m_exchange);
    m_ui->gif_file_name->hide();
    m_ui->setFineAdjustmentVisible(false);
    setPicture(QImage());
    show_the_grid();
    showState();
}

// ---------------------------------------------------------------------------
// Landing mark

void Measure::pressOnPicture(QPointF twips)
{
    gatherState();
    m_state.distance = QStringLiteral("m");
    m_state.distance_ft = QStringLiteral("ft");
    m_state.markX = twips.x();
    m_state.markY = twips.y();
    m_state.markPlaced = drawImpactMark(true) && !m_ui->canvas->picture().isNull();
    m_ui->setFineAdjustmentVisible(true);
    showState();
}

void Measure::moveMark(MarkMove move)
{
    const ScreenPoint saved = m_impact ? m_impact->mark : ScreenPoint{};
    const ScreenPoint moved = MovedMark(saved, move);
    m_state.markX = moved.x;
    m_state.markY = moved.y;
    // Silent on a fault: a held arrow key would stack one message per tick.
    drawImpactMark(false);
}

bool Measure::drawImpactMark(bool reportFault)
{
    const ImpactMarkSettings settings
        = ImpactMarkSettingsFrom(m_env.calibration, m_env.config, m_ui->CrossSize->value());
    const auto mark = ImpactMarkAt({m_state.markX, m_state.markY}, settings);
    if (!mark) {
        if (reportFault)
            m_env.dialogs.message(mark.error().message(), {}, OperatorDialogs::Icon::Warning);
        return false;
    }
    m_impact = *mark;
    m_impactLinesVisible = true;
    m_ui->canvas->update();
    return true;
}

void Measure::updateReadouts(QPointF twips)
{
    const CalibrationState& calibration = m_env.calibration;
    const auto readouts = LiveReadoutsAt(twips.x(), twips.y(), calibration.coefficients, calibration.jumpX,
                                         calibration.jumpY, m_env.config.tournamentType());
    if (!readouts)
        return;
    MeasureUi& ui = *m_ui;
    ui.xtwips->setText(readouts->xtwips);
    ui.ytwips->setText(readouts->ytwips);
    ui.xposition->setText(readouts->xposition);
    ui.yposition->setText(readouts->yposition);
    ui.VerifyDistance->setText(readouts->VerifyDistance);
}

void Measure::paintOverlay(QPainter& painter)
{
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (m_overlay)
        (void)DrawMeasureOverlay(painter, m_overlay->overlay, m_overlay->style);
    if (m_impactLinesVisible && m_impact)
        DrawImpactMarkLines(painter, *m_impact, LabelColor(m_env.config.labelColorName));
    for (const CalibrationStroke& stroke : m_calibrationLines) {
        painter.setPen(OverlayPen(stroke.color));
        painter.drawLine(QPointF(stroke.line.x1, stroke.line.y1), QPointF(stroke.line.x2, stroke.line.y2));
    }
}

// ---------------------------------------------------------------------------
// Recording

void Measure::record()
{
    gatherState();
    m_state.barefootIndicatorVisible = !m_ui->barefoot_indicator->isHidden();
    const bool linkOn = m_env.scoringLinkOn && m_env.scoringLinkOn();
    const RecordingContext context{m_env.calibration, m_env.config, linkOn, m_exchange, m_env.dialogs,
                                   m_env.clock};
    const RecordingOutcome outcome = RecordJump(m_state, context);
    showState();
    if (outcome.recorded && outcome.offerFrozenPictureSave)
        offerFrozenPictureSave();
}

void Measure::offerFrozenPictureSave()
{
    const QString proposed = PicturePath(m_env.config, m_state.Skier_name, m_state.Jump_no);
    const auto name = m_env.dialogs.input(QStringLiteral("Save the frozen picture as:"),
                                          QStringLiteral("Frozen Picture"), proposed);
    if (!name || name->trimmed().isEmpty())
        return;
    if (auto written = WriteBitmap(displayedImage(), *name); !written)
        m_env.dialogs.message(QStringLiteral("The frozen picture was not saved as %1 (%2).")
                                  .arg(written.error().path, written.error().reason),
                              {}, OperatorDialogs::Icon::Critical);
}

void Measure::clickStatusOption(StatusOption option)
{
    gatherState();
    if (option == StatusOption::M_Reride || option == StatusOption::O_reride
        || option == StatusOption::Make_comment)
        WriteNoteLine(m_state, option, m_env.config, m_env.dialogs, m_env.clock);
    else
        ClickStatusOption(m_state, option);
    showState();
}

void Measure::toggleVerify()
{
    gatherState();
    ToggleVerifyMode(m_state);
    showState();
}

void Measure::skierNameEdited(const QString& text)
{
    if (m_showingState)
        return;
    gatherState();
    SkierNameChanged(m_state, text);
    showState();
}

// ---------------------------------------------------------------------------
// Picture save and results

QImage Measure::displayedImage()
{
    // The magnifier floats over the picture while the pointer is there; it
    // is no part of the jump's picture.
    m_ui->magnifier->hide();
    return m_ui->canvas->composedImage();
}

void Measure::savePicture()
{
    gatherState();
    const CaptureTexts capture = m_captureTexts
        ? m_captureTexts()
        : CaptureTexts{m_state.Skier_name, NumberDigits(Val(m_state.Jump_no) + 1)};
    const PictureSaveRequest request{m_state.Skier_name, m_state.Jump_no, m_state.distance, capture.skierName,
                                     capture.jumpText};
    (void)SavePicture(displayedImage(), request, m_env.config, m_env.dialogs, m_env.clock);
}

void Measure::showResults()
{
    if (!m_results)
        m_results = new Results(m_env.dialogs, this);
    m_results->showResultsFile(m_env.config.resultsFilePath);
}
