#include "capture/v4l2devices.h"

#include <QCollator>
#include <QDir>
#include <QFile>

#include <algorithm>

#ifdef __linux__
#include <fcntl.h>
#include <linux/videodev2.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

#ifdef __linux__
namespace {

// A device node held open for the questions asked of it.
class DeviceNode {
public:
    explicit DeviceNode(const QString& path) : fd_(::open(QFile::encodeName(path).constData(), O_RDWR | O_NONBLOCK)) {}
    ~DeviceNode()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    DeviceNode(const DeviceNode&) = delete;
    DeviceNode& operator=(const DeviceNode&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    template <typename T> bool ask(unsigned long request, T& value) const
    {
        int result;
        do
            result = ::ioctl(fd_, request, &value);
        while (result < 0 && errno == EINTR);
        return result == 0;
    }

private:
    int fd_;
};

QString FourCc(uint32_t code)
{
    const char text[4] = {char(code & 0xff), char((code >> 8) & 0xff), char((code >> 16) & 0xff),
                          char((code >> 24) & 0xff)};
    return QString::fromLatin1(text, 4).trimmed();
}

QList<int> Rates(const DeviceNode& node, uint32_t pixelFormat, uint32_t width, uint32_t height)
{
    QList<int> rates;
    v4l2_frmivalenum interval{};
    interval.pixel_format = pixelFormat;
    interval.width = width;
    interval.height = height;
    for (interval.index = 0; node.ask(VIDIOC_ENUM_FRAMEINTERVALS, interval); ++interval.index) {
        if (interval.type == V4L2_FRMIVAL_TYPE_DISCRETE) {
            if (interval.discrete.numerator > 0) {
                const int rate = int((interval.discrete.denominator + interval.discrete.numerator / 2)
                                     / interval.discrete.numerator);
                if (rate > 0 && !rates.contains(rate))
                    rates.append(rate);
            }
        } else {
            // A continuous range: offer the rates a jump is filmed at.
            for (int rate : {25, 30, 50, 60})
                if (double(interval.stepwise.min.numerator) / interval.stepwise.min.denominator <= 1.0 / rate
                    && double(interval.stepwise.max.numerator) / interval.stepwise.max.denominator >= 1.0 / rate)
                    rates.append(rate);
            break;
        }
    }
    std::ranges::sort(rates, std::greater<>());
    return rates;
}

QList<FrameSource::Format> Formats(const DeviceNode& node)
{
    QList<FrameSource::Format> formats;
    v4l2_fmtdesc description{};
    description.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    for (description.index = 0; node.ask(VIDIOC_ENUM_FMT, description); ++description.index) {
        const QString name = FourCc(description.pixelformat);
        v4l2_frmsizeenum size{};
        size.pixel_format = description.pixelformat;
        for (size.index = 0; node.ask(VIDIOC_ENUM_FRAMESIZES, size); ++size.index) {
            if (size.type == V4L2_FRMSIZE_TYPE_DISCRETE) {
                formats.append({QSize(int(size.discrete.width), int(size.discrete.height)), name,
                                Rates(node, description.pixelformat, size.discrete.width, size.discrete.height)});
                continue;
            }
            // A range of sizes: offer the usual ones that fit it.
            for (const QSize usual : {QSize(640, 480), QSize(1280, 720), QSize(1920, 1080)})
                if (uint32_t(usual.width()) >= size.stepwise.min_width
                    && uint32_t(usual.width()) <= size.stepwise.max_width
                    && uint32_t(usual.height()) >= size.stepwise.min_height
                    && uint32_t(usual.height()) <= size.stepwise.max_height)
                    formats.append({usual, name, Rates(node, description.pixelformat, uint32_t(usual.width()),
                                                      uint32_t(usual.height()))});
            break;
        }
    }
    return formats;
}

QStringList Inputs(const DeviceNode& node)
{
    QStringList inputs;
    v4l2_input input{};
    for (input.index = 0; node.ask(VIDIOC_ENUMINPUT, input); ++input.index)
        inputs.append(QString::fromUtf8(reinterpret_cast<const char*>(input.name)));
    return inputs;
}

} // namespace
#endif

QList<V4l2Device> FindV4l2Devices(const QString& deviceDirectory)
{
    QList<V4l2Device> devices;
#ifdef __linux__
    QStringList nodes = QDir(deviceDirectory).entryList({QStringLiteral("video*")}, QDir::System | QDir::Files);
    QCollator numeric;
    numeric.setNumericMode(true);
    std::ranges::sort(nodes, numeric);
    for (const QString& node : nodes) {
        const QString path = QDir(deviceDirectory).filePath(node);
        const DeviceNode device(path);
        v4l2_capability capability{};
        if (!device.isOpen() || !device.ask(VIDIOC_QUERYCAP, capability))
            continue;
        const uint32_t caps = (capability.capabilities & V4L2_CAP_DEVICE_CAPS) ? capability.device_caps
                                                                                : capability.capabilities;
        if (!(caps & V4L2_CAP_VIDEO_CAPTURE))
            continue;
        devices.append({path, QString::fromUtf8(reinterpret_cast<const char*>(capability.card)), Formats(device),
                        Inputs(device)});
    }
#else
    Q_UNUSED(deviceDirectory);
#endif
    return devices;
}
