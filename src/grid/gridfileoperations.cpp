#include "grid/gridfileoperations.h"

#include "app/configstate.h"
#include "app/settingsstore.h"
#include "common/numbertext.h"
#include "common/operatordialogs.h"
#include "common/paths.h"
#include "common/val.h"
#include "grid/calibrationstate.h"
#include "grid/gridcontext.h"
#include "grid/gridfile.h"
#include "grid/gridscreeneffects.h"
#include "grid/gridsetupfields.h"
#include "grid/setupreport.h"
#include "grid/solvegrid.h"

#include <QDir>

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

using Icon = OperatorDialogs::Icon;
using Buttons = OperatorDialogs::Buttons;
using Answer = OperatorDialogs::Answer;

const QString errorTitle = QStringLiteral("Error Message");

const QString saveFilter = QStringLiteral(
    "All Files (*.*)|*.*|Text Files (*.TXT)|*.TXT|Parameter Files (*.IPT)|*.IPT|");
const QString loadFilter = QStringLiteral(
    "All Files (*.*)|*.*|Text Files (*.TXT)|*.TXT|Parameter Files (*.ipt)|*.ipt|");
constexpr int parameterFilesFilter = 3;

// Shown when an old set-up file, from before check buoys, is loaded.
const QString oldFileMessage
    = QStringLiteral("I cannot find a  check  buoy file for this setup.  That means ")
    + QStringLiteral("you are inputting an old set-up file that does not")
    + QStringLiteral(" have a check buoy.  To complete the set up correctly,")
    + QStringLiteral(" you must have a check buoy input to the set up.");

QString gridFileKey(int grid)
{
    return QStringLiteral("grid") + QString::number(grid) + QStringLiteral("File");
}

QString gridCaption(int grid)
{
    return QStringLiteral("Grid ") + QString::number(grid);
}

// The set-up directory must exist before any file dialog opens on it.
bool setupDirectoryUsable(GridContext& context)
{
    if (PathExistsByKind(context.config.setupFilesDirectory, 1))
        return true;
    context.dialogs.message(QStringLiteral("Invalid path, change in configuration screen"), {},
                            Icon::Warning);
    return false;
}

// A dialog may hand back a bare name; it is meant in the set-up directory.
QString absoluteInSetupDirectory(const GridContext& context, const QString& path)
{
    return QDir(context.config.setupFilesDirectory).absoluteFilePath(path);
}

// "Save Grid 2" / "Load Grid 2": Yes keeps the grid of grid_select, No asks
// for the number until it is a whole grid number 1..gridCount. Nothing when
// the operator cancels the number box.
std::optional<int> askGridNumber(GridContext& context, const QString& verb, const QString& prompt,
                                 bool& typed)
{
    typed = false;
    const Answer keep = context.dialogs.message(verb + QLatin1Char(' ') + context.fields.grid_select,
                                                QStringLiteral("Current Grid"), Icon::Question,
                                                Buttons::YesNo);
    if (keep == Answer::Yes)
        return context.fields.selectedGrid();

    const int highest = std::clamp(context.config.gridCount, 1, CalibrationState::maxGrids);
    for (;;) {
        const std::optional<QString> answer
            = context.dialogs.input(prompt, QStringLiteral("Grid Number"));
        if (!answer)
            return std::nullopt;
        // A fractional answer names no grid: ask again as for one out of range.
        const double value = Val(*answer);
        if (value >= 1 && value <= highest && value == std::floor(value)) {
            typed = true;
            return int(value);
        }
    }
}

// The settings name the files reloaded at the next start; a value that
// cannot be stored would silently bring back the wrong grid then.
void writeGridSetting(GridContext& context, int grid, const QString& path)
{
    const QString key = gridFileKey(grid);
    if (!context.settings.WriteSetting(key, path)) {
        context.dialogs.message(QStringLiteral("Cannot store the setting ") + key
                                    + QStringLiteral(": the settings cannot be written. The grid may "
                                                     "not be reloaded as expected at the next start."),
                                errorTitle, Icon::Warning);
    }
}

void forgetGrid(GridContext& context, int grid)
{
    if (context.config.reportInProgress)
        return;
    context.screens.setMainGridPicture(grid, false);
    writeGridSetting(context, grid, QString());
    context.screens.setMainGridDescription(grid, QString());
}

