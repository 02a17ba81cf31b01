#include "setup_screen/grid_setup.h"

#include "app/configstate.h"
#include "common/clock.h"
#include "common/numbertext.h"
#include "common/operatordialogs.h"
#include "common/paths.h"
#include "grid/accuracycheck.h"
#include "grid/calibrationstate.h"
#include "grid/gridcontext.h"
#include "grid/gridfileoperations.h"
#include "grid/gridsetupfields.h"
#include "grid/labelcolor.h"
#include "grid/picturesize.h"
#include "grid/solvegrid.h"
#include "measure/labeldrag.h"
#include "setup_screen/gridsetupui.h"
#include "setup_screen/setupbuoys.h"
#include "measure/landingmark.h"
#include "widgets/magnifier.h"
#include "widgets/picturecanvas.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolButton>

#include <cmath>

namespace {

using Buoy = Grid_Setup::Buoy;

const QString pictureFilter = QStringLiteral(
    "All Files (*.*)|*.*|Text Files (*.txt)|*.txt|Jump Picture Files (*.gif)|*.gif|Jump Picture Files "
    "(*.bmp)|*.bmp|Jump Picture Files (*.jpg)|*.jpg|");
constexpr int bitmapFilter = 4;

// One pixel of the frame: a nudge moves a buoy by this much.
constexpr double nudgeTwips = 15.0;

bool isArrowKey(int key)
{
    return key == Qt::Key_Left || key == Qt::Key_Up || key == Qt::Key_Right || key == Qt::Key_Down;
}

} // namespace

Grid_Setup::Grid_Setup(Environment environment, QWidget* parent)
    : QMainWindow(parent)
    , m_env(std::move(environment))
    , m_ui(std::make_unique<GridSetupUi>())
{
    setObjectName(QStringLiteral("Grid_Setup"));
    setWindowTitle(QStringLiteral("Grid Setup"));
    m_ui->setupUi(this);
    m_ui->canvas->setOverlay([this](QPainter& painter) {
        painter.setRenderHint(QPainter::Antialiasing, false);
        m_drawing.paint(painter);
    });
    ConnectPictureStatus(m_ui->pictureParts, [this](QPointF twips) {
        return GridStatusReadout(m_env.calibration, m_env.config.tournamentType(), twips.x(), twips.y());
    });
    // The boxes show what the shared texts hold (a grid reloaded before the
    // screen was built included).
    showFields();
    connectControls();
    // Arrow keys are followed for the whole window, whichever control has
    // the keyboard focus, as the station always read the keyboard's state.
    QCoreApplication::instance()->installEventFilter(this);
    load();
}

Grid_Setup::~Grid_Setup() = default;

GridContext Grid_Setup::context()
{
    return GridContext{m_env.calibration, m_env.config, m_env.settings, m_env.fields,
                       m_env.dialogs,     *this,        m_env.clock};
}

