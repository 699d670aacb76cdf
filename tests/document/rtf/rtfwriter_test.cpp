#include "document/rtf/rtfwriter.h"
#include "document/textproperties.h"
#include "imagebytes.h"

#include <QImage>
#include <QRegularExpression>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QTextList>
#include <QUrl>
#include <functional>

namespace {

using Style = std::function<void(QTextCharFormat &)>;

QTextCharFormat arial(const Style &style = {}) {
    QTextCharFormat format;
    textprops::setFontName(format, QStringLiteral("Arial"));
    format.setFontPointSize(10);
    if (style) style(format);
    return format;
}

Style font(const QString &name) {
    return [name](QTextCharFormat &format) { textprops::setFontName(format, name); };
}

Style color(QRgb rgb) {
    return [rgb](QTextCharFormat &format) { format.setForeground(QColor(rgb)); };
}

Style offset(int twips) {
    return [twips](QTextCharFormat &format) { textprops::setOffsetTwips(format, twips); };
}

// A document with a default font unlike the runs' Arial.
struct Document {
    QTextDocument document;
    QTextCursor cursor{&document};

    Document() { document.setDefaultFont(QFont(QStringLiteral("Courier New"), 11)); }
    Document &add(const QString &text, const QTextCharFormat &format = arial()) {
        cursor.insertText(text, format);
        return *this;
    }
    // The new paragraph continues the current one's format and list.
    Document &paragraph() {
        cursor.insertBlock();
        return *this;
    }
    Document &paragraph(const QTextBlockFormat &format) {
        cursor.insertBlock(format);
        return *this;
    }
    QByteArray rtf(int from = 0, int to = -1) const { return writeRtf(document, from, to); }
};

QByteArray body(const QByteArray &rtf) {
    const qsizetype start = rtf.indexOf("\\viewkind4\\uc1");
    return start < 0 ? QByteArray() : rtf.mid(start + 14);
}

QByteArray hexLines(const QByteArray &bytes) {
    const QByteArray hex = bytes.toHex();
    QByteArrayList lines;
    for (qsizetype at = 0; at < hex.size(); at += 128)
        lines.append(hex.mid(at, 128));
    return lines.join("\r\n");
}

QImage sampleImage() {
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(qRgb(10, 200, 30));
    return image;
}

void insertImage(Document &doc, const QImage &image, const Style &extra = {}) {
    QTextImageFormat format;
    format.setName(textprops::newImageName());
    format.setWidth(80);
    format.setHeight(60);
    if (extra) extra(format);
    doc.document.addResource(QTextDocument::ImageResource, QUrl(format.name()), image);
    doc.cursor.insertImage(format);
}

// The parameter of the last \\wordN before offset in our body, which writes
// such words outside groups only; -1 when there is none.
int wordInForce(const QByteArray &body, const char *word, qsizetype offset) {
    const QRegularExpression pattern(QStringLiteral("\\\\%1(-?\\d+)").arg(QLatin1String(word)));
    int value = -1;
    for (const QRegularExpressionMatch &match :
         pattern.globalMatch(QString::fromLatin1(body.left(offset)))) {
        value = match.captured(1).toInt();
    }
    return value;
}

} // namespace

class RtfWriterTest : public QObject {
    Q_OBJECT

private slots:
    void headerAndEnd();
    void emptyDocumentUsesDefaultFont();
    void fontTableInOrderOfUse();
    void colorTableInOrderOfUse();
    void characterEscapes_data();
    void characterEscapes();
    void symbolRun_data();
    void symbolRun();
    void onlyChangedAttributesAreWritten();
    void offsets_data();
    void offsets();
    void paragraphProperties_data();
    void paragraphProperties();
    void bullets();
    void subRange();
    void subRangeWithParagraphBreak();
    void emptyParagraphKeepsItsSize();
    void pictures();
    void keptGroupWrittenExactly();
    void picturesAfterSymbolText_data();
    void picturesAfterSymbolText();
    void listLabelsTakeTheirParagraphSize_data();
    void listLabelsTakeTheirParagraphSize();
};

void RtfWriterTest::headerAndEnd() {
    Document doc;
    doc.add(QStringLiteral("Hi"), arial(color(qRgb(0, 0, 200))));
    const QByteArray rtf = doc.rtf();
    QCOMPARE(rtf, QByteArray("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1036"
                             "{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}\r\n"
                             "{\\colortbl ;\\red0\\green0\\blue200;}\r\n"
                             "\\viewkind4\\uc1\\pard\\f0\\fs20\\cf1 Hi\\par\r\n}\r\n"));
}

