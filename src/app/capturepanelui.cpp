#include "app/capturepanelui.h"

#include "capture/audioformats.h"
#include "widgets/named.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel* Caption(QWidget* parent, const QString& text, const char* name)
{
    return Named(new QLabel(text, parent), name);
}

} // namespace

CapturePanelUi BuildCapturePanel(QWidget* panel)
{
    CapturePanelUi ui;
    // Two columns, so the panel fits beside the controls on a 768-line screen.
    auto* columns = new QHBoxLayout(panel);
    auto* layout = new QVBoxLayout;
    auto* second = new QVBoxLayout;
    columns->addLayout(layout);
    columns->addLayout(second);

    auto* device = new QGroupBox(QStringLiteral("Video Device"), panel);
    auto* grid = new QGridLayout(device);
    ui.Combo1 = Named(new QComboBox(device), "Combo1");
    ui.CmdConnect = Named(new QPushButton(QStringLiteral("Connect"), device), "CmdConnect");
    ui.CmdPreview = Named(new QPushButton(QStringLiteral("Preview On"), device), "CmdPreview");
    grid->addWidget(ui.Combo1, 0, 0, 1, 2);
    grid->addWidget(ui.CmdConnect, 1, 0);
    grid->addWidget(ui.CmdPreview, 1, 1);
    int row = 2;
    auto addBox = [&](QLabel*& label, const QString& caption, const char* labelName, QComboBox*& box,
                      const char* boxName) {
        label = Caption(device, caption, labelName);
        box = Named(new QComboBox(device), boxName);
        grid->addWidget(label, row, 0);
        grid->addWidget(box, row++, 1);
    };
    addBox(ui.ResolLabel, QStringLiteral("Resolution:"), "ResolLabel", ui.ResolutionCombo, "ResolutionCombo");
    addBox(ui.ColorLabel, QStringLiteral("Color Format:"), "ColorLabel", ui.ColorFormatCombo, "ColorFormatCombo");
    addBox(ui.InputLabel, QStringLiteral("Input:"), "InputLabel", ui.VideoInput, "VideoInput");
    addBox(ui.ChannelLabel, QStringLiteral("Channel:"), "ChannelLabel", ui.Channel, "Channel");
    ui.VideoConfig = Named(new QPushButton(QStringLiteral("Configure..."), device), "VideoConfig");
    grid->addWidget(ui.VideoConfig, row++, 1);
    QLabel* compressionLabel = nullptr;
    addBox(compressionLabel, QStringLiteral("Compression:"), "Label24", ui.CompressionCombo, "CompressionCombo");
    ui.ComprConfig = Named(new QPushButton(QStringLiteral("Configure..."), device), "ComprConfig");
    grid->addWidget(ui.ComprConfig, row++, 1);
    ui.EdtRate = Named(new QLineEdit(device), "EdtRate");
    grid->addWidget(Caption(device, QStringLiteral("Frame Rate (fps)"), "Label17"), row, 0);
    grid->addWidget(ui.EdtRate, row++, 1);
    ui.EdtLimit = Named(new QLineEdit(device), "EdtLimit");
    grid->addWidget(Caption(device, QStringLiteral("Time Limit (sec)"), "Label18"), row, 0);
    grid->addWidget(ui.EdtLimit, row++, 1);
    QLabel* effectLabel = nullptr;
    addBox(effectLabel, QStringLiteral("Effect:"), "Label1", ui.Effect, "Effect");
    ui.Effect->addItem(QStringLiteral("none"));
    layout->addWidget(device);

    auto* sound = new QGroupBox(QStringLiteral("Audio"), panel);
    auto* soundGrid = new QGridLayout(sound);
    ui.AudioDevice = Named(new QComboBox(sound), "AudioDevice");
    ui.AudioConfig = Named(new QPushButton(QStringLiteral("Configure..."), sound), "AudioConfig");
    ui.Check1 = Named(new QCheckBox(QStringLiteral("Listen"), sound), "Check1");
    soundGrid->addWidget(ui.AudioDevice, 0, 0, 1, 2);
    soundGrid->addWidget(ui.AudioConfig, 1, 0);
    soundGrid->addWidget(ui.Check1, 1, 1);
    ui.AudioCompLabel = Caption(sound, QStringLiteral("Compression:"), "AudioCompLabel");
    ui.AudioCompr = Named(new QComboBox(sound), "AudioCompr");
    soundGrid->addWidget(ui.AudioCompLabel, 2, 0);
    soundGrid->addWidget(ui.AudioCompr, 2, 1);
    ui.AttribLabel = Caption(sound, QStringLiteral("Attributes:"), "AttribLabel");
    ui.ComboAttrib = Named(new QComboBox(sound), "ComboAttrib");
    ui.ComboAttrib->addItems(AudioFormatEntries());
    soundGrid->addWidget(ui.AttribLabel, 3, 0);
    soundGrid->addWidget(ui.ComboAttrib, 3, 1);
    layout->addWidget(sound);
    layout->addStretch();

    auto* capture = new QGroupBox(QStringLiteral("Capture"), panel);
    auto* captureGrid = new QGridLayout(capture);
    ui.CaptureType = Named(new QComboBox(capture), "CaptureType");
    ui.CaptureType->addItems({QStringLiteral("Frames"), QStringLiteral("Streams")});
    ui.EdtFile = Named(new QLineEdit(QStringLiteral("testvid.avi"), capture), "EdtFile");
    ui.CmdCapFN = Named(new QPushButton(QStringLiteral("..."), capture), "CmdCapFN");
    ui.CmdCap = Named(new QPushButton(QStringLiteral("Capture Frame"), capture), "CmdCap");
    captureGrid->addWidget(ui.CaptureType, 0, 0);
    captureGrid->addWidget(ui.CmdCap, 0, 1, 1, 2);
    captureGrid->addWidget(ui.EdtFile, 1, 0, 1, 2);
    captureGrid->addWidget(ui.CmdCapFN, 1, 2);
    row = 2;
    for (auto [label, labelName, figure, figureName] :
         {std::tuple{QStringLiteral("Total Frames"), "Label13", &ui.LblFrames, "LblFrames"},
          std::tuple{QStringLiteral("Frames Dropped"), "Label14", &ui.LblFrmDrop, "LblFrmDrop"},
          std::tuple{QStringLiteral("Total Samples"), "Label15", &ui.LblSamples, "LblSamples"},
          std::tuple{QStringLiteral("Time (ms)"), "Label16", &ui.LblTime, "LblTime"}}) {
        *figure = Named(new QLabel(capture), figureName);
        captureGrid->addWidget(Caption(capture, label, labelName), row, 0);
        captureGrid->addWidget(*figure, row++, 1, 1, 2);
    }
    second->addWidget(capture);

    // Options of single pictures.
    ui.frameOptions = Named(new QGroupBox(QStringLiteral("Frame Options"), panel), "FrameOptions");
    auto* options = new QGridLayout(ui.frameOptions);
    ui.ChkProg = Named(new QCheckBox(QStringLiteral("Progressive JPG"), ui.frameOptions), "ChkProg");
    ui.ChkAutoSave = Named(new QCheckBox(QStringLiteral("AutoSave"), ui.frameOptions), "ChkAutoSave");
    ui.ChkAutoInc = Named(new QCheckBox(QStringLiteral("AutoIncrement"), ui.frameOptions), "ChkAutoInc");
    options->addWidget(ui.ChkProg, 0, 0, 1, 2);
    options->addWidget(ui.ChkAutoSave, 0, 2, 1, 2);
    options->addWidget(ui.ChkAutoInc, 1, 0, 1, 2);
    int option = 2;
    for (auto [caption, box, name] : {std::tuple{QStringLiteral("ChromFactor:"), &ui.EdtChrom, "EdtChrom"},
                                      std::tuple{QStringLiteral("LumFactor:"), &ui.EdtLum, "EdtLum"},
                                      std::tuple{QStringLiteral("Interval:"), &ui.EdtInterval, "EdtInterval"},
                                      std::tuple{QStringLiteral("Password:"), &ui.EdtPass, "EdtPass"},
                                      std::tuple{QStringLiteral("CaptionLeft:"), &ui.EdtCapLeft, "EdtCapLeft"},
                                      std::tuple{QStringLiteral("CaptionTop:"), &ui.EdtCapTop, "EdtCapTop"},
                                      std::tuple{QStringLiteral("Caption:"), &ui.EdtCaption, "EdtCaption"}}) {
        *box = Named(new QLineEdit(ui.frameOptions), name);
        const int r = option / 2 + 1, c = (option % 2) * 2;
        options->addWidget(new QLabel(caption, ui.frameOptions), r, c);
        options->addWidget(*box, r, c + 1, 1, *box == ui.EdtCaption ? 3 : 1); // the caption is a whole line
        ++option;
    }
    ui.EdtLum->setText(QStringLiteral("75"));
    ui.EdtChrom->setText(QStringLiteral("75"));
    ui.EdtInterval->setText(QStringLiteral("0"));
    ui.EdtCapLeft->setText(QStringLiteral("0"));
    ui.EdtCapTop->setText(QStringLiteral("0"));
    ui.EdtPass->setEchoMode(QLineEdit::Password);
    second->addWidget(ui.frameOptions);
    ui.streamOptions = device;

    ui.LblStatus = Named(new QLabel(panel), "LblStatus");
    ui.LblStatus->setWordWrap(true);
    second->addWidget(ui.LblStatus);
    second->addStretch();
    return ui;
}
