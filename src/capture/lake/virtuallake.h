#pragma once

#include "capture/lake/pinholecamera.h"

#include <QImage>
#include <QSize>

#include <array>

class LakeCanvas;

// The picture source of the "Rampscope Virtual Camera": a jump course seen
// by a pinhole camera on shore (LakeScene has the survey of it). A skier
// leaves the ramp, touches the water at the landing point at the contact
// time and skis away; a splash rises and fades.
class VirtualLake {
public:
    // Paints the still course for this size once (water, ramp, buoys).
    explicit VirtualLake(QSize frameSize);

    QSize frameSize() const { return m_camera.frameSize(); }
    const PinholeCamera& camera() const { return m_camera; }

    // The lake `seconds` after the recording started, into `frame`
    // (QImage::Format_RGB32, frameSize, allocated by the caller and reused
    // frame after frame). A frame of another size or format is replaced by a
    // new picture of the right one. The same time always gives the same
    // picture.
    void render(double seconds, QImage& frame) const;

private:
    // A drop of spray; x runs along the course, y across it, z up.
    struct Droplet {
        LakePoint start;    // metres from the landing point at contact
        LakePoint velocity; // m/s
        double radiusMetres;
    };
    static constexpr int dropletCount = 48;

    void paintSplash(LakeCanvas& canvas, double sinceContact, double skierAlongMetres) const;
    void paintSkier(LakeCanvas& canvas, double seconds) const;

    PinholeCamera m_camera;
    QImage m_background;
    std::array<Droplet, dropletCount> m_droplets{};
};