void Grid_Setup::connectControls()
{
    GridSetupUi& ui = *m_ui;
    connect(ui.gridLoad, &QAction::triggered, this, &Grid_Setup::loadGridFile);
    connect(ui.mnuLoadPicture, &QAction::triggered, this, &Grid_Setup::loadPictureFile);
    connect(ui.mnuClearPicture, &QAction::triggered, this, &Grid_Setup::clearPicture);
    connect(ui.mnuPaste, &QAction::triggered, this, &Grid_Setup::pastePicture);
    connect(ui.gridSave, &QAction::triggered, this, &Grid_Setup::saveGridFile);
    connect(ui.mnuCalibrate, &QAction::triggered, this, &Grid_Setup::calibrationToolRequested);
    connect(ui.gridExit, &QAction::triggered, this, &Grid_Setup::exitScreen);

    for (const auto& [name, box] : ui.boxes()) {
        connect(box, &QLineEdit::textChanged, this,
                [this, name = name](const QString& text) { boxEdited(name, text); });
    }

    const std::pair<QRadioButton*, Buoy> options[] = {
        {ui.upper_left_button, Buoy::UpperLeft},   {ui.upper_right_button, Buoy::UpperRight},
        {ui.lower_left_button, Buoy::LowerLeft},   {ui.lower_right_button, Buoy::LowerRight},
        {ui.optCheckBuoy, Buoy::Check},
    };
    for (const auto& [button, buoy] : options)
        connect(button, &QRadioButton::clicked, this, [this, buoy = buoy] { chooseBuoy(buoy); });

    connect(ui.canvas, &PictureCanvas::pressed, this, [this](QPointF twips) { clickPicture(twips); });
    connect(ui.AdjustLeft, &QToolButton::clicked, this, [this] { nudge(Nudge::Left); });
    connect(ui.AdjustUp, &QToolButton::clicked, this, [this] { nudge(Nudge::Up); });
    connect(ui.AdjustRight, &QToolButton::clicked, this, [this] { nudge(Nudge::Right); });
    connect(ui.AdjustDown, &QToolButton::clicked, this, [this] { nudge(Nudge::Down); });
    connect(ui.show_alignment, &QPushButton::clicked, this, &Grid_Setup::show_alignment);
    connect(ui.chkboxGridLock, &QCheckBox::toggled, this, &Grid_Setup::lockToggled);
    connect(ui.grid_select, &QPushButton::clicked, this, &Grid_Setup::selectNextGrid);
    connect(ui.Load, &QPushButton::clicked, this, &Grid_Setup::solve);
    connect(ui.chkMagnifier, &QCheckBox::toggled, this,
            [this](bool on) { m_ui->magnifier->setEnabledByOperator(on); });
    connect(ui.keyTimer, &QTimer::timeout, this, &Grid_Setup::pollArrowKeys);

    connect(ui.btnAccuracyCheck, &QPushButton::clicked, this, &Grid_Setup::runAccuracyCheck);
    connect(ui.optStandardAccuracy, &QRadioButton::clicked, this, [this] { m_ui->fmAccuracyConfig->hide(); });
    connect(ui.optAdvancedAccuracy, &QRadioButton::clicked, this, [this] { m_ui->fmAccuracyConfig->show(); });

    new LabelDragGroup({ui.CrossSizeLabel}, {ui.CrossSizeLabel, ui.Setup_Cross_size}, this);
    new LabelDragGroup({ui.gridLockedLabel, ui.lblGridDragIt}, {ui.gridLockedLabel, ui.lblGridDragIt}, this);
    new LabelDragGroup({ui.AdjustmentLabel},
                       {ui.AdjustmentLabel, ui.AdjustLeft, ui.AdjustRight, ui.AdjustUp, ui.AdjustDown}, this);
}

void Grid_Setup::load()
{
    GridSetupUi& ui = *m_ui;
    CalibrationState& calibration = m_env.calibration;

    ui.optStandardAccuracy->setChecked(true);
    ui.optHomolgationLevel->setChecked(true);
    setGridCaption(calibration.currentGrid);
    setWindowState(windowState() | Qt::WindowMaximized);

    m_markerCircleRadius = 2.0 * ui.Setup_Cross_size->value();
    m_cornerMarkers = {};
    calibration.checkScreenX = 0.0;
    calibration.checkScreenY = 0.0;
    calibration.allGridsReady = false;

    setSetupStatusPicture(false);
    setAccuracyControlsVisible(false);
    clearAccuracyIndicator();
    hideCheckBuoyHint();
    ui.gridLockedLabel->hide();
    ui.lblGridDragIt->hide();

    calibration.pictureWidth = QStringLiteral("12000");
    calibration.pictureHeight = QStringLiteral("9000");
}

// ---------------------------------------------------------------------------
// Boxes

void Grid_Setup::showFields()
{
    for (const auto& [name, box] : m_ui->boxes()) {
        const QString* text = m_env.fields.field(name);
        if (text && box->text() != *text) {
            const QSignalBlocker blocker(box);
            box->setText(*text);
            box->setCursorPosition(0);
        }
    }
    m_ui->grid_select->setText(m_env.fields.grid_select);
}

void Grid_Setup::writeBox(const QString& name, const QString& text)
{
    if (QString* field = m_env.fields.field(name))
        *field = text;
    for (const auto& [boxName, box] : m_ui->boxes()) {
        if (boxName == name) {
            const QSignalBlocker blocker(box);
            box->setText(text);
            box->setCursorPosition(0);
        }
    }
}

void Grid_Setup::boxEdited(const QString& name, const QString& text)
{
    if (QString* field = m_env.fields.field(name))
        *field = text;
    GridContext ctx = context();
    grid_input_edited(ctx, name);
}

