#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

// What each fuzz target asks of one input, shared with the test that
// replays the inputs fuzzing found. Each returns an empty text when the
// input was handled as it must be, otherwise what went wrong; a crash, a
// leak or a hang is found by the fuzzer and its sanitizers themselves.
namespace FuzzChecks {

// A set-up file and a check-buoy file read from the bytes: what reads is
// written and read back to the same values.
QString SetupFile(const QByteArray& bytes);

// A FIELDS file given to `rampscope-cli solve`: status 0 with nothing on
// standard error, or a failure on exactly one line.
QString FieldsFile(const QByteArray& bytes);

// The bytes as an AVI file: its information, its last frame and one more
// frame. A length or picture size of 0 is never reported; the last frame
// counted is always delivered; any other frame is delivered or refused as
// damaged.
QString AviFile(const QByteArray& bytes);

// The bytes as a typed number and as a stored number field: a field read
// strictly reads as Val reads it, and a number in the file print form reads
// back to the same print.
QString Numbers(const QByteArray& bytes);

// The bytes as an imported skier list (rich text or plain) and its fields.
QString SkierList(const QByteArray& bytes);

// The bytes as the small files other programs hand the station: the
// scoring system's skier name and picture flag (first input field), a
// recording's contact-frame companion, and a bitmap (as a file and as a
// clipboard picture). A bitmap that loads is written and loads back to the
// same bytes.
QString ExchangeFiles(const QByteArray& bytes);

// The libFuzzer entry point's body: runs the check on the input and stops
// the run, as a crash would, with what went wrong.
int RunCheck(QString (*check)(const QByteArray&), const uint8_t* data, size_t size);

} // namespace FuzzChecks
