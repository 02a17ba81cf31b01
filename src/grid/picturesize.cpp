#include "grid/picturesize.h"

#include "common/numbertext.h"

#include <cmath>

QString PictureSideTwips(int pixels)
{
    const double himetric = std::round(pixels * 2540.0 / 96.0);
    return NumberDigits(himetric * 15 / 26.5);
}
