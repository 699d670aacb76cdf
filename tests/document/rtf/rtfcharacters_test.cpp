#include "document/rtf/rtfreader.h"
#include "document/rtf/rtfwriter.h"
#include "document/textproperties.h"
#include "rtfdocument.h"

#include <QStringDecoder>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <memory>

namespace {

// What a reader sees: paragraphs joined by '\n', without the empty pictures
// that keep hidden text.
QString shownText(const QTextDocument &document) {
    QStringList texts;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        texts << block.text().remove(QChar::ObjectReplacementCharacter);
    return texts.join(u'\n');
}

QString readText(const QByteArray &rtf) {
    return shownText(*read(rtf));
}

QTextCharFormat formatOf(const QTextDocument &document, const QString &text) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().text() == text) return it.fragment().charFormat();
        }
    }
    return {};
}

// The bytes 0xA3 0xC1 tell four code pages apart.
const QString in1250 = QStringLiteral("\u0141\u00C1");
const QString in1251 = QStringLiteral("\u0408\u0411");
const QString in1252 = QStringLiteral("\u00A3\u00C1");
const QString in1253 = QStringLiteral("\u00A3\u0391");

} // namespace

class RtfCharactersTest : public QObject {
    Q_OBJECT

private slots:
    void convertersExist();
    void codePages_data();
    void codePages();
    void codePagePrecedence_data();
    void codePagePrecedence();
    void everyFontCharset_data();
    void everyFontCharset();
    void fontNamesInTheirCodePage();
    void hiddenTextIsKeptUnseen();
    void capitals();
    void unicodeBranchOfUpr();
    void skippedAndIgnoredParts();
    void softHyphen();
    void footnotesShowAtParagraphEnd();
};

// The code pages below go through Qt's converters: a Qt built without ICU
// would read them all as Windows-1252.
void RtfCharactersTest::convertersExist() {
    for (const char *name :
         {"windows-1250", "windows-1251", "windows-1253", "windows-1254", "windows-1255",
          "windows-1256", "windows-1257", "windows-1258", "windows-874", "Shift_JIS", "GBK", "Big5",
          "EUC-KR", "macintosh", "IBM437", "IBM850", "UTF-8"})
        QVERIFY2(QStringDecoder(name).isValid(), name);
}

void RtfCharactersTest::codePages_data() {
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");
    QTest::newRow("Windows-1252 by default")
        << QByteArray("{\\rtf1 \\'e9t\\'e9 \\'80}") << QStringLiteral("\u00E9t\u00E9 \u20AC");
    QTest::newRow("Greek by \\ansicpg") << QByteArray("{\\rtf1\\ansi\\ansicpg1253 \\'c1\\'e2\\'e3}")
                                        << QStringLiteral("\u0391\u03B2\u03B3");
    QTest::newRow("Greek by \\fcharset")
        << QByteArray("{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fnil\\fcharset161 Arial;}}"
                      "\\f0 \\'c1\\'e2\\'e3}")
        << QStringLiteral("\u0391\u03B2\u03B3");
    QTest::newRow("Cyrillic") << QByteArray(
                                     "{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8\\'e2\\'e5\\'f2}")
                              << QStringLiteral("\u041F\u0440\u0438\u0432\u0435\u0442");
    QTest::newRow("Polish")
        << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset238 Arial;}}\\f0 \\'a3\\'f3d\\'9f}")
        << QStringLiteral("\u0141\u00F3d\u017A");
    // Lead and trail bytes in escapes of their own, across a line end, a
    // trail byte as plain text, and a half-width katakana standing alone.
    QTest::newRow("Japanese")
        << QByteArray("{\\rtf1\\ansi\\ansicpg932{\\fonttbl{\\f0\\fnil\\fcharset128 MS Mincho;}}"
                      "\\f0 \\'82\\'a0\\'82\r\n\\'a2\\'83A\\'b1 x}")
        << QStringLiteral("\u3042\u3044\u30A2\uFF71 x");
    QTest::newRow("Japanese trail byte escaped as a backslash")
        << QByteArray("{\\rtf1\\ansicpg932 \\'83\\\\}") << QStringLiteral("\u30BD");
    QTest::newRow("lead byte without its trail byte")
        << QByteArray("{\\rtf1\\ansicpg932 a\\'82\\b b}") << QStringLiteral("ab");
    QTest::newRow("Chinese") << QByteArray("{\\rtf1\\ansi\\ansicpg936 \\'d6\\'d0\\'ce\\'c4}")
                             << QStringLiteral("\u4E2D\u6587");
    QTest::newRow("Korean") << QByteArray("{\\rtf1{\\fonttbl{\\f0\\fcharset129 Batang;}}\\f0 "
                                          "\\'c7\\'d1\\'b1\\'db}")
                            << QStringLiteral("\uD55C\uAE00");
    QTest::newRow("traditional Chinese")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0\\fcharset136 MingLiU;}}\\f0 \\'a4\\'a4\\'a4\\'e5}")
        << QStringLiteral("\u4E2D\u6587");
    QTest::newRow("Mac Roman") << QByteArray("{\\rtf1\\mac \\'8e\\'9f\\'a5}")
                               << QStringLiteral("\u00E9\u00FC\u2022");
    QTest::newRow("DOS Latin 1") << QByteArray("{\\rtf1\\pca \\'82\\'9b}")
                                 << QStringLiteral("\u00E9\u00F8");
    QTest::newRow("DOS US") << QByteArray("{\\rtf1\\pc \\'82\\'9b}")
                            << QStringLiteral("\u00E9\u00A2");
    QTest::newRow("Thai") << QByteArray("{\\rtf1\\ansi\\ansicpg874 \\'a1\\'a2}")
                          << QStringLiteral("\u0E01\u0E02");
    QTest::newRow("UTF-8") << QByteArray("{\\rtf1\\ansi\\ansicpg65001 \\'c3\\'a9t\xc3\xa9 "
                                         "\\'f0\\'9f\\'98\\'80}")
                           << QStringLiteral("\u00E9t\u00E9 \U0001F600");
    QTest::newRow("code page Qt lacks")
        << QByteArray("{\\rtf1\\ansicpg4242 \\'e9}") << QStringLiteral("\u00E9");
}

