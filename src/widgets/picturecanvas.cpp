#include "widgets/picturecanvas.h"

#include <QMouseEvent>
#include <QPainter>

PictureCanvas::PictureCanvas(QWidget* parent)
    : QWidget(parent)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(640, 480);
}

void PictureCanvas::setPicture(const QImage& picture)
{
    m_picture = picture;
    if (!m_picture.isNull())
        setMinimumSize(m_picture.size().expandedTo(QSize(640, 480)));
    update();
}

void PictureCanvas::setOverlay(std::function<void(QPainter&)> overlay)
{
    m_overlay = std::move(overlay);
    update();
}

QImage PictureCanvas::composedImage()
{
    const QSize size = m_picture.isNull() ? this->size() : m_picture.size();
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::black);
    // Render the widget with its child labels, cut to the picture.
    QPainter painter(&image);
    render(&painter, QPoint(), QRegion(QRect(QPoint(), size)));
    return image;
}

QPoint PictureCanvas::toPixels(QPointF twips)
{
    return (twips / twipsPerPixel).toPoint();
}

QPointF PictureCanvas::toTwips(QPointF pixels)
{
    return pixels * twipsPerPixel;
}

void PictureCanvas::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (!m_picture.isNull())
        painter.drawImage(QPoint(0, 0), m_picture);
    if (m_overlay) {
        painter.save();
        painter.scale(1 / twipsPerPixel, 1 / twipsPerPixel);
        m_overlay(painter);
        painter.restore();
    }
}

void PictureCanvas::mousePressEvent(QMouseEvent* event)
{
    Q_EMIT pressed(toTwips(event->position()), event->button());
}

void PictureCanvas::mouseMoveEvent(QMouseEvent* event)
{
    Q_EMIT moved(toTwips(event->position()));
}

void PictureCanvas::mouseReleaseEvent(QMouseEvent* event)
{
    Q_EMIT released(toTwips(event->position()));
}

QSize PictureCanvas::sizeHint() const
{
    return m_picture.isNull() ? QSize(640, 480) : m_picture.size();
}
