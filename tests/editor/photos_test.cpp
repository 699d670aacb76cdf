#include "document/pagedprint.h"
#include "document/rtf/rtfwriter.h"
#include "document/textproperties.h"
#include "editor/textfiles.h"
#include "filebytes.h"
#include "imagebytes.h"
#include "print/printing.h"
#include "rtfdocument.h"
#include "windowfixture.h"

#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QTextCursor>
#include <QUrl>

// Photos keep the bytes of their files through everything the teacher does,
// are held for the screen only as dense as they are shown, and print with
// all their pixels.
class PhotosTest : public QObject {
    Q_OBJECT

private slots:
    void photosKeepTheirBytesThroughSwitchingEditingAndSaving();
    void photosPrintWithAllTheirPixels();
};

namespace {

const QSize photoPx(640, 480);
const QSizeF shownPx(160, 120);

QImage photo(QColor colour) {
    QImage image(photoPx, QImage::Format_RGB32);
    image.fill(colour);
    QPainter painter(&image);
    painter.setBrush(Qt::white);
    painter.drawEllipse(QRect(QPoint(100, 80), QSize(300, 200)));
    return image;
}

// A statement with a JPEG photo and a PNG one, both shown at shownPx.
QByteArray statementWithPhotos(const QByteArray &jpeg, const QByteArray &png) {
    QTextDocument document;
    QTextCursor cursor(&document);
    cursor.insertText(QStringLiteral("Le montage :"));
    for (const auto &[bytes, kind] :
         {std::pair{jpeg, QStringLiteral("jpeg")}, std::pair{png, QStringLiteral("png")}}) {
        const QString name = textprops::newImageName();
        document.addResource(QTextDocument::ImageResource, QUrl(name), QImage::fromData(bytes));
        QTextImageFormat format;
        format.setName(name);
        format.setWidth(shownPx.width());
        format.setHeight(shownPx.height());
        format.setProperty(textprops::PictureBytes, bytes);
        format.setProperty(textprops::PictureKind, kind);
        cursor.insertImage(format);
    }
    return writeRtf(document);
}

// Every group of the RTF that starts with `start`, braces balanced.
QList<QByteArray> groups(const QByteArray &rtf, const QByteArray &start) {
    QList<QByteArray> found;
    for (qsizetype at = rtf.indexOf(start); at >= 0; at = rtf.indexOf(start, at + 1)) {
        int depth = 0;
        qsizetype end = at;
        do {
            depth += rtf.at(end) == '{' ? 1 : rtf.at(end) == '}' ? -1 : 0;
            ++end;
        } while (depth > 0 && end < rtf.size());
        found << rtf.mid(at, end - at);
    }
    return found;
}

// The image the editor holds for a picture, to draw it.
QImage heldImage(const QTextDocument &document, const QTextImageFormat &format) {
    return document.resource(QTextDocument::ImageResource, QUrl(format.name())).value<QImage>();
}

class Fixture : public WindowFixture {
public:
    QByteArray jpeg = encoded(photo(Qt::darkGreen), "JPEG");
    QByteArray png = encoded(photo(Qt::darkBlue), "PNG");
    QString statement = dir.filePath(QStringLiteral("enonce.rtf"));
    QString correction = dir.filePath(QStringLiteral("corrige.rtf"));

    Fixture() {
        writeFileBytes(statement, statementWithPhotos(jpeg, png));
        writeFileBytes(correction, "{\\rtf1\\ansi Le corrig\\'e9.\\par}");
        // Opened as an exercise opens its texts.
        auto *sujetampon = window.findChild<RichTextBox *>(QStringLiteral("sujetampon"));
        auto *corectampon = window.findChild<RichTextBox *>(QStringLiteral("corectampon"));
        window.textFiles().setTextPath(TextFiles::Text::Statement, statement);
        window.textFiles().setTextPath(TextFiles::Text::Correction, correction);
        action("textexo")->setVisible(true);
        action("textcor")->setVisible(true);
        sujetampon->loadFile(statement);
        corectampon->loadFile(correction);
        exo.showCopyOf(*sujetampon);
        window.state().nomfichier = statement;
    }
};

} // namespace

