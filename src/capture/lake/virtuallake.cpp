#include "capture/lake/virtuallake.h"

#include "capture/lake/lakebackground.h"
#include "capture/lake/lakecanvas.h"
#include "capture/lake/lakescene.h"
#include "capture/lake/skiermotion.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

constexpr double gravity = 9.81;
// Spray hangs in the air whole for half a second, then thins out.
constexpr double sprayWholeSeconds = 0.5;
constexpr double sprayGoneSeconds = 1.5;
constexpr double foamFadeSeconds = 3.0;
constexpr double trailSpacingMetres = 0.6;
constexpr double trailFadeSeconds = 2.0;

constexpr QRgb sprayColour = qRgb(246, 248, 252);
constexpr QRgb foamColour = qRgb(228, 236, 240);
constexpr QRgb skiColour = qRgb(40, 36, 60);
constexpr QRgb suitColour = qRgb(34, 34, 44);
constexpr QRgb vestColour = qRgb(70, 90, 150);
constexpr QRgb helmetColour = qRgb(24, 24, 24);

// A fixed sequence of values in [0, 1): the splash looks the same on every
// run.
class FixedSequence {
public:
    double next()
    {
        std::uint64_t z = (m_state += 0x9e3779b97f4a7c15ull);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
        z ^= z >> 31;
        return (z >> 11) * 0x1.0p-53;
    }
    double between(double low, double high) { return low + (high - low) * next(); }

private:
    std::uint64_t m_state = 0x5eed;
};

// Where a point of the water around the landing point shows, with its radius
// in pixels across and down the picture.
struct Patch {
    double x, y, rx, ry;
};

std::optional<Patch> waterPatch(const PinholeCamera& camera, LakePoint centre, double radiusMetres)
{
    const auto at = camera.project(centre);
    const auto nearer = camera.project(centre + LakePoint{0.0, radiusMetres, 0.0});
    const auto farther = camera.project(centre - LakePoint{0.0, radiusMetres, 0.0});
    if (!at || !nearer || !farther)
        return std::nullopt;
    return Patch{at->x, at->y, camera.focalPixels() * radiusMetres / at->depth, std::fabs(nearer->y - farther->y) / 2.0};
}

} // namespace

VirtualLake::VirtualLake(QSize frameSize)
    : m_camera(LakeScene::camera, frameSize)
    , m_background(PaintLakeBackground(m_camera))
{
    FixedSequence random;
    for (Droplet& d : m_droplets) {
        // Thrown forward and up from around the skis, some sideways.
        d.start = {random.between(-0.6, 1.0), random.between(-0.5, 0.5), random.between(0.05, 0.45)};
        d.velocity = {random.between(-1.0, 5.0), random.between(-2.0, 2.0), random.between(1.5, 5.0)};
        d.radiusMetres = random.between(0.07, 0.16);
    }
}

void VirtualLake::render(double seconds, QImage& frame) const
{
    if (frame.size() != m_background.size() || frame.format() != QImage::Format_RGB32)
        frame = QImage(m_background.size(), QImage::Format_RGB32);
    const qsizetype rowBytes = qsizetype(m_background.width()) * 4;
    for (int j = 0; j < m_background.height(); ++j)
        std::memcpy(frame.scanLine(j), m_background.constScanLine(j), rowBytes);

    const SkierPose pose = SkierAt(seconds);
    LakeCanvas canvas(frame);
    if (pose.landed) {
        const LakePoint fromLanding = pose.bindings - LakePoint{LakeScene::landingX, LakeScene::landingY, 0.0};
        paintSplash(canvas, std::max(0.0, pose.sinceContactSeconds), std::sqrt(dot(fromLanding, fromLanding)));
    }
    paintSkier(canvas, seconds);
}

void VirtualLake::paintSplash(LakeCanvas& canvas, double sinceContact, double skierAlongMetres) const
{
    const LakePoint landing{LakeScene::landingX, LakeScene::landingY, 0.0};
    const LakePoint ahead = SkierAt(LakeScene::contactSeconds).ahead;

    // Foam left on the water behind the skier, each patch fading from the
    // time the skier passed it.
    for (double along = trailSpacingMetres; along < skierAlongMetres; along += trailSpacingMetres) {
        const double age = sinceContact - SecondsFromContactToPass(along);
        const double opacity = 0.55 * (1.0 - age / trailFadeSeconds);
        if (opacity <= 0.0)
            continue;
        if (const auto patch = waterPatch(m_camera, landing + along * ahead, 0.45))
            canvas.ellipse(patch->x, patch->y, patch->rx, patch->ry, foamColour, opacity);
    }

    const double foamOpacity = 0.8 * (1.0 - sinceContact / foamFadeSeconds);
    if (foamOpacity > 0.0) {
        if (const auto patch = waterPatch(m_camera, landing, 0.5 + 1.4 * std::min(sinceContact, 1.2)))
            canvas.ellipse(patch->x, patch->y, patch->rx, patch->ry, foamColour, foamOpacity);
    }

    const double sprayOpacity
        = std::min(1.0, (sprayGoneSeconds - sinceContact) / (sprayGoneSeconds - sprayWholeSeconds));
    if (sprayOpacity <= 0.0)
        return;
    const LakePoint across{-ahead.y, ahead.x, 0.0};
    for (const Droplet& d : m_droplets) {
        LakePoint p = landing + d.start.x * ahead + d.start.y * across
            + (sinceContact * d.velocity.x) * ahead + (sinceContact * d.velocity.y) * across;
        p.z = d.start.z + d.velocity.z * sinceContact - gravity * sinceContact * sinceContact / 2.0;
        if (p.z < 0.0)
            continue; // back in the lake
        if (const auto at = m_camera.project(p))
            canvas.disc(at->x, at->y, std::max(0.9, m_camera.focalPixels() * d.radiusMetres / at->depth), sprayColour,
                        sprayOpacity);
    }
}

void VirtualLake::paintSkier(LakeCanvas& canvas, double seconds) const
{
    const SkierPose pose = SkierAt(seconds);
    const LakePoint up{0.0, 0.0, 1.0};
    const LakePoint& feet = pose.bindings;
    const auto body = [&](double along, double height) { return feet + along * pose.ahead + height * up; };
    const auto pixels = [&](double metres, const PicturePoint& at) {
        return std::max(0.7, m_camera.focalPixels() * metres / at.depth);
    };
    const auto limb = [&](LakePoint a, LakePoint b, double radiusMetres, QRgb colour) {
        const auto pa = m_camera.project(a);
        const auto pb = m_camera.project(b);
        if (pa && pb)
            canvas.stroke(pa->x, pa->y, pb->x, pb->y, pixels(radiusMetres, *pa), colour);
    };
    const LakePoint hips = body(-0.08, 0.9);
    const LakePoint shoulders = body(0.18, 1.45);
    const LakePoint hands = body(0.6, 1.05);
    limb(body(-0.95, 0.0), body(0.8, pose.tipRiseMetres), 0.06, skiColour);
    limb(body(0.0, 0.1), hips, 0.12, suitColour);
    limb(hips, shoulders, 0.19, vestColour);
    limb(shoulders, hands, 0.065, suitColour);
    if (const auto head = m_camera.project(body(0.27, 1.72)))
        canvas.disc(head->x, head->y, pixels(0.13, *head), helmetColour);
    // The bindings' marker last, whole on top: it is what touches the water.
    if (const auto at = m_camera.project(feet))
        PaintMarker(canvas, at->x, at->y, pixels(LakeScene::bindingRadiusMetres, *at), LakeScene::bindingColour);
}
