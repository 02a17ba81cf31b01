#pragma once

#include <QStringList>

struct GridContext;

// The three forms of the set-up report block that grid operations append to
// the day's results file; they differ in the corner labels ("Pixels" or
// "Twips") and in the check-buoy lines.
enum class SetupReportWriter { SolveGrid, LoadGridFile, LoadGridFileByPath };

// The report's lines (without line ends), from the set-up screen's box texts,
// the live check buoy, currentGrid and the clock of the context.
QStringList SetupReportLines(SetupReportWriter writer, const GridContext& context);

// Appends the report to the results file (config.resultsFilePath). When the
// file cannot be written the operator is told which file and why, and false
// is returned; nothing else changes.
bool AppendSetupReport(SetupReportWriter writer, GridContext& context);
