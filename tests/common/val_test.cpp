#include "common/val.h"

#include <QString>

#include <gtest/gtest.h>

#include <cmath>

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
