#pragma once

#include <QStringList>

class QTextStream;

// rampscope-cli: the calibration core without screens, for technical
// controllers, scripts and tests. Returns the process exit status: 0 on
// success, 1 when the command ran but its answer is "no" (a grid that is not
// ready), 2 for a usage or input error (one line on err).
int RunCli(const QStringList& args, QTextStream& out, QTextStream& err);
