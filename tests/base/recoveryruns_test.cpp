#include "base/recoveryruns.h"
#include "base/recoverystore.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <vector>

namespace {

void leaveCopy(const QString &folder, const QDateTime &copiedAt) {
    RecoveryCopy copy;
    copy.originalPath = QStringLiteral("SANS NOM");
    copy.copiedAt = copiedAt;
    QVERIFY(RecoveryStore(folder).write(copy));
}

QStringList runFolders(const QString &root) {
    return QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

class RecoveryRunsTest : public QObject {
    Q_OBJECT

private slots:
    void aFolderIsTakenOverOnlyOnceItsRunHasEnded();
    void theLatestEndedRunComesFirst();
    void endingTellsWhetherItWasTheLastRun_data();
    void endingTellsWhetherItWasTheLastRun();
};

void RecoveryRunsTest::aFolderIsTakenOverOnlyOnceItsRunHasEnded() {
    QTemporaryDir dir;
    const QString root = dir.filePath(QStringLiteral("recovery"));
    auto first = std::make_unique<RecoveryRuns>(root);
    QVERIFY(first->begin());
    QVERIFY(!first->inheritedCopies());
    const QString firstFolder = first->folder();
    leaveCopy(firstFolder, QDateTime::currentDateTimeUtc());

    RecoveryRuns second(root);
    QVERIFY(second.begin());
    QVERIFY(!second.inheritedCopies());
    QVERIFY(second.folder() != firstFolder);

    first.reset(); // ended without closing: its copies stay
    RecoveryRuns third(root);
    QVERIFY(third.begin());
    QVERIFY(third.inheritedCopies());
    QCOMPARE(third.folder(), firstFolder);
    QCOMPARE(RecoveryStore(third.folder()).copies().size(), 1);
    // A run ending while this one goes on waits for the next start.
    auto fourth = std::make_unique<RecoveryRuns>(root);
    QVERIFY(fourth->begin());
    leaveCopy(fourth->folder(), QDateTime::currentDateTimeUtc());
    fourth.reset();
    QVERIFY(third.begin());
    QCOMPARE(third.folder(), firstFolder);
}

void RecoveryRunsTest::theLatestEndedRunComesFirst() {
    QTemporaryDir dir;
    const QString root = dir.path();
    const QDateTime now = QDateTime::currentDateTimeUtc();
    QStringList folders;
    {
        // Three copies running at once, then all gone: the middle one left
        // the latest copy, the last one none.
        std::vector<std::unique_ptr<RecoveryRuns>> runs;
        for (int run = 0; run < 3; ++run) {
            runs.push_back(std::make_unique<RecoveryRuns>(root));
            QVERIFY(runs.back()->begin());
            folders << runs.back()->folder();
            if (run < 2) leaveCopy(folders.back(), now.addSecs(run == 1 ? 60 : 0));
        }
    }
    RecoveryRuns next(root);
    QVERIFY(next.begin());
    QCOMPARE(next.folder(), folders.at(1));
    QVERIFY(!QFileInfo::exists(folders.at(2)));
    RecoveryRuns after(root);
    QVERIFY(after.begin());
    QCOMPARE(after.folder(), folders.at(0));
    QCOMPARE(runFolders(root).size(), 2);
}

void RecoveryRunsTest::endingTellsWhetherItWasTheLastRun_data() {
    QTest::addColumn<bool>("keepCopies");
    QTest::addColumn<bool>("withCopies");
    QTest::addColumn<bool>("folderStays");
    QTest::newRow("clean close") << false << true << false;
    QTest::newRow("signal, copies") << true << true << true;
    QTest::newRow("signal, nothing to keep") << true << false << false;
}

void RecoveryRunsTest::endingTellsWhetherItWasTheLastRun() {
    QFETCH(bool, keepCopies);
    QFETCH(bool, withCopies);
    QFETCH(bool, folderStays);
    QTemporaryDir dir;
    RecoveryRuns first(dir.path());
    RecoveryRuns second(dir.path());
    QVERIFY(first.begin());
    QVERIFY(second.begin());
    const QString folder = first.folder();
    if (withCopies) leaveCopy(folder, QDateTime::currentDateTimeUtc());
    QList<bool> told;
    const auto tell = [&told](bool lastRun) { told << lastRun; };
    first.end(keepCopies, tell);
    QCOMPARE(QFileInfo::exists(folder), folderStays);
    QVERIFY(first.folder().isEmpty());
    second.end(false, tell);
    QCOMPARE(told, QList<bool>({false, true}));
    QCOMPARE(runFolders(dir.path()),
             folderStays ? QStringList({QDir(folder).dirName()}) : QStringList());
}

QTEST_GUILESS_MAIN(RecoveryRunsTest)
#include "recoveryruns_test.moc"
