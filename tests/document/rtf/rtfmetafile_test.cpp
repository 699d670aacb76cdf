#include "document/rtf/rtfmetafile.h"
#include "document/rtf/rtfpicturedecoder.h"
#include "document/rtf/rtfreader.h"
#include "document/rtf/rtfwriter.h"
#include "document/textproperties.h"
#include "imagebytes.h"

#include <QBuffer>
#include <QImage>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>
#include <initializer_list>

namespace {

void putU16(QByteArray &out, quint32 value) {
    out.append(char(value & 0xFF));
    out.append(char((value >> 8) & 0xFF));
}

void putU32(QByteArray &out, quint32 value) {
    putU16(out, value & 0xFFFF);
    putU16(out, value >> 16);
}

// A WMF of 200 x 100 units holding a red rectangle with a black border,
// as a list of records after the header.
QByteArray rectangleWmf(bool withEnd = true) {
    QByteArray records;
    auto record = [&records](quint32 function, std::initializer_list<quint32> words) {
        putU32(records, 3 + quint32(words.size()));
        putU16(records, function);
        for (const quint32 word : words)
            putU16(records, word);
    };
    record(0x020B, {0, 0});                 // SETWINDOWORG
    record(0x020C, {100, 200});             // SETWINDOWEXT
    record(0x02FC, {0, 0x00FF, 0x0000, 0}); // CREATEBRUSHINDIRECT: solid red
    record(0x012D, {0});                    // SELECTOBJECT
    record(0x041B, {100, 200, 0, 0});       // RECTANGLE: bottom, right, top, left
    if (withEnd) record(0x0000, {});
    QByteArray wmf;
    putU16(wmf, 1);
    putU16(wmf, 9);
    putU16(wmf, 0x300);
    putU32(wmf, quint32(18 + records.size()) / 2);
    putU16(wmf, 1);
    putU32(wmf, 7);
    putU16(wmf, 0);
    return wmf + records;
}

// An EMF with the same red rectangle, its frame 50 x 25 mm.
QByteArray rectangleEmf() {
    QByteArray emf;
    auto ints = [&emf](std::initializer_list<quint32> values) {
        for (const quint32 value : values)
            putU32(emf, value);
    };
    ints({1, 88, 0, 0, 199, 99, 0, 0, 5000, 2500}); // EMR_HEADER, bounds, frame
    ints({0x464D4520, 0x10000, 0, 5});              // signature, version, bytes, records
    putU16(emf, 2);
    putU16(emf, 0);
    ints({0, 0, 0, 1024, 768, 270, 203});
    ints({39, 24, 1, 0, 0x0000FF, 0}); // EMR_CREATEBRUSHINDIRECT: solid red
    ints({37, 12, 1});                 // EMR_SELECTOBJECT
    ints({43, 24, 0, 0, 199, 99});     // EMR_RECTANGLE
    ints({14, 20, 0, 16, 20});         // EMR_EOF
    const QByteArray size = [&] {
        QByteArray bytes;
        putU32(bytes, quint32(emf.size()));
        return bytes;
    }();
    emf.replace(48, 4, size);
    return emf;
}

// The same EMF with one 32-bit field of its header changed.
QByteArray emfWithHeaderField(qsizetype at, quint32 value) {
    QByteArray emf = rectangleEmf();
    QByteArray field;
    putU32(field, value);
    return emf.replace(at, 4, field);
}

QImage resourceImage(const QTextDocument &document, const QTextImageFormat &format) {
    return document.resource(QTextDocument::ImageResource, QUrl(format.name())).value<QImage>();
}

QList<QTextImageFormat> read(QTextDocument &document, const QByteArray &rtf) {
    QTextCursor cursor(&document);
    readRtf(rtf, cursor, RtfInsertMode::WholeDocument);
    return images(document);
}

bool near(QRgb pixel, QRgb expected) {
    return qAbs(qRed(pixel) - qRed(expected)) < 40 && qAbs(qGreen(pixel) - qGreen(expected)) < 40 &&
           qAbs(qBlue(pixel) - qBlue(expected)) < 40 && qAlpha(pixel) == 255;
}

// The group between begin and its closing brace.
QByteArray groupAt(const QByteArray &rtf, qsizetype begin) {
    int depth = 0;
    for (qsizetype i = begin; i < rtf.size(); ++i) {
        if (rtf[i] == '\\') {
            ++i;
        } else if (rtf[i] == '{') {
            ++depth;
        } else if (rtf[i] == '}' && --depth == 0) {
            return rtf.mid(begin, i + 1 - begin);
        }
    }
    return {};
}

} // namespace

