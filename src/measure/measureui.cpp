#include "measure/measureui.h"

#include "grid/labelcolor.h"
#include "widgets/picturecanvas.h"
#include "widgets/pictureparts.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QAction* menuAction(QMenuBar* bar, const char* name, const QString& caption)
{
    QAction* action = bar->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

QLineEdit* textBox(QWidget* parent, const char* name, const QString& text = {})
{
    auto* box = Named(new QLineEdit(text, parent), name);
    return box;
}

void setTextColor(QWidget* widget, const QColor& color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::ButtonText, color);
    widget->setPalette(palette);
}

} // namespace

void MeasureUi::setupUi(QMainWindow* form)
{
    QMenuBar* bar = form->menuBar();
    LoadPict = menuAction(bar, "LoadPict", QStringLiteral("&Load Picture"));
    mnuPaste = menuAction(bar, "mnuPaste", QStringLiteral("&Paste"));
    SavePict = menuAction(bar, "SavePict", QStringLiteral("&Save Picture"));
    mnuResults = menuAction(bar, "mnuResults", QStringLiteral("&Results"));
    mnuCalibrate = menuAction(bar, "mnuCalibrate", QStringLiteral("&Calibrate"));
    mnuCapture = menuAction(bar, "mnuCapture", QStringLiteral("C&apture Next Jump"));
    mnuViewLog = menuAction(bar, "mnuViewLog", QStringLiteral("&View Log"));
    Exit = menuAction(bar, "Exit", QStringLiteral("E&xit"));

    auto* central = new QWidget(form);
    auto* outer = new QHBoxLayout(central);
    form->setCentralWidget(central);

    // The picture area takes the room the controls leave.
    pictureParts = BuildPictureArea(central, Qt::black);
    pictureArea = pictureParts.area;
    canvas = pictureParts.canvas;
    magnifier = pictureParts.magnifier;
    outer->addWidget(pictureArea, 1);
    maxbuoy = OnPictureLabel(canvas, QStringLiteral("maxbuoy"));
    maxbuoym = OnPictureLabel(canvas, QStringLiteral("maxbuoym"));
    minbuoy = OnPictureLabel(canvas, QStringLiteral("minbuoy"));
    minbuoym = OnPictureLabel(canvas, QStringLiteral("minbuoym"));

    AdjustmentLabel = DragHandleLabel(pictureArea, "AdjustmentLabel", QStringLiteral("Micro-Adjust (drag-it)"));
    AdjustUp = MicroAdjustButton(pictureArea, "AdjustUp", Qt::UpArrow);
    AdjustDown = MicroAdjustButton(pictureArea, "AdjustDown", Qt::DownArrow);
    AdjustLeft = MicroAdjustButton(pictureArea, "AdjustLeft", Qt::LeftArrow);
    AdjustRight = MicroAdjustButton(pictureArea, "AdjustRight", Qt::RightArrow);

    CrossLabel = DragHandleLabel(pictureArea, "CrossLabel", QStringLiteral("Adjust Cross Size (drag-it)"));
    CrossSize = MarkerSizeBar(pictureArea, "CrossSize", CrossLabel->width());
    pictureParts.band->setFixedHeight(MicroAdjustBandHeight(AdjustmentLabel, AdjustUp, 8));

    FrozenSign = Named(new QLabel(QStringLiteral("FROZEN"), pictureArea), "FrozenSign");
    {
        QFont font = FrozenSign->font();
        font.setBold(true);
        font.setPointSize(font.pointSize() + 6);
        FrozenSign->setFont(font);
        FrozenSign->setAutoFillBackground(true);
        QPalette palette = FrozenSign->palette();
        palette.setColor(QPalette::Window, QColor(170, 0, 0));
        FrozenSign->setPalette(palette);
        FrozenSign->setContentsMargins(8, 2, 8, 2);
        FrozenSign->setCursor(Qt::SizeAllCursor);
        FrozenSign->adjustSize();
    }

    gridlabel = DragHandleLabel(pictureArea, "gridlabel", QStringLiteral("Grid Description (drag-it)"));
    grid_description = textBox(pictureArea, "grid_description");
    grid_description->resize(260, grid_description->sizeHint().height());
    gif_file_name = textBox(pictureArea, "gif_file_name", QStringLiteral(".gif file name"));
    gif_file_name->resize(260, gif_file_name->sizeHint().height());

    // The operator's controls beside the picture.
    auto* panel = Named(new QWidget(central), "controls");
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(panel, 0, Qt::AlignTop);

    Skier_name = Named(new QComboBox(panel), "Skier_name");
    Skier_name->setEditable(true);
    Skier_name->setInsertPolicy(QComboBox::NoInsert);
    Skier_name->setEditText(QStringLiteral("Skier Name"));
    Skier_name->setMinimumWidth(200);
    column->addWidget(Skier_name);
    Jump_no = textBox(panel, "Jump_no", QStringLiteral("Jump"));
    column->addWidget(Jump_no);

    Frame1 = Named(new QGroupBox(panel), "Frame1");
    // A grey behind the options, so that black, red, yellow and white
    // captions of the label colour choices all read.
    Frame1->setAutoFillBackground(true);
    QPalette framePalette = Frame1->palette();
    framePalette.setColor(QPalette::Window, QColor(128, 140, 152));
    Frame1->setPalette(framePalette);
    auto* options = new QGridLayout(Frame1);
    statusGroup = new QButtonGroup(Frame1);
    const auto option = [&](const char* name, const QString& caption, int row, int col) {
        auto* button = Named(new QRadioButton(caption, Frame1), name);
        options->addWidget(button, row, col);
        statusGroup->addButton(button);
        return button;
    };
    optJumpOK = option("optJumpOK", QStringLiteral("Jump OK"), 0, 0);
    Pass = option("Pass", QStringLiteral("Pass"), 1, 0);
    Fall = option("Fall", QStringLiteral("Fall"), 2, 0);
    Other_Grid = option("Other_Grid", QStringLiteral("Other Grid"), 3, 0);
    M_Reride = option("M_Reride", QStringLiteral("Man. Reride"), 0, 1);
    O_reride = option("O_reride", QStringLiteral("Opt. reride"), 1, 1);
    Make_comment = option("Make_comment", QStringLiteral("Comment"), 2, 1);
    column->addWidget(Frame1);

    Comment = textBox(panel, "Comment");
    column->addWidget(Comment);

    Record = Named(new QPushButton(QStringLiteral("Record &Jump"), panel), "Record");
    {
        QFont font = Record->font();
        font.setBold(true);
        Record->setFont(font);
        Record->setMinimumHeight(36);
    }
    column->addWidget(Record);

    auto* results = new QGridLayout();
    IWSFlabel = Named(new QLabel(QStringLiteral("IWSF Official Distance"), panel), "IWSFlabel");
    distance = textBox(panel, "distance", QStringLiteral("M"));
    AWSAlabel = Named(new QLabel(QStringLiteral("AWSA Official Distance"), panel), "AWSAlabel");
    distance_ft = textBox(panel, "distance_ft", QStringLiteral("FT"));
    results->addWidget(IWSFlabel, 0, 0);
    results->addWidget(distance, 0, 1);
    results->addWidget(AWSAlabel, 1, 0);
    results->addWidget(distance_ft, 1, 1);
    column->addLayout(results);
    barefoot_indicator = textBox(panel, "barefoot_indicator", QStringLiteral("Barefoot Jump"));
    barefoot_indicator->setReadOnly(true);
    column->addWidget(barefoot_indicator);

    auto* verifyRow = new QGridLayout();
    verify = Named(new QPushButton(QStringLiteral("Verify"), panel), "verify");
    UnofficialJump = Named(new QLabel(QStringLiteral("UNOFFICIAL JUMP"), panel), "UnofficialJump");
    {
        QFont font = UnofficialJump->font();
        font.setBold(true);
        UnofficialJump->setFont(font);
        QPalette palette = UnofficialJump->palette();
        palette.setColor(QPalette::WindowText, QColor(200, 0, 0));
        UnofficialJump->setPalette(palette);
    }
    VerifyDistance = textBox(panel, "VerifyDistance");
    xposition = textBox(panel, "xposition");
    yposition = textBox(panel, "yposition");
    xtwips = textBox(panel, "xtwips");
    ytwips = textBox(panel, "ytwips");
    verifyRow->addWidget(verify, 0, 0);
    verifyRow->addWidget(UnofficialJump, 0, 1);
    verifyRow->addWidget(VerifyDistance, 1, 0, 1, 2);
    verifyRow->addWidget(xposition, 2, 0);
    verifyRow->addWidget(yposition, 2, 1);
    verifyRow->addWidget(xtwips, 3, 0);
    verifyRow->addWidget(ytwips, 3, 1);
    column->addLayout(verifyRow);

    auto* gridRow = new QHBoxLayout();
    Set_grid = Named(new QPushButton(QStringLiteral("&Grid 1"), panel), "Set_grid");
    Show_grid = Named(new QPushButton(QStringLiteral("Show Grid"), panel), "Show_grid");
    Unfreeze = Named(new QPushButton(QStringLiteral("Clear"), panel), "Unfreeze");
    gridRow->addWidget(Set_grid);
    gridRow->addWidget(Show_grid);
    gridRow->addWidget(Unfreeze);
    column->addLayout(gridRow);

    auto* sourceRow = new QHBoxLayout();
    ClipSnapShot = Named(new QPushButton(panel), "ClipSnapShot");
    ClipSnapShot->setIcon(panel->style()->standardIcon(QStyle::SP_FileDialogContentsView));
    ClipSnapShot->setToolTip(QStringLiteral("Freeze on the clipboard picture"));
    ImgSnapShot = Named(new QPushButton(panel), "ImgSnapShot");
    ImgSnapShot->setIcon(panel->style()->standardIcon(QStyle::SP_DialogOpenButton));
    ImgSnapShot->setToolTip(QStringLiteral("Freeze on the snapshot"));
    cbAutoLoadClipboard = Named(new QCheckBox(QStringLiteral("Auto Load"), panel), "cbAutoLoadClipboard");
    chkMagnifier = Named(new QCheckBox(QStringLiteral("Magnifier"), panel), "chkMagnifier");
    sourceRow->addWidget(ClipSnapShot);
    sourceRow->addWidget(ImgSnapShot);
    sourceRow->addWidget(cbAutoLoadClipboard);
    sourceRow->addWidget(chkMagnifier);
    column->addLayout(sourceRow);

    btnNextJump = Named(new QPushButton(QStringLiteral("Capture Next Jump"), panel), "btnNextJump");
    column->addWidget(btnNextJump);
    column->addStretch(1);

    keyTimer = Named(new QTimer(form), "keyTimer");
    keyTimer->setInterval(100);
    loadTimer = Named(new QTimer(form), "loadTimer");
    loadTimer->setInterval(1000);

    // A window resized puts the groups back in the band, which moved.
    OnResize(pictureArea, [this] { placeFloatingGroups(); });
    placeFloatingGroups();
}

