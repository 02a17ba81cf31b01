#include "grid/calibrationline.h"

#include "support/qtprinters.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Survey metres and screen twips are the same numbers: the identity
// X = x, Y = y (and its exact inverse).
const Coefficients identity{0, 1, 0, 0, 0, 0, 0, 1};

struct DrawnLine {
    QString surface;
    ScreenLine line;
    QColor color;

    bool operator==(const DrawnLine&) const = default;
};

void PrintTo(const DrawnLine& d, std::ostream* os)
{
    *os << d.surface.toStdString() << " (" << d.line.x1 << "," << d.line.y1 << ")-(" << d.line.x2 << ","
        << d.line.y2 << ") " << d.color.name().toStdString();
}

// A screen that notes every line drawn on it, in one log shared by all
// screens so the order across screens shows.
class RecordingSurface final : public LineDrawingSurface {
public:
    RecordingSurface(QString name, std::vector<DrawnLine>& log) : m_name(std::move(name)), m_log(log) {}
    void drawLineTwips(double x1, double y1, double x2, double y2, const QColor& color) override
    {
        m_log.push_back({m_name, {x1, y1, x2, y2}, color});
    }

private:
    QString m_name;
    std::vector<DrawnLine>& m_log;
};

const QColor magenta(255, 0, 255);
const QColor white(255, 255, 255);

TEST(CalibrationUnits, ActualBecomesScreenAndAnythingElseActual)
{
    EXPECT_EQ(NextCalibrationUnits("Actual"), "Screen");
    EXPECT_EQ(NextCalibrationUnits("Screen"), "Actual");
    EXPECT_EQ(NextCalibrationUnits(""), "Actual");
    EXPECT_EQ(NextCalibrationUnits("actual"), "Actual");
}

struct RoundingCase {
    double value;
    const char* text;
};

class TwipsRounding : public ::testing::TestWithParam<RoundingCase> {};

