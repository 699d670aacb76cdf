#include "format/colourpalette.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {

QWidget *cell(const ColourPalette &palette, int index) {
    return palette.findChild<QWidget *>(QStringLiteral("Label1(%1)").arg(index));
}

QPushButton *cancelButton(const ColourPalette &palette) {
    return palette.findChild<QPushButton *>(QStringLiteral("Command1"));
}

} // namespace

class ColourPaletteTest : public QObject {
    Q_OBJECT

private slots:
    void childrenSitOnTheTwipGrid_data();
    void childrenSitOnTheTwipGrid();
    void clickChoosesTheCellColour_data();
    void clickChoosesTheCellColour();
    void cancelChoosesNothing();
};

void ColourPaletteTest::childrenSitOnTheTwipGrid_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometryPx");
    QTest::newRow("first cell") << "Label1(0)" << QRect(8, 8, 17, 17);
    QTest::newRow("second row") << "Label1(1)" << QRect(8, 32, 17, 17);
    QTest::newRow("second column") << "Label1(8)" << QRect(32, 8, 17, 17);
    QTest::newRow("last cell") << "Label1(47)" << QRect(128, 176, 17, 17);
    QTest::newRow("Annuler") << "Command1" << QRect(8, 200, 137, 21);
}

// The grid keeps its drawn layout; a dialog widened for its title holds it
// in its middle.
void ColourPaletteTest::childrenSitOnTheTwipGrid() {
    QFETCH(QString, name);
    QFETCH(QRect, geometryPx);
    ColourPalette palette;
    const QSize drawnPx(153, 229);
    QCOMPARE(palette.height(), drawnPx.height());
    QVERIFY(palette.width() >= drawnPx.width());
    const int shiftPx = (palette.width() - drawnPx.width()) / 2;
    const QWidget *child = palette.findChild<QWidget *>(name);
    QVERIFY(child);
    QCOMPARE(child->geometry(), geometryPx.translated(shiftPx, 0));
    QVERIFY(palette.rect().contains(child->geometry()));
}

void ColourPaletteTest::clickChoosesTheCellColour_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("white") << 0 << QColor(255, 255, 255);
    QTest::newRow("row 5, column 0") << 5 << QColor(192, 255, 255);
    QTest::newRow("row 2, column 1") << 10 << QColor(255, 192, 128);
    QTest::newRow("row 1, column 3") << 25 << QColor(192, 0, 0);
    QTest::newRow("last") << 47 << QColor(64, 0, 64);
}

void ColourPaletteTest::clickChoosesTheCellColour() {
    QFETCH(int, index);
    QFETCH(QColor, colour);
    const QRgb rgb = colour.rgb() & 0xFFFFFF;
    ColourPalette palette;
    palette.show();
    QWidget *target = cell(palette, index);
    QVERIFY(target);
    QCOMPARE(target->palette().color(QPalette::Window), colour);

    QTest::mouseClick(target, Qt::RightButton);
    QVERIFY(palette.isVisible());
    QTest::mouseClick(target, Qt::LeftButton);
    QCOMPARE(palette.result(), int(QDialog::Accepted));
    QVERIFY(!palette.isVisible());
    QCOMPARE(palette.chosenColour(), std::optional<QRgb>(rgb));
}

void ColourPaletteTest::cancelChoosesNothing() {
    ColourPalette palette;
    palette.show();
    QPushButton *cancel = cancelButton(palette);
    QVERIFY(cancel);
    QCOMPARE(cancel->text(), QStringLiteral("Annuler"));
    QTest::mouseClick(cancel, Qt::LeftButton);
    QCOMPARE(palette.result(), int(QDialog::Rejected));
    QCOMPARE(palette.chosenColour(), std::nullopt);
}

QTEST_MAIN(ColourPaletteTest)
#include "colourpalette_test.moc"
