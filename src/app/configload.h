#pragma once

#include <QDate>
#include <QString>

#include <functional>

class SettingsStore;
struct ConfigState;
struct GridContext;

// Rules of the configuration screen's load that need no screen: how stored
// settings become the configuration, and the reload of the configured grids.

// The number of grids for the stored grids value (read leniently): 2 and 3
// stand for themselves; anything else, including 0, a value above 3 and a
// fraction such as 2.5, configures one grid.
int GridCountFromSetting(const QString& text);

// Today's results file: the save-video directory named by the txtVideoDir
// text (outer blanks removed, one trailing separator stripped) joined with
// "JumpMeasurementResults" + MMDDYY + ".txt".
QString ResultsFilePathFor(const QString& txtVideoDirText, const QDate& date);

// The label colour option chosen by the stored labelcolor: "white", "black",
// "yellow" or "default". An empty value chooses "default" and stores it; an
// unknown value also chooses "default" but is left in the store as it is.
QString LabelColorFromSettings(SettingsStore& settings);

// barefootMode and sitSkiMode from the stored tournamentType: "barefoot"
// and "sitski" set their flag, anything else (empty included) is a normal
// tournament with both flags clear.
void ApplyTournamentTypeSetting(ConfigState& config, const QString& value);

// The picture or video save mode a stored PictureSave / VideoSave value
// selects: "Save", "NoSave" or "Ask"; anything else (and the empty default)
// asks.
QString SaveModeFromSetting(const QString& value);

// "grid1File", "grid2File" or "grid3File" for grid 1..3.
QString GridFileKey(int grid);

enum class GridFileStatus { Present, Missing };

// Whether the set-up file named by grid n's setting exists (a missing key or
// a file since removed is Missing; the setting keeps its value).
GridFileStatus GridFileStatusOf(const SettingsStore& settings, int grid);

// The main screen's grid status picture: "SmallSmiley.jpg" for a present
// set-up file, "SmallCaution.jpg" for a missing one.
QString GridStatusPicture(GridFileStatus status);

using GridFileLoader = std::function<bool(GridContext&, const QString& path, int grid)>;

// Reloads every grid whose set-up file exists, grid 3 first and grid 1 last
// (so grid 1 is the current grid afterwards when its file exists), with
// reportInProgress set while it runs, so a load does not forget the file
// it is loading from. A grid whose file is missing is skipped without a
// report; a load that fails does not stop the others, and reportInProgress
// is cleared in every case. The loader is load_grid_file_by_path unless a
// test replaces it.
void ReloadConfiguredGrids(GridContext& context, const GridFileLoader& load = {});
