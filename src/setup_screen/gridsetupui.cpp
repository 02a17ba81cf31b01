#include "setup_screen/gridsetupui.h"

#include "grid/accuracycheck.h"
#include "widgets/picturecanvas.h"
#include "widgets/pictureparts.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QAction* menuAction(QWidget* menu, const char* name, const QString& caption)
{
    auto* action = Named(new QAction(caption, menu), name);
    menu->addAction(action);
    return action;
}

QLineEdit* textBox(QWidget* parent, const char* name, const QString& text = {})
{
    auto* box = Named(new QLineEdit(text, parent), name);
    box->setMinimumWidth(70);
    return box;
}

// A label lying on the frame, white and hidden until it has something to
// show.
QLabel* hiddenOnPictureLabel(QWidget* parent, const QString& name, const QString& caption = {})
{
    QLabel* label = OnPictureLabel(parent, name, caption);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(palette);
    label->adjustSize();
    label->hide();
    return label;
}

QLabel* header(QWidget* parent, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

void setTextColor(QWidget* widget, const QColor& color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    widget->setPalette(palette);
}

QPixmap statusPixmap(bool ready)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1.5));
    if (ready) {
        p.setBrush(QColor(250, 210, 40));
        p.drawEllipse(2, 2, 28, 28);
        p.setBrush(Qt::black);
        p.drawEllipse(10, 10, 3, 5);
        p.drawEllipse(19, 10, 3, 5);
        p.setBrush(Qt::NoBrush);
        p.drawArc(8, 11, 16, 12, 200 * 16, 140 * 16);
    } else {
        QPainterPath triangle;
        triangle.moveTo(16, 2);
        triangle.lineTo(30, 28);
        triangle.lineTo(2, 28);
        triangle.closeSubpath();
        p.setBrush(QColor(250, 200, 20));
        p.drawPath(triangle);
        p.setPen(QPen(Qt::black, 3));
        p.drawLine(16, 10, 16, 19);
        p.drawPoint(16, 24);
    }
    return pixmap;
}

} // namespace

std::vector<std::pair<QString, QLineEdit*>> GridSetupUi::boxes() const
{
    return {
        {QStringLiteral("upper_left_x"), upper_left_x},
        {QStringLiteral("upper_left_y"), upper_left_y},
        {QStringLiteral("upper_right_x"), upper_right_x},
        {QStringLiteral("upper_right_y"), upper_right_y},
        {QStringLiteral("lower_left_x"), lower_left_x},
        {QStringLiteral("lower_left_y"), lower_left_y},
        {QStringLiteral("lower_right_x"), lower_right_x},
        {QStringLiteral("lower_right_y"), lower_right_y},
        {QStringLiteral("ul_survey_x"), ul_survey_x},
        {QStringLiteral("ul_survey_y"), ul_survey_y},
        {QStringLiteral("ur_survey_x"), ur_survey_x},
        {QStringLiteral("ur_survey_y"), ur_survey_y},
        {QStringLiteral("ll_survey_x"), ll_survey_x},
        {QStringLiteral("ll_survey_y"), ll_survey_y},
        {QStringLiteral("lr_survey_x"), lr_survey_x},
        {QStringLiteral("lr_survey_y"), lr_survey_y},
        {QStringLiteral("jump_x"), jump_x},
        {QStringLiteral("jump_y"), jump_y},
        {QStringLiteral("txtCheckX"), txtCheckX},
        {QStringLiteral("txtCheckY"), txtCheckY},
        {QStringLiteral("txtCheckXpix"), txtCheckXpix},
        {QStringLiteral("txtCheckYpix"), txtCheckYpix},
        {QStringLiteral("txtPicWidth"), txtPicWidth},
        {QStringLiteral("txtPicHeight"), txtPicHeight},
        {QStringLiteral("ipt_file_description"), ipt_file_description},
        {QStringLiteral("ipt_file_description_2"), ipt_file_description_2},
    };
}

