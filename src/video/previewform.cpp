#include "video/previewform.h"

#include "app/capturepanel.h"
#include "app/configexit.h"
#include "app/configstate.h"
#include "app/frmselectskier.h"
#include "app/settingsstore.h"
#include "capture/capturedevice.h"
#include "capture/capturenaming.h"
#include "common/operatordialogs.h"
#include "common/val.h"
#include "video/capturehandover.h"
#include "widgets/livepicture.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace {

bool Exists(const QString& path)
{
    return QFileInfo::exists(path);
}

} // namespace

PreviewForm::PreviewForm(Environment environment, QWidget* parent)
    : QMainWindow(parent), m_env(std::move(environment)), m_ui(BuildPreviewForm(this))
{
    setObjectName(QStringLiteral("PreviewForm"));
    setWindowTitle(QStringLiteral("Rampscope 2005 Capture Screen"));
    m_timer.setInterval(1000);
    wire();

    // The recording length: a stored value the list offers, else "5.0".
    const double stored = Val(m_env.settings.ReadSetting(QStringLiteral("captureTime"), QStringLiteral("0")));
    int selected = -1;
    for (int i = 0; i < m_ui.captureTimeValue->count(); ++i)
        if (stored > 0 && Val(m_ui.captureTimeValue->itemText(i)) == stored)
            selected = i;
    if (selected >= 0) {
        m_captureSeconds = stored;
    } else {
        selected = 2;
        m_captureSeconds = 5;
        m_env.settings.WriteSetting(QStringLiteral("captureTime"), QStringLiteral("5"));
    }
    {
        const QSignalBlocker quiet(m_ui.captureTimeValue);
        m_ui.captureTimeValue->setCurrentIndex(selected);
    }

    // The skier: the first line of the skier list, its commas as blanks.
    if (Exists(m_env.skierListPath)) {
        const auto names = ReadSkierNameFile(m_env.skierListPath);
        if (names && !names->isEmpty() && !names->first().isEmpty())
            m_ui.txtSkierName->setText(QString(names->first()).replace(QLatin1Char(','), QLatin1Char(' ')));
    } else {
        m_ui.txtSkierName->setText(QStringLiteral("Skier Name"));
    }
    setRecordingButtons(false);
    m_ui.cmdStartTimer->setEnabled(false);
}

PreviewForm::~PreviewForm() = default;

bool PreviewForm::recording() const
{
    return m_ui.cmdEndCapture->isEnabled();
}

void PreviewForm::wire()
{
    connect(&m_timer, &QTimer::timeout, this, &PreviewForm::countdownTick);
    connect(&m_env.device, &CaptureDevice::previewFrame, m_ui.CapturePRO1, &LivePicture::showPicture);
    connect(&m_env.device, &CaptureDevice::warning, this, [this](const QString& text) {
        m_env.dialogs.message(QStringLiteral("Warning: ") + text);
    });
    // A recording the device ended by itself (its time limit, a full disk)
    // goes to the frame selection screen with what it holds.
    connect(&m_env.device, &CaptureDevice::statusChanged, this, [this](int code) {
        if (code == CaptureDevice::streamEndedStatus && m_ui.cmdEndCapture->isEnabled())
            endByTime();
    });
    connect(m_ui.captureTimeValue, &QComboBox::activated, this, &PreviewForm::pickLength);
    connect(m_ui.txtSkierName, &QLineEdit::textChanged, this, &PreviewForm::skierNameEdited);
    connect(m_ui.cmdSelect, &QPushButton::clicked, this, &PreviewForm::openSkierPicker);
    m_ui.txtSkierName->installEventFilter(this);
    connect(m_ui.btnGetName, &QPushButton::clicked, this, &PreviewForm::readScoringName);
    connect(m_ui.cmdStartCapture, &QPushButton::clicked, this, &PreviewForm::startRecording);
    connect(m_ui.cmdStartTimer, &QPushButton::clicked, this, &PreviewForm::contact);
    connect(m_ui.cmdEndCapture, &QPushButton::clicked, this, &PreviewForm::stopRecording);
    connect(m_ui.cmdGoToTimer, &QPushButton::clicked, this, [this] {
        hide();
        m_env.screenMode = QStringLiteral("CaptureGoToTimer");
        Q_EMIT frameSelectionRequested();
    });
    connect(m_ui.cmdGoSetup, &QPushButton::clicked, this, [this] {
        m_env.screenMode = QStringLiteral("Capture");
        hide();
        Q_EMIT mainScreenRequested();
    });
}

