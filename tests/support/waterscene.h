#pragma once

#include <QImage>
#include <QPainter>
#include <QSize>

// A shore camera's view for the screenshot tools: sky, the far shore at the
// horizon and water below it with ripples that tighten towards the horizon.
// The caller paints buoys and splashes on it.
inline QImage WaterScene(QSize size, int horizon)
{
    QImage frame(size, QImage::Format_RGB32);
    QPainter p(&frame);
    QLinearGradient sky(0, 0, 0, horizon);
    sky.setColorAt(0, QColor(150, 185, 215));
    sky.setColorAt(1, QColor(205, 220, 230));
    p.fillRect(0, 0, size.width(), horizon, sky);
    p.fillRect(0, horizon - 10, size.width(), 12, QColor(70, 95, 60)); // far shore
    const int waterTop = horizon + 2;
    QLinearGradient water(0, waterTop, 0, size.height());
    water.setColorAt(0, QColor(60, 100, 120));
    water.setColorAt(1, QColor(25, 60, 85));
    p.fillRect(0, waterTop, size.width(), size.height() - waterTop, water);
    p.setPen(QPen(QColor(90, 130, 150), 1));
    for (int i = 0; i < 40; ++i) {
        const int y = waterTop + 3 + i * i / 4;
        if (y > size.height())
            break;
        for (int x = (i * 37) % 60; x < size.width(); x += 70 + i)
            p.drawLine(x, y, x + 12 + i / 2, y);
    }
    return frame;
}
