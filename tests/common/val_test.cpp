#include "common/val.h"

#include <QString>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>

namespace {

struct ValCase {
    const char* text;
    double value;
};

class ValTest : public ::testing::TestWithParam<ValCase> {};

TEST_P(ValTest, ReadsTheLeadingNumber)
{
    EXPECT_DOUBLE_EQ(Val(QString::fromLatin1(GetParam().text)), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Texts, ValTest,
    ::testing::Values(
        ValCase{"", 0},
        ValCase{"auto", 0},
        ValCase{" auto", 0},
        ValCase{"12", 12},
        ValCase{"  -3.5", -3.5},
        ValCase{"+7", 7},
        ValCase{".5", 0.5},
        ValCase{"5.", 5},
        ValCase{"148 ", 148},
        ValCase{"45.2m", 45.2},
        ValCase{"148ft", 148},
        ValCase{"1.5E3", 1500},
        ValCase{"1.5e-2x", 0.015},
        ValCase{"2D2", 200},
        ValCase{"3E", 3},      // an exponent without digits is not read
        ValCase{"3E+", 3},
        ValCase{"1,5", 1},     // a comma ends the number
        ValCase{"--1", 0},
        ValCase{"-", 0},
        ValCase{".", 0},
        ValCase{"Jump", 0},
        ValCase{"\t42", 42},
        ValCase{"1e-999", 0}));

TEST(Val, HugeNumbersReadAsInfinity)
{
    EXPECT_TRUE(std::isinf(Val(u"1e999")));
    EXPECT_LT(Val(u"-1e999"), 0);
}

struct MagnitudeCase {
    const char* name;
    QString text;
    double value;
};

void PrintTo(const MagnitudeCase& c, std::ostream* os)
{
    *os << c.name;
}


class ValMagnitudeTest : public ::testing::TestWithParam<MagnitudeCase> {};

// Beyond the range of a double a number reads as 0 or infinity by its own
// size, whatever its exponent says; inside it, down to the last subnormal.
TEST_P(ValMagnitudeTest, TellsTooSmallFromTooLarge)
{
    const double value = Val(GetParam().text);
    EXPECT_EQ(value, GetParam().value);
    EXPECT_EQ(std::signbit(value), std::signbit(GetParam().value));
}

const QString zeros400(400, QLatin1Char('0'));
constexpr double infinity = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Extremes, ValMagnitudeTest,
    ::testing::Values(
        MagnitudeCase{"TinyWithoutExponent", "0." + zeros400 + "1", 0.0},
        MagnitudeCase{"NegativeTinyWithoutExponent", "-0." + zeros400 + "1", -0.0},
        MagnitudeCase{"TinyWithPositiveExponent", "0." + zeros400 + "1E+50", 0.0},
        MagnitudeCase{"HugeWithNegativeExponent", "1" + zeros400 + "E-50", infinity},
        MagnitudeCase{"NegativeHugeWithoutExponent", "-1" + zeros400, -infinity},
        MagnitudeCase{"BelowTheSmallestSubnormal", "1E-401", 0.0},
        MagnitudeCase{"Subnormal", "1E-310", 1e-310},
        MagnitudeCase{"SmallestSubnormal", "4.9406564584124654E-324", std::numeric_limits<double>::denorm_min()},
        MagnitudeCase{"ExponentBeyondAnyCounter", "1E99999999999999999999", infinity},
        MagnitudeCase{"NegativeExponentBeyondAnyCounter", "1E-99999999999999999999", 0.0}),
    [](const auto& info) { return std::string(info.param.name); });

struct FieldCase {
    const char* text;
    bool ok;
    double value;
};

class NumberFieldTest : public ::testing::TestWithParam<FieldCase> {};

TEST_P(NumberFieldTest, AcceptsOnlyWholeNumbers)
{
    double value = -999;
    EXPECT_EQ(ParseNumberField(QString::fromLatin1(GetParam().text), value), GetParam().ok);
    if (GetParam().ok) {
        EXPECT_DOUBLE_EQ(value, GetParam().value);
    }
}

INSTANTIATE_TEST_SUITE_P(Fields, NumberFieldTest,
    ::testing::Values(
        FieldCase{" 6120 ", true, 6120},
        FieldCase{"-12.5 ", true, -12.5},
        FieldCase{" 1.2E-06 ", true, 1.2e-6},
        FieldCase{" .5", true, 0.5},
        FieldCase{"", false, 0},
        FieldCase{"   ", false, 0},
        FieldCase{"abc", false, 0},
        FieldCase{"12abc", false, 0},
        FieldCase{"1 2", false, 0},
        FieldCase{"1e999", false, 0}));

} // namespace
