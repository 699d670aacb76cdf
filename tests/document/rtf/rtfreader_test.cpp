#include "document/rtf/rtfreader.h"
#include "document/textproperties.h"
#include "imagebytes.h"

#include <QFile>
#include <QImage>
#include <QRandomGenerator>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QTextList>
#include <QUrl>
#include <memory>

namespace {

std::unique_ptr<QTextDocument> newDocument() {
    auto document = std::make_unique<QTextDocument>();
    document->setDefaultFont(QFont(QStringLiteral("Courier New"), 11));
    return document;
}

RtfReadResult readInto(QTextDocument &document, const QByteArray &rtf,
                       RtfInsertMode mode = RtfInsertMode::WholeDocument) {
    QTextCursor cursor(&document);
    return readRtf(rtf, cursor, mode);
}

// Paragraphs joined by '\n', characters as stored.
QString blockTexts(const QTextDocument &document) {
    QStringList texts;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        texts << block.text();
    return texts.join(u'\n');
}

QString readText(const QByteArray &rtf) {
    auto document = newDocument();
    readInto(*document, rtf);
    return blockTexts(*document);
}

// The format of the run (maximal stretch of one format) that is exactly text.
std::optional<QTextCharFormat> runFormat(const QTextDocument &document, int blockNumber,
                                         const QString &text) {
    const QTextBlock block = document.findBlockByNumber(blockNumber);
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        if (it.fragment().text() == text) return it.fragment().charFormat();
    }
    return std::nullopt;
}

QTextCharFormat formatAt(const QTextDocument &document, int position) {
    QTextCursor cursor(const_cast<QTextDocument *>(&document));
    cursor.setPosition(position + 1);
    return cursor.charFormat();
}

QImage resourceImage(const QTextDocument &document, const QTextImageFormat &format) {
    return document.resource(QTextDocument::ImageResource, QUrl(format.name())).value<QImage>();
}

QImage smallImage() {
    QImage image(4, 2, QImage::Format_RGB32);
    image.fill(Qt::red);
    image.setPixel(0, 0, qRgb(0, 0, 255));
    return image;
}

// Hex split by line ends and a few spaces, as writers do.
QByteArray looseHex(const QByteArray &bytes) {
    QByteArray hex = bytes.toHex();
    for (qsizetype at = hex.size() - (hex.size() % 16); at > 0; at -= 16)
        hex.insert(at, at % 32 == 0 ? "\r\n" : " ");
    return hex;
}

