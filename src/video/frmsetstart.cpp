#include "video/frmsetstart.h"

#include "app/configstate.h"
#include "common/operatordialogs.h"
#include "common/paths.h"
#include "common/val.h"
#include "grid/calibrationstate.h"
#include "measure/measurementlog.h"
#include "video/avifile.h"
#include "video/capturehandover.h"
#include "video/filedialogs.h"
#include "video/frameextract.h"
#include "video/frameplayer.h"
#include "video/frameselection.h"
#include "video/frmsetstartui.h"
#include "video/skiernamefix.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStorageInfo>
#include <QScreen>
#include <QTimer>

namespace {

// Windows key numbers of the keypad keys that step the player.
constexpr int keypadStepBack = 100;
constexpr int keypadStepForward = 102;

const QString alreadyMeasuredTitle = QStringLiteral("Start Already Measured Warning");

QString notConfiguredMessage()
{
    return QStringLiteral("One or more grids are not configured.  You may not use the Measure Screen until all "
                          "listed grids are configured");
}

bool isHorizontalArrow(int key)
{
    return key == Qt::Key_Left || key == Qt::Key_Right;
}

} // namespace

frmSetStart::frmSetStart(Environment environment, QWidget* parent)
    : QMainWindow(parent)
    , m_env(std::move(environment))
    , m_ui(std::make_unique<FrmSetStartUi>())
{
    setObjectName(QStringLiteral("frmSetStart"));
    setWindowTitle(QStringLiteral("Rampscope 2005 Frame Selection"));
    m_ui->build(this);
    connectControls();
    qApp->installEventFilter(this);
    // Room for the player beside the controls, within the screen.
    const QSize wanted(1280, 720);
    resize(screen() ? wanted.boundedTo(screen()->availableGeometry().size()) : wanted);
}

frmSetStart::~frmSetStart()
{
    qApp->removeEventFilter(this);
}

FramePlayer& frmSetStart::player()
{
    return *m_ui->MediaPlayer1;
}

void frmSetStart::setCaptureScreenAvailable(bool available)
{
    m_ui->cmdGoToCapture->setVisible(available);
}

void frmSetStart::setLogViewerAvailable(bool available)
{
    m_ui->cmdViewLog->setVisible(available);
}

void frmSetStart::connectControls()
{
    FrmSetStartUi& ui = *m_ui;
    connect(ui.Command1, &QPushButton::clicked, this, &frmSetStart::stepBack);
    connect(ui.Command4, &QPushButton::clicked, this, &frmSetStart::stepForward);
    connect(ui.Command5, &QPushButton::clicked, this, &frmSetStart::playBeforeStart);
    connect(ui.Command7, &QPushButton::clicked, this, &frmSetStart::playBeforeEnd);
    connect(ui.cmdPlayAndPause, &QPushButton::clicked, this, &frmSetStart::playToEndPauseContinue);
    connect(ui.Command6, &QPushButton::clicked, this, &frmSetStart::openFile);
    connect(ui.cmdMarkStart, &QPushButton::clicked, this, [this] { acceptDisplayedFrame(false); });
    connect(ui.btnGoToSetup, &QPushButton::clicked, this, [this] { acceptDisplayedFrame(true); });
    connect(ui.cmdGoToCapture, &QPushButton::clicked, this, [this] { leave(true); });
    connect(ui.cmdGoToSetup, &QPushButton::clicked, this, [this] { leave(false); });
    connect(ui.cmdViewLog, &QPushButton::clicked, this, [this] {
        m_viewDone = false;
        Q_EMIT logViewerRequested();
    });
    // The seconds boxes are held in range when the operator leaves them (a
    // play button takes the focus first, so a replay never sees a value out
    // of range).
    connect(ui.Text4, &QLineEdit::editingFinished, this, [this] { holdSecondsBox(true); });
    connect(ui.Text7, &QLineEdit::editingFinished, this, [this] { holdSecondsBox(false); });
    connect(ui.Timer1, &QTimer::timeout, this, &frmSetStart::runReplayTick);
    connect(ui.Timer2, &QTimer::timeout, this, &frmSetStart::pollArrowKeys);
    connect(ui.MediaPlayer1, &FramePlayer::keyDown, this, [this](int keyCode) {
        m_ui->Text2->setText(QString::number(keyCode));
        showKeyDown(keyCode);
        if (keyCode == keypadStepBack)
            stepBack();
        else if (keyCode == keypadStepForward)
            stepForward();
    });
    connect(ui.MediaPlayer1, &FramePlayer::keyUp, this, &frmSetStart::showKeyUp);
    // The number beside the steps always names the frame on screen, also
    // after the slider or a replay moved it.
    connect(ui.MediaPlayer1, &FramePlayer::positionChanged, this, &frmSetStart::showPosition);
    connect(ui.MediaPlayer1, &FramePlayer::decodeFailed, this,
            [this](const VideoError& error) { ShowVideoError(m_env.dialogs, error); });
}

