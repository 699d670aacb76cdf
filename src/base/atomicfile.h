#pragma once

#include <QByteArray>
#include <QString>

#include <sys/types.h>

// Every file the program writes goes through here: the bytes go to a
// temporary file beside the target straight to its descriptor, with no
// buffer of our own between, are synced, and only then replace the target;
// the folder is synced last. A failure at any step (full disk, read-only
// folder, file too large) leaves the old file whole and returns false;
// nothing is ever reported as written that is not on disk.
namespace atomicfile {

// The system calls a write makes, in this order: write as many times as the
// bytes take, fsync of the temporary file, rename over the target, fsync of
// the folder. They are the real ones unless a test puts its own in their
// place, to see the order or to make one fail.
struct SystemCalls {
    ssize_t (*write)(int descriptor, const void *bytes, size_t countBytes);
    int (*fsync)(int descriptor);
    int (*rename)(const char *fromPath, const char *toPath);
};
SystemCalls &systemCalls();

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
