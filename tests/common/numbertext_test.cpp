#include "common/numbertext.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

struct NumberCase {
    double value;
    const char* text;
};

class NumberTextTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(NumberTextTest, PrintsTheStationForm)
{
    EXPECT_EQ(NumberText(GetParam().value).toStdString(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Forms, NumberTextTest,
    ::testing::Values(
        NumberCase{0.0, " 0"},
        NumberCase{-0.0, " 0"},
        NumberCase{45.0, " 45"},
        NumberCase{45.2, " 45.2"},
        NumberCase{-3.25, "-3.25"},
        NumberCase{0.5, " .5"},
        NumberCase{-0.5, "-.5"},
        NumberCase{0.0001, " .0001"},
        NumberCase{0.00001, " 1E-05"},
        NumberCase{-0.000015, "-1.5E-05"},
        NumberCase{123456789012345.0, " 123456789012345"},
        NumberCase{1e15, " 1E+15"},
        NumberCase{1.5e300, " 1.5E+300"},
        NumberCase{1.0 / 3.0, " .333333333333333"},
        NumberCase{2.0 / 3.0, " .666666666666667"},
        NumberCase{9584.71698113208, " 9584.71698113208"},
        NumberCase{16933.0 * 15 / 26.5, " 9584.71698113207"},
        NumberCase{0.1 + 0.2, " .3"},
        NumberCase{148.0, " 148"}));

TEST(NumberText, DigitsDropOnlyTheBlank)
{
    EXPECT_EQ(NumberDigits(0.5).toStdString(), ".5");
    EXPECT_EQ(NumberDigits(-0.5).toStdString(), "-.5");
    EXPECT_EQ(NumberDigits(12000).toStdString(), "12000");
}

TEST(NumberText, FilePrintFormHasBlanksOnBothSides)
{
    EXPECT_EQ(FilePrintNumber(6120).toStdString(), " 6120 ");
    EXPECT_EQ(FilePrintNumber(-12.5).toStdString(), "-12.5 ");
    EXPECT_EQ(FilePrintNumber(1.2e-6).toStdString(), " 1.2E-06 ");
}

TEST(NumberText, NonFiniteValuesStayVisible)
{
    EXPECT_EQ(NumberText(std::numeric_limits<double>::quiet_NaN()).toStdString(), " NaN");
    EXPECT_EQ(NumberText(-std::numeric_limits<double>::infinity()).toStdString(), "-Inf");
}

struct RoundCase {
    double value;
    double scale;
    double expected;
};

class RoundHalfUpTest : public ::testing::TestWithParam<RoundCase> {};

TEST_P(RoundHalfUpTest, HalvesGoUp)
{
    EXPECT_DOUBLE_EQ(RoundHalfUp(GetParam().value, GetParam().scale), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Halves, RoundHalfUpTest,
    ::testing::Values(
        RoundCase{45.25, 10, 45.3},
        RoundCase{45.2345, 10, 45.2},
        RoundCase{-2.5, 1, -2.0},   // halves go up, towards +infinity
        RoundCase{0.04, 10, 0.0},
        RoundCase{3.1245, 1000, 3.125},
        RoundCase{132.02, 1, 132.0},
        RoundCase{40.25, 10, 40.3}));

} // namespace