QByteArray fixture(const char *name) {
    QFile file(QStringLiteral(REDIGO_FIXTURES "/") + QLatin1String(name));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

const QByteArray richEditDocument =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1036{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
    "{\\f1\\froman\\fcharset2 Symbol;}}\r\n"
    "{\\colortbl ;\\red0\\green0\\blue200;}\r\n"
    "\\viewkind4\\uc1\\pard\\qc\\li300\\tx1200\\cf1\\b\\f0\\fs24 Titre\\b0\\par\r\n"
    "\\pard\\li300\\ri150\\fi-150\\tqr\\tx2400\\cf0\\fs20 Vitesse\\tab v = 3\\up6 2\\up0  m.s\\dn4 "
    "-1\\dn0  \\f1 a\\'b3\\f0  \\protect fixe\\protect0\\par\r\n"
    "{\\pntext\\f1\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb\\'b7}}\\fi-200\\li200 "
    "premier\\par\r\n"
    "{\\pntext\\f1\\'b7\\tab}second\\par\r\n"
    "\\pard\\i fin\\i0\\par\r\n"
    "}\r\n";

} // namespace

class RtfReaderTest : public QObject {
    Q_OBJECT

private slots:
    void text_data();
    void text();
    void problems_data();
    void problems();
    void nestedGroupsRestoreFormat();
    void fontsAsRead_data();
    void fontsAsRead();
    void richEditRuns_data();
    void richEditRuns();
    void richEditParagraphs();
    void offsets_data();
    void offsets();
    void finalParagraph_data();
    void finalParagraph();
    void fragmentKeepsHostParagraph();
    void wholeDocumentSetsFirstBlock();
    void listsFromListOverrides();
    void pictures_data();
    void pictures();
    void undecodablePictureKeepsGroup();
    void objectKeepsGroup();
    void deepNesting();
    void damagedInputIsSafe();
    void libreOfficeFormats();
    void libreOfficeTable();
};

void RtfReaderTest::text_data() {
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");

    QTest::newRow("unicode, default skip") << QByteArray("{\\rtf1 caf\\u233?s}") << "cafés";
    QTest::newRow("uc0") << QByteArray("{\\rtf1\\uc0 \\u233 s}") << "és";
    QTest::newRow("uc2 with hex") << QByteArray("{\\rtf1\\uc2 \\u8364\\'80\\'80x}") << "€x";
    QTest::newRow("uc2 with text") << QByteArray("{\\rtf1\\uc2 \\u8364 ab c}") << "€ c";
    QTest::newRow("uc kept per group")
        << QByteArray("{\\rtf1 {\\uc2 \\u8364 ab}\\u8364 ac}") << "€€c";
    QTest::newRow("skip ends with group") << QByteArray("{\\rtf1\\uc3 \\u8364 a}b}") << "€b";
    QTest::newRow("negative unicode") << QByteArray("{\\rtf1 \\u-4064?}") << QString(QChar(0xF020));
    QTest::newRow("surrogate pair")
        << QByteArray("{\\rtf1 \\u-10179?\\u-8704?}") << QString::fromUtf8("😀");
    QTest::newRow("lone surrogate") << QByteArray("{\\rtf1 \\u-10179?x}") << "\uFFFDx";
    QTest::newRow("windows-1252 high bytes")
        << QByteArray("{\\rtf1\\ansi\\ansicpg1252 \\'80\\'9c\\'85\\'e9}") << "€œ…é";
    QTest::newRow("symbol by charset")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset2 Symbol;}}\\f1 a\\'b3p\\f0 a}")
        << "α≥πa";
    QTest::newRow("symbol by name")
        << QByteArray("{\\rtf1{\\fonttbl\\f0 Arial;\\f1 Symbol;}\\f1 D\\'b4}") << "Δ×";
    QTest::newRow("symbol private use") << QByteArray("{\\rtf1{\\fonttbl{\\f1\\fcharset2 Symbol;}}"
                                                      "\\f1\\u61617\\'b1}")
                                        << "±";
    QTest::newRow("unknown starred group")
        << QByteArray("{\\rtf1 a{\\*\\unknown hidden {nested \\par}}b}") << "ab";
    // As older office suites write character styles: \* after other words
    // marks nothing, and the group's text stays.
    QTest::newRow("star inside a group")
        << QByteArray("{\\rtf1{\\loch\\f2\\i0\\b0\\*\\cs7\\cf0 The quick brown fox}}")
        << "The quick brown fox";
    QTest::newRow("unknown word starred inside a group")
        << QByteArray("{\\rtf1 a{\\b\\*\\unknownword b}c}") << "abc";
    QTest::newRow("non-text destinations")
        << QByteArray("{\\rtf1{\\info{\\title T}}{\\stylesheet{\\s0 Normal;}}{\\header h}"
                      "{\\listoverridetable{\\listoverride\\ls1}}x}")
        << "x";
    QTest::newRow("unknown words") << QByteArray("{\\rtf1\\foo\\bar12 a\\baz-3 b}") << "ab";
    QTest::newRow("special characters")
        << QByteArray("{\\rtf1 a\\~b\\-c\\_d\\emdash\\endash\\bullet\\lquote\\rquote"
                      "\\ldblquote\\rdblquote\\tab e\\line f}")
        << "a\u00A0b\u00ADc\u2011d\u2014\u2013\u2022\u2018\u2019\u201C\u201D\te\u2028f";
    QTest::newRow("escapes") << QByteArray("{\\rtf1 \\\\\\{\\}}") << "\\{}";
    QTest::newRow("field shows its result")
        << QByteArray("{\\rtf1 {\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt lien}}}") << "lien";
    QTest::newRow("table") << QByteArray("{\\rtf1 \\trowd\\cellx1000\\cellx2000 a\\cell b\\cell"
                                         "\\row c\\par}")
                           << "a\tb\t\nc";
    // Row properties given again before \row, as LibreOffice writes them,
    // change nothing of the cells' text already read.
    QTest::newRow("row properties again before the row")
        << QByteArray("{\\rtf1 \\trowd\\trqc\\cellx4000\\cellx8199 \\pard\\intbl Performance\\cell"
                      " 13\\cell \\trowd\\trqc\\cellx4000\\cellx8199\\row}")
        << "Performance\t13\t";
    QTest::newRow("one-cell rows, properties again before the row")
        << QByteArray("{\\rtf1 \\trowd\\trqc\\cellx8199 \\pard\\plain\\intbl Performance\\cell"
                      "\\row\\trowd\\trqc\\cellx8199 \\pard\\intbl 13\\cell \\trowd\\trqc"
                      "\\cellx8199\\row\\pard suite\\par}")
        << "Performance\t\n13\t\nsuite";
    QTest::newRow("row properties in a group before the row")
        << QByteArray("{\\rtf1 \\pard\\intbl Performance\\cell\\pard\\intbl 13\\cell"
                      "{\\*\\nesttableprops\\trowd\\trqc\\cellx8199\\nestrow}"
                      "{\\trowd\\trqc\\cellx8199\\row}}")
        << "Performance\t13\t";
    QTest::newRow("paragraphs") << QByteArray("{\\rtf1 a\\par b\\par}") << "a\nb";
    QTest::newRow("backslash newline") << QByteArray("{\\rtf1 a\\\r\nb}") << "a\nb";
    QTest::newRow("line ends ignored") << QByteArray("{\\rtf1 a\r\nb\rc\nd}") << "abcd";
    QTest::newRow("list text skipped")
        << QByteArray("{\\rtf1{\\pntext\\'b7\\tab}a{\\listtext\\'95\\tab}b}") << "ab";
    QTest::newRow("binary data") << QByteArray("{\\rtf1 a{\\*\\blob\\bin3 }}}}b}") << "ab";
    QTest::newRow("binary in text") << QByteArray("{\\rtf1 a\\bin2 xyb}") << "ab";
    QTest::newRow("pictures in a row")
        << QByteArray("{\\rtf1 a{\\pict\\pict\\wmetafile8 01}b{\\pict\\emfblip 02}c}")
        << "a\uFFFCb\uFFFCc";
    QTest::newRow("not rtf") << QByteArray("plain text, ok") << "plain text, ok";
    QTest::newRow("stray braces") << QByteArray("{\\rtf1 a}}b}") << "ab";
    QTest::newRow("text after the last stray brace")
        << QByteArray("{\\rtf1 a}}b}}\n signature\n") << "ab";
    QTest::newRow("trailing space ignored") << QByteArray("{\\rtf1 a\\par}  \r\n") << "a";
    QTest::newRow("nul bytes") << QByteArray("{\\rtf1 a\0b}", 10) << "ab";
    QTest::newRow("control bytes")
        << QByteArray("{\\rtf1 a\\'0d\\'0a\\'00\\u8233?b}") << "a\u2028b";
    QTest::newRow("missing close") << QByteArray("{\\rtf1 {\\b abc") << "abc";
    QTest::newRow("truncated hex") << QByteArray("{\\rtf1 abc\\'4") << "abc";
    QTest::newRow("truncated escape") << QByteArray("{\\rtf1 abc\\'") << "abc";
    QTest::newRow("bad hex") << QByteArray("{\\rtf1 a\\'zzb}") << "azzb";
    QTest::newRow("lone backslash") << QByteArray("{\\rtf1 abc\\") << "abc";
    QTest::newRow("binary past end") << QByteArray("{\\rtf1 a\\bin99 xy") << "a";
    QTest::newRow("huge numbers")
        << QByteArray("{\\rtf1\\fs99999999999999999999\\f-99999999999 a\\u-99999999?b}")
        << "a\uFFFDb";
}

