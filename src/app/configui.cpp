#include "app/configui.h"

#include "widgets/named.h"

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

QGroupBox* frame(QWidget* parent, const char* name, const QString& caption)
{
    return Named(new QGroupBox(caption, parent), name);
}

QRadioButton* option(QGroupBox* group, const char* name, const QString& caption)
{
    auto* button = Named(new QRadioButton(caption, group), name);
    group->layout()->addWidget(button);
    return button;
}

} // namespace

void ConfigUi::setupUi(QMainWindow* form)
{
    mnuExit = form->menuBar()->addAction(QStringLiteral("E&xit and Save Parameters"));
    mnuExit->setObjectName(QStringLiteral("mnuExit"));

    auto* central = new QWidget(form);
    form->setCentralWidget(central);
    auto* outer = new QVBoxLayout(central);

    // Paths and names: a caption, the box, and its find button where it has one.
    auto* paths = new QGridLayout;
    outer->addLayout(paths);
    const auto row = [&](int r, const char* labelName, const QString& caption, QLineEdit*& box,
                         const char* boxName, const QString& text) {
        paths->addWidget(Named(new QLabel(caption, central), labelName), r, 0);
        box = Named(new QLineEdit(text, central), boxName);
        box->setMinimumWidth(380);
        paths->addWidget(box, r, 1);
    };
    const auto findButton = [&](int r, const char* name, const QString& caption) {
        auto* button = Named(new QPushButton(caption, central), name);
        paths->addWidget(button, r, 2);
        return button;
    };
    row(0, "Label1", QStringLiteral("Tournament"), TournamentName, "TournamentName", QStringLiteral("Default"));
    row(1, "Label2", QStringLiteral("Results file"), ResultsPathName, "ResultsPathName",
        QStringLiteral("Default.txt"));
    btnFindResults = findButton(1, "btnFindResults", QStringLiteral("find"));
    row(2, "Label3", QStringLiteral("Captures path"), CapturesPathName, "CapturesPathName", {});
    btnFindCaptures = findButton(2, "btnFindCaptures", QStringLiteral("find"));
    row(3, "Label4", QStringLiteral("Setup files path"), SetupFilesPathName, "SetupFilesPathName", {});
    btnFindSetupFiles = findButton(3, "btnFindSetupFiles", QStringLiteral("find"));
    row(4, "Label5", QStringLiteral("Skier name file"), SkierNameFile, "SkierNameFile", {});
    btnFindNames = findButton(4, "btnFindNames", QStringLiteral("find"));

    auto* columns = new QHBoxLayout;
    outer->addLayout(columns);
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);

    auto* gridframe = frame(central, "gridframe", QStringLiteral("Number of Grids"));
    new QHBoxLayout(gridframe);
    Opt1Grid = option(gridframe, "Opt1Grid", QStringLiteral("1"));
    Opt2grid = option(gridframe, "Opt2grid", QStringLiteral("2"));
    Opt3grid = option(gridframe, "Opt3grid", QStringLiteral("3"));
    left->addWidget(gridframe);

    Barefoot_box = Named(new QCheckBox(QStringLiteral("Check if barefoot jumping"), central), "Barefoot_box");
    SitSki_box = Named(new QCheckBox(QStringLiteral("Check if Sit Ski"), central), "SitSki_box");
    left->addWidget(Barefoot_box);
    left->addWidget(SitSki_box);

    auto* direction = frame(central, "Jump_direction", QStringLiteral("Jump Direction"));
    new QVBoxLayout(direction);
    left_to_right_button = option(direction, "left_to_right_button", QStringLiteral("Jump Left to Right"));
    right_to_left_button = option(direction, "right_to_left_button", QStringLiteral("Jump Right to Left"));
    left->addWidget(direction);

    auto* marker = frame(central, "Frame1", QStringLiteral("Marker Style"));
    new QHBoxLayout(marker);
    OptCross = option(marker, "OptCross", QStringLiteral("Cross"));
    OptCircle = option(marker, "OptCircle", QStringLiteral("Circle"));
    left->addWidget(marker);

    auto* colours = frame(central, "message_colors", QStringLiteral("Select Message Color"));
    new QHBoxLayout(colours);
    white_color = option(colours, "white_color", QStringLiteral("White"));
    black_color = option(colours, "black_color", QStringLiteral("Black"));
    yellow_color = option(colours, "yellow_color", QStringLiteral("Yellow"));
    default_color = option(colours, "default_color", QStringLiteral("Default"));
    left->addWidget(colours);
    left->addStretch();

    line_control_check = Named(new QCheckBox(QStringLiteral("Check for line control on"), central),
                               "line_control_check");
    SCORIX = Named(new QCheckBox(QStringLiteral("SCORIX Interface"), central), "SCORIX");
    QXIOLabel = Named(new QLabel(QStringLiteral("Caution, SCORIX requires QXIO directory to exist"), central),
                      "QXIOLabel");
    QXIOLabel->setWordWrap(true);
    QXIOLabel->hide();
    chkLoupe = Named(new QCheckBox(QStringLiteral("Use Screen Loupe"), central), "chkLoupe");
    cmdLoupe = Named(new QPushButton(QStringLiteral("Restart Screen Loupe if you exited it"), central), "cmdLoupe");
    for (QWidget* w : {static_cast<QWidget*>(line_control_check), static_cast<QWidget*>(SCORIX),
                       static_cast<QWidget*>(QXIOLabel), static_cast<QWidget*>(chkLoupe),
                       static_cast<QWidget*>(cmdLoupe)})
        right->addWidget(w);
    auto* preroll = new QHBoxLayout;
    preroll->addWidget(Named(new QLabel(QStringLiteral("Seconds kept before Start Recording"), central),
                             "lblPrerollSeconds"));
    prerollSeconds = Named(new QSpinBox(central), "prerollSeconds");
    prerollSeconds->setRange(0, 3);
    preroll->addWidget(prerollSeconds);
    preroll->addStretch();
    right->addLayout(preroll);

    const QString ask = QStringLiteral("Ask if you want to save each time");
    const QString never = QStringLiteral("Never Save");
    const QString always = QStringLiteral("Always Save without asking");
    auto* pictures = frame(central, "Frame3", QStringLiteral("How to deal with individual contact point pictures"));
    new QVBoxLayout(pictures);
    OptPictureAsk = option(pictures, "OptPictureAsk", ask);
    OptPictureNoSave = option(pictures, "OptPictureNoSave", never);
    OptPictureSave = option(pictures, "OptPictureSave", always);
    right->addWidget(pictures);
    auto* videos = frame(central, "Frame2", QStringLiteral("How to deal with captured video files"));
    new QVBoxLayout(videos);
    OptVideoAsk = option(videos, "OptVideoAsk", ask);
    OptVideoNoSave = option(videos, "OptVideoNoSave", never);
    OptVideoSave = option(videos, "OptVideoSave", always);
    right->addWidget(videos);
    right->addStretch();
}
