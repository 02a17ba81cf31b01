#pragma once

#include <QString>
#include <QStringList>

struct GridContext;
struct GridSetupFields;

// The three forms of the set-up report block that grid operations append to
// the day's results file; they differ in the corner labels ("Pixels" or
// "Twips") and in the check-buoy lines.
enum class SetupReportWriter { SolveGrid, LoadGridFile, LoadGridFileByPath };

// The report's lines (without line ends), from the set-up screen's box texts,
// the live check buoy, currentGrid and the clock of the context.
QStringList SetupReportLines(SetupReportWriter writer, const GridContext& context);

// The corner and jump-point part of the report (four corners, each an X,Y
// line of the screen boxes, an X,Y line of the survey boxes and a blank line,
// then the jump point and a blank line), box texts as they stand. The
// accuracy report repeats these lines in the solve form.
QStringList SetupReportCornerLines(SetupReportWriter writer, const GridSetupFields& fields);

// "Check Buoy X,Y Pixels: " with the check buoy's screen position as printed
// numbers, as the solve report and the accuracy report write it.
QString CheckBuoyPixelsLine(double screenX, double screenY);

// Appends the report to the results file (config.resultsFilePath). When the
// file cannot be written the operator is told which file and why, and false
// is returned; nothing else changes.
bool AppendSetupReport(SetupReportWriter writer, GridContext& context);
