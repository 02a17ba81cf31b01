#include "grid/setupreport.h"

#include "app/configstate.h"
#include "common/clock.h"
#include "common/datetext.h"
#include "common/numbertext.h"
#include "common/operatordialogs.h"
#include "common/textfile.h"
#include "grid/calibrationstate.h"
#include "grid/gridcontext.h"
#include "grid/gridsetupfields.h"

namespace {

// Separator between the two values of every X,Y line of the report.
const QString twoBlanks = QStringLiteral("  ");
// The report's "blank" lines hold one blank, not nothing: older readers of
// the results file count on it.
const QString blankLine = QStringLiteral(" ");

QString textPair(const QString& label, const QString& x, const QString& y)
{
    return label + x + twoBlanks + y;
}

// Numbers keep their own blanks (one before a non-negative value, one after
// every value), and the two-blank separator stands between them, so
// 4500 and 3600 give "<label> 4500    3600 ".
QString numberPair(const QString& label, double x, double y)
{
    return label + FilePrintNumber(x) + twoBlanks + FilePrintNumber(y);
}

} // namespace

QStringList SetupReportCornerLines(SetupReportWriter writer, const GridSetupFields& fields)
{
    const QString unit = writer == SetupReportWriter::SolveGrid ? QStringLiteral("Pixels: ")
                                                                 : QStringLiteral("Twips: ");
    return {
        textPair(QStringLiteral("Upper Left X,Y ") + unit, fields.upper_left_x, fields.upper_left_y),
        textPair(QStringLiteral("Upper Left X,Y Survey: "), fields.ul_survey_x, fields.ul_survey_y),
        blankLine,
        textPair(QStringLiteral("Lower Left X,Y ") + unit, fields.lower_left_x, fields.lower_left_y),
        textPair(QStringLiteral("Lower Left X,Y Survey: "), fields.ll_survey_x, fields.ll_survey_y),
        blankLine,
        textPair(QStringLiteral("Upper Right X,Y ") + unit, fields.upper_right_x, fields.upper_right_y),
        textPair(QStringLiteral("Upper Right X,Y Survey: "), fields.ur_survey_x, fields.ur_survey_y),
        blankLine,
        textPair(QStringLiteral("Lower Right X,Y ") + unit, fields.lower_right_x, fields.lower_right_y),
        textPair(QStringLiteral("Lower Right X,Y Survey: "), fields.lr_survey_x, fields.lr_survey_y),
        blankLine,
        textPair(QStringLiteral("Jump X,Y Survey: "), fields.jump_x, fields.jump_y),
        blankLine,
    };
}

QString CheckBuoyPixelsLine(double screenX, double screenY)
{
    return numberPair(QStringLiteral("Check Buoy X,Y Pixels: "), screenX, screenY);
}

QStringList SetupReportLines(SetupReportWriter writer, const GridContext& context)
{
    const GridSetupFields& fields = context.fields;
    const CalibrationState& calibration = context.calibration;
    const QDateTime now = context.clock.now();

    QStringList lines{
        DateText(now.date()) + QLatin1Char(' ') + TimeText(now.time())
            + QStringLiteral(" New Set-up now in place"),
        fields.ipt_file_description,
        fields.ipt_file_description_2,
        // The number keeps its leading and trailing blank: "Grid Number:  1 ".
        QStringLiteral("Grid Number: ") + FilePrintNumber(calibration.currentGrid),
        blankLine,
    };
    lines += SetupReportCornerLines(writer, fields);

    switch (writer) {
    case SetupReportWriter::SolveGrid:
        lines << CheckBuoyPixelsLine(calibration.checkScreenX, calibration.checkScreenY)
              << numberPair(QStringLiteral("Check Buoy X,Y Survey: "), calibration.checkSurveyX,
                            calibration.checkSurveyY)
              << blankLine;
        break;
    case SetupReportWriter::LoadGridFile:
        if (calibration.checkScreenX > 0) {
            // "Buoyt" is how this line has always read in the results files.
            lines << numberPair(QStringLiteral("Check Buoy X,Y Twips: "), calibration.checkScreenX,
                                calibration.checkScreenY)
                  << numberPair(QStringLiteral("Check Buoyt X,Y Survey: "), calibration.checkSurveyX,
                                calibration.checkSurveyY)
                  << blankLine;
        } else {
            lines << QStringLiteral("No check buoy for this set up") << blankLine;
        }
        break;
    case SetupReportWriter::LoadGridFileByPath:
        lines << textPair(QStringLiteral("Check Buoy X,Y Twips: "), fields.txtCheckXpix, fields.txtCheckYpix)
              << textPair(QStringLiteral("Check Buoy X,Y Survey: "), fields.txtCheckX, fields.txtCheckY)
              << blankLine;
        break;
    }
    return lines;
}

bool AppendSetupReport(SetupReportWriter writer, GridContext& context)
{
    const auto written = AppendLines(context.config.resultsFilePath, SetupReportLines(writer, context));
    if (written)
        return true;
    context.dialogs.message(written.error().describe(QStringLiteral("Cannot write the set-up report to")),
                            QStringLiteral("Error Message"), OperatorDialogs::Icon::Warning,
                            OperatorDialogs::Buttons::Ok);
    return false;
}
