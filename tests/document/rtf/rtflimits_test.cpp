#include "document/rtf/rtfpicturedecoder.h"
#include "document/rtf/rtfreader.h"
#include "document/rtf/rtfrunlister.h"
#include "document/rtf/rtfwriter.h"
#include "document/rtf/rtfwriter_attributes.h"
#include "document/textproperties.h"
#include "editor/richtextbox.h"
#include "imagebytes.h"

#include <QImage>
#include <QSet>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>
#include <cmath>
#include <memory>

// Inputs made to cost a reader far more than their size: thousands of fonts,
// colours, tab sets and pictures. They must read as any other file does.

namespace {

// Enough for a lookup that walks every format to show, not enough to be slow.
constexpr int manyCount = 2000;

QByteArray number(qint64 n) {
    return QByteArray::number(n);
}

std::unique_ptr<QTextDocument> read(const QByteArray &rtf, RtfReadResult *result = nullptr) {
    auto document = std::make_unique<QTextDocument>();
    QTextCursor cursor(document.get());
    const RtfReadResult read = readRtf(rtf, cursor, RtfInsertMode::WholeDocument);
    if (result) *result = read;
    return document;
}

QTextCharFormat firstRunFormat(const QTextBlock &block) {
    return block.begin().fragment().charFormat();
}

// Paragraph i: "mot i" in font "Police i", colour i, with a left stop at
// 100 + i twips and a right one at 3000 + i.
QByteArray manyFontsColoursAndTabs() {
    QByteArray rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl";
    for (int i = 0; i < manyCount; ++i)
        rtf += "{\\f" + number(i) + " Police " + number(i) + ";}";
    rtf += "}\r\n{\\colortbl ;";
    for (int i = 0; i < manyCount; ++i)
        rtf += "\\red" + number(i % 256) + "\\green" + number(i / 256) + "\\blue7;";
    rtf += "}\r\n";
    for (int i = 0; i < manyCount; ++i) {
        rtf += "\\pard\\tx" + number(100 + i) + "\\tqr\\tx" + number(3000 + i) + "{\\f" +
               number(i) + "\\cf" + number(i + 1) + " mot" + number(i) + "}\\tab x\\par\r\n";
    }
    return rtf + "}";
}

void checkParagraph(const QTextBlock &block, int i) {
    const QTextCharFormat format = firstRunFormat(block);
    QCOMPARE(block.text(), QStringLiteral("mot%1\tx").arg(i));
    QCOMPARE(textprops::fontName(format), QStringLiteral("Police %1").arg(i));
    QCOMPARE(format.foreground().color().rgb(), qRgb(i % 256, i / 256, 7));
    const QList<QTextOption::Tab> stops = textprops::tabStops(block.blockFormat());
    QCOMPARE(stops.size(), 2);
    QCOMPARE(stops[0].position, (100.0 + i) / 15);
    QCOMPARE(stops[1].position, (3000.0 + i) / 15);
    QCOMPARE(stops[1].type, QTextOption::RightTab);
}

QByteArray picture(const QByteArray &blip, const QByteArray &bytes) {
    return "{\\pict\\" + blip + " " + bytes.toHex() + "}";
}

// A metafile, which Qt never shows: a placeholder stands in for it.
QByteArray metafile(int i, int heightPx) {
    return "{\\pict\\wmetafile8\\picwgoal" + number(150 + 15 * (i % 40)) + "\\pichgoal" +
           number(15 * heightPx) + " 01000900" + number(1000 + i) + "}";
}

QImage blankMono(int sidePx, int colour) {
    QImage image(sidePx, sidePx, QImage::Format_Mono);
    image.fill(colour);
    return image;
}

} // namespace

class RtfLimitsTest : public QObject {
    Q_OBJECT

private slots:
    void thousandsOfFontsColoursAndTabs();
    void controlReadsThousandsOfFontsAndTabs();
    void undecodablePicturesShareOnePlaceholder();
    void picturesBeyondThePixelBudget();
    void tallPicturesStayWithinReach();
    void hugeNumbersStayInRange();
};

