#include "app/rampscope.h"

#include "app/capturepanel.h"
#include "app/config.h"
#include "app/configload.h"
#include "app/frmmanual.h"
#include "app/logviewers.h"
#include "app/mainform.h"
#include "app/settingsstore.h"
#include "app/startup.h"
#include "capture/stationcapture.h"
#include "common/clock.h"
#include "common/operatordialogs.h"
#include "grid/gridcontext.h"
#include "measure/exchangedirectory.h"
#include "measure/measure.h"
#include "setup_screen/calibrate.h"
#include "setup_screen/grid_setup.h"
#include "video/frmsetstart.h"
#include "video/previewform.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QScreen>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStorageInfo>

Rampscope::Rampscope(SettingsStore& settings, OperatorDialogs& dialogs, const Clock& clock,
                     StationFolders folders, std::unique_ptr<CaptureDevice> capture)
    : m_settings(settings)
    , m_dialogs(dialogs)
    , m_clock(clock)
    , m_folders(std::move(folders))
    , m_capture(capture ? std::move(capture) : std::make_unique<StationCapture>())
{
}

Rampscope::~Rampscope() = default;

MainForm& Rampscope::mainForm()
{
    if (!m_mainForm) {
        m_mainForm = std::make_unique<MainForm>(m_dialogs, m_screenMode, m_folders);
        m_mainForm->setVideoDirectoryChanged(
            [this](const QString& text) { ApplyVideoDirectoryText(m_settings, m_config, text); });
        m_gridScreens.setMainScreen(m_mainForm.get());
        QObject::connect(m_mainForm.get(), &MainForm::setupRequested, m_mainForm.get(),
                         [this] { gridSetup().show(); });
        QObject::connect(m_mainForm.get(), &MainForm::measureRequested, m_mainForm.get(),
                         [this] { goToMeasure(); });
        QObject::connect(m_mainForm.get(), &MainForm::frameSelectionRequested, m_mainForm.get(),
                         [this] { goToFrameSelection(); });
        QObject::connect(m_mainForm.get(), &MainForm::videoLogRequested, m_mainForm.get(),
                         [this] { openVideoLog(m_mainForm.get()); });
        QObject::connect(m_mainForm.get(), &MainForm::pictureLogRequested, m_mainForm.get(),
                         [this] { openPictureLog(m_mainForm.get()); });
        QObject::connect(m_mainForm.get(), &MainForm::configureRequested, m_mainForm.get(),
                         [this] { configScreen().show(); });
        QObject::connect(m_mainForm.get(), &MainForm::manualRequested, m_mainForm.get(),
                         [this] { manual().show(); });
        m_capturePanel = new CapturePanel(*m_capture, m_settings, m_dialogs);
        m_mainForm->setCapturePanel(m_capturePanel);
        QObject::connect(m_capturePanel, &CapturePanel::configuredForChanged, m_mainForm.get(),
                         &MainForm::setConfiguredFor);
        QObject::connect(m_capturePanel, &CapturePanel::captureScreenWanted, m_mainForm.get(),
                         [this](bool show) { captureScreen().setVisible(show); });
        QObject::connect(m_mainForm.get(), &MainForm::captureRequested, m_mainForm.get(), [this] { goToCapture(); });
        QObject::connect(m_mainForm.get(), &MainForm::skierListImported, m_mainForm.get(),
                         [this](const QString& firstName) { captureScreen().ui().txtSkierName->setText(firstName); });
        QObject::connect(m_mainForm.get(), &MainForm::barefootTimingClicked, m_mainForm.get(), [this](bool on) {
            m_settings.WriteSetting(QStringLiteral("barefoot"), on ? QStringLiteral("1") : QStringLiteral("0"));
        });
    }
    return *m_mainForm;
}

CapturePanel& Rampscope::capturePanel()
{
    mainForm();
    return *m_capturePanel;
}

void Rampscope::startCapturePanel()
{
    CapturePanel& panel = capturePanel();
    panel.ui().CaptureType->setCurrentIndex(1);
    panel.fillFromDevice();
    panel.showStoredFrameRate();
    panel.connectOrDisconnect();
    panel.selectStoredCompression();
}