void RtfReaderTest::text() {
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QCOMPARE(readText(rtf), expected);
}

void RtfReaderTest::problems_data() {
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<qsizetype>("problemAt");

    QTest::newRow("well formed") << QByteArray("{\\rtf1 a\\par}") << qsizetype(-1);
    QTest::newRow("not rtf") << QByteArray("hello") << qsizetype(0);
    QTest::newRow("unmatched close") << QByteArray("{\\rtf1 a}}") << qsizetype(9);
    QTest::newRow("missing close") << QByteArray("{\\rtf1 a") << qsizetype(8);
    QTest::newRow("truncated hex") << QByteArray("{\\rtf1 a\\'4") << qsizetype(8);
    QTest::newRow("binary past end") << QByteArray("{\\rtf1 \\bin10 ab}") << qsizetype(7);
    QTest::newRow("unicode out of range") << QByteArray("{\\rtf1 \\u99999 a}") << qsizetype(7);
    QTest::newRow("first problem wins") << QByteArray("{\\rtf1 \\'x}}") << qsizetype(7);
    QTest::newRow("bad picture hex")
        << QByteArray("{\\rtf1 {\\pict\\wmetafile8 01zz}}") << qsizetype(27);
}

void RtfReaderTest::problems() {
    QFETCH(QByteArray, rtf);
    QFETCH(qsizetype, problemAt);
    auto document = newDocument();
    const RtfReadResult result = readInto(*document, rtf);
    QCOMPARE(result.ok, problemAt < 0);
    QCOMPARE(result.problemAt, problemAt);
    QCOMPARE(result.problem.isEmpty(), problemAt < 0);
}

void RtfReaderTest::nestedGroupsRestoreFormat() {
    auto document = newDocument();
    readInto(*document,
             "{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1 Times;}}\\fs20 a{\\b\\f1 b{\\i\\fs30 c}"
             "d}e{\\plain f}g}");
    QCOMPARE(blockTexts(*document), "abcdefg");

    const auto a = runFormat(*document, 0, "a");
    QVERIFY(a);
    QCOMPARE(textprops::fontName(*a), "Arial");
    QCOMPARE(a->fontPointSize(), 10.0);
    QVERIFY(a->fontWeight() < QFont::Bold);
    const auto bd = runFormat(*document, 0, "b");
    QVERIFY(bd);
    QCOMPARE(bd->fontWeight(), int(QFont::Bold));
    QCOMPARE(textprops::fontName(*bd), "Times");
    const auto c = runFormat(*document, 0, "c");
    QVERIFY(c);
    QVERIFY(c->fontItalic());
    QCOMPARE(c->fontWeight(), int(QFont::Bold));
    QCOMPARE(c->fontPointSize(), 15.0);
    QVERIFY(runFormat(*document, 0, "d"));
    QCOMPARE(runFormat(*document, 0, "d")->fontPointSize(), 10.0);
    // \plain: the \deff font at 12 pt; the group's end brings back 10 pt.
    const auto f = runFormat(*document, 0, "f");
    QVERIFY(f);
    QCOMPARE(textprops::fontName(*f), "Arial");
    QCOMPARE(f->fontPointSize(), 12.0);
    QCOMPARE(runFormat(*document, 0, "e"), a);
    QCOMPARE(runFormat(*document, 0, "g"), a);
}