void GridSetupUi::setupUi(QMainWindow* form)
{
    // Menus.
    QMenuBar* bar = form->menuBar();
    gridLoad = menuAction(bar, "gridLoad", QStringLiteral("&Load File"));
    mnuSetupPicture = Named(new QMenu(QStringLiteral("Setup &Picture"), bar), "mnuSetupPicture");
    mnuSetupPicture->menuAction()->setObjectName(QStringLiteral("mnuSetupPictureAction"));
    bar->addMenu(mnuSetupPicture);
    mnuLoadPicture = menuAction(mnuSetupPicture, "mnuLoadPicture", QStringLiteral("Load &Picture"));
    mnuClearPicture = menuAction(mnuSetupPicture, "mnuClearPicture", QStringLiteral("&Clear Picture"));
    mnuPaste = menuAction(mnuSetupPicture, "mnuPaste", QStringLiteral("P&aste"));
    gridSave = menuAction(bar, "gridSave", QStringLiteral("&Save"));
    mnuCalibrate = menuAction(bar, "mnuCalibrate", QStringLiteral("&Calibrate"));
    gridExit = menuAction(bar, "gridExit", QStringLiteral("E&xit"));

    auto* central = new QWidget(form);
    auto* outer = new QHBoxLayout(central);

    // The frame, with everything that lies on it.
    pictureParts = BuildPictureArea(central, QColor(40, 40, 40));
    pictureArea = pictureParts.area;
    canvas = pictureParts.canvas;
    magnifier = pictureParts.magnifier;
    outer->addWidget(pictureArea, 1);

    lblCB = hiddenOnPictureLabel(canvas, QStringLiteral("lblCB"), QStringLiteral("<-Check Buoy Should Be Here"));
    for (int i = 0; i < accuracyIndicatorCount; ++i)
        AccuracyIndicator[i] = hiddenOnPictureLabel(canvas, QStringLiteral("AccuracyIndicator_%1").arg(i));
    for (int i = 0; i < lineLabelCount; ++i)
        LineLabel[i] = hiddenOnPictureLabel(canvas, QStringLiteral("LineLabel_%1").arg(i), QString::number(i + 1));

    AdjustmentLabel = DragHandleLabel(pictureArea, "AdjustmentLabel", QStringLiteral("Micro-Adjust (drag-it)"));
    AdjustUp = MicroAdjustButton(pictureArea, "AdjustUp", Qt::UpArrow);
    AdjustLeft = MicroAdjustButton(pictureArea, "AdjustLeft", Qt::LeftArrow);
    AdjustRight = MicroAdjustButton(pictureArea, "AdjustRight", Qt::RightArrow);
    AdjustDown = MicroAdjustButton(pictureArea, "AdjustDown", Qt::DownArrow);

    CrossSizeLabel = DragHandleLabel(pictureArea, "CrossSizeLabel", QStringLiteral("Marker Icon Size (drag-it)"));
    Setup_Cross_size = MarkerSizeBar(pictureArea, "Setup_Cross_size", CrossSizeLabel->width());
    pictureParts.band->setFixedHeight(MicroAdjustBandHeight(AdjustmentLabel, AdjustUp, 8));

    gridLockedLabel = DragHandleLabel(pictureArea, "gridLockedLabel", QStringLiteral("GRID LOCKED!"));
    QFont lockedFont = gridLockedLabel->font();
    lockedFont.setBold(true);
    lockedFont.setPointSize(lockedFont.pointSize() + 4);
    gridLockedLabel->setFont(lockedFont);
    QPalette lockedPalette = gridLockedLabel->palette();
    lockedPalette.setColor(QPalette::WindowText, QColor(255, 0, 0));
    gridLockedLabel->setPalette(lockedPalette);
    gridLockedLabel->adjustSize();
    lblGridDragIt = DragHandleLabel(pictureArea, "lblGridDragIt", QStringLiteral("(drag-it)"));
    lblGridDragIt->setPalette(lockedPalette);

    // The controls on the right.
    // They scroll on a screen too small for them beside the frame.
    auto* scroll = new QScrollArea(central);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    auto* panel = new QWidget(scroll);
    panel->setObjectName(QStringLiteral("controlPanel"));
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    scroll->setWidget(panel);
    outer->addWidget(scroll, 0);

    Frame1 = Named(new QGroupBox(QStringLiteral("Grid Point Selection"), panel), "Frame1");
    auto* buoyRow = new QGridLayout(Frame1);
    upper_left_button = Named(new QRadioButton(QStringLiteral("upper left"), Frame1), "upper_left_button");
    upper_right_button = Named(new QRadioButton(QStringLiteral("upper right"), Frame1), "upper_right_button");
    lower_left_button = Named(new QRadioButton(QStringLiteral("lower left"), Frame1), "lower_left_button");
    lower_right_button = Named(new QRadioButton(QStringLiteral("lower right"), Frame1), "lower_right_button");
    optCheckBuoy = Named(new QRadioButton(QStringLiteral("Check Buoy"), Frame1), "optCheckBuoy");
    buoyRow->addWidget(upper_left_button, 0, 0);
    buoyRow->addWidget(upper_right_button, 0, 1);
    buoyRow->addWidget(lower_left_button, 1, 0);
    buoyRow->addWidget(lower_right_button, 1, 1);
    buoyRow->addWidget(optCheckBuoy, 2, 0);
    buoyGroup = new QButtonGroup(Frame1);
    for (QRadioButton* b : {upper_left_button, upper_right_button, lower_left_button, lower_right_button, optCheckBuoy})
        buoyGroup->addButton(b);
    column->addWidget(Frame1);

    auto* positions = new QGroupBox(QStringLiteral("Buoy Positions"), panel);
    auto* table = new QGridLayout(positions);
    table->addWidget(header(positions, QStringLiteral("Screen X")), 0, 1);
    table->addWidget(header(positions, QStringLiteral("Screen Y")), 0, 2);
    table->addWidget(header(positions, QStringLiteral("Survey X")), 0, 3);
    table->addWidget(header(positions, QStringLiteral("Survey Y")), 0, 4);
    const auto row = [&](int r, const QString& caption, QLineEdit* sx, QLineEdit* sy, QLineEdit* vx, QLineEdit* vy) {
        table->addWidget(new QLabel(caption, positions), r, 0);
        if (sx)
            table->addWidget(sx, r, 1);
        if (sy)
            table->addWidget(sy, r, 2);
        table->addWidget(vx, r, 3);
        table->addWidget(vy, r, 4);
    };
    upper_left_x = textBox(positions, "upper_left_x", QStringLiteral("auto"));
    upper_left_y = textBox(positions, "upper_left_y", QStringLiteral("auto"));
    upper_right_x = textBox(positions, "upper_right_x", QStringLiteral(" auto"));
    upper_right_y = textBox(positions, "upper_right_y", QStringLiteral("auto"));
    lower_left_x = textBox(positions, "lower_left_x", QStringLiteral("auto"));
    lower_left_y = textBox(positions, "lower_left_y", QStringLiteral("auto"));
    lower_right_x = textBox(positions, "lower_right_x", QStringLiteral("auto"));
    lower_right_y = textBox(positions, "lower_right_y", QStringLiteral("auto"));
    ul_survey_x = textBox(positions, "ul_survey_x", QStringLiteral("input"));
    ul_survey_y = textBox(positions, "ul_survey_y", QStringLiteral("input"));
    ur_survey_x = textBox(positions, "ur_survey_x", QStringLiteral("input"));
    ur_survey_y = textBox(positions, "ur_survey_y", QStringLiteral("input"));
    ll_survey_x = textBox(positions, "ll_survey_x", QStringLiteral("input"));
    ll_survey_y = textBox(positions, "ll_survey_y", QStringLiteral("input"));
    lr_survey_x = textBox(positions, "lr_survey_x", QStringLiteral("input"));
    lr_survey_y = textBox(positions, "lr_survey_y", QStringLiteral("input"));
    jump_x = textBox(positions, "jump_x", QStringLiteral("jump x"));
    jump_y = textBox(positions, "jump_y", QStringLiteral("jump y"));
    txtCheckXpix = textBox(positions, "txtCheckXpix");
    txtCheckYpix = textBox(positions, "txtCheckYpix");
    txtCheckX = textBox(positions, "txtCheckX", QStringLiteral("CheckX"));
    txtCheckY = textBox(positions, "txtCheckY", QStringLiteral("CheckY"));
    row(1, QStringLiteral("Upper Left"), upper_left_x, upper_left_y, ul_survey_x, ul_survey_y);
    row(2, QStringLiteral("Upper Right"), upper_right_x, upper_right_y, ur_survey_x, ur_survey_y);
    row(3, QStringLiteral("Lower Left"), lower_left_x, lower_left_y, ll_survey_x, ll_survey_y);
    row(4, QStringLiteral("Lower Right"), lower_right_x, lower_right_y, lr_survey_x, lr_survey_y);
    row(5, QStringLiteral("Check Buoy"), txtCheckXpix, txtCheckYpix, txtCheckX, txtCheckY);
    row(6, QStringLiteral("Jump Point"), nullptr, nullptr, jump_x, jump_y);
    column->addWidget(positions);

    auto* files = new QGridLayout;
    files->addWidget(new QLabel(QStringLiteral("Set-up File"), panel), 0, 0);
    ipt_file_description = textBox(panel, "ipt_file_description", QStringLiteral("No File"));
    files->addWidget(ipt_file_description, 0, 1, 1, 3);
    files->addWidget(new QLabel(QStringLiteral("Description"), panel), 1, 0);
    ipt_file_description_2 = textBox(panel, "ipt_file_description_2");
    files->addWidget(ipt_file_description_2, 1, 1, 1, 3);
    files->addWidget(new QLabel(QStringLiteral("Picture Size"), panel), 2, 0);
    txtPicWidth = textBox(panel, "txtPicWidth", QStringLiteral("Text1"));
    txtPicHeight = textBox(panel, "txtPicHeight", QStringLiteral("Text1"));
    files->addWidget(txtPicWidth, 2, 1);
    files->addWidget(txtPicHeight, 2, 2);
    column->addLayout(files);

    auto* buttons = new QHBoxLayout;
    grid_select = Named(new QPushButton(QStringLiteral("Grid 1"), panel), "grid_select");
    Load = Named(new QPushButton(QStringLiteral("Complete"), panel), "Load");
    show_alignment = Named(new QPushButton(QStringLiteral("Draw Buoys"), panel), "show_alignment");
    grid_state_icon = Named(new QLabel(panel), "grid_state_icon");
    grid_state_icon->setFixedSize(32, 32);
    buttons->addWidget(grid_select);
    buttons->addWidget(Load);
    buttons->addWidget(show_alignment);
    buttons->addWidget(grid_state_icon);
    column->addLayout(buttons);
    lblSolveSummary = Named(new QLabel(panel), "lblSolveSummary");
    lblSolveSummary->setWordWrap(true);
    lblSolveSummary->hide();
    column->addWidget(lblSolveSummary);

    auto* checks = new QHBoxLayout;
    chkboxGridLock = Named(new QCheckBox(QStringLiteral("Lock Grid Buoys"), panel), "chkboxGridLock");
    chkMagnifier = Named(new QCheckBox(QStringLiteral("Magnifier"), panel), "chkMagnifier");
    checks->addWidget(chkboxGridLock);
    checks->addWidget(chkMagnifier);
    checks->addStretch();
    column->addLayout(checks);

    auto* accuracy = new QHBoxLayout;
    btnAccuracyCheck = Named(new QPushButton(QStringLiteral("Accuracy"), panel), "btnAccuracyCheck");
    fmAccuracyDisplay = Named(new QGroupBox(QStringLiteral("Accuracy Check"), panel), "fmAccuracyDisplay");
    auto* modes = new QVBoxLayout(fmAccuracyDisplay);
    optStandardAccuracy = Named(new QRadioButton(QStringLiteral("Standard"), fmAccuracyDisplay), "optStandardAccuracy");
    optAdvancedAccuracy = Named(new QRadioButton(QStringLiteral("Advanced"), fmAccuracyDisplay), "optAdvancedAccuracy");
    modes->addWidget(optStandardAccuracy);
    modes->addWidget(optAdvancedAccuracy);
    lblAccuracyLegend = Named(new QLabel(QStringLiteral("R: within 0.10 m\nL: within 0.15 m\nC: within 0.20 m\n"
                                                        "NH: over 0.20 m, not homologable"),
                                         fmAccuracyDisplay),
                              "lblAccuracyLegend");
    modes->addWidget(lblAccuracyLegend);
    fmAccuracyConfig = Named(new QGroupBox(QStringLiteral("Display"), panel), "fmAccuracyConfig");
    auto* kinds = new QVBoxLayout(fmAccuracyConfig);
    optHomolgationLevel = Named(new QRadioButton(QStringLiteral("Hom.Lvl"), fmAccuracyConfig), "optHomolgationLevel");
    optDisplayDistance = Named(new QRadioButton(QStringLiteral("Distance"), fmAccuracyConfig), "optDisplayDistance");
    optDetailMeasurement = Named(new QRadioButton(QStringLiteral("Detail"), fmAccuracyConfig), "optDetailMeasurement");
    kinds->addWidget(optHomolgationLevel);
    kinds->addWidget(optDisplayDistance);
    kinds->addWidget(optDetailMeasurement);
    accuracy->addWidget(btnAccuracyCheck, 0, Qt::AlignTop);
    accuracy->addWidget(fmAccuracyDisplay, 0, Qt::AlignTop);
    accuracy->addWidget(fmAccuracyConfig, 0, Qt::AlignTop);
    accuracy->addStretch();
    column->addLayout(accuracy);
    column->addStretch();

    keyTimer = Named(new QTimer(form), "keyTimer");
    keyTimer->setInterval(100);

    // The controls take the width they need; the frame takes the rest.
    scroll->setFixedWidth(panel->minimumSizeHint().width() + scroll->verticalScrollBar()->sizeHint().width() + 40);
    form->setCentralWidget(central);
    // A window resized puts the groups back in the band, which moved.
    OnResize(pictureArea, [this] { placeFloatingGroups(); });
    placeFloatingGroups();
}

