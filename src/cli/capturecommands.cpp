#include "cli/capturecommands.h"

#include "capture/avirecorder.h"
#include "capture/libavsource.h"
#include "capture/stationcameras.h"

#include <QTextStream>

#include <chrono>
#include <mutex>
#include <thread>

extern "C" {
#include <libavutil/log.h>
}

namespace {

const QString recordUsage = QStringLiteral(
    "usage: rampscope-cli record [--device NAME|INDEX] [--size WxH] [--rate N] --seconds S OUT.avi");

int fail(QTextStream& err, const QString& message)
{
    err << "rampscope-cli: " << message << '\n';
    return 2;
}

QString FormatLine(const FrameSource::Format& format)
{
    QStringList rates;
    for (int rate : format.rates)
        rates.append(QString::number(rate));
    return QStringLiteral("    %1 x %2 %3 at %4 fps")
        .arg(format.size.width())
        .arg(format.size.height())
        .arg(format.pixelFormat, rates.join(QStringLiteral(", ")));
}

struct RecordRequest {
    QString device = QStringLiteral("0");
    QSize size;
    int rate = 30;
    int seconds = 0;
    QString path;
};

std::expected<RecordRequest, QString> ParseRecord(const QStringList& args)
{
    RecordRequest request;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        bool ok = true;
        if (arg == QLatin1String("--device") && hasValue)
            request.device = args[++i];
        else if (arg == QLatin1String("--size") && hasValue) {
            const QStringList parts = args[++i].split(QLatin1Char('x'));
            bool wide = false, high = false;
            if (parts.size() == 2)
                request.size = QSize(parts[0].toInt(&wide), parts[1].toInt(&high));
            ok = wide && high && request.size.width() > 0 && request.size.height() > 0;
        } else if (arg == QLatin1String("--rate") && hasValue) {
            request.rate = args[++i].toInt(&ok);
            ok = ok && request.rate > 0 && request.rate <= 240;
        } else if (arg == QLatin1String("--seconds") && hasValue) {
            request.seconds = args[++i].toInt(&ok);
            ok = ok && request.seconds > 0;
        } else if (!arg.startsWith(QLatin1String("--")) && request.path.isEmpty())
            request.path = arg;
        else
            ok = false;
        if (!ok)
            return std::unexpected(recordUsage);
    }
    if (request.seconds <= 0 || request.path.isEmpty())
        return std::unexpected(recordUsage);
    return request;
}

// The camera a --device value names: its place in the list or its name.
std::expected<StationCamera, QString> FindCamera(const QString& device)
{
    const QList<StationCamera> cameras = StationCameras(FindV4l2Devices());
    bool isIndex = false;
    const int index = device.toInt(&isIndex);
    if (isIndex && index >= 0 && index < cameras.size())
        return cameras[index];
    for (const StationCamera& camera : cameras)
        if (camera.name.compare(device, Qt::CaseInsensitive) == 0)
            return camera;
    return std::unexpected(QStringLiteral("there is no capture device ") + device
                           + QStringLiteral("; rampscope-cli devices lists them"));
}

} // namespace

int CaptureDevicesCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (!args.isEmpty())
        return fail(err, QStringLiteral("usage: rampscope-cli devices"));
    const QList<StationCamera> cameras = StationCameras(FindV4l2Devices());
    for (qsizetype i = 0; i < cameras.size(); ++i) {
        const StationCamera& camera = cameras[i];
        out << i << ": " << camera.name;
        if (!camera.path.isEmpty())
            out << " (" << camera.path << ')';
        out << '\n';
        for (const FrameSource::Format& format : camera.formats)
            out << FormatLine(format) << '\n';
    }
    return 0;
}

int CaptureRecordCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    const auto request = ParseRecord(args);
    if (!request)
        return fail(err, request.error());
    av_log_set_level(AV_LOG_QUIET);

    std::unique_ptr<FrameSource> source;
    FrameSource::Format format{request->size, QString(), {}};
    if (request->device.startsWith(QLatin1String("lavfi:"))) {
        source = std::make_unique<LibavSource>("lavfi", request->device.mid(6).toUtf8(), QList<FrameSource::Format>(),
                                               QStringList());
        if (!format.size.isValid())
            return fail(err, QStringLiteral("a test source needs --size, the size it makes"));
    } else {
        const auto camera = FindCamera(request->device);
        if (!camera)
            return fail(err, camera.error());
        if (camera->formats.isEmpty())
            return fail(err, camera->name + QStringLiteral(" offers no picture format"));
        if (!format.size.isValid()) {
            const bool has720 = std::ranges::any_of(camera->formats, [](const FrameSource::Format& f) {
                return f.size == QSize(1280, 720);
            });
            format.size = has720 ? QSize(1280, 720) : camera->formats.first().size;
        }
        format = ChooseFormat(camera->formats, format.size, QString());
        source = camera->open();
    }

    auto recorder = AviRecorder::start(
        {request->path, format.size.width(), format.size.height(), request->rate, request->seconds, 3});
    if (!recorder)
        return fail(err, recorder.error() + QStringLiteral(": ") + request->path);
    AviRecorder& recording = **recorder;
    const bool sceneStarts = source->restartsScene();
    std::mutex startMutex;
    bool waiting = sceneStarts;
    auto sink = [&](CapturedFrame frame) {
        std::lock_guard lock(startMutex);
        if (waiting && !frame.sceneStart)
            return;
        waiting = false;
        recording.submit(std::move(frame));
    };
    if (auto started = source->start(format, request->rate, 0, sink); !started)
        return fail(err, started.error());
    if (sceneStarts)
        source->restartScene();
    // The recorder ends by itself at the time limit; a camera that stops
    // sending pictures ends it a little later.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(request->seconds + 5);
    while (!recording.ended() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    source->stop();
    const AviRecorder::Statistics figures = recording.stop();
    const QString failure = recording.failure();
    if (!failure.isEmpty())
        err << "rampscope-cli: the recording stopped early (" << failure << "); the frames captured are kept in "
            << request->path << '\n';
    out << "frames captured: " << figures.framesCaptured << '\n';
    out << "frames dropped: " << figures.framesDropped << '\n';
    return failure.isEmpty() ? 0 : 2;
}
