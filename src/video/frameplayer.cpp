#include "video/frameplayer.h"

#include "video/framedecoder.h"

extern "C" {
#include <libavutil/mathematics.h>
}

#include <QKeyEvent>
#include <QLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QSignalBlocker>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

namespace {

// Often enough that a 60 fps file is not shown late by more than a few
// milliseconds; the frame comes from the clock, not from the tick count.
constexpr int playTickMs = 5;

// Windows virtual-key numbers of the keys the station's handlers know.
constexpr int vkReturn = 13;
constexpr int vkEscape = 27;
constexpr int vkSpace = 32;
constexpr int vkLeft = 37;
constexpr int vkUp = 38;
constexpr int vkRight = 39;
constexpr int vkDown = 40;
constexpr int vkDigit0 = 48;
constexpr int vkLetterA = 65;
constexpr int vkKeypad0 = 96;
constexpr int vkF1 = 112;

int sliderValueOf(int64_t frame)
{
    // A slider counts in int; no recording comes near 2^31 frames.
    return static_cast<int>(std::min<int64_t>(frame, std::numeric_limits<int>::max()));
}

} // namespace

FramePlayer::FramePlayer(QWidget* parent)
    : QWidget(parent)
    , m_slider(new QSlider(Qt::Horizontal, this))
    , m_playTimer(new QTimer(this))
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);

    // The keys belong to the player (the station's handlers listen to it);
    // the slider is for the mouse only.
    m_slider->setFocusPolicy(Qt::NoFocus);
    m_slider->setRange(0, 0);
    m_slider->setEnabled(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addStretch(1);
    layout->addWidget(m_slider);
    connect(m_slider, &QSlider::valueChanged, this, [this](int value) {
        setPosition(value);
        // A frame that could not be decoded leaves the slider where the
        // picture is.
        if (m_slider->value() != sliderValueOf(m_position)) {
            const QSignalBlocker blocker(m_slider);
            m_slider->setValue(sliderValueOf(m_position));
        }
    });

    m_playTimer->setTimerType(Qt::PreciseTimer);
    m_playTimer->setInterval(playTickMs);
    connect(m_playTimer, &QTimer::timeout, this, &FramePlayer::advancePlayback);
}

FramePlayer::~FramePlayer() = default;

std::expected<void, VideoError> FramePlayer::setFileName(const QString& path)
{
    closeFile();
    if (path.isEmpty())
        return {};

    auto opened = FrameDecoder::open(path);
    if (!opened)
        return std::unexpected(opened.error());
    // The file counts as open only once its first frame is on screen.
    auto first = (*opened)->frame(0);
    if (!first)
        return std::unexpected(first.error());

    m_decoder = std::move(*opened);
    m_fileName = path;
    m_picture = std::move(*first);
    {
        const QSignalBlocker blocker(m_slider);
        m_slider->setRange(0, sliderValueOf(frameCount() - 1));
        m_slider->setValue(0);
    }
    m_slider->setEnabled(true);
    update();
    return {};
}

void FramePlayer::closeFile()
{
    stop();
    const bool moved = m_position != 0;
    m_decoder.reset();
    m_fileName.clear();
    m_picture = QImage();
    m_position = 0;
    m_selectionStart = 0;
    m_selectionEnd = 0;
    {
        const QSignalBlocker blocker(m_slider);
        m_slider->setRange(0, 0);
        m_slider->setValue(0);
    }
    m_slider->setEnabled(false);
    update();
    if (moved)
        Q_EMIT positionChanged(0);
}

bool FramePlayer::isOpen() const
{
    return m_decoder != nullptr;
}

int64_t FramePlayer::frameCount() const
{
    return m_decoder ? m_decoder->frameCount() : 0;
}

double FramePlayer::frameRate() const
{
    return m_decoder ? av_q2d(m_decoder->frameRate()) : 0.0;
}

void FramePlayer::setPosition(int64_t frame)
{
    showFrame(clampToStream(frame));
}

void FramePlayer::setSelectionStart(int64_t frame)
{
    m_selectionStart = frame;
}

void FramePlayer::setSelectionEnd(int64_t frame)
{
    m_selectionEnd = frame;
}

void FramePlayer::play()
{
    if (!m_decoder)
        return;
    const bool selected = m_selectionEnd > m_selectionStart;
    m_playFrom = selected ? clampToStream(m_selectionStart) : 0;
    m_playTo = selected ? clampToStream(m_selectionEnd) : frameCount() - 1;
    if (!showFrame(m_playFrom)) {
        stop();
        return;
    }
    m_playClock.start();
    m_playTimer->start();
    // A selection of one frame is over as soon as it is on screen.
    advancePlayback();
}

void FramePlayer::stop()
{
    m_playTimer->stop();
}

bool FramePlayer::isPlaying() const
{
    return m_playTimer->isActive();
}

void FramePlayer::setDisplaySize(int size)
{
    const bool wasFullScreen = m_displaySize == fullScreenSize;
    const bool fullScreen = size == fullScreenSize;
    m_displaySize = size;
    if (fullScreen && !wasFullScreen)
        enterFullScreen();
    else if (!fullScreen && wasFullScreen)
        leaveFullScreen();
    Q_EMIT displaySizeChanged(m_displaySize);
}

