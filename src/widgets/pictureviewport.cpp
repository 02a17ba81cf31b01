#include "widgets/pictureviewport.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// The zoom ladder: steps an operator can tell apart, with 1:1 and 4:1 on it
// so a pixel-exact view is always one press away.
constexpr std::array<double, 13> ladder{0.125, 0.1875, 0.25, 1.0 / 3.0, 0.5, 2.0 / 3.0, 1.0,
                                        1.5,   2.0,    3.0,  4.0,       6.0, 8.0};

// Two scales closer than this are the same step (a fitted 0.5 is on the
// ladder's 0.5).
constexpr double sameStep = 1e-9;

} // namespace

void PictureViewport::setPictureSize(QSize picture)
{
    const QSize size = picture.isEmpty() ? QSize(640, 480) : picture;
    if (size == m_picture)
        return;
    m_picture = size;
    fit();
}

void PictureViewport::setViewSize(QSize view)
{
    m_view = view.expandedTo(QSize(1, 1));
    if (m_fit)
        m_scale = fitScale();
    clampOffset();
}

double PictureViewport::fitScale() const
{
    const double across = static_cast<double>(m_view.width()) / m_picture.width();
    const double down = static_cast<double>(m_view.height()) / m_picture.height();
    return std::clamp(std::min(across, down), std::min(minimumScale, 1.0), 1.0);
}

QSize PictureViewport::panRange() const
{
    const int width = static_cast<int>(std::ceil(m_picture.width() * m_scale - sameStep));
    const int height = static_cast<int>(std::ceil(m_picture.height() * m_scale - sameStep));
    return {std::max(0, width - m_view.width()), std::max(0, height - m_view.height())};
}

void PictureViewport::fit()
{
    m_fit = true;
    m_scale = fitScale();
    m_offset = {};
}

QPointF PictureViewport::pictureAt(QPointF viewPixels) const
{
    return (viewPixels + QPointF(m_offset)) / m_scale;
}

void PictureViewport::zoomTo(double scale, QPointF anchor, std::optional<QPointF> picturePoint)
{
    const double next = std::clamp(scale, std::min(minimumScale, fitScale()), maximumScale);
    const QPointF picture = picturePoint.value_or(pictureAt(anchor));
    m_fit = false;
    m_scale = next;
    m_offset = (picture * m_scale - anchor).toPoint();
    clampOffset();
}

void PictureViewport::zoomIn(QPointF anchor, std::optional<QPointF> picturePoint)
{
    zoomTo(nextScaleUp(m_scale), anchor, picturePoint);
}

void PictureViewport::zoomOut(QPointF anchor, std::optional<QPointF> picturePoint)
{
    const double down = nextScaleDown(m_scale);
    // Below fit there is nothing more to see: the last step out is fit.
    if (down <= fitScale() + sameStep)
        fit();
    else
        zoomTo(down, anchor, picturePoint);
}

void PictureViewport::setOffset(QPoint offset)
{
    m_offset = offset;
    clampOffset();
}

QPointF PictureViewport::toTwips(QPointF viewPixels) const
{
    const QPointF picture = (viewPixels + QPointF(m_offset)) / m_scale;
    return {std::round(picture.x() * twipsPerPixel), std::round(picture.y() * twipsPerPixel)};
}

QPointF PictureViewport::toView(QPointF twips) const
{
    return twips / twipsPerPixel * m_scale - QPointF(m_offset);
}

double PictureViewport::nextScaleUp(double scale)
{
    for (const double step : ladder) {
        if (step > scale + sameStep)
            return step;
    }
    return ladder.back();
}

double PictureViewport::nextScaleDown(double scale)
{
    for (auto step = ladder.rbegin(); step != ladder.rend(); ++step) {
        if (*step < scale - sameStep)
            return *step;
    }
    return ladder.front();
}

void PictureViewport::clampOffset()
{
    const QSize range = panRange();
    m_offset = {std::clamp(m_offset.x(), 0, range.width()), std::clamp(m_offset.y(), 0, range.height())};
}