void RtfReaderTest::fontsAsRead_data() {
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("font");
    const QByteArray changedDefault =
        "{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1 Symbol;}}\\deff1 b\\deff0 c}";
    QTest::newRow("before the default font changes") << changedDefault << "\u03B2"
                                                     << "Symbol";
    QTest::newRow("after the default font changes") << changedDefault << "c"
                                                    << "Arial";
    const QByteArray lateTable = "{\\rtf1\\deff1 a{\\fonttbl{\\f1\\fcharset2 Symbol;}}b}";
    QTest::newRow("before the font table") << lateTable << "a"
                                           << "Courier New";
    QTest::newRow("after the font table") << lateTable << "\u03B2"
                                          << "Symbol";
}

// Text keeps the font it was read in, which decided what its bytes stand for,
// even when the fonts change later in the file.
void RtfReaderTest::fontsAsRead() {
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QFETCH(QString, font);
    auto document = newDocument();
    readInto(*document, rtf);
    const auto format = runFormat(*document, 0, text);
    QVERIFY2(format, qPrintable(blockTexts(*document)));
    QCOMPARE(textprops::fontName(*format), font);
}

void RtfReaderTest::richEditRuns_data() {
    QTest::addColumn<int>("block");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("font");
    QTest::addColumn<double>("sizePt");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<QColor>("color");
    QTest::addColumn<int>("offsetTwips");
    QTest::addColumn<bool>("isProtected");

    const QString arial = QStringLiteral("Arial");
    const QColor blue(0, 0, 200);
    QTest::newRow("title") << 0 << "Titre" << arial << 12.0 << true << false << blue << 0 << false;
    QTest::newRow("plain") << 1 << "Vitesse\tv = 3" << arial << 10.0 << false << false << QColor()
                           << 0 << false;
    QTest::newRow("raised") << 1 << "2" << arial << 10.0 << false << false << QColor() << 60
                            << false;
    QTest::newRow("back to base") << 1 << " m.s" << arial << 10.0 << false << false << QColor() << 0
                                  << false;
    QTest::newRow("lowered") << 1 << "-1" << arial << 10.0 << false << false << QColor() << -40
                             << false;
    QTest::newRow("symbol") << 1 << "α≥"
                            << "Symbol" << 10.0 << false << false << QColor() << 0 << false;
    QTest::newRow("protected") << 1 << "fixe" << arial << 10.0 << false << false << QColor() << 0
                               << true;
    QTest::newRow("bullet item") << 2 << "premier" << arial << 10.0 << false << false << QColor()
                                 << 0 << false;
    QTest::newRow("italic") << 4 << "fin" << arial << 10.0 << false << true << QColor() << 0
                            << false;
}

void RtfReaderTest::richEditRuns() {
    QFETCH(int, block);
    QFETCH(QString, text);
    QFETCH(QString, font);
    QFETCH(double, sizePt);
    QFETCH(bool, bold);
    QFETCH(bool, italic);
    QFETCH(QColor, color);
    QFETCH(int, offsetTwips);
    QFETCH(bool, isProtected);

    auto document = newDocument();
    const RtfReadResult result = readInto(*document, richEditDocument);
    QVERIFY2(result.ok, qPrintable(result.problem));
    const auto format = runFormat(*document, block, text);
    QVERIFY2(format, qPrintable(document->findBlockByNumber(block).text()));
    QCOMPARE(textprops::fontName(*format), font);
    QCOMPARE(format->fontPointSize(), sizePt);
    QCOMPARE(format->fontWeight() >= QFont::Bold, bold);
    QCOMPARE(format->fontItalic(), italic);
    QCOMPARE(format->hasProperty(QTextFormat::ForegroundBrush), color.isValid());
    if (color.isValid()) QCOMPARE(format->foreground().color(), color);
    QCOMPARE(textprops::offsetTwips(*format), offsetTwips);
    QCOMPARE(textprops::isProtected(*format), isProtected);
}