void RtfWriterTest::emptyDocumentUsesDefaultFont() {
    QTextDocument document;
    document.setDefaultFont(QFont(QStringLiteral("Courier New"), 11));
    const QByteArray rtf = writeRtf(document);
    QVERIFY(rtf.contains("{\\fonttbl{\\f0\\fnil\\fcharset0 Courier New;}}\r\n\\viewkind4"));
    QVERIFY(!rtf.contains("colortbl"));
    QVERIFY(rtf.endsWith("\\par\r\n}\r\n"));
}

void RtfWriterTest::fontTableInOrderOfUse() {
    Document doc;
    doc.add(QStringLiteral("a"), arial(font(QStringLiteral("Times New Roman"))))
        .add(QStringLiteral("b"))
        .add(QStringLiteral("\u03B1"), arial(font(QStringLiteral("Symbol"))))
        .add(QStringLiteral("c"), arial(font(QStringLiteral("Times New Roman"))));
    const QByteArray rtf = doc.rtf();
    QVERIFY(rtf.contains("{\\fonttbl{\\f0\\fnil\\fcharset0 Times New Roman;}"
                         "{\\f1\\fnil\\fcharset0 Arial;}{\\f2\\fnil\\fcharset2 Symbol;}}"));
    QVERIFY(body(rtf).contains("\\f0\\fs20 a\\f1 b\\f2\\u945 a\\f0 c\\par"));
}

void RtfWriterTest::colorTableInOrderOfUse() {
    Document doc;
    doc.add(QStringLiteral("r"), arial(color(qRgb(255, 0, 0))))
        .add(QStringLiteral("a"))
        .add(QStringLiteral("b"), arial(color(qRgb(0, 0, 255))))
        .add(QStringLiteral("k"), arial(color(qRgb(0, 0, 0))))
        .add(QStringLiteral("r"), arial(color(qRgb(255, 0, 0))));
    const QByteArray rtf = doc.rtf();
    QVERIFY(rtf.contains("{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;"
                         "\\red0\\green0\\blue0;}\r\n"));
    QVERIFY(body(rtf).contains("\\cf1 r\\cf0 a\\cf2 b\\cf3 k\\cf1 r\\par"));
}

void RtfWriterTest::characterEscapes_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("e acute") << QStringLiteral("x\u00E9y") << QByteArray(" x\\'e9y\\par");
    QTest::newRow("euro") << QStringLiteral("x\u20ACy") << QByteArray(" x\\'80y\\par");
    QTest::newRow("almost equal") << QStringLiteral("x\u2248y") << QByteArray(" x\\u8776?y\\par");
    QTest::newRow("private use, negative")
        << QStringLiteral("x\uF041y") << QByteArray(" x\\u-4031?y\\par");
    QTest::newRow("surrogate pair")
        << QStringLiteral("x\U0001F600y") << QByteArray(" x\\u-10179?\\u-8704?y\\par");
    QTest::newRow("backslash and braces")
        << QStringLiteral("\\{x}") << QByteArray("\\fs20\\\\\\{x\\}\\par");
    QTest::newRow("tab") << QStringLiteral("x\ty") << QByteArray(" x\\tab y\\par");
    QTest::newRow("line break") << QStringLiteral("x\u2028y") << QByteArray(" x\\line y\\par");
    QTest::newRow("tab then punctuation")
        << QStringLiteral("\t.") << QByteArray("\\fs20\\tab .\\par");
    QTest::newRow("no-break space") << QStringLiteral("x\u00A0y") << QByteArray(" x\\~y\\par");
    QTest::newRow("digit after control word")
        << QStringLiteral("12") << QByteArray("\\fs20 12\\par");
}

void RtfWriterTest::characterEscapes() {
    QFETCH(QString, text);
    QFETCH(QByteArray, written);
    Document doc;
    doc.add(text);
    const QByteArray rtf = doc.rtf();
    QVERIFY2(body(rtf).contains(written), rtf.constData());
}

