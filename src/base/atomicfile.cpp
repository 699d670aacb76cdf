#include "base/atomicfile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
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

namespace {

// Writing through a link replaces what it points to, not the link.
QString finalPathOf(const QString &path) {
    const QFileInfo target(path);
    return target.isSymLink() ? target.symLinkTarget() : target.absoluteFilePath();
}

} // namespace

bool isWriteProtected(const QString &path) {
    struct stat info {};
    if (::stat(QFile::encodeName(finalPathOf(path)).constData(), &info) != 0) return false;
    if (!S_ISREG(info.st_mode)) return false;
    // Root passes access(): the permission bits still say what the owner meant.
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return true;
    return ::access(QFile::encodeName(finalPathOf(path)).constData(), W_OK) != 0 && errno == EACCES;
}

bool write(const QString &path, const QByteArray &bytes, Failure *why) {
    Failure ignored = Failure::None;
    Failure &failure = why ? *why : ignored;
    failure = Failure::Other;
    const QString finalPath = finalPathOf(path);
    const QFileInfo target(finalPath);
    if (target.isDir()) return false;
    if (isWriteProtected(finalPath)) {
        failure = Failure::WriteProtected;
        return false;
    }
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
    failure = Failure::None;
    return true;
}

} // namespace atomicfile
