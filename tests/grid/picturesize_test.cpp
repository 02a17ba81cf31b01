#include "grid/picturesize.h"

#include "support/qtprinters.h"

#include <gtest/gtest.h>

namespace {

struct SideCase {
    int pixels;
    const char* twips;
};

class PictureSide : public ::testing::TestWithParam<SideCase> {};

TEST_P(PictureSide, PixelsThroughWholeHimetricUnitsToTwips)
{
    EXPECT_EQ(PictureSideTwips(GetParam().pixels), QString::fromLatin1(GetParam().twips)) << GetParam().pixels;
}

// 640 px = 16933.33 units, held at 16933; 1 px = 26.458 units, held at 26,
// so a picture's side is not simply 15 twips a pixel.
INSTANTIATE_TEST_SUITE_P(Sides, PictureSide,
                         ::testing::Values(SideCase{640, "9584.71698113207"}, SideCase{480, "7188.67924528302"},
                                           SideCase{1920, "28754.7169811321"}, SideCase{1, "14.7169811320755"},
                                           SideCase{0, "0"}));

} // namespace
