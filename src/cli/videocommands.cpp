#include "cli/videocommands.h"

#include "common/val.h"
#include "video/avifile.h"
#include "video/frameextract.h"

#include <QFileInfo>
#include <QTextStream>

#include <cmath>

extern "C" {
#include <libavutil/log.h>
}

namespace {

// FFmpeg's own diagnostics would break the one-line error rule.
void quietDecoders()
{
    av_log_set_level(AV_LOG_QUIET);
}

// The operator's message on one line: the path follows after a blank.
QString oneLine(const QString& message)
{
    return QString(message).replace(QStringLiteral("\r\n"), QStringLiteral(" "));
}

int fail(QTextStream& err, const QString& message)
{
    err << "rampscope-cli: " << oneLine(message) << '\n';
    return 2;
}

} // namespace

int VideoInfoCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (args.size() != 1)
        return fail(err, QStringLiteral("usage: rampscope-cli info VIDEO"));
    quietDecoders();
    const QString path = QFileInfo(args.first()).absoluteFilePath();
    const auto isAvi = IsVideoRecording(path);
    if (!isAvi)
        return fail(err, isAvi.error().text);
    if (!*isAvi)
        return fail(err, QStringLiteral("Not a valid avi file"));
    const auto info = ReadAviFileInfo(path);
    if (!info)
        return fail(err, info.error().text);
    for (const QString& line : AviFileInfoLines(path, *info))
        out << line << '\n';
    return 0;
}

int VideoExtractCommand(const QStringList& args, QTextStream&, QTextStream& err)
{
    if (args.size() != 3)
        return fail(err, QStringLiteral("usage: rampscope-cli extract VIDEO N OUT.bmp"));
    double frame = 0;
    if (!ParseNumberField(args.at(1), frame) || frame != std::floor(frame) || frame < 0 || frame > 9.0e15)
        return fail(err, QStringLiteral("N must be a whole frame number from 0"));
    quietDecoders();
    const QString video = QFileInfo(args.at(0)).absoluteFilePath();
    const QString bitmap = QFileInfo(args.at(2)).absoluteFilePath();
    if (const auto extracted = ExtractFrameToFile(video, static_cast<int64_t>(frame), bitmap); !extracted)
        return fail(err, extracted.error().text);
    return 0;
}
