#pragma once

#include "capture/capturedevice.h"

#include <QStringList>

// The sixteen sound formats of the capture panel's attribute list: for each
// of 11.025, 22.050, 32.000 and 44.100 kHz, 8-bit mono, 8-bit stereo,
// 16-bit mono, 16-bit stereo.
QStringList AudioFormatEntries();

// The format of entry `index` of a list: channels by the index's lowest bit,
// bits by its second, the rate from the number the entry's text starts with.
AudioFormat AudioFormatOfEntry(const QString& entry, int index);

// The text naming a device's current format, e.g. "22.050 Khz, 16 bit, Mono".
QString AudioFormatText(const AudioFormat& format);
