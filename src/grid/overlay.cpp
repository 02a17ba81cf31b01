#include "grid/overlay.h"

#include "common/numbertext.h"
#include "grid/calibrationstate.h"

#include <QPainter>
#include <QPen>

#include <cmath>

namespace {

const QColor white(255, 255, 255);
const QColor magenta(255, 0, 255);

// Offset of the four outer points of a circle marker's dot cluster.
constexpr double dotOffset = 5.0;
// The failed check buoy's pointer line runs this far to the right.
constexpr double hintLineLength = 100.0;

// Label offsets from their buoy: all labels start 100 twips left of the buoy,
// the feet 400 and the metres 600 above it.
constexpr double labelLeftOffset = 100.0;
constexpr double feetLabelRise = 400.0;
constexpr double metresLabelRise = 600.0;

// On-screen labels use 3.28 ft per metre and whole feet, unlike recorded results.
constexpr double feetPerMetre = 3.28;

ScreenPoint screenOf(const GridCorner& corner)
{
    return {corner.screenX, corner.screenY};
}

QPointF pointOf(ScreenPoint p)
{
    return {p.x, p.y};
}

const GridCorner& corner(const Corners& corners, CornerSlot slot)
{
    return corners[slotIndex(slot)];
}

// Restores the painter on leaving, so the overlay never leaks its pen.
class PainterStateGuard {
public:
    explicit PainterStateGuard(QPainter& painter)
        : m_painter(painter)
    {
        m_painter.save();
        m_painter.setBrush(Qt::NoBrush);
    }
    ~PainterStateGuard() { m_painter.restore(); }
    PainterStateGuard(const PainterStateGuard&) = delete;
    PainterStateGuard& operator=(const PainterStateGuard&) = delete;

private:
    QPainter& m_painter;
};

void drawCircle(QPainter& painter, ScreenPoint at, double radius, const QColor& color)
{
    painter.setPen(OverlayPen(color));
    painter.drawEllipse(pointOf(at), radius, radius);
}

void drawLine(QPainter& painter, ScreenPoint from, ScreenPoint to, const QColor& color)
{
    painter.setPen(OverlayPen(color));
    painter.drawLine(pointOf(from), pointOf(to));
}

void drawPoint(QPainter& painter, ScreenPoint at, const QColor& color)
{
    painter.setPen(OverlayPen(color));
    painter.drawPoint(pointOf(at));
}

bool hasFinitePosition(const PlacedLabel& label)
{
    return std::isfinite(label.topLeft.x()) && std::isfinite(label.topLeft.y());
}

} // namespace

QTransform TwipsToPixels()
{
    return QTransform::fromScale(1.0 / twipsPerPixel, 1.0 / twipsPerPixel);
}

void BeginTwipsDrawing(QPainter& painter)
{
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setTransform(TwipsToPixels(), true);
}

QPen OverlayPen(const QColor& color)
{
    QPen pen(color);
    pen.setWidthF(overlayLineWidthPixels);
    pen.setCosmetic(true);
    return pen;
}

QPen OverlayEdgePen(const QColor& color)
{
    QPen pen(qGray(color.rgb()) >= 128 ? QColor(Qt::black) : QColor(Qt::white));
    pen.setWidthF(overlayLineWidthPixels + 2.0);
    pen.setCosmetic(true);
    return pen;
}

BuoyMarkerStyle BuoyMarkerStyleFromSetting(const QString& buoyMarker)
{
    return buoyMarker == QLatin1String("cross") ? BuoyMarkerStyle::Cross : BuoyMarkerStyle::Circle;
}

