#include "base/atomicfile.h"
#include "filebytes.h"
#include "filesizelimit.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QStringList temporariesIn(const QString &folder) {
    QStringList found;
    for (const QString &name : QDir(folder).entryList(QDir::Files | QDir::Hidden))
        if (atomicfile::isOurTemporary(name)) found << name;
    return found;
}

// The system calls of a write as they were made, each with the file it
// touched, named by its inode: the temporary file may have no name before
// it is renamed. "write <inode> <bytes>", "fsync <inode> <bytes the file
// held>", "rename <inode> <to>", "fsync folder <path>".
struct Seen {
    QStringList calls;
    QByteArray heldAtSync;
    QString renamedFrom;
    qsizetype mostBytesPerWrite = 4096;
    bool interruptEveryOtherWrite = true;
    qsizetype diskFullAfterBytes = -1; // never
    qsizetype writtenBytes = 0;
    bool writesNothing = false;
    bool fsyncFails = false;
    bool renameFails = false;
    bool interrupted = false;
};
Seen seen;

ino_t inodeOf(int descriptor) {
    struct stat info {};
    return ::fstat(descriptor, &info) == 0 ? info.st_ino : 0;
}

ssize_t recordedWrite(int descriptor, const void *bytes, size_t countBytes) {
    seen.interrupted = seen.interruptEveryOtherWrite && !seen.interrupted;
    if (seen.interrupted) {
        errno = EINTR;
        return -1;
    }
    if (seen.writesNothing) return 0;
    qsizetype allowed = std::min(qsizetype(countBytes), seen.mostBytesPerWrite);
    if (seen.diskFullAfterBytes >= 0)
        allowed = std::min(allowed, seen.diskFullAfterBytes - seen.writtenBytes);
    if (allowed <= 0) {
        errno = ENOSPC;
        return -1;
    }
    const ssize_t written = ::write(descriptor, bytes, size_t(allowed));
    if (written > 0) seen.writtenBytes += written;
    seen.calls << QStringLiteral("write %1 %2").arg(inodeOf(descriptor)).arg(written);
    return written;
}

int recordedFsync(int descriptor) {
    const QString opened = QStringLiteral("/proc/self/fd/%1").arg(descriptor);
    if (QFileInfo(opened).isDir()) {
        seen.calls << QStringLiteral("fsync folder ") + QFileInfo(opened).symLinkTarget();
    } else {
        seen.heldAtSync = fileBytes(opened);
        seen.calls
            << QStringLiteral("fsync %1 %2").arg(inodeOf(descriptor)).arg(seen.heldAtSync.size());
    }
    if (seen.fsyncFails) {
        errno = EIO;
        return -1;
    }
    return ::fsync(descriptor);
}

int recordedRename(const char *fromPath, const char *toPath) {
    struct stat from {};
    ::stat(fromPath, &from);
    seen.renamedFrom = QFile::decodeName(fromPath);
    seen.calls << QStringLiteral("rename %1 %2").arg(from.st_ino).arg(QFile::decodeName(toPath));
    if (seen.renameFails) {
        errno = EXDEV;
        return -1;
    }
    return std::rename(fromPath, toPath);
}

// Writes made while it lives go through the recording calls above.
class RecordedSystemCalls {
public:
    RecordedSystemCalls() : m_real(atomicfile::systemCalls()) {
        seen = Seen();
        atomicfile::systemCalls() = {recordedWrite, recordedFsync, recordedRename};
    }
    ~RecordedSystemCalls() { atomicfile::systemCalls() = m_real; }
    RecordedSystemCalls(const RecordedSystemCalls &) = delete;
    RecordedSystemCalls &operator=(const RecordedSystemCalls &) = delete;

private:
    atomicfile::SystemCalls m_real;
};

} // namespace

class AtomicFileTest : public QObject {
    Q_OBJECT

private slots:
    void writesAndReplaces();
    void fullDiskKeepsTheOldFile_data();
    void fullDiskKeepsTheOldFile();
    void unwritableFolderFails();
    void keepsPermissionsAndLinks();
    void writeProtectedFilesAreKept_data();
    void writeProtectedFilesAreKept();
    void staleTemporariesAreCleaned();
    void everyByteIsSyncedBeforeTheRename();
    void aFailingSystemCallKeepsTheOldFile_data();
    void aFailingSystemCallKeepsTheOldFile();
};

void AtomicFileTest::writesAndReplaces() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("texte.rtf"));
    QVERIFY(atomicfile::write(path, "premier"));
    QVERIFY(atomicfile::write(path, "second"));
    QCOMPARE(fileBytes(path), QByteArray("second"));
    QVERIFY(atomicfile::write(path, QByteArray()));
    QCOMPARE(fileBytes(path), QByteArray());
    QVERIFY(temporariesIn(dir.path()).isEmpty());
    QVERIFY(!atomicfile::write(dir.path(), "a folder is not a file"));
}

