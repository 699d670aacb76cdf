#include "document/layoutheight.h"

#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QImage>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

// The estimate decides which documents Qt may lay out: below the real
// height, a document could pass and then never finish its layout.
class LayoutHeightTest : public QObject {
    Q_OBJECT

private slots:
    void neverBelowTheLaidOutHeight_data();
    void neverBelowTheLaidOutHeight();
    void tallDocumentsDoNotFit();
};

void LayoutHeightTest::neverBelowTheLaidOutHeight_data() {
    QTest::addColumn<QString>("shape");
    for (const char *shape :
         {"short lines", "one long paragraph", "huge letters", "mixed sizes", "pictures",
          "wide pictures after text", "empty paragraphs", "wide characters"})
        QTest::newRow(shape) << QString::fromLatin1(shape);
}

void LayoutHeightTest::neverBelowTheLaidOutHeight() {
    QFETCH(QString, shape);
    QTextDocument document;
    document.setDefaultFont(QFont(QStringLiteral("Arial"), 10));
    QTextCursor cursor(&document);
    QTextCharFormat big;
    big.setFontPointSize(400);
    if (shape == QLatin1String("short lines")) {
        for (int i = 0; i < 300; ++i)
            cursor.insertText(QStringLiteral("Ligne %1\n").arg(i));
    } else if (shape == QLatin1String("one long paragraph")) {
        cursor.insertText(QStringLiteral("Une solution de sulfate de cuivre, ").repeated(500));
    } else if (shape == QLatin1String("huge letters")) {
        for (int i = 0; i < 20; ++i)
            cursor.insertText(QStringLiteral("MW\n"), big);
    } else if (shape == QLatin1String("mixed sizes")) {
        for (int i = 0; i < 50; ++i) {
            cursor.insertText(QStringLiteral("petit texte avant "));
            cursor.insertText(QStringLiteral("G"), big);
            cursor.insertText(QStringLiteral(" et après\n"));
        }
    } else if (shape == QLatin1String("pictures")) {
        document.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("p")),
                             QImage(600, 900, QImage::Format_RGB32));
        QTextImageFormat picture;
        picture.setName(QStringLiteral("p"));
        picture.setWidth(600);
        picture.setHeight(900);
        for (int i = 0; i < 10; ++i)
            cursor.insertImage(picture);
    } else if (shape == QLatin1String("wide pictures after text")) {
        document.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("w")),
                             QImage(2000, 300, QImage::Format_RGB32));
        QTextImageFormat picture;
        picture.setName(QStringLiteral("w"));
        picture.setWidth(2000);
        picture.setHeight(300);
        for (int i = 0; i < 10; ++i) {
            cursor.insertText(QStringLiteral("Figure %1 : ").arg(i));
            cursor.insertImage(picture);
        }
    } else if (shape == QLatin1String("empty paragraphs")) {
        for (int i = 0; i < 2000; ++i)
            cursor.insertBlock();
    } else {
        cursor.insertText(QString(3000, QChar(0x6c34))); // 水, full width
    }
    const double estimate = layoutheight::estimatedPx(document);
    document.setTextWidth(layoutheight::narrowestLinePx);
    const double laidOut = document.documentLayout()->documentSize().height();
    // The limit leaves room under Qt's for estimates up to a quarter low.
    QVERIFY2(
        laidOut * 0.75 <= estimate,
        qPrintable(QStringLiteral("laid out %1 px, estimated %2 px").arg(laidOut).arg(estimate)));
}

void LayoutHeightTest::tallDocumentsDoNotFit() {
    QTextDocument document;
    QTextCursor cursor(&document);
    for (int i = 0; i < 400'000; ++i)
        cursor.insertBlock();
    QVERIFY(!layoutheight::fits(document));
    QTextDocument small;
    QTextCursor smallCursor(&small);
    for (int i = 0; i < 1000; ++i)
        smallCursor.insertText(QStringLiteral("Une ligne\n"));
    QVERIFY(layoutheight::fits(small));
}

QTEST_MAIN(LayoutHeightTest)
#include "layoutheight_test.moc"
