#include "fuzzchecks.h"

#include "app/skierlist.h"
#include "cli/clicommands.h"
#include "common/numbertext.h"
#include "common/rtftext.h"
#include "common/textfile.h"
#include "common/val.h"
#include "grid/gridfile.h"
#include "measure/exchangedirectory.h"
#include "video/avifile.h"
#include "video/cdib.h"
#include "video/frameextract.h"
#include "video/frameselection.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <cmath>
#include <cstdio>
#include <cstdlib>

extern "C" {
#include <libavutil/log.h>
}

namespace FuzzChecks {

namespace {

// Files the checks write, in memory where the system has a place for it.
QString scratchFile(const QString& name)
{
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm/rampscope-fuzz-XXXXXX")
                                                                         : QDir::tempPath() + QStringLiteral("/rampscope-fuzz-XXXXXX"));
    return dir.filePath(name);
}

bool writeScratch(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

template <typename Reader>
auto readFrom(const QByteArray& bytes, Reader read)
{
    QBuffer in;
    in.setData(bytes);
    in.open(QIODevice::ReadOnly);
    return read(in);
}

bool allReadBack(const GridFileContents& c)
{
    bool ok = true;
    for (const GridCorner& corner : c.corners)
        for (double v : {corner.screenX, corner.screenY, corner.surveyX, corner.surveyY})
            ok = ok && FilePrintReadsBack(v);
    for (double v : c.coefficients)
        ok = ok && FilePrintReadsBack(v);
    for (double v : {c.jumpX, c.jumpY, c.reservedA, c.reservedB, c.gridNumber})
        ok = ok && FilePrintReadsBack(v);
    return ok;
}

} // namespace

QString SetupFile(const QByteArray& bytes)
{
    const QString path = QStringLiteral("fuzz.ipt");
    const auto readGrid = [&](const QByteArray& b) {
        return readFrom(b, [&](QIODevice& in) { return readGridFile(in, path); });
    };
    if (const auto grid = readGrid(bytes); grid && allReadBack(*grid)) {
        // Once written, a grid's numbers are in the print form, which reads
        // back to itself.
        const auto once = readGrid(EncodeLines(GridFileLines(path, *grid)));
        if (!once)
            return QStringLiteral("a set-up file as written cannot be read: ") + once.error().message();
        const auto twice = readGrid(EncodeLines(GridFileLines(path, *once)));
        if (!twice || !(*twice == *once))
            return QStringLiteral("a set-up file as written reads back to other values");
    }

    const auto readCheck = [&](const QByteArray& b) {
        return readFrom(b, [&](QIODevice& in) { return readCheckBuoyFile(in, path); });
    };
    if (const auto check = readCheck(bytes)) {
        const auto lines = [](const CheckBuoyFileContents& c) {
            return CheckBuoyFileLines(c.screenX, c.screenY, FilePrintNumber(c.surveyX), FilePrintNumber(c.surveyY));
        };
        if (FilePrintReadsBack(check->screenX) && FilePrintReadsBack(check->screenY)
            && FilePrintReadsBack(check->surveyX) && FilePrintReadsBack(check->surveyY)) {
            const auto once = readCheck(EncodeLines(lines(*check)));
            if (!once)
                return QStringLiteral("a check-buoy file as written cannot be read: ") + once.error().message();
            const auto twice = readCheck(EncodeLines(lines(*once)));
            if (!twice || !(*twice == *once))
                return QStringLiteral("a check-buoy file as written reads back to other values");
        }
    }
    return {};
}

QString FieldsFile(const QByteArray& bytes)
{
    const QString fields = scratchFile(QStringLiteral("fields.txt"));
    if (!writeScratch(fields, bytes))
        return QStringLiteral("the scratch file cannot be written");
    QString out;
    QString err;
    int status = 0;
    {
        QTextStream o(&out);
        QTextStream e(&err);
        status = RunCli({QStringLiteral("solve"), fields}, o, e);
    }
    if (status == 0 && !err.isEmpty())
        return QStringLiteral("success with a message on standard error: ") + err;
    if (status != 0 && (err.count(QLatin1Char('\n')) != 1 || !err.endsWith(QLatin1Char('\n'))))
        return QStringLiteral("status %1 without exactly one line on standard error: ").arg(status) + err;
    return {};
}

QString AviFile(const QByteArray& bytes)
{
    av_log_set_level(AV_LOG_QUIET); // the decoders' complaints about damaged input
    const QString video = scratchFile(QStringLiteral("fuzz.avi"));
    const QString bitmap = scratchFile(QStringLiteral("fuzz.bmp"));
    if (!writeScratch(video, bytes))
        return QStringLiteral("the scratch file cannot be written");
    (void)IsAviFile(video);
    const auto info = ReadAviFileInfo(video);
    if (!info)
        return {};
    const int64_t length = AviInfoLength(*info);
    if (length <= 0 || AviInfoWidth(*info) <= 0 || AviInfoHeight(*info) <= 0)
        return QStringLiteral("information with a length or size of 0: %1 frames of %2 x %3")
            .arg(length)
            .arg(AviInfoWidth(*info))
            .arg(AviInfoHeight(*info));
    const auto last = ExtractFrameToFile(video, length - 1, bitmap);
    if (!last) {
        if (last.error().text == VideoMessages::noDecompressor)
            return {};
        return QStringLiteral("the last of %1 frames is refused: ").arg(length) + last.error().text;
    }
    const int64_t n = bytes.size() % length;
    const auto other = ExtractFrameToFile(video, n, bitmap);
    if (!other && other.error().text != VideoMessages::FrameDamaged(n))
        return QStringLiteral("frame %1 of %2 is refused: ").arg(n).arg(length) + other.error().text;
    return {};
}

QString Numbers(const QByteArray& bytes)
{
    for (const QString& text : {QString::fromLatin1(bytes), QString::fromUtf8(bytes)}) {
        const double typed = Val(text);
        double field = 0.0;
        if (ParseNumberField(text, field) && !(field == typed || (std::isnan(field) && std::isnan(typed))))
            return QStringLiteral("the field reads as %1 but Val reads %2").arg(field).arg(typed);
        for (double value : {typed, field}) {
            if (!FilePrintReadsBack(value))
                continue;
            const QString printed = FilePrintNumber(value);
            double back = 0.0;
            if (!ParseNumberField(printed, back) || FilePrintNumber(back) != printed)
                return QStringLiteral("%1 does not read back to its own print").arg(printed);
        }
        (void)::NumberText(typed);
    }
    return {};
}

QString SkierList(const QByteArray& bytes)
{
    if (LooksLikeRtf(bytes))
        (void)RtfToText(bytes);
    if (const auto text = SkierListText(bytes)) {
        for (const QString& line : text->split(QLatin1Char('\n')))
            (void)ListInputFields(FoldCommas(line));
    }
    return {};
}

QString ExchangeFiles(const QByteArray& bytes)
{
    (void)FirstInputField(bytes);

    const QString video = scratchFile(QStringLiteral("jump.avi"));
    if (!writeScratch(InfoCompanionPath(video), bytes))
        return QStringLiteral("the companion could not be written");
    (void)ReadInfoCompanionFrame(video);

    cDIB clipboard;
    (void)clipboard.CreateFromPackedDIBPointer(bytes);
    const QString picture = scratchFile(QStringLiteral("picture.bmp"));
    if (!writeScratch(picture, bytes))
        return QStringLiteral("the bitmap could not be written");
    cDIB loaded;
    if (!loaded.CreateFromFile(picture))
        return {};
    const QString copy = scratchFile(QStringLiteral("copy.bmp"));
    if (!loaded.WriteToFile(copy))
        return QStringLiteral("a bitmap that loaded could not be written");
    cDIB again;
    if (!again.CreateFromFile(copy))
        return QStringLiteral("a bitmap written by the station does not load");
    if (again.FileBytes() != loaded.FileBytes())
        return QStringLiteral("a bitmap written by the station loads as other bytes");
    return {};
}

int RunCheck(QString (*check)(const QByteArray&), const uint8_t* data, size_t size)
{
    const QString failure = check(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    if (!failure.isEmpty()) {
        std::fprintf(stderr, "%s\n", failure.toLocal8Bit().constData());
        std::abort();
    }
    return 0;
}

} // namespace FuzzChecks
