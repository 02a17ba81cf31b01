#pragma once

#include <QByteArray>
#include <QString>

#include <expected>

// True when the bytes begin (after blanks) with "{\rtf": a rich-text
// document rather than plain text.
bool LooksLikeRtf(const QByteArray& bytes);

// The plain text of a rich-text document, as a word processor shows it:
// \par, \line, \sect and \page end a line, \tab and \cell give a tab, \'hh
// is a character of the Windows-1252 code page, \uN a Unicode character
// (its \ucN fallback characters dropped), \{ \} \\ stand for themselves.
// Font, colour and style tables, document information, pictures, fields'
// instructions and every \* group are left out, as are formatting words.
// Fails, with the reason, on a text that does not begin with "{\rtf" or
// whose groups are not closed.
std::expected<QString, QString> RtfToText(const QByteArray& rtf);
