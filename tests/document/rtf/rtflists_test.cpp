#include "document/rtf/rtflists.h"
#include "document/rtf/rtfreader.h"
#include "document/rtf/rtfwriter.h"
#include "rtfdocument.h"

#include <QFile>
#include <QSet>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <memory>

Q_DECLARE_METATYPE(rtflists::ListLook)

namespace {

QString blockTexts(const QTextDocument &document) {
    QStringList texts;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        texts << block.text();
    return texts.join(u'\n');
}

QTextList *listOf(const QTextDocument &document, int blockNumber) {
    return document.findBlockByNumber(blockNumber).textList();
}

rtflists::ListLook lookOf(const QTextDocument &document, int blockNumber) {
    QTextList *list = listOf(document, blockNumber);
    return list ? rtflists::lookOf(list->format()) : rtflists::ListLook();
}

rtflists::ListLook look(QTextListFormat::Style style, const QString &suffix,
                        const QString &prefix = {}, int start = 1) {
    return rtflists::ListLook(style, start, prefix, suffix);
}

// As LibreOffice writes a list level: \'02\'00. is "<level 1 number>.".
QByteArray level(int nfc, const QByteArray &text, int start = 1) {
    return "{\\listlevel\\levelnfc" + QByteArray::number(nfc) + "\\leveljc0\\levelstartat" +
           QByteArray::number(start) + "\\levelfollow0{\\leveltext " + text +
           ";}{\\levelnumbers\\'01;}\\fi-360\\li720}";
}

QByteArray listItem(int ls, int ilvl, const QByteArray &label, const QByteArray &text) {
    return "\\par \\pard\\plain \\s0\\f0\\fs24{\\listtext\\pard\\plain " + label + "\\tab}\\ilvl" +
           QByteArray::number(ilvl) + "\\ls" + QByteArray::number(ls) +
           " \\li720\\ri0\\lin720\\rin0\\fi-360\\ql{\\loch\n" + text + "}\n";
}

// A document the way LibreOffice saves it: a decimal list with a lettered
// second level, a lower-letter list with ")" and a roman list from III.
const QByteArray libreOfficeLists =
    "{\\rtf1\\ansi\\deff4\\adeflang1025\n"
    "{\\fonttbl{\\f0\\froman\\fprq2\\fcharset0 Times New Roman;}}\n"
    "{\\*\\listtable{\\list\\listtemplateid1\n" +
    level(0, "\\'02\\'00.") + "\n" + level(4, "\\'04\\'00.\\'01)") +
    "\\listid1}\n"
    "{\\list\\listtemplateid2\n" +
    level(4, "\\'02\\'00)") +
    "\\listid2}\n"
    "{\\list\\listtemplateid3\n" +
    level(1, "\\'03(\\'00)", 3) +
    "\\listid3}\n"
    "}{\\listoverridetable{\\listoverride\\listid1\\listoverridecount0\\ls1}"
    "{\\listoverride\\listid2\\listoverridecount0\\ls2}"
    "{\\listoverride\\listid3\\listoverridecount0\\ls3}}\n"
    "{\\*\\generator LibreOffice/7.4.7.2$Linux_X86_64 LibreOffice_project/40$Build-2}\n"
    "\\pard\\plain \\s0\\f0\\fs24{\\loch Exercice}\n" +
    listItem(1, 0, "1.", "Calculer") + listItem(1, 1, "1.a)", "la masse") +
    listItem(1, 0, "2.", "Conclure") + "\\par \\pard\\plain \\s0\\f0\\fs24{\\loch Entre}\n" +
    listItem(1, 0, "3.", "Recommencer") + listItem(2, 0, "a)", "oui") +
    listItem(2, 0, "b)", "non") + listItem(3, 0, "(III)", "trois") + "\\par }";

} // namespace

class RtfListsTest : public QObject {
    Q_OBJECT

private slots:
    void libreOfficeListsShowTheirNumbers();
    void richEditNumbering_data();
    void richEditNumbering();
    void listMissingFromTheTable();
    void numbersWrittenBack();
    void numberedListsRoundTrip();
    void bulletsStayBullets();
    void labels();
    void longLists_data();
    void longLists();
};