void RtfCharactersTest::codePages() {
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QCOMPARE(readText(rtf), text);
}

void RtfCharactersTest::codePagePrecedence_data() {
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");
    const QByteArray bytes = "\\'a3\\'c1}";
    QTest::newRow("\\cpg beats \\fcharset")
        << "{\\rtf1\\ansicpg1251{\\fonttbl{\\f0\\fcharset161\\cpg1250 A;}}\\f0 " + bytes << in1250;
    QTest::newRow("\\fcharset beats \\ansicpg")
        << "{\\rtf1\\ansicpg1251{\\fonttbl{\\f0\\fcharset161 A;}}\\f0 " + bytes << in1253;
    QTest::newRow("\\fcharset0 is Windows-1252")
        << "{\\rtf1\\ansicpg1251{\\fonttbl{\\f0\\fcharset0 A;}}\\f0 " + bytes << in1252;
    QTest::newRow("font without a code page")
        << QByteArray("{\\rtf1\\ansicpg1251{\\fonttbl{\\f0\\fcharset1 A;}{\\f1 B;}}"
                      "\\f0 \\'a3\\f1 \\'c1}")
        << in1251;
    QTest::newRow("\\ansicpg beats \\mac") << "{\\rtf1\\mac\\ansicpg1251 " + bytes << in1251;
    QTest::newRow("the default font's") << "{\\rtf1\\deff1{\\fonttbl{\\f0\\fcharset161 A;}"
                                           "{\\f1\\fcharset238 B;}}" +
                                               bytes
                                        << in1250;
    QTest::newRow("each font its own")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0\\fcharset161 A;}{\\f1\\fcharset204 B;}}"
                      "{\\f0 \\'c1}{\\f1 \\'c1}\\f0 \\'c1 \\'c1}")
        << QStringLiteral("\u0391\u0411\u0391 \u0391");
}

void RtfCharactersTest::codePagePrecedence() {
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QCOMPARE(readText(rtf), text);
}

