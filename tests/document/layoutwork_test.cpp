#include "document/layoutwork.h"

#include <QGuiApplication>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

// The estimate decides which texts Qt may lay out: too high, an exercise is
// refused; too low, a paragraph freezes the editor for minutes.
class LayoutWorkTest : public QObject {
    Q_OBJECT

private slots:
    void paragraphsThatFit_data();
    void paragraphsThatFit();
};

void LayoutWorkTest::paragraphsThatFit_data() {
    QTest::addColumn<QString>("shape");
    QTest::addColumn<bool>("fits");
    // What exercises hold: formulas with their indices and exponents, long
    // prose, a long name, text with no spaces but breaks between its signs.
    QTest::newRow("formulas") << QStringLiteral("formulas") << true;
    QTest::newRow("long prose") << QStringLiteral("prose") << true;
    QTest::newRow("a 300-letter word") << QStringLiteral("long word") << true;
    QTest::newRow("Chinese, 20,000 signs") << QStringLiteral("chinese") << true;
    QTest::newRow("pictures") << QStringLiteral("pictures") << true;
    // What hostile files hold: each took Qt from seconds to minutes.
    QTest::newRow("20,000 changes between words") << QStringLiteral("changes") << false;
    QTest::newRow("2,000 changes in one word") << QStringLiteral("changing word") << false;
    QTest::newRow("a word of 200,000 letters") << QStringLiteral("huge word") << false;
}

void LayoutWorkTest::paragraphsThatFit() {
    QFETCH(QString, shape);
    QFETCH(bool, fits);
    QTextDocument document;
    document.setUndoRedoEnabled(false);
    QTextCursor cursor(&document);
    // As the reader builds a text: one edit, or Qt tidies after each insertion.
    cursor.beginEditBlock();
    QTextCharFormat plain;
    plain.setFontPointSize(12);
    QTextCharFormat other = plain;
    other.setFontItalic(true);
    QTextCharFormat index = plain;
    index.setFontPointSize(8);
    if (shape == QLatin1String("formulas")) {
        // 300 formulas in one paragraph: 1,200 runs.
        for (int i = 0; i < 300; ++i) {
            cursor.insertText(QStringLiteral("H"), plain);
            cursor.insertText(QStringLiteral("2"), index);
            cursor.insertText(QStringLiteral("SO"), plain);
            cursor.insertText(QStringLiteral("4"), index);
            cursor.insertText(QStringLiteral(" + "), plain);
        }
    } else if (shape == QLatin1String("prose")) {
        cursor.insertText(QStringLiteral("Une solution de sulfate de cuivre, ").repeated(3000),
                          plain);
    } else if (shape == QLatin1String("long word")) {
        cursor.insertText(QString(300, u'x'), plain);
    } else if (shape == QLatin1String("chinese")) {
        cursor.insertText(QString(20'000, QChar(0x6c34)), plain); // 水
    } else if (shape == QLatin1String("pictures")) {
        QTextImageFormat picture;
        picture.setWidth(600);
        picture.setHeight(900);
        for (int i = 0; i < 100; ++i)
            cursor.insertImage(picture);
    } else if (shape == QLatin1String("changes")) {
        for (int i = 0; i < 20'000; ++i) {
            cursor.insertText(QStringLiteral("a"), other);
            cursor.insertText(QStringLiteral(" "), plain);
        }
    } else if (shape == QLatin1String("changing word")) {
        for (int i = 0; i < 2'000; ++i) {
            cursor.insertText(QStringLiteral("a"), other);
            cursor.insertText(QStringLiteral("b"), plain);
        }
    } else {
        cursor.insertText(QString(200'000, u'a'), plain);
    }
    cursor.endEditBlock();
    QCOMPARE(document.blockCount(), 1);
    const double steps = layoutwork::paragraphSteps(document.begin());
    QVERIFY2(layoutwork::fits(document) == fits, qPrintable(QStringLiteral("%1 steps").arg(steps)));
    // Real paragraphs stay far under the limit, so that a slower estimate of
    // a real one never reaches it.
    if (fits) QVERIFY(steps < layoutwork::maxParagraphSteps / 10);
}

QTEST_MAIN(LayoutWorkTest)
#include "layoutwork_test.moc"