void PhotosTest::photosKeepTheirBytesThroughSwitchingEditingAndSaving() {
    Fixture f;
    QList<QTextImageFormat> shown = images(*f.exo.document());
    QCOMPARE(shown.size(), 2);
    // Held with the pixels they are shown with, not the file's.
    for (const QTextImageFormat &format : shown)
        QCOMPARE(heldImage(*f.exo.document(), format).size(), shownPx.toSize());

    // To the correction, edited, and back; the statement edited away from them.
    f.window.textFiles().showCorrection();
    QTest::keyClicks(&f.exo, QStringLiteral("Vu. "));
    f.window.textFiles().showStatement();
    f.exo.setSelStart(0);
    QTest::keyClicks(&f.exo, QStringLiteral("Photos. "));
    const QByteArray opened = fileBytes(f.statement);
    QVERIFY(f.window.textFiles().resauve());
    // What other readers draw, the copies beside the photos, is written as
    // it was read, to the byte.
    const QList<QByteArray> copies = groups(opened, "{\\*\\shppict");
    QCOMPARE(copies.size(), 2);
    QCOMPARE(groups(fileBytes(f.statement), "{\\*\\shppict"), copies);

    const auto saved = read(fileBytes(f.statement));
    QVERIFY(saved->toPlainText().startsWith(QStringLiteral("Photos. Le montage :")));
    const QList<QTextImageFormat> written = images(*saved);
    QCOMPARE(written.size(), 2);
    QCOMPARE(written.at(0).property(textprops::PictureBytes).toByteArray(), f.jpeg);
    QCOMPARE(written.at(0).stringProperty(textprops::PictureKind), QStringLiteral("jpeg"));
    QCOMPARE(written.at(1).property(textprops::PictureBytes).toByteArray(), f.png);
    QCOMPARE(written.at(1).stringProperty(textprops::PictureKind), QStringLiteral("png"));
    for (const QTextImageFormat &format : written) {
        QCOMPARE(format.width(), shownPx.width());
        QCOMPARE(format.height(), shownPx.height());
    }
}

void PhotosTest::photosPrintWithAllTheirPixels() {
    Fixture f;
    // The paper copy every printing path lays out holds the whole photos.
    const auto paper = pagedprint::paperCopy(*f.exo.document());
    for (const QTextImageFormat &format : images(*paper))
        QCOMPARE(heldImage(*paper, format).size(), photoPx);
    for (const QTextImageFormat &format : images(*f.exo.document()))
        QCOMPARE(heldImage(*f.exo.document(), format).size(), shownPx.toSize());

    // And the PDF file "Imprimer" writes, as a PDF reader lists its images.
    const QString pdf = f.dir.filePath(QStringLiteral("enonce.pdf"));
    QVERIFY(f.window.printing().writePdf(f.exo, pdf));
    if (QStandardPaths::findExecutable(QStringLiteral("pdfimages")).isEmpty())
        QSKIP("pdfimages (poppler-utils) is not installed");
    QProcess list;
    list.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
    QVERIFY(list.waitForFinished());
    const QStringList lines =
        QString::fromUtf8(list.readAllStandardOutput()).split(QLatin1Char('\n'));
    int photos = 0;
    for (const QString &line : lines.mid(2)) {
        const QStringList columns = line.simplified().split(QLatin1Char(' '));
        if (columns.size() < 5) continue;
        ++photos;
        QCOMPARE(columns.at(3) + QLatin1Char('x') + columns.at(4), QStringLiteral("640x480"));
    }
    QCOMPARE(photos, 2);
}

QTEST_MAIN(PhotosTest)
#include "photos_test.moc"