// Puts a set-up file's contents into grid n's record, the live state and the
// set-up screen's boxes. Not an operator edit: nothing is forgotten here.
void installGrid(GridContext& context, int grid, const QString& path, const GridFileContents& file)
{
    CalibrationState& cal = context.calibration;
    GridSetupFields& f = context.fields;
    GridRecord& record = cal.grid(grid);

    record.corners = file.corners;
    record.coefficients = file.coefficients;
    record.jumpX = file.jumpX;
    record.jumpY = file.jumpY;
    record.reservedA = file.reservedA;
    record.reservedB = file.reservedB;
    record.gridNumber = file.gridNumber;
    record.setupFilePath = path;
    record.description = file.description;

    cal.liveCorners = file.corners;
    cal.coefficients = file.coefficients;
    cal.jumpX = file.jumpX;
    cal.jumpY = file.jumpY;

    f.ipt_file_description = path;
    f.ipt_file_description_2 = file.description;
    context.screens.setMeasureGridDescription(file.description);

    const auto corner = [&](CornerSlot slot) -> const GridCorner& { return file.corners[slotIndex(slot)]; };
    // Written as the boxes always are, so the set-up report reads the same
    // whether the values were clicked or loaded.
    f.upper_right_x = NumberText(corner(CornerSlot::UpperRight).screenX);
    f.upper_right_y = NumberText(corner(CornerSlot::UpperRight).screenY);
    f.lower_right_x = NumberText(corner(CornerSlot::LowerRight).screenX);
    f.lower_right_y = NumberText(corner(CornerSlot::LowerRight).screenY);
    f.upper_left_x = NumberText(corner(CornerSlot::UpperLeft).screenX);
    f.upper_left_y = NumberText(corner(CornerSlot::UpperLeft).screenY);
    f.lower_left_x = NumberText(corner(CornerSlot::LowerLeft).screenX);
    f.lower_left_y = NumberText(corner(CornerSlot::LowerLeft).screenY);
    f.ur_survey_x = NumberText(corner(CornerSlot::UpperRight).surveyX);
    f.ur_survey_y = NumberText(corner(CornerSlot::UpperRight).surveyY);
    f.lr_survey_x = NumberText(corner(CornerSlot::LowerRight).surveyX);
    f.lr_survey_y = NumberText(corner(CornerSlot::LowerRight).surveyY);
    f.ul_survey_x = NumberText(corner(CornerSlot::UpperLeft).surveyX);
    f.ul_survey_y = NumberText(corner(CornerSlot::UpperLeft).surveyY);
    f.ll_survey_x = NumberText(corner(CornerSlot::LowerLeft).surveyX);
    f.ll_survey_y = NumberText(corner(CornerSlot::LowerLeft).surveyY);
    f.jump_x = NumberText(file.jumpX);
    f.jump_y = NumberText(file.jumpY);

    // The screen now shows grid n, so a later "Complete" or edit must act
    // on grid n and not on the grid the button named before the load.
    f.grid_select = gridCaption(grid);
    cal.currentGrid = grid;

    // Accuracy labels of the grid shown before belong to other corners.
    context.screens.clearAccuracyIndicator();
}

void installCheckBuoy(GridContext& context, int grid, const CheckBuoyFileContents& cb)
{
    CalibrationState& cal = context.calibration;
    GridRecord& record = cal.grid(grid);
    record.checkScreenX = cb.screenX;
    record.checkScreenY = cb.screenY;
    record.checkSurveyX = cb.surveyX;
    record.checkSurveyY = cb.surveyY;
    cal.checkScreenX = cb.screenX;
    cal.checkScreenY = cb.screenY;
    cal.checkSurveyX = cb.surveyX;
    cal.checkSurveyY = cb.surveyY;

    GridSetupFields& f = context.fields;
    f.txtCheckX = NumberText(cb.surveyX);
    f.txtCheckY = NumberText(cb.surveyY);
    f.txtCheckXpix = NumberText(cb.screenX);
    f.txtCheckYpix = NumberText(cb.screenY);
}

// An old file without a check buoy: the grid has none, in the record too, so
// a later grid selection does not bring back another set-up's check buoy.
void clearCheckBuoy(GridContext& context, int grid)
{
    CalibrationState& cal = context.calibration;
    GridRecord& record = cal.grid(grid);
    record.checkScreenX = 0.0;
    record.checkScreenY = 0.0;
    record.checkSurveyX = 0.0;
    record.checkSurveyY = 0.0;
    cal.checkScreenX = 0.0;
    cal.checkScreenY = 0.0;
    cal.checkSurveyX = 0.0;
    cal.checkSurveyY = 0.0;

    GridSetupFields& f = context.fields;
    f.txtCheckX.clear();
    f.txtCheckY.clear();
    f.txtCheckXpix = QStringLiteral("auto");
    f.txtCheckYpix = QStringLiteral("auto");
}

void setSurveyDirection(GridContext& context)
{
    context.calibration.surveyDirection
        = Val(context.fields.ur_survey_x) < Val(context.fields.ul_survey_x) ? 1.0 : -1.0;
}

