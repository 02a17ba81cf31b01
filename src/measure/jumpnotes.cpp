#include "measure/jumpnotes.h"

#include "app/configstate.h"
#include "common/clock.h"
#include "common/datetext.h"
#include "common/operatordialogs.h"
#include "common/textfile.h"

QString NoteLine(const QDateTime& moment, const QString& note)
{
    return DateText(moment.date()) + QLatin1Char(' ') + TimeText(moment.time()) + QLatin1Char(' ') + note;
}

bool WriteNoteLine(MeasureState& state, StatusOption option, const ConfigState& config,
                   OperatorDialogs& dialogs, const Clock& clock)
{
    MeasureState next = state;
    next.selectedOption = option;
    switch (option) {
    case StatusOption::M_Reride:
        next.Comment = QStringLiteral("Mandatory Reride - disregard last jump");
        break;
    case StatusOption::O_reride:
        next.Comment = QStringLiteral("Optional Reride on previous jump");
        break;
    case StatusOption::Make_comment:
        next.Comment = dialogs.input(QStringLiteral("What comment would you like to add?"),
                                     QStringLiteral("Input Comment"))
                           .value_or(QString());
        break;
    default:
        return false;
    }

    if (auto appended = AppendLines(config.resultsFilePath, {NoteLine(clock.now(), next.Comment)}); !appended) {
        dialogs.message(QStringLiteral("The note was not recorded: the results file %1 could not be written (%2).")
                            .arg(appended.error().path, appended.error().reason),
                        {}, OperatorDialogs::Icon::Critical);
        return false;
    }

    next.Comment.clear();
    switch (option) {
    case StatusOption::M_Reride:
        if (!next.frameFrozen)
            next.selectedOption = StatusOption::None;
        // A mandatory reride voids the jump: its distance must not stay on
        // screen to be mistaken for the result.
        next.distance.clear();
        next.distance_ft.clear();
        break;
    case StatusOption::O_reride:
        if (!next.frameFrozen)
            next.selectedOption = StatusOption::None;
        break;
    default:
        next.selectedOption = StatusOption::None;
        break;
    }
    state = next;
    return true;
}
