#include "grid/calibrationline.h"

#include "common/numbertext.h"
#include "common/val.h"

namespace {

void drawLine(LineDrawingSurface& surface, const ScreenLine& line, const QColor& color)
{
    surface.drawLineTwips(line.x1, line.y1, line.x2, line.y2, color);
}

} // namespace

QString NextCalibrationUnits(const QString& caption)
{
    return caption == calibrationUnitsActual ? calibrationUnitsScreen : calibrationUnitsActual;
}

QString CalibrationTwipsText(double twips)
{
    return NumberText(RoundHalfUp(twips, 1));
}

QString CalibrationMetresText(double metres)
{
    return NumberText(RoundHalfUp(metres, 100));
}

std::expected<ScreenLine, ArithmeticFault> ConvertCalibrationLine(CalibrationLineBoxes& b, const QString& unitsCaption,
                                                                 const Coefficients& c)
{
    // Both points are mapped before any box changes, so a fault at the
    // second point leaves the first point's boxes as the operator left them.
    if (unitsCaption == calibrationUnitsActual) {
        const auto p1 = survey_to_screen(c, Val(b.CalibrationLineXActual), Val(b.CalibrationLineYActual));
        if (!p1)
            return std::unexpected(p1.error());
        const auto p2 = survey_to_screen(c, Val(b.CalibrationLineXActual2), Val(b.CalibrationLineYActual2));
        if (!p2)
            return std::unexpected(p2.error());
        b.CalibrationLineXTwips = CalibrationTwipsText(p1->x);
        b.CalibrationLineYTwips = CalibrationTwipsText(p1->y);
        b.CalibrationLineXTwips2 = CalibrationTwipsText(p2->x);
        b.CalibrationLineYTwips2 = CalibrationTwipsText(p2->y);
    } else {
        const auto p1 = screen_to_survey(c, Val(b.CalibrationLineXTwips), Val(b.CalibrationLineYTwips));
        if (!p1)
            return std::unexpected(p1.error());
        const auto p2 = screen_to_survey(c, Val(b.CalibrationLineXTwips2), Val(b.CalibrationLineYTwips2));
        if (!p2)
            return std::unexpected(p2.error());
        b.CalibrationLineXActual = CalibrationMetresText(p1->x);
        b.CalibrationLineYActual = CalibrationMetresText(p1->y);
        b.CalibrationLineXActual2 = CalibrationMetresText(p2->x);
        b.CalibrationLineYActual2 = CalibrationMetresText(p2->y);
    }
    // The line is what the screen boxes now say, rounded texts included.
    return ScreenLine{Val(b.CalibrationLineXTwips), Val(b.CalibrationLineYTwips), Val(b.CalibrationLineXTwips2),
                      Val(b.CalibrationLineYTwips2)};
}

std::expected<ScreenLine, ArithmeticFault> DrawCalibrationLine(CalibrationLineBoxes& boxes,
                                                              const QString& unitsCaption,
                                                              const Coefficients& coefficients,
                                                              ScreenLine& lastLine,
                                                              const std::vector<LineDrawingSurface*>& surfaces)
{
    const auto line = ConvertCalibrationLine(boxes, unitsCaption, coefficients);
    if (!line)
        return line;
    for (LineDrawingSurface* surface : surfaces) {
        drawLine(*surface, lastLine, calibrationEraseColor);
        drawLine(*surface, *line, calibrationLineColor);
    }
    lastLine = *line;
    return line;
}

void EraseCalibrationLine(const ScreenLine& lastLine, const std::vector<LineDrawingSurface*>& surfaces)
{
    for (LineDrawingSurface* surface : surfaces)
        drawLine(*surface, lastLine, calibrationEraseColor);
}