void makeReady(GridContext& context, int grid, const QString& path, const QString& description)
{
    context.screens.setSetupStatusPicture(true);
    context.screens.setAccuracyControlsVisible(true);
    context.calibration.setReady(grid, true);
    context.fields.grid_select = gridCaption(grid);
    writeGridSetting(context, grid, path);
    context.screens.setMainGridPicture(grid, true);
    context.screens.setMainGridDescription(grid, description);
    context.calibration.updateAllGridsReady(context.config.gridCount);
}

// A loaded grid without a usable check buoy must be set up again before it
// measures, and must not come back by itself at the next start.
void makeNotReady(GridContext& context, int grid)
{
    context.calibration.setReady(grid, false);
    context.calibration.allGridsReady = false;
    context.screens.setSetupStatusPicture(false);
    context.screens.setAccuracyControlsVisible(false);
    forgetGrid(context, grid);
}

void tellLoadError(GridContext& context, const GridFileError& error)
{
    context.dialogs.message(error.message(), errorTitle, Icon::Warning);
}

} // namespace

bool save_grid_file(GridContext& context)
{
    context.screens.clearGridLock();
    if (!setupDirectoryUsable(context))
        return false;

    const QString chosen = context.dialogs.saveFile(context.config.setupFilesDirectory, saveFilter,
                                                    parameterFilesFilter);
    if (chosen.isEmpty())
        return false;
    const QString path = absoluteInSetupDirectory(context, chosen);

    int grid = context.fields.selectedGrid();
    const std::optional<QString> description = context.dialogs.input(
        QStringLiteral("Enter descriptive line about grid"), QStringLiteral("Grid Description"));
    if (!description)
        return false;

    bool typed = false;
    const std::optional<int> chosenGrid
        = askGridNumber(context, QStringLiteral("Save"), QStringLiteral("What grid are you saving?"), typed);
    if (!chosenGrid)
        return false;
    grid = *chosenGrid;
    if (typed)
        context.calibration.currentGrid = grid;

    CalibrationState& cal = context.calibration;
    GridFileContents contents;
    contents.description = *description;
    contents.corners = cal.liveCorners;
    contents.coefficients = cal.coefficients;
    contents.jumpX = cal.jumpX;
    contents.jumpY = cal.jumpY;
    contents.reservedA = 10.0;
    contents.reservedB = 2.0;
    contents.gridNumber = grid;

    // Both files first, as one unit: the setting, the record and the boxes
    // name this file only once it is really on the disk, and a set-up file
    // never stands beside the check buoy of another save.
    const CheckBuoyEntry checkBuoy{cal.checkScreenX, cal.checkScreenY, context.fields.txtCheckX,
                                   context.fields.txtCheckY};
    if (auto written = writeGridFiles(path, contents, checkBuoy); !written) {
        const QString action = written.error().path == path ? QStringLiteral("Cannot write the set-up file")
                                                            : QStringLiteral("Cannot write the check buoy file");
        context.dialogs.message(written.error().describe(action) + QStringLiteral(". The grid was not saved."),
                                errorTitle, Icon::Warning);
        return false;
    }

    writeGridSetting(context, grid, path);

    GridRecord& record = cal.grid(grid);
    record.corners = contents.corners;
    record.coefficients = contents.coefficients;
    record.jumpX = contents.jumpX;
    record.jumpY = contents.jumpY;
    record.reservedA = contents.reservedA;
    record.reservedB = contents.reservedB;
    record.gridNumber = contents.gridNumber;
    record.checkScreenX = cal.checkScreenX;
    record.checkScreenY = cal.checkScreenY;
    record.checkSurveyX = Val(context.fields.txtCheckX);
    record.checkSurveyY = Val(context.fields.txtCheckY);
    record.setupFilePath = path;
    record.description = contents.description;

    context.fields.ipt_file_description = path;
    context.fields.ipt_file_description_2 = contents.description;
    context.screens.setMeasureGridDescription(contents.description);
    context.screens.setMainGridDescription(grid, contents.description);
    context.screens.setupFieldsChanged();
    return true;
}

bool load_grid_file(GridContext& context)
{
    context.screens.clearGridLock();

    int grid = 1;
    if (context.config.gridCount != 1) {
        bool typed = false;
        const std::optional<int> chosenGrid = askGridNumber(
            context, QStringLiteral("Load"), QStringLiteral("What grid are you loading?"), typed);
        if (!chosenGrid)
            return false;
        grid = *chosenGrid;
    }
    context.calibration.currentGrid = grid;

    if (!setupDirectoryUsable(context))
        return false;
    const QString chosen = context.dialogs.openFile(context.config.setupFilesDirectory, loadFilter,
                                                    parameterFilesFilter);
    if (chosen.isEmpty())
        return false;
    const QString path = absoluteInSetupDirectory(context, chosen);

    // Both files are read whole before anything changes.
    const auto file = readGridFile(path);
    if (!file) {
        tellLoadError(context, file.error());
        return false;
    }
    const QString cbPath = CheckBuoyFilePath(path);
    std::optional<CheckBuoyFileContents> checkBuoy;
    if (PathExistsByKind(cbPath, 0)) {
        const auto cb = readCheckBuoyFile(cbPath);
        if (!cb) {
            tellLoadError(context, cb.error());
            return false;
        }
        checkBuoy = *cb;
    }

    installGrid(context, grid, path, *file);
    if (checkBuoy) {
        installCheckBuoy(context, grid, *checkBuoy);
    } else {
        context.dialogs.message(oldFileMessage, {}, Icon::Critical);
        clearCheckBuoy(context, grid);
    }
    context.screens.setupFieldsChanged();

    setSurveyDirection(context);
    AppendSetupReport(SetupReportWriter::LoadGridFile, context);
    context.screens.clearDrawing();
    grid_check(context);

    if (context.calibration.checkScreenX > 0) {
        makeReady(context, grid, path, file->description);
        return true;
    }
    makeNotReady(context, grid);
    return false;
}

