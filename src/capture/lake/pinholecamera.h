#pragma once

#include <QSize>

#include <optional>

// A point or a direction of the lake in survey metres: x and y on the water
// as the surveyors measure them, z the height above the water.
struct LakePoint {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

LakePoint operator+(LakePoint a, LakePoint b);
LakePoint operator-(LakePoint a, LakePoint b);
LakePoint operator*(double s, LakePoint a);
double dot(LakePoint a, LakePoint b);

// Where a lake point shows in the picture: pixels, the centre of pixel
// (i, j) at (i, j) as a click on it reads, and the point's depth in metres
// along the camera's axis.
struct PicturePoint {
    double x = 0.0;
    double y = 0.0;
    double depth = 0.0;
};

// Where the camera stands and looks, in survey metres and degrees.
struct CameraPlacement {
    double x = 0.0;
    double y = 0.0;
    double height = 0.0;
    // The way the camera looks, on the water: degrees from the survey +X
    // axis turned towards +Y. The picture's right is this heading turned a
    // further 90 degrees towards +Y.
    double headingDegrees = 0.0;
    double pitchDownDegrees = 0.0;
    // Across the picture's full width, edge to edge.
    double horizontalFieldOfViewDegrees = 0.0;
};

// A perfect pinhole camera without lens distortion or roll, its axis through
// the middle of the picture. Knows nothing of grids: it only carries lake
// points to pixels and pixels to rays.
class PinholeCamera {
public:
    PinholeCamera(const CameraPlacement& placement, QSize frameSize);

    QSize frameSize() const { return m_frameSize; }
    LakePoint position() const { return m_position; }
    double focalPixels() const { return m_focalPixels; }

    // Nothing for a point at or behind the camera's plane.
    std::optional<PicturePoint> project(LakePoint p) const;

    // The direction (not of unit length) from the camera through picture
    // point (x, y).
    LakePoint rayThrough(double x, double y) const;

private:
    QSize m_frameSize;
    LakePoint m_position;
    double m_focalPixels = 0.0;
    double m_centreX = 0.0;
    double m_centreY = 0.0;
    LakePoint m_forward;
    LakePoint m_right;
    LakePoint m_down;
};