class RtfMetafileTest : public QObject {
    Q_OBJECT
private slots:
    void metafilesAreDrawn_data();
    void metafilesAreDrawn();
    void undrawableMetafilesKeepPlaceholder_data();
    void undrawableMetafilesKeepPlaceholder();
    void densityStaysWithinBudget();
    void manyMetafilesStopBeingDrawn();
    void writtenPictureCarriesMetafileCopy();
    void photoStaysWithinThreeTimesItsFile();
    void picturesAreReadOnceInEveryForm_data();
    void picturesAreReadOnceInEveryForm();
};

void RtfMetafileTest::metafilesAreDrawn_data() {
    QTest::addColumn<QByteArray>("group");
    QTest::addColumn<QSizeF>("shownPx");
    QTest::newRow("wmf at its goal size")
        << "{\\pict\\wmetafile8\\picw5292\\pich2646\\picwgoal3000\\pichgoal1500\r\n" +
               rectangleWmf().toHex() + "}"
        << QSizeF(200, 100);
    QTest::newRow("emf at its frame's size") << "{\\pict\\emfblip " + rectangleEmf().toHex() + "}"
                                             << QSizeF(189, 94); // 50 x 25 mm in whole pixels
    // The library follows the description's offset up to a null character.
    QTest::newRow("emf whose description starts at its end")
        << "{\\pict\\emfblip " + emfWithHeaderField(64, quint32(rectangleEmf().size())).toHex() +
               "}"
        << QSizeF(189, 94);
    QTest::newRow("emf as binary, scaled")
        << "{\\pict\\emfblip\\picwgoal1500\\pichgoal750\\picscalex200\\picscaley200\\bin" +
               QByteArray::number(rectangleEmf().size()) + " " + rectangleEmf() + "}"
        << QSizeF(200, 100);
}

// Drawn densely enough to print crisply, shown at its size, written back as read.
void RtfMetafileTest::metafilesAreDrawn() {
    QFETCH(QByteArray, group);
    QFETCH(QSizeF, shownPx);
    QTextDocument document;
    const QList<QTextImageFormat> found = read(document, "{\\rtf1 a" + group + "b}");
    QCOMPARE(found.size(), 1);
    QVERIFY(found[0].name() != rtfPlaceholderImageName());
    QVERIFY(qAbs(found[0].width() - shownPx.width()) < 0.5);
    QVERIFY(qAbs(found[0].height() - shownPx.height()) < 0.5);
    const QImage image = resourceImage(document, found[0]);
    QCOMPARE(image.size(), QSize(int(shownPx.width() * 4), int(shownPx.height() * 4)));
    QVERIFY(near(image.pixel(image.width() / 2, image.height() / 2), qRgb(255, 0, 0)));
    QVERIFY(near(image.pixel(image.width() / 4, image.height() * 3 / 4), qRgb(255, 0, 0)));

    QCOMPARE(found[0].property(textprops::RawRtfGroup).toByteArray(), group);
    QVERIFY(writeRtf(document).contains(group));
}

void RtfMetafileTest::undrawableMetafilesKeepPlaceholder_data() {
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QByteArray>("kind");
    QByteArray longRecord = rectangleWmf();
    longRecord[18] = char(0x40); // the first record says it runs past the end
    QByteArray badSignature = rectangleEmf();
    badSignature[40] = 'X';
    QByteArray shortEmf = rectangleEmf();
    shortEmf.chop(20); // no end record, its header's length past the data
    QByteArray manyPoints = rectangleWmf();
    // A polygon claiming more points than its record holds.
    manyPoints.insert(18, QByteArray::fromHex("0500000024030010ffff"));
    QImage bitmap(4, 2, QImage::Format_RGB32);
    bitmap.fill(Qt::blue);
    QByteArray shiftedSource = bitmapMetafile(bitmap);
    shiftedSource[56] = 3; // the bitmap's columns 3 to 6, of 4
    QTest::newRow("wmf bitmap read past its side") << shiftedSource << QByteArray("wmetafile8");
    QByteArray mirrored = bitmapMetafile(bitmap);
    mirrored[60] = char(0xFC); // drawn -4 units wide
    mirrored[61] = char(0xFF);
    QTest::newRow("wmf bitmap drawn mirrored") << mirrored << QByteArray("wmetafile8");
    QTest::newRow("wmf record past its end") << longRecord << QByteArray("wmetafile8");
    QByteArray hugeRecords = rectangleWmf();
    hugeRecords[15] = 0x40; // its longest record said to be 2 GB
    QTest::newRow("wmf asking for gigabytes") << hugeRecords << QByteArray("wmetafile8");
    QTest::newRow("wmf without end record") << rectangleWmf(false) << QByteArray("wmetafile8");
    QTest::newRow("wmf polygon past its record") << manyPoints << QByteArray("wmetafile8");
    QTest::newRow("emf with a wrong signature") << badSignature << QByteArray("emfblip");
    QTest::newRow("emf cut short") << shortEmf << QByteArray("emfblip");
    // The library divides by these.
    QTest::newRow("emf of empty bounds") << emfWithHeaderField(16, 0) << QByteArray("emfblip");
    QTest::newRow("emf of a device without width")
        << emfWithHeaderField(72, 0) << QByteArray("emfblip");
    QTest::newRow("emf of a device without millimetres")
        << emfWithHeaderField(80, 0) << QByteArray("emfblip");
    QTest::newRow("emf labelled as a mac picture")
        << QByteArray::fromHex("00000000") << QByteArray("macpict");
}