void RtfReaderTest::richEditParagraphs() {
    auto document = newDocument();
    readInto(*document, richEditDocument);
    QCOMPARE(blockTexts(*document), "Titre\nVitesse\tv = 32 m.s-1 α≥ fixe\npremier\nsecond\nfin");

    const QTextBlockFormat title = document->findBlockByNumber(0).blockFormat();
    QCOMPARE(title.alignment(), Qt::AlignHCenter);
    QCOMPARE(title.leftMargin(), 20.0);
    QCOMPARE(textprops::tabStops(title).size(), 1);
    QCOMPARE(textprops::tabStops(title).first().position, 80.0);
    QCOMPARE(textprops::tabStops(title).first().type, QTextOption::LeftTab);

    const QTextBlockFormat body = document->findBlockByNumber(1).blockFormat();
    QCOMPARE(body.alignment(), Qt::AlignLeft);
    QCOMPARE(body.leftMargin(), 20.0);
    QCOMPARE(body.rightMargin(), 10.0);
    QCOMPARE(body.textIndent(), -10.0);
    QCOMPARE(textprops::tabStops(body).size(), 1);
    QCOMPARE(textprops::tabStops(body).first().position, 160.0);
    QCOMPARE(textprops::tabStops(body).first().type, QTextOption::RightTab);
    QCOMPARE(document->findBlockByNumber(1).textList(), nullptr);

    QTextList *list = document->findBlockByNumber(2).textList();
    QVERIFY(list);
    QCOMPARE(list->format().style(), QTextListFormat::ListDisc);
    QCOMPARE(document->findBlockByNumber(3).textList(), list);
    QCOMPARE(document->findBlockByNumber(3).blockFormat().textIndent(), -200.0 / 15);
    QCOMPARE(document->findBlockByNumber(4).textList(), nullptr);
    QCOMPARE(document->findBlockByNumber(4).blockFormat().leftMargin(), 0.0);
}

void RtfReaderTest::offsets_data() {
    QTest::addColumn<QByteArray>("codes");
    QTest::addColumn<int>("offsetTwips");
    QTest::addColumn<double>("sizePt");

    QTest::newRow("up") << QByteArray("\\up6") << 60 << 12.0;
    QTest::newRow("dn") << QByteArray("\\dn4") << -40 << 12.0;
    QTest::newRow("dn default") << QByteArray("\\dn") << -60 << 12.0;
    QTest::newRow("up0 resets") << QByteArray("\\up6\\up0") << 0 << 12.0;
    QTest::newRow("super") << QByteArray("\\super") << 80 << 8.0;
    QTest::newRow("sub") << QByteArray("\\sub") << -48 << 8.0;
    QTest::newRow("super 11pt") << QByteArray("\\fs22\\super") << 73 << 7.5;
    QTest::newRow("size after super") << QByteArray("\\super\\fs36") << 120 << 12.0;
    QTest::newRow("explicit up wins") << QByteArray("\\super\\up3") << 30 << 8.0;
    QTest::newRow("nosupersub") << QByteArray("\\sub\\dn2\\nosupersub") << 0 << 12.0;
    QTest::newRow("huge up") << QByteArray("\\up2147483647") << 32760 << 12.0;
    QTest::newRow("huge dn") << QByteArray("\\dn-2147483648") << 32760 << 12.0;
    QTest::newRow("huge size") << QByteArray("\\fs99999999") << 0 << 1638.0;
    QTest::newRow("tiny size") << QByteArray("\\fs-4") << 0 << 1.0;
}

void RtfReaderTest::offsets() {
    QFETCH(QByteArray, codes);
    QFETCH(int, offsetTwips);
    QFETCH(double, sizePt);
    auto document = newDocument();
    readInto(*document, "{\\rtf1 a{" + codes + " x}b}");
    QCOMPARE(blockTexts(*document), "axb");
    const QTextCharFormat format = formatAt(*document, 1);
    QCOMPARE(textprops::offsetTwips(format), offsetTwips);
    QCOMPARE(format.fontPointSize(), sizePt);
    QCOMPARE(formatAt(*document, 2).fontPointSize(), 12.0);
    QCOMPARE(textprops::offsetTwips(formatAt(*document, 2)), 0);
}

void RtfReaderTest::finalParagraph_data() {
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");
    QTest::addColumn<Qt::Alignment>("lastAlignment");

    QTest::newRow("final par dropped")
        << QByteArray("{\\rtf1\\qc abc\\par}") << "abc" << Qt::Alignment(Qt::AlignHCenter);
    QTest::newRow("second par kept") << QByteArray("{\\rtf1 abc\\par\\qr\\par}") << "abc\n"
                                     << Qt::Alignment(Qt::AlignRight);
    QTest::newRow("unterminated last")
        << QByteArray("{\\rtf1 a\\par\\pard\\qj b}") << "a\nb" << Qt::Alignment(Qt::AlignJustify);
    QTest::newRow("unclosed document")
        << QByteArray("{\\rtf1 a\\par\\qr b") << "a\nb" << Qt::Alignment(Qt::AlignRight);
    QTest::newRow("empty") << QByteArray("{\\rtf1}") << "" << Qt::Alignment(Qt::AlignLeft);
}

void RtfReaderTest::finalParagraph() {
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QFETCH(Qt::Alignment, lastAlignment);
    auto document = newDocument();
    readInto(*document, rtf);
    QCOMPARE(blockTexts(*document), text);
    QCOMPARE(document->lastBlock().blockFormat().alignment(), lastAlignment);
}

