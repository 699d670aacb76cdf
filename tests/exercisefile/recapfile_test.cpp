#include "exercisefile/recapfile.h"
#include "exercisefile/recordfile.h"
#include "filebytes.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

recap::Fields sampleFields() {
    recap::Fields fields;
    fields.files = {QStringLiteral("enonce.rtf"), QStringLiteral("depart.P51"), QString(),
                    QString()};
    fields.difficulty = 2;
    fields.scrollValue = -7;
    fields.description = QStringLiteral("Une planète tourne.");
    fields.title = QStringLiteral("  Mouvement circulaire  ");
    fields.hourglasses = 3;
    return fields;
}

QByteArray record(const QByteArray &file, int n) {
    return file.mid((n - 1) * 128, 128);
}

// The texts of the twelve records, as the simulators read them.
QStringList recordTexts(const QByteArray &file) {
    QStringList texts;
    for (int n = 1; n <= recap::Hourglasses; ++n)
        texts << recordfile::recordText(file, n);
    return texts;
}

} // namespace

class RecapFileTest : public QObject {
    Q_OBJECT

private slots:
    void newFileIsExactlyTheRecords();
    void numbersAreWrittenAsText_data();
    void numbersAreWrittenAsText();
    void numbersReadBack_data();
    void numbersReadBack();
    void descriptionIsCutIntoPieces_data();
    void descriptionIsCutIntoPieces();
    void overwritingKeepsTrailingBytes();
    void savingOverMoreLeavesNothingOfTheOldFields();
    void tooLongTextLeavesTheFileAlone();
    void unsafeNames_data();
    void unsafeNames();
};

void RecapFileTest::newFileIsExactlyTheRecords() {
    const QByteArray file = recap::withFields({}, sampleFields()).value();
    // The file ends right after the text of record 12.
    QCOMPARE(file.size(), 11 * 128 + 2 + 2);
    QCOMPARE(record(file, 1).left(12), QByteArray("\x0a\x00"
                                                  "enonce.rtf",
                                                  12));
    QCOMPARE(record(file, 3).left(2), QByteArray("\x00\x00", 2));
    QCOMPARE(recordfile::recordText(file, 5), QStringLiteral(" 2"));
    QCOMPARE(recordfile::recordText(file, 6), QStringLiteral("-7"));
    QCOMPARE(recordfile::recordText(file, 7), QStringLiteral("Une planète tourne."));
    // The title is written as typed, blanks included.
    QCOMPARE(recordfile::recordText(file, 11), QStringLiteral("  Mouvement circulaire  "));
    QCOMPARE(recordfile::recordText(file, 12), QStringLiteral(" 3"));
    QCOMPARE(record(file, 7).at(2 + 8), char(0xe8)); // è in Windows-1252
}

void RecapFileTest::numbersAreWrittenAsText_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0 << " 0";
    QTest::newRow("two") << 2 << " 2";
    QTest::newRow("ten") << 10 << " 10";
    QTest::newRow("none selected") << -1 << "-1";
}

void RecapFileTest::numbersAreWrittenAsText() {
    QFETCH(int, value);
    QFETCH(QString, text);
    QCOMPARE(recap::formatNumber(value), text);
}

void RecapFileTest::numbersReadBack_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<long long>("value");
    QTest::newRow("stored form") << " 2" << 2LL;
    QTest::newRow("empty") << "" << 0LL;
    QTest::newRow("blanks inside") << " 1 2" << 12LL;
    QTest::newRow("negative") << "-1" << -1LL;
    QTest::newRow("stops at a letter") << "3 sabliers" << 3LL;
    QTest::newRow("half to even down") << "2.5" << 2LL;
    QTest::newRow("half to even up") << "3.5" << 4LL;
    QTest::newRow("exponent") << "1e1" << 10LL;
    QTest::newRow("not a number") << "abc" << 0LL;
    QTest::newRow("huge") << "99999999999999999999" << 0LL;
}

void RecapFileTest::numbersReadBack() {
    QFETCH(QString, text);
    QFETCH(long long, value);
    QCOMPARE(recap::parseNumber(text), value);
}