void RtfListsTest::libreOfficeListsShowTheirNumbers() {
    const auto document = read(libreOfficeLists);
    QCOMPARE(blockTexts(*document), "Exercice\nCalculer\nla masse\nConclure\nEntre\n"
                                    "Recommencer\noui\nnon\ntrois");
    QCOMPARE(listOf(*document, 0), nullptr);
    QCOMPARE(lookOf(*document, 1), look(QTextListFormat::ListDecimal, "."));
    QCOMPARE(lookOf(*document, 2), look(QTextListFormat::ListLowerAlpha, ")"));
    // The first level goes on counting past its sub-item and past the
    // paragraph between: 1, 2, 3.
    QTextList *first = listOf(*document, 1);
    QCOMPARE(listOf(*document, 3), first);
    QCOMPARE(listOf(*document, 4), nullptr);
    QCOMPARE(listOf(*document, 5), first);
    QCOMPARE(first->itemNumber(document->findBlockByNumber(5)), 2);
    QVERIFY(listOf(*document, 2) != first);

    QCOMPARE(lookOf(*document, 6), look(QTextListFormat::ListLowerAlpha, ")"));
    QCOMPARE(listOf(*document, 7), listOf(*document, 6));
    QVERIFY(listOf(*document, 6) != listOf(*document, 2));
    QCOMPARE(lookOf(*document, 8), look(QTextListFormat::ListUpperRoman, ")", "(", 3));
}

void RtfListsTest::richEditNumbering_data() {
    QTest::addColumn<QByteArray>("pn");
    QTest::addColumn<rtflists::ListLook>("expected");
    QTest::newRow("decimal") << QByteArray(
                                    "\\pnlvlbody\\pnf0\\pnindent0\\pnstart1\\pndec{\\pntxta.}")
                             << look(QTextListFormat::ListDecimal, ".");
    QTest::newRow("lower letters")
        << QByteArray("\\pnlvlbody\\pnf0\\pnindent0\\pnstart4\\pnlcltr{\\pntxtb (}{\\pntxta )}")
        << look(QTextListFormat::ListLowerAlpha, ")", "(", 4);
    QTest::newRow("upper letters") << QByteArray("\\pnlvlbody\\pnucltr{\\pntxta -}")
                                   << look(QTextListFormat::ListUpperAlpha, "-");
    QTest::newRow("lower roman") << QByteArray("\\pnlvlbody\\pnlcrm{\\pntxta .}")
                                 << look(QTextListFormat::ListLowerRoman, ".");
    QTest::newRow("upper roman") << QByteArray("\\pnlvlbody\\pnucrm{\\pntxta .}")
                                 << look(QTextListFormat::ListUpperRoman, ".");
    QTest::newRow("start past Word's largest")
        << QByteArray("\\pnlvlbody\\pnstart2147483647\\pnlcrm{\\pntxta .}")
        << look(QTextListFormat::ListLowerRoman, ".", {}, 32767);
    QTest::newRow("bullet") << QByteArray("\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb\\'b7}")
                            << rtflists::ListLook();
}

// RichEdit writes \pn once and \pntext before each paragraph.
void RtfListsTest::richEditNumbering() {
    QFETCH(QByteArray, pn);
    QFETCH(rtflists::ListLook, expected);
    const auto document =
        read("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset2 Symbol;}}\\pard Avant\\par "
             "{\\pntext\\f0 1.\\tab}{\\*\\pn" +
             pn + "}\\fi-360\\li360 un\\par{\\pntext\\f0 2.\\tab}deux\\par\\pard apr\\'e8s\\par}");
    QCOMPARE(blockTexts(*document), "Avant\nun\ndeux\naprès");
    QCOMPARE(lookOf(*document, 1), expected);
    QCOMPARE(listOf(*document, 2), listOf(*document, 1));
    QCOMPARE(listOf(*document, 3), nullptr);
    // The second label written back (past the roman numbers' range, digits).
    if (expected.isNumbered())
        QVERIFY(writeRtf(*document).contains(
            rtflists::labelText(expected, expected.start + 1).toUtf8()));
}

