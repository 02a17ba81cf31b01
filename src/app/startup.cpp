#include "app/startup.h"

#include "app/configstate.h"
#include "app/settingsstore.h"
#include "common/clock.h"
#include "common/datetext.h"
#include "common/operatordialogs.h"
#include "common/paths.h"
#include "common/val.h"
#include "common/zoneline.h"

#include <array>

namespace {

using Answer = OperatorDialogs::Answer;

struct ResetRow {
    const char* key;
    const char* label;
    const char* resetValue;
};

// In the order the operator is asked. logpath also empties logfile.
constexpr std::array<ResetRow, 8> resetRows{{
    {"logpath", "Logpath = ", ""},
    {"barefoot", "barefoot = ", "0"},
    {"compression", "compression = ", "0"},
    {"device", "device = ", "0"},
    {"framerate", "framerate = ", "0"},
    {"grid1File", "Grid 1 File = ", ""},
    {"grid2File", "Grid 2 File = ", ""},
    {"grid3File", "Grid 3 File = ", ""},
}};

bool askReset(OperatorDialogs& dialogs, const QString& question)
{
    return dialogs.message(question, QStringLiteral("Emergency Parameter Reset"),
                           OperatorDialogs::Icon::Question, OperatorDialogs::Buttons::YesNo, Answer::No)
        == Answer::Yes;
}

bool isExistingDirectory(const QString& txtVideoDirText)
{
    return PathExistsByKind(VideoDirectoryFromText(txtVideoDirText), 1);
}

} // namespace

void EmergencyReset(SettingsStore& settings, OperatorDialogs& dialogs)
{
    if (!askReset(dialogs, QStringLiteral("Do you want to reset all parameters to install values?")))
        return;
    if (!askReset(dialogs, QStringLiteral("Are you certain? This means you are crashing and can't operate")))
        return;

    for (const ResetRow& row : resetRows) {
        const QString key = QString::fromLatin1(row.key);
        const QString stored = settings.ReadSetting(key, QStringLiteral("0"));
        if (!askReset(dialogs, QString::fromLatin1(row.label) + stored + QStringLiteral(" Clear it?")))
            continue;
        settings.WriteSetting(key, QString::fromLatin1(row.resetValue));
        if (key == QLatin1String("logpath"))
            settings.WriteSetting(QStringLiteral("logfile"), QString());
    }
}

QString VideoDirectoryFromText(const QString& text)
{
    return StripOneTrailingSeparator(text.trimmed());
}

std::optional<QString> ObtainVideoDirectory(SettingsStore& settings, OperatorDialogs& dialogs,
                                            ConfigState& config)
{
    // The existence check uses the trimmed form, the one the directory is
    // used by afterwards: outer blanks typed into txtVideoDir are kept in
    // logpath, and must not make a good directory look missing.
    QString txtVideoDir = settings.ReadSetting(QStringLiteral("logpath"));
    if (txtVideoDir.isEmpty() || !isExistingDirectory(txtVideoDir)) {
        config.videoDirectory.clear();
        for (;;) {
            const std::optional<QString> typed = dialogs.inputDirectory(
                QStringLiteral("No Correct Save Video Directory has been set.  Please put in the path "
                               "of the Save Video Directory here."),
                QStringLiteral("Input Save Video Files Path"));
            if (!typed)
                return std::nullopt;
            txtVideoDir = *typed;
            if (isExistingDirectory(txtVideoDir))
                break;
            dialogs.message(QStringLiteral("You entered an invalid path - try  again"));
        }
    }
    ApplyVideoDirectoryText(settings, config, txtVideoDir);
    config.videoDirectory = VideoDirectoryFromText(txtVideoDir);
    return txtVideoDir;
}

void ApplyVideoDirectoryText(SettingsStore& settings, ConfigState& config, const QString& text)
{
    config.videoDirectory = StripOneTrailingSeparator(text);
    settings.WriteSetting(QStringLiteral("logpath"), text);
}

QString LogFileNameFor(const QDate& date)
{
    return MakeDatedFileName(QStringLiteral("JumpMeasurementLog"), date);
}

void SetTodaysLogFileName(ConfigState& config, const Clock& clock)
{
    config.logFileName = LogFileNameFor(clock.now().date());
}

std::expected<void, FileError> WriteSessionStartLine(ConfigState& config, SettingsStore& settings,
                                                     const Clock& clock)
{
    if (config.videoDirectory.isEmpty())
        return {};
    const QDateTime now = clock.now();
    if (config.logFileName.isEmpty())
        config.logFileName = LogFileNameFor(now.date());

    const QString line = ZoneLine()
                             .item(DateText(now.date()))
                             .item(TimeText(now.time()))
                             .item(QStringLiteral("Rampscope Measurement Session started  "))
                             .text();
    auto appended = AppendLines(JoinPath(config.videoDirectory, config.logFileName), {line});
    if (!appended)
        return appended;
    settings.WriteSetting(QStringLiteral("logfile"), config.logFileName);
    return {};
}

QString SessionStartFailureMessage(const FileError& error)
{
    return QStringLiteral("The session start could not be written to the measurement log %1 (%2). "
                          "Check that the Save Video Directory still exists.")
        .arg(error.path, error.reason);
}

QString ConfiguredForText(const QString& rateText, const QString& designText)
{
    const double rate = Val(rateText);
    QString text = designText;
    if (rate >= 5)
        text = QStringLiteral("Currently Configured for Normal/C");
    if (rate >= 15)
        text = QStringLiteral("Currently Configured for L");
    if (rate >= 25)
        text = QStringLiteral("Currently Configured for R");
    return text;
}
