#pragma once

#include "capture/framesource.h"
#include "capture/v4l2devices.h"

#include <memory>

// A camera of the station as the device list shows it.
struct StationCamera {
    QString name;
    QString path; // the device node; empty for the virtual camera
    QList<FrameSource::Format> formats;
    QStringList inputs;

    std::unique_ptr<FrameSource> open() const;
    bool operator==(const StationCamera& other) const { return path == other.path && name == other.name; }
};

// The cameras found, then "Rampscope Virtual Camera", always last.
QList<StationCamera> StationCameras(const QList<V4l2Device>& found);

// The format of a camera nearest to a wanted size and colour format: the
// size wins over the colour format; an empty colour format takes the
// camera's first at that size.
FrameSource::Format ChooseFormat(const QList<FrameSource::Format>& formats, QSize size, const QString& pixelFormat);