void FramePlayer::enterFullScreen()
{
    m_normalGeometry = geometry();
    m_normalMinimumSize = minimumSize();
    m_normalMaximumSize = maximumSize();
    m_normalVisible = isVisible();
    m_embedded = !isWindow();
    // The screen fixes the player's size; a window held to that size could
    // not fill the screen.
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    m_slider->hide();
    // Keeping the parent keeps the player's place in the parent's layout;
    // a layout leaves out a child while it is a window.
    if (m_embedded)
        setWindowFlags(windowFlags() | Qt::Window);
    // Without a window manager to honour the full-screen request the window
    // would stay at the player's size: cover the screen explicitly as well.
    if (const QScreen* display = screen())
        setGeometry(display->geometry());
    showFullScreen();
    activateWindow();
    setFocus(Qt::OtherFocusReason);
}

void FramePlayer::leaveFullScreen()
{
    setWindowState(windowState() & ~Qt::WindowFullScreen);
    if (m_embedded)
        setWindowFlags(windowFlags() & ~Qt::Window);
    setMinimumSize(m_normalMinimumSize);
    setMaximumSize(m_normalMaximumSize);
    setGeometry(m_normalGeometry);
    m_slider->show();
    if (m_normalVisible)
        show();
    if (m_embedded) {
        if (QLayout* layout = parentWidget()->layout())
            layout->invalidate();
        window()->activateWindow();
    }
    setFocus(Qt::OtherFocusReason);
}

int FramePlayer::KeyCodeOf(const QKeyEvent& event)
{
    const int key = event.key();
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        const int digit = key - Qt::Key_0;
        return (event.modifiers() & Qt::KeypadModifier) ? vkKeypad0 + digit : vkDigit0 + digit;
    }
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return vkLetterA + (key - Qt::Key_A);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
        return vkF1 + (key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Left:
        return vkLeft;
    case Qt::Key_Up:
        return vkUp;
    case Qt::Key_Right:
        return vkRight;
    case Qt::Key_Down:
        return vkDown;
    case Qt::Key_Escape:
        return vkEscape;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return vkReturn;
    case Qt::Key_Space:
        return vkSpace;
    default:
        return 0;
    }
}

void FramePlayer::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (m_picture.isNull())
        return;
    const QRect area = pictureArea();
    QSize fitted = m_picture.size();
    fitted.scale(area.size(), Qt::KeepAspectRatio);
    QRect target(QPoint(), fitted);
    target.moveCenter(area.center());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, m_picture);
}

void FramePlayer::keyPressEvent(QKeyEvent* event)
{
    const int code = KeyCodeOf(*event);
    if (code == 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    // In full screen Escape only takes the operator back to the screen.
    if (code == vkEscape && m_displaySize == fullScreenSize) {
        if (!event->isAutoRepeat())
            setDisplaySize(normalSize);
        return;
    }
    Q_EMIT keyDown(code);
}

void FramePlayer::keyReleaseEvent(QKeyEvent* event)
{
    const int code = KeyCodeOf(*event);
    if (code == 0) {
        QWidget::keyReleaseEvent(event);
        return;
    }
    event->accept();
    if (!event->isAutoRepeat())
        Q_EMIT keyUp(code);
}

void FramePlayer::mousePressEvent(QMouseEvent* event)
{
    if (m_displaySize == fullScreenSize) {
        event->accept();
        play();
        return;
    }
    QWidget::mousePressEvent(event);
}

bool FramePlayer::showFrame(int64_t frame)
{
    if (!m_decoder || (frame == m_position && !m_picture.isNull()))
        return m_decoder != nullptr;
    auto picture = m_decoder->frame(frame);
    if (!picture) {
        Q_EMIT decodeFailed(picture.error());
        return false;
    }
    m_picture = std::move(*picture);
    m_position = frame;
    {
        const QSignalBlocker blocker(m_slider);
        m_slider->setValue(sliderValueOf(frame));
    }
    update();
    Q_EMIT positionChanged(frame);
    return true;
}

void FramePlayer::advancePlayback()
{
    if (!m_decoder) {
        stop();
        return;
    }
    const AVRational rate = m_decoder->frameRate();
    int64_t due = m_playTo;
    if (rate.num > 0 && rate.den > 0) {
        // Frames due since the start: elapsed seconds times the rate,
        // rounded down, in integers so long replays do not drift.
        const int64_t elapsedNs = m_playClock.nsecsElapsed();
        const int64_t framesDue = av_rescale_rnd(elapsedNs, rate.num, int64_t{rate.den} * 1'000'000'000,
                                                 AV_ROUND_DOWN);
        due = std::min(m_playTo, m_playFrom + framesDue);
    }
    // The clock decides, also after the operator moved the position.
    if (due != m_position && !showFrame(due)) {
        stop();
        return;
    }
    if (m_position == m_playTo) {
        stop();
        Q_EMIT playEnded();
    }
}

QRect FramePlayer::pictureArea() const
{
    if (m_slider->isHidden())
        return rect();
    const int sliderHeight = m_slider->sizeHint().height();
    return QRect(0, 0, width(), std::max(0, height() - sliderHeight));
}

int64_t FramePlayer::clampToStream(int64_t frame) const
{
    const int64_t count = frameCount();
    if (count <= 0)
        return 0;
    return std::clamp<int64_t>(frame, 0, count - 1);
}