std::array<QWidget*, 5> MeasureUi::fineAdjustment() const
{
    return {AdjustmentLabel, AdjustUp, AdjustDown, AdjustLeft, AdjustRight};
}

void MeasureUi::placeFloatingGroups()
{
    const int margin = 8;
    const QRect band = pictureParts.band->geometry();
    const int w = canvas->width(); // left of the scroll bar

    gridlabel->move(margin, margin);
    grid_description->move(margin, gridlabel->y() + gridlabel->height());
    gif_file_name->move(margin, grid_description->y() + grid_description->height());

    FrozenSign->move(w - FrozenSign->width() - margin, margin);

    PlaceMicroAdjust(AdjustmentLabel, AdjustUp, AdjustDown, AdjustLeft, AdjustRight, band, margin);
    PlaceMarkerSizeBar(CrossLabel, CrossSize, band, margin);
}

std::array<std::pair<QRadioButton*, StatusOption>, 7> MeasureUi::statusOptions() const
{
    return {{
        {optJumpOK, StatusOption::optJumpOK},
        {Pass, StatusOption::Pass},
        {Fall, StatusOption::Fall},
        {Other_Grid, StatusOption::Other_Grid},
        {M_Reride, StatusOption::M_Reride},
        {O_reride, StatusOption::O_reride},
        {Make_comment, StatusOption::Make_comment},
    }};
}

