#include "widgets/picturecanvas.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

// Without a picture the canvas stands for a frame of the smallest size.
const QSize emptyFrame(640, 480);

// One notch of an ordinary mouse wheel.
constexpr int wheelNotch = 120;

} // namespace

PictureCanvas::PictureCanvas(QWidget* parent)
    : QWidget(parent)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(emptyFrame);
    m_viewport.setViewSize(size());
}

void PictureCanvas::setPicture(const QImage& picture)
{
    m_picture = picture;
    m_shrunk = QImage();
    m_shrunkScale = 0.0;
    const QSize before = m_viewport.pictureSize();
    const double scaleBefore = m_viewport.scale();
    m_viewport.setPictureSize(m_picture.isNull() ? emptyFrame : m_picture.size());
    if (before != m_viewport.pictureSize() || scaleBefore != m_viewport.scale())
        viewUpdated();
    else
        update();
}

void PictureCanvas::setOverlay(std::function<void(QPainter&)> overlay)
{
    m_overlay = std::move(overlay);
    update();
}

void PictureCanvas::placeOnPicture(QWidget* label, QPointF topLeftTwips, std::optional<QPointF> belongsToTwips)
{
    auto found = std::find_if(m_labels.begin(), m_labels.end(),
                              [label](const PlacedLabel& placed) { return placed.label == label; });
    if (found == m_labels.end())
        found = m_labels.insert(m_labels.end(), PlacedLabel{label, {}, {}});
    found->topLeftTwips = topLeftTwips;
    found->belongsToTwips = belongsToTwips.value_or(topLeftTwips);
    label->move(labelPosition(*found));
}

QPoint PictureCanvas::labelPosition(const PlacedLabel& placed) const
{
    const QPointF besidePixels = (placed.topLeftTwips - placed.belongsToTwips) / twipsPerPixel;
    return (m_viewport.toView(placed.belongsToTwips) + besidePixels).toPoint();
}

QImage PictureCanvas::composedImage() const
{
    return composedImage(QRect(QPoint(), m_picture.isNull() ? emptyFrame : m_picture.size()));
}

