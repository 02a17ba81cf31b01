#pragma once

#include <QImage>

class LakeCanvas;
class PinholeCamera;

// The still part of the virtual lake as the camera sees it: sky, the wooded
// far shore, rippled water, the ramp and the five buoys. Painted once for a
// picture size; every frame starts as a copy of it.
QImage PaintLakeBackground(const PinholeCamera& camera);

// A buoy-like marker: a disc of the colour inside the buoys' dark rim,
// centred on (x, y) in picture pixels.
void PaintMarker(LakeCanvas& canvas, double x, double y, double radius, QRgb colour);