// ---------------------------------------------------------------------------
// Taking over a recording or a file when the screen is shown

void frmSetStart::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        takeOver();
}

void frmSetStart::closeEvent(QCloseEvent* event)
{
    event->ignore();
    leave(false);
}

void frmSetStart::hideEvent(QHideEvent* event)
{
    QMainWindow::hideEvent(event);
    // A replay must not go on behind another screen, and a loop left half
    // way must not block the play buttons when the screen comes back.
    m_ui->Timer1->stop();
    m_ui->Timer2->stop();
    m_ui->MediaPlayer1->stop();
    if (m_ui->MediaPlayer1->displaySize() == PlayerDisplaySize::fullScreen)
        setDisplaySize(PlayerDisplaySize::normal);
    m_loop = {};
    m_heldKeys.clear();
}

void frmSetStart::takeOver()
{
    if (m_viewDone)
        return;
    m_setupRequested = false;
    m_ui->Timer2->start();
    showDiskSpace();

    const QString mode = m_env.screenMode;
    if (mode == QLatin1String("Capture"))
        takeOverCapture();
    else if (mode == QLatin1String("Setup") || mode == QLatin1String("CaptureGoToTimer"))
        m_ui->Text6->clear();
    else if (mode == QLatin1String("View"))
        takeOverViewedFile();

    m_ui->Label9->setVisible(barefoot());
    restorePlayerSize();
}

void frmSetStart::showDiskSpace()
{
    const QString directory = m_env.config.videoDirectory;
#ifdef Q_OS_WIN
    const QString drive = DiskDriveOf(directory);
    const QString volume = drive + QLatin1Char('\\');
#else
    // Without drive letters the volume is the file system holding the video
    // directory, named by where it is mounted.
    const QString volume = directory;
    const QStorageInfo storage(directory);
    const QString drive = storage.isValid() ? storage.rootPath() : directory;
#endif
    const std::optional<uint64_t> free = m_env.freeBytes ? m_env.freeBytes(volume) : std::nullopt;
    const DiskSpaceDisplay display = DiskSpaceDisplayFor(drive, free.value_or(0));
    m_ui->Label10->setText(display.driveCaption);
    m_ui->lblDiskSpace->setText(free ? display.freeText : QStringLiteral("Disk Space"));
    m_ui->Label11->setVisible(free && display.low);
}

void frmSetStart::takeOverCapture()
{
    m_env.screenMode.clear();
    m_freshCapture = true;
    m_ui->Text6->setText(m_env.capture.filePath);
    if (m_env.capture.nameChangedWarningVisible)
        fixSkierName();

    const QString path = m_ui->Text6->text();
    putFileIntoPlayer(path);
    m_startMarked = false;
    m_startTaken = false;
    showBeforeEndControls(false);
    m_ui->cmdMarkStart->show();
    m_ui->Command5->setEnabled(true);
    m_ui->cmdMarkStart->setEnabled(true);
    m_ui->btnGoToSetup->setEnabled(true);
    enableStepButtons();
    if (m_env.capture.startFrameHint > 0) {
        m_markedFrame = m_env.capture.startFrameHint;
        m_ui->MediaPlayer1->setPosition(m_markedFrame);
        m_loop.startLoopActive = false;
        m_ui->Label5->setText(QString::fromLatin1(selectStartInstruction));
    }
    m_frameRate = m_env.capture.frameRate;
    m_lengthFrames = m_env.capture.lengthFrames;
    m_endOffsetFrames = EndOffsetFrames(m_frameRate, barefoot());
}

