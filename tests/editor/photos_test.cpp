#include "document/lazypictures.h"
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
#include <QScrollBar>
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
    void photosAreDecodedWhenDrawnWithinTheCap();
    void photosCutAndPastedAreDrawnFromTheirBytes();
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

// 200 PNG pictures of 100x100 pixels, one a paragraph, each of its own
// colour.
QByteArray twoHundredPhotos() {
    QByteArray rtf = "{\\rtf1\\ansi ";
    for (int i = 0; i < 200; ++i) {
        QImage image(100, 100, QImage::Format_RGB32);
        image.fill(QColor(i, i, 255 - i));
        rtf += "{\\pict\\pngblip\\picw100\\pich100\\picwgoal1500\\pichgoal1500 " +
               encoded(image, "PNG").toHex() + "}\\par ";
    }
    return rtf + '}';
}

// The colour drawn at the middle of the picture of that paragraph, as the
// window shows it now.
QColor drawnColour(RichTextBox &box, int paragraph) {
    const QTextBlock block = box.document()->findBlockByNumber(paragraph);
    QTextCursor cursor(block);
    const QRect caret = box.cursorRect(cursor);
    return box.viewport()->grab().toImage().pixelColor(caret.right() + 50, caret.bottom() - 50);
}

void PhotosTest::photosAreDecodedWhenDrawnWithinTheCap() {
    ShownWindowFixture f;
    const QString path = f.dir.filePath(QStringLiteral("photos.rtf"));
    writeFileBytes(path, twoHundredPhotos());
    QCOMPARE(f.exo.loadFile(path), RichTextBox::LoadOutcome::Loaded);
    LazyPictures *store = lazypictures::find(*f.exo.document());
    QVERIFY(store);
    constexpr qint64 capBytes = 12 * 100 * 100 * 4;
    store->setCacheLimitBytes(capBytes);
    f.exo.viewport()->grab();
    // Only what shows was decoded, at the size shown.
    QVERIFY2(store->decodeCount() < 12, qPrintable(QString::number(store->decodeCount())));
    QCOMPARE(drawnColour(f.exo, 0), QColor(0, 0, 255));

    QScrollBar *bar = f.exo.verticalScrollBar();
    QVERIFY(bar->maximum() > 190 * 100);
    for (int value = 0; value <= bar->maximum(); value += bar->pageStep()) {
        bar->setValue(value);
        f.exo.viewport()->grab();
        QVERIFY(store->cachedBytes() <= capBytes);
    }
    QVERIFY(store->decodeCount() >= 200);
    QCOMPARE(drawnColour(f.exo, 199), QColor(199, 199, 56));

    // The first ones were dropped on the way, and are drawn right again.
    bar->setValue(0);
    const int decodedBefore = store->decodeCount();
    QCOMPARE(drawnColour(f.exo, 0), QColor(0, 0, 255));
    QCOMPARE(drawnColour(f.exo, 1), QColor(1, 1, 254));
    QVERIFY(store->decodeCount() > decodedBefore);
    QVERIFY(store->cachedBytes() <= capBytes);

    // Drawing is no change to the text.
    QVERIFY(!f.exo.document()->isModified());
}

// A photo cut, pasted back elsewhere and the paste undone: each time it is
// drawn from its bytes, in the text shown (a copy of the buffer's).
void PhotosTest::photosCutAndPastedAreDrawnFromTheirBytes() {
    Fixture f;
    f.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    const int png = int(QStringLiteral("Le montage :").size()) + 1;
    f.select(png, 1);
    f.action("coupe")->trigger();
    QCOMPARE(images(*f.exo.document()).size(), 1);
    f.exo.setSelStart(0);
    f.action("colle")->trigger();
    const QList<QTextImageFormat> shown = images(*f.exo.document());
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown.at(0).property(textprops::PictureBytes).toByteArray(), f.png);
    QTextCursor cursor(f.exo.document());
    const QRect at = f.exo.cursorRect(cursor);
    const QImage drawn = f.exo.viewport()->grab().toImage();
    QCOMPARE(drawn.pixelColor(at.right() + 20, at.bottom() - 10), QColor(Qt::darkBlue));

    QTest::keyClick(&f.exo, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(&f.exo, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(images(*f.exo.document()).size(), 2);
    QCOMPARE(heldImage(*f.exo.document(), images(*f.exo.document()).at(1)).size(),
             shownPx.toSize());
}

QTEST_MAIN(PhotosTest)
#include "photos_test.moc"
