#include "capture/lake/lakebackground.h"

#include "capture/lake/lakecanvas.h"
#include "capture/lake/lakescene.h"
#include "capture/lake/pinholecamera.h"

#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

constexpr double farShoreY = -300.0;    // the wooded shore across the lake
constexpr double rimPixels = 2.0;

// A fixed pseudo-random value in [0, 1) for a lattice point: the same
// picture on every machine and every run.
double latticeValue(int ix, int iy)
{
    auto h = static_cast<std::uint32_t>(ix) * 0x8da6b343u ^ static_cast<std::uint32_t>(iy) * 0xd8163841u;
    h ^= h >> 15;
    h *= 0x2c1b3c6du;
    h ^= h >> 12;
    h *= 0x297a2d39u;
    h ^= h >> 15;
    return (h & 0xffffffu) / double(0x1000000);
}

// Smooth value noise in [0, 1).
double noise(double x, double y)
{
    const double fx = std::floor(x);
    const double fy = std::floor(y);
    const int ix = static_cast<int>(fx);
    const int iy = static_cast<int>(fy);
    const double tx = x - fx;
    const double ty = y - fy;
    const double sx = tx * tx * (3.0 - 2.0 * tx);
    const double sy = ty * ty * (3.0 - 2.0 * ty);
    const double top = latticeValue(ix, iy) + (latticeValue(ix + 1, iy) - latticeValue(ix, iy)) * sx;
    const double bottom = latticeValue(ix, iy + 1) + (latticeValue(ix + 1, iy + 1) - latticeValue(ix, iy + 1)) * sx;
    return top + (bottom - top) * sy;
}

QRgb shade(double r, double g, double b)
{
    const auto c = [](double v) { return static_cast<int>(std::lround(std::clamp(v, 0.0, 255.0))); };
    return qRgb(c(r), c(g), c(b));
}

QRgb mix(double rA, double gA, double bA, double rB, double gB, double bB, double t)
{
    return shade(rA + (rB - rA) * t, gA + (gB - gA) * t, bA + (bB - bA) * t);
}

double treeTopMetres(double x)
{
    return 12.0 + 8.0 * noise(x / 25.0, 3.5) + 4.0 * noise(x / 6.0, 7.5);
}

QRgb skyOrShore(const PinholeCamera& camera, LakePoint ray)
{
    const LakePoint eye = camera.position();
    const double elevation = ray.z / std::sqrt(dot(ray, ray));
    if (ray.y < 0.0) {
        const double t = (farShoreY - eye.y) / ray.y;
        const double x = eye.x + t * ray.x;
        const double z = eye.z + t * ray.z;
        if (z <= treeTopMetres(x)) {
            const double n = noise(x / 1.5, z / 1.5);
            return shade(30 + 22 * n, 58 + 26 * n, 34 + 16 * n);
        }
    }
    return mix(198, 214, 226, 112, 150, 198, std::clamp(elevation / 0.35, 0.0, 1.0));
}

QRgb water(const PinholeCamera& camera, LakePoint ray)
{
    const LakePoint eye = camera.position();
    const double t = -eye.z / ray.z;
    const double x = eye.x + t * ray.x;
    const double y = eye.y + t * ray.y;
    const double distance = t * std::sqrt(dot(ray, ray));
    // Grazing rays mirror the sky; steep ones look into the water.
    const double depression = -ray.z / std::sqrt(dot(ray, ray));
    const double reflection = std::exp(-depression / 0.05);
    // Wind ripples, fading with distance before they shrink below a pixel.
    const double ripple = 0.45 * std::sin(0.9 * x + 0.35 * y) + 0.3 * std::sin(-0.55 * x + 1.25 * y + 1.3)
        + 0.25 * std::sin(1.9 * x - 0.8 * y + 0.4) + 0.8 * (noise(x * 0.7, y * 1.4) - 0.5);
    const double light = ripple * 16.0 * std::exp(-distance / 220.0);
    const double tint = 10.0 * (noise(x / 20.0, y / 20.0) - 0.5);
    return shade(20 + (150 - 20) * reflection + light, 54 + (176 - 54) * reflection + light + tint,
                 74 + (196 - 74) * reflection + light + tint);
}

void paintRamp(QImage& picture, const PinholeCamera& camera)
{
    const LakePoint jump{LakeScene::jumpX, LakeScene::jumpY, 0.0};
    const LakePoint landing{LakeScene::landingX, LakeScene::landingY, 0.0};
    const LakePoint course = landing - jump;
    const LakePoint ahead = (1.0 / std::sqrt(dot(course, course))) * course;
    const LakePoint across{-ahead.y, ahead.x, 0.0};
    const LakePoint up{0.0, 0.0, LakeScene::rampHeightMetres};
    const LakePoint back = (-LakeScene::rampLengthMetres) * ahead;
    const LakePoint side = (LakeScene::rampWidthMetres / 2.0) * across;

    // Picture points in QPainter's pixel convention (centre of pixel i at
    // i + 0.5). Nothing when a corner is behind the camera.
    const auto polygon = [&](std::initializer_list<LakePoint> corners) {
        QPolygonF shape;
        for (const LakePoint& p : corners) {
            const auto at = camera.project(p);
            if (!at)
                return QPolygonF();
            shape << QPointF(at->x + 0.5, at->y + 0.5);
        }
        return shape;
    };
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    // The side walls and the open back under the top edge first, then the
    // sliding surface over them.
    painter.setBrush(QColor(92, 72, 54));
    for (const LakePoint& wall : {jump + side, jump - side})
        painter.drawPolygon(polygon({wall + back, wall + up, wall}));
    painter.setBrush(QColor(62, 48, 38));
    painter.drawPolygon(polygon({jump - side, jump - side + up, jump + side + up, jump + side}));
    painter.setBrush(QColor(208, 206, 198));
    painter.drawPolygon(polygon({jump - side + back, jump - side + up, jump + side + up, jump + side + back}));
    painter.setPen(QPen(QColor(70, 70, 70), 1.5));
    painter.drawPolyline(polygon({jump - side + up, jump + side + up}));
}

} // namespace

void PaintMarker(LakeCanvas& canvas, double x, double y, double radius, QRgb colour)
{
    canvas.disc(x, y, radius + rimPixels, LakeScene::rimColour);
    canvas.disc(x, y, radius, colour);
}

QImage PaintLakeBackground(const PinholeCamera& camera)
{
    const QSize size = camera.frameSize();
    QImage picture(size, QImage::Format_RGB32);
    for (int j = 0; j < size.height(); ++j) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(j));
        for (int i = 0; i < size.width(); ++i) {
            const LakePoint ray = camera.rayThrough(i, j);
            bool onWater = ray.z < 0.0;
            if (onWater) {
                const double t = -camera.position().z / ray.z;
                onWater = camera.position().y + t * ray.y > farShoreY;
            }
            line[i] = onWater ? water(camera, ray) : skyOrShore(camera, ray);
        }
    }
    paintRamp(picture, camera);
    LakeCanvas canvas(picture);
    for (const LakeScene::Buoy& buoy : LakeScene::buoys) {
        const auto at = camera.project({buoy.x, buoy.y, 0.0});
        if (at)
            PaintMarker(canvas, at->x, at->y, camera.focalPixels() * LakeScene::buoyRadiusMetres / at->depth,
                        buoy.colour);
    }
    return picture;
}