void GridSetupUi::placeFloatingGroups()
{
    const int margin = 8;
    const QRect band = pictureParts.band->geometry();
    const int w = canvas->width();

    PlaceMicroAdjust(AdjustmentLabel, AdjustUp, AdjustDown, AdjustLeft, AdjustRight, band, margin);
    PlaceMarkerSizeBar(CrossSizeLabel, Setup_Cross_size, band, margin);

    // The lock sign in the band's middle, where the operator looks while
    // the pattern moves.
    const int lockWidth = gridLockedLabel->width() + lblGridDragIt->width();
    gridLockedLabel->move((w - lockWidth) / 2, band.top() + band.height() / 2);
    lblGridDragIt->move(gridLockedLabel->x() + gridLockedLabel->width(),
                        gridLockedLabel->y() + (gridLockedLabel->height() - lblGridDragIt->height()) / 2);
    for (QWidget* floating : {static_cast<QWidget*>(AdjustmentLabel), static_cast<QWidget*>(AdjustUp),
                              static_cast<QWidget*>(AdjustLeft), static_cast<QWidget*>(AdjustRight),
                              static_cast<QWidget*>(AdjustDown), static_cast<QWidget*>(CrossSizeLabel),
                              static_cast<QWidget*>(Setup_Cross_size), static_cast<QWidget*>(gridLockedLabel),
                              static_cast<QWidget*>(lblGridDragIt)})
        floating->raise();
}

void GridSetupUi::showGridState(bool ready)
{
    grid_state_icon->setPixmap(statusPixmap(ready));
    grid_state_icon->setToolTip(ready ? QStringLiteral("Grid ready") : QStringLiteral("Grid not ready"));
}

void GridSetupUi::placeAccuracyLabel(QLabel* label, const AccuracyLabel& item, const QColor& color)
{
    label->setText(item.caption);
    setTextColor(label, color);
    label->adjustSize();
    canvas->placeOnPicture(label, item.topLeft);
    label->setVisible(item.visible);
    if (item.visible)
        label->raise();
}

void GridSetupUi::setAccuracyControlsVisible(bool visible)
{
    btnAccuracyCheck->setVisible(visible);
    fmAccuracyDisplay->setVisible(visible);
    fmAccuracyConfig->setVisible(visible && optAdvancedAccuracy->isChecked());
}

void GridSetupUi::showGridLocked(bool locked)
{
    for (QLabel* label : {gridLockedLabel, lblGridDragIt}) {
        label->setVisible(locked);
        if (locked)
            label->raise();
    }
}