void frmSetStart::fixSkierName()
{
    CaptureHandover& capture = m_env.capture;
    capture.nameChangedWarningVisible = false;
    const QString recorded = m_ui->Text6->text();
    const FixedSkierName fixed = AskFixedSkierName(m_env.dialogs, m_env.config.videoDirectory, recorded,
                                                   capture.skierName, capture.passNumber,
                                                   [](const QString& path) { return QFileInfo::exists(path); });
    // The recording is renamed before anything points at the new name, so a
    // failed rename leaves the jump under the name it was recorded with.
    if (auto renamed = RenameRecording(recorded, fixed.videoPath); !renamed) {
        m_env.dialogs.message(QStringLiteral("The recording could not be renamed to %1 (%2). It keeps the name %3.")
                                  .arg(fixed.videoPath, renamed.error().reason, recorded),
                              {}, OperatorDialogs::Icon::Warning);
        return;
    }
    m_ui->Text6->setText(fixed.videoPath);
    capture.filePath = fixed.videoPath;
    capture.skierName = fixed.name;
    capture.passNumber = QStringLiteral("2");
}

void frmSetStart::takeOverViewedFile()
{
    m_viewDone = true;
    // A fresh recording still on screen is kept as it is: the save choice
    // and the log belong to it, never to the file viewed now.
    m_freshCapture = false;
    const QString path = m_env.fileToView;
    m_ui->Text6->setText(path);
    putFileIntoPlayer(path);
    if (const auto frame = ReadInfoCompanionFrame(path))
        m_env.dialogs.message(QStringLiteral("File already measured - contact frame is ") + *frame,
                              alreadyMeasuredTitle);
    // One reading of the file's information gives both (no message: the
    // player has told the operator already when the file does not open).
    const auto info = ReadAviFileInfo(path);
    m_frameRate = info ? AviInfoFrameRate(*info) : 0;
    m_lengthFrames = info ? AviInfoLength(*info) : 0;
    m_ui->Command5->setEnabled(true);
    m_ui->Command7->setEnabled(false);
    m_ui->cmdMarkStart->setEnabled(true);
    m_ui->cmdMarkStart->show();
    m_ui->btnGoToSetup->setEnabled(true);
    m_startTaken = false;
    m_ui->Label5->setText(QString::fromLatin1(selectContactInstruction));
    m_startMarked = false;
    showBeforeEndControls(false);
    enableStepButtons();
    m_ui->MediaPlayer1->setFocus();
}

bool frmSetStart::putFileIntoPlayer(const QString& path)
{
    FramePlayer& player = *m_ui->MediaPlayer1;
    auto opened = player.setFileName(path);
    if (!opened) {
        ShowVideoError(m_env.dialogs, opened.error());
        return false;
    }
    if (!path.isEmpty())
        player.stop();
    showPosition();
    return true;
}

void frmSetStart::showBeforeEndControls(bool shown)
{
    FrmSetStartUi& ui = *m_ui;
    for (QWidget* control : {static_cast<QWidget*>(ui.Command7), static_cast<QWidget*>(ui.cmdPlayAndPause),
                             static_cast<QWidget*>(ui.Text7), static_cast<QWidget*>(ui.Label2),
                             static_cast<QWidget*>(ui.Label6), static_cast<QWidget*>(ui.cbPlayAfter),
                             static_cast<QWidget*>(ui.txtEndLoop)})
        control->setVisible(shown);
}

void frmSetStart::enableStepButtons()
{
    m_ui->Command1->setEnabled(true);
    m_ui->Command4->setEnabled(true);
}

void frmSetStart::restorePlayerSize()
{
    m_ui->restorePlayerSize();
}

void frmSetStart::setDisplaySize(int size)
{
    m_ui->MediaPlayer1->setDisplaySize(size);
}

bool frmSetStart::barefoot() const
{
    return m_env.barefootTiming && m_env.barefootTiming();
}

// ---------------------------------------------------------------------------
// Opening a recorded file

