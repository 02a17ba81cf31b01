#pragma once

#include <QStringList>

class QTextStream;

// The camera commands of rampscope-cli:
//   devices   the cameras with their sizes, colour formats and rates
//   record [--device NAME|INDEX] [--size WxH] [--rate N] --seconds S OUT.avi
//             a recording through the station's recorder; its last two lines
//             are "frames captured: N" and "frames dropped: M"
// A device "lavfi:SOURCE" records FFmpeg's test source SOURCE (e.g.
// "lavfi:testsrc2=size=1280x720:rate=30") for trying the recorder without a
// camera. Return 0 on success and 2 with one line on err for any failure.
int CaptureDevicesCommand(const QStringList& args, QTextStream& out, QTextStream& err);
int CaptureRecordCommand(const QStringList& args, QTextStream& out, QTextStream& err);
