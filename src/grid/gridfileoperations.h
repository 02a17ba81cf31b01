#pragma once

#include <QString>

struct GridContext;

// Behind the set-up screen's "&Save": asks for the file, the description and
// the grid number, then writes the set-up file and its check-buoy companion
// whole from the live state. Returns true when both files were written.
bool save_grid_file(GridContext& context);

// Behind "&Load File": asks for the grid number and the file, then loads the
// grid (with its check buoy) into the record, the live state and the boxes.
// A file that cannot be read whole changes nothing and the operator is told
// which file and line is wrong. Returns true when the grid became ready.
bool load_grid_file(GridContext& context);

// The configuration load's reload of a configured grid, without dialogs.
// Returns true when the grid became ready.
bool load_grid_file_by_path(GridContext& context, const QString& path, int grid);

// After an edit of the grid on the set-up screen: the grid named by
// grid_select no longer has a set-up file (setting emptied, caution picture,
// description emptied on the main screen). Does nothing while the
// configuration load reloads the grids.
void forget_grid_file(GridContext& context);

// The operator edited the set-up box of that control name: update the live
// value it feeds (survey, jump, check-buoy survey boxes; read leniently) and
// mark the grid not ready (status picture, forget_grid_file, accuracy
// controls hidden and cleared, allGridsReady false).
void grid_input_edited(GridContext& context, const QString& fieldName);