void RtfMetafileTest::undrawableMetafilesKeepPlaceholder() {
    QFETCH(QByteArray, data);
    QFETCH(QByteArray, kind);
    const QByteArray group =
        "{\\pict\\" + kind + "\\picwgoal600\\pichgoal300 " + data.toHex() + "}";
    QTextDocument document;
    const QList<QTextImageFormat> found = read(document, "{\\rtf1 " + group + "}");
    QCOMPARE(found.size(), 1);
    QCOMPARE(found[0].name(), rtfPlaceholderImageName());
    QCOMPARE(found[0].property(textprops::RawRtfGroup).toByteArray(), group);
    QCOMPARE(QSizeF(found[0].width(), found[0].height()), QSizeF(40, 20));
}

void RtfMetafileTest::densityStaysWithinBudget() {
    RtfPicture picture;
    picture.type = RtfPicture::Metafile;
    picture.goalWidthTwips = 3000;
    picture.goalHeightTwips = 1500;
    picture.data = rectangleWmf();
    QCOMPARE(decodeRtfPicture(picture, 1'000'000).image.size(), QSize(800, 400));
    QCOMPARE(decodeRtfPicture(picture, 80'000).image.size(), QSize(400, 200));
    const RtfPictureImage tooLarge = decodeRtfPicture(picture, 10'000);
    QVERIFY(tooLarge.image.isNull());
    QVERIFY(tooLarge.tooLarge);
}

// Each costs a font load: a file of thousands cannot take minutes to open.
void RtfMetafileTest::manyMetafilesStopBeingDrawn() {
    const QByteArray group =
        "{\\pict\\wmetafile8\\picwgoal30\\pichgoal30 " + rectangleWmf().toHex() + "}";
    QTextDocument document;
    const QList<QTextImageFormat> found = read(document, "{\\rtf1 " + group.repeated(501) + "}");
    QCOMPARE(found.size(), 501);
    QVERIFY(found[499].name() != rtfPlaceholderImageName());
    QCOMPARE(found[500].name(), rtfPlaceholderImageName());
    QCOMPARE(found[500].property(textprops::RawRtfGroup).toByteArray(), group);
}

// Readers without PNG (RichEdit controls) and word processors draw the
// bitmap of \shppict; our reader takes our own PNG before it, and the bitmap
// when alone.
void RtfMetafileTest::writtenPictureCarriesMetafileCopy() {
    QImage picture(400, 200, QImage::Format_RGB32);
    picture.fill(Qt::red);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x)
            picture.setPixel(x, y, qRgb(0, 0, 255));
    QTextDocument source;
    source.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("picture")), picture);
    QTextImageFormat format;
    format.setName(QStringLiteral("picture"));
    format.setWidth(100);
    format.setHeight(50);
    QTextCursor(&source).insertImage(format);
    const QByteArray rtf = writeRtf(source);

    const qsizetype own = rtf.indexOf("{\\*\\rdgpict{\\pict\\pngblip");
    const qsizetype shape = rtf.indexOf("{\\*\\shppict{\\pict\\wmetafile8");
    QVERIFY(own >= 0);
    QVERIFY(shape > own);
    const QByteArray ownGroup = groupAt(rtf, own);
    QCOMPARE(shape, own + ownGroup.size());
    const QByteArray shapeGroup = groupAt(rtf, shape);
    QVERIFY(shapeGroup.contains("\\picwgoal1500\\pichgoal750"));
    QCOMPARE(rtf.count("\\pict"), 2);
    // A small picture drawn here: with its copy, it stays under 40 KB of RTF.
    QVERIFY(ownGroup.size() + shapeGroup.size() < 40 * 1024);

    QTextDocument both;
    const QList<QTextImageFormat> read1 = read(both, rtf);
    QCOMPARE(read1.size(), 1);
    QCOMPARE(read1[0].stringProperty(textprops::PictureKind), QStringLiteral("png"));
    QCOMPARE(resourceImage(both, read1[0]).convertToFormat(QImage::Format_RGB32), picture);

    // As a reader that skips our group reads it.
    QTextDocument fallbackOnly;
    QByteArray withoutShape = rtf;
    withoutShape.remove(own, ownGroup.size());
    const QList<QTextImageFormat> read2 = read(fallbackOnly, withoutShape);
    QCOMPARE(read2.size(), 1);
    QVERIFY(read2[0].name() != rtfPlaceholderImageName());
    QCOMPARE(QSizeF(read2[0].width(), read2[0].height()), QSizeF(100, 50));
    const QImage drawn = resourceImage(fallbackOnly, read2[0]);
    QCOMPARE(drawn.size(), QSize(400, 200));
    QVERIFY(near(drawn.pixel(50, 100), qRgb(0, 0, 255)));
    QVERIFY(near(drawn.pixel(350, 100), qRgb(255, 0, 0)));
    // Written back as it was read.
    QVERIFY(writeRtf(fallbackOnly).contains(groupAt(shapeGroup, shapeGroup.indexOf("{\\pict"))));
}

