#pragma once

#include <QByteArray>

class QTextDocument;

// Writes the document's characters [from, to) as RichEdit-style RTF; to < 0
// means the end of the document. Every paragraph written, the last one too,
// ends with \par, and the reader drops a final \par, so that what is written
// reads back to the same characters.
QByteArray writeRtf(const QTextDocument &document, int from = 0, int to = -1);