// One row per \fcharset a font table may give, with bytes that read
// differently in every other code page the reader knows.
void RtfCharactersTest::everyFontCharset_data() {
    QTest::addColumn<int>("charset");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("0 ANSI, 1252") << 0 << QByteArray("\\'80\\'9c\\'f0")
                                  << QStringLiteral("\u20AC\u0153\u00F0");
    QTest::newRow("2 Symbol") << 2 << QByteArray("\\'61\\'b9") << QStringLiteral("\u03B1\u2260");
    QTest::newRow("77 Mac Roman, 10000")
        << 77 << QByteArray("\\'8e\\'a5") << QStringLiteral("\u00E9\u2022");
    QTest::newRow("128 Shift-JIS, 932")
        << 128 << QByteArray("\\'82\\'a0") << QStringLiteral("\u3042");
    QTest::newRow("129 Hangul, 949") << 129 << QByteArray("\\'b0\\'a1") << QStringLiteral("\uAC00");
    QTest::newRow("134 GB2312, 936") << 134 << QByteArray("\\'c4\\'e3") << QStringLiteral("\u4F60");
    QTest::newRow("136 Big5, 950") << 136 << QByteArray("\\'a4\\'a4") << QStringLiteral("\u4E2D");
    QTest::newRow("161 Greek, 1253")
        << 161 << QByteArray("\\'e1\\'d9") << QStringLiteral("\u03B1\u03A9");
    QTest::newRow("162 Turkish, 1254")
        << 162 << QByteArray("\\'f0\\'fe") << QStringLiteral("\u011F\u015F");
    // The dong sign, o with horn, and the combining dot below, kept apart.
    QTest::newRow("163 Vietnamese, 1258")
        << 163 << QByteArray("\\'fe\\'f5\\'f2") << QStringLiteral("\u20AB\u01A1\u0323");
    QTest::newRow("177 Hebrew, 1255") << 177 << QByteArray("\\'e0") << QStringLiteral("\u05D0");
    QTest::newRow("178 Arabic, 1256") << 178 << QByteArray("\\'c7") << QStringLiteral("\u0627");
    QTest::newRow("186 Baltic, 1257") << 186 << QByteArray("\\'e0") << QStringLiteral("\u0105");
    QTest::newRow("204 Cyrillic, 1251") << 204 << QByteArray("\\'e0") << QStringLiteral("\u0430");
    QTest::newRow("222 Thai, 874") << 222 << QByteArray("\\'a1") << QStringLiteral("\u0E01");
    QTest::newRow("238 Eastern European, 1250")
        << 238 << QByteArray("\\'b9") << QStringLiteral("\u0105");
    // 0x9B is the cent sign in the US code page, o with a stroke in 850.
    QTest::newRow("255 OEM, 437") << 255 << QByteArray("\\'82\\'9b\\'e0")
                                  << QStringLiteral("\u00E9\u00A2\u03B1");
}

void RtfCharactersTest::everyFontCharset() {
    QFETCH(int, charset);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    // The document's own code page is one no row expects, so that a charset
    // the reader forgets shows.
    const QByteArray documentCodePage = charset == 204 ? "1253" : "1251";
    const QByteArray rtf = "{\\rtf1\\ansi\\ansicpg" + documentCodePage +
                           "{\\fonttbl{\\f0\\fnil\\fcharset" + QByteArray::number(charset) +
                           " Arial;}}\\f0 " + bytes + "}";
    QCOMPARE(readText(rtf), text);
}

void RtfCharactersTest::fontNamesInTheirCodePage() {
    const auto document =
        read("{\\rtf1{\\fonttbl{\\f0\\fnil\\fcharset128 \\'82\\'6c\\'82\\'72 \\'96\\'be\\'92\\'a9;}"
             "{\\f1\\fnil\\fcharset204 \\'c0\\'f0\\'e8\\'e0\\'eb;}}\\f0 a\\f1 b}");
    QCOMPARE(textprops::fontName(formatOf(*document, "a")),
             QStringLiteral("\uFF2D\uFF33 \u660E\u671D"));
    QCOMPARE(textprops::fontName(formatOf(*document, "b")),
             QStringLiteral("\u0410\u0440\u0438\u0430\u043B"));
}

void RtfCharactersTest::hiddenTextIsKeptUnseen() {
    const auto document =
        read("{\\rtf1 Voir{\\v  cach\\'e9 \\u946?}\\par a\\v b\\v0 c\\par {\\v seul}\\par}");
    QCOMPARE(shownText(*document), "Voir\nac\n");
    const QByteArray written = writeRtf(*document);
    QVERIFY2(written.contains("{\\v  cach\\'e9 \\u946?}"), written.constData());
    QVERIFY2(written.contains("{\\v b}"), written.constData());
    QVERIFY2(written.contains("{\\v seul}"), written.constData());
    // Read back, it stays hidden and is written the same.
    const auto again = read(written);
    QCOMPARE(shownText(*again), "Voir\nac\n");
    QCOMPARE(writeRtf(*again), written);
}

