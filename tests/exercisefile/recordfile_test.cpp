#include "exercisefile/moduletable.h"
#include "exercisefile/recordfile.h"
#include "filebytes.h"

#include <QTemporaryDir>
#include <QTest>
#include <limits>

class RecordFileTest : public QObject {
    Q_OBJECT

private slots:
    void recordsKeepTheirLayout();
    void shortAndMissingRecordsReadEmpty();
    void textsTooLongAreRefused();
    void aRecordWrittenOverALongerOneHoldsTheNewTextOnly();
    void modulesAndPatterns_data();
    void modulesAndPatterns();
};

void RecordFileTest::recordsKeepTheirLayout() {
    QByteArray file(3 * 128, 'z');
    QVERIFY(recordfile::setRecordText(file, 2, QStringLiteral("é€")));
    // Length 2, little-endian, then the Windows-1252 bytes; the rest untouched.
    QCOMPARE(file.mid(128, 4), QByteArray("\x02\x00\xe9\x80", 4));
    QCOMPARE(file.mid(132), QByteArray(3 * 128 - 132, 'z'));
    QCOMPARE(recordfile::recordText(file, 2), QStringLiteral("é€"));

    // A record past the end grows the file just to the end of its text.
    QByteArray empty;
    QVERIFY(recordfile::setRecordText(empty, 5, QStringLiteral("OUI")));
    QCOMPARE(empty.size(), 4 * 128 + 2 + 3);
    QCOMPARE(recordfile::recordText(empty, 1), QString());
    // Characters outside the code page are written as '?'.
    QVERIFY(recordfile::setRecordText(empty, 1, QStringLiteral("α=1")));
    QCOMPARE(recordfile::recordText(empty, 1), QStringLiteral("?=1"));
}

void RecordFileTest::shortAndMissingRecordsReadEmpty() {
    QByteArray file;
    recordfile::setRecordText(file, 1, QStringLiteral("abcdef"));
    QCOMPARE(recordfile::recordText(file.left(5), 1), QStringLiteral("abc"));
    QCOMPARE(recordfile::recordText(file.left(1), 1), QString());
    QCOMPARE(recordfile::recordText(file, 12), QString());
    QCOMPARE(recordfile::recordText(file, 0), QString());
    // Numbers no file has, computed without overflow.
    QCOMPARE(recordfile::recordText(file, std::numeric_limits<int>::min()), QString());
    QCOMPARE(recordfile::recordText(file, std::numeric_limits<int>::max()), QString());
}

void RecordFileTest::textsTooLongAreRefused() {
    QByteArray file;
    QVERIFY(recordfile::setRecordText(file, 1, QString(126, QLatin1Char('a'))));
    const QByteArray before = file;
    QVERIFY(!recordfile::setRecordText(file, 1, QString(127, QLatin1Char('a'))));
    QCOMPARE(file, before);
}

// The flag file another program left may say more in the record, and hold
// more records, than we write: the record reads as our text alone, and the
// others stay as they were.
void RecordFileTest::aRecordWrittenOverALongerOneHoldsTheNewTextOnly() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("TEMPts.tmp"));
    QByteArray old;
    for (int record = 1; record <= 14; ++record)
        QVERIFY(recordfile::setRecordText(old, record,
                                          QStringLiteral("ancien %1 ").arg(record).repeated(10)));
    writeFileBytes(path, old);
    QVERIFY(recordfile::writeRecordToFile(path, 5, QStringLiteral("NON")));
    const QByteArray file = fileBytes(path);
    QCOMPARE(recordfile::recordText(file, 5), QStringLiteral("NON"));
    QCOMPARE(file.size(), old.size());
    for (int record = 1; record <= 14; ++record) {
        if (record != 5)
            QCOMPARE(recordfile::recordText(file, record), recordfile::recordText(old, record));
    }
    QVERIFY(!recordfile::writeRecordToFile(dir.filePath(QStringLiteral("absent/TEMPts.tmp")), 5,
                                           QStringLiteral("OUI")));
}

void RecordFileTest::modulesAndPatterns_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QString>("pattern");
    QTest::newRow("first") << "Simulateur A"
                           << "E51"
                           << "*.P51";
    QTest::newRow("third") << "Simulateur C"
                           << "E53"
                           << "*.P53";
    QTest::newRow("C pattern") << "Simulateur E"
                               << "E55"
                               << "*.C55";
    QTest::newRow("last") << "Simulateur O"
                          << "E65"
                          << "*.C65";
}

void RecordFileTest::modulesAndPatterns() {
    QFETCH(QString, name);
    QFETCH(QString, extension);
    QFETCH(QString, pattern);
    QCOMPARE(moduleExtension(name).value_or(QString()), extension);
    QString found = QStringLiteral("unchanged");
    terminaison(extension, found);
    QCOMPARE(found, pattern);
    // Names and extensions match exactly: case counts.
    QVERIFY(!moduleExtension(name.toLower()));
    QString kept = QStringLiteral("unchanged");
    terminaison(extension.toLower(), kept);
    QCOMPARE(kept, QStringLiteral("unchanged"));
}

QTEST_GUILESS_MAIN(RecordFileTest)
#include "recordfile_test.moc"