void AtomicFileTest::fullDiskKeepsTheOldFile_data() {
    QTest::addColumn<int>("sizeBytes");
    // Under the write buffer's size the error only shows when it is flushed.
    QTest::newRow("short text") << 1000;
    QTest::newRow("long text") << 200000;
}

void AtomicFileTest::fullDiskKeepsTheOldFile() {
    QFETCH(int, sizeBytes);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("texte.rtf"));
    writeFileBytes(path, "old text");
    {
        FileSizeLimit fullDisk(100);
        QVERIFY(!atomicfile::write(path, QByteArray(sizeBytes, 'x')));
    }
    QCOMPARE(fileBytes(path), QByteArray("old text"));
    QVERIFY(temporariesIn(dir.path()).isEmpty());
}

void AtomicFileTest::unwritableFolderFails() {
    // Nothing can be created in /proc, not even by root.
    QVERIFY(!atomicfile::write(QStringLiteral("/proc/version"), "x"));
    QVERIFY(fileBytes(QStringLiteral("/proc/version")).startsWith("Linux"));
    QVERIFY(!atomicfile::write(QStringLiteral("/nonexistent-folder/texte.rtf"), "x"));
    if (geteuid() == 0) return; // root writes into read-only folders
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("texte.rtf"));
    writeFileBytes(path, "old text");
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    QVERIFY(!atomicfile::write(path, "new"));
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(fileBytes(path), QByteArray("old text"));
}

void AtomicFileTest::keepsPermissionsAndLinks() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("texte.rtf"));
    writeFileBytes(path, "old");
    QVERIFY(::chmod(QFile::encodeName(path).constData(), 0640) == 0);
    QVERIFY(atomicfile::write(path, "new"));
    struct stat info {};
    QVERIFY(::stat(QFile::encodeName(path).constData(), &info) == 0);
    QCOMPARE(int(info.st_mode & 0777), 0640);

    const QString link = dir.filePath(QStringLiteral("lien.rtf"));
    QVERIFY(QFile::link(path, link));
    QVERIFY(atomicfile::write(link, "through the link"));
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(fileBytes(path), QByteArray("through the link"));
}

void AtomicFileTest::writeProtectedFilesAreKept_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("isProtected");
    QTest::addColumn<bool>("throughLink");
    QTest::newRow("read-only for its owner") << 0400 << true << false;
    QTest::newRow("read-only for everyone") << 0444 << true << false;
    QTest::newRow("read-only, through a link") << 0400 << true << true;
    QTest::newRow("writable by its owner") << 0600 << false << false;
    // Root may write it as the operating system lets it; its owner may not.
    QTest::newRow("writable by the group only") << 0460 << (geteuid() != 0) << false;
}

// The rename would replace any file of a writable folder: the file's own
// permissions decide, as they would for a write in place, also for root.
void AtomicFileTest::writeProtectedFilesAreKept() {
    QFETCH(int, mode);
    QFETCH(bool, isProtected);
    QFETCH(bool, throughLink);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("texte.rtf"));
    writeFileBytes(path, "a longer old text");
    QVERIFY(::chmod(QFile::encodeName(path).constData(), mode_t(mode)) == 0);
    QString target = path;
    if (throughLink) {
        target = dir.filePath(QStringLiteral("lien.rtf"));
        QVERIFY(QFile::link(path, target));
    }
    QCOMPARE(atomicfile::isWriteProtected(target), isProtected);
    atomicfile::Failure why = atomicfile::Failure::Other;
    QCOMPARE(atomicfile::write(target, "new", &why), !isProtected);
    QCOMPARE(why, isProtected ? atomicfile::Failure::WriteProtected : atomicfile::Failure::None);
    QCOMPARE(fileBytes(path), isProtected ? QByteArray("a longer old text") : QByteArray("new"));
    QVERIFY(temporariesIn(dir.path()).isEmpty());
    QVERIFY(!atomicfile::isWriteProtected(dir.filePath(QStringLiteral("absent.rtf"))));
}

