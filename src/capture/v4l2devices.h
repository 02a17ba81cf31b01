#pragma once

#include "capture/framesource.h"

#include <QList>
#include <QString>

// A Video4Linux2 camera as the system lists it.
struct V4l2Device {
    QString path; // /dev/videoN
    QString name; // the card's own name
    QList<FrameSource::Format> formats;
    QStringList inputs;
};

// The cameras that can capture video, in the order of their device nodes.
// Nodes that only carry metadata are left out. Empty on systems without
// Video4Linux2.
QList<V4l2Device> FindV4l2Devices(const QString& deviceDirectory = QStringLiteral("/dev"));
