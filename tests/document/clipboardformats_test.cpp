#include "document/clipboardformats.h"
#include "document/textproperties.h"
#include "rtfdocument.h"

#include <QBuffer>
#include <QImage>
#include <QMimeData>
#include <QRegularExpression>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>

namespace {

// A text in Arial with Symbol as font 1 and red, then black, in the colour
// table.
std::unique_ptr<QTextDocument> text(const QByteArray &body) {
    return read("{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\fnil\\fcharset2 Symbol;}}"
                "{\\colortbl;\\red200\\green0\\blue0;\\red0\\green0\\blue0;}\\f0\\fs20 " +
                body + "}");
}

int end(const QTextDocument &document) {
    return document.characterCount() - 1;
}

// What stands inside each <p> of the HTML, in order.
QStringList paragraphsOf(const QString &html) {
    static const QRegularExpression paragraph(QStringLiteral("<p[^>]*>(.*?)</p>"),
                                              QRegularExpression::DotMatchesEverythingOption);
    QStringList found;
    for (const QRegularExpressionMatch &match : paragraph.globalMatch(html))
        found << match.captured(1);
    return found;
}

// A picture shown at 30 x 20 px, drawn in two colours so that a picture
// turned or cut would not compare equal.
QImage twoColourPicture() {
    QImage image(12, 8, QImage::Format_ARGB32);
    image.fill(qRgb(0, 128, 255));
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 6; ++x)
            image.setPixel(x, y, qRgb(255, 200, 0));
    }
    return image;
}

void insertPicture(QTextCursor &cursor, const QImage &image) {
    const QString name = textprops::newImageName();
    cursor.document()->addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat format;
    format.setName(name);
    format.setWidth(30);
    format.setHeight(20);
    cursor.insertImage(format);
}

} // namespace

class ClipboardFormatsTest : public QObject {
    Q_OBJECT

private slots:
    void charactersKeepTheirLook_data();
    void charactersKeepTheirLook();
    void symbolGlyphsInThePrivateAreaBecomeLetters();
    void controlCharactersAreLeftOut();
    void picturesGoOnlyIntoHtml();
    void aPictureKeepsTheBytesItWasReadIn_data();
    void aPictureKeepsTheBytesItWasReadIn();
    void onlyTheRangeIsTaken();
    void theThreeFormatsTogether();
};

void ClipboardFormatsTest::charactersKeepTheirLook_data() {
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("plain");
    QTest::addColumn<QString>("html");
    QTest::newRow("Greek letters of the Symbol font")
        << QByteArray("{\\f1 n} = c / {\\f1 l}, {\\f1\\'b4} {\\f1 a}")
        << QStringLiteral("ν = c / λ, × α") << QStringLiteral("ν = c / λ, × α");
    QTest::newRow("exponent") << QByteArray("m{\\up6 2}") << QStringLiteral("m2")
                              << QStringLiteral("m<sup>2</sup>");
    QTest::newRow("index") << QByteArray("H{\\dn4 2}O") << QStringLiteral("H2O")
                           << QStringLiteral("H<sub>2</sub>O");
    QTest::newRow("raised Greek letter")
        << QByteArray("10{\\up6\\f1 -a}") << QStringLiteral("10\u2212α")
        << QStringLiteral("10<sup>\u2212α</sup>");
    QTest::newRow("colour, black left to the reader")
        << QByteArray("{\\cf1 rouge} {\\cf2 noir}") << QStringLiteral("rouge noir")
        << QStringLiteral("<span style=\"color:#c80000\">rouge</span> noir");
    QTest::newRow("bold, italic, underline")
        << QByteArray("{\\b gras} {\\i pench\\'e9} {\\ul soulign\\'e9} {\\b\\i\\ul tout}")
        << QStringLiteral("gras penché souligné tout")
        << QStringLiteral("<b>gras</b> <i>penché</i> <u>souligné</u> <b><i><u>tout</u></i></b>");
    QTest::newRow("one look over runs of two sizes")
        << QByteArray("{\\b\\fs20 ab}{\\b\\fs28 cd}") << QStringLiteral("abcd")
        << QStringLiteral("<b>abcd</b>");
    QTest::newRow("red index") << QByteArray("SO{\\cf1\\dn4 4}") << QStringLiteral("SO4")
                               << QStringLiteral(
                                      "SO<span style=\"color:#c80000\"><sub>4</sub></span>");
    QTest::newRow("characters HTML gives a meaning to")
        << QByteArray("a < b & c > \"d\" <script>") << QStringLiteral("a < b & c > \"d\" <script>")
        << QStringLiteral("a &lt; b &amp; c &gt; &quot;d&quot; &lt;script&gt;");
    QTest::newRow("line break") << QByteArray("un\\line deux") << QStringLiteral("un\ndeux")
                                << QStringLiteral("un<br>deux");
}

