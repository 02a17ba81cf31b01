#include "grid/calibrationstate.h"
#include "grid/labelcolor.h"
#include "grid/overlay.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

namespace {

const QColor background(30, 60, 90);
const QColor white(255, 255, 255);
const QColor yellow(255, 255, 0);
const QColor magenta(255, 0, 255);
const QColor red(255, 0, 0);

// A 800 x 600 pixel frame: 12000 x 9000 twips.
QImage paintFrame(const std::function<void(QPainter&)>& draw)
{
    QImage image(800, 600, QImage::Format_RGB32);
    image.fill(background);
    QPainter painter(&image);
    BeginTwipsDrawing(painter);
    draw(painter);
    painter.end();
    return image;
}

QImage blankFrame()
{
    return paintFrame([](QPainter&) {});
}

// Whether a point given in twips (a multiple of 15) shows the colour. A
// 2-pixel stroke through a pixel corner covers the pixels on both sides, so
// the 2 x 2 pixels meeting at the point are looked at.
bool shows(const QImage& image, double xTwips, double yTwips, const QColor& color)
{
    const int px = static_cast<int>(std::lround(xTwips / twipsPerPixel));
    const int py = static_cast<int>(std::lround(yTwips / twipsPerPixel));
    for (int dx : {-1, 0})
        for (int dy : {-1, 0})
            if (image.pixelColor(px + dx, py + dy) == color)
                return true;
    return false;
}

int pixelsOf(const QImage& image, const QColor& color)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y) == color ? 1 : 0;
    return count;
}

GridCorner at(double x, double y, double surveyX = 0, double surveyY = 0)
{
    return {x, y, surveyX, surveyY};
}

// A trapezoid as a shore camera sees it: far (upper) buoys closer together.
Corners trapezoid()
{
    Corners c{};
    c[slotIndex(CornerSlot::UpperLeft)] = at(3000, 1500);
    c[slotIndex(CornerSlot::UpperRight)] = at(9000, 1500);
    c[slotIndex(CornerSlot::LowerLeft)] = at(1500, 7500);
    c[slotIndex(CornerSlot::LowerRight)] = at(10500, 7500);
    return c;
}

const ScreenPoint checkBuoy{6000, 6000};

OverlayStyle circles(QColor labelColor = yellow, double s = 60)
{
    return {BuoyMarkerStyle::Circle, labelColor, s};
}

OverlayStyle crosses(QColor labelColor = yellow, double s = 90)
{
    return {BuoyMarkerStyle::Cross, labelColor, s};
}

MeasureOverlay measureOverlay(bool boxLineOff = false)
{
    MeasureOverlay m;
    m.corners = trapezoid();
    m.currentGrid = 1;
    m.descriptions = {QStringLiteral("Tower"), QStringLiteral("Dock"), QStringLiteral("Boat house")};
    m.boxLineOff = boxLineOff;
    return m;
}

TEST(LabelColor, ChoicesGiveTheirColourNumbers)
{
    EXPECT_EQ(LabelColorNumber(QStringLiteral("default")), 16777215u);
    EXPECT_EQ(LabelColorNumber(QStringLiteral("white")), 16777215u);
    EXPECT_EQ(LabelColorNumber(QStringLiteral("black")), 0u);
    EXPECT_EQ(LabelColorNumber(QStringLiteral("yellow")), 65535u);
    EXPECT_EQ(LabelColorNumber(QStringLiteral("purple")), 16777215u);

    EXPECT_EQ(LabelColor(QStringLiteral("default")), white);
    EXPECT_EQ(LabelColor(QStringLiteral("black")), QColor(0, 0, 0));
    EXPECT_EQ(LabelColor(QStringLiteral("yellow")), yellow);
}

TEST(LabelColor, NumbersHoldRedInTheLowByte)
{
    EXPECT_EQ(ColorFromNumber(0xFF), red);
    EXPECT_EQ(ColorFromNumber(0xFF0000), QColor(0, 0, 255));
    EXPECT_EQ(ColorFromNumber(0x123456), QColor(0x56, 0x34, 0x12));
}

TEST(BuoyMarker, OnlyCrossGivesCrosses)
{
    EXPECT_EQ(BuoyMarkerStyleFromSetting(QStringLiteral("cross")), BuoyMarkerStyle::Cross);
    EXPECT_EQ(BuoyMarkerStyleFromSetting(QStringLiteral("circle")), BuoyMarkerStyle::Circle);
    EXPECT_EQ(BuoyMarkerStyleFromSetting(QString()), BuoyMarkerStyle::Circle);
    EXPECT_EQ(BuoyMarkerStyleFromSetting(QStringLiteral("Cross")), BuoyMarkerStyle::Circle);
}

