#pragma once

#include "grid/gridsetupfields.h"

#include <QString>

#include <expected>

// Reads a text file of name=value lines naming the set-up screen's boxes
// (upper_left_x, ..., txtPicWidth, ipt_file_description_2) into the box
// texts. Values are taken exactly as written after the first '='; boxes
// not named keep their placeholder texts. Empty lines and lines starting
// with '#' are skipped. Fails with a one-line reason on an unreadable file,
// a line without '=' or an unknown box name.
std::expected<GridSetupFields, QString> ReadFieldsFile(const QString& path);
