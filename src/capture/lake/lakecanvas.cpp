#include "capture/lake/lakecanvas.h"

#include <QImage>

#include <algorithm>
#include <cmath>

namespace {

double coverageAt(double distanceInside)
{
    return std::clamp(distanceInside + 0.5, 0.0, 1.0);
}

QRgb blend(QRgb under, QRgb over, double amount)
{
    const auto mix = [amount](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * amount)); };
    return qRgb(mix(qRed(under), qRed(over)), mix(qGreen(under), qGreen(over)), mix(qBlue(under), qBlue(over)));
}

} // namespace

LakeCanvas::LakeCanvas(QImage& picture)
    : m_bits(picture.bits())
    , m_bytesPerLine(picture.bytesPerLine())
    , m_width(picture.width())
    , m_height(picture.height())
{
}

template <typename Coverage>
void LakeCanvas::fill(double left, double top, double right, double bottom, QRgb colour, double opacity,
                      Coverage coverage)
{
    if (!(opacity > 0.0) || !std::isfinite(left + top + right + bottom))
        return;
    const int x0 = std::max(0, static_cast<int>(std::floor(std::max(left, -1.0))));
    const int y0 = std::max(0, static_cast<int>(std::floor(std::max(top, -1.0))));
    const int x1 = std::min(m_width - 1, static_cast<int>(std::ceil(std::min(right, double(m_width)))));
    const int y1 = std::min(m_height - 1, static_cast<int>(std::ceil(std::min(bottom, double(m_height)))));
    for (int y = y0; y <= y1; ++y) {
        auto* line = reinterpret_cast<QRgb*>(m_bits + y * m_bytesPerLine);
        for (int x = x0; x <= x1; ++x) {
            const double amount = coverage(double(x), double(y)) * opacity;
            if (amount > 0.0)
                line[x] = blend(line[x], colour, std::min(amount, 1.0));
        }
    }
}

void LakeCanvas::disc(double cx, double cy, double radius, QRgb colour, double opacity)
{
    const double reach = radius + 1.0;
    fill(cx - reach, cy - reach, cx + reach, cy + reach, colour, opacity,
         [&](double x, double y) { return coverageAt(radius - std::hypot(x - cx, y - cy)); });
}

void LakeCanvas::stroke(double ax, double ay, double bx, double by, double halfWidth, QRgb colour, double opacity)
{
    const double reach = halfWidth + 1.0;
    const double dx = bx - ax;
    const double dy = by - ay;
    const double lengthSquared = dx * dx + dy * dy;
    fill(std::min(ax, bx) - reach, std::min(ay, by) - reach, std::max(ax, bx) + reach, std::max(ay, by) + reach,
         colour, opacity, [&](double x, double y) {
             const double t
                 = lengthSquared > 0.0 ? std::clamp(((x - ax) * dx + (y - ay) * dy) / lengthSquared, 0.0, 1.0) : 0.0;
             return coverageAt(halfWidth - std::hypot(x - (ax + t * dx), y - (ay + t * dy)));
         });
}

void LakeCanvas::ellipse(double cx, double cy, double rx, double ry, QRgb colour, double opacity)
{
    if (!(rx > 0.0) || !(ry > 0.0))
        return;
    const double smaller = std::min(rx, ry);
    fill(cx - rx - 1.0, cy - ry - 1.0, cx + rx + 1.0, cy + ry + 1.0, colour, opacity, [&](double x, double y) {
        // Distance to the edge measured in the smaller radius: close enough
        // for foam on the water.
        return coverageAt((1.0 - std::hypot((x - cx) / rx, (y - cy) / ry)) * smaller);
    });
}
