#pragma once

#include <QColor>
#include <QString>

// Colours are kept as the station's colour numbers: red + 256 × green +
// 65536 × blue, so white is &HFFFFFF (16777215), yellow &HFFFF (65535) and
// black 0. Beware: this is not QRgb's 0xRRGGBB layout; convert with
// ColorFromNumber.
inline constexpr unsigned whiteColorNumber = 16777215; // &HFFFFFF
inline constexpr unsigned yellowColorNumber = 65535;   // &HFFFF
inline constexpr unsigned blackColorNumber = 0;

// The colour number of the label colour choice (the labelcolor setting,
// labelColorName): "white", "black" or "yellow" give that colour; "default"
// and anything else give white, the default colour of the far-buoy labels,
// the adjust and cross-size labels and of every overlay circle.
unsigned LabelColorNumber(const QString& labelColorName);

// The colour a colour number stands for. Bits above &HFFFFFF are ignored.
QColor ColorFromNumber(unsigned colorNumber);

// ColorFromNumber(LabelColorNumber(labelColorName)): the colour of the
// far-buoy labels, the circle buoy markers and the landing mark.
QColor LabelColor(const QString& labelColorName);