void RtfCharactersTest::capitals() {
    const auto document = read("{\\rtf1 {\\caps Titre}{\\scaps Nom}\\caps x\\caps0 y}");
    QCOMPARE(shownText(*document), "TitreNomxy");
    QCOMPARE(formatOf(*document, "Titre").fontCapitalization(), QFont::AllUppercase);
    QCOMPARE(formatOf(*document, "Nom").fontCapitalization(), QFont::SmallCaps);
    QCOMPARE(formatOf(*document, "y").fontCapitalization(), QFont::MixedCase);

    const QByteArray written = writeRtf(*document);
    QVERIFY2(written.contains("\\caps\\") && written.contains("\\scaps"), written.constData());
    const auto again = read(written);
    QCOMPARE(formatOf(*again, "Titre").fontCapitalization(), QFont::AllUppercase);
    QCOMPARE(formatOf(*again, "Nom").fontCapitalization(), QFont::SmallCaps);
    QCOMPARE(formatOf(*again, "y").fontCapitalization(), QFont::MixedCase);
}

void RtfCharactersTest::unicodeBranchOfUpr() {
    const auto document =
        read("{\\rtf1{\\fonttbl{\\upr{\\f0\\fcharset0 Ancien;}{\\*\\ud{\\f0\\fcharset0 Nouveau;}}}}"
             "\\f0 a{\\upr{\\b ancien}{\\*\\ud{\\b nouv\\u233?au}}}b}");
    QCOMPARE(shownText(*document), QStringLiteral("anouv\u00E9aub"));
    QCOMPARE(textprops::fontName(formatOf(*document, "a")), "Nouveau");
    QCOMPARE(formatOf(*document, QStringLiteral("nouv\u00E9au")).fontWeight(), QFont::Bold);
    // \ud alone holds ordinary text.
    QCOMPARE(readText("{\\rtf1 a{\\*\\ud b}}"), "ab");
}

void RtfCharactersTest::skippedAndIgnoredParts() {
    QCOMPARE(readText("{\\rtf1 a{\\nonesttables b\\par}c}"), "ac");
    QCOMPARE(readText("{\\rtf1 a\\par}b{\\b c}\\par d"), "a");
    QCOMPARE(readText(QByteArray("{\\rtf1 a}\r\n\0x", 13)), "a");
}

void RtfCharactersTest::softHyphen() {
    const auto document = read("{\\rtf1 co\\-pain, \\'ad}");
    QCOMPARE(shownText(*document), QStringLiteral("co\u00ADpain, \u00AD"));
    const QByteArray written = writeRtf(*document);
    QVERIFY2(written.contains("co\\-pain, \\-\\par"), written.constData());
}

void RtfCharactersTest::footnotesShowAtParagraphEnd() {
    const auto document =
        read("{\\rtf1\\ansicpg1253 Texte{\\super\\chftn}{\\footnote\\pard\\plain{\\super\\chftn} "
             "\\'e1\\'e2.\\par Suite.} et{\\chftn}{\\footnote {\\chftn}Autre.} fin.\\par Deux}");
    QCOMPARE(shownText(*document),
             QStringLiteral("Texte1 et2 fin. [1 \u03B1\u03B2. Suite.] [2Autre.]\nDeux"));
    const QTextBlock first = document->begin();
    QTextCursor cursor(document.get());
    cursor.setPosition(first.position() + 6);
    QVERIFY(textprops::offsetTwips(cursor.charFormat()) > 0);
    cursor.setPosition(first.position() + int(first.text().indexOf(QStringLiteral("et2"))) + 3);
    QVERIFY(textprops::offsetTwips(cursor.charFormat()) > 0);
    // The notes are in the paragraph's own characters, not raised.
    cursor.setPosition(first.text().indexOf(u'[') + 2);
    QCOMPARE(textprops::offsetTwips(cursor.charFormat()), 0);
}

QTEST_MAIN(RtfCharactersTest)
#include "rtfcharacters_test.moc"
