#pragma once

#include <QString>
#include <QStringList>

class QTextStream;

// The recorded-video commands of rampscope-cli:
//   info FILE              the information lines of the frame selection screen
//   extract FILE N OUT.bmp frame N (from 0) written as frame extraction writes
//                          currentcapture.bmp
// Return 0 on success and 2 with one line on err for any failure (a file that
// is not AVI, a frame outside the stream, an unwritable bitmap).
int VideoInfoCommand(const QStringList& args, QTextStream& out, QTextStream& err);
int VideoExtractCommand(const QStringList& args, QTextStream& out, QTextStream& err);