QImage PictureCanvas::composedImage(const QRect& pixels) const
{
    QImage image(pixels.size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.translate(-pixels.topLeft());
    painter.setClipRect(QRect(QPoint(), m_picture.isNull() ? emptyFrame : m_picture.size()));
    if (!m_picture.isNull())
        painter.drawImage(QPoint(0, 0), m_picture);
    if (m_overlay) {
        painter.save();
        painter.scale(1 / twipsPerPixel, 1 / twipsPerPixel);
        m_overlay(painter);
        painter.restore();
    }
    // The labels as they lie on the frame at 1:1; their own background is
    // not part of the picture.
    for (const PlacedLabel& placed : m_labels) {
        if (placed.label && !placed.label->isHidden())
            placed.label->render(&painter, toPixels(placed.topLeftTwips), QRegion(), QWidget::DrawChildren);
    }
    return image;
}

void PictureCanvas::fit()
{
    m_viewport.fit();
    viewUpdated();
}

void PictureCanvas::zoomOneToOne()
{
    m_viewport.zoomTo(1.0, QRectF(rect()).center());
    viewUpdated();
}

void PictureCanvas::zoomIn(std::optional<QPointF> anchor)
{
    m_viewport.zoomIn(anchor.value_or(QRectF(rect()).center()));
    viewUpdated();
}

void PictureCanvas::zoomOut(std::optional<QPointF> anchor)
{
    m_viewport.zoomOut(anchor.value_or(QRectF(rect()).center()));
    viewUpdated();
}

void PictureCanvas::setPan(QPoint offset)
{
    if (offset == m_viewport.offset())
        return;
    m_viewport.setOffset(offset);
    viewUpdated();
}

QPoint PictureCanvas::toPixels(QPointF twips)
{
    return (twips / twipsPerPixel).toPoint();
}

QPointF PictureCanvas::toTwips(QPointF pixels)
{
    return pixels * twipsPerPixel;
}

void PictureCanvas::viewUpdated()
{
    placeLabels();
    update();
    Q_EMIT viewChanged();
}

void PictureCanvas::placeLabels()
{
    std::erase_if(m_labels, [](const PlacedLabel& placed) { return placed.label.isNull(); });
    for (const PlacedLabel& placed : m_labels)
        placed.label->move(labelPosition(placed));
}

const QImage& PictureCanvas::shrunkPicture()
{
    const double scale = m_viewport.scale();
    if (m_shrunk.isNull() || m_shrunkScale != scale) {
        // A new scale is shown at once with the fast shrink; the smooth one
        // (tens of milliseconds for a 4K frame) follows when the screen is
        // idle, so a zoom step never stalls the pointer.
        m_shrunk = m_picture.scaled(shrunkSize(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
        m_shrunkScale = scale;
        m_shrunkSmooth = false;
        QTimer::singleShot(0, this, [this, scale] {
            if (m_shrunkSmooth || m_shrunkScale != scale || m_picture.isNull())
                return;
            m_shrunk = m_picture.scaled(shrunkSize(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            m_shrunkSmooth = true;
            update();
        });
    }
    return m_shrunk;
}

QSize PictureCanvas::shrunkSize() const
{
    const double scale = m_viewport.scale();
    return {std::max(1, static_cast<int>(std::lround(m_picture.width() * scale))),
            std::max(1, static_cast<int>(std::lround(m_picture.height() * scale)))};
}

void PictureCanvas::paintPicture(QPainter& painter, const QRect& exposed)
{
    if (m_picture.isNull())
        return;
    const double scale = m_viewport.scale();
    const QPoint offset = m_viewport.offset();
    if (scale < 1.0) {
        painter.drawImage(-offset, shrunkPicture());
        return;
    }
    // Only the picture pixels the exposed part shows, each a block of
    // scale x scale screen pixels, never smoothed: the operator clicks on
    // the pixels as they are.
    const QRectF wanted = QRectF(exposed.translated(offset)).adjusted(0, 0, 1, 1);
    const int left = std::max(0, static_cast<int>(std::floor(wanted.left() / scale)));
    const int top = std::max(0, static_cast<int>(std::floor(wanted.top() / scale)));
    const int right = std::min(m_picture.width(), static_cast<int>(std::ceil(wanted.right() / scale)));
    const int bottom = std::min(m_picture.height(), static_cast<int>(std::ceil(wanted.bottom() / scale)));
    if (right <= left || bottom <= top)
        return;
    const QRect source(left, top, right - left, bottom - top);
    const QRectF target(left * scale - offset.x(), top * scale - offset.y(), source.width() * scale,
                        source.height() * scale);
    painter.drawImage(target, m_picture, source);
}

void PictureCanvas::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::black);
    paintPicture(painter, event->rect());
    if (m_overlay) {
        painter.save();
        const double scale = m_viewport.scale() / twipsPerPixel;
        painter.translate(-QPointF(m_viewport.offset()));
        painter.scale(scale, scale);
        m_overlay(painter);
        painter.restore();
    }
}

void PictureCanvas::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_viewport.setViewSize(size());
    viewUpdated();
}

void PictureCanvas::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::MiddleButton) {
        m_panFrom = event->position();
        m_panStart = m_viewport.offset();
        setCursor(Qt::ClosedHandCursor);
        return;
    }
    Q_EMIT pressed(twipsAt(event->position()), event->button());
}

void PictureCanvas::mouseMoveEvent(QMouseEvent* event)
{
    m_wheelAt.reset();
    if (m_panFrom) {
        setPan(m_panStart - (event->position() - *m_panFrom).toPoint());
        return;
    }
    Q_EMIT moved(twipsAt(event->position()));
}

void PictureCanvas::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::MiddleButton && m_panFrom) {
        m_panFrom.reset();
        unsetCursor();
        return;
    }
    Q_EMIT released(twipsAt(event->position()));
}

void PictureCanvas::wheelEvent(QWheelEvent* event)
{
    const QPointF at = event->position();
    if (m_wheelAt != at) {
        m_wheelAt = at;
        m_wheelPicturePoint = m_viewport.pictureAt(at);
    }
    // A notch is a step; a touchpad's small deltas add up to one.
    m_wheelAngle += event->angleDelta().y();
    while (m_wheelAngle >= wheelNotch || m_wheelAngle <= -wheelNotch) {
        if (m_wheelAngle > 0) {
            m_wheelAngle -= wheelNotch;
            m_viewport.zoomIn(at, m_wheelPicturePoint);
        } else {
            m_wheelAngle += wheelNotch;
            m_viewport.zoomOut(at, m_wheelPicturePoint);
        }
        viewUpdated();
    }
    event->accept();
}

QSize PictureCanvas::sizeHint() const
{
    // The window decides the room; a frame never resizes the window.
    return emptyFrame;
}