void RtfWriterTest::symbolRun_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("written");
    // Each sign as its Unicode character, for readers that draw Symbol with
    // a Unicode font, then the Symbol font's byte for those that skip \u.
    QTest::newRow("greek letters")
        << QStringLiteral("\u03B1\u03B2") << QByteArray("\\u945 a\\u946 b\\par");
    QTest::newRow("sign above 0x7F") << QStringLiteral("\u2248") << QByteArray("\\u8776\\'bb\\par");
    QTest::newRow("private use glyph")
        << QStringLiteral("\uF0E2") << QByteArray("\\u-3870\\'e2\\par");
    QTest::newRow("for all is a quote")
        << QStringLiteral("\u2200") << QByteArray("\\u8704 \"\\par");
    QTest::newRow("digits stay") << QStringLiteral("12") << QByteArray("\\u49 1\\u50 2\\par");
    QTest::newRow("a space stays a space for every reader")
        << QStringLiteral("\u03B1 \u03B2") << QByteArray("\\u945 a\\u32  \\u946 b\\par");
    QTest::newRow("latin letter has no code") << QStringLiteral("a") << QByteArray("\\u97?\\par");
    QTest::newRow("hyphen is the minus sign's code")
        << QStringLiteral("-\u2212") << QByteArray("\\u45?\\u8722 -\\par");
}

void RtfWriterTest::symbolRun() {
    QFETCH(QString, text);
    QFETCH(QByteArray, written);
    Document doc;
    doc.add(text, arial(font(QStringLiteral("Symbol"))));
    const QByteArray rtf = doc.rtf();
    QVERIFY2(body(rtf).contains(written), rtf.constData());
    QVERIFY(rtf.contains("{\\f0\\fnil\\fcharset2 Symbol;}"));
}

void RtfWriterTest::onlyChangedAttributesAreWritten() {
    Document doc;
    doc.add(QStringLiteral("a"), arial([](QTextCharFormat &f) { f.setFontWeight(QFont::Bold); }))
        .add(QStringLiteral("b"), arial([](QTextCharFormat &f) {
                 f.setFontWeight(QFont::Bold);
                 f.setFontItalic(true);
                 f.setFontUnderline(true);
             }))
        .add(QStringLiteral("c"), arial([](QTextCharFormat &f) {
                 f.setFontStrikeOut(true);
                 f.setFontPointSize(7.5);
                 textprops::setProtected(f, true);
             }))
        .add(QStringLiteral("d"));
    QCOMPARE(body(doc.rtf()), QByteArray("\\pard\\b\\f0\\fs20 a\\i\\ul b\\b0\\i0\\ulnone\\strike"
                                         "\\fs15\\protect c\\strike0\\fs20\\protect0 d\\par\r\n"
                                         "}\r\n"));
}

void RtfWriterTest::offsets_data() {
    QTest::addColumn<int>("twips");
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("raised") << 60 << QByteArray("\\up6 x\\up0 y");
    QTest::newRow("lowered") << -40 << QByteArray("\\dn4 x\\up0 y");
    QTest::newRow("between half points") << 66 << QByteArray("\\up7\\rdgoffset66 x\\up0 y");
}

void RtfWriterTest::offsets() {
    QFETCH(int, twips);
    QFETCH(QByteArray, written);
    Document doc;
    doc.add(QStringLiteral("x"), arial(offset(twips))).add(QStringLiteral("y"));
    const QByteArray rtf = doc.rtf();
    QVERIFY2(body(rtf).contains(written), rtf.constData());
}

void RtfWriterTest::paragraphProperties_data() {
    QTest::addColumn<QTextBlockFormat>("format");
    QTest::addColumn<QByteArray>("written");
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    QTest::newRow("centred") << centred << QByteArray("\\pard\\qc");
    QTextBlockFormat right;
    right.setAlignment(Qt::AlignRight);
    QTest::newRow("right") << right << QByteArray("\\pard\\qr");
    QTextBlockFormat justified;
    justified.setAlignment(Qt::AlignJustify);
    QTest::newRow("justified") << justified << QByteArray("\\pard\\qj");
    QTextBlockFormat indents;
    indents.setLeftMargin(20);
    indents.setRightMargin(10.5);
    indents.setTextIndent(-10);
    QTest::newRow("indents") << indents << QByteArray("\\pard\\li300\\ri158\\fi-150");
    QTextBlockFormat tabs;
    tabs.setTabPositions({QTextOption::Tab(100, QTextOption::LeftTab),
                          QTextOption::Tab(200, QTextOption::RightTab),
                          QTextOption::Tab(300, QTextOption::CenterTab),
                          QTextOption::Tab(400, QTextOption::DelimiterTab)});
    QTest::newRow("tabs") << tabs
                          << QByteArray("\\pard\\tx1500\\tqr\\tx3000\\tqc\\tx4500\\tqdec\\tx6000");
}

