#include "widgets/livepicture.h"

#include <QPainter>

LivePicture::LivePicture(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(320, 180);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void LivePicture::showPicture(const QImage& picture)
{
    m_picture = picture;
    update();
}

QRect LivePicture::pictureRect() const
{
    if (m_picture.isNull())
        return {};
    const QSize fitted = m_picture.size().scaled(size(), Qt::KeepAspectRatio);
    return QRect(QPoint((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted);
}

void LivePicture::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (m_picture.isNull())
        return;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(pictureRect(), m_picture);
}