bool load_grid_file_by_path(GridContext& context, const QString& path, int grid)
{
    grid = std::clamp(grid, 1, CalibrationState::maxGrids);

    const auto file = readGridFile(path);
    if (!file) {
        tellLoadError(context, file.error());
        return false;
    }
    const QString cbPath = CheckBuoyFilePath(path);
    if (!PathExistsByKind(cbPath, 0)) {
        context.dialogs.message(QStringLiteral("Error in load - no check buoy found - setup grid again"));
        return false;
    }
    const auto checkBuoy = readCheckBuoyFile(cbPath);
    if (!checkBuoy) {
        tellLoadError(context, checkBuoy.error());
        return false;
    }

    installGrid(context, grid, path, *file);
    context.screens.setMainGridDescription(grid, file->description);
    installCheckBuoy(context, grid, *checkBuoy);
    context.screens.setupFieldsChanged();

    setSurveyDirection(context);
    AppendSetupReport(SetupReportWriter::LoadGridFileByPath, context);
    context.screens.clearDrawing();

    // The configuration load trusts a file with a check buoy, whatever it
    // holds: the operator saved it from a grid that was set up.
    makeReady(context, grid, path, file->description);
    return true;
}

void forget_grid_file(GridContext& context)
{
    forgetGrid(context, context.fields.selectedGrid());
}

void grid_input_edited(GridContext& context, const QString& fieldName)
{
    GridSetupFields& f = context.fields;
    QString* text = f.field(fieldName);
    if (!text)
        return;
    CalibrationState& cal = context.calibration;
    const double value = Val(*text);

    struct SurveyBox {
        const char* name;
        CornerSlot slot;
        bool isX;
    };
    static constexpr SurveyBox surveyBoxes[] = {
        {"ul_survey_x", CornerSlot::UpperLeft, true},  {"ul_survey_y", CornerSlot::UpperLeft, false},
        {"ur_survey_x", CornerSlot::UpperRight, true}, {"ur_survey_y", CornerSlot::UpperRight, false},
        {"ll_survey_x", CornerSlot::LowerLeft, true},  {"ll_survey_y", CornerSlot::LowerLeft, false},
        {"lr_survey_x", CornerSlot::LowerRight, true}, {"lr_survey_y", CornerSlot::LowerRight, false},
    };
    static constexpr const char* screenBoxes[] = {
        "upper_left_x",  "upper_left_y",  "upper_right_x", "upper_right_y", "lower_left_x",
        "lower_left_y",  "lower_right_x", "lower_right_y", "txtCheckXpix",  "txtCheckYpix",
    };

    bool known = false;
    for (const SurveyBox& box : surveyBoxes) {
        if (fieldName == QLatin1String(box.name)) {
            GridCorner& corner = cal.liveCorners[slotIndex(box.slot)];
            (box.isX ? corner.surveyX : corner.surveyY) = value;
            known = true;
        }
    }
    // Typing a screen position changes only the text: the live positions
    // move by clicks, micro-adjusts, grid selection and file loads.
    for (const char* name : screenBoxes) {
        if (fieldName == QLatin1String(name))
            known = true;
    }
    if (fieldName == QLatin1String("jump_x")) {
        cal.jumpX = value;
        known = true;
    } else if (fieldName == QLatin1String("jump_y")) {
        cal.jumpY = value;
        known = true;
    } else if (fieldName == QLatin1String("txtCheckX")) {
        cal.checkSurveyX = value;
        known = true;
    } else if (fieldName == QLatin1String("txtCheckY")) {
        cal.checkSurveyY = value;
        known = true;
    }
    if (!known)
        return; // a box that does not describe the grid (path, description, picture size)

    context.screens.setSetupStatusPicture(false);
    forget_grid_file(context);
    context.screens.setAccuracyControlsVisible(false);
    context.screens.clearAccuracyIndicator();
    cal.allGridsReady = false;
}