void RtfWriterTest::paragraphProperties() {
    QFETCH(QTextBlockFormat, format);
    QFETCH(QByteArray, written);
    Document doc;
    doc.add(QStringLiteral("plain")).paragraph(format).add(QStringLiteral("x"));
    doc.paragraph(format)
        .add(QStringLiteral("y"))
        .paragraph(QTextBlockFormat())
        .add(QStringLiteral("z"));
    const QByteArray rtf = body(doc.rtf());
    QVERIFY2(rtf.contains("plain\\par\r\n" + written + " x\\par\r\ny\\par\r\n\\pard z\\par"),
             rtf.constData());
}

void RtfWriterTest::bullets() {
    Document doc;
    doc.add(QStringLiteral("intro")).paragraph().add(QStringLiteral("one"));
    QTextListFormat list;
    list.setStyle(QTextListFormat::ListDisc);
    doc.cursor.createList(list);
    doc.paragraph().add(QStringLiteral("two"));
    QVERIFY(doc.cursor.currentList());
    doc.paragraph().add(QStringLiteral("end"));
    doc.cursor.currentList()->remove(doc.cursor.block());
    const QByteArray rtf = doc.rtf();
    QVERIFY(rtf.contains("{\\f0\\fnil\\fcharset0 Arial;}{\\f1\\fnil\\fcharset2 Symbol;}"));
    QVERIFY2(body(rtf).contains("intro\\par\r\n"
                                "\\pard{\\pntext\\f1\\'B7\\tab}"
                                "{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb\\'B7}}"),
             rtf.constData());
    QVERIFY(body(rtf).contains("}}one\\par\r\n{\\pntext\\f1\\'B7\\tab}two\\par\r\n"));
    QVERIFY(body(rtf).contains("two\\par\r\n\\pard"));
    QCOMPARE(body(rtf).count("\\pn\\"), 1);
}

void RtfWriterTest::subRange() {
    Document doc;
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    doc.add(QStringLiteral("one"), arial(font(QStringLiteral("Times New Roman"))))
        .paragraph(centred)
        .add(QStringLiteral("two "))
        .add(QStringLiteral("three"), arial(color(qRgb(1, 2, 3))))
        .paragraph()
        .add(QStringLiteral("four"), arial(color(qRgb(9, 9, 9))));
    const QByteArray rtf = doc.rtf(5, 11);
    QVERIFY(rtf.contains("{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}"));
    QVERIFY(rtf.contains("{\\colortbl ;\\red1\\green2\\blue3;}"));
    QCOMPARE(body(rtf), QByteArray("\\pard\\qc\\f0\\fs20 wo \\cf1 thr\\par\r\n}\r\n"));
}

void RtfWriterTest::subRangeWithParagraphBreak() {
    Document doc;
    doc.add(QStringLiteral("one")).paragraph().add(QStringLiteral("two"));
    QCOMPARE(body(doc.rtf(1, 4)), QByteArray("\\pard\\f0\\fs20 ne\\par\r\n\\par\r\n}\r\n"));
    QCOMPARE(body(doc.rtf(3, 5)), QByteArray("\\pard\\par\r\n\\f0\\fs20 t\\par\r\n}\r\n"));
}

void RtfWriterTest::emptyParagraphKeepsItsSize() {
    Document doc;
    doc.add(QStringLiteral("a"));
    doc.cursor.insertBlock(QTextBlockFormat(),
                           arial([](QTextCharFormat &f) { f.setFontPointSize(20); }));
    doc.paragraph().add(QStringLiteral("b"));
    QVERIFY(body(doc.rtf()).contains(" a\\par\r\n\\fs40\\par\r\n\\fs20 b\\par"));
}

void RtfWriterTest::pictures() {
    const QImage image = sampleImage();
    Document doc;
    doc.add(QStringLiteral("a"));
    insertImage(doc, image);
    const QByteArray jpeg = encoded(image, "JPEG");
    insertImage(doc, image, [&](QTextCharFormat &format) {
        format.setProperty(textprops::PictureBytes, jpeg);
        format.setProperty(textprops::PictureKind, QStringLiteral("jpeg"));
    });
    const QByteArray rtf = doc.rtf();
    const QByteArray png = encoded(image, "PNG");
    QVERIFY(rtf.contains("{\\*\\rdgpict{\\pict\\pngblip\\picw40\\pich30\\picwgoal1200"
                         "\\pichgoal900 " +
                         hexLines(png) + "}}{\\*\\shppict{\\pict\\wmetafile8"));
    QVERIFY(rtf.contains("{\\*\\rdgpict{\\pict\\jpegblip\\picw40\\pich30\\picwgoal1200"
                         "\\pichgoal900 " +
                         hexLines(jpeg) + "}}{\\*\\shppict{\\pict\\wmetafile8"));
}