void Grid_Setup::setGridCaption(int grid)
{
    m_env.fields.grid_select = QStringLiteral("Grid ") + QString::number(grid);
    m_ui->grid_select->setText(m_env.fields.grid_select);
}

// ---------------------------------------------------------------------------
// Showing and leaving the screen

void Grid_Setup::activate()
{
    if (m_env.screenMode == QLatin1String("SelectFrame")) {
        const QString path = JoinPath(m_env.applicationDirectory, QStringLiteral("currentcapture.bmp"));
        const QImage frame(path);
        if (frame.isNull()) {
            m_env.dialogs.message(QStringLiteral("The chosen frame %1 cannot be shown; the picture stays as it was.")
                                      .arg(path),
                                  {}, OperatorDialogs::Icon::Warning);
        } else {
            setPicture(frame);
            applyPictureSize(frame);
        }
        m_env.screenMode.clear();
    }
    m_ui->keyTimer->start();
}

void Grid_Setup::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        activate();
}

void Grid_Setup::closeEvent(QCloseEvent* event)
{
    event->ignore();
    exitScreen();
}

void Grid_Setup::hideEvent(QHideEvent* event)
{
    QMainWindow::hideEvent(event);
    stopKeys();
}

void Grid_Setup::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::ActivationChange)
        return;
    if (isActiveWindow())
        activate();
    else
        stopKeys(); // key releases go to the window that has the focus now
}

void Grid_Setup::stopKeys()
{
    m_ui->keyTimer->stop();
    m_heldKeys.clear();
}