TEST(BuoyMarker, CrossIsWhiteWhateverTheLabelColour)
{
    // s = 90 twips: arms of 6 pixels.
    const QImage image = paintFrame([](QPainter& p) { DrawBuoyMarker(p, {3000, 2250}, crosses(yellow, 90)); });
    EXPECT_TRUE(shows(image, 3000 + 60, 2250, white));
    EXPECT_TRUE(shows(image, 3000 - 60, 2250, white));
    EXPECT_TRUE(shows(image, 3000, 2250 - 60, white));
    EXPECT_TRUE(shows(image, 3000, 2250 + 60, white));
    // Nothing off the arms, nothing beyond them, no circle.
    EXPECT_FALSE(shows(image, 3000 + 60, 2250 + 60, white));
    EXPECT_FALSE(shows(image, 3000 + 135, 2250, white));
    EXPECT_FALSE(shows(image, 3000 + 180, 2250, white));
    EXPECT_EQ(pixelsOf(image, yellow), 0);
}

TEST(BuoyMarker, CircleOfTwiceTheCrossSizeWithADotClusterInTheLabelColour)
{
    // s = 60 twips: radius 120 twips, 8 pixels.
    const QImage image = paintFrame([](QPainter& p) { DrawBuoyMarker(p, {3000, 2250}, circles(yellow, 60)); });
    EXPECT_TRUE(shows(image, 3000 + 120, 2250, yellow));
    EXPECT_TRUE(shows(image, 3000 - 120, 2250, yellow));
    EXPECT_TRUE(shows(image, 3000, 2250 - 120, yellow));
    EXPECT_TRUE(shows(image, 3000, 2250 + 120, yellow));
    EXPECT_TRUE(shows(image, 3000, 2250, yellow)); // the dot cluster
    // Between the dots and the circle: no cross arm.
    EXPECT_FALSE(shows(image, 3000 + 60, 2250, yellow));
    EXPECT_FALSE(shows(image, 3000, 2250 + 60, yellow));
    EXPECT_EQ(pixelsOf(image, white), 0);
}

TEST(BuoyMarker, FiveSeparateDotsWhenDrawnLarger)
{
    // At 1:1 the dots lie a third of a pixel apart and merge; drawn with one
    // pixel per twip the cluster shows its five points 5 twips apart.
    QImage image(200, 200, QImage::Format_RGB32);
    image.fill(background);
    QPainter painter(&image);
    DrawBuoyMarker(painter, {100, 100}, circles(yellow, 30));
    painter.end();
    for (const QPoint dot : {QPoint(100, 100), QPoint(105, 100), QPoint(95, 100), QPoint(100, 105), QPoint(100, 95)})
        EXPECT_EQ(image.pixelColor(dot), yellow) << dot.x() << "," << dot.y();
    for (const QPoint gap : {QPoint(102, 100), QPoint(98, 98), QPoint(103, 103), QPoint(100, 102)})
        EXPECT_EQ(image.pixelColor(gap), background) << gap.x() << "," << gap.y();
    EXPECT_EQ(image.pixelColor(160, 100), yellow); // radius 2 s = 60
}

TEST(SetupOverlay, MarksTheFourCornersAndTheCheckBuoy)
{
    const QImage image = paintFrame([](QPainter& p) { DrawSetupOverlay(p, trapezoid(), checkBuoy, circles()); });
    for (const GridCorner& c : trapezoid())
        EXPECT_TRUE(shows(image, c.screenX, c.screenY, yellow)) << c.screenX << "," << c.screenY;
    EXPECT_TRUE(shows(image, checkBuoy.x, checkBuoy.y, yellow));
    // Five circles of 8 pixels radius, never side lines.
    EXPECT_EQ(pixelsOf(image, white), 0);
    EXPECT_FALSE(shows(image, 9750, 4500, yellow));
}

TEST(SetupOverlay, CrossMarkersAtAllFivePoints)
{
    const QImage image = paintFrame([](QPainter& p) { DrawSetupOverlay(p, trapezoid(), checkBuoy, crosses()); });
    for (const GridCorner& c : trapezoid())
        EXPECT_TRUE(shows(image, c.screenX + 45, c.screenY, white));
    EXPECT_TRUE(shows(image, checkBuoy.x + 45, checkBuoy.y, white));
}