void RtfMetafileTest::picturesAreReadOnceInEveryForm_data() {
    QImage blue(8, 4, QImage::Format_RGB32);
    blue.fill(Qt::blue);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    blue.save(&buffer, "PNG");
    const QByteArray pngPicture = "{\\pict\\pngblip\\picwgoal600\\pichgoal300 " + png.toHex() + "}";
    const QByteArray wmfPicture =
        "{\\pict\\wmetafile8\\picwgoal600\\pichgoal300 " + rectangleWmf().toHex() + "}";
    QTest::addColumn<QByteArray>("pictures");
    QTest::addColumn<bool>("png");
    QTest::addColumn<int>("count");
    QTest::newRow("as Word writes it")
        << "{\\*\\shppict" + pngPicture + "}{\\nonshppict" + wmfPicture + "}" << true << 1;
    QTest::newRow("as we write it")
        << "{\\*\\rdgpict" + pngPicture + "}{\\*\\shppict" + wmfPicture + "}" << true << 1;
    QTest::newRow("ours, after a reader that drops our group")
        << "{\\*\\shppict" + wmfPicture + "}" << false << 1;
    QTest::newRow("a bare metafile") << wmfPicture << false << 1;
    QTest::newRow("ours, then Word's")
        << "{\\*\\rdgpict" + pngPicture + "}{\\*\\shppict" + wmfPicture + "}x{\\*\\shppict" +
               pngPicture + "}{\\nonshppict" + wmfPicture + "}"
        << true << 2;
}

void RtfMetafileTest::picturesAreReadOnceInEveryForm() {
    QFETCH(QByteArray, pictures);
    QFETCH(bool, png);
    QFETCH(int, count);
    QTextDocument document;
    const QList<QTextImageFormat> found = read(document, "{\\rtf1 a" + pictures + "b}");
    QCOMPARE(found.size(), count);
    for (const QTextImageFormat &format : found) {
        QCOMPARE(format.stringProperty(textprops::PictureKind) == QLatin1String("png"), png);
        QCOMPARE(QSizeF(format.width(), format.height()), QSizeF(40, 20));
    }
}

// A photo keeps its JPEG for us and a bitmap for others, in under three
// times its file.
void RtfMetafileTest::photoStaysWithinThreeTimesItsFile() {
    QImage photo(800, 600, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y)
        for (int x = 0; x < photo.width(); ++x)
            photo.setPixel(x, y, qRgb((x * 7 + y * 3) % 256, (x * y) % 256, (x ^ y) % 256));
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    photo.save(&buffer, "JPEG");
    QTextDocument source;
    source.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("photo")), photo);
    QTextImageFormat format;
    format.setName(QStringLiteral("photo"));
    format.setWidth(400);
    format.setHeight(300);
    format.setProperty(textprops::PictureBytes, jpeg);
    format.setProperty(textprops::PictureKind, QStringLiteral("jpeg"));
    QTextCursor(&source).insertImage(format);
    const QByteArray rtf = writeRtf(source);
    QVERIFY(rtf.contains("{\\*\\rdgpict{\\pict\\jpegblip"));
    QVERIFY(rtf.contains("{\\*\\shppict{\\pict\\wmetafile8"));
    QVERIFY2(rtf.size() < 3 * jpeg.size(), qPrintable(QString::number(rtf.size())));
}

QTEST_MAIN(RtfMetafileTest)
#include "rtfmetafile_test.moc"