bool Grid_Setup::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if ((type == QEvent::KeyPress || type == QEvent::KeyRelease) && watched->isWidgetType()) {
        auto* key = static_cast<QKeyEvent*>(event);
        auto* widget = static_cast<QWidget*>(watched);
        if (isArrowKey(key->key()) && widget->window() == this) {
            m_heldKeys.track(*key);
            // Arrows nudge the buoy; on an option button or the cross-size
            // bar they would also change a choice behind the operator's back.
            if (qobject_cast<QAbstractButton*>(widget) || qobject_cast<QAbstractSlider*>(widget))
                return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void Grid_Setup::pollArrowKeys()
{
    static constexpr std::pair<int, Nudge> order[] = {
        {Qt::Key_Left, Nudge::Left}, {Qt::Key_Up, Nudge::Up}, {Qt::Key_Right, Nudge::Right}, {Qt::Key_Down, Nudge::Down}};
    for (const auto& [key, step] : order) {
        if (m_heldKeys.counts(key))
            nudge(step);
    }
    m_heldKeys.endPoll();
}

void Grid_Setup::exitScreen()
{
    const bool handOver = m_env.calibration.allGridsReady;
    if (!handOver) {
        const auto answer = m_env.dialogs.message(
            QStringLiteral("Do you want to leave the grid setup with all configured grids not setup?"),
            QStringLiteral("Grid Setup Error"), OperatorDialogs::Icon::Question, OperatorDialogs::Buttons::YesNo);
        if (answer != OperatorDialogs::Answer::Yes)
            return;
    }
    hide();
    stopKeys();
    Q_EMIT mainScreenRequested();
    if (handOver)
        handOverGridOne();
}

void Grid_Setup::handOverGridOne()
{
    setGridCaption(1);
    // All the boxes follow grid 1, not only the check buoy's survey: a later
    // "Complete", save or accuracy check reads the boxes together with the
    // live state, and both must describe the same grid.
    showGrid(1);

    for (const Buoy buoy : buoyOrder) {
        const ScreenPoint at = marker(buoy);
        m_drawing.add({SetupDrawing::Kind::HandOver, at, {}, {},
                       [at](QPainter& painter) { DrawHandOverMark(painter, at); }});
    }
    m_ui->canvas->update();

    const CalibrationState& calibration = m_env.calibration;
    const auto labels = ComputeFarBuoyLabels(calibration.liveCorners[slotIndex(CornerSlot::UpperLeft)],
                                             calibration.liveCorners[slotIndex(CornerSlot::UpperRight)],
                                             calibration.jumpX, calibration.jumpY);
    if (!labels) {
        m_env.dialogs.message(labels.error().message, {}, OperatorDialogs::Icon::Warning);
        return;
    }
    Q_EMIT gridHandedOver(*labels, calibration.grid(1).description);
}

// ---------------------------------------------------------------------------
// Buoys

std::optional<Grid_Setup::Buoy> Grid_Setup::selectedBuoy() const
{
    const GridSetupUi& ui = *m_ui;
    if (ui.upper_left_button->isChecked())
        return Buoy::UpperLeft;
    if (ui.upper_right_button->isChecked())
        return Buoy::UpperRight;
    if (ui.lower_left_button->isChecked())
        return Buoy::LowerLeft;
    if (ui.lower_right_button->isChecked())
        return Buoy::LowerRight;
    if (ui.optCheckBuoy->isChecked())
        return Buoy::Check;
    return std::nullopt;
}

void Grid_Setup::chooseBuoy(Buoy buoy)
{
    GridSetupUi& ui = *m_ui;
    QRadioButton* const buttons[] = {ui.upper_left_button, ui.upper_right_button, ui.lower_left_button,
                                     ui.lower_right_button, ui.optCheckBuoy};
    buttons[indexOf(buoy)]->setChecked(true);
    // Away from the option buttons, so the arrow keys nudge the buoy rather
    // than change the choice.
    ui.ipt_file_description->setFocus();
}

ScreenPoint Grid_Setup::marker(Buoy buoy) const
{
    if (buoy == Buoy::Check)
        return {m_env.calibration.checkScreenX, m_env.calibration.checkScreenY};
    return m_cornerMarkers[indexOf(buoy)];
}

void Grid_Setup::setMarker(Buoy buoy, ScreenPoint at)
{
    CalibrationState& calibration = m_env.calibration;
    if (buoy == Buoy::Check) {
        calibration.checkScreenX = at.x;
        calibration.checkScreenY = at.y;
        return;
    }
    m_cornerMarkers[indexOf(buoy)] = at;
    GridCorner& corner = calibration.liveCorners[slotIndex(slotOf(buoy))];
    corner.screenX = at.x;
    corner.screenY = at.y;
}

void Grid_Setup::writeMarkerBoxes(Buoy buoy, bool operatorMove)
{
    const ScreenPoint at = marker(buoy);
    const auto [xBox, yBox] = positionBoxes(buoy);
    for (const auto& [name, value] : {std::pair{xBox, at.x}, std::pair{yBox, at.y}}) {
        const QString text = NumberText(value);
        const QString* old = m_env.fields.field(name);
        const bool changed = !old || *old != text;
        writeBox(name, text);
        // A buoy the operator moved no longer matches the solved grid.
        if (operatorMove && changed) {
            GridContext ctx = context();
            grid_input_edited(ctx, name);
        }
    }
}

void Grid_Setup::clickPicture(QPointF twips)
{
    const std::optional<Buoy> selected = selectedBuoy();
    if (!selected)
        return;
    const ScreenPoint click{twips.x(), twips.y()};
    const ScreenPoint from = marker(*selected);
    const double dx = click.x - from.x;
    const double dy = click.y - from.y;
    moveBuoys(*selected, [&](Buoy buoy, ScreenPoint at) {
        return buoy == *selected ? click : ScreenPoint{at.x + dx, at.y + dy};
    });
}

void Grid_Setup::nudge(Nudge step)
{
    double dx = 0.0;
    double dy = 0.0;
    switch (step) {
    case Nudge::Left: dx = -nudgeTwips; break;
    case Nudge::Right: dx = nudgeTwips; break;
    case Nudge::Up: dy = -nudgeTwips; break;
    case Nudge::Down: dy = nudgeTwips; break;
    }
    moveBuoys(selectedBuoy(), [&](Buoy, ScreenPoint at) { return ScreenPoint{at.x + dx, at.y + dy}; });
    show_alignment();
}

void Grid_Setup::moveBuoys(std::optional<Buoy> selected, const std::function<ScreenPoint(Buoy, ScreenPoint)>& to)
{
    const bool locked = m_ui->chkboxGridLock->isChecked();
    const double crossSize = m_ui->Setup_Cross_size->value();
    const double radius = m_markerCircleRadius;
    for (const Buoy buoy : buoyOrder) {
        if (!(locked || buoy == selected))
            continue;
        const ScreenPoint from = marker(buoy);
        m_drawing.add({SetupDrawing::Kind::OldPosition, from, {}, {},
                       [from, radius](QPainter& painter) { DrawOldPositionMark(painter, from, radius); }});
        const ScreenPoint now = to(buoy, from);
        setMarker(buoy, now);
        writeMarkerBoxes(buoy, true);
        m_drawing.add({SetupDrawing::Kind::NewPosition, now, {}, {},
                       [now, crossSize](QPainter& painter) { DrawNewPositionMark(painter, now, crossSize); }});
    }
    m_ui->canvas->update();
}

OverlayStyle Grid_Setup::overlayStyle() const
{
    OverlayStyle style;
    style.marker = BuoyMarkerStyleFromSetting(m_env.config.buoyMarker);
    style.labelColor = LabelColor(m_env.config.labelColorName);
    style.crossSize = m_ui->Setup_Cross_size->value();
    return style;
}

void Grid_Setup::Show_grid()
{
    clearDrawing();
    const Corners corners = m_env.calibration.liveCorners;
    const ScreenPoint check = marker(Buoy::Check);
    const OverlayStyle style = overlayStyle();
    m_drawing.add({SetupDrawing::Kind::Overlay, check, {}, {}, [corners, check, style](QPainter& painter) {
                       DrawSetupOverlay(painter, corners, check, style);
                   }});
    m_ui->canvas->update();
}

void Grid_Setup::show_alignment()
{
    clearDrawing();
    Show_grid();
}

// ---------------------------------------------------------------------------
// Lock and grids

bool Grid_Setup::allBuoysPlaced() const
{
    const GridSetupFields& f = m_env.fields;
    return !holdsAuto(f.upper_left_x) && !holdsAuto(f.upper_right_x) && !holdsAuto(f.lower_left_x)
        && !holdsAuto(f.lower_right_x) && f.txtCheckX != QLatin1String("CheckX");
}

void Grid_Setup::lockToggled(bool ticked)
{
    GridSetupUi& ui = *m_ui;
    if (ticked && !allBuoysPlaced()) {
        m_env.dialogs.message(QStringLiteral("Cannot Lock Grid Until buoy positions have been entered for all "
                                             "four buoys and check buoy"));
        ui.chkboxGridLock->setChecked(false);
        return;
    }
    ui.showGridLocked(ticked);
}

void Grid_Setup::selectNextGrid()
{
    clearDrawing();
    const int gridCount = m_env.config.gridCount;
    const int shown = m_env.fields.selectedGrid();
    int next = 1;
    if (shown == 1)
        next = gridCount > 1 ? 2 : 1;
    else if (shown == 2)
        next = gridCount == 3 ? 3 : 1;
    setGridCaption(next);
    showGrid(next);
    m_env.calibration.updateAllGridsReady(gridCount);
}

void Grid_Setup::showGrid(int grid)
{
    CalibrationState& calibration = m_env.calibration;
    calibration.selectGrid(grid);
    const GridRecord& record = calibration.grid(grid);

    for (const Buoy buoy : buoyOrder) {
        if (buoy != Buoy::Check)
            m_cornerMarkers[indexOf(buoy)] = {record.corners[slotIndex(slotOf(buoy))].screenX,
                                              record.corners[slotIndex(slotOf(buoy))].screenY};
    }
    for (const Buoy buoy : buoyOrder) {
        writeMarkerBoxes(buoy, false);
        if (buoy == Buoy::Check)
            continue;
        const GridCorner& corner = record.corners[slotIndex(slotOf(buoy))];
        const auto [xBox, yBox] = surveyBoxes(buoy);
        writeBox(xBox, NumberText(corner.surveyX));
        writeBox(yBox, NumberText(corner.surveyY));
    }
    writeBox(QStringLiteral("jump_x"), NumberText(record.jumpX));
    writeBox(QStringLiteral("jump_y"), NumberText(record.jumpY));
    writeBox(QStringLiteral("txtCheckX"), NumberText(record.checkSurveyX));
    writeBox(QStringLiteral("txtCheckY"), NumberText(record.checkSurveyY));
    writeBox(QStringLiteral("ipt_file_description"), record.setupFilePath);
    writeBox(QStringLiteral("ipt_file_description_2"), record.description);

    // What the screen shows of the grid's state belongs to the grid now on
    // it: the hint and the accuracy labels of the grid shown before go, and
    // a grid that is not ready shows so.
    hideCheckBuoyHint();
    clearAccuracyIndicator();
    const bool ready = calibration.isReady(grid);
    setSetupStatusPicture(ready);
    setAccuracyControlsVisible(ready);
}

// ---------------------------------------------------------------------------
// Solving, files and pictures

void Grid_Setup::solve()
{
    GridContext ctx = context();
    solve_grid(ctx);
}

void Grid_Setup::loadGridFile()
{
    GridContext ctx = context();
    load_grid_file(ctx);
}

void Grid_Setup::saveGridFile()
{
    GridContext ctx = context();
    save_grid_file(ctx);
}

void Grid_Setup::setPicture(const QImage& picture)
{
    m_ui->canvas->setPicture(picture);
    // A frame of another size: the groups the operator dragged go back to
    // the band below it; the same size leaves them where they are.
    const QSize frame = picture.size().expandedTo(QSize(640, 480));
    if (frame != m_fittedFrame) {
        m_fittedFrame = frame;
        m_ui->placeFloatingGroups();
    }
}

void Grid_Setup::applyPictureSize(const QImage& picture)
{
    CalibrationState& calibration = m_env.calibration;
    calibration.pictureWidth = PictureSideTwips(picture.width());
    calibration.pictureHeight = PictureSideTwips(picture.height());
    writeBox(QStringLiteral("txtPicWidth"), calibration.pictureWidth);
    writeBox(QStringLiteral("txtPicHeight"), calibration.pictureHeight);
}

void Grid_Setup::loadPictureFile()
{
    const QString& directory = m_env.config.capturesDirectory;
    if (directory.isEmpty() || !PathExistsByKind(directory, 1)) {
        m_env.dialogs.message(QStringLiteral("Invalid path, change in configuration screen"), {},
                              OperatorDialogs::Icon::Warning);
        return;
    }
    const QString path = m_env.dialogs.openFile(directory, pictureFilter, bitmapFilter);
    if (path.isEmpty())
        return;
    const QImage picture(path);
    if (picture.isNull())
        return; // not a picture: the old one stays
    setPicture(picture);
    applyPictureSize(picture);
}

void Grid_Setup::clearPicture()
{
    setPicture(QImage());
}

void Grid_Setup::pastePicture()
{
    if (m_env.config.captureSourceType != QLatin1String("Generic"))
        return;
    const QImage picture = QGuiApplication::clipboard()->image();
    if (!picture.isNull())
        setPicture(picture);
}

QImage Grid_Setup::composedImage()
{
    // The magnifier floats over the frame while the pointer is there; it is
    // no part of the picture.
    m_ui->magnifier->hide();
    return m_ui->canvas->composedImage();
}

// ---------------------------------------------------------------------------
// Accuracy check

void Grid_Setup::runAccuracyCheck()
{
    GridSetupUi& ui = *m_ui;
    const bool standard = ui.optStandardAccuracy->isChecked();
    if (standard)
        ui.optHomolgationLevel->setChecked(true);
    const AccuracyMode mode = standard ? AccuracyMode::Standard : AccuracyMode::Advanced;
    AccuracyLabelKind kind = AccuracyLabelKind::Detail;
    if (ui.optHomolgationLevel->isChecked())
        kind = AccuracyLabelKind::HomologationLevel;
    else if (ui.optDisplayDistance->isChecked())
        kind = AccuracyLabelKind::Distance;

    GridContext ctx = context();
    std::optional<AccuracyCheckResult> result = accuracy_check(ctx, mode, kind);
    if (!result)
        return; // nothing written: the labels stay as they were
    showAccuracyLabels(*result);

    if (mode == AccuracyMode::Standard && !result->fault) {
        clearDrawing();
        const SkierPathLines lines = StandardModeLines(result->mesh);
        for (int r = 0; r < accuracyMeshSide; ++r) {
            const QLineF& row = lines.rows[static_cast<std::size_t>(r)];
            drawLineTwips(row.x1(), row.y1(), row.x2(), row.y2(), result->labelColor);
            ui.placeAccuracyLabel(ui.LineLabel[static_cast<std::size_t>(r)], lines.lineLabels[static_cast<std::size_t>(r)],
                       result->labelColor);
        }
        const int line = AskSkierPathLine(m_env.dialogs);
        clearDrawing();
        for (QLabel* label : ui.LineLabel)
            label->hide();
        ShowSkierPathLine(*result, line);
        showAccuracyLabels(*result);
    }
    Show_grid();
}

void Grid_Setup::showAccuracyLabels(const AccuracyCheckResult& result)
{
    for (int i = 0; i < GridSetupUi::accuracyIndicatorCount; ++i) {
        QLabel* label = m_ui->AccuracyIndicator[static_cast<std::size_t>(i)];
        if (i < accuracyItemCount)
            m_ui->placeAccuracyLabel(label, result.items[static_cast<std::size_t>(i)], result.labelColor);
        else
            label->hide();
    }
}

// ---------------------------------------------------------------------------
// GridScreenEffects

void Grid_Setup::setSetupStatusPicture(bool ready)
{
    m_statusPicture = QString::fromLatin1(ready ? readyPicture : notReadyPicture);
    m_ui->showGridState(ready);
    m_ui->grid_state_icon->setProperty("pictureName", m_statusPicture);
    if (!ready)
        m_ui->lblSolveSummary->hide();
}

void Grid_Setup::setSolveSummary(const QString& text)
{
    m_ui->lblSolveSummary->setText(text);
    m_ui->lblSolveSummary->show();
}

void Grid_Setup::setAccuracyControlsVisible(bool visible)
{
    m_ui->setAccuracyControlsVisible(visible);
}

void Grid_Setup::clearAccuracyIndicator()
{
    for (QLabel* label : m_ui->AccuracyIndicator)
        label->hide();
}

void Grid_Setup::clearGridLock()
{
    m_ui->chkboxGridLock->setChecked(false);
    m_ui->gridLockedLabel->hide();
}

void Grid_Setup::clearDrawing()
{
    m_drawing.clear();
    m_ui->canvas->update();
}

void Grid_Setup::hideCheckBuoyHint()
{
    m_ui->lblCB->hide();
}

void Grid_Setup::showCheckBuoyHint(ScreenPoint predicted)
{
    // The overlay goes first: drawn after it, the hint stays on the frame
    // for the operator to compare with where the check buoy was placed.
    Show_grid();
    const double crossSize = m_ui->Setup_Cross_size->value();
    const QColor drawingColor = LabelColor(m_env.config.labelColorName);
    m_drawing.add({SetupDrawing::Kind::CheckBuoyHint, predicted, {}, drawingColor,
                   [predicted, crossSize, drawingColor](QPainter& painter) {
                       DrawCheckBuoyHint(painter, predicted, crossSize, drawingColor);
                   }});
    m_ui->canvas->update();
    QLabel* hint = m_ui->lblCB;
    m_ui->canvas->placeOnPicture(hint, CheckBuoyHintLabelTopLeft(predicted), QPointF(predicted.x, predicted.y));
    hint->show();
    hint->raise();
}

void Grid_Setup::setupFieldsChanged()
{
    showFields();
    const Corners& corners = m_env.calibration.liveCorners;
    for (const Buoy buoy : buoyOrder) {
        if (buoy != Buoy::Check)
            m_cornerMarkers[indexOf(buoy)] = {corners[slotIndex(slotOf(buoy))].screenX,
                                              corners[slotIndex(slotOf(buoy))].screenY};
    }
}

void Grid_Setup::setMainGridPicture(int grid, bool ready)
{
    m_env.otherScreens.setMainGridPicture(grid, ready);
}

void Grid_Setup::setMainGridDescription(int grid, const QString& text)
{
    m_env.otherScreens.setMainGridDescription(grid, text);
}

void Grid_Setup::setMeasureGridDescription(const QString& text)
{
    m_env.otherScreens.setMeasureGridDescription(text);
}

void Grid_Setup::drawLineTwips(double x1, double y1, double x2, double y2, const QColor& color)
{
    m_drawing.add(SetupDrawing::LineItem({x1, y1}, {x2, y2}, color));
    m_ui->canvas->update();
}

void Grid_Setup::setMagnifierOn(bool on)
{
    m_ui->chkMagnifier->setChecked(on);
}
