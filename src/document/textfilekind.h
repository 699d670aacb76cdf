#pragma once

#include <QByteArray>
#include <QString>

// What a file holds, told from its bytes before anything is shown of it.
enum class TextFileKind {
    Rtf,
    PlainText,
    NotText, // a picture, a program, a document of another kind
};

TextFileKind textFileKindOf(const QByteArray &bytes);

// Where the RTF starts: after a UTF-8 byte-order mark and blank lines some
// editors put before it; -1 when the bytes are no RTF.
qsizetype rtfStartOffset(const QByteArray &bytes);

// Plain text as the user means it: UTF-16 when it starts with its byte-order
// mark, UTF-8 when the bytes are valid UTF-8, otherwise Windows-1252, with
// one paragraph break per line end.
QString plainTextOf(const QByteArray &bytes);

// The same path with ".rtf" in place of its file name's extension.
QString withRtfExtension(const QString &path);
