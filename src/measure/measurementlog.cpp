#include "measure/measurementlog.h"

#include "app/configstate.h"
#include "common/clock.h"
#include "common/datetext.h"
#include "common/numbertext.h"
#include "common/operatordialogs.h"
#include "common/paths.h"
#include "common/val.h"
#include "common/zoneline.h"

#include <algorithm>

namespace {

QString datedLine(const QDateTime& moment, const QString& text)
{
    return DateText(moment.date()) + QLatin1Char(' ') + TimeText(moment.time()) + QLatin1Char(' ') + text;
}

qsizetype lastSeparator(const QString& path)
{
    for (qsizetype i = path.size() - 1; i >= 0; --i)
        if (IsPathSeparator(path.at(i)))
            return i;
    return -1;
}

} // namespace

std::optional<RecordedVideoName> ParseRecordedVideoPath(const QString& path)
{
    const qsizetype avi = path.indexOf(QLatin1String(".avi"));
    if (avi < 0)
        return std::nullopt;
    // A path shorter than seven characters before ".avi" is searched from
    // its start rather than from before it.
    const qsizetype jump = path.indexOf(QLatin1String("jump"), std::max<qsizetype>(0, avi - 7));
    if (jump < 0)
        return std::nullopt;
    const qsizetype skierStart = lastSeparator(path) + 1;
    // "jump" in a folder name, or after ".avi", is not the recorded pattern.
    if (jump < skierStart || jump + 4 > avi)
        return std::nullopt;
    return RecordedVideoName{path.mid(skierStart, jump - skierStart), path.mid(jump + 4, avi - jump - 4)};
}

QString MeasurementLogPath(const ConfigState& config)
{
    return JoinPath(config.videoDirectory, config.logFileName);
}

QString ContactFrameLine(const QDateTime& moment, const RecordedVideoName& name, int64_t contactFrame,
                         const QString& videoPath)
{
    return ZoneLine()
        .item(DateText(moment.date()))
        .item(TimeText(moment.time()))
        .item(QStringLiteral("Skier: ") + name.skier)
        .item(QStringLiteral("Jump: ") + name.jump)
        .item(QStringLiteral("Contact Frame: ") + NumberText(static_cast<double>(contactFrame)))
        .item(QStringLiteral("File: ") + videoPath)
        .text();
}

QString NotStandardVideoWarning()
{
    return QStringLiteral(
        "Warning, this is not a  standard ZPT file so it will not be saved in the Log for future reference");
}

bool WriteContactFrameLine(const ConfigState& config, const QString& videoPath, int64_t contactFrame,
                           OperatorDialogs& dialogs, const Clock& clock)
{
    const auto name = ParseRecordedVideoPath(videoPath);
    if (!name) {
        dialogs.message(NotStandardVideoWarning(), {}, OperatorDialogs::Icon::Warning);
        return false;
    }
    const QString line = ContactFrameLine(clock.now(), *name, contactFrame, videoPath);
    if (auto appended = AppendLines(MeasurementLogPath(config), {line}); !appended) {
        dialogs.message(QStringLiteral("The contact frame was not entered in the measurement log %1 (%2). "
                                       "Check the Save Video Directory in the configuration screen.")
                            .arg(appended.error().path, appended.error().reason),
                        {}, OperatorDialogs::Icon::Critical);
        return false;
    }
    return true;
}

QString PictureSavedResultsLine(const QDateTime& moment, const QString& picturePath)
{
    return datedLine(moment, QStringLiteral("Saved picture: ") + picturePath);
}

QString LoadedPictureResultsLine(const QDateTime& moment, const QString& pictureName)
{
    return datedLine(moment, QStringLiteral("Loaded picture: ") + pictureName);
}

std::expected<void, FileError> AppendLoadedPictureLine(const ConfigState& config, const QString& pictureName,
                                                       const Clock& clock)
{
    return AppendLines(config.resultsFilePath, {LoadedPictureResultsLine(clock.now(), pictureName)});
}

QString PictureSavedLogLine(const QDateTime& moment, const QString& captureSkierName,
                            const QString& captureJumpText, const QString& distanceText,
                            const QString& picturePath)
{
    // The capture screen has already moved on to the next jump; the picture
    // belongs to the one before.
    return ZoneLine()
        .item(DateText(moment.date()))
        .item(TimeText(moment.time()))
        .item(QStringLiteral("Skier: ") + captureSkierName)
        .item(QStringLiteral("Jump: ") + NumberText(Val(captureJumpText) - 1))
        .item(QStringLiteral("Distance: ") + distanceText)
        .item(QStringLiteral("File: ") + picturePath)
        .text();
}

QString PictureLineFailureMessage(const FileError& error)
{
    return QStringLiteral("The picture line was not written to the results file %1 (%2).")
        .arg(error.path, error.reason);
}