void RtfLimitsTest::thousandsOfFontsColoursAndTabs() {
    const auto document = read(manyFontsColoursAndTabs());
    QCOMPARE(document->blockCount(), manyCount);
    QSet<QString> drawn;
    for (int i = 0; i < manyCount; ++i) {
        const QTextBlock block = document->findBlockByNumber(i);
        checkParagraph(block, i);
        for (const QString &family : firstRunFormat(block).fontFamilies().toStringList())
            drawn.insert(family);
    }
    // Qt is asked to draw a few hundred families at most, or the first paint
    // would take minutes; the names all stay for saving.
    QVERIFY(drawn.size() <= 256);

    // Written back and read again, every paragraph is the same.
    const QByteArray written = writeRtf(*document);
    const auto copy = read(written);
    QCOMPARE(listRuns(*copy), listRuns(*document));
    QCOMPARE(writeRtf(*copy), written);
}

void RtfLimitsTest::controlReadsThousandsOfFontsAndTabs() {
    RichTextBox box;
    box.setTextRTF(manyFontsColoursAndTabs());
    for (const int i : {0, 1, manyCount / 2, manyCount - 1}) {
        box.setSelStart(box.document()->findBlockByNumber(i).position() + 1);
        QCOMPARE(box.selFontName().value_or(QString()), QStringLiteral("Police %1").arg(i));
        QCOMPARE(box.selTabs(0).value_or(-1), (100.0 + i) / 15);
        QCOMPARE(box.selTabs(1).value_or(-1), (3000.0 + i) / 15);
    }
}

void RtfLimitsTest::undecodablePicturesShareOnePlaceholder() {
    constexpr int count = 500;
    QByteArrayList groups;
    for (int i = 0; i < count; ++i)
        groups << metafile(i, 10 + i % 7);
    const QByteArray object = "{\\object\\objemb\\objw600\\objh300{\\*\\objdata 0105}}";
    const auto document = read("{\\rtf1 " + groups.join("x") + object + "}");

    const QList<QTextImageFormat> found = images(*document);
    QCOMPARE(found.size(), count + 1);
    const QVariant shared =
        document->resource(QTextDocument::ImageResource, QUrl(rtfPlaceholderImageName()));
    QVERIFY(!shared.value<QImage>().isNull());
    for (int i = 0; i < count; ++i) {
        QCOMPARE(found[i].name(), rtfPlaceholderImageName());
        QCOMPARE(found[i].width(), double(10 + i % 40));
        QCOMPARE(found[i].height(), double(10 + i % 7));
        QCOMPARE(found[i].property(textprops::RawRtfGroup).toByteArray(), groups[i]);
    }
    QCOMPARE(found[count].name(), rtfPlaceholderImageName());
    QCOMPARE(QSizeF(found[count].width(), found[count].height()), QSizeF(40, 20));

    const QByteArray written = writeRtf(*document);
    for (const QByteArray &group : std::as_const(groups))
        QVERIFY(written.contains(group));
    QVERIFY(written.contains(object));
}

