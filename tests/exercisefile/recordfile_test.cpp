#include "exercisefile/moduletable.h"
#include "exercisefile/recordfile.h"

#include <QTest>
#include <limits>

class RecordFileTest : public QObject {
    Q_OBJECT

private slots:
    void recordsKeepTheirLayout();
    void shortAndMissingRecordsReadEmpty();
    void textsTooLongAreRefused();
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

QTEST_MAIN(RecordFileTest)
#include "recordfile_test.moc"
