#include "base/atomicfile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace atomicfile {

namespace {

const QString temporaryPrefix = QStringLiteral(".~redigo-");
const QString temporarySuffix = QStringLiteral(".tmp");
constexpr int staleAfterSeconds = 60;

// Removes what a write killed before its rename left behind. A fresh one may
// belong to a save under way in another copy of the program: it stays.
void removeStaleTemporaries(const QDir &folder) {
    const QDateTime staleBefore = QDateTime::currentDateTimeUtc().addSecs(-staleAfterSeconds);
    const QFileInfoList found =
        folder.entryInfoList({temporaryPrefix + QLatin1Char('*') + temporarySuffix},
                             QDir::Files | QDir::Hidden | QDir::NoSymLinks);
    for (const QFileInfo &info : found) {
        if (isOurTemporary(info.fileName()) && info.lastModified().toUTC() < staleBefore)
            QFile::remove(info.absoluteFilePath());
    }
}

} // namespace

bool isOurTemporary(const QString &fileName) {
    return fileName.startsWith(temporaryPrefix) && fileName.endsWith(temporarySuffix) &&
           fileName.size() > temporaryPrefix.size() + temporarySuffix.size();
}

bool write(const QString &path, const QByteArray &bytes) {
    // Writing through a link replaces what it points to, not the link.
    QFileInfo target(path);
    const QString finalPath =
        target.isSymLink() ? target.symLinkTarget() : target.absoluteFilePath();
    target = QFileInfo(finalPath);
    if (target.isDir()) return false;
    const QDir folder = target.absoluteDir();
    removeStaleTemporaries(folder);

    QTemporaryFile temporary(
        folder.filePath(temporaryPrefix + QStringLiteral("XXXXXX") + temporarySuffix));
    if (!temporary.open()) return false;
    // Checking write() alone misses an error raised when the buffer is
    // flushed: flush, then sync, and look at each.
    if (temporary.write(bytes) != bytes.size() || !temporary.flush() ||
        temporary.error() != QFileDevice::NoError)
        return false;
    if (::fsync(temporary.handle()) != 0) return false;
    // The new file keeps the old one's permissions, or gets those of any new
    // file rather than the temporary file's private ones.
    struct stat old {};
    mode_t mode = 0;
    if (::stat(QFile::encodeName(finalPath).constData(), &old) == 0) {
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(temporary.handle(), mode);
    temporary.close();
    if (temporary.error() != QFileDevice::NoError) return false;
    if (std::rename(QFile::encodeName(temporary.fileName()).constData(),
                    QFile::encodeName(finalPath).constData()) != 0)
        return false;
    temporary.setAutoRemove(false);
    return true;
}

} // namespace atomicfile
