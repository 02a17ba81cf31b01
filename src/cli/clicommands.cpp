#include "cli/clicommands.h"

#include "app/configstate.h"
#include "app/settingsstore.h"
#include "cli/capturecommands.h"
#include "cli/clidialogs.h"
#include "cli/fieldsfile.h"
#include "cli/videocommands.h"
#include "common/clock.h"
#include "common/numbertext.h"
#include "common/paths.h"
#include "common/val.h"
#include "grid/accuracycheck.h"
#include "grid/calibrationstate.h"
#include "grid/gridcontext.h"
#include "grid/gridfileoperations.h"
#include "grid/gridscreeneffects.h"
#include "grid/solvegrid.h"
#include "grid/transform.h"
#include "measure/jumpresult.h"
#include "measure/measurestate.h"
#include "measure/recording.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

#include <cmath>
#include <optional>

namespace {

// One line each: a failure says what went wrong on one line of err.
const QString usage = QStringLiteral("usage: rampscope-cli solve|measure|accuracy|info|extract|devices|record ARGUMENTS");
const QString solveUsage
    = QStringLiteral("usage: rampscope-cli solve FIELDS [--save FILE.ipt] [--grid N] [--grids N] [--results FILE]");
const QString measureUsage = QStringLiteral("usage: rampscope-cli measure FILE.ipt X Y [--type normal|sitski|barefoot] "
                                            "[--results FILE] [--skier NAME --jump TEXT]");
const QString accuracyUsage
    = QStringLiteral("usage: rampscope-cli accuracy FILE.ipt [--width TWIPS] [--mode letter|distance|detail]");

const QString errorTitle = QStringLiteral("Error Message");

// The one line of a failure on err; returns the exit status. A line break in
// a message (a file name may hold one) would make it two lines.
int fail(QTextStream& err, QString message, int status = 2)
{
    message.replace(QLatin1Char('\r'), QLatin1Char(' '));
    message.replace(QLatin1Char('\n'), QLatin1Char(' '));
    err << "rampscope-cli: " << message << '\n';
    return status;
}

// The station's messages for a file or a setting it could not write all
// begin so ("Cannot write the set-up report to ...", "Cannot write the
// set-up file ...", "Cannot store the setting ..."). For the operator they
// are a box among others; for a script they mean the run failed.
bool isWriteFailure(const CliDialogs::Shown& shown)
{
    return shown.text.startsWith(QLatin1String("Cannot "));
}

// Options after the positional arguments: "--name value" pairs.
struct Options {
    QStringList positional;
    QMap<QString, QString> named;
};

std::expected<Options, QString> parseOptions(const QStringList& args, const QStringList& known)
{
    Options options;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args.at(i);
        if (!a.startsWith(QLatin1String("--"))) {
            options.positional.append(a);
            continue;
        }
        const QString name = a.mid(2);
        if (!known.contains(name))
            return std::unexpected(QStringLiteral("unknown option ") + a);
        if (i + 1 >= args.size())
            return std::unexpected(QStringLiteral("option ") + a + QStringLiteral(" needs a value"));
        options.named.insert(name, args.at(++i));
    }
    return options;
}

// The state a headless run works on. Settings and, unless a results file
// is named, the set-up report go to a scratch folder that vanishes with the
// run: the tool never touches the station's own settings.
struct HeadlessStation {
    QTemporaryDir scratch;
    SettingsStore settings{scratch.filePath(QStringLiteral("settings.ini"))};
    CalibrationState calibration;
    ConfigState config;
    GridSetupFields fields;
    GridScreenEffects screens;
    SystemClock clock;

    explicit HeadlessStation(const QString& resultsFile)
    {
        config.resultsFilePath = resultsFile.isEmpty()
            ? scratch.filePath(QStringLiteral("results.txt"))
            : QFileInfo(resultsFile).absoluteFilePath();
    }

    GridContext context(OperatorDialogs& dialogs)
    {
        return GridContext{calibration, config, settings, fields, dialogs, screens, clock};
    }
};

// Loads the set-up file (with its check buoy) as grid 1, as the
// configuration load does. A load that goes well shows no message, so any
// message (a file that cannot be loaded, a set-up report that cannot be
// written to --results) is a failure, and the first one is its line on err.
// Returns false then.
bool loadGrid(HeadlessStation& station, const QString& path, QTextStream& err)
{
    if (!FileIsPresent(path)) {
        fail(err, QStringLiteral("cannot read ") + path);
        return false;
    }
    CliDialogs dialogs;
    GridContext context = station.context(dialogs);
    station.config.reportInProgress = true;
    const bool ready = load_grid_file_by_path(context, path, 1);
    station.config.reportInProgress = false;
    if (!dialogs.shown().isEmpty()) {
        fail(err, dialogs.shown().front().text);
        return false;
    }
    if (!ready) {
        fail(err, QStringLiteral("the grid is not ready"));
        return false;
    }
    return true;
}

