#pragma once

#include "common/textfile.h"
#include "grid/gridrecord.h"

#include <QString>
#include <QStringList>

#include <expected>

class QIODevice;

// What a grid set-up file (*.ipt) holds: the operator's description and the
// 29 numbers of the calibration, in file order.
struct GridFileContents {
    QString description;
    Corners corners{}; // slot order: UpperRight, LowerRight, UpperLeft, LowerLeft
    Coefficients coefficients{};
    double jumpX = 0.0;
    double jumpY = 0.0;
    double reservedA = 10.0;
    double reservedB = 2.0;
    double gridNumber = 1.0; // as written; it does not choose the grid on load

    bool operator==(const GridFileContents&) const = default;
};

// The check buoy of a set-up file, as read back from its companion file.
struct CheckBuoyFileContents {
    double screenX = 0.0; // twips; 0 means the grid has no check buoy
    double screenY = 0.0;
    double surveyX = 0.0; // metres
    double surveyY = 0.0;

    bool operator==(const CheckBuoyFileContents&) const = default;
};

enum class GridFileKind { SetupFile, CheckBuoyFile };

// Why a set-up file or its check-buoy file cannot be loaded. line is the
// 1-based line at fault (the last line of a file that ends too early; 0
// when the file could not be read at all).
struct GridFileError {
    GridFileKind kind = GridFileKind::SetupFile;
    QString path;
    int line = 0;
    QString reason; // e.g. "line 9 is not a number"

    // "The set-up file <path> cannot be loaded: <reason>. Nothing was changed."
    QString message() const;
};

// The number of numbers a set-up file must hold: 4 x 4 corners, 8
// coefficients, jump X and Y, the two reserved values and the grid number.
inline constexpr int gridFileNumberCount = 29;

// The companion file of a set-up file: its full name with ".cb" appended.
QString CheckBuoyFilePath(const QString& setupFilePath);

// The 19 lines of a set-up file (without line ends). Line 1 names path for
// a person reading the file; nothing reads it back (a name outside Latin-1
// shows '?' there). Line 2 is the description as typed. A line break in
// either becomes a blank, so the file keeps its shape; every number is in
// the file print form.
QStringList GridFileLines(const QString& path, const GridFileContents& contents);

// True when the file print form of the value reads back as a finite number.
// Not so for infinities, nor for a finite value so close to the largest
// double that its 15 digits round above it (1.7976931348623157E308 prints
// as 1.79769313486232E+308): either would leave a file that cannot be
// loaded.
bool FilePrintReadsBack(double value);

// The 4 lines of a check-buoy file: the screen position as numbers, then the
// survey texts as the operator typed them. A survey text that is not wholly a
// number is written as the number it reads as, so that the file always reads
// back.
QStringList CheckBuoyFileLines(double screenX, double screenY, const QString& surveyXText,
                               const QString& surveyYText);

// The check buoy as the set-up screen holds it when a grid is saved.
struct CheckBuoyEntry {
    double screenX = 0.0; // twips
    double screenY = 0.0;
    QString surveyXText; // txtCheckX as typed
    QString surveyYText; // txtCheckY as typed
};

// Replace the file whole (CR LF, Latin-1). The file is made and read back
// in memory first: fails, writing nothing, when it would not read back (a
// value that is not a finite number or prints above the largest double) or
// when the file cannot be written; the old file is then left as it was.
std::expected<void, FileError> writeGridFile(const QString& path, const GridFileContents& contents);
std::expected<void, FileError> writeCheckBuoyFile(const QString& path, double screenX, double screenY,
                                                  const QString& surveyXText,
                                                  const QString& surveyYText);

// The set-up file and its check-buoy file saved as one unit: both are made
// and read back in memory, then written whole beside their targets, then
// renamed over them back to back (FileReplacementSet). On failure the error
// names the file at fault and both files are left as they were; nothing is
// left beside them.
std::expected<void, FileError> writeGridFiles(const QString& path, const GridFileContents& contents,
                                              const CheckBuoyEntry& checkBuoy);

// Read a whole set-up file. Line 1 is skipped, line 2 is the description
// (taken whole, commas included); from line 3 on the fields are separated by
// commas or line ends and each must be wholly a number. CR LF and LF files
// are both accepted; whatever follows the 29th number is ignored. Fails with
// the file and line when the file is short, has an empty field or a field
// that is not a number; path only names the file in the error.
std::expected<GridFileContents, GridFileError> readGridFile(QIODevice& in, const QString& path);
std::expected<GridFileContents, GridFileError> readGridFile(const QString& path);

// Read a check-buoy file: four lines, each wholly a number; lines after the
// fourth are ignored. Fails with the file and line when it is short or a
// line is not a number.
std::expected<CheckBuoyFileContents, GridFileError> readCheckBuoyFile(QIODevice& in,
                                                                       const QString& path);
std::expected<CheckBuoyFileContents, GridFileError> readCheckBuoyFile(const QString& path);
