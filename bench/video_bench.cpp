// Recorded-video measurements, run by `make bench` (not part of the tests):
// frame 450 of 20 s, 30 fps files, taken out by `rampscope-cli extract` as a
// whole process beside two ffmpeg commands on the same file, each checked
// for exactness by the frame number painted into the picture; then 30
// consecutive backward steps from frame 450 inside the decoder.
//
//   rampscope-video-bench [VIDEO_DIR]      make the files (kept) and measure
//   rampscope-video-bench --steps FILE     backward steps only (one process,
//                                          so that its peak memory is its own)

#include "numberedvideo.h"

#include "video/framedecoder.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <vector>

extern "C" {
#include <libavutil/log.h>
}

namespace {

constexpr int target = 450;
constexpr int runs = 5;
constexpr int steps = 30;
constexpr int extraSteps = 120;

struct Video {
    QString name;
    NumberedVideo::Recipe recipe;
};

std::vector<Video> videos()
{
    std::vector<Video> list;
    for (const QSize size : {QSize(1920, 1080), QSize(640, 480)}) {
        const QString label = QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
        NumberedVideo::Recipe recipe;
        recipe.size = size;
        recipe.frames = 600;
        recipe.rate = 30;
        recipe.groupOfPictures = 250;
        recipe.movingBackground = true;
        recipe.pattern = QRect(0, 0, size.width() / 3, size.height() / 4);
        recipe.codec = NumberedVideo::Codec::Mjpeg;
        list.push_back({QStringLiteral("MJPEG ") + label, recipe});
        recipe.codec = NumberedVideo::Codec::H264;
        list.push_back({QStringLiteral("H.264 ") + label, recipe});
    }
    return list;
}

QString fileNameOf(const Video& v)
{
    return QString(v.name).replace(QLatin1Char(' '), QLatin1Char('_')).remove(QLatin1Char('.')) + QStringLiteral(".avi");
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Nearest-rank percentile.
double percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    size_t rank = static_cast<size_t>(std::ceil(p / 100.0 * static_cast<double>(v.size())));
    return v[std::clamp<size_t>(rank, 1, v.size()) - 1];
}

struct Timed {
    double medianMs = 0;
    double minMs = 0;
    double cpuMs = 0; // median user + system time of the process
    bool ok = true;
};

double childrenCpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return (static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3)
        + static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

Timed timeProcess(const QString& program, const QStringList& args)
{
    std::vector<double> times;
    std::vector<double> cpu;
    Timed result;
    for (int i = 0; i < runs; ++i) {
        QProcess process;
        QElapsedTimer clock;
        const double cpuBefore = childrenCpuMs();
        clock.start();
        process.start(program, args);
        const bool finished = process.waitForFinished(600000);
        times.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        cpu.push_back(childrenCpuMs() - cpuBefore);
        if (!finished || process.exitCode() != 0) {
            std::fprintf(stderr, "%s failed: %s\n", qPrintable(program),
                         qPrintable(QString::fromLocal8Bit(process.readAllStandardError())));
            result.ok = false;
        }
    }
    result.medianMs = median(times);
    result.cpuMs = median(cpu);
    result.minMs = *std::min_element(times.begin(), times.end());
    return result;
}

QString exactness(const QString& bitmap, const QRect& pattern)
{
    const QImage image(bitmap);
    if (image.isNull())
        return QStringLiteral("no picture");
    const int number = NumberedVideo::ReadNumber(image, pattern);
    if (number == target)
        return QStringLiteral("exact");
    if (number < 0)
        return QStringLiteral("unreadable");
    return QStringLiteral("frame %1 (%2%3)").arg(number).arg(number > target ? "+" : "").arg(number - target);
}

long peakMemoryKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

struct StepTimes {
    std::vector<double> ms;
    bool exact = true;
};

// Steps back one frame at a time from frameFrom, pausing between steps.
StepTimes stepBack(FrameDecoder& decoder, int frameFrom, int count, const QRect& pattern, int pauseMs)
{
    StepTimes result;
    QElapsedTimer clock;
    for (int i = 1; i <= count; ++i) {
        if (pauseMs > 0)
            QThread::msleep(static_cast<unsigned long>(pauseMs));
        clock.restart();
        const auto image = decoder.frame(frameFrom - i);
        result.ms.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        result.exact = result.exact && image && NumberedVideo::ReadNumber(*image, pattern) == frameFrom - i;
    }
    return result;
}

QString summary(const std::vector<double>& ms)
{
    return QStringLiteral("median %1 ms, p95 %2 ms, max %3 ms")
        .arg(median(ms), 0, 'f', 2)
        .arg(percentile(ms, 95), 0, 'f', 2)
        .arg(*std::max_element(ms.begin(), ms.end()), 0, 'f', 1);
}

int stepsCommand(const QString& path, const QRect& pattern)
{
    av_log_set_level(AV_LOG_QUIET);
    QElapsedTimer clock;
    clock.start();
    auto opened = FrameDecoder::open(path);
    if (!opened) {
        std::fprintf(stderr, "%s\n", qPrintable(opened.error().text));
        return 1;
    }
    const double openMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    clock.restart();
    const auto first = (*opened)->frame(target);
    const double firstMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    bool exact = first && NumberedVideo::ReadNumber(*first, pattern) == target;

    // As fast as the decoder answers: the goal's 30 steps, then further back.
    const StepTimes goal = stepBack(**opened, target, steps, pattern, 0);
    const StepTimes further = stepBack(**opened, target - steps, extraSteps, pattern, 0);
    opened->reset();

    // At the pace of the frame selection screen's arrow-key polling (100 ms).
    auto paced = FrameDecoder::open(path);
    if (!paced || !(*paced)->frame(target))
        return 1;
    const StepTimes polled = stepBack(**paced, target, steps + extraSteps, pattern, 100);

    exact = exact && goal.exact && further.exact && polled.exact;
    std::printf("open %.1f ms, frame %d %.1f ms\n"
                "    %d steps back from %d:     %s\n"
                "    next %d steps back:        %s\n"
                "    %d steps back, 100 ms apart: %s\n"
                "    peak memory %.0f MB; %s\n",
                openMs, target, firstMs, steps, target, qPrintable(summary(goal.ms)), extraSteps,
                qPrintable(summary(further.ms)), steps + extraSteps, qPrintable(summary(polled.ms)),
                static_cast<double>(peakMemoryKb()) / 1024.0, exact ? "every frame exact" : "NOT EXACT");
    return exact ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 3 && args.first() == QLatin1String("--steps")) {
        const QStringList p = args.at(2).split(QLatin1Char(','));
        return stepsCommand(args.at(1), QRect(p.value(0).toInt(), p.value(1).toInt(), p.value(2).toInt(),
                                              p.value(3).toInt()));
    }

