#pragma once

#include <QByteArray>
#include <QString>

// What a file was like when the program last read or wrote it, so that a
// change made since by another program is noticed before it is written over
// or shown stale.
class FileStamp {
public:
    FileStamp() = default;
    static FileStamp of(const QString &path);

    bool isNull() const { return !m_taken; }
    // False for the same bytes touched again: only the content counts.
    bool differsFrom(const FileStamp &now) const;

private:
    bool m_taken = false;
    bool m_exists = false;
    qint64 m_sizeBytes = 0;
    QByteArray m_hash; // of the bytes: a rewrite within the same second is caught
};
