#include "base/dialogs.h"

#include <QRegularExpression>
#include <QTest>

namespace {

// Whether a Qt filter entry ("description (patterns)") finds the file, with
// its patterns taken as strictly as a Linux dialog may take them.
bool finds(const QString &entry, const QString &fileName) {
    const qsizetype open = entry.lastIndexOf(QLatin1Char('('));
    const QString patterns = entry.mid(open + 1, entry.size() - open - 2);
    for (const QString &pattern : patterns.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (QRegularExpression::fromWildcard(pattern, Qt::CaseSensitive).match(fileName).hasMatch())
            return true;
    }
    return false;
}

} // namespace

class DialogsTest : public QObject {
    Q_OBJECT

private slots:
    void filtersFindFilesWhateverTheirCase_data();
    void filtersFindFilesWhateverTheirCase();
};

void DialogsTest::filtersFindFilesWhateverTheirCase_data() {
    QTest::addColumn<int>("entry");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<bool>("found");
    QTest::newRow("jpeg lower case") << 2 << "image JPEG"
                                     << "photo.jpg" << true;
    QTest::newRow("jpeg upper case") << 2 << "image JPEG"
                                     << "PHOTO.JPG" << true;
    QTest::newRow("jpeg mixed case") << 2 << "image JPEG"
                                     << "Photo.Jpg" << true;
    QTest::newRow("jpeg not a png") << 2 << "image JPEG"
                                    << "photo.png" << false;
    QTest::newRow("bitmap") << 0 << "Image bitmap(*.bmp)"
                            << "SCAN.BMP" << true;
    QTest::newRow("all: png") << 3 << "Tous (*.*)"
                              << "dessin.png" << true;
    QTest::newRow("all: svg") << 3 << "Tous (*.*)"
                              << "schema.SVG" << true;
}

void DialogsTest::filtersFindFilesWhateverTheirCase() {
    QFETCH(int, entry);
    QFETCH(QString, description);
    QFETCH(QString, fileName);
    const QStringList entries =
        qtFileFilter(
            QStringLiteral(
                "Image bitmap(*.bmp)|*.bmp|Image gif|*.gif|image JPEG|*.JPG|Tous (*.*)|*.*"))
            .split(QStringLiteral(";;"));
    QCOMPARE(entries.size(), 4);
    // The description stays as written, for the dialog to show alone.
    QVERIFY(entries.at(entry).startsWith(description + QStringLiteral(" (")));
    QTEST(finds(entries.at(entry), fileName), "found");
}

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