void AtomicFileTest::staleTemporariesAreCleaned() {
    QTemporaryDir dir;
    const QString stale = dir.filePath(QStringLiteral(".~redigo-Ab12Cd.tmp"));
    const QString fresh = dir.filePath(QStringLiteral(".~redigo-Ef34Gh.tmp"));
    const QString foreign = dir.filePath(QStringLiteral(".~redigo-notes.txt"));
    for (const QString &path : {stale, fresh, foreign})
        writeFileBytes(path, "left over");
    QFile old(stale);
    QVERIFY(old.open(QIODevice::ReadWrite));
    QVERIFY(old.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                            QFileDevice::FileModificationTime));
    old.close();
    QVERIFY(atomicfile::write(dir.filePath(QStringLiteral("texte.rtf")), "text"));
    QVERIFY(!QFile::exists(stale));
    QVERIFY(QFile::exists(fresh));
    QVERIFY(QFile::exists(foreign));
}

// Written in pieces, some calls interrupted, as a busy disk does: the sync
// comes once every byte is in the temporary file, the rename after it, and
// the folder's sync last.
void AtomicFileTest::everyByteIsSyncedBeforeTheRename() {
    QTemporaryDir dir;
    const QString folder = QFileInfo(dir.path()).canonicalFilePath();
    const QString path = folder + QStringLiteral("/texte.rtf");
    writeFileBytes(path, QByteArray(30000, 'o'));
    QByteArray bytes;
    for (int i = 0; bytes.size() < 10000; ++i)
        bytes += QByteArray::number(i) + ' ';
    QStringList calls;
    QByteArray heldAtSync;
    QString renamedFrom;
    {
        RecordedSystemCalls recorded;
        QVERIFY(atomicfile::write(path, bytes));
        calls = seen.calls;
        heldAtSync = seen.heldAtSync;
        renamedFrom = seen.renamedFrom;
    }
    QCOMPARE(fileBytes(path), bytes);
    QCOMPARE(heldAtSync, bytes);
    QCOMPARE(QFileInfo(renamedFrom).path(), folder);
    QVERIFY(atomicfile::isOurTemporary(QFileInfo(renamedFrom).fileName()));
    QVERIFY(!calls.isEmpty());
    const QString temporary = calls.first().section(QLatin1Char(' '), 1, 1);
    QStringList expected;
    for (qsizetype from = 0; from < bytes.size(); from += 4096)
        expected << QStringLiteral("write %1 %2")
                        .arg(temporary)
                        .arg(std::min<qsizetype>(4096, bytes.size() - from));
    expected << QStringLiteral("fsync %1 %2").arg(temporary).arg(bytes.size())
             << QStringLiteral("rename %1 %2").arg(temporary, path)
             << QStringLiteral("fsync folder ") + folder;
    QCOMPARE(calls, expected);
}

void AtomicFileTest::aFailingSystemCallKeepsTheOldFile_data() {
    QTest::addColumn<int>("diskFullAfterBytes");
    QTest::addColumn<bool>("writesNothing");
    QTest::addColumn<bool>("fsyncFails");
    QTest::addColumn<bool>("renameFails");
    QTest::addColumn<bool>("renamed");
    QTest::newRow("disk full halfway") << 5000 << false << false << false << false;
    QTest::newRow("disk full at once") << 0 << false << false << false << false;
    QTest::newRow("a write that writes nothing") << -1 << true << false << false << false;
    QTest::newRow("sync fails") << -1 << false << true << false << false;
    QTest::newRow("rename fails") << -1 << false << false << true << true;
}

void AtomicFileTest::aFailingSystemCallKeepsTheOldFile() {
    QFETCH(int, diskFullAfterBytes);
    QFETCH(bool, writesNothing);
    QFETCH(bool, fsyncFails);
    QFETCH(bool, renameFails);
    QFETCH(bool, renamed);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("texte.rtf"));
    const QByteArray old = QByteArray(20000, 'o') + "end of the old text";
    writeFileBytes(path, old);
    atomicfile::Failure why = atomicfile::Failure::None;
    bool written = true;
    QStringList calls;
    {
        RecordedSystemCalls recorded;
        seen.diskFullAfterBytes = diskFullAfterBytes;
        seen.writesNothing = writesNothing;
        seen.fsyncFails = fsyncFails;
        seen.renameFails = renameFails;
        written = atomicfile::write(path, QByteArray(10000, 'n'), &why);
        calls = seen.calls;
    }
    QVERIFY(!written);
    QCOMPARE(why, atomicfile::Failure::Other);
    QCOMPARE(fileBytes(path), old);
    QVERIFY(temporariesIn(dir.path()).isEmpty());
    // Nothing goes over the old file unless the sync said yes.
    QCOMPARE(calls.filter(QStringLiteral("rename")).size(), renamed ? 1 : 0);
    QCOMPARE(calls.filter(QStringLiteral("fsync")).size(),
             diskFullAfterBytes < 0 && !writesNothing ? 1 : 0);
}

QTEST_GUILESS_MAIN(AtomicFileTest)
#include "atomicfile_test.moc"