TEST(MeasureOverlay, MarksTheFourCornersButNotTheCheckBuoy)
{
    // The check buoy's position is not part of the measurement overlay at
    // all; a marker there would have to come from a stray extra drawing.
    const QImage image = paintFrame([](QPainter& p) { ASSERT_TRUE(DrawMeasureOverlay(p, measureOverlay(true), circles())); });
    for (const GridCorner& c : trapezoid())
        EXPECT_TRUE(shows(image, c.screenX, c.screenY, yellow));
    EXPECT_FALSE(shows(image, checkBuoy.x, checkBuoy.y, yellow));
    // Only the four circles: compare with the set-up overlay, which has five.
    const QImage setup = paintFrame([](QPainter& p) { DrawSetupOverlay(p, trapezoid(), checkBuoy, circles()); });
    const int perMarker = pixelsOf(setup, yellow) / 5;
    EXPECT_EQ(pixelsOf(image, yellow), 4 * perMarker);
}

TEST(MeasureOverlay, WhiteSideLinesUnlessBoxLineOff)
{
    // Midpoints of lower-right to upper-right and lower-left to upper-left.
    const QImage with = paintFrame([](QPainter& p) { ASSERT_TRUE(DrawMeasureOverlay(p, measureOverlay(false), circles())); });
    EXPECT_TRUE(shows(with, 9750, 4500, white));
    EXPECT_TRUE(shows(with, 2250, 4500, white));
    // No line across the top or the bottom of the grid.
    EXPECT_FALSE(shows(with, 6000, 1500, white));
    EXPECT_FALSE(shows(with, 6000, 7500, white));

    const QImage without = paintFrame([](QPainter& p) { ASSERT_TRUE(DrawMeasureOverlay(p, measureOverlay(true), circles())); });
    EXPECT_EQ(pixelsOf(without, white), 0);
}

TEST(MeasureOverlay, SideLinesStayWhiteWithACrossAndAColouredLabel)
{
    const QImage image = paintFrame([](QPainter& p) {
        ASSERT_TRUE(DrawMeasureOverlay(p, measureOverlay(false), crosses(QColor(0, 0, 0))));
    });
    EXPECT_TRUE(shows(image, 9750, 4500, white));
    EXPECT_TRUE(shows(image, 3000 + 45, 1500, white));
    // Black only in the edges of the white crosses (partly covered by the
    // side lines), never in a side line itself.
    const QImage crossesOnly = paintFrame([](QPainter& p) {
        for (const GridCorner& c : measureOverlay(false).corners)
            DrawBuoyMarker(p, {c.screenX, c.screenY}, crosses(QColor(0, 0, 0)));
    });
    EXPECT_GT(pixelsOf(image, QColor(0, 0, 0)), 0);
    EXPECT_LE(pixelsOf(image, QColor(0, 0, 0)), pixelsOf(crossesOnly, QColor(0, 0, 0)));
}

TEST(BuoyMarker, MarksHaveAnEdgeOfTheOppositeBrightness)
{
    struct Case {
        QColor mark;
        QColor edge;
    };
    for (const Case& c : {Case{QColor(255, 255, 255), QColor(0, 0, 0)}, Case{QColor(255, 255, 0), QColor(0, 0, 0)},
                          Case{QColor(0, 0, 0), QColor(255, 255, 255)}}) {
        QImage image(200, 200, QImage::Format_RGB32);
        image.fill(c.mark); // a splash of the mark's own colour
        QPainter painter(&image);
        DrawBuoyMarker(painter, {100, 100}, circles(c.mark, 30));
        painter.end();
        // Across the circle of radius 60: edge, the mark's own colour, edge.
        QList<QColor> across;
        for (int x = 150; x <= 170; ++x) {
            if (across.isEmpty() || across.back() != image.pixelColor(x, 100))
                across.append(image.pixelColor(x, 100));
        }
        EXPECT_EQ(across, (QList<QColor>{c.mark, c.edge, c.mark, c.edge, c.mark})) << c.mark.name().toStdString();
    }
}

struct FarBuoyCase {
    double distance;
    const char* feet;
    const char* metres;
};

class FarBuoyCaptionTest : public ::testing::TestWithParam<FarBuoyCase> {};

TEST_P(FarBuoyCaptionTest, FeetAndMetresFromTheStraightDistance)
{
    const FarBuoyCase& c = GetParam();
    // Upper-left buoy straight up survey Y from the jump point at (0, 0).
    const auto labels = ComputeFarBuoyLabels(at(3000, 1500, 0, c.distance), at(9000, 1500, 0, 1), 0, 0);
    ASSERT_TRUE(labels);
    EXPECT_EQ(labels->maxbuoy.caption.toStdString(), c.feet);
    EXPECT_EQ(labels->maxbuoym.caption.toStdString(), c.metres);
}