std::optional<int> gridNumberOption(const Options& o, const QString& name, int fallback, QString& error)
{
    if (!o.named.contains(name))
        return fallback;
    double value = 0;
    if (!ParseNumberField(o.named.value(name), value) || (value != 1 && value != 2 && value != 3)) {
        error = QStringLiteral("--") + name + QStringLiteral(" must be 1, 2 or 3");
        return std::nullopt;
    }
    return static_cast<int>(value);
}

// The live state as the set-up screen leaves it after the operator placed
// and typed everything shown in the boxes.
void liveStateFromFields(CalibrationState& c, const GridSetupFields& f)
{
    const auto corner = [](const QString& sx, const QString& sy, const QString& vx, const QString& vy) {
        return GridCorner{Val(sx), Val(sy), Val(vx), Val(vy)};
    };
    c.liveCorners[slotIndex(CornerSlot::UpperRight)]
        = corner(f.upper_right_x, f.upper_right_y, f.ur_survey_x, f.ur_survey_y);
    c.liveCorners[slotIndex(CornerSlot::LowerRight)]
        = corner(f.lower_right_x, f.lower_right_y, f.lr_survey_x, f.lr_survey_y);
    c.liveCorners[slotIndex(CornerSlot::UpperLeft)]
        = corner(f.upper_left_x, f.upper_left_y, f.ul_survey_x, f.ul_survey_y);
    c.liveCorners[slotIndex(CornerSlot::LowerLeft)]
        = corner(f.lower_left_x, f.lower_left_y, f.ll_survey_x, f.ll_survey_y);
    c.jumpX = Val(f.jump_x);
    c.jumpY = Val(f.jump_y);
    c.checkScreenX = Val(f.txtCheckXpix);
    c.checkScreenY = Val(f.txtCheckYpix);
    c.checkSurveyX = Val(f.txtCheckX);
    c.checkSurveyY = Val(f.txtCheckY);
    double size = 0;
    if (ParseNumberField(f.txtPicWidth, size))
        c.pictureWidth = f.txtPicWidth.trimmed();
    if (ParseNumberField(f.txtPicHeight, size))
        c.pictureHeight = f.txtPicHeight.trimmed();
}

QString coefficientsLine(const Coefficients& c)
{
    QString line = QStringLiteral("coefficients:");
    for (double v : c)
        line += FilePrintNumber(v);
    return line.trimmed();
}

bool eliminationDone(SolveOutcome outcome)
{
    return outcome == SolveOutcome::CheckBuoyFails || outcome == SolveOutcome::FieldOfViewTooWide
        || outcome == SolveOutcome::NotStorable || outcome == SolveOutcome::ArithmeticFault
        || outcome == SolveOutcome::Ready;
}

bool gridCheckDone(SolveOutcome outcome)
{
    return outcome == SolveOutcome::Incomplete || outcome == SolveOutcome::CheckBuoyMissing
        || outcome == SolveOutcome::Singular || outcome == SolveOutcome::Ready;
}

int solveCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    const auto options = parseOptions(args, {QStringLiteral("save"), QStringLiteral("grid"),
                                             QStringLiteral("grids"), QStringLiteral("results")});
    if (!options)
        return fail(err, options.error());
    if (options->positional.size() != 1) {
        err << solveUsage << '\n';
        return 2;
    }
    QString error;
    const auto grid = gridNumberOption(*options, QStringLiteral("grid"), 1, error);
    const auto grids = grid ? gridNumberOption(*options, QStringLiteral("grids"), *grid, error) : std::nullopt;
    if (!grid || !grids)
        return fail(err, error);
    if (*grid > *grids)
        return fail(err, QStringLiteral("--grid %1 is beyond --grids %2").arg(*grid).arg(*grids));
    auto fields = ReadFieldsFile(options->positional.first());
    if (!fields)
        return fail(err, fields.error());

    HeadlessStation station(options->named.value(QStringLiteral("results")));
    station.fields = *fields;
    station.fields.grid_select = QStringLiteral("Grid ") + QString::number(*grid);
    station.config.gridCount = *grids;
    station.calibration.currentGrid = *grid;
    liveStateFromFields(station.calibration, station.fields);

    CliDialogs dialogs(&out);
    GridContext context = station.context(dialogs);
    const SolveOutcome outcome = solve_grid(context);
    const QList<CliDialogs::Shown> solveMessages = dialogs.shown();

    if (eliminationDone(outcome)) {
        out << coefficientsLine(station.calibration.coefficients) << '\n';
        const GridSetupFields& f = station.fields;
        const auto fov = FieldOfViewDegrees(station.calibration.coefficients,
                                            {Val(f.lower_left_x), Val(f.lower_left_y)},
                                            {Val(f.lower_right_x), Val(f.lower_right_y)});
        if (fov)
            out << "fov:" << NumberText(ReportedFieldOfView(*fov)) << '\n';
    }
    if (gridCheckDone(outcome)) {
        out << "front ratio:" << NumberText(station.calibration.frontRatio) << '\n';
        out << "back ratio:" << NumberText(station.calibration.backRatio) << '\n';
    }

    if (options->named.contains(QStringLiteral("save"))) {
        const QFileInfo target(options->named.value(QStringLiteral("save")));
        station.config.setupFilesDirectory = target.absolutePath();
        dialogs.setSaveAnswers(target.absoluteFilePath(), station.fields.ipt_file_description_2);
        save_grid_file(context);
    }

    // The operator's messages above are the transcript; a failure also gets
    // its one line on err. What could not be written comes first: a grid
    // that is not ready is an answer, a file that was asked for and is
    // missing is an error.
    for (const CliDialogs::Shown& shown : dialogs.shown()) {
        if (isWriteFailure(shown))
            return fail(err, shown.text);
    }
    if (!station.calibration.isReady(*grid)) {
        const QString why = solveMessages.isEmpty() ? QString() : QStringLiteral(": ") + solveMessages.front().text;
        return fail(err, QStringLiteral("the grid is not ready") + why, 1);
    }
    // Ready and stored, but the ratios that end every solve could not be
    // computed (a picture width of 0).
    if (outcome == SolveOutcome::ArithmeticFault && !solveMessages.isEmpty())
        return fail(err, solveMessages.front().text);
    return 0;
}

int measureCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    const auto options = parseOptions(args, {QStringLiteral("type"), QStringLiteral("results"),
                                             QStringLiteral("skier"), QStringLiteral("jump")});
    if (!options)
        return fail(err, options.error());
    if (options->positional.size() != 3) {
        err << measureUsage << '\n';
        return 2;
    }
    const QString path = QFileInfo(options->positional.at(0)).absoluteFilePath();
    double x = 0, y = 0;
    if (!ParseNumberField(options->positional.at(1), x) || !ParseNumberField(options->positional.at(2), y))
        return fail(err, QStringLiteral("X and Y must be numbers (twips)"));
    const QString typeName = options->named.value(QStringLiteral("type"), QStringLiteral("normal"));
    if (typeName != QLatin1String("normal") && typeName != QLatin1String("sitski")
        && typeName != QLatin1String("barefoot"))
        return fail(err, QStringLiteral("--type must be normal, sitski or barefoot"));
    const bool resultLine = options->named.contains(QStringLiteral("skier"));
    if (resultLine != options->named.contains(QStringLiteral("jump")))
        return fail(err, QStringLiteral("--skier and --jump go together"));
    HeadlessStation station(options->named.value(QStringLiteral("results")));
    if (!loadGrid(station, path, err))
        return 2;

    const TournamentType type = TournamentTypeFromSetting(typeName);
    // Sit ski and barefoot show the tournament indicator, which records feet
    // in tenths.
    const bool tenthsOfFeet = type != TournamentType::Normal;
    const auto measured = MeasureJump(station.calibration.coefficients, station.calibration.jumpX,
                                      station.calibration.jumpY, x, y, type, tenthsOfFeet);
    if (!measured)
        return fail(err, measured.error().message());
    const SurveyPoint& survey = measured->landingSurvey;
    const RoundedJump& jump = measured->rounded;
    out << "survey:" << NumberText(RoundHalfUp(survey.x, 1000)) << '/' << NumberText(RoundHalfUp(survey.y, 1000))
        << '\n';
    out << "distance:" << NumberText(jump.distance) << '\n';
    out << "meters:" << jump.metresText << '\n';
    out << "feet:" << jump.feetText << '\n';
    if (resultLine) {
        // The line a recording of this mark would append: a measured jump,
        // Jump OK, no comment, verify mode off.
        MeasureState state;
        state.Skier_name = options->named.value(QStringLiteral("skier"));
        state.Jump_no = options->named.value(QStringLiteral("jump"));
        state.Comment.clear();
        state.markX = x;
        state.markY = y;
        state.barefootIndicatorVisible = tenthsOfFeet;
        ApplyMeasuredJump(state, *measured);
        out << "result line:" << ResultLine(state, type == TournamentType::Barefoot, station.clock.now()) << '\n';
    }
    return 0;
}

int accuracyCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    const auto options = parseOptions(args, {QStringLiteral("width"), QStringLiteral("mode")});
    if (!options)
        return fail(err, options.error());
    if (options->positional.size() != 1) {
        err << accuracyUsage << '\n';
        return 2;
    }
    const QString path = QFileInfo(options->positional.at(0)).absoluteFilePath();
    // The picture width of the front and back ratios: the set-up screen's
    // value before any picture is loaded.
    const QString widthText = options->named.value(QStringLiteral("width"), QStringLiteral("12000")).trimmed();
    double width = 0;
    if (!ParseNumberField(widthText, width) || !(width > 0) || !std::isfinite(width))
        return fail(err, QStringLiteral("--width must be a positive number of twips"));
    const QString modeName = options->named.value(QStringLiteral("mode"), QStringLiteral("letter"));
    AccuracyLabelKind labelKind = AccuracyLabelKind::HomologationLevel;
    if (modeName == QLatin1String("distance"))
        labelKind = AccuracyLabelKind::Distance;
    else if (modeName == QLatin1String("detail"))
        labelKind = AccuracyLabelKind::Detail;
    else if (modeName != QLatin1String("letter"))
        return fail(err, QStringLiteral("--mode must be letter, distance or detail"));
    HeadlessStation station{QString()};
    if (!loadGrid(station, path, err))
        return 2;

    // The ratios of the report come from grid_check. Its front-ratio warning
    // is the operator's message, here a line on err; ratios that cannot be
    // computed end the run.
    station.calibration.pictureWidth = widthText;
    CliDialogs ratioDialogs;
    GridContext context = station.context(ratioDialogs);
    grid_check(context);
    for (const CliDialogs::Shown& shown : ratioDialogs.shown()) {
        if (shown.title == errorTitle)
            return fail(err, shown.text);
    }
    for (const CliDialogs::Shown& shown : ratioDialogs.shown())
        err << shown.text << '\n';

    // The day's accuracy file goes to the scratch folder; its lines are the
    // output.
    station.config.videoDirectory = station.scratch.path();
    const auto result = RunAccuracyCheck(station.calibration, station.fields, station.config,
                                         AccuracyMode::Advanced, labelKind, station.clock.now());
    if (!result)
        return fail(err, result.error().describe(QStringLiteral("cannot write")));
    for (const QString& line : result->lines)
        out << line << '\n';
    if (result->fault)
        return fail(err, QStringLiteral("calculation error (") + result->fault->what + QStringLiteral(") at ")
                             + AccuracyFaultPlace(*result) + QStringLiteral("; the check stopped there"));
    // The labels as they lie on the frame: rows top to bottom, columns left
    // to right, each right-aligned in eight characters.
    for (int r = 0; r < accuracyMeshSide; ++r) {
        QString row;
        for (int c = 0; c < accuracyMeshSide; ++c)
            row += QStringLiteral("%1").arg(result->items[AccuracyItem(c, r)].caption, 8);
        out << row << '\n';
    }
    return 0;
}

} // namespace

int RunCli(const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (args.isEmpty()) {
        err << usage << '\n';
        return 2;
    }
    const QString command = args.first();
    const QStringList rest = args.mid(1);
    if (command == QLatin1String("solve"))
        return solveCommand(rest, out, err);
    if (command == QLatin1String("measure"))
        return measureCommand(rest, out, err);
    if (command == QLatin1String("accuracy"))
        return accuracyCommand(rest, out, err);
    if (command == QLatin1String("info"))
        return VideoInfoCommand(rest, out, err);
    if (command == QLatin1String("extract"))
        return VideoExtractCommand(rest, out, err);
    if (command == QLatin1String("devices"))
        return CaptureDevicesCommand(rest, out, err);
    if (command == QLatin1String("record"))
        return CaptureRecordCommand(rest, out, err);
    return fail(err, QStringLiteral("unknown command ") + command
                         + QStringLiteral("; the commands are solve, measure, accuracy, info, extract, devices and record"));
}

std::expected<QStringList, QString> CliArguments(int argc, const char* const* argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i) {
        const QByteArray raw(argv[i]);
        const QString arg = QFile::decodeName(raw);
        // Bytes the file-name encoding cannot decode come back as another
        // name: a save would write that other file, a load would not find
        // the one given.
        if (QFile::encodeName(arg) != raw)
            return std::unexpected(QStringLiteral("argument %1 (%2) is not valid in this system's file-name "
                                                  "encoding; give the file a name that is")
                                       .arg(i)
                                       .arg(arg));
        args.append(arg);
    }
    return args;
}