void RtfReaderTest::fragmentKeepsHostParagraph() {
    auto document = newDocument();
    QTextCursor cursor(document.get());
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    cursor.setBlockFormat(centred);
    cursor.insertText(QStringLiteral("XY"));
    cursor.setPosition(1);

    readRtf("{\\rtf1\\pard\\qr ab\\par}", cursor, RtfInsertMode::Fragment);
    QCOMPARE(blockTexts(*document), "XabY");
    QCOMPARE(document->firstBlock().blockFormat().alignment(), Qt::AlignHCenter);

    readRtf("{\\rtf1\\pard\\qr cd\\par ef\\par}", cursor, RtfInsertMode::Fragment);
    QCOMPARE(blockTexts(*document), "Xabcd\nefY");
    QCOMPARE(document->firstBlock().blockFormat().alignment(), Qt::AlignRight);
    QCOMPARE(document->lastBlock().blockFormat().alignment(), Qt::AlignHCenter);
}

void RtfReaderTest::wholeDocumentSetsFirstBlock() {
    auto document = newDocument();
    QTextCursor cursor(document.get());
    QTextBlockFormat indented;
    indented.setLeftMargin(50);
    indented.setBottomMargin(7);
    cursor.setBlockFormat(indented);
    readRtf("{\\rtf1 abc\\par def\\par}", cursor, RtfInsertMode::WholeDocument);
    QCOMPARE(blockTexts(*document), "abc\ndef");
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        QCOMPARE(block.blockFormat().leftMargin(), 0.0);
        QCOMPARE(block.blockFormat().bottomMargin(), 0.0);
    }
}

void RtfReaderTest::listsFromListOverrides() {
    auto document = newDocument();
    readInto(*document, "{\\rtf1 \\pard{\\listtext\\'95\\tab}\\ls1\\li720\\fi-360 un\\par"
                        "\\pard{\\listtext\\'95\\tab}\\ls1\\li720\\fi-360 deux\\par"
                        "\\pard entre\\par"
                        "\\pard\\ls2 trois\\par}");
    QCOMPARE(blockTexts(*document), "un\ndeux\nentre\ntrois");
    QTextList *first = document->findBlockByNumber(0).textList();
    QVERIFY(first);
    QCOMPARE(document->findBlockByNumber(1).textList(), first);
    QCOMPARE(document->findBlockByNumber(1).blockFormat().leftMargin(), 48.0);
    QCOMPARE(document->findBlockByNumber(2).textList(), nullptr);
    QTextList *second = document->findBlockByNumber(3).textList();
    QVERIFY(second);
    QVERIFY(second != first);
    QCOMPARE(second->format().style(), QTextListFormat::ListDisc);
}

void RtfReaderTest::pictures_data() {
    QTest::addColumn<QByteArray>("picture");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QSizeF>("sizePx");

    const QByteArray png = encoded(smallImage(), "PNG");
    const QByteArray goal = "\\picw4\\pich2\\picwgoal300\\pichgoal150 ";
    QTest::newRow("png hex") << "{\\pict\\pngblip" + goal + looseHex(png) + "}"
                             << "png" << QSizeF(20, 10);
    QTest::newRow("png binary") << "{\\pict\\pngblip" + goal + "\\bin" +
                                       QByteArray::number(png.size()) + " " + png + "}"
                                << "png" << QSizeF(20, 10);
    QTest::newRow("jpeg scaled") << "{\\pict\\jpegblip\\picscalex50\\picscaley200 " +
                                        looseHex(encoded(smallImage(), "JPEG")) + "}"
                                 << "jpeg" << QSizeF(2, 4);
    const QByteArray bmp = encoded(smallImage(), "BMP");
    QTest::newRow("dib") << "{\\pict\\dibitmap0 " + looseHex(bmp.mid(14)) + "}" << QString()
                         << QSizeF(4, 2);
    QByteArray bits;
    for (int i = 0; i < 2 * 4; ++i)
        bits += QByteArray::fromHex(i == 0 ? "ff0000" : "0000ff");
    QTest::newRow("device bitmap")
        << "{\\pict\\wbitmap0\\picw4\\pich2\\picbpp24\\picwbmwidthbytes12 " + looseHex(bits) + "}"
        << QString() << QSizeF(4, 2);
}

void RtfReaderTest::pictures() {
    QFETCH(QByteArray, picture);
    QFETCH(QString, kind);
    QFETCH(QSizeF, sizePx);

    auto document = newDocument();
    const RtfReadResult result = readInto(*document, "{\\rtf1 a" + picture + "b}");
    QVERIFY2(result.ok, qPrintable(result.problem));
    QCOMPARE(document->toRawText().size(), 3);
    const QList<QTextImageFormat> found = images(*document);
    QCOMPARE(found.size(), 1);
    QCOMPARE(QSizeF(found[0].width(), found[0].height()), sizePx);
    const QImage image = resourceImage(*document, found[0]);
    QCOMPARE(image.size(), QSize(4, 2));
    if (kind != "jpeg") {
        QCOMPARE(image.pixel(3, 1), qRgb(255, 0, 0));
        QCOMPARE(image.pixel(0, 0), qRgb(0, 0, 255));
    }
    QCOMPARE(found[0].stringProperty(textprops::PictureKind), kind);
    QCOMPARE(found[0].hasProperty(textprops::PictureBytes), !kind.isEmpty());
    QVERIFY(!found[0].hasProperty(textprops::RawRtfGroup));
}

