#include "video/frmsetstartui.h"

#include "video/frameplayer.h"
#include "widgets/named.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

QPushButton* button(const char* name, const QString& caption, QWidget* parent)
{
    return Named(new QPushButton(caption, parent), name);
}

QLabel* label(const char* name, const QString& caption, QWidget* parent)
{
    return Named(new QLabel(caption, parent), name);
}

QLineEdit* box(const char* name, const QString& text, QWidget* parent, int width = 0)
{
    auto* edit = Named(new QLineEdit(text, parent), name);
    if (width > 0)
        edit->setFixedWidth(width);
    return edit;
}

} // namespace

void FrmSetStartUi::build(QMainWindow* window)
{
    auto* central = new QWidget(window);
    auto* outer = new QHBoxLayout(central);

    auto* left = new QVBoxLayout;
    MediaPlayer1 = Named(new FramePlayer(central), "MediaPlayer1");
    MediaPlayer1->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    restorePlayerSize();
    left->addWidget(MediaPlayer1, 1);
    Label5 = label("Label5", QString::fromLatin1(selectStartInstruction), central);
    Label5->setWordWrap(true);
    left->addWidget(Label5);

    auto* steps = new QHBoxLayout;
    Command1 = button("Command1", QStringLiteral("<"), central);
    Command4 = button("Command4", QStringLiteral(">"), central);
    Text9 = box("Text9", QStringLiteral("0"), central, 80);
    steps->addWidget(Command1);
    steps->addWidget(Text9);
    steps->addWidget(Command4);
    steps->addStretch();
    left->addLayout(steps);

    Text6 = box("Text6", QString(), central);
    Text6->setReadOnly(true);
    left->addWidget(Text6);
    Command6 = button("Command6", QStringLiteral("Open a recorded jump file"), central);
    left->addWidget(Command6);
    lstFileInfo = Named(new QListWidget(central), "lstFileInfo");
    // A few lines of information; the height goes to the picture.
    lstFileInfo->setMaximumHeight(110);
    left->addWidget(lstFileInfo);
    outer->addLayout(left, 1);

    auto* right = new QVBoxLayout;
    auto* replays = new QGroupBox(central);
    auto* grid = new QGridLayout(replays);
    Command5 = button("Command5", QStringLiteral("Play before start -->"), replays);
    Text4 = box("Text4", QStringLiteral("2"), replays, 40);
    Text5 = box("Text5", QString(), replays, 60);
    Text5->setReadOnly(true);
    txtStartLoop = box("txtStartLoop", QStringLiteral("1"), replays, 40);
    Text4->setToolTip(QStringLiteral("Seconds replayed before the start (1 to 5)"));
    txtStartLoop->setToolTip(QStringLiteral("Number of replays before the start"));
    Text5->setToolTip(QStringLiteral("Replay time in milliseconds"));
    grid->addWidget(Command5, 0, 0);
    grid->addWidget(Text4, 0, 1);
    grid->addWidget(txtStartLoop, 0, 2);
    grid->addWidget(Text5, 0, 3);

    Command7 = button("Command7", QStringLiteral("Play before end -->"), replays);
    Text7 = box("Text7", QStringLiteral("5"), replays, 40);
    Label2 = label("Label2", QStringLiteral("sec"), replays);
    txtEndLoop = box("txtEndLoop", QStringLiteral("1"), replays, 40);
    Text7->setToolTip(QStringLiteral("Seconds replayed before the end of the run (1 to 22)"));
    txtEndLoop->setToolTip(QStringLiteral("Number of replays before the end"));
    grid->addWidget(Command7, 1, 0);
    grid->addWidget(Text7, 1, 1);
    grid->addWidget(Label2, 1, 2);
    grid->addWidget(txtEndLoop, 1, 3);
    Label6 = label("Label6", QStringLiteral("and then continue"), replays);
    cbPlayAfter = Named(new QCheckBox(replays), "cbPlayAfter");
    grid->addWidget(Label6, 2, 0);
    grid->addWidget(cbPlayAfter, 2, 1);
    cmdPlayAndPause = button("cmdPlayAndPause", QStringLiteral("Play to end, pause, continue"), replays);
    grid->addWidget(cmdPlayAndPause, 3, 0, 1, 4);
    cbFullScreen = Named(new QCheckBox(QStringLiteral("Play using Full Screen, ESC returns Click Mouse to repeat Play"),
                                       replays),
                         "cbFullScreen");
    grid->addWidget(cbFullScreen, 4, 0, 1, 4);
    right->addWidget(replays);

    cmdMarkStart = button("cmdMarkStart", QStringLiteral("Use displayed frame to measure jump"), central);
    btnGoToSetup = button("btnGoToSetup", QStringLiteral("Use displayed frame to set up Grid"), central);
    right->addWidget(cmdMarkStart);
    right->addWidget(btnGoToSetup);
    Label9 = label("Label9", QStringLiteral("Barefoot Mode"), central);
    Label9->hide();
    right->addWidget(Label9);

    auto* disk = new QHBoxLayout;
    Label10 = label("Label10", QStringLiteral("Disk Free Space Available"), central);
    lblDiskSpace = label("lblDiskSpace", QStringLiteral("Disk Space"), central);
    disk->addWidget(Label10);
    disk->addWidget(lblDiskSpace);
    right->addLayout(disk);
    Label11 = label("Label11", QStringLiteral("Warning! Disk Space Low"), central);
    Label11->setStyleSheet(QStringLiteral("color: red; font-weight: bold"));
    Label11->hide();
    right->addWidget(Label11);

    cmdViewLog = button("cmdViewLog", QStringLiteral("View Log File"), central);
    cmdGoToCapture = button("cmdGoToCapture", QStringLiteral("Go To Record Next Jump Pass"), central);
    cmdGoToSetup = button("cmdGoToSetup", QStringLiteral("Go Back To Main Screen"), central);
    right->addWidget(cmdViewLog);
    right->addWidget(cmdGoToCapture);
    right->addWidget(cmdGoToSetup);

    auto* keys = new QGridLayout;
    Label7 = label("Label7", QStringLiteral("key test"), central);
    Text1 = box("Text1", QString(), central, 50);
    Label8 = label("Label8", QStringLiteral("Key Down"), central);
    Label8->hide();
    Label12 = label("Label12", QStringLiteral("media key"), central);
    Text2 = box("Text2", QString(), central, 50);
    keys->addWidget(Label7, 0, 0);
    keys->addWidget(Text1, 0, 1);
    keys->addWidget(Label8, 0, 2);
    keys->addWidget(Label12, 1, 0);
    keys->addWidget(Text2, 1, 1);
    right->addLayout(keys);
    right->addStretch();
    outer->addLayout(right);

    window->setCentralWidget(central);

    Timer1 = Named(new QTimer(window), "Timer1");
    Timer1->setSingleShot(false);
    Timer2 = Named(new QTimer(window), "Timer2");
    Timer2->setInterval(100);
}

void FrmSetStartUi::restorePlayerSize()
{
    MediaPlayer1->setMinimumSize(playerWidthPixels, playerHeightPixels);
    MediaPlayer1->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
}
