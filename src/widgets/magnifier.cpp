#include "widgets/magnifier.h"

#include "widgets/picturecanvas.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

Magnifier::Magnifier(PictureCanvas& canvas)
    : QWidget(&canvas)
    , m_canvas(canvas)
{
    setObjectName(QStringLiteral("magnifier"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFixedSize(sourcePixels * zoom, sourcePixels * zoom);
    hide();
    canvas.installEventFilter(this);
}

void Magnifier::setEnabledByOperator(bool on)
{
    m_on = on;
    if (!on)
        hide();
}

QImage Magnifier::view(QPoint centrePixel)
{
    const int half = sourcePixels / 2;
    const QRect area(centrePixel.x() - half, centrePixel.y() - half, sourcePixels, sourcePixels);
    // Only the pixels shown are composed: the frame may be 4K.
    const QImage source = m_canvas.composedImage(area);
    QImage zoomed(sourcePixels * zoom, sourcePixels * zoom, QImage::Format_RGB32);
    zoomed.fill(Qt::black);
    QPainter p(&zoomed);
    // Outside the picture the composed part stays black.
    p.drawImage(QRect(0, 0, zoomed.width(), zoomed.height()), source);
    // The cross hair marks the pointer's own pixel.
    const int c0 = half * zoom;
    p.setPen(QPen(QColor(255, 0, 255), 1));
    p.drawRect(c0, c0, zoom - 1, zoom - 1);
    p.drawLine(c0 + zoom / 2, 0, c0 + zoom / 2, c0 - 2);
    p.drawLine(c0 + zoom / 2, c0 + zoom + 1, c0 + zoom / 2, zoomed.height());
    p.drawLine(0, c0 + zoom / 2, c0 - 2, c0 + zoom / 2);
    p.drawLine(c0 + zoom + 1, c0 + zoom / 2, zoomed.width(), c0 + zoom / 2);
    return zoomed;
}

bool Magnifier::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &m_canvas && m_on) {
        if (event->type() == QEvent::MouseMove)
            follow(static_cast<QMouseEvent*>(event)->position().toPoint());
        else if (event->type() == QEvent::Leave)
            hide();
    }
    return QWidget::eventFilter(watched, event);
}

void Magnifier::follow(QPoint pointerPixel)
{
    // The picture pixel under the pointer, at whatever zoom the canvas shows.
    const QPointF twips = m_canvas.twipsAt(pointerPixel);
    m_centre = QPoint(static_cast<int>(std::floor(twips.x() / PictureCanvas::twipsPerPixel)),
                      static_cast<int>(std::floor(twips.y() / PictureCanvas::twipsPerPixel)));
    m_source = view(m_centre);
    // Sit beside the pointer, on the side with room.
    const int gap = 24;
    int x = pointerPixel.x() + gap;
    int y = pointerPixel.y() + gap;
    if (x + width() > m_canvas.width())
        x = pointerPixel.x() - gap - width();
    if (y + height() > m_canvas.height())
        y = pointerPixel.y() - gap - height();
    move(x, y);
    show();
    raise();
    update();
}

void Magnifier::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawImage(0, 0, m_source);
    p.setPen(QPen(Qt::white, 1));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}
