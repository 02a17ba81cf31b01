#include "measure/picturesave.h"

#include "app/configstate.h"
#include "common/clock.h"
#include "common/operatordialogs.h"
#include "common/paths.h"
#include "measure/measurementlog.h"

#include <QBuffer>
#include <QImage>

namespace {

// Trims blanks only, as the jump number box is padded with them.
QString withoutSurroundingBlanks(const QString& text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text.at(start) == QLatin1Char(' '))
        ++start;
    while (end > start && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.mid(start, end - start);
}

void reportFailure(OperatorDialogs& dialogs, const QString& text)
{
    dialogs.message(text, {}, OperatorDialogs::Icon::Critical);
}

} // namespace

QString PictureFileName(const QString& skierName, const QString& jumpNumberText, const QString& pictureExtension)
{
    return skierName + QStringLiteral("jump") + withoutSurroundingBlanks(jumpNumberText) + pictureExtension;
}

QString PicturePath(const ConfigState& config, const QString& skierName, const QString& jumpNumberText)
{
    return JoinPath(config.capturesDirectory, PictureFileName(skierName, jumpNumberText, config.pictureExtension));
}

QString PictureCompanionPath(const QString& picturePath)
{
    return picturePath + QStringLiteral(".info");
}

QString PictureCompanionLine(const QString& picturePath, const QString& captureSkierName,
                             const QString& captureJumpText)
{
    return picturePath + QStringLiteral(", ") + captureSkierName + QStringLiteral(", ") + captureJumpText;
}

std::expected<void, FileError> WriteBitmap(const QImage& image, const QString& path)
{
    if (image.isNull())
        return std::unexpected(FileError{path, QStringLiteral("there is no picture on the screen")});
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "BMP"))
        return std::unexpected(FileError{path, QStringLiteral("the picture could not be encoded as a bitmap")});
    return ReplaceFile(path, bytes);
}

PictureSaveOutcome SavePicture(const QImage& image, const PictureSaveRequest& request, const ConfigState& config,
                               OperatorDialogs& dialogs, const Clock& clock)
{
    PictureSaveOutcome outcome;
    outcome.picturePath = PicturePath(config, request.Skier_name, request.Jump_no);
    dialogs.message(outcome.picturePath);

    if (auto written = WriteBitmap(image, outcome.picturePath); !written) {
        reportFailure(dialogs, QStringLiteral("The picture was not saved as %1 (%2). "
                                              "Check the captures directory in the configuration screen.")
                                   .arg(written.error().path, written.error().reason));
        return outcome;
    }
    outcome.pictureWritten = true;

    const QDateTime now = clock.now();
    if (auto appended = AppendLines(config.resultsFilePath, {PictureSavedResultsLine(now, outcome.picturePath)});
        appended)
        outcome.resultsLineWritten = true;
    else
        reportFailure(dialogs, PictureLineFailureMessage(appended.error()));

    // Beside the picture, so the log viewer finds it with the picture
    // whatever folder the program happens to be working in.
    const QString companionLine
        = PictureCompanionLine(outcome.picturePath, request.captureSkierName, request.captureJumpText);
    if (auto replaced = ReplaceLines(PictureCompanionPath(outcome.picturePath), {companionLine}); replaced)
        outcome.companionWritten = true;
    else
        reportFailure(dialogs, QStringLiteral("The picture's companion file %1 was not written (%2).")
                                   .arg(replaced.error().path, replaced.error().reason));

    const QString logLine = PictureSavedLogLine(now, request.captureSkierName, request.captureJumpText,
                                                request.distance, outcome.picturePath);
    if (auto appended = AppendLines(MeasurementLogPath(config), {logLine}); appended)
        outcome.logLineWritten = true;
    else
        reportFailure(dialogs, QStringLiteral("The saved picture was not entered in the measurement log %1 (%2).")
                                   .arg(appended.error().path, appended.error().reason));
    return outcome;
}