void Rampscope::goToMeasure()
{
    // Measuring on a grid that is not set up would give wrong distances.
    if (!m_calibration.allGridsReady) {
        m_dialogs.message(QStringLiteral("At least one measurement grid that you have specified has ")
                              + QStringLiteral("not been set up.  All grids specified must be set up correctly before ")
                              + QStringLiteral("you can use the measurement screen"),
                          {}, OperatorDialogs::Icon::Critical);
        gridSetup().show();
        return;
    }
    measure().show();
}

Measure& Rampscope::measure()
{
    if (!m_measure) {
        m_measure = std::make_unique<Measure>(Measure::Environment{
            m_config, m_calibration, m_screenMode, m_dialogs, m_clock, m_folders.dataDirectory, exchangeDirectory(),
            [this] {
                return m_settings.ReadSetting(QStringLiteral("SCORIX"), QStringLiteral("0")) == QLatin1String("1");
            }});
        m_measure->setCaptureTexts([this] {
            const PreviewForm& capture = captureScreen();
            return Measure::CaptureTexts{capture.ui().txtSkierName->text(), capture.ui().txtPass->text()};
        });
        QObject::connect(m_measure.get(), &Measure::captureScreenRequested, m_measure.get(),
                         [this] { goToCapture(); });
        QObject::connect(m_measure.get(), &Measure::mainScreenRequested, m_measure.get(),
                         [this] { mainForm().show(); });
        QObject::connect(m_measure.get(), &Measure::calibrationToolRequested, m_measure.get(),
                         [this] { calibrate().show(); });
        QObject::connect(m_measure.get(), &Measure::pictureLogRequested, m_measure.get(),
                         [this] { openPictureLog(m_measure.get()); });
    }
    return *m_measure;
}

Grid_Setup& Rampscope::gridSetup()
{
    if (!m_gridSetup) {
        mainForm(); // the set-up screen's grid effects reach the main screen's rows
        m_gridSetup = std::make_unique<Grid_Setup>(Grid_Setup::Environment{
            m_config, m_calibration, m_settings, m_setupFields, m_screenMode, m_dialogs, m_clock, m_gridScreens,
            m_folders.dataDirectory});
        m_gridScreens.setSetupScreen(m_gridSetup.get());
        // The measurement screen has no grid description of its own to set:
        // its show_the_grid takes the description (and the far-buoy labels)
        // of the current grid from the calibration, which the set-up screen
        // has just written.
        m_gridScreens.setMeasureGridDescriptionHook([this](const QString&) {
            if (m_measure)
                m_measure->show_the_grid();
        });
        QObject::connect(m_gridSetup.get(), &Grid_Setup::mainScreenRequested, m_gridSetup.get(),
                         [this] { mainForm().show(); });
        QObject::connect(m_gridSetup.get(), &Grid_Setup::gridHandedOver, m_gridSetup.get(),
                         [this](const FarBuoyLabels&, const QString&) { measure().show_the_grid(); });
        QObject::connect(m_gridSetup.get(), &Grid_Setup::calibrationToolRequested, m_gridSetup.get(),
                         [this] { calibrate().show(); });
    }
    return *m_gridSetup;
}

Calibrate& Rampscope::calibrate()
{
    if (!m_calibrate) {
        m_calibrate = std::make_unique<Calibrate>(
            Calibrate::Environment{m_calibration, m_lastCalibrationLine, m_dialogs});
        // Drawn in this order: the measurement screen, then the set-up screen.
        m_calibrate->addSurface(&measure());
        m_calibrate->addSurface(&gridSetup());
    }
    return *m_calibrate;
}