void frmSetStart::openFile()
{
    const QString path = m_env.dialogs.openFile(m_env.config.videoDirectory,
                                                FileDialogFilterFor(int(FileDialogKind::Recordings)).filter, 1);
    if (path.isEmpty())
        return;
    const auto isAvi = IsVideoRecording(path);
    if (!isAvi) {
        ShowVideoError(m_env.dialogs, isAvi.error());
        return;
    }
    if (!*isAvi) {
        m_env.dialogs.message(QStringLiteral("Not a valid avi file"), {}, OperatorDialogs::Icon::Warning);
        return;
    }
    // A file whose information cannot be read cannot be played either: the
    // file on screen stays.
    const auto info = ReadAviFileInfo(path);
    if (!info) {
        ShowVideoError(m_env.dialogs, info.error());
        return;
    }

    m_ui->Text6->setText(path);
    m_freshCapture = false; // as when viewing: the opened file is never deleted or logged
    if (const auto frame = ReadInfoCompanionFrame(path))
        m_env.dialogs.message(QStringLiteral("File already measured - start frame is ") + *frame,
                              alreadyMeasuredTitle);
    m_ui->Command5->setEnabled(true);
    m_ui->cmdMarkStart->setEnabled(true);
    m_ui->cmdMarkStart->show();
    m_ui->btnGoToSetup->setEnabled(true);
    m_ui->Label5->setText(QString::fromLatin1(selectStartInstruction));
    m_frameRate = AviInfoFrameRate(*info);
    m_lengthFrames = AviInfoLength(*info);
    m_ui->lstFileInfo->clear();
    m_ui->lstFileInfo->addItems(AviFileInfoLines(path, *info));

    putFileIntoPlayer(path);
    m_startMarked = false;
    m_startTaken = false;
    showBeforeEndControls(false);
    enableStepButtons();
    restorePlayerSize();
}

// ---------------------------------------------------------------------------
// Stepping

void frmSetStart::stepBack()
{
    FramePlayer& player = *m_ui->MediaPlayer1;
    if (player.position() > 1)
        player.setPosition(player.position() - 1);
    showPosition();
}

void frmSetStart::stepForward()
{
    FramePlayer& player = *m_ui->MediaPlayer1;
    player.setPosition(player.position() + 1);
    showPosition();
}

void frmSetStart::showPosition()
{
    m_ui->Text9->setText(QString::number(m_ui->MediaPlayer1->position()));
}

void frmSetStart::holdSecondsBox(bool beforeStart)
{
    QLineEdit* box = beforeStart ? m_ui->Text4 : m_ui->Text7;
    const auto held = beforeStart
        ? HeldSecondsText(box->text(), beforeStartSecondsLowest, beforeStartSecondsHighest)
        : HeldSecondsText(box->text(), beforeEndSecondsLowest, beforeEndSecondsHighest);
    if (held)
        box->setText(*held);
}

double frmSetStart::beforeStartSeconds()
{
    holdSecondsBox(true);
    return Val(m_ui->Text4->text());
}

double frmSetStart::beforeEndSeconds()
{
    holdSecondsBox(false);
    return Val(m_ui->Text7->text());
}

void frmSetStart::pollArrowKeys()
{
    if (m_heldKeys.counts(Qt::Key_Left) && m_ui->Command1->isEnabled())
        stepBack();
    if (m_heldKeys.counts(Qt::Key_Right) && m_ui->Command4->isEnabled())
        stepForward();
    m_heldKeys.endPoll();
}