void RtfLimitsTest::picturesBeyondThePixelBudget() {
    // A large picture takes most of what a short document may decode to: the
    // next large ones cannot show, a small one after them still does.
    const qint64 budget = rtfPictureBudgetPixels(0);
    const auto side = [budget](double share) { return int(std::sqrt(double(budget) * share)); };
    const QByteArray small = picture("pngblip", encoded(blankMono(3, 0), "PNG"));
    const QByteArray first = picture("pngblip", encoded(blankMono(side(0.85), 1), "PNG"));
    const QByteArray second = picture("pngblip", encoded(blankMono(side(0.6), 0), "PNG"));
    const QByteArray third = picture("dibitmap0", encoded(blankMono(side(0.16), 0), "BMP").mid(14));
    const QByteArray rtf = "{\\rtf1 " + small + first + second + third + small + "}";
    QCOMPARE(rtfPictureBudgetPixels(rtf.size()), budget); // a short document

    RtfReadResult result;
    const auto document = read(rtf, &result);
    QVERIFY2(result.ok, qPrintable(result.problem));
    const QList<QTextImageFormat> found = images(*document);
    QCOMPARE(found.size(), 5);
    const auto shown = [&](int i) { return rtfattributes::documentImage(*document, found[i]); };
    QCOMPARE(shown(0).size(), QSize(3, 3));
    QCOMPARE(shown(1).size(), QSize(side(0.85), side(0.85)));
    QCOMPARE(shown(4).size(), QSize(3, 3));
    // Not shown, they stand where and as large as they would be.
    QCOMPARE(found[2].name(), rtfPlaceholderImageName());
    QCOMPARE(QSizeF(found[2].width(), found[2].height()), QSizeF(side(0.6), side(0.6)));
    QCOMPARE(found[2].property(textprops::RawRtfGroup).toByteArray(), second);
    QCOMPARE(found[3].name(), rtfPlaceholderImageName());
    QCOMPARE(QSizeF(found[3].width(), found[3].height()), QSizeF(side(0.16), side(0.16)));
    QCOMPARE(found[3].property(textprops::RawRtfGroup).toByteArray(), third);

    // Saved, they keep their bytes, and read the same again.
    const QByteArray written = writeRtf(*document);
    QVERIFY(written.contains(second + third));
    const auto copy = read(written);
    QCOMPARE(listRuns(*copy), listRuns(*document));
    QCOMPARE(writeRtf(*copy), written);
}

void RtfLimitsTest::tallPicturesStayWithinReach() {
    // Qt's layout never ends once a document is some millions of pixels tall.
    constexpr int count = 300;
    constexpr int tallPx = 30000;
    QByteArray rtf = "{\\rtf1 ";
    for (int i = 0; i < count; ++i)
        rtf += metafile(i, tallPx) + "\\par ";
    const auto document = read(rtf + "}");
    const QList<QTextImageFormat> found = images(*document);
    QCOMPARE(found.size(), count);
    double totalPx = 0;
    for (const QTextImageFormat &format : found) {
        totalPx += format.height();
        QVERIFY(format.hasProperty(textprops::RawRtfGroup));
    }
    QCOMPARE(found.first().height(), double(tallPx));
    QVERIFY2(totalPx < 2.5e6, qPrintable(QString::number(totalPx)));
    QVERIFY(writeRtf(*document).contains(metafile(count - 1, tallPx)));
}

void RtfLimitsTest::hugeNumbersStayInRange() {
    constexpr double widestPx = 31680.0 / 15; // 22 inches
    const QByteArray big = "99999999999999999999";
    const auto document =
        read("{\\rtf1\\pard\\li" + big + "\\ri-" + big + "\\fi-2147483647\\tx" + big +
             "\\tx300\\fs" + big + "\\up" + big + " a\\tab b" + "{\\pict\\wbitmap0\\picw" + big +
             "\\pich" + big + "\\picscalex" + big + " 00}\\par}");
    const QTextBlock block = document->firstBlock();
    QCOMPARE(block.blockFormat().leftMargin(), widestPx);
    QCOMPARE(block.blockFormat().rightMargin(), -widestPx);
    QCOMPARE(block.blockFormat().textIndent(), -widestPx);
    const QList<QTextOption::Tab> stops = textprops::tabStops(block.blockFormat());
    QCOMPARE(stops.size(), 1);
    QCOMPARE(stops[0].position, 20.0);
    const QTextCharFormat text = firstRunFormat(block);
    QCOMPARE(text.fontPointSize(), 1638.0);
    const QList<QTextImageFormat> found = images(*document);
    QCOMPARE(found.size(), 1);
    QVERIFY(found[0].width() <= 32767 && found[0].height() <= 32767);
}

QTEST_MAIN(RtfLimitsTest)
#include "rtflimits_test.moc"