void DrawBuoyMarker(QPainter& painter, ScreenPoint at, const OverlayStyle& style)
{
    const double s = style.crossSize;
    const PainterStateGuard guard(painter);
    const bool cross = style.marker == BuoyMarkerStyle::Cross;
    const QColor color = cross ? white : style.labelColor;
    // The edge first, the mark over it.
    for (const QPen& pen : {OverlayEdgePen(color), OverlayPen(color)}) {
        painter.setPen(pen);
        if (cross) {
            painter.drawLine(pointOf({at.x - s, at.y}), pointOf({at.x + s, at.y}));
            painter.drawLine(pointOf({at.x, at.y - s}), pointOf({at.x, at.y + s}));
            continue;
        }
        painter.drawEllipse(pointOf(at), 2 * s, 2 * s);
    }
    // The centre dots stay without an edge: at 1:1 they lie a third of a
    // pixel apart, and an edge would bury them.
    if (!cross) {
        for (const ScreenPoint dot : {at, ScreenPoint{at.x, at.y + dotOffset}, ScreenPoint{at.x, at.y - dotOffset},
                                      ScreenPoint{at.x + dotOffset, at.y}, ScreenPoint{at.x - dotOffset, at.y}})
            drawPoint(painter, dot, color);
    }
}

void DrawSetupOverlay(QPainter& painter, const Corners& liveCorners, ScreenPoint checkBuoy,
                      const OverlayStyle& style)
{
    for (const CornerSlot slot :
         {CornerSlot::UpperLeft, CornerSlot::UpperRight, CornerSlot::LowerLeft, CornerSlot::LowerRight})
        DrawBuoyMarker(painter, screenOf(corner(liveCorners, slot)), style);
    DrawBuoyMarker(painter, checkBuoy, style);
}

std::expected<FarBuoyLabels, OverlayFault> ComputeFarBuoyLabels(const GridCorner& upperLeft,
                                                                const GridCorner& upperRight,
                                                                double jumpX, double jumpY)
{
    const auto distanceTo = [&](const GridCorner& c) {
        return std::sqrt((jumpX - c.surveyX) * (jumpX - c.surveyX) + (jumpY - c.surveyY) * (jumpY - c.surveyY));
    };
    const double d3 = distanceTo(upperLeft);
    const double d1 = distanceTo(upperRight);
    const double feet3 = std::floor(d3 * feetPerMetre + 0.5);
    const double feet1 = std::floor(d1 * feetPerMetre + 0.5);
    const double metres3 = RoundHalfUp(d3, 10);
    const double metres1 = RoundHalfUp(d1, 10);
    if (!std::isfinite(feet3) || !std::isfinite(feet1) || !std::isfinite(metres3) || !std::isfinite(metres1))
        return std::unexpected(OverlayFault{QStringLiteral(
            "The distances from the jump point to the far buoys cannot be computed; the grid is not drawn.")});

    const auto at = [](const GridCorner& c, double rise) {
        return QPointF(c.screenX - labelLeftOffset, c.screenY - rise);
    };
    const QString feet = QStringLiteral(" feet");
    const QString meters = QStringLiteral(" meters");
    FarBuoyLabels labels{
        {NumberText(feet3) + feet, at(upperLeft, feetLabelRise)},
        {NumberText(feet1) + feet, at(upperRight, feetLabelRise)},
        {NumberText(metres3) + meters, at(upperLeft, metresLabelRise)},
        {NumberText(metres1) + meters, at(upperRight, metresLabelRise)},
    };
    if (!hasFinitePosition(labels.maxbuoy) || !hasFinitePosition(labels.minbuoy)
        || !hasFinitePosition(labels.maxbuoym) || !hasFinitePosition(labels.minbuoym))
        return std::unexpected(OverlayFault{
            QStringLiteral("The far buoys have no valid screen position; the grid is not drawn.")});
    return labels;
}

MeasureOverlay MeasureOverlayFrom(const CalibrationState& calibration, bool boxLineOff)
{
    MeasureOverlay overlay;
    overlay.corners = calibration.liveCorners;
    overlay.jumpX = calibration.jumpX;
    overlay.jumpY = calibration.jumpY;
    overlay.currentGrid = calibration.currentGrid;
    for (int n = 1; n <= CalibrationState::maxGrids; ++n)
        overlay.descriptions[static_cast<std::size_t>(n - 1)] = calibration.grid(n).description;
    overlay.boxLineOff = boxLineOff;
    return overlay;
}