void MeasureUi::applyLabelColours(const QString& choice)
{
    const bool oneColour = choice == QLatin1String("white") || choice == QLatin1String("black")
        || choice == QLatin1String("yellow");
    const QColor labelColour = LabelColor(choice);
    const auto colour = [&](const QColor& byDefault) { return oneColour ? labelColour : byDefault; };

    for (QWidget* w : {static_cast<QWidget*>(Make_comment), static_cast<QWidget*>(Other_Grid),
                       static_cast<QWidget*>(Fall), static_cast<QWidget*>(Pass), static_cast<QWidget*>(optJumpOK),
                       static_cast<QWidget*>(IWSFlabel), static_cast<QWidget*>(AWSAlabel)})
        setTextColor(w, colour(QColor(0, 0, 0)));
    setTextColor(M_Reride, colour(QColor(255, 0, 0)));
    setTextColor(O_reride, colour(QColor(255, 255, 0)));
    for (QWidget* w : {static_cast<QWidget*>(FrozenSign), static_cast<QWidget*>(AdjustmentLabel),
                       static_cast<QWidget*>(CrossLabel), static_cast<QWidget*>(maxbuoy),
                       static_cast<QWidget*>(maxbuoym), static_cast<QWidget*>(minbuoy),
                       static_cast<QWidget*>(minbuoym)})
        setTextColor(w, colour(QColor(255, 255, 255)));
}

void MeasureUi::setReadoutsVisible(bool visible)
{
    for (QWidget* w : {static_cast<QWidget*>(xtwips), static_cast<QWidget*>(ytwips),
                       static_cast<QWidget*>(xposition), static_cast<QWidget*>(yposition),
                       static_cast<QWidget*>(VerifyDistance), static_cast<QWidget*>(UnofficialJump)})
        w->setVisible(visible);
}

void MeasureUi::setFineAdjustmentVisible(bool visible)
{
    for (QWidget* w : fineAdjustment()) {
        w->setVisible(visible);
        if (visible)
            w->raise();
    }
}

void MeasureUi::clearFarBuoyLabels()
{
    for (QLabel* label : {maxbuoy, minbuoy, maxbuoym, minbuoym}) {
        label->clear();
        label->adjustSize();
    }
}

void MeasureUi::showPictureName(const QString& name)
{
    gif_file_name->setText(name);
    gif_file_name->move(grid_description->x(), grid_description->y() + grid_description->height());
    gif_file_name->show();
    gif_file_name->raise();
}