void PreviewForm::showEvent(QShowEvent* event)
{
    // The frame selection screen may have corrected the skier's name.
    const CaptureHandover& handover = m_env.handover;
    if (!handover.skierName.isEmpty() && handover.skierName != m_ui.txtSkierName->text()) {
        m_ui.txtSkierName->setText(handover.skierName);
        m_ui.txtPass->setText(handover.passNumber);
    }
    QMainWindow::showEvent(event);
}

void PreviewForm::paintEvent(QPaintEvent* event)
{
    QMainWindow::paintEvent(event);
    if (!m_firstPaintDone) {
        m_firstPaintDone = true;
        // After the event: the warnings are boxes of their own.
        QMetaObject::invokeMethod(this, &PreviewForm::firstPaint, Qt::QueuedConnection);
    }
}

void PreviewForm::firstPaint()
{
    m_ui.captime->setText(QString::number(m_captureSeconds));
    if (m_env.screenMode != QLatin1String("Setup") && m_env.screenMode != QLatin1String("Timer"))
        return;
    if (recording())
        return; // the file found is the one being recorded
    m_ui.Label4->hide();
    const CaptureName next = NextFreeJump(m_env.config.videoDirectory, m_ui.txtSkierName->text(),
                                          m_ui.txtPass->text(), Exists);
    m_ui.txtPass->setText(next.jumpText);
    if (next.changed)
        m_env.dialogs.message(QStringLiteral("Warning, the pass number was changed because a file for that pass "
                                             "already existed.  You may need to change the skier name"),
                              QStringLiteral("Duplicate File Warning"), OperatorDialogs::Icon::Warning);
    if (Val(next.jumpText) > 3)
        m_env.dialogs.message(QStringLiteral("Warning, the jump number is greater than 3.  You may need to change "
                                             "the skier name"),
                              QStringLiteral("Possible Name Change Warning"), OperatorDialogs::Icon::Warning);
    m_env.screenMode.clear();
}

void PreviewForm::pickLength(int index)
{
    const QString text = m_ui.captureTimeValue->itemText(index);
    m_env.settings.WriteSetting(QStringLiteral("captureTime"), text);
    m_captureSeconds = Val(text);
    m_ui.captime->setText(QString::number(m_captureSeconds));
}

void PreviewForm::skierNameEdited(const QString& text)
{
    m_ui.txtPass->setText(QStringLiteral("1"));
    if (!text.contains(QLatin1Char(',')))
        return;
    m_env.dialogs.message(QStringLiteral("Sorry, you cannot use the \",\" character in this box"),
                          QStringLiteral("Input Error"));
    m_ui.txtSkierName->setText(QString(text).replace(QLatin1Char(','), QLatin1Char(' ')));
}

