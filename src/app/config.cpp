#include "app/config.h"

#include "app/configexit.h"
#include "app/configload.h"
#include "app/configstate.h"
#include "app/configui.h"
#include "app/settingsstore.h"
#include "common/clock.h"
#include "common/operatordialogs.h"
#include "common/paths.h"
#include "common/val.h"
#include "grid/transform.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>

#include <algorithm>

namespace {

// Sets an option or box as the load does, without it counting as a click:
// the load runs the choice itself.
void setChecked(QAbstractButton* button, bool checked)
{
    const QSignalBlocker blocker(button);
    button->setChecked(checked);
}

QString checkValue(bool ticked)
{
    return ticked ? QStringLiteral("1") : QStringLiteral("0");
}

QString trueFalse(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

const QString findFilter =
    QStringLiteral("All Files (*.*)|*.*|Text Files (*.TXT)|*.TXT|Parameter Files (*.ipt)|*.ipt|");

} // namespace

Config::Config(Environment environment, QWidget* parent)
    : QMainWindow(parent)
    , m_env(std::move(environment))
    , m_ui(std::make_unique<ConfigUi>())
{
    setObjectName(QStringLiteral("Config"));
    setWindowTitle(QStringLiteral("System Configuration Parameters"));
    m_ui->setupUi(this);
    if (!m_env.exchangeDirectory.isEmpty()) {
        // Name the folder the link really uses on this station.
        m_ui->QXIOLabel->setText(m_ui->QXIOLabel->text() + QLatin1Char('\n')
                                 + QDir::toNativeSeparators(m_env.exchangeDirectory));
    }
    connectControls();
}

Config::~Config() = default;

void Config::connectControls()
{
    ConfigUi& ui = *m_ui;
    ConfigState& config = m_env.config;
    connect(ui.mnuExit, &QAction::triggered, this, &Config::exitAndSave);

    connect(ui.TournamentName, &QLineEdit::textChanged, this,
            [&config](const QString& text) { config.tournamentName = text; });
    connect(ui.ResultsPathName, &QLineEdit::textChanged, this,
            [&config](const QString& text) { config.resultsFilePath = text; });
    // Told when the operator leaves the box empty, not at every keystroke
    // that empties it on the way to a new path.
    connect(ui.ResultsPathName, &QLineEdit::editingFinished, this, [this] {
        if (m_ui->ResultsPathName->text().isEmpty())
            m_env.dialogs.message(QStringLiteral("Enter valid path and filename for results file"));
    });
    connect(ui.CapturesPathName, &QLineEdit::textChanged, this,
            [&config](const QString& text) { config.capturesDirectory = text; });
    connect(ui.SetupFilesPathName, &QLineEdit::textChanged, this, [this](const QString& text) {
        m_env.config.setupFilesDirectory = text;
        m_env.settings.WriteSetting(QStringLiteral("SetupFiles"), text);
    });
    connect(ui.btnFindResults, &QPushButton::clicked, this, [this] { findFile(m_ui->ResultsPathName); });
    connect(ui.btnFindNames, &QPushButton::clicked, this, [this] { findFile(m_ui->SkierNameFile); });
    connect(ui.btnFindCaptures, &QPushButton::clicked, this,
            [this] { findDirectory(m_ui->CapturesPathName, QStringLiteral("Captures path")); });
    connect(ui.btnFindSetupFiles, &QPushButton::clicked, this,
            [this] { findDirectory(m_ui->SetupFilesPathName, QStringLiteral("Setup files path")); });

    connect(ui.Opt1Grid, &QRadioButton::clicked, this, [this] { chooseGridCount(1); });
    connect(ui.Opt2grid, &QRadioButton::clicked, this, [this] { chooseGridCount(2); });
    connect(ui.Opt3grid, &QRadioButton::clicked, this, [this] { chooseGridCount(3); });
    connect(ui.Barefoot_box, &QCheckBox::clicked, this, &Config::chooseBarefoot);
    connect(ui.SitSki_box, &QCheckBox::clicked, this, &Config::chooseSitSki);
    connect(ui.left_to_right_button, &QRadioButton::clicked, this, [this] { chooseDirection(false); });
    connect(ui.right_to_left_button, &QRadioButton::clicked, this, [this] { chooseDirection(true); });
    connect(ui.OptCircle, &QRadioButton::clicked, this, [this] { chooseMarker(true); });
    connect(ui.OptCross, &QRadioButton::clicked, this, [this] { chooseMarker(false); });
    connect(ui.white_color, &QRadioButton::clicked, this, [this] { chooseLabelColor(QStringLiteral("white")); });
    connect(ui.black_color, &QRadioButton::clicked, this, [this] { chooseLabelColor(QStringLiteral("black")); });
    connect(ui.yellow_color, &QRadioButton::clicked, this, [this] { chooseLabelColor(QStringLiteral("yellow")); });
    connect(ui.default_color, &QRadioButton::clicked, this,
            [this] { chooseLabelColor(QStringLiteral("default")); });
    connect(ui.line_control_check, &QCheckBox::clicked, this, &Config::chooseLineControl);
    connect(ui.SCORIX, &QCheckBox::clicked, this, &Config::chooseScoringLink);
    connect(ui.chkLoupe, &QCheckBox::clicked, this, &Config::chooseLoupe);
    connect(ui.cmdLoupe, &QPushButton::clicked, this, [this] { Q_EMIT magnifierChosen(true); });
    connect(ui.prerollSeconds, &QSpinBox::valueChanged, this, [this](int seconds) {
        m_env.settings.WriteSetting(QStringLiteral("prerollSeconds"), QString::number(seconds));
        choosePreroll(seconds);
    });

    // Each save option writes its key and nothing else: the mode read at
    // the load stays in force until the next start.
    const auto saveOption = [this](QRadioButton* button, const char* key, const char* value) {
        connect(button, &QRadioButton::clicked, this, [this, key, value] {
            m_env.settings.WriteSetting(QString::fromLatin1(key), QString::fromLatin1(value));
        });
    };
    saveOption(ui.OptPictureAsk, "PictureSave", "Ask");
    saveOption(ui.OptPictureNoSave, "PictureSave", "NoSave");
    saveOption(ui.OptPictureSave, "PictureSave", "Save");
    saveOption(ui.OptVideoAsk, "VideoSave", "Ask");
    saveOption(ui.OptVideoNoSave, "VideoSave", "NoSave");
    saveOption(ui.OptVideoSave, "VideoSave", "Save");
}

void Config::load()
{
    ConfigUi& ui = *m_ui;
    ConfigState& config = m_env.config;
    SettingsStore& settings = m_env.settings;

    ui.TournamentName->setText(settings.ReadSetting(QStringLiteral("TournamentName")));
    ui.ResultsPathName->setText(ResultsFilePathFor(m_env.videoDirectoryText(), m_env.clock.now().date()));
    ui.CapturesPathName->setText(config.videoDirectory);
    {
        // Shown as stored: the load does not write SetupFiles back.
        const QSignalBlocker blocker(ui.SetupFilesPathName);
        ui.SetupFilesPathName->setText(settings.ReadSetting(QStringLiteral("SetupFiles")));
    }
    config.setupFilesDirectory = ui.SetupFilesPathName->text();
    config.capturesDirectory = ui.CapturesPathName->text();
    config.pictureExtension = QStringLiteral(".bmp");
    config.pictureFormatCode = QStringLiteral("1");

    chooseLabelColor(LabelColorFromSettings(settings));
    config.captureSourceType = QStringLiteral("Generic");
    chooseGridCount(GridCountFromSetting(settings.ReadSetting(QStringLiteral("grids"), QStringLiteral("0"))));
    Q_EMIT gridsToReload();

    chooseDirection(settings.ReadSetting(QStringLiteral("right2left"), QStringLiteral("False"))
                    == QLatin1String("True"));
    chooseLineControl(settings.ReadSetting(QStringLiteral("boxlineoff"), QStringLiteral("False"))
                      != QLatin1String("True"));
    switch (TournamentTypeFromSetting(settings.ReadSetting(QStringLiteral("tournamentType")))) {
    case TournamentType::Barefoot:
        chooseBarefoot(true);
        break;
    case TournamentType::SitSki:
        chooseSitSki(true);
        break;
    case TournamentType::Normal:
        break;
    }
    chooseScoringLink(settings.ReadSetting(QStringLiteral("SCORIX"), QStringLiteral("0")) == QLatin1String("1"));
    if (settings.ReadSetting(QStringLiteral("Loupe"), QStringLiteral("0")) == QLatin1String("1"))
        chooseLoupe(true);

    {
        // Shown as stored, within the box's range; the load writes nothing.
        const QSignalBlocker blocker(ui.prerollSeconds);
        const double stored = Val(settings.ReadSetting(QStringLiteral("prerollSeconds"), QStringLiteral("0")));
        ui.prerollSeconds->setValue(int(std::clamp(stored, 0.0, 3.0)));
    }
    choosePreroll(ui.prerollSeconds->value());

    Q_EMIT measureScreenNeeded();
    chooseMarker(settings.ReadSetting(QStringLiteral("buoymarker")) != QLatin1String("cross"));
    Q_EMIT setupScreenNeeded();

    config.pictureSaveMode = SaveModeFromSetting(settings.ReadSetting(QStringLiteral("PictureSave")));
    config.videoSaveMode = SaveModeFromSetting(settings.ReadSetting(QStringLiteral("VideoSave")));
    const auto selectSaveMode = [](const QString& mode, QRadioButton* ask, QRadioButton* never, QRadioButton* always) {
        setChecked(mode == QLatin1String("Save") ? always : mode == QLatin1String("NoSave") ? never : ask, true);
    };
    selectSaveMode(config.pictureSaveMode, ui.OptPictureAsk, ui.OptPictureNoSave, ui.OptPictureSave);
    selectSaveMode(config.videoSaveMode, ui.OptVideoAsk, ui.OptVideoNoSave, ui.OptVideoSave);
    settings.WriteSetting(QStringLiteral("PictureSave"), config.pictureSaveMode);
    settings.WriteSetting(QStringLiteral("VideoSave"), config.videoSaveMode);
}

void Config::chooseGridCount(int gridCount)
{
    ConfigUi& ui = *m_ui;
    setChecked(gridCount == 3 ? ui.Opt3grid : gridCount == 2 ? ui.Opt2grid : ui.Opt1Grid, true);
    m_env.config.gridCount = gridCount;
    m_env.settings.WriteSetting(QStringLiteral("grids"), QString::number(gridCount));
    Q_EMIT gridCountChosen(gridCount);
}

void Config::chooseBarefoot(bool ticked)
{
    setChecked(m_ui->Barefoot_box, ticked);
    m_env.config.barefootMode = ticked;
    if (ticked) {
        m_env.settings.WriteSetting(QStringLiteral("tournamentType"), QStringLiteral("barefoot"));
        if (m_ui->SitSki_box->isChecked())
            chooseSitSki(false);
    }
    updateTournamentType();
}

void Config::chooseSitSki(bool ticked)
{
    setChecked(m_ui->SitSki_box, ticked);
    m_env.config.sitSkiMode = ticked;
    if (ticked) {
        m_env.settings.WriteSetting(QStringLiteral("tournamentType"), QStringLiteral("sitski"));
        if (m_ui->Barefoot_box->isChecked())
            chooseBarefoot(false);
    }
    updateTournamentType();
}

void Config::updateTournamentType()
{
    const ConfigState& config = m_env.config;
    if (!config.barefootMode && !config.sitSkiMode)
        m_env.settings.WriteSetting(QStringLiteral("tournamentType"), QStringLiteral("normal"));
    Q_EMIT measureConfigurationChanged();
}

void Config::chooseDirection(bool rightToLeft)
{
    setChecked(rightToLeft ? m_ui->right_to_left_button : m_ui->left_to_right_button, true);
    m_env.config.rightToLeft = rightToLeft;
    m_env.settings.WriteSetting(QStringLiteral("right2left"), trueFalse(rightToLeft));
}

void Config::chooseMarker(bool circle)
{
    setChecked(circle ? m_ui->OptCircle : m_ui->OptCross, true);
    const QString marker = circle ? QStringLiteral("circle") : QStringLiteral("cross");
    m_env.config.buoyMarker = marker;
    m_env.settings.WriteSetting(QStringLiteral("buoymarker"), marker);
}

void Config::chooseLabelColor(const QString& name)
{
    ConfigUi& ui = *m_ui;
    QRadioButton* button = name == QLatin1String("white")  ? ui.white_color
        : name == QLatin1String("black")                   ? ui.black_color
        : name == QLatin1String("yellow")                  ? ui.yellow_color
                                                           : ui.default_color;
    setChecked(button, true);
    m_env.config.labelColorName = name;
    m_env.settings.WriteSetting(QStringLiteral("labelcolor"), name);
    Q_EMIT measureConfigurationChanged();
}

void Config::chooseLineControl(bool ticked)
{
    setChecked(m_ui->line_control_check, ticked);
    m_env.config.boxLineOff = !ticked;
    m_env.settings.WriteSetting(QStringLiteral("boxlineoff"), trueFalse(!ticked));
}

void Config::chooseScoringLink(bool ticked)
{
    setChecked(m_ui->SCORIX, ticked);
    m_ui->QXIOLabel->setVisible(ticked);
    m_env.settings.WriteSetting(QStringLiteral("SCORIX"), checkValue(ticked));
}

void Config::chooseLoupe(bool ticked)
{
    setChecked(m_ui->chkLoupe, ticked);
    m_env.settings.WriteSetting(QStringLiteral("Loupe"), checkValue(ticked));
    Q_EMIT magnifierChosen(ticked);
}

void Config::choosePreroll(int seconds)
{
    m_env.config.prerollSeconds = seconds;
    Q_EMIT prerollChosen(seconds);
}

void Config::findFile(QLineEdit* box)
{
    const QString chosen = m_env.dialogs.openFile(m_env.folders.dataDirectory, findFilter, 2);
    if (!chosen.isEmpty())
        box->setText(QDir::toNativeSeparators(chosen));
}

void Config::findDirectory(QLineEdit* box, const QString& title)
{
    const QString start = box->text().trimmed().isEmpty() ? m_env.config.videoDirectory : box->text().trimmed();
    const QString chosen = m_env.dialogs.chooseDirectory(start, title);
    if (!chosen.isEmpty())
        box->setText(QDir::toNativeSeparators(chosen));
}

void Config::exitAndSave()
{
    ConfigState& config = m_env.config;
    m_env.settings.WriteSetting(QStringLiteral("TournamentName"), m_ui->TournamentName->text());
    m_env.settings.WriteSetting(QStringLiteral("labelcolor"), config.labelColorName);

    m_ui->CapturesPathName->setText(CapturesDirectoryWithSeparator(config.capturesDirectory));
    hide();
    m_env.folders.enterDataDirectory();

    if (config.resultsFilePath.isEmpty()) {
        m_env.dialogs.message(QStringLiteral("Enter valid path and filename for results file"));
    } else if (const auto appended = AppendLines(
                   config.resultsFilePath, {NewConfigurationLine(m_env.clock.now(), config.tournamentName)});
               !appended) {
        m_env.dialogs.message(QStringLiteral("The new configuration was not written to the results file. ")
                                  + appended.error().describe(QStringLiteral("Cannot write")),
                              {}, OperatorDialogs::Icon::Warning);
    }
    loadSkierNameFile();
    Q_EMIT scoringNameOffered(m_ui->SCORIX->isChecked());
    Q_EMIT mainScreenRequested();
}

void Config::loadSkierNameFile()
{
    const QString path = m_ui->SkierNameFile->text();
    if (path.isEmpty())
        return;
    const auto names = ReadSkierNameFile(path);
    if (!names) {
        Q_EMIT skierNamesLoaded({});
        m_env.dialogs.message(NamesNotLoadedMessage());
        return;
    }
    Q_EMIT skierNamesLoaded(*names);
}

void Config::closeEvent(QCloseEvent* event)
{
    event->ignore();
    exitAndSave();
}