TEST_P(TwipsRounding, WholeTwipsHalvesUp)
{
    EXPECT_EQ(CalibrationTwipsText(GetParam().value), QString::fromLatin1(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(Values, TwipsRounding,
                         ::testing::Values(RoundingCase{1234.5, " 1235"}, RoundingCase{1234.49, " 1234"},
                                           RoundingCase{-0.5, " 0"}, RoundingCase{-0.51, "-1"},
                                           RoundingCase{-1.5, "-1"}, RoundingCase{0, " 0"}));

class MetresRounding : public ::testing::TestWithParam<RoundingCase> {};

TEST_P(MetresRounding, CentimetresHalvesUp)
{
    EXPECT_EQ(CalibrationMetresText(GetParam().value), QString::fromLatin1(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(Values, MetresRounding,
                         ::testing::Values(RoundingCase{12.346, " 12.35"}, RoundingCase{12.344, " 12.34"},
                                           RoundingCase{-3.456, "-3.46"}, RoundingCase{0.004, " 0"},
                                           RoundingCase{0.5, " .5"}));

TEST(ConvertCalibrationLine, ActualModeWritesTheScreenBoxesInWholeTwips)
{
    CalibrationLineBoxes boxes;
    boxes.CalibrationLineXActual = "1234.5";
    boxes.CalibrationLineYActual = "-0.5";
    boxes.CalibrationLineXActual2 = "  700.25 m";
    boxes.CalibrationLineYActual2 = "north"; // not a number: 0
    boxes.CalibrationLineXTwips = "old";
    const auto line = ConvertCalibrationLine(boxes, "Actual", identity);
    ASSERT_TRUE(line.has_value());
    EXPECT_EQ(boxes.CalibrationLineXTwips, " 1235");
    EXPECT_EQ(boxes.CalibrationLineYTwips, " 0");
    EXPECT_EQ(boxes.CalibrationLineXTwips2, " 700");
    EXPECT_EQ(boxes.CalibrationLineYTwips2, " 0");
    // The survey boxes stay as typed; the line is what the boxes now say.
    EXPECT_EQ(boxes.CalibrationLineXActual, "1234.5");
    EXPECT_EQ(*line, (ScreenLine{1235, 0, 700, 0}));
}

TEST(ConvertCalibrationLine, ScreenModeWritesTheSurveyBoxesToTheCentimetre)
{
    // X = x / 1000, Y = y / 1000: 12346 twips is 12.346 m.
    const Coefficients perMillimetre{0, 0.001, 0, 0, 0, 0, 0, 0.001};
    CalibrationLineBoxes boxes;
    boxes.CalibrationLineXTwips = "12346";
    boxes.CalibrationLineYTwips = "12344";
    boxes.CalibrationLineXTwips2 = "-500";
    boxes.CalibrationLineYTwips2 = "";
    boxes.CalibrationLineXActual = "99";
    const auto line = ConvertCalibrationLine(boxes, "Screen", perMillimetre);
    ASSERT_TRUE(line.has_value());
    EXPECT_EQ(boxes.CalibrationLineXActual, " 12.35");
    EXPECT_EQ(boxes.CalibrationLineYActual, " 12.34");
    EXPECT_EQ(boxes.CalibrationLineXActual2, "-.5");
    EXPECT_EQ(boxes.CalibrationLineYActual2, " 0");
    EXPECT_EQ(boxes.CalibrationLineXTwips, "12346");
    EXPECT_EQ(*line, (ScreenLine{12346, 12344, -500, 0}));
}

TEST(ConvertCalibrationLine, UnmappablePointChangesNoBox)
{
    // Every coefficient 0: the inverse has D = 0 for any point.
    const Coefficients flat{};
    CalibrationLineBoxes boxes;
    boxes.CalibrationLineXActual = "10";
    boxes.CalibrationLineXTwips = "1";
    const CalibrationLineBoxes before = boxes;
    const auto line = ConvertCalibrationLine(boxes, "Actual", flat);
    ASSERT_FALSE(line.has_value());
    EXPECT_EQ(line.error().what, "division by zero");
    EXPECT_EQ(boxes, before);
}

TEST(ConvertCalibrationLine, SecondPointFaultLeavesTheFirstPointsBoxesAlone)
{
    // w = 1 - x / 1000 is zero at x = 1000.
    const Coefficients c{0, 1, 0, -0.001, 0, 0, 0, 1};
    CalibrationLineBoxes boxes;
    boxes.CalibrationLineXTwips = "10";
    boxes.CalibrationLineXTwips2 = "1000";
    const CalibrationLineBoxes before = boxes;
    EXPECT_FALSE(ConvertCalibrationLine(boxes, "Screen", c).has_value());
    EXPECT_EQ(boxes, before);
}

class DrawCalibrationLineTest : public ::testing::Test {
protected:
    std::vector<DrawnLine> log;
    RecordingSurface measure{"Measure", log};
    RecordingSurface setup{"Grid_Setup", log};
    std::vector<LineDrawingSurface*> surfaces{&measure, &setup};
    ScreenLine lastLine; // as at start-up
    CalibrationLineBoxes boxes;

    void typeSurvey(const char* x1, const char* y1, const char* x2, const char* y2)
    {
        boxes.CalibrationLineXActual = x1;
        boxes.CalibrationLineYActual = y1;
        boxes.CalibrationLineXActual2 = x2;
        boxes.CalibrationLineYActual2 = y2;
    }
};

TEST_F(DrawCalibrationLineTest, FirstDrawPaintsMagentaAtTheOriginThenWhite)
{
    typeSurvey("100", "200", "3000", "4000");
    ASSERT_TRUE(DrawCalibrationLine(boxes, "Actual", identity, lastLine, surfaces).has_value());
    const ScreenLine drawn{100, 200, 3000, 4000};
    EXPECT_EQ(log, (std::vector<DrawnLine>{{"Measure", {0, 0, 0, 0}, magenta},
                                           {"Measure", drawn, white},
                                           {"Grid_Setup", {0, 0, 0, 0}, magenta},
                                           {"Grid_Setup", drawn, white}}));
    EXPECT_EQ(lastLine, drawn);
}

TEST_F(DrawCalibrationLineTest, NextDrawPaintsTheLastLineMagentaFirst)
{
    typeSurvey("100", "200", "3000", "4000");
    ASSERT_TRUE(DrawCalibrationLine(boxes, "Actual", identity, lastLine, surfaces).has_value());
    log.clear();
    typeSurvey("150.5", "250", "3000", "4000.4");
    ASSERT_TRUE(DrawCalibrationLine(boxes, "Actual", identity, lastLine, surfaces).has_value());
    const ScreenLine previous{100, 200, 3000, 4000};
    const ScreenLine drawn{151, 250, 3000, 4000};
    EXPECT_EQ(log, (std::vector<DrawnLine>{{"Measure", previous, magenta},
                                           {"Measure", drawn, white},
                                           {"Grid_Setup", previous, magenta},
                                           {"Grid_Setup", drawn, white}}));
}

TEST_F(DrawCalibrationLineTest, EraseTwicePaintsTheSameMagentaLineTwice)
{
    typeSurvey("100", "200", "3000", "4000");
    ASSERT_TRUE(DrawCalibrationLine(boxes, "Actual", identity, lastLine, surfaces).has_value());
    log.clear();
    EraseCalibrationLine(lastLine, surfaces);
    EraseCalibrationLine(lastLine, surfaces);
    const ScreenLine drawn{100, 200, 3000, 4000};
    EXPECT_EQ(log, (std::vector<DrawnLine>{{"Measure", drawn, magenta},
                                           {"Grid_Setup", drawn, magenta},
                                           {"Measure", drawn, magenta},
                                           {"Grid_Setup", drawn, magenta}}));
    EXPECT_EQ(lastLine, drawn);
}

TEST_F(DrawCalibrationLineTest, FaultDrawsNothingAndKeepsTheLastLine)
{
    lastLine = {1, 2, 3, 4};
    typeSurvey("100", "200", "3000", "4000");
    EXPECT_FALSE(DrawCalibrationLine(boxes, "Actual", Coefficients{}, lastLine, surfaces).has_value());
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(lastLine, (ScreenLine{1, 2, 3, 4}));
}

TEST_F(DrawCalibrationLineTest, NoScreensRegisteredStillRemembersTheLine)
{
    typeSurvey("10", "20", "30", "40");
    ASSERT_TRUE(DrawCalibrationLine(boxes, "Actual", identity, lastLine, {}).has_value());
    EXPECT_EQ(lastLine, (ScreenLine{10, 20, 30, 40}));
}

} // namespace
