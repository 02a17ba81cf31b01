#include "capture/lake/skiermotion.h"

#include "capture/lake/lakescene.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double gravity = 9.81;        // m/s²
constexpr double contactSlack = 1e-9;   // seconds
constexpr double slowingSeconds = 1.5;  // after landing the speed falls by e in this time

struct Course {
    LakePoint jump{LakeScene::jumpX, LakeScene::jumpY, 0.0};
    LakePoint ahead;
    double flightMetres = 0.0;
    double flightSeconds = LakeScene::contactSeconds - LakeScene::takeOffSeconds;
    double speed = 0.0;  // m/s along the course, on the approach and in the air
    double climb = 0.0;  // m/s upwards when leaving the ramp

    Course()
    {
        const double dx = LakeScene::landingX - LakeScene::jumpX;
        const double dy = LakeScene::landingY - LakeScene::jumpY;
        flightMetres = std::hypot(dx, dy);
        ahead = {dx / flightMetres, dy / flightMetres, 0.0};
        speed = flightMetres / flightSeconds;
        // Thrown from the ramp's top edge so as to come down on the water
        // exactly at contact.
        climb = (gravity * flightSeconds * flightSeconds / 2.0 - LakeScene::rampHeightMetres) / flightSeconds;
    }
};

const Course& course()
{
    static const Course c;
    return c;
}

} // namespace

SkierPose SkierAt(double seconds)
{
    const Course& c = course();
    SkierPose pose;
    pose.ahead = c.ahead;
    pose.sinceContactSeconds = seconds - LakeScene::contactSeconds;
    double along = 0.0;
    double height = 0.0;
    if (seconds >= LakeScene::contactSeconds - contactSlack) {
        const double s = std::max(0.0, pose.sinceContactSeconds);
        along = c.flightMetres + c.speed * slowingSeconds * (1.0 - std::exp(-s / slowingSeconds));
        pose.tipRiseMetres = 0.05;
        pose.landed = true;
    } else if (seconds >= LakeScene::takeOffSeconds) {
        const double t = seconds - LakeScene::takeOffSeconds;
        along = c.speed * t;
        height = std::max(0.0, LakeScene::rampHeightMetres + c.climb * t - gravity * t * t / 2.0);
        pose.tipRiseMetres = 0.3;
    } else {
        along = -c.speed * (LakeScene::takeOffSeconds - seconds);
        if (along >= -LakeScene::rampLengthMetres)
            height = LakeScene::rampHeightMetres * (1.0 + along / LakeScene::rampLengthMetres);
        pose.tipRiseMetres = 0.05;
    }
    pose.bindings = c.jump + along * c.ahead;
    pose.bindings.z = height;
    return pose;
}

double SecondsFromContactToPass(double metres)
{
    const double reach = course().speed * slowingSeconds;
    if (metres >= reach)
        return std::numeric_limits<double>::infinity();
    return -slowingSeconds * std::log(1.0 - std::max(0.0, metres) / reach);
}
