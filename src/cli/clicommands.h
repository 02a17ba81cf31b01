#pragma once

#include <QString>
#include <QStringList>

#include <expected>

class QTextStream;

// rampscope-cli: the calibration core without screens, for technical
// controllers, scripts and tests. Returns the process exit status: 0 on
// success, 1 when the command ran but its answer is "no" (a grid that is not
// ready), 2 for any other failure (usage, input, a file that cannot be read
// or written, a calculation error). Every failure writes one line on err.
int RunCli(const QStringList& args, QTextStream& out, QTextStream& err);

// The arguments after the program name, decoded as the system decodes file
// names. Fails with the one-line reason when an argument does not come back
// to the same bytes (bytes that are not valid in the file-name encoding):
// it would name another file than the one given.
std::expected<QStringList, QString> CliArguments(int argc, const char* const* argv);
