#pragma once

#include "common/textfile.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <expected>

// The skier list "SkierNames.txt" and the skier name file of the
// configuration screen.

// Each comma, from left to right, becomes one blank: "Smith,Ann" gives
// "Smith Ann"; blanks already beside a comma are kept.
QString FoldCommas(QString line);

// The text of a file the operator chose as a skier list: a rich-text
// document is reduced to its text, anything else is taken as plain text
// (UTF-8 when it is valid UTF-8, otherwise single-byte). Fails with the
// reason when a rich-text document is damaged.
std::expected<QString, QString> SkierListText(const QByteArray& bytes);

// Import: the chosen file's text replaces the skier list at listPath (one
// line per line of the text, CR LF). Returns the first line of the new list
// with its commas folded, the name the capture screen starts with. Nothing
// is written when the chosen file cannot be read or is a damaged rich-text
// document; the error says which file and why.
std::expected<QString, FileError> ImportSkierList(const QString& chosenPath, const QString& listPath);

// The skier picker's entries: every non-empty line of the list with its
// commas folded, in the order of the file.
std::expected<QStringList, FileError> ReadSkierList(const QString& listPath);

// The fields of a skier name file read by list-input rules: commas and line
// ends separate fields, double quotes enclose a field (commas inside stay),
// blanks around an unquoted field are dropped. Empty fields are left out.
QStringList ListInputFields(const QString& text);