    const QString directory = args.isEmpty() ? QDir::current().filePath(QStringLiteral("videos")) : args.first();
    QDir().mkpath(directory);
    QTemporaryDir scratch;
    const QString cli = QStringLiteral(RAMPSCOPE_CLI_PATH);
    int status = 0;

    std::printf("Frame %d of 20 s, 30 fps files; process times are medians of %d runs.\n", target, runs);
    for (const Video& v : videos()) {
        const QString path = QDir(directory).filePath(fileNameOf(v));
        if (!QFileInfo::exists(path)) {
            std::printf("making %s ...\n", qPrintable(path));
            std::fflush(stdout);
            if (const auto failure = NumberedVideo::Make(v.recipe, path)) {
                std::fprintf(stderr, "%s\n", qPrintable(*failure));
                return 1;
            }
        }
        const QString ours = scratch.filePath(QStringLiteral("ours.bmp"));
        const QString selected = scratch.filePath(QStringLiteral("select.bmp"));
        const QString sought = scratch.filePath(QStringLiteral("seek.bmp"));
        const Timed cliTime = timeProcess(cli, {"extract", path, QString::number(target), ours});
        const Timed selectTime = timeProcess(
            QStringLiteral("ffmpeg"), {"-hide_banner", "-loglevel", "error", "-y", "-i", path, "-vf",
                                       QStringLiteral("select=eq(n\\,%1)").arg(target), "-frames:v", "1", selected});
        const Timed seekTime = timeProcess(QStringLiteral("ffmpeg"), {"-hide_banner", "-loglevel", "error", "-y", "-ss",
                                                                      "15", "-i", path, "-frames:v", "1", sought});
        const QRect& pattern = v.recipe.pattern;
        std::printf("\n%s (%.1f MB)\n", qPrintable(v.name), static_cast<double>(QFileInfo(path).size()) / 1e6);
        std::printf("  %-30s %8s %8s %8s\n", "", "wall", "fastest", "cpu");
        const auto row = [&](const char* what, const Timed& t, const QString& verdict) {
            std::printf("  %-30s %6.0f ms %6.0f ms %6.0f ms  %s\n", what, t.medianMs, t.minMs, t.cpuMs,
                        qPrintable(verdict));
        };
        row("rampscope-cli extract 450", cliTime, exactness(ours, pattern));
        row("ffmpeg -vf select=eq(n\\,450)", selectTime, exactness(selected, pattern));
        row("ffmpeg -ss 15 -i", seekTime, exactness(sought, pattern));
        std::printf("  select / extract: %.1fx wall, %.1fx cpu\n", selectTime.medianMs / cliTime.medianMs,
                    selectTime.cpuMs / cliTime.cpuMs);
        std::fflush(stdout);

        QProcess stepper;
        stepper.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        stepper.start(app.applicationFilePath(),
                      {"--steps", path,
                       QStringLiteral("%1,%2,%3,%4").arg(pattern.x()).arg(pattern.y()).arg(pattern.width()).arg(
                           pattern.height())});
        stepper.waitForFinished(600000);
        std::printf("  decoder: %s", stepper.readAllStandardOutput().constData());
        if (!cliTime.ok || stepper.exitCode() != 0 || exactness(ours, pattern) != QLatin1String("exact"))
            status = 1;
    }
    return status;
}
