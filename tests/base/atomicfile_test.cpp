#include "base/atomicfile.h"
#include "filebytes.h"
#include "filesizelimit.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

QStringList temporariesIn(const QString &folder) {
    QStringList found;
    for (const QString &name : QDir(folder).entryList(QDir::Files | QDir::Hidden))
        if (atomicfile::isOurTemporary(name)) found << name;
    return found;
}

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

QTEST_GUILESS_MAIN(AtomicFileTest)
#include "atomicfile_test.moc"