void ClipboardFormatsTest::charactersKeepTheirLook() {
    QFETCH(QByteArray, body);
    QFETCH(QString, plain);
    QFETCH(QString, html);
    const auto document = text(body);
    QCOMPARE(clipboardformats::plainText(*document, 0, end(*document)), plain);
    QCOMPARE(paragraphsOf(clipboardformats::html(*document, 0, end(*document))), QStringList{html});
}

// Text pasted from programs that keep the Symbol font's glyphs at U+F000 +
// code; another font's glyphs there mean nothing to us and stay.
void ClipboardFormatsTest::symbolGlyphsInThePrivateAreaBecomeLetters() {
    QTextDocument document;
    QTextCursor cursor(&document);
    QTextCharFormat symbol;
    textprops::setFontName(symbol, QStringLiteral("Symbol"));
    cursor.insertText(QStringLiteral("\uF061\uF062"), symbol);
    QTextCharFormat other;
    textprops::setFontName(other, QStringLiteral("Wingdings"));
    cursor.insertText(QStringLiteral("\uF061"), other);
    QCOMPARE(clipboardformats::plainText(document, 0, 3), QStringLiteral("αβ\uF061"));
    QCOMPARE(paragraphsOf(clipboardformats::html(document, 0, 3)),
             QStringList{QStringLiteral("αβ\uF061")});
}

// A DEL pasted into a terminal would erase; a tab is kept.
void ClipboardFormatsTest::controlCharactersAreLeftOut() {
    QTextDocument document;
    QTextCursor(&document).insertText(QStringLiteral("a\u007Fb\u0001c\u0085d\te"));
    QCOMPARE(clipboardformats::plainText(document, 0, 9), QStringLiteral("abcd\te"));
    QCOMPARE(paragraphsOf(clipboardformats::html(document, 0, 9)),
             QStringList{QStringLiteral("abcd\te")});
}

void ClipboardFormatsTest::picturesGoOnlyIntoHtml() {
    QTextDocument document;
    QTextCursor cursor(&document);
    cursor.insertText(QStringLiteral("avant "));
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    cursor.insertText(QStringLiteral("gras"), bold);
    const QImage picture = twoColourPicture();
    insertPicture(cursor, picture);
    cursor.insertText(QStringLiteral(" après"), QTextCharFormat());

    QCOMPARE(clipboardformats::plainText(document, 0, end(document)),
             QStringLiteral("avant gras après"));
    const QStringList paragraphs = paragraphsOf(clipboardformats::html(document, 0, end(document)));
    QCOMPARE(paragraphs.size(), 1);
    static const QRegularExpression image(QStringLiteral(
        "^avant <b>gras</b><img src=\"data:image/png;base64,([A-Za-z0-9+/=]+)\" width=\"30\" "
        "height=\"20\"[^>]*> après$"));
    const QRegularExpressionMatch match = image.match(paragraphs[0]);
    QVERIFY2(match.hasMatch(), qPrintable(paragraphs[0].left(200)));
    const QImage decoded =
        QImage::fromData(QByteArray::fromBase64(match.captured(1).toLatin1()), "PNG");
    QCOMPARE(decoded.convertToFormat(QImage::Format_ARGB32), picture);

    // A picture alone: nothing for plain text.
    QCOMPARE(clipboardformats::plainText(document, 10, 11), QString());
    QVERIFY(clipboardformats::html(document, 10, 11).contains(QLatin1String("<img ")));
}

void ClipboardFormatsTest::aPictureKeepsTheBytesItWasReadIn_data() {
    QTest::addColumn<QByteArray>("kind");
    QTest::addColumn<int>("shownWidthPx"); // 0: none set, the picture's own size is taken
    QTest::addColumn<QString>("size");
    QTest::newRow("photo") << QByteArray("jpeg") << 30
                           << QStringLiteral("width=\"30\" height=\"20\"");
    QTest::newRow("drawing at its own size")
        << QByteArray("png") << 0 << QStringLiteral("width=\"12\" height=\"8\"");
}