void RtfWriterTest::keptGroupWrittenExactly() {
    const QByteArray object = "{\\object\\objemb{\\*\\objdata 0102}{\\result{\\pict\\wmetafile8 "
                              "ab}}}";
    Document doc;
    doc.add(QStringLiteral("x"));
    insertImage(doc, sampleImage(), [&](QTextCharFormat &format) {
        format.setProperty(textprops::RawRtfGroup, object);
    });
    doc.add(QStringLiteral("y"));
    QVERIFY(body(doc.rtf()).contains(" x" + object + "y\\par"));
}

using Insert = std::function<void(Document &)>;
Q_DECLARE_METATYPE(Insert)

void RtfWriterTest::picturesAfterSymbolText_data() {
    QTest::addColumn<Insert>("insert");
    QTest::addColumn<QString>("before");
    QTest::newRow("picture after a symbol")
        << Insert([](Document &doc) { insertImage(doc, sampleImage()); }) << QStringLiteral("Ion ");
    QTest::newRow("kept group after a symbol") << Insert([](Document &doc) {
        insertImage(doc, sampleImage(), [](QTextCharFormat &format) {
            format.setProperty(textprops::RawRtfGroup, QByteArray("{\\pict\\wmetafile8 0100}"));
        });
    }) << QStringLiteral("Ion ");
    // The plain font is then one the document did not name.
    QTest::newRow("picture where only the symbol font is used")
        << Insert([](Document &doc) { insertImage(doc, sampleImage()); }) << QString();
}

// LibreOffice drops a picture written while the Symbol font is in force, and
// the text after it: both are written in a plain font.
void RtfWriterTest::picturesAfterSymbolText() {
    QFETCH(Insert, insert);
    QFETCH(QString, before);
    Document doc;
    if (!before.isEmpty()) doc.add(before);
    doc.add(QStringLiteral("\u03B1"), arial(font(QStringLiteral("Symbol"))));
    insert(doc);
    doc.add(QStringLiteral("\u03B2"), arial(font(QStringLiteral("Symbol"))));
    const QByteArray rtf = doc.rtf();
    const QByteArray text = body(rtf);
    const qsizetype picture = text.indexOf("{\\", text.indexOf("\\u945"));
    QVERIFY2(picture > 0, rtf.constData());
    const int font = wordInForce(text, "f", picture);
    QVERIFY2(font >= 0 && !rtf.contains("{\\f" + QByteArray::number(font) + "\\fnil\\fcharset2"),
             rtf.constData());
    // The Symbol text after it is in its font again.
    const qsizetype after = text.indexOf("\\u946", picture);
    QCOMPARE(wordInForce(text, "f", after), wordInForce(text, "f", picture - 6));
}

void RtfWriterTest::listLabelsTakeTheirParagraphSize_data() {
    QTest::addColumn<int>("style");
    QTest::newRow("bullets") << int(QTextListFormat::ListDisc);
    QTest::newRow("numbers") << int(QTextListFormat::ListDecimal);
}

// A list under a 12-point line: each label is written in its paragraph's
// size, the first one too, for readers that draw it from its \\pntext.
void RtfWriterTest::listLabelsTakeTheirParagraphSize() {
    QFETCH(int, style);
    Document doc;
    doc.add(QStringLiteral("Titre"), arial([](QTextCharFormat &f) { f.setFontPointSize(12); }))
        .paragraph()
        .add(QStringLiteral("un"));
    QTextListFormat list;
    list.setStyle(QTextListFormat::Style(style));
    doc.cursor.createList(list);
    doc.paragraph().add(QStringLiteral("deux"),
                        arial([](QTextCharFormat &f) { f.setFontPointSize(14); }));
    const QByteArray text = body(doc.rtf());
    const QList<int> expectedHalfPt{20, 28};
    qsizetype from = 0;
    for (const int halfPt : expectedHalfPt) {
        const qsizetype label = text.indexOf("{\\pntext", from);
        QVERIFY2(label > 0, text.constData());
        QCOMPARE(wordInForce(text, "fs", label), halfPt);
        from = label + 1;
    }
}

QTEST_MAIN(RtfWriterTest)
#include "rtfwriter_test.moc"
