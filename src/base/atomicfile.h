#pragma once

#include <QByteArray>
#include <QString>

// Every file the program writes goes through here: the bytes go to a
// temporary file beside the target, are flushed and synced, and only then
// replace the target. A failure at any step (full disk, read-only folder,
// file too large) leaves the old file whole and returns false; nothing is
// ever reported as written that is not on disk.
namespace atomicfile {

enum class Failure { None, WriteProtected, Other };

// A file that exists and that the user may not write is never replaced,
// though the folder would let the rename through: why says so.
bool write(const QString &path, const QByteArray &bytes, Failure *why = nullptr);

// The file exists and has no write permission for us: no write bit at all,
// or none that applies to our user (root counts as able to write any file
// that has a write bit for someone).
bool isWriteProtected(const QString &path);

// Temporary files of ours that a killed write left in a folder: they are
// named after this pattern and removed once they are older than a minute.
bool isOurTemporary(const QString &fileName);

} // namespace atomicfile
