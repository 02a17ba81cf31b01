#include "capture/stationcameras.h"

#include "capture/libavsource.h"
#include "capture/virtualcamerasource.h"

#include <QFile>

std::unique_ptr<FrameSource> StationCamera::open() const
{
    if (path.isEmpty())
        return std::make_unique<VirtualCameraSource>();
    return std::make_unique<LibavSource>("video4linux2", QFile::encodeName(path), formats, inputs);
}

QList<StationCamera> StationCameras(const QList<V4l2Device>& found)
{
    QList<StationCamera> cameras;
    for (const V4l2Device& device : found)
        cameras.append({device.name, device.path, device.formats, device.inputs});
    const VirtualCameraSource lake;
    cameras.append({QString::fromLatin1(VirtualCameraSource::deviceName), QString(), lake.formats(), lake.inputs()});
    return cameras;
}

FrameSource::Format ChooseFormat(const QList<FrameSource::Format>& formats, QSize size, const QString& pixelFormat)
{
    for (const FrameSource::Format& format : formats)
        if (format.size == size && (pixelFormat.isEmpty() || format.pixelFormat == pixelFormat))
            return format;
    for (const FrameSource::Format& format : formats)
        if (format.size == size)
            return format;
    return {size, pixelFormat, {}};
}
