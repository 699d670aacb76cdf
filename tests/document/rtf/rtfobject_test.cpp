#include "document/rtf/rtfobject.h"
#include "document/rtf/rtfreader.h"
#include "document/textproperties.h"
#include "imagebytes.h"

#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

namespace {

QImage smallPicture() {
    QImage image(8, 6, QImage::Format_RGB32);
    image.fill(Qt::blue);
    return image;
}

QByteArray allBytes() {
    QByteArray bytes;
    for (int i = 0; i < 256; ++i)
        bytes.append(char(i));
    return bytes + "}{\\";
}

// The kept group of the first picture the reader made of that RTF.
QByteArray keptGroup(const QByteArray &rtf) {
    QTextDocument document;
    QTextCursor cursor(&document);
    readRtf(rtf, cursor, RtfInsertMode::WholeDocument);
    const QList<QTextImageFormat> found = images(document);
    return found.isEmpty() ? QByteArray()
                           : found.constFirst().property(textprops::RawRtfGroup).toByteArray();
}

} // namespace

class RtfObjectTest : public QObject {
    Q_OBJECT

private slots:
    void packageCarriesNameAndBytes_data();
    void packageCarriesNameAndBytes();
    void readerKeepsThePackage();
    void otherObjectsAndDamagedDataGiveNoFile_data();
    void otherObjectsAndDamagedDataGiveNoFile();
};

void RtfObjectTest::packageCarriesNameAndBytes_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("every byte") << "mesures.dat" << allBytes();
    QTest::newRow("empty file") << "vide.txt" << QByteArray();
    QTest::newRow("name outside the code page") << "données-Ω.pdf" << QByteArray("%PDF");
}

void RtfObjectTest::packageCarriesNameAndBytes() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    const QByteArray group = rtfobject::packageGroup({name, bytes}, smallPicture(), {4, 3});
    QVERIFY(
        group.startsWith("{\\object\\objemb{\\*\\objclass Package}\\objw60\\objh45{\\*\\objdata"));
    QVERIFY(group.contains("{\\result{\\pict\\pngblip\\picw8\\pich6\\picwgoal60\\pichgoal45"));
    QVERIFY(group.endsWith("}}}"));
    const auto file = rtfobject::packagedFile(group);
    QVERIFY(file.has_value());
    QCOMPARE(file->fileName, name);
    QCOMPARE(file->bytes, bytes);
}

void RtfObjectTest::readerKeepsThePackage() {
    const QByteArray group =
        rtfobject::packageGroup({QStringLiteral("a.bin"), allBytes()}, smallPicture(), {8, 6});
    const QByteArray kept = keptGroup("{\\rtf1\\ansi avant " + group + " apr\\'e8s}");
    QCOMPARE(kept, group);
    QCOMPARE(rtfobject::packagedFile(kept)->bytes, allBytes());
}

void RtfObjectTest::otherObjectsAndDamagedDataGiveNoFile_data() {
    QTest::addColumn<QByteArray>("group");
    const QByteArray good =
        rtfobject::packageGroup({QStringLiteral("a.bin"), "abc"}, smallPicture(), {8, 6});
    QByteArray otherClass = good;
    // "Package" spelt otherwise in the data: another kind of object.
    otherClass.replace("5061636b616765", "4571756174696f");
    QTest::newRow("other class") << otherClass;
    QTest::newRow("no data") << QByteArray("{\\object\\objemb{\\result{\\pict\\pngblip 00}}}");
    QTest::newRow("cut short") << QByteArray("{\\object{\\*\\objdata 01050000020000000800}}");
    QTest::newRow("length past the end")
        << QByteArray("{\\object{\\*\\objdata 0105000002000000ffffff7f5061636b61676500}}");
    QTest::newRow("not hexadecimal") << QByteArray("{\\object{\\*\\objdata 01zz}}");
    QTest::newRow("a picture") << QByteArray("{\\pict\\pngblip 00}");
}

void RtfObjectTest::otherObjectsAndDamagedDataGiveNoFile() {
    QFETCH(QByteArray, group);
    QVERIFY(!rtfobject::packagedFile(group).has_value());
}

QTEST_MAIN(RtfObjectTest)
#include "rtfobject_test.moc"
