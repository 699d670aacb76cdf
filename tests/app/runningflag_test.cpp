#include "app/mainwindow.h"
#include "app/runningflag.h"
#include "exercisefile/recordfile.h"
#include "scripteddialogs.h"

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString flagText(const QString &folder) {
    QFile file(folder + QStringLiteral("/TEMPts.tmp"));
    return file.open(QIODevice::ReadOnly) ? recordfile::recordText(file.readAll(), 5) : QString();
}

} // namespace

class RunningFlagTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void staysBesideAWritableProgram();
    void goesToTheUsersDataWhenTheProgramFolderIsReadOnly_data();
    void goesToTheUsersDataWhenTheProgramFolderIsReadOnly();
    void neverGoesIntoASystemFolder_data();
    void neverGoesIntoASystemFolder();
};

void RunningFlagTest::staysBesideAWritableProgram() {
    QTemporaryDir program;
    QCOMPARE(runningFlagFolder(program.path()), program.path());
    ScriptedDialogs dialogs;
    MainWindow window(dialogs, program.path(), program.filePath(QStringLiteral("recovery")));
    QCOMPARE(flagText(program.path()), QStringLiteral("OUI"));
    window.close();
    QCOMPARE(flagText(program.path()), QStringLiteral("NON"));
}

void RunningFlagTest::goesToTheUsersDataWhenTheProgramFolderIsReadOnly_data() {
    QTest::addColumn<bool>("byPermissions");
    // As root every folder may be written: a file standing where the folder
    // should be is then the folder that cannot be written.
    QTest::newRow("read-only folder") << true;
    QTest::newRow("no folder at all") << false;
}

void RunningFlagTest::goesToTheUsersDataWhenTheProgramFolderIsReadOnly() {
    QFETCH(bool, byPermissions);
    QTemporaryDir dir;
    QString program = dir.filePath(QStringLiteral("usr-bin"));
    if (byPermissions) {
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("usr-bin")));
        QFile::setPermissions(program, QFile::ReadOwner | QFile::ExeOwner);
        if (QFileInfo(program).isWritable()) QSKIP("Every folder may be written by this user");
    } else {
        QFile file(program);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QFile::remove(data + QStringLiteral("/TEMPts.tmp"));
    QCOMPARE(runningFlagFolder(program), data);
    {
        ScriptedDialogs dialogs;
        MainWindow window(dialogs, program, dir.filePath(QStringLiteral("recovery")));
        QCOMPARE(window.runningFlagDirectory(), data);
        QCOMPARE(flagText(data), QStringLiteral("OUI"));
        window.close();
        QVERIFY(dialogs.calls.isEmpty());
    }
    QCOMPARE(flagText(data), QStringLiteral("NON"));
    QVERIFY(!QFile::exists(program + QStringLiteral("/TEMPts.tmp")));
    QFile::remove(data + QStringLiteral("/TEMPts.tmp"));
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void RunningFlagTest::neverGoesIntoASystemFolder_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("system");
    QTest::newRow("/usr/bin") << "/usr/bin" << true;
    QTest::newRow("/usr/local/bin") << "/usr/local/bin" << true;
    QTest::newRow("/bin, a link to /usr/bin") << "/bin" << true;
    QTest::newRow("/opt") << "/opt/redigo" << true;
    QTest::newRow("/usrlocal is no /usr") << "/usrlocal/redigo" << false;
    QTest::newRow("a build folder") << QDir::tempPath() + "/redigo/build" << false;
}

void RunningFlagTest::neverGoesIntoASystemFolder() {
    QFETCH(QString, folder);
    QFETCH(bool, system);
    QCOMPARE(isSystemFolder(folder), system);
    // As root /usr/bin may be written: the flag still goes to the user's data.
    if (system && QFileInfo(folder).isDir())
        QCOMPARE(runningFlagFolder(folder),
                 QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

QTEST_MAIN(RunningFlagTest)
#include "runningflag_test.moc"