void RtfReaderTest::undecodablePictureKeepsGroup() {
    const QByteArray metafile = "{\\pict\\wmetafile8\\picw1000\\pich500\\picwgoal600\\pichgoal300"
                                "\r\n0100090000 03{\\*\\blipuid 00}}";
    const QByteArray damagedPng = "{\\pict\\pngblip\\picw3\\pich3 89504e}";
    auto document = newDocument();
    readInto(*document, "{\\rtf1 a" + metafile + damagedPng + "}");
    const QList<QTextImageFormat> found = images(*document);
    QCOMPARE(found.size(), 2);
    QCOMPARE(found[0].property(textprops::RawRtfGroup).toByteArray(), metafile);
    QCOMPARE(QSizeF(found[0].width(), found[0].height()), QSizeF(40, 20));
    QVERIFY(!resourceImage(*document, found[0]).isNull());
    QVERIFY(!found[0].hasProperty(textprops::PictureBytes));
    QCOMPARE(found[1].property(textprops::RawRtfGroup).toByteArray(), damagedPng);
    QCOMPARE(QSizeF(found[1].width(), found[1].height()), QSizeF(3, 3));

    auto truncated = newDocument();
    readInto(*truncated, "{\\rtf1 {\\pict\\emfblip 0102{\\*\\x 1\\");
    QCOMPARE(images(*truncated).size(), 1);
    QCOMPARE(images(*truncated)[0].property(textprops::RawRtfGroup).toByteArray(),
             "{\\pict\\emfblip 0102{\\*\\x 1}}");

    // Only the picture is kept: text before its word in the group is text,
    // and binary data the input cut short would swallow the closing braces.
    auto afterText = newDocument();
    readInto(*afterText, "{\\rtf1 {a\\pict\\wmetafile8 0100}{\\pict\\wmetafile8 01\\bin9 xy");
    QCOMPARE(blockTexts(*afterText).remove(QChar::ObjectReplacementCharacter), "a");
    QCOMPARE(images(*afterText).size(), 2);
    QCOMPARE(images(*afterText)[0].property(textprops::RawRtfGroup).toByteArray(),
             "{\\pict\\wmetafile8 0100}");
    QCOMPARE(images(*afterText)[1].property(textprops::RawRtfGroup).toByteArray(),
             "{\\pict\\wmetafile8 01}");
}

void RtfReaderTest::objectKeepsGroup() {
    const QByteArray png = encoded(smallImage(), "PNG");
    const QByteArray object = "{\\object\\objemb{\\*\\objclass Equation.3}\\objw600\\objh300"
                              "{\\*\\objdata 0105000002000000}{\\result{\\pict\\pngblip"
                              "\\picwgoal600\\pichgoal300 " +
                              png.toHex() + "}}}";
    const QByteArray bare = "{\\object\\objlink\\objw150\\objh300{\\*\\objdata 01}}";
    auto document = newDocument();
    const RtfReadResult result =
        readInto(*document, "{\\rtf1 x" + object + "y{\\result z}" + bare + "}");
    QVERIFY2(result.ok, qPrintable(result.problem));
    QCOMPARE(blockTexts(*document).remove(QChar::ObjectReplacementCharacter), "xyz");

    const QList<QTextImageFormat> found = images(*document);
    QCOMPARE(found.size(), 2);
    QCOMPARE(found[0].property(textprops::RawRtfGroup).toByteArray(), object);
    QCOMPARE(QSizeF(found[0].width(), found[0].height()), QSizeF(40, 20));
    QCOMPARE(resourceImage(*document, found[0]).size(), QSize(4, 2));
    QCOMPARE(found[1].property(textprops::RawRtfGroup).toByteArray(), bare);
    QCOMPARE(QSizeF(found[1].width(), found[1].height()), QSizeF(10, 20));

    auto afterText = newDocument();
    readInto(*afterText, "{\\rtf1 {a" + bare + "}");
    QCOMPARE(images(*afterText)[0].property(textprops::RawRtfGroup).toByteArray(), bare);
}

void RtfReaderTest::deepNesting() {
    constexpr int depth = 100000;
    const QByteArray deep = QByteArray(depth, '{') + "lost" + QByteArray(depth, '}');
    auto document = newDocument();
    const RtfReadResult result = readInto(*document, "{\\rtf1 x" + deep + "y}");
    QCOMPARE(blockTexts(*document), "xy");
    QVERIFY(!result.ok);

    auto unclosed = newDocument();
    readInto(*unclosed, "{\\rtf1 x{\\pict" + QByteArray(depth, '{'));
    QCOMPARE(images(*unclosed).size(), 1);
}

