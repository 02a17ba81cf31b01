#include "cli/clicommands.h"

#include "app/configstate.h"
#include "app/settingsstore.h"
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

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

#include <cmath>
#include <optional>

namespace {

const QString usage = QStringLiteral(
    "usage: rampscope-cli solve FIELDS [--save FILE.ipt] [--grid N] [--grids N] [--results FILE]\n"
    "       rampscope-cli measure FILE.ipt X Y [--type normal|sitski|barefoot] [--results FILE]\n"
    "                             [--skier NAME --jump TEXT]\n"
    "       rampscope-cli accuracy FILE.ipt [--width TWIPS] [--mode letter|distance|detail]\n"
    "       rampscope-cli info FILE.avi\n"
    "       rampscope-cli extract FILE.avi N OUT.bmp");

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
// configuration load does. Loading problems are the operator's messages;
// here the first of them is the one-line error. Returns false when the grid
// is not ready.
bool loadGrid(HeadlessStation& station, const QString& path, QTextStream& err)
{
    if (!FileIsPresent(path)) {
        err << "rampscope-cli: cannot read " << path << '\n';
        return false;
    }
    QString messages;
    QTextStream messageStream(&messages);
    CliDialogs dialogs(messageStream);
    GridContext context = station.context(dialogs);
    station.config.reportInProgress = true;
    const bool ready = load_grid_file_by_path(context, path, 1);
    station.config.reportInProgress = false;
    messageStream.flush();
    if (!ready) {
        const QString firstMessage = messages.section(QLatin1Char('\n'), 0, 0);
        err << "rampscope-cli: " << (firstMessage.isEmpty() ? QStringLiteral("the grid is not ready") : firstMessage)
            << '\n';
    }
    return ready;
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
    if (!options) {
        err << "rampscope-cli: " << options.error() << '\n';
        return 2;
    }
    if (options->positional.size() != 1) {
        err << usage << '\n';
        return 2;
    }
    QString error;
    const auto grid = gridNumberOption(*options, QStringLiteral("grid"), 1, error);
    const auto grids = grid ? gridNumberOption(*options, QStringLiteral("grids"), *grid, error) : std::nullopt;
    if (!grid || !grids) {
        err << "rampscope-cli: " << error << '\n';
        return 2;
    }
    if (*grid > *grids) {
        err << "rampscope-cli: --grid " << *grid << " is beyond --grids " << *grids << '\n';
        return 2;
    }
    auto fields = ReadFieldsFile(options->positional.first());
    if (!fields) {
        err << "rampscope-cli: " << fields.error() << '\n';
        return 2;
    }

    HeadlessStation station(options->named.value(QStringLiteral("results")));
    station.fields = *fields;
    station.fields.grid_select = QStringLiteral("Grid ") + QString::number(*grid);
    station.config.gridCount = *grids;
    station.calibration.currentGrid = *grid;
    liveStateFromFields(station.calibration, station.fields);

    CliDialogs dialogs(out);
    GridContext context = station.context(dialogs);
    const SolveOutcome outcome = solve_grid(context);

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

    bool saved = true;
    if (options->named.contains(QStringLiteral("save"))) {
        const QFileInfo target(options->named.value(QStringLiteral("save")));
        station.config.setupFilesDirectory = target.absolutePath();
        dialogs.setSaveAnswers(target.absoluteFilePath(), station.fields.ipt_file_description_2);
        saved = save_grid_file(context);
    }
    return station.calibration.isReady(*grid) && saved ? 0 : 1;
}

int measureCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    const auto options = parseOptions(args, {QStringLiteral("type"), QStringLiteral("results"),
                                             QStringLiteral("skier"), QStringLiteral("jump")});
    if (!options) {
        err << "rampscope-cli: " << options.error() << '\n';
        return 2;
    }
    if (options->positional.size() != 3) {
        err << usage << '\n';
        return 2;
    }
    const QString path = QFileInfo(options->positional.at(0)).absoluteFilePath();
    double x = 0, y = 0;
    if (!ParseNumberField(options->positional.at(1), x) || !ParseNumberField(options->positional.at(2), y)) {
        err << "rampscope-cli: X and Y must be numbers (twips)\n";
        return 2;
    }
    const QString typeName = options->named.value(QStringLiteral("type"), QStringLiteral("normal"));
    if (typeName != QLatin1String("normal") && typeName != QLatin1String("sitski")
        && typeName != QLatin1String("barefoot")) {
        err << "rampscope-cli: --type must be normal, sitski or barefoot\n";
        return 2;
    }
    const bool resultLine = options->named.contains(QStringLiteral("skier"));
    if (resultLine != options->named.contains(QStringLiteral("jump"))) {
        err << "rampscope-cli: --skier and --jump go together\n";
        return 2;
    }
    HeadlessStation station(options->named.value(QStringLiteral("results")));
    if (!loadGrid(station, path, err))
        return 2;

