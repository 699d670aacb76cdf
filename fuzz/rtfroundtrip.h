#pragma once

// What every RTF we write must keep: read back, it gives the same text, and
// written again, the same bytes.

#include "document/rtf/rtfreader.h"
#include "document/rtf/rtfwriter.h"
#include "fuzzsupport.h"

#include <QByteArray>
#include <QTextCursor>
#include <QTextDocument>

inline QByteArray readAndWrite(const QByteArray &rtf, QTextDocument &document) {
    QTextCursor cursor(&document);
    readRtf(rtf, cursor, RtfInsertMode::WholeDocument);
    return writeRtf(document);
}

inline void requireStableRoundTrip(const QByteArray &input) {
    QTextDocument first;
    const QByteArray written = readAndWrite(input, first);
    QTextDocument second;
    const QByteArray rewritten = readAndWrite(written, second);
    require(second.toPlainText() == first.toPlainText(), "our RTF reads back to the same text",
            first.toPlainText(), second.toPlainText());
    QTextDocument third;
    const QByteArray stable = readAndWrite(rewritten, third);
    require(stable == rewritten, "our RTF of our RTF is stable", rewritten, stable);
}