std::expected<MeasureOverlayTexts, OverlayFault> ComputeMeasureOverlayTexts(const MeasureOverlay& overlay)
{
    if (overlay.currentGrid < 1 || overlay.currentGrid > static_cast<int>(overlay.descriptions.size()))
        return std::unexpected(OverlayFault{QStringLiteral("Grid ") + QString::number(overlay.currentGrid)
                                            + QStringLiteral(" is not one of the grids 1 to 3; the grid is not drawn.")});
    auto labels = ComputeFarBuoyLabels(corner(overlay.corners, CornerSlot::UpperLeft),
                                       corner(overlay.corners, CornerSlot::UpperRight), overlay.jumpX,
                                       overlay.jumpY);
    if (!labels)
        return std::unexpected(labels.error());
    return MeasureOverlayTexts{*labels, overlay.descriptions[static_cast<std::size_t>(overlay.currentGrid - 1)]};
}

std::expected<MeasureOverlayTexts, OverlayFault> DrawMeasureOverlay(QPainter& painter,
                                                                    const MeasureOverlay& overlay,
                                                                    const OverlayStyle& style)
{
    // Everything that can fail is worked out before the first stroke, so a
    // fault never leaves half an overlay on the frame.
    auto texts = ComputeMeasureOverlayTexts(overlay);
    if (!texts)
        return texts;

    const Corners& c = overlay.corners;
    for (const CornerSlot slot :
         {CornerSlot::UpperLeft, CornerSlot::UpperRight, CornerSlot::LowerLeft, CornerSlot::LowerRight})
        DrawBuoyMarker(painter, screenOf(corner(c, slot)), style);

    if (!overlay.boxLineOff) {
        const PainterStateGuard guard(painter);
        drawLine(painter, screenOf(corner(c, CornerSlot::LowerRight)), screenOf(corner(c, CornerSlot::UpperRight)),
                 white);
        drawLine(painter, screenOf(corner(c, CornerSlot::LowerLeft)), screenOf(corner(c, CornerSlot::UpperLeft)),
                 white);
    }
    return texts;
}

void DrawCross(QPainter& painter, ScreenPoint at, double arm, const QColor& color)
{
    const PainterStateGuard guard(painter);
    drawLine(painter, {at.x - arm, at.y}, {at.x + arm, at.y}, color);
    drawLine(painter, {at.x, at.y - arm}, {at.x, at.y + arm}, color);
}

void DrawOldPositionMark(QPainter& painter, ScreenPoint at, double markerCircleRadius)
{
    const PainterStateGuard guard(painter);
    drawCircle(painter, at, markerCircleRadius, magenta);
    DrawCross(painter, at, setupCrossSizeMaximum, magenta);
}

void DrawNewPositionMark(QPainter& painter, ScreenPoint at, double crossSize)
{
    DrawCross(painter, at, crossSize, white);
}

void DrawHandOverMark(QPainter& painter, ScreenPoint at)
{
    DrawCross(painter, at, handOverCrossArm, white);
}

void DrawCheckBuoyHint(QPainter& painter, ScreenPoint shouldBeAt, double crossSize, const QColor& drawingColor)
{
    const PainterStateGuard guard(painter);
    drawPoint(painter, shouldBeAt, white);
    drawCircle(painter, shouldBeAt, 4 * crossSize, white);
    drawLine(painter, shouldBeAt, {shouldBeAt.x + hintLineLength, shouldBeAt.y}, drawingColor);
}

QPointF CheckBuoyHintLabelTopLeft(ScreenPoint shouldBeAt)
{
    return {shouldBeAt.x + 15.0, shouldBeAt.y - 105.0};
}
