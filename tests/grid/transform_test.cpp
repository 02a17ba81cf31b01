#include "grid/calibrationstate.h"
#include "grid/transform.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// A mild perspective: far side compressed, as from a shore tower.
const Coefficients perspective{-12.5, 0.0021, 0.0003, 1.2e-6, 3.4e-5, 80.0, 0.0002, -0.0095};

TEST(Transform, ForwardThenInverseGivesBackTheScreenPoint)
{
    for (double x : {0.0, 1500.0, 6120.0, 9584.7}) {
        for (double y : {0.0, 3405.0, 7188.7}) {
            const auto survey = screen_to_survey(perspective, x, y);
            ASSERT_TRUE(survey);
            const auto screen = survey_to_screen(perspective, survey->x, survey->y);
            ASSERT_TRUE(screen);
            EXPECT_NEAR(screen->x, x, 1e-6);
            EXPECT_NEAR(screen->y, y, 1e-6);
        }
    }
}

TEST(Transform, ForwardMatchesTheFormula)
{
    const double x = 6120, y = 3405;
    const double w = 1 + 1.2e-6 * x + 3.4e-5 * y;
    const auto p = screen_to_survey(perspective, x, y);
    ASSERT_TRUE(p);
    EXPECT_DOUBLE_EQ(p->x, (-12.5 + 0.0021 * x + 0.0003 * y) / w);
    EXPECT_DOUBLE_EQ(p->y, (80.0 + 0.0002 * x - 0.0095 * y) / w);
}

TEST(Transform, ZeroDenominatorIsAFault)
{
    // w = 1 + c4 x = 0 at x = -1 / c4.
    const Coefficients c{0, 1, 0, -0.001, 0, 0, 0, 1};
    const auto p = screen_to_survey(c, 1000, 0);
    ASSERT_FALSE(p);
    EXPECT_EQ(p.error().what, QStringLiteral("division by zero"));

    const Coefficients zero{};
    EXPECT_FALSE(survey_to_screen(zero, 1, 1));
}

struct AllowanceCase {
    TournamentType type;
    double distance;
};

class AllowanceTest : public ::testing::TestWithParam<AllowanceCase> {};

TEST_P(AllowanceTest, LandingOnTheJumpPoint)
{
    CalibrationState state;
    state.coefficients = {5.0, 0, 0, 0, 0, 7.0, 0, 0}; // every point maps to (5, 7)
    state.jumpX = 5.0;
    state.jumpY = 7.0;
    const auto d = distance_calculation(state, 123, 456, GetParam().type);
    ASSERT_TRUE(d);
    EXPECT_DOUBLE_EQ(*d, GetParam().distance);
    EXPECT_DOUBLE_EQ(state.surveyX, 5.0);
    EXPECT_DOUBLE_EQ(state.surveyY, 7.0);
}

INSTANTIATE_TEST_SUITE_P(Types, AllowanceTest,
    ::testing::Values(AllowanceCase{TournamentType::Normal, 2.1},
                      AllowanceCase{TournamentType::SitSki, 1.9},
                      AllowanceCase{TournamentType::Barefoot, 0.0}));

TEST(Transform, DistanceIsStraightLinePlusAllowance)
{
    CalibrationState state;
    state.coefficients = {3.0, 0, 0, 0, 0, 4.0, 0, 0};
    EXPECT_DOUBLE_EQ(*distance_calculation(state, 0, 0, TournamentType::Barefoot), 5.0);
    EXPECT_DOUBLE_EQ(*distance_calculation(state, 0, 0, TournamentType::Normal), 7.1);
}

TEST(Transform, FaultLeavesTheRegistersAlone)
{
    CalibrationState state;
    state.surveyX = 11;
    state.distance = 22;
    state.coefficients = {0, 1, 0, -0.001, 0, 0, 0, 1};
    EXPECT_FALSE(distance_calculation(state, 1000, 0, TournamentType::Normal));
    EXPECT_EQ(state.surveyX, 11);
    EXPECT_EQ(state.distance, 22);
}

TEST(Transform, TournamentTypeSetting)
{
    EXPECT_EQ(TournamentTypeFromSetting(QStringLiteral("barefoot")), TournamentType::Barefoot);
    EXPECT_EQ(TournamentTypeFromSetting(QStringLiteral("sitski")), TournamentType::SitSki);
    EXPECT_EQ(TournamentTypeFromSetting(QStringLiteral("normal")), TournamentType::Normal);
    EXPECT_EQ(TournamentTypeFromSetting(QString()), TournamentType::Normal);
}

TEST(CalibrationState, AllGridsReadyOnlyEverTurnsOn)
{
    CalibrationState state;
    state.setReady(1, true);
    state.updateAllGridsReady(2);
    EXPECT_FALSE(state.allGridsReady);
    state.setReady(2, true);
    state.updateAllGridsReady(2);
    EXPECT_TRUE(state.allGridsReady);
    state.setReady(2, false);
    state.updateAllGridsReady(2);
    EXPECT_TRUE(state.allGridsReady); // left as it was
}

TEST(CalibrationState, GridNumbersOutsideTheTableAreClamped)
{
    CalibrationState state;
    state.grid(7).description = QStringLiteral("x");
    EXPECT_EQ(state.grids[2].description, QStringLiteral("x"));
    state.grid(0).description = QStringLiteral("y");
    EXPECT_EQ(state.grids[0].description, QStringLiteral("y"));
}

} // namespace
