#pragma once

#include <QString>

class QMimeData;
class QTextDocument;

// What a copy of the characters [from, to) of a document offers other
// programs: our RTF for word processors, plain UTF-8 text for terminals and
// mail, and a small HTML fragment for browsers and mail that keeps the look
// of the characters. Only the range is read, never the whole document.
namespace clipboardformats {

// The characters as the user sees them: Symbol-font characters as their
// Unicode letters, a "\n" at each paragraph's end, pictures left out.
QString plainText(const QTextDocument &document, int from, int to);

// One <p> per paragraph the range touches; raised and lowered characters in
// <sup> and <sub>, bold, italic, underline and colour in <b>, <i>, <u> and
// <span style="color:#rrggbb">, pictures as data URLs (PNG, or the JPEG a
// picture was read in).
QString html(const QTextDocument &document, int from, int to);

// The three formats together (text/rtf, text/plain, text/html), for the
// clipboard or a drag; the caller owns the result.
QMimeData *mimeData(const QTextDocument &document, int from, int to);

} // namespace clipboardformats
