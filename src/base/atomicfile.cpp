#include "base/atomicfile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace atomicfile {

SystemCalls &systemCalls() {
    static SystemCalls calls{::write, ::fsync, ::rename};
    return calls;
}

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

// Every byte reaches the descriptor, or false: a short write goes on from
// where it stopped, an interrupted one is tried again, and one that writes
// nothing (a full disk) ends it.
bool writeAll(int descriptor, const QByteArray &bytes) {
    const char *next = bytes.constData();
    qsizetype leftBytes = bytes.size();
    while (leftBytes > 0) {
        const ssize_t writtenBytes = systemCalls().write(descriptor, next, size_t(leftBytes));
        if (writtenBytes < 0 && errno == EINTR) continue;
        if (writtenBytes <= 0) return false;
        next += writtenBytes;
        leftBytes -= writtenBytes;
    }
    return true;
}

// The new file keeps the old one's permissions, or gets those of any new
// file rather than the temporary file's private ones.
mode_t modeFor(const QString &finalPath) {
    struct stat old {};
    if (::stat(QFile::encodeName(finalPath).constData(), &old) == 0) return old.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Once the folder is synced a power cut cannot bring the old file back. The
// new one is whole either way: a folder that cannot be synced (some file
// systems refuse) is no failure.
void syncFolder(const QString &folder) {
    const int descriptor =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) return;
    systemCalls().fsync(descriptor);
    ::close(descriptor);
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
    // The bytes go to the descriptor itself: none can wait in a buffer and
    // reach the disk after the sync, or fail unseen.
    const int descriptor = temporary.handle();
    if (!writeAll(descriptor, bytes)) return false;
    ::fchmod(descriptor, modeFor(finalPath));
    if (systemCalls().fsync(descriptor) != 0) return false;
    temporary.close();
    if (temporary.error() != QFileDevice::NoError) return false;
    if (systemCalls().rename(QFile::encodeName(temporary.fileName()).constData(),
                             QFile::encodeName(finalPath).constData()) != 0)
        return false;
    temporary.setAutoRemove(false);
    syncFolder(folder.absolutePath());
    failure = Failure::None;
    return true;
}

} // namespace atomicfile
