#include "measure/jumpresult.h"

#include <QString>

#include <gtest/gtest.h>

namespace {

struct JumpCase {
    double distance;
    bool tenths;
    const char* metres;
    const char* feet;
    const char* precise;
};

class RoundJumpTest : public ::testing::TestWithParam<JumpCase> {};

TEST_P(RoundJumpTest, RoundsLikeTheResultLine)
{
    const JumpCase& c = GetParam();
    const RoundedJump r = RoundJump(c.distance, c.tenths);
    EXPECT_EQ(r.metresText.toStdString(), c.metres);
    EXPECT_EQ(r.feetText.toStdString(), c.feet);
    EXPECT_EQ(r.preciseDistanceText.toStdString(), c.precise);
}

INSTANTIATE_TEST_SUITE_P(Jumps, RoundJumpTest,
    ::testing::Values(
        // 45.2345 / 0.3048 = 148.41: whole feet
        JumpCase{45.2345, false, " 45.2", " 148", " 45.2345"},
        // exactly halfway in metres rounds up
        JumpCase{45.25, false, " 45.3", " 148", " 45.25"},
        // barefoot 4 cm: metres round to 0, tenths of feet to .1
        JumpCase{0.04, true, " 0", " .1", " .04"},
        // feet from the unrounded distance: 30.48 m is exactly 100 ft
        JumpCase{30.48, false, " 30.5", " 100", " 30.48"},
        JumpCase{30.48, true, " 30.5", " 100", " 30.48"},
        // 10.0584 m = 33.0 ft exactly in tenths; 10.05 m = 32.97 ft -> 33
        JumpCase{10.05, true, " 10.1", " 33", " 10.05"},
        JumpCase{12.34567, false, " 12.3", " 41", " 12.3457"},
        JumpCase{0.0, false, " 0", " 0", " 0"}));

} // namespace