// Damaged copies of a real document: nothing may crash, hang or leak (the
// sanitizers watch), and the text read stays within the input's size.
void RtfReaderTest::damagedInputIsSafe() {
    QRandomGenerator random(20240611);
    const QByteArray original = richEditDocument + fixture("lo-formats.rtf");
    for (int round = 0; round < 300; ++round) {
        QByteArray damaged = original;
        const int changes = 1 + int(random.bounded(20));
        for (int i = 0; i < changes && !damaged.isEmpty(); ++i) {
            const auto at = qsizetype(random.bounded(int(damaged.size())));
            switch (random.bounded(3)) {
            case 0:
                damaged[at] = char(random.bounded(256));
                break;
            case 1:
                damaged.remove(at, random.bounded(40));
                break;
            default:
                damaged.insert(at, "{\\'\\bin\\u-\\*}"[random.bounded(12)]);
                break;
            }
        }
        if (round % 3 == 0 && !damaged.isEmpty())
            damaged.truncate(random.bounded(int(damaged.size())));
        auto document = newDocument();
        readInto(*document, damaged);
        QVERIFY(document->characterCount() <= damaged.size() + 1);
    }
}

// The LibreOffice fixtures come from the documents beside them:
//   soffice --headless --convert-to rtf lo-formats.fodt
//   soffice --headless --infilter="HTML (StarWriter)" --convert-to rtf lo-table.html
void RtfReaderTest::libreOfficeFormats() {
    const QByteArray rtf = fixture("lo-formats.rtf");
    QVERIFY(!rtf.isEmpty());
    auto document = newDocument();
    const RtfReadResult result = readInto(*document, rtf);
    QVERIFY2(result.ok, qPrintable(result.problem));
    QCOMPARE(blockTexts(*document), "Gras italique rouge souligné\n"
                                    "E = mc2 et H2O\n"
                                    "Masse\t12,5 g\n"
                                    "Premier point\n"
                                    "Second point\n"
                                    "Prix : 5 € pour l’œuvre de l’élève à côté, grand");

    const auto bold = runFormat(*document, 0, "Gras");
    QVERIFY(bold);
    QCOMPARE(bold->fontWeight(), int(QFont::Bold));
    QCOMPARE(textprops::fontName(*bold), "Liberation Serif");
    QCOMPARE(bold->fontPointSize(), 12.0);
    QVERIFY(runFormat(*document, 0, "italique")->fontItalic());
    QCOMPARE(runFormat(*document, 0, "rouge")->foreground().color(), QColor(0xc0, 0, 0));
    QVERIFY(runFormat(*document, 0, "souligné")->fontUnderline());

    QCOMPARE(document->findBlockByNumber(1).blockFormat().alignment(), Qt::AlignHCenter);
    const QTextBlock formula = document->findBlockByNumber(1);
    QList<QTextCharFormat> twos;
    for (auto it = formula.begin(); !it.atEnd(); ++it) {
        if (it.fragment().text() == "2") twos << it.fragment().charFormat();
    }
    QCOMPARE(twos.size(), 2);
    QVERIFY(textprops::offsetTwips(twos[0]) > 0);
    QVERIFY(textprops::offsetTwips(twos[1]) < 0);
    QVERIFY(twos[0].fontPointSize() < 12);
    QVERIFY(twos[1].fontPointSize() < 12);

    const QTextBlockFormat indented = document->findBlockByNumber(2).blockFormat();
    QCOMPARE(indented.leftMargin(), 567.0 / 15);
    QCOMPARE(indented.rightMargin(), 283.0 / 15);
    QCOMPARE(indented.textIndent(), 283.0 / 15);
    QCOMPARE(textprops::tabStops(indented).size(), 1);
    QCOMPARE(textprops::tabStops(indented).first().type, QTextOption::RightTab);
    QCOMPARE(textprops::tabStops(indented).first().position, 3402.0 / 15);

    QTextList *list = document->findBlockByNumber(3).textList();
    QVERIFY(list);
    QCOMPARE(document->findBlockByNumber(4).textList(), list);
    QCOMPARE(document->findBlockByNumber(5).textList(), nullptr);
    QCOMPARE(runFormat(*document, 5, "grand")->fontPointSize(), 16.0);
}

void RtfReaderTest::libreOfficeTable() {
    auto document = newDocument();
    const RtfReadResult result = readInto(*document, fixture("lo-table.rtf"));
    QVERIFY2(result.ok, qPrintable(result.problem));
    QCOMPARE(blockTexts(*document), "Avant le tableau\n"
                                    "Grandeur\tUnité\t\n"
                                    "Force\tN\t\n"
                                    "Voir le cours en ligne.");
    const auto link = runFormat(*document, 3, "le cours");
    QVERIFY(link);
    QVERIFY(link->fontUnderline());
    QCOMPARE(textprops::fontName(*link), "DejaVu Serif");
}

QTEST_MAIN(RtfReaderTest)
#include "rtfreader_test.moc"