frmSetStart& Rampscope::frameSelection()
{
    if (!m_frameSelection) {
        m_frameSelection = std::make_unique<frmSetStart>(frmSetStart::Environment{
            m_config, m_calibration, m_screenMode, m_captureHandover, m_fileToView, m_dialogs, m_clock,
            m_folders.dataDirectory, [this] { return mainForm().barefootTiming(); },
            [](const QString& path) -> std::optional<uint64_t> {
                const QStorageInfo volume(path);
                if (!volume.isValid() || !volume.isReady())
                    return std::nullopt;
                return static_cast<uint64_t>(volume.bytesFree());
            }});
        frmSetStart* screen = m_frameSelection.get();
        QObject::connect(screen, &frmSetStart::captureScreenRequested, screen, [this] { goToCapture(); });
        QObject::connect(screen, &frmSetStart::logViewerRequested, screen,
                         [this] { openVideoLog(m_frameSelection.get()); });
        QObject::connect(screen, &frmSetStart::measureRequested, screen, [this] { measure().show(); });
        QObject::connect(screen, &frmSetStart::gridSetupRequested, screen, [this] { gridSetup().show(); });
        QObject::connect(screen, &frmSetStart::mainScreenRequested, screen, [this] { mainForm().show(); });
    }
    return *m_frameSelection;
}

PreviewForm& Rampscope::captureScreen()
{
    if (!m_captureScreen) {
        m_captureScreen = std::make_unique<PreviewForm>(PreviewForm::Environment{
            *m_capture, capturePanel(), m_settings, m_config, m_screenMode, m_captureHandover, m_dialogs,
            m_folders.dataFile(SkierListFileName()),
            [] { return ExchangeDirectory(exchangeDirectory()).readSkierName(); },
            [this](const QString& skierName, const QString& jumpText) {
                measure().setSkierName(skierName);
                measure().setJumpNumberText(jumpText);
            }});
        PreviewForm* screen = m_captureScreen.get();
        placeCaptureScreen(*screen);
        QObject::connect(screen, &PreviewForm::frameSelectionRequested, screen, [this] { frameSelection().show(); });
        QObject::connect(screen, &PreviewForm::mainScreenRequested, screen, [this] { mainForm().show(); });
    }
    return *m_captureScreen;
}

void Rampscope::placeCaptureScreen(PreviewForm& screen)
{
    // Beside the main screen where there is room, otherwise as far right as
    // it fits: never partly off the display, where its buttons could not be
    // reached.
    const MainForm& main = mainForm();
    const QRect display = main.screen() ? main.screen()->availableGeometry() : QRect(0, 0, 1366, 768);
    const QSize size = QSize(1280, 720).boundedTo(display.size());
    screen.resize(size);
    const int left = std::max(display.left(), std::min(main.frameGeometry().right() + 1, display.right() + 1 - size.width()));
    screen.move(left, std::max(display.top(), main.frameGeometry().top()));
}

void Rampscope::goToCapture()
{
    captureScreen().show();
    capturePanel().switchPreviewOn();
}

void Rampscope::goToFrameSelection()
{
    m_screenMode = QStringLiteral("Setup");
    frameSelection().show();
}

LogView* Rampscope::videoLog() const
{
    return m_videoLog;
}

PictureLogView* Rampscope::pictureLog() const
{
    return m_pictureLog;
}

void Rampscope::openVideoLog(QWidget* owner)
{
    if (m_videoLog)
        m_videoLog->close();
    m_videoLog = new LogView(m_config, m_dialogs, owner);
    m_videoLog->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(m_videoLog, &LogViewerBase::viewRequested, m_videoLog,
                     [this](const QString& path) { viewLoggedVideo(path); });
    m_videoLog->show();
}

void Rampscope::openPictureLog(QWidget* owner)
{
    if (m_pictureLog)
        m_pictureLog->close();
    m_pictureLog = new PictureLogView(m_config, m_dialogs, owner);
    m_pictureLog->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(m_pictureLog, &LogViewerBase::viewRequested, m_pictureLog,
                     [this](const QString& path) { viewLoggedPicture(path); });
    m_pictureLog->show();
}

void Rampscope::viewLoggedVideo(const QString& path)
{
    m_screenMode = QStringLiteral("View");
    m_fileToView = path;
    mainForm().hide();
    // Opened from the frame selection screen itself, that screen is already
    // shown: it takes the file over at once.
    frmSetStart& screen = frameSelection();
    if (screen.isVisible())
        screen.takeOver();
    else
        screen.show();
}

void Rampscope::viewLoggedPicture(const QString& path)
{
    Measure& screen = measure();
    if (!path.isEmpty() && !screen.viewLoggedPicture(path))
        m_dialogs.message(Measure::notAPictureMessage(path), {}, OperatorDialogs::Icon::Warning);
    screen.show();
}

