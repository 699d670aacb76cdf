#pragma once

#include <QByteArray>
#include <QString>

class QTextCursor;

// Reads RTF into a document at a cursor, inside one edit block.
//
// The reader is tolerant: it never fails on damaged input, it keeps what it
// could read and says what went wrong first, and where (byte offset).
struct RtfReadResult {
    bool ok = true;           // false when the input was damaged somewhere
    QString problem;          // the first problem met, in English, for logs and tests
    qsizetype problemAt = -1; // byte offset of that problem
    // A numbered list longer than the editor builds in time; with
    // RtfLongLists::GiveUp, reading stopped at its first item past the limit.
    bool tooLongToShow = false;
};

enum class RtfInsertMode {
    // Replacing the whole document: the last paragraph's attributes apply to
    // the document's last block even when no \par ends it.
    WholeDocument,
    // Inserting into existing text (SelRTF, paste): the final unterminated
    // piece joins the paragraph at the cursor and keeps that paragraph's
    // attributes.
    Fragment,
};

enum class RtfLongLists {
    Read, // text this program wrote: every list read whole, however long
    // A file from elsewhere: reading stops at a numbered list too long to
    // build in time (tooLongToShow).
    GiveUp,
};

RtfReadResult readRtf(const QByteArray &rtf, QTextCursor &cursor,
                      RtfInsertMode mode = RtfInsertMode::Fragment,
                      RtfLongLists longLists = RtfLongLists::Read);