// A photo stays the JPEG it came in, not a PNG many times larger.
void ClipboardFormatsTest::aPictureKeepsTheBytesItWasReadIn() {
    QFETCH(QByteArray, kind);
    QFETCH(int, shownWidthPx);
    QFETCH(QString, size);
    QByteArray kept;
    QBuffer buffer(&kept);
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(twoColourPicture().save(&buffer, kind.constData()));
    QTextDocument document;
    const QString name = textprops::newImageName();
    document.addResource(QTextDocument::ImageResource, QUrl(name), QImage::fromData(kept));
    QTextImageFormat format;
    format.setName(name);
    if (shownWidthPx > 0) {
        format.setWidth(shownWidthPx);
        format.setHeight(shownWidthPx * 2 / 3);
    }
    format.setProperty(textprops::PictureBytes, kept);
    format.setProperty(textprops::PictureKind, QString::fromLatin1(kind));
    QTextCursor(&document).insertImage(format);
    const QString expected = QLatin1String("<img src=\"data:image/") + QLatin1String(kind) +
                             QLatin1String(";base64,") + QLatin1String(kept.toBase64()) +
                             QLatin1String("\" ") + size;
    const QStringList paragraphs = paragraphsOf(clipboardformats::html(document, 0, 1));
    QCOMPARE(paragraphs.size(), 1);
    QVERIFY2(paragraphs[0].startsWith(expected), qPrintable(paragraphs[0].left(200)));
}

void ClipboardFormatsTest::onlyTheRangeIsTaken() {
    const auto document =
        text("un deux\\par\\par{\\cf1 trois} quatre\\par\\qc centr\\'e9\\par\\pard cinq\\par");
    const int twoStarts = 3;
    const int fourEnds = int(document->toPlainText().indexOf(QLatin1String("quatre"))) + 6;
    QCOMPARE(clipboardformats::plainText(*document, twoStarts, fourEnds),
             QStringLiteral("deux\n\ntrois quatre"));
    QCOMPARE(paragraphsOf(clipboardformats::html(*document, twoStarts, fourEnds)),
             (QStringList{QStringLiteral("deux"), QStringLiteral("<br>"),
                          QStringLiteral("<span style=\"color:#c80000\">trois</span> quatre")}));

    // Up to the start of a paragraph: its mark before it, none of it.
    const QTextBlock centred = document->findBlockByNumber(3);
    QCOMPARE(clipboardformats::plainText(*document, fourEnds, centred.position()),
             QStringLiteral("\n"));
    QCOMPARE(paragraphsOf(clipboardformats::html(*document, twoStarts, centred.position())).size(),
             3);

    // The paragraph's alignment goes with it.
    const QString html = clipboardformats::html(*document, centred.position(), end(*document));
    QVERIFY2(html.contains(QRegularExpression(QStringLiteral("<p [^>]*text-align:center[^>]*>"
                                                             "centré</p>"))),
             qPrintable(html));
    QVERIFY(!html.contains(QRegularExpression(QStringLiteral("text-align[^>]*>cinq"))));

    for (const auto &[from, to] : {std::pair{4, 4}, std::pair{7, 2}}) {
        QCOMPARE(clipboardformats::plainText(*document, from, to), QString());
        QCOMPARE(clipboardformats::html(*document, from, to), QString());
    }
    // Past the end of the text: what there is.
    QCOMPARE(clipboardformats::plainText(*document, end(*document) - 4, end(*document) + 50),
             QStringLiteral("cinq"));
}

void ClipboardFormatsTest::theThreeFormatsTogether() {
    const auto document = text("avant {\\b\\f1 n{\\up6 2}} apr\\'e8s");
    const std::unique_ptr<QMimeData> data(clipboardformats::mimeData(*document, 6, 8));
    QCOMPARE(data->formats(), (QStringList{QStringLiteral("text/rtf"), QStringLiteral("text/plain"),
                                           QStringLiteral("text/plain;charset=utf-8"),
                                           QStringLiteral("text/html")}));
    QCOMPARE(data->text(), QStringLiteral("ν2"));
    QCOMPARE(data->data(QStringLiteral("text/plain;charset=utf-8")), QStringLiteral("ν2").toUtf8());
    const QStringList paragraphs = paragraphsOf(data->html());
    QCOMPARE(paragraphs.size(), 1);
    QVERIFY2(paragraphs[0].startsWith(QStringLiteral("<b>ν")), qPrintable(paragraphs[0]));
    QVERIFY2(paragraphs[0].contains(QLatin1String("<sup>2</sup>")), qPrintable(paragraphs[0]));
    const auto pasted = read(data->data(QStringLiteral("text/rtf")));
    QCOMPARE(pasted->toPlainText(), QStringLiteral("ν2"));
}

QTEST_MAIN(ClipboardFormatsTest)
#include "clipboardformats_test.moc"
