#include "measure/jumpresult.h"

#include "common/numbertext.h"

#include <cmath>

RoundedJump RoundJump(double distance, bool tenthsOfFeet)
{
    RoundedJump r;
    r.distance = distance;
    r.metres = RoundHalfUp(distance, 10);
    r.feet = tenthsOfFeet ? std::floor(distance / 0.03048 + 0.5) / 10 : std::floor(distance / 0.3048 + 0.5);
    r.preciseDistanceText = NumberText(RoundHalfUp(distance, 10000));
    r.metresText = NumberText(r.metres);
    r.feetText = NumberText(r.feet);
    return r;
}
