#include "numberedvideo.h"

#include <QProcess>

namespace NumberedVideo {

namespace {

constexpr int bits = 10;
constexpr int columns = 5;
constexpr int rows = 2;

QRect cell(const QRect& area, int bit)
{
    const int w = area.width() / columns;
    const int h = area.height() / rows;
    return {area.x() + (bit % columns) * w, area.y() + (bit / columns) * h, w, h};
}

QStringList codecArguments(const Recipe& recipe)
{
    switch (recipe.codec) {
    case Codec::Mjpeg:
        return {"-c:v", "mjpeg", "-q:v", "3", "-pix_fmt", "yuvj420p"};
    case Codec::Raw:
        return {"-c:v", "rawvideo", "-pix_fmt", "bgr24"};
    case Codec::H264:
    case Codec::H264OpenGop: {
        const QString gop = QString::number(recipe.groupOfPictures);
        QStringList args{"-c:v", "libx264", "-pix_fmt", "yuv420p", "-g", gop, "-keyint_min", gop,
                         "-sc_threshold", "0", "-bf", "3"};
        if (recipe.codec == Codec::H264OpenGop)
            args << "-x264-params" << "open_gop=1";
        return args;
    }
    case Codec::Mpeg4:
        return {"-c:v", "mpeg4", "-q:v", "3", "-g", QString::number(recipe.groupOfPictures), "-bf", "2", "-flags", "+cgop",
                "-sc_threshold", "1000000000"};
    case Codec::Mpeg4OpenGop:
        return {"-c:v", "mpeg4", "-q:v", "3", "-g", QString::number(recipe.groupOfPictures), "-bf", "2",
                "-sc_threshold", "1000000000"};
    case Codec::Mpeg2:
        return {"-c:v", "mpeg2video", "-q:v", "3", "-g", "15", "-bf", "2", "-sc_threshold", "1000000000"};
    case Codec::Xvid:
        return {"-c:v", "libxvid", "-q:v", "3", "-g", QString::number(recipe.groupOfPictures), "-bf", "2"};
    case Codec::Hevc:
        return {"-c:v", "libx265", "-pix_fmt", "yuv420p", "-tag:v", "hvc1", "-x265-params",
                QStringLiteral("keyint=%1:min-keyint=%1:bframes=3:scenecut=0:log-level=error")
                    .arg(recipe.groupOfPictures)};
    }
    return {};
}

} // namespace

bool HasEncoder(const QString& name)
{
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"), {"-hide_banner", "-encoders"});
    if (!ffmpeg.waitForFinished(30000))
        return false;
    const QString listing = QString::fromLocal8Bit(ffmpeg.readAllStandardOutput());
    return listing.contains(QLatin1Char(' ') + name + QLatin1Char(' '));
}

QStringList Arguments(const Recipe& recipe, const QString& path)
{
    const QRect area = recipe.pattern.isEmpty() ? QRect(QPoint(0, 0), recipe.size) : recipe.pattern;
    const QString size = QStringLiteral("%1x%2").arg(recipe.size.width()).arg(recipe.size.height());
    QString source = recipe.movingBackground ? QStringLiteral("testsrc2=s=%1:r=%2").arg(size).arg(recipe.rate)
                                           : QStringLiteral("color=c=black:s=%1:r=%2").arg(size).arg(recipe.rate);
    // Drawing in RGB keeps an odd width (4:2:0 rounds it down to even).
    if (recipe.codec == Codec::Raw)
        source += QStringLiteral(",format=rgb24");

    QStringList filters;
    filters << QStringLiteral("drawbox=x=%1:y=%2:w=%3:h=%4:c=black:t=fill")
                   .arg(area.x())
                   .arg(area.y())
                   .arg(area.width())
                   .arg(area.height());
    for (int bit = 0; bit < bits; ++bit) {
        const QRect c = cell(area, bit);
        filters << QStringLiteral("drawbox=x=%1:y=%2:w=%3:h=%4:c=white:t=fill:enable='eq(mod(floor(n/%5),2),1)'")
                       .arg(c.x())
                       .arg(c.y())
                       .arg(c.width())
                       .arg(c.height())
                       .arg(1 << bit);
    }

    QStringList timing;
    if (recipe.variableRate) {
        const int half = recipe.frames / 2;
        filters << QStringLiteral("setpts='if(lt(N\\,%1)\\,N/%2\\,%1/%2+(N-%1)/%3)/TB'")
                       .arg(half)
                       .arg(recipe.rate)
                       .arg(2 * recipe.rate);
        timing << "-fps_mode" << "passthrough";
    }
    if (recipe.startSeconds != 0)
        timing << "-output_ts_offset" << QString::number(recipe.startSeconds);
    if (recipe.droppedFrames) {
        filters << QStringLiteral("select='not(between(n\\,%1\\,%2))'")
                       .arg(recipe.droppedFrames->first)
                       .arg(recipe.droppedFrames->second);
        timing << "-fps_mode" << "passthrough";
    }
    QStringList args{"-hide_banner", "-loglevel", "error", "-y", "-f", "lavfi", "-i", source,
                     "-frames:v", QString::number(recipe.frames), "-vf", filters.join(QLatin1Char(','))};
    args << timing << codecArguments(recipe) << path;
    return args;
}

std::optional<QString> Make(const Recipe& recipe, const QString& path)
{
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"), Arguments(recipe, path));
    if (!ffmpeg.waitForFinished(600000))
        return QStringLiteral("ffmpeg did not finish");
    if (ffmpeg.exitStatus() != QProcess::NormalExit || ffmpeg.exitCode() != 0)
        return QString::fromLocal8Bit(ffmpeg.readAllStandardError());
    return std::nullopt;
}

int ReadNumber(const QImage& frame, QRect pattern)
{
    const QRect area = pattern.isEmpty() ? frame.rect() : pattern;
    int number = 0;
    for (int bit = 0; bit < bits; ++bit) {
        const QRect c = cell(area, bit);
        // The middle half of the cell, away from ringing at its edges.
        const QRect middle = c.adjusted(c.width() / 4, c.height() / 4, -c.width() / 4, -c.height() / 4);
        long sum = 0;
        long count = 0;
        for (int y = middle.top(); y <= middle.bottom(); ++y)
            for (int x = middle.left(); x <= middle.right(); ++x) {
                sum += qGray(frame.pixel(x, y));
                ++count;
            }
        const long mean = count ? sum / count : 0;
        if (mean > 192)
            number |= 1 << bit;
        else if (mean > 64)
            return -1;
    }
    return number;
}

} // namespace NumberedVideo