QString Rampscope::exchangeDirectory()
{
    // The scoring system's qxio at the root of the program's drive.
    return ExchangeDirectory::defaultDirectory(QCoreApplication::applicationDirPath());
}

Config& Rampscope::configScreen()
{
    if (!m_configScreen) {
        m_configScreen = std::make_unique<Config>(Config::Environment{
            m_config, m_settings, m_dialogs, m_clock, m_folders, exchangeDirectory(),
            [this] { return mainForm().videoDirectoryText(); }});
        Config* screen = m_configScreen.get();
        QObject::connect(screen, &Config::gridCountChosen, screen,
                         [this](int count) { mainForm().setGridCount(count); });
        QObject::connect(screen, &Config::gridsToReload, screen, [this] { reloadGrids(); });
        QObject::connect(screen, &Config::measureConfigurationChanged, screen,
                         [this] { measure().applyConfiguration(); });
        QObject::connect(screen, &Config::measureScreenNeeded, screen, [this] { measure(); });
        QObject::connect(screen, &Config::setupScreenNeeded, screen, [this] { gridSetup(); });
        QObject::connect(screen, &Config::magnifierChosen, screen, [this](bool on) { setMagnifierOn(on); });
        QObject::connect(screen, &Config::prerollChosen, screen,
                         [this](int seconds) { m_capture->setPrerollSeconds(seconds); });
        QObject::connect(screen, &Config::skierNamesLoaded, screen,
                         [this](const QStringList& names) { measure().setSkierNames(names); });
        QObject::connect(screen, &Config::scoringNameOffered, screen,
                         [this](bool offered) { captureScreen().ui().btnGetName->setVisible(offered); });
        QObject::connect(screen, &Config::mainScreenRequested, screen, [this] { mainForm().show(); });
        screen->load();
    }
    return *m_configScreen;
}

frmManual& Rampscope::manual()
{
    if (!m_manual) {
        m_manual = std::make_unique<frmManual>(m_folders.shippedFile(ManualFileName()));
        QObject::connect(m_manual.get(), &frmManual::mainScreenRequested, m_manual.get(),
                         [this] { mainForm().show(); });
    }
    return *m_manual;
}

void Rampscope::setMagnifierOn(bool on)
{
    measure().setMagnifierOn(on);
    gridSetup().setMagnifierOn(on);
}

void Rampscope::reloadGrids()
{
    MainForm& main = mainForm();
    m_folders.enterDataDirectory();
    for (int n = 1; n <= m_config.gridCount; ++n)
        main.setMainGridPicture(n, GridFileStatusOf(m_settings, n) == GridFileStatus::Present);

    gridSetup(); // loaded before the reload, which fills its boxes
    GridContext context{m_calibration, m_config, m_settings, m_setupFields, m_dialogs, m_gridScreens, m_clock};
    ReloadConfiguredGrids(context);
}

bool Rampscope::start()
{
    if (!m_settings.problem().isEmpty())
        m_dialogs.message(m_settings.problem(), {}, OperatorDialogs::Icon::Warning);

    EmergencyReset(m_settings, m_dialogs);
    MainForm& main = mainForm();
    startCapturePanel();

    const std::optional<QString> videoDirectory = ObtainVideoDirectory(m_settings, m_dialogs, m_config);
    if (!videoDirectory)
        return false;
    main.showVideoDirectory(*videoDirectory);
    SetTodaysLogFileName(m_config, m_clock);
    if (const auto written = WriteSessionStartLine(m_config, m_settings, m_clock); !written)
        m_dialogs.message(SessionStartFailureMessage(written.error()), {}, OperatorDialogs::Icon::Warning);

    main.setBarefootTiming(m_settings.ReadSetting(QStringLiteral("barefoot"), QStringLiteral("0"))
                           == QLatin1String("1"));
    capturePanel().switchPreviewOn();
    capturePanel().ui().EdtFile->setText(QStringLiteral("testvid.avi"));
    capturePanel().ui().LblStatus->hide();

    m_dialogs.message(VerifySetupParametersMessage());
    configScreen().show();
    main.hide();
    return true;
}
