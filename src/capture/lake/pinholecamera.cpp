#include "capture/lake/pinholecamera.h"

#include <cmath>
#include <numbers>

LakePoint operator+(LakePoint a, LakePoint b)
{
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}

LakePoint operator-(LakePoint a, LakePoint b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

LakePoint operator*(double s, LakePoint a)
{
    return {s * a.x, s * a.y, s * a.z};
}

double dot(LakePoint a, LakePoint b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

namespace {

double radians(double degrees)
{
    return degrees * std::numbers::pi / 180.0;
}

} // namespace

PinholeCamera::PinholeCamera(const CameraPlacement& placement, QSize frameSize)
    : m_frameSize(frameSize)
    , m_position{placement.x, placement.y, placement.height}
{
    const double heading = radians(placement.headingDegrees);
    const double pitch = radians(placement.pitchDownDegrees);
    const double ex = std::cos(heading);
    const double ey = std::sin(heading);
    m_forward = {std::cos(pitch) * ex, std::cos(pitch) * ey, -std::sin(pitch)};
    m_right = {-ey, ex, 0.0};
    m_down = {-std::sin(pitch) * ex, -std::sin(pitch) * ey, -std::cos(pitch)};
    // The outer edges of the first and last pixel span the field of view.
    m_focalPixels = frameSize.width() / 2.0 / std::tan(radians(placement.horizontalFieldOfViewDegrees) / 2.0);
    m_centreX = (frameSize.width() - 1) / 2.0;
    m_centreY = (frameSize.height() - 1) / 2.0;
}

std::optional<PicturePoint> PinholeCamera::project(LakePoint p) const
{
    const LakePoint q = p - m_position;
    const double depth = dot(q, m_forward);
    if (!(depth > 0.0))
        return std::nullopt;
    return PicturePoint{m_centreX + m_focalPixels * dot(q, m_right) / depth,
                        m_centreY + m_focalPixels * dot(q, m_down) / depth, depth};
}

LakePoint PinholeCamera::rayThrough(double x, double y) const
{
    return m_forward + ((x - m_centreX) / m_focalPixels) * m_right + ((y - m_centreY) / m_focalPixels) * m_down;
}