void RtfListsTest::listMissingFromTheTable() {
    // The table has list 1 only: \ls9 names none of it.
    QByteArray rtf = libreOfficeLists;
    rtf.insert(rtf.lastIndexOf("\\par }"), listItem(9, 0, "10.", "dix") +
                                               listItem(9, 0, "\\u8226\\'95", "puce") +
                                               listItem(9, 0, "\\'b7", "puce"));
    const auto document = read(rtf);
    QCOMPARE(document->findBlockByNumber(9).text(), "10.\tdix");
    QCOMPARE(listOf(*document, 9), nullptr);
    QCOMPARE(document->findBlockByNumber(10).text(), "puce");
    QCOMPARE(lookOf(*document, 10), rtflists::ListLook());
    QCOMPARE(listOf(*document, 11), listOf(*document, 10));

    // With no list table at all, likewise; Word writes the label before \pard.
    const auto bare = read("{\\rtf1{\\listtext\\b 10.\\tab}\\pard\\ls1 dix\\par"
                           "{\\listtext\\b 11.\\tab}\\pard\\ls1 onze\\par"
                           "{\\listtext\\'95\\tab}\\pard\\ls2 puce\\par}");
    QCOMPARE(blockTexts(*bare), "10.\tdix\n11.\tonze\npuce");
    QCOMPARE(listOf(*bare, 1), nullptr);
    QVERIFY(listOf(*bare, 2));
}

void RtfListsTest::numbersWrittenBack() {
    const auto document = read(libreOfficeLists);
    const QByteArray rtf = writeRtf(*document);
    // RichEdit's numbering, with each label for the readers that show it.
    QVERIFY(rtf.contains("{\\pntext\\f0 1.\\tab}{\\*\\listtext\\f0 1.\\tab}"
                         "{\\*\\pn\\pnlvlbody\\pnf0\\pnindent0\\pnstart1\\pndec{\\pntxta .}}"));
    // After the sub-item and the paragraph between, RichEdit numbers on
    // from \pnstart.
    QVERIFY(rtf.contains("{\\pntext\\f0 2.\\tab}{\\*\\listtext\\f0 2.\\tab}"
                         "{\\*\\pn\\pnlvlbody\\pnf0\\pnindent0\\pnstart2\\pndec"));
    QVERIFY(rtf.contains("{\\pntext\\f0 3.\\tab}{\\*\\listtext\\f0 3.\\tab}"
                         "{\\*\\pn\\pnlvlbody\\pnf0\\pnindent0\\pnstart3\\pndec"));
    QVERIFY(rtf.contains("{\\pntext\\f0 b)\\tab}{\\*\\listtext\\f0 b)\\tab}non"));
    QVERIFY(rtf.contains("{\\pntext\\f0 (III)\\tab}{\\*\\listtext\\f0 (III)\\tab}"
                         "{\\*\\pn\\pnlvlbody\\pnf0\\pnindent0\\pnstart3\\pnucrm"
                         "{\\pntxtb (}{\\pntxta )}}"));
    QVERIFY(!rtf.contains("\\pnlvlblt"));
}

void RtfListsTest::numberedListsRoundTrip() {
    const auto document = read(libreOfficeLists);
    const auto again = read(writeRtf(*document));
    QCOMPARE(blockTexts(*again), blockTexts(*document));
    for (int block = 0; block < document->blockCount(); ++block) {
        QCOMPARE(lookOf(*again, block), lookOf(*document, block));
        QCOMPARE(listOf(*again, block) == nullptr, listOf(*document, block) == nullptr);
    }
    QCOMPARE(listOf(*again, 3), listOf(*again, 1));
    QCOMPARE(listOf(*again, 5), listOf(*again, 1));
    QVERIFY(listOf(*again, 6) != listOf(*again, 2));
    QCOMPARE(listOf(*again, 7), listOf(*again, 6));
}

