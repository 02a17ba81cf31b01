#pragma once

#include <QString>

// A picture's side as the grid's front and back ratios expect the picture
// width: its pixels in HIMETRIC units (hundredths of a millimetre) at the
// screen's 96 pixels per inch, rounded to whole units, then in twips at
// 15 / 26.5 twips a unit (640 pixels: 16933 units, "9584.71698113207").
QString PictureSideTwips(int pixels);