bool PreviewForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_ui.txtSkierName && event->type() == QEvent::MouseButtonDblClick) {
        openSkierPicker();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void PreviewForm::openSkierPicker()
{
    if (!Exists(m_env.skierListPath)) {
        m_env.dialogs.message(
            QStringLiteral("No file of skier names called SkierNames.txt exists in the application directory"));
        return;
    }
    auto* picker = new frmSelectSkier(m_env.skierListPath, m_env.dialogs, this);
    picker->setAttribute(Qt::WA_DeleteOnClose);
    connect(picker, &frmSelectSkier::skierChosen, this, [this](const QString& name) {
        m_ui.txtSkierName->setText(name);
    });
    picker->show();
}

void PreviewForm::readScoringName()
{
    const auto name = m_env.readScoringName();
    if (!name) {
        m_env.dialogs.message(name.error());
        return;
    }
    m_ui.txtSkierName->setText(*name);
    m_env.setMeasureTexts(m_ui.txtSkierName->text(), m_ui.txtPass->text());
}

void PreviewForm::setRecordingButtons(bool recording)
{
    m_ui.cmdStartCapture->setEnabled(!recording);
    m_ui.cmdGoToTimer->setEnabled(!recording);
    m_ui.cmdGoSetup->setEnabled(!recording);
    m_ui.cmdStartTimer->setEnabled(recording);
    m_ui.cmdEndCapture->setEnabled(recording);
}

int64_t PreviewForm::framesSoFar() const
{
    // Frame numbers of the file count the dropped frames too.
    const CaptureStatistics s = m_env.device.statistics();
    return s.framesCaptured + s.framesDropped;
}

void PreviewForm::startRecording()
{
    m_ui.lblStartFrame->setText(QStringLiteral(" "));
    m_contactTapped = false;
    m_startFrameHint = 0;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const CaptureName free = FreeCaptureName(m_env.config.videoDirectory, m_ui.txtSkierName->text(),
                                             m_ui.txtPass->text(), Exists);
    m_nameWasChanged = free.changed;
    if (free.changed) {
        m_ui.txtSkierName->setText(free.skierName); // the jump number starts again at "1"
        m_ui.Label4->setText(QStringLiteral("WARNING! Skier Name has been changed to ") + free.skierName
                             + QStringLiteral(" to prevent duplicate files"));
        m_ui.Label4->show();
    }
    m_captureFilePath = free.path;
    m_env.setMeasureTexts(m_ui.txtSkierName->text(), m_ui.txtPass->text());
    m_env.panel.setCaptureValues();
    const CaptureResult started = m_env.device.startStream(m_captureFilePath);
    QApplication::restoreOverrideCursor();
    if (!started) {
        m_env.dialogs.message(QStringLiteral("Eror code: ") + QString::number(started.error().code, 16).toUpper()
                                  + QLatin1Char(' ') + started.error().description,
                              QStringLiteral("Error"), OperatorDialogs::Icon::Critical);
        return;
    }
    m_timer.start();
    m_ui.captime->setText(QString::number(m_captureSeconds));
    setRecordingButtons(true);
    m_ui.cmdStartTimer->setFocus();
}

void PreviewForm::contact()
{
    // The file's frames so far: the pre-roll and those since Start. Never
    // short of the pre-roll, even if its frames are still being written.
    m_startFrameHint = std::max(framesSoFar(), m_env.device.prerollFrames());
    m_contactTapped = true;
    m_ui.lblStartFrame->setText(QString::number(m_startFrameHint));
}

void PreviewForm::countdownTick()
{
    const double left = Val(m_ui.captime->text()) - 1;
    m_ui.captime->setText(QString::number(left));
    const CaptureStatistics s = m_env.device.statistics();
    m_ui.LblFrame->setText(QString::number(s.framesCaptured));
    m_ui.LblFrmDrop->setText(QString::number(s.framesDropped));
    if (left > 0)
        return;
    m_timer.stop();
    m_ui.captime->setText(QString::number(m_captureSeconds));
    endByTime();
}

void PreviewForm::endByTime()
{
    // Without "Contact" the frame selection screen starts in the middle of
    // the seconds recorded since Start, behind the pre-roll's frames.
    if (!m_contactTapped)
        m_startFrameHint = MiddleOfRecording(m_env.panel.ui().EdtRate->text(), m_captureSeconds)
            + m_env.device.prerollFrames();
    stopRecording();
}

void PreviewForm::keyPressEvent(QKeyEvent* event)
{
    m_ui.Text1->setText(QString::number(event->key()));
    if (event->key() == Qt::Key_Escape && m_env.device.isRecording()) {
        m_timer.stop();
        endByTime();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void PreviewForm::stopRecording()
{
    m_timer.stop();
    m_env.device.stopStream();
    m_env.panel.showStatistics();
    setRecordingButtons(false);
    m_ui.txtPass->setText(QString::number(int64_t(Val(m_ui.txtPass->text())) + 1));

    CaptureHandover& handover = m_env.handover;
    handover.filePath = m_captureFilePath;
    handover.frameRate = m_env.device.frameRate();
    handover.lengthFrames = framesSoFar();
    handover.startFrameHint = m_startFrameHint;
    handover.nameChangedWarningVisible = m_nameWasChanged;
    handover.skierName = m_ui.txtSkierName->text();
    handover.passNumber = m_ui.txtPass->text();

    m_env.screenMode = QStringLiteral("Capture");
    Q_EMIT frameSelectionRequested();
    hide();
}

void PreviewForm::closeEvent(QCloseEvent* event)
{
    // Closing the window never leaves the operator without a screen, nor a
    // recording running unseen.
    event->ignore();
    if (m_env.device.isRecording())
        return;
    m_ui.cmdGoSetup->click();
}