void RtfListsTest::bulletsStayBullets() {
    QFile file(QStringLiteral(REDIGO_FIXTURES "/lo-formats.rtf"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const auto document = read(file.readAll());
    QTextList *list = listOf(*document, 3);
    QVERIFY(list);
    QCOMPARE(list->format().style(), QTextListFormat::ListDisc);
    QCOMPARE(listOf(*document, 4), list);
    const QByteArray rtf = writeRtf(*document);
    QCOMPARE(rtf.count("{\\*\\pn\\pnlvlblt"), 1);
    QVERIFY(!rtf.contains("listtext"));
    QVERIFY(!rtf.contains("\\pndec"));
}

void RtfListsTest::labels() {
    using rtflists::labelText;
    QCOMPARE(labelText(look(QTextListFormat::ListDecimal, "."), 12), "12.");
    QCOMPARE(labelText(look(QTextListFormat::ListLowerAlpha, ")"), 2), "b)");
    QCOMPARE(labelText(look(QTextListFormat::ListUpperAlpha, "."), 28), "AB.");
    QCOMPARE(labelText(look(QTextListFormat::ListLowerRoman, "."), 4), "iv.");
    QCOMPARE(labelText(look(QTextListFormat::ListUpperRoman, ")", "("), 1994), "(MCMXCIV)");
    QVERIFY(rtflists::isBulletLabel(QStringLiteral("\u2022\t")));
    QVERIFY(rtflists::isBulletLabel(QStringLiteral("o\t")));
    QVERIFY(!rtflists::isBulletLabel(QStringLiteral("1\t")));
    QVERIFY(!rtflists::isBulletLabel(QStringLiteral("a)\t")));
}

void RtfListsTest::longLists_data() {
    QTest::addColumn<QByteArray>("tables");
    QTest::addColumn<QByteArray>("item");
    QTest::addColumn<int>("items");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<int>("lists");
    const QByteArray richEdit =
        "{\\pntext 1.\\tab}\\pard{\\*\\pn\\pnlvlbody\\pndec{\\pntxta .}}un\\par\n";
    const QByteArray wordTables =
        "{\\*\\listtable{\\list" + level(0, "\\'02\\'00.") +
        "\\listid7}}{\\*\\listoverridetable{\\listoverride\\listid7\\ls1}}";
    const QByteArray word = "{\\listtext 1.\\tab}\\pard\\ls1\\ilvl0 un\\par\n";
    const QByteArray bullet = "{\\pntext \\'b7\\tab}\\pard{\\*\\pn\\pnlvlblt{\\pntxtb "
                              "\\'b7}}un\\par\n";
    QTest::newRow("numbered, 500 items") << QByteArray() << richEdit << 500 << false << 1;
    QTest::newRow("numbered, 501 items") << QByteArray() << richEdit << 501 << true << 0;
    QTest::newRow("Word's numbered, 500 items") << wordTables << word << 500 << false << 1;
    QTest::newRow("Word's numbered, 501 items") << wordTables << word << 501 << true << 0;
    // Bullets look the same in one list or in several.
    QTest::newRow("bullets, 1,200 items") << QByteArray() << bullet << 1200 << false << 3;
}

// Each item joining a list costs Qt as much as the list is long: a list long
// enough to take seconds is cut, or its text refused before it is built.
void RtfListsTest::longLists() {
    QFETCH(QByteArray, tables);
    QFETCH(QByteArray, item);
    QFETCH(int, items);
    QFETCH(bool, refused);
    QFETCH(int, lists);
    QTextDocument document;
    QTextCursor cursor(&document);
    const RtfReadResult result =
        readRtf("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}" + tables + item.repeated(items) + "}",
                cursor, RtfInsertMode::WholeDocument);
    QCOMPARE(result.tooLongToShow, refused);
    if (refused) return;
    QCOMPARE(document.blockCount(), items);
    QSet<QTextList *> seen;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QVERIFY(block.textList());
        QCOMPARE(lookOf(document, block.blockNumber()).style, lookOf(document, 0).style);
        seen.insert(block.textList());
    }
    QCOMPARE(seen.size(), lists);
}

QTEST_MAIN(RtfListsTest)
#include "rtflists_test.moc"
