#include "video/previewformui.h"

#include "widgets/livepicture.h"
#include "widgets/named.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

PreviewFormUi BuildPreviewForm(QMainWindow* form)
{
    PreviewFormUi ui;
    auto* central = new QWidget(form);
    auto* halves = new QHBoxLayout(central);
    ui.CapturePRO1 = Named(new LivePicture(central), "CapturePRO1");
    halves->addWidget(ui.CapturePRO1, 1);

    auto* controls = new QWidget(central);
    controls->setMaximumWidth(300);
    auto* column = new QVBoxLayout(controls);
    auto* names = new QGridLayout;
    ui.txtSkierName = Named(new QLineEdit(QStringLiteral("SkierName"), controls), "txtSkierName");
    ui.txtPass = Named(new QLineEdit(QStringLiteral("1"), controls), "txtPass");
    names->addWidget(ui.txtSkierName, 0, 0, 1, 2);
    names->addWidget(Named(new QLabel(QStringLiteral("Attempt Number"), controls), "Label2"), 1, 0);
    names->addWidget(ui.txtPass, 1, 1);
    column->addLayout(names);
    ui.cmdSelect = Named(new QPushButton(QStringLiteral("Select Name from File"), controls), "cmdSelect");
    ui.btnGetName = Named(new QPushButton(QStringLiteral("Select SCORIX Name"), controls), "btnGetName");
    column->addWidget(ui.cmdSelect);
    column->addWidget(ui.btnGetName);
    column->addWidget(Named(new QLabel(QStringLiteral("Length of time to record"), controls), "Label9"));
    ui.captureTimeValue = Named(new QComboBox(controls), "captureTimeValue");
    ui.captureTimeValue->addItems({QStringLiteral("3.0"), QStringLiteral("4.0"), QStringLiteral("5.0"),
                                   QStringLiteral("6.0")});
    column->addWidget(ui.captureTimeValue);
    ui.cmdStartCapture = Named(new QPushButton(QStringLiteral("Start Recording     (skier hits ramp)"), controls),
                               "cmdStartCapture");
    ui.cmdStartTimer = Named(new QPushButton(QStringLiteral("Contact"), controls), "cmdStartTimer");
    ui.cmdEndCapture = Named(new QPushButton(QStringLiteral("Stop Recording"), controls), "cmdEndCapture");
    ui.cmdStartCapture->setMinimumHeight(48);
    ui.cmdStartTimer->setMinimumHeight(36);
    for (QPushButton* button : {ui.cmdStartCapture, ui.cmdStartTimer, ui.cmdEndCapture})
        column->addWidget(button);
    column->addWidget(Named(new QLabel(QStringLiteral("Hit ESC to stop recording"), controls), "Label3"));

    auto* figures = new QGridLayout;
    int row = 0;
    for (auto [caption, captionName, value, valueName, initial] :
         {std::tuple{QStringLiteral("Capture Time Left"), "Label7", &ui.captime, "captime", "5"},
          std::tuple{QStringLiteral("Frames Recorded"), "Label5", &ui.LblFrame, "LblFrame", "0"},
          std::tuple{QStringLiteral("Frames Dropped"), "Label6", &ui.LblFrmDrop, "LblFrmDrop", "0"},
          std::tuple{QStringLiteral("Contact Frame"), "Label8", &ui.lblStartFrame, "lblStartFrame", "0"}}) {
        *value = Named(new QLabel(QString::fromLatin1(initial), controls), valueName);
        figures->addWidget(Named(new QLabel(caption, controls), captionName), row, 0);
        figures->addWidget(*value, row++, 1);
    }
    column->addLayout(figures);
    ui.Label4 = Named(new QLabel(controls), "Label4");
    ui.Label4->setWordWrap(true);
    ui.Label4->setStyleSheet(QStringLiteral("color: red; font-weight: bold"));
    ui.Label4->hide();
    column->addWidget(ui.Label4);
    column->addStretch();
    ui.cmdGoToTimer = Named(new QPushButton(QStringLiteral("View Already Recorded Jumps"), controls), "cmdGoToTimer");
    ui.cmdGoSetup = Named(new QPushButton(QStringLiteral("Go Back To Main Screen"), controls), "cmdGoSetup");
    column->addWidget(ui.cmdGoToTimer);
    column->addWidget(ui.cmdGoSetup);
    // Key diagnostics: the code of every key pressed.
    ui.Text1 = Named(new QLineEdit(controls), "Text1");
    ui.Text1->setReadOnly(true);
    ui.Text1->setFocusPolicy(Qt::NoFocus);
    column->addWidget(ui.Text1);
    halves->addWidget(controls);
    form->setCentralWidget(central);
    return ui;
}
