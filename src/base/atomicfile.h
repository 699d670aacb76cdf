#pragma once

#include <QByteArray>
#include <QString>

// Every file the program writes goes through here: the bytes go to a
// temporary file beside the target, are flushed and synced, and only then
// replace the target. A failure at any step (full disk, read-only folder,
// file too large) leaves the old file whole and returns false; nothing is
// ever reported as written that is not on disk.
namespace atomicfile {

bool write(const QString &path, const QByteArray &bytes);

// Temporary files of ours that a killed write left in a folder: they are
// named after this pattern and removed once they are older than a minute.
bool isOurTemporary(const QString &fileName);

} // namespace atomicfile