bool frmSetStart::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if ((type != QEvent::KeyPress && type != QEvent::KeyRelease) || !watched->isWidgetType())
        return QMainWindow::eventFilter(watched, event);
    auto* widget = static_cast<QWidget*>(watched);
    if (widget->window() != this)
        return QMainWindow::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    const bool fromPlayer = widget == m_ui->MediaPlayer1 || m_ui->MediaPlayer1->isAncestorOf(widget);
    if (!fromPlayer && watched == QApplication::focusWidget()) {
        if (type == QEvent::KeyPress)
            showKeyDown(FramePlayer::KeyCodeOf(*key));
        else if (!key->isAutoRepeat())
            showKeyUp(FramePlayer::KeyCodeOf(*key));
    }
    if (isHorizontalArrow(key->key())) {
        m_heldKeys.track(*key);
        // The arrows step the player through the polling; on the slider or a
        // button they would move it a second time or change the focus.
        if (qobject_cast<QAbstractSlider*>(widget) || qobject_cast<QAbstractButton*>(widget))
            return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmSetStart::showKeyDown(int keyCode)
{
    m_ui->Text1->setText(QString::number(keyCode));
    m_ui->Label8->show();
}

void frmSetStart::showKeyUp(int keyCode)
{
    m_ui->Text1->setText(QString::number(keyCode));
    m_ui->Label8->hide();
}

// ---------------------------------------------------------------------------
// Replays

void frmSetStart::playBeforeStart()
{
    FramePlayer& player = *m_ui->MediaPlayer1;
    if (m_loop.startLoopActive || !player.isOpen())
        return;
    if (m_ui->cbFullScreen->isChecked())
        setDisplaySize(PlayerDisplaySize::fullScreen);
    const double seconds = beforeStartSeconds();
    m_ui->Text5->setText(QString::number(ReplayIntervalMs(seconds)));
    m_loop.loopsLeft = RoundFrameHalfEven(Val(m_ui->txtStartLoop->text()));
    if (!m_startMarked)
        m_markedFrame = player.position();
    const ReplayWindow window = BeforeStartWindow(m_markedFrame, seconds, m_frameRate);
    player.setSelectionStart(window.selectionStart);
    player.setSelectionEnd(window.selectionEnd);
    m_ui->Timer1->setInterval(window.timerIntervalMs);
    m_loop.startLoopActive = true;
    m_startTaken = true;
    // The start is fixed now: the way to the end of the run opens.
    showBeforeEndControls(true);
    m_ui->Command7->setEnabled(true);
    m_ui->Timer1->start();
    player.play();
    if (player.displaySize() != PlayerDisplaySize::fullScreen)
        player.setFocus();
}

void frmSetStart::playBeforeEnd()
{
    FramePlayer& player = *m_ui->MediaPlayer1;
    if (m_loop.endLoopActive || !player.isOpen())
        return;
    if (m_ui->cbFullScreen->isChecked())
        setDisplaySize(PlayerDisplaySize::fullScreen);
    m_loop.loopsLeft = RoundFrameHalfEven(Val(m_ui->txtEndLoop->text()));
    m_endOffsetFrames = EndOffsetFrames(m_frameRate, barefoot());
    if (!m_startTaken) {
        m_markedFrame = player.position();
        m_startTaken = true;
    }
    m_startMarked = true;
    m_ui->cmdMarkStart->hide();
    const int64_t endFrame = m_markedFrame + m_endOffsetFrames;
    if (endFrame > m_lengthFrames) {
        if (player.displaySize() == PlayerDisplaySize::fullScreen)
            setDisplaySize(PlayerDisplaySize::normal);
        m_ui->cmdMarkStart->show();
        m_env.dialogs.message(FileTooShortMessage(m_lengthFrames, endFrame, barefoot()), fileTooShortTitle);
        return;
    }
    m_ui->Label5->setText(QString::fromLatin1(selectContactInstruction));
    m_loop.endLoopActive = true;
    const ReplayWindow window = BeforeEndWindow(endFrame, beforeEndSeconds(), m_frameRate);
    player.setSelectionStart(window.selectionStart);
    player.setSelectionEnd(window.selectionEnd);
    m_ui->Timer1->setInterval(window.timerIntervalMs);
    m_ui->Timer1->start();
    player.play();
}

void frmSetStart::playToEndPauseContinue()
{
    m_ui->cbPlayAfter->setChecked(true);
    playBeforeEnd();
}

void frmSetStart::runReplayTick()
{
    m_ui->Timer1->stop();
    FramePlayer& player = *m_ui->MediaPlayer1;
    const ReplayTickInputs inputs{m_markedFrame + m_endOffsetFrames, beforeEndSeconds(), m_frameRate,
                                  m_ui->cbPlayAfter->isChecked()};
    const bool endLoopWasActive = m_loop.endLoopActive;
    const ReplayStep step = ReplayLoopTick(m_loop, inputs, m_ui->Timer1->interval());

    if (step.uncheckPlayAfter)
        m_ui->cbPlayAfter->setChecked(false);
    if (step.selection) {
        player.setSelectionStart(step.selection->selectionStart);
        player.setSelectionEnd(step.selection->selectionEnd);
    }
    if (step.displaySize)
        setDisplaySize(*step.displaySize);
    if (step.restorePlayerSize)
        restorePlayerSize();
    if (step.restartTimerMs) {
        m_ui->Timer1->setInterval(*step.restartTimerMs);
        m_ui->Timer1->start();
    }
    if (step.play)
        player.play();
    if (endLoopWasActive && !m_loop.endLoopActive)
        m_ui->cmdMarkStart->show(); // the contact frame can be accepted again
    switch (step.focus) {
    case ReplayFocus::PlayBeforeStart:
        m_ui->Command5->setFocus();
        break;
    case ReplayFocus::PlayAndPause:
        m_ui->cmdPlayAndPause->setFocus();
        break;
    case ReplayFocus::PlayBeforeEnd:
        m_ui->Command7->setFocus();
        break;
    case ReplayFocus::None:
        break;
    }
}

// ---------------------------------------------------------------------------
// Accepting the displayed frame

void frmSetStart::acceptDisplayedFrame(bool forGridSetup)
{
    if (forGridSetup)
        m_setupRequested = true;
    FramePlayer& player = *m_ui->MediaPlayer1;
    if (!player.isOpen()) {
        m_env.dialogs.message(QStringLiteral("There is no video on screen. Open a recorded jump before choosing "
                                             "a frame."),
                              {}, OperatorDialogs::Icon::Warning);
        m_setupRequested = false;
        return;
    }
    player.stop();
    m_ui->Timer1->stop();
    m_loop = {};
    m_startMarked = true;
    m_markedFrame = player.position();
    m_startTaken = true;

    // Measuring on an earlier frame's picture would give a wrong distance:
    // when the frame cannot be written the operator stays here.
    const QString videoPath = player.fileName();
    if (auto written = ExtractFrameToBitmap(videoPath, m_markedFrame, m_env.applicationDirectory); !written) {
        ShowVideoError(m_env.dialogs, written.error());
        m_setupRequested = false;
        return;
    }
    player.setFileName(QString());
    showPosition();

    if (m_freshCapture) {
        settleFreshCapture(m_ui->Text6->text(), m_markedFrame);
        m_freshCapture = false;
    }
    m_env.screenMode = QStringLiteral("SelectFrame");
    m_viewDone = false;

    const bool gridsReady = m_env.calibration.allGridsReady;
    if (!gridsReady)
        m_env.dialogs.message(notConfiguredMessage(), {}, OperatorDialogs::Icon::Warning);
    const bool toGridSetup = !gridsReady || m_setupRequested;
    hide();
    if (toGridSetup)
        Q_EMIT gridSetupRequested();
    else
        Q_EMIT measureRequested();
}

void frmSetStart::settleFreshCapture(const QString& videoPath, int64_t contactFrame)
{
    const QString& mode = m_env.config.videoSaveMode;
    bool keep = mode == QLatin1String("Save");
    if (mode != QLatin1String("Save") && mode != QLatin1String("NoSave")) {
        keep = m_env.dialogs.message(QStringLiteral("Do you want to save this video capture?"), {},
                                     OperatorDialogs::Icon::None, OperatorDialogs::Buttons::YesNo)
            == OperatorDialogs::Answer::Yes;
    }
    if (keep) {
        recordCapture(videoPath, contactFrame);
        return;
    }
    // Not kept: the file goes, even when it was made read-only.
    QFile video(videoPath);
    video.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (video.exists() && !video.remove())
        m_env.dialogs.message(QStringLiteral("The video capture could not be deleted:\r\n%1\r\n%2")
                                  .arg(videoPath, video.errorString()),
                              {}, OperatorDialogs::Icon::Warning);
}

void frmSetStart::recordCapture(const QString& videoPath, int64_t contactFrame)
{
    if (!WriteContactFrameLine(m_env.config, videoPath, contactFrame, m_env.dialogs, m_env.clock))
        return;
    if (auto written = WriteInfoCompanion(videoPath, contactFrame); !written)
        m_env.dialogs.message(QStringLiteral("The contact frame was not written beside the video in %1 (%2).").arg(written.error().path, written.error().reason), {},
                              OperatorDialogs::Icon::Critical);
}

// ---------------------------------------------------------------------------
// Leaving

void frmSetStart::leave(bool toCapture)
{
    enableStepButtons();
    m_viewDone = false;
    if (toCapture)
        Q_EMIT captureScreenRequested();
    else
        Q_EMIT mainScreenRequested();
    hide();
    m_env.screenMode = QStringLiteral("Timer");
}