INSTANTIATE_TEST_SUITE_P(Distances, FarBuoyCaptionTest,
    ::testing::Values(
        // 40.25 x 3.28 = 132.02; 402.5 is a halfway point and goes up.
        FarBuoyCase{40.25, " 132 feet", " 40.3 meters"},
        FarBuoyCase{0.0, " 0 feet", " 0 meters"},
        // 0.05 m: half a tenth goes up; no zero before the point.
        FarBuoyCase{0.05, " 0 feet", " .1 meters"},
        // 15.24 x 3.28 = 49.99: rounds to 50, not cut to 49.
        FarBuoyCase{15.24, " 50 feet", " 15.2 meters"},
        // 3.28 ft per metre, not 3.2808: 1000 m is 3280 feet here, not 3281.
        FarBuoyCase{1000.0, " 3280 feet", " 1000 meters"}));

TEST(FarBuoyLabels, PlacedAboveTheirBuoys)
{
    // Jump point 40.25 m from the upper-left buoy, 5 m from the upper-right.
    const auto labels = ComputeFarBuoyLabels(at(3000, 1500, 10, 45.25), at(9000, 1620, 13, 9), 10, 5);
    ASSERT_TRUE(labels);
    EXPECT_EQ(labels->maxbuoy, (PlacedLabel{QStringLiteral(" 132 feet"), QPointF(2900, 1100)}));
    EXPECT_EQ(labels->maxbuoym, (PlacedLabel{QStringLiteral(" 40.3 meters"), QPointF(2900, 900)}));
    EXPECT_EQ(labels->minbuoy, (PlacedLabel{QStringLiteral(" 16 feet"), QPointF(8900, 1220)}));
    EXPECT_EQ(labels->minbuoym, (PlacedLabel{QStringLiteral(" 5 meters"), QPointF(8900, 1020)}));
}

TEST(MeasureOverlay, ReturnsTheLabelsAndTheCurrentGridsDescription)
{
    MeasureOverlay m = measureOverlay();
    m.corners[slotIndex(CornerSlot::UpperLeft)] = at(3000, 1500, 10, 45.25);
    m.corners[slotIndex(CornerSlot::UpperRight)] = at(9000, 1500, 13, 9);
    m.jumpX = 10;
    m.jumpY = 5;
    m.currentGrid = 2;
    QImage frame = blankFrame();
    QPainter painter(&frame);
    BeginTwipsDrawing(painter);
    const auto texts = DrawMeasureOverlay(painter, m, circles());
    ASSERT_TRUE(texts);
    EXPECT_EQ(texts->gridDescription, QStringLiteral("Dock"));
    EXPECT_EQ(texts->labels.maxbuoy.caption, QStringLiteral(" 132 feet"));
    EXPECT_EQ(texts->labels.minbuoym.caption, QStringLiteral(" 5 meters"));
}

TEST(MeasureOverlay, GridOutsideOneToThreeDrawsNothing)
{
    for (int grid : {0, 4, -1}) {
        MeasureOverlay m = measureOverlay();
        m.currentGrid = grid;
        std::expected<MeasureOverlayTexts, OverlayFault> result;
        const QImage image = paintFrame([&](QPainter& p) { result = DrawMeasureOverlay(p, m, circles()); });
        ASSERT_FALSE(result) << grid;
        EXPECT_TRUE(result.error().message.contains(QString::number(grid))) << result.error().message.toStdString();
        EXPECT_EQ(image, blankFrame()) << grid;
    }
}

TEST(MeasureOverlay, DistanceWithoutAFiniteValueDrawsNothing)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double huge = 1e308;
    struct Case {
        double jumpX;
        double surveyX;
    };
    for (const Case& c : {Case{nan, 0}, Case{huge, -huge}, Case{0, std::numeric_limits<double>::infinity()}}) {
        MeasureOverlay m = measureOverlay();
        m.jumpX = c.jumpX;
        m.corners[slotIndex(CornerSlot::UpperRight)].surveyX = c.surveyX;
        std::expected<MeasureOverlayTexts, OverlayFault> result;
        const QImage image = paintFrame([&](QPainter& p) { result = DrawMeasureOverlay(p, m, circles()); });
        EXPECT_FALSE(result);
        EXPECT_EQ(image, blankFrame());
    }
}

