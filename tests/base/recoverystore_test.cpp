#include "base/recoverystore.h"
#include "filebytes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

RecoveryCopy statementCopy() {
    RecoveryCopy copy;
    copy.kind = RecoveryCopy::Kind::Statement;
    copy.originalPath = QStringLiteral("/cours/énoncé.rtf");
    copy.exercisePath = QStringLiteral("/cours/chute.E51");
    copy.shown = true;
    copy.copiedAt = QDateTime(QDate(2026, 12, 8), QTime(16, 42, 5, 120), Qt::UTC);
    copy.content = QByteArray("{\\rtf1 \\'e9nonc\\'e9}");
    return copy;
}

} // namespace

class RecoveryStoreTest : public QObject {
    Q_OBJECT

private slots:
    void copiesReadBackWhole();
    void damagedCopiesAreSkipped();
    void removingTouchesOurCopiesOnly();
    void aShorterCopyLeavesNothingOfTheLongerOne();
};

void RecoveryStoreTest::copiesReadBackWhole() {
    QTemporaryDir dir;
    RecoveryStore store(dir.filePath(QStringLiteral("a/recovery")));
    QVERIFY(store.copies().isEmpty());
    RecoveryCopy nameless;
    nameless.originalPath = QStringLiteral("SANS NOM");
    nameless.shown = nameless.fromPlainText = true;
    nameless.copiedAt = QDateTime::currentDateTimeUtc();
    QVERIFY(store.write(statementCopy()));
    QVERIFY(store.write(nameless));
    QCOMPARE(store.copies(), QList<RecoveryCopy>({nameless, statementCopy()}));
    // A new copy of the same text replaces the old one.
    nameless.content = "plus tard";
    QVERIFY(store.write(nameless));
    QCOMPARE(store.copies().first().content, QByteArray("plus tard"));
    QCOMPARE(store.copies().size(), 2);

    // Where the folder cannot be made, nothing is written and nothing breaks.
    QFile blocker(dir.filePath(QStringLiteral("fichier")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    RecoveryStore blocked(blocker.fileName() + QStringLiteral("/recovery"));
    QVERIFY(!blocked.write(nameless));
    QVERIFY(blocked.copies().isEmpty());
}

void RecoveryStoreTest::damagedCopiesAreSkipped() {
    QTemporaryDir dir;
    RecoveryStore store(dir.path());
    QVERIFY(store.write(statementCopy()));
    RecoveryCopy correction = statementCopy();
    correction.kind = RecoveryCopy::Kind::Correction;
    QVERIFY(store.write(correction));
    QFile cut(dir.filePath(QStringLiteral("correction.copy")));
    QVERIFY(cut.resize(cut.size() - 3));
    QCOMPARE(store.copies(), QList<RecoveryCopy>({statementCopy()}));
    // A statement's copy put where the correction's goes is not taken for it.
    QVERIFY(QFile::remove(cut.fileName()));
    QVERIFY(QFile::copy(dir.filePath(QStringLiteral("statement.copy")), cut.fileName()));
    QCOMPARE(store.copies().size(), 1);
    QFile foreign(dir.filePath(QStringLiteral("exercise.copy")));
    QVERIFY(foreign.open(QIODevice::WriteOnly));
    foreign.write("pas une copie");
    foreign.close();
    QCOMPARE(store.copies().size(), 1);
}

void RecoveryStoreTest::removingTouchesOurCopiesOnly() {
    QTemporaryDir dir;
    RecoveryStore store(dir.path());
    RecoveryCopy fields = statementCopy();
    fields.kind = RecoveryCopy::Kind::ExerciseFields;
    QVERIFY(store.write(statementCopy()));
    QVERIFY(store.write(fields));
    QFile mine(dir.filePath(QStringLiteral("notes.rtf")));
    QVERIFY(mine.open(QIODevice::WriteOnly));
    mine.close();
    store.remove(RecoveryCopy::Kind::Statement);
    QCOMPARE(store.copies(), QList<RecoveryCopy>({fields}));
    store.removeAll();
    QVERIFY(store.copies().isEmpty());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList({"notes.rtf"}));
}

// A text cut down since the last minute: its copy is the short text, whole,
// never the short text with the end of the long one after it.
void RecoveryStoreTest::aShorterCopyLeavesNothingOfTheLongerOne() {
    QTemporaryDir dir;
    RecoveryStore store(dir.path());
    RecoveryCopy longer = statementCopy();
    longer.originalPath = QStringLiteral("/cours/un dossier au nom très long/énoncé.rtf");
    longer.content =
        QByteArray("{\\rtf1 ") + QByteArray("un long paragraphe\\par ").repeated(2000) + '}';
    QVERIFY(store.write(longer));
    QVERIFY(store.write(statementCopy()));
    QCOMPARE(fileBytes(dir.filePath(QStringLiteral("statement.copy"))),
             RecoveryStore::bytesOf(statementCopy()));
    QCOMPARE(store.copies(), QList<RecoveryCopy>({statementCopy()}));
}

QTEST_GUILESS_MAIN(RecoveryStoreTest)
#include "recoverystore_test.moc"
