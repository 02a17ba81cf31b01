#include "video/skiernamefix.h"

#include "common/operatordialogs.h"
#include "common/paths.h"

#include <QFile>

QString FixSkierNamePrompt()
{
    return QStringLiteral("The skier's name was changed to prevent overwriting ")
        + QStringLiteral("an existing file. You can change the skier's name here if you want. ")
        + QStringLiteral("Just modify it in the input box to what it should be. ");
}

QString MustInputNamePrompt()
{
    return QStringLiteral("You must input a name. ") + QStringLiteral("Please try again ");
}

QString ExistingFileNamePrompt()
{
    return QStringLiteral("I am sorry, there is ") + QStringLiteral("an existing file using that name and jump.  ")
        + QStringLiteral("Please try again ");
}

namespace {

QString askName(OperatorDialogs& dialogs, const QString& prompt, const QString& initial)
{
    QString name = dialogs.input(prompt, fixSkierNameTitle, initial).value_or(QString());
    while (name.isEmpty())
        name = dialogs.input(MustInputNamePrompt(), fixSkierNameTitle).value_or(QString());
    return name;
}

QString videoPathFor(const QString& directory, const QString& name, const QString& jump)
{
    return JoinPath(directory, name + QStringLiteral("jump") + jump + QStringLiteral(".avi"));
}

} // namespace

FixedSkierName AskFixedSkierName(OperatorDialogs& dialogs, const QString& videoDirectory,
                                 const QString& recordedPath, const QString& currentName,
                                 const QString& passNumber,
                                 const std::function<bool(const QString&)>& fileExists)
{
    const QString directory = StripOneTrailingSeparator(videoDirectory);
    FixedSkierName fixed;
    fixed.name = askName(dialogs, FixSkierNamePrompt(), currentName);
    fixed.videoPath = videoPathFor(directory, fixed.name, QStringLiteral("1"));
    while (fixed.videoPath != recordedPath && fileExists(fixed.videoPath)) {
        fixed.name = askName(dialogs, ExistingFileNamePrompt(), QString());
        fixed.videoPath = videoPathFor(directory, fixed.name, passNumber.trimmed());
    }
    return fixed;
}

std::expected<void, FileError> RenameRecording(const QString& recordedPath, const QString& newPath)
{
    if (recordedPath == newPath)
        return {};
    QFile recording(recordedPath);
    if (!recording.rename(newPath))
        return std::unexpected(FileError{recordedPath, recording.errorString()});
    return {};
}