    const TournamentType type = TournamentTypeFromSetting(typeName);
    // Sit ski and barefoot show the tournament indicator, which records feet
    // in tenths.
    const bool tenthsOfFeet = type != TournamentType::Normal;
    const auto measured = MeasureJump(station.calibration.coefficients, station.calibration.jumpX,
                                      station.calibration.jumpY, x, y, type, tenthsOfFeet);
    if (!measured) {
        err << "rampscope-cli: " << measured.error().message() << '\n';
        return 2;
    }
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
    if (!options) {
        err << "rampscope-cli: " << options.error() << '\n';
        return 2;
    }
    if (options->positional.size() != 1) {
        err << usage << '\n';
        return 2;
    }
    const QString path = QFileInfo(options->positional.at(0)).absoluteFilePath();
    // The picture width of the front and back ratios: the set-up screen's
    // value before any picture is loaded.
    const QString widthText = options->named.value(QStringLiteral("width"), QStringLiteral("12000")).trimmed();
    double width = 0;
    if (!ParseNumberField(widthText, width) || !(width > 0) || !std::isfinite(width)) {
        err << "rampscope-cli: --width must be a positive number of twips\n";
        return 2;
    }
    const QString modeName = options->named.value(QStringLiteral("mode"), QStringLiteral("letter"));
    AccuracyLabelKind labelKind = AccuracyLabelKind::HomologationLevel;
    if (modeName == QLatin1String("distance"))
        labelKind = AccuracyLabelKind::Distance;
    else if (modeName == QLatin1String("detail"))
        labelKind = AccuracyLabelKind::Detail;
    else if (modeName != QLatin1String("letter")) {
        err << "rampscope-cli: --mode must be letter, distance or detail\n";
        return 2;
    }
    HeadlessStation station{QString()};
    if (!loadGrid(station, path, err))
        return 2;

    // The ratios of the report come from grid_check; its front-ratio warning
    // is the operator's message, here a line on err.
    station.calibration.pictureWidth = widthText;
    CliDialogs warningDialogs(err);
    GridContext context = station.context(warningDialogs);
    grid_check(context);

    // The day's accuracy file goes to the scratch folder; its lines are the
    // output.
    station.config.videoDirectory = station.scratch.path();
    const auto result = RunAccuracyCheck(station.calibration, station.fields, station.config,
                                         AccuracyMode::Advanced, labelKind, station.clock.now());
    if (!result) {
        err << "rampscope-cli: " << result.error().describe(QStringLiteral("cannot write")) << '\n';
        return 2;
    }
    for (const QString& line : result->lines)
        out << line << '\n';
    if (result->fault) {
        err << "rampscope-cli: calculation error (" << result->fault->what << ") at xpix"
            << NumberText(std::floor(result->faultAt.x)) << ", ypix" << NumberText(std::floor(result->faultAt.y))
            << "; the check stopped there\n";
        return 2;
    }
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
    err << "rampscope-cli: unknown command " << command << '\n' << usage << '\n';
    return 2;
}