TEST(MeasureOverlay, TakenFromTheLiveCalibration)
{
    CalibrationState calibration;
    calibration.liveCorners = trapezoid();
    calibration.grids[0].corners = Corners{}; // the stored record is not what is drawn
    calibration.jumpX = 7;
    calibration.jumpY = 8;
    calibration.currentGrid = 3;
    calibration.grids[2].description = QStringLiteral("Boat house");
    const MeasureOverlay m = MeasureOverlayFrom(calibration, true);
    EXPECT_EQ(m.corners, trapezoid());
    EXPECT_EQ(m.jumpX, 7);
    EXPECT_EQ(m.jumpY, 8);
    EXPECT_EQ(m.currentGrid, 3);
    EXPECT_EQ(m.descriptions[2], QStringLiteral("Boat house"));
    EXPECT_TRUE(m.boxLineOff);
}

TEST(SetupMarks, OldPositionIsAMagentaCircleAndFullSizeCross)
{
    // Radius 180 twips (12 px), arms of 105 twips (7 px) whatever the current size.
    const QImage image = paintFrame([](QPainter& p) { DrawOldPositionMark(p, {3000, 3000}, 180); });
    EXPECT_TRUE(shows(image, 3000 + 180, 3000, magenta));
    EXPECT_TRUE(shows(image, 3000, 3000 - 180, magenta));
    EXPECT_TRUE(shows(image, 3000 + 90, 3000, magenta));
    EXPECT_TRUE(shows(image, 3000, 3000 + 90, magenta));
    EXPECT_FALSE(shows(image, 3000 + 135, 3000, magenta));
    EXPECT_EQ(pixelsOf(image, white), 0);
}

TEST(SetupMarks, NewPositionIsAWhiteCrossOfTheCurrentSize)
{
    const QImage image = paintFrame([](QPainter& p) { DrawNewPositionMark(p, {3000, 3000}, 45); });
    EXPECT_TRUE(shows(image, 3000 + 30, 3000, white));
    EXPECT_TRUE(shows(image, 3000, 3000 - 30, white));
    EXPECT_FALSE(shows(image, 3000 + 75, 3000, white));
    EXPECT_FALSE(shows(image, 3000 + 30, 3000 + 30, white));
}

TEST(SetupMarks, HandOverCrossHasArmsOf100Twips)
{
    const QImage image = paintFrame([](QPainter& p) { DrawHandOverMark(p, {3000, 3000}); });
    EXPECT_TRUE(shows(image, 3000 + 90, 3000, white));
    EXPECT_TRUE(shows(image, 3000, 3000 + 90, white));
    EXPECT_FALSE(shows(image, 3000 + 135, 3000, white));
}

TEST(SetupMarks, FailedCheckBuoyHint)
{
    // Cross size 30: circle radius 120 twips (8 px); pointer line 100 twips right.
    const QImage image = paintFrame([](QPainter& p) { DrawCheckBuoyHint(p, {6000, 4500}, 30, red); });
    EXPECT_TRUE(shows(image, 6000 - 120, 4500, white));
    EXPECT_TRUE(shows(image, 6000, 4500 + 120, white));
    EXPECT_TRUE(shows(image, 6000 + 45, 4500, red));
    EXPECT_FALSE(shows(image, 6000 - 45, 4500, red));
    EXPECT_FALSE(shows(image, 6000 + 150, 4500, red));
    EXPECT_EQ(CheckBuoyHintLabelTopLeft({6000, 4500}), QPointF(6015, 4395));
}

TEST(Overlay, LeavesThePainterAsItFoundIt)
{
    QImage image = blankFrame();
    QPainter painter(&image);
    BeginTwipsDrawing(painter);
    const QPen pen(QColor(1, 2, 3), 7);
    painter.setPen(pen);
    painter.setBrush(QColor(4, 5, 6));
    DrawBuoyMarker(painter, {3000, 3000}, circles());
    DrawBuoyMarker(painter, {3000, 3000}, crosses());
    DrawCheckBuoyHint(painter, {3000, 3000}, 30, red);
    EXPECT_EQ(painter.pen(), pen);
    EXPECT_EQ(painter.brush().color(), QColor(4, 5, 6));
    EXPECT_EQ(painter.transform(), TwipsToPixels());
}

TEST(Overlay, LinesAreTwoPixelsWide)
{
    // A horizontal stroke along y = 150 px: exactly rows 149 and 150 inked.
    const QImage image = paintFrame([](QPainter& p) { DrawCross(p, {3000, 2250}, 300, white); });
    const int column = 3000 / 15 + 10;
    EXPECT_EQ(image.pixelColor(column, 148), background);
    EXPECT_EQ(image.pixelColor(column, 149), white);
    EXPECT_EQ(image.pixelColor(column, 150), white);
    EXPECT_EQ(image.pixelColor(column, 151), background);
}

} // namespace
