#pragma once

#include <QByteArray>
#include <QString>

// The 128-byte records of the exercise recap file and of the running-flag
// file: a 16-bit little-endian length, then that many Windows-1252 bytes.
// The rest of a record is not significant and is kept as the file held it.
namespace recordfile {

constexpr int recordBytes = 128;
constexpr int lengthBytes = 2;
constexpr int maxTextBytes = recordBytes - lengthBytes;

// The text of record n (counted from 1); a missing or cut record reads as
// far as the file goes, an absent one as empty.
QString recordText(const QByteArray &file, int record);

// Writes the length and text of record n into the file's bytes, growing them
// with zeros when the record lies past the end. False, changing nothing,
// when the text needs more than 126 bytes.
bool setRecordText(QByteArray &file, int record, const QString &text);

// Reads the file, sets one record and writes it back through a temporary
// file, so that a failure leaves the old file whole. False on any failure.
bool writeRecordToFile(const QString &path, int record, const QString &text);

} // namespace recordfile