void RecapFileTest::descriptionIsCutIntoPieces_data() {
    QTest::addColumn<QString>("description");
    QTest::addColumn<QList<int>>("pieceLengths"); // records 7 to 10
    QTest::newRow("empty") << QString() << QList<int>{0, 0, 0, 0};
    QTest::newRow("120") << QString(120, QLatin1Char('a')) << QList<int>{120, 0, 0, 0};
    QTest::newRow("130") << QString(130, QLatin1Char('a')) << QList<int>{120, 10, 0, 0};
    QTest::newRow("480") << QString(480, QLatin1Char('a')) << QList<int>{120, 120, 120, 120};
    QTest::newRow("longer never reaches the title")
        << QString(500, QLatin1Char('a')) << QList<int>{120, 120, 120, 120};
}

void RecapFileTest::descriptionIsCutIntoPieces() {
    QFETCH(QString, description);
    QFETCH(QList<int>, pieceLengths);
    recap::Fields fields = sampleFields();
    fields.description = description;
    const QByteArray file = recap::withFields({}, fields).value();
    for (int i = 0; i < 4; ++i)
        QCOMPARE(recordfile::recordText(file, 7 + i).size(), pieceLengths.at(i));
    QCOMPARE(recordfile::recordText(file, 11), fields.title);
}

void RecapFileTest::overwritingKeepsTrailingBytes() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("exo.E51"));
    recap::Fields longer = sampleFields();
    longer.files[0] = QStringLiteral("un-nom-d-enonce-bien-plus-long.rtf");
    longer.title = QString(100, QLatin1Char('T'));
    QVERIFY(recap::onenregistre(path, longer));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();

    QVERIFY(recap::onenregistre(path, sampleFields()));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray after = file.readAll();
    QCOMPARE(after.size(), before.size());
    // Record 1: new length and text, then the old name's tail as it was.
    QCOMPARE(recordfile::recordText(after, 1), QStringLiteral("enonce.rtf"));
    QCOMPARE(after.mid(12, 128 - 12), before.mid(12, 128 - 12));
    QCOMPARE(recordfile::recordText(after, 11), sampleFields().title);
    QCOMPARE(record(after, 11).mid(2 + 24), record(before, 11).mid(2 + 24));
}

// Saved over an exercise that said more, the file reads as the new fields
// alone, as a new file would: the last pieces of a longer description
// included.
void RecapFileTest::savingOverMoreLeavesNothingOfTheOldFields() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("exo.E51"));
    recap::Fields more;
    for (QString &name : more.files)
        name = QString(60, QLatin1Char('n')) + QStringLiteral(".rtf");
    more.difficulty = 12345;
    more.scrollValue = -30000;
    more.description = QString(480, QLatin1Char('d'));
    more.title = QString(126, QLatin1Char('t'));
    more.hourglasses = 10000;
    QVERIFY(recap::onenregistre(path, more));
    QCOMPARE(recordfile::recordText(fileBytes(path), recap::LastDescription), QString(120, 'd'));

    const recap::Fields fewer = sampleFields();
    QVERIFY(recap::onenregistre(path, fewer));
    const QStringList texts = recordTexts(fileBytes(path));
    QCOMPARE(texts, recordTexts(recap::withFields({}, fewer).value()));
    QCOMPARE(texts.mid(recap::FirstDescription, 3), QStringList({"", "", ""})); // records 8 to 10
}

void RecapFileTest::tooLongTextLeavesTheFileAlone() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("exo.E51"));
    QVERIFY(recap::onenregistre(path, sampleFields()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    recap::Fields tooLong = sampleFields();
    tooLong.title = QString(127, QLatin1Char('x'));
    QVERIFY(!recap::onenregistre(path, tooLong));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before);
    QVERIFY(!recap::onenregistre(dir.filePath(QStringLiteral("absent/exo.E51")), sampleFields()));
}

void RecapFileTest::unsafeNames_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("plain");
    QTest::newRow("name") << "enonce.rtf" << true;
    QTest::newRow("dots inside") << "a..b.rtf" << true;
    QTest::newRow("parent") << ".." << false;
    QTest::newRow("into parent") << "../enonce.rtf" << false;
    QTest::newRow("absolute") << "/etc/passwd" << false;
    QTest::newRow("windows path") << "C:\\textes\\enonce.rtf" << false;
}

void RecapFileTest::unsafeNames() {
    QFETCH(QString, name);
    QFETCH(bool, plain);
    QCOMPARE(recap::isPlainFileName(name), plain);
}

QTEST_GUILESS_MAIN(RecapFileTest)
#include "recapfile_test.moc"
