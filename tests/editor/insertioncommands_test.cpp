#include "editor/insertioncommands.h"
#include "editor/oleobjects.h"
#include "filebytes.h"
#include "imagebytes.h"
#include "windowfixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>
#include <QTextDocument>
#include <QToolButton>
#include <QUrl>

namespace {

const QString imageFilter =
    QStringLiteral("Image bitmap(*.bmp)|*.bmp|Image gif|*.gif|image JPEG|*.JPG|Tous (*.*)|*.*");
const QString textFilter =
    QStringLiteral("Texte format rtf|*.rtf|Texte simple (*.TXT)|*.txt|Tous |*.*");

QImage redPicture() {
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(QColor(255, 0, 0));
    return image;
}

QImage shownImage(const QTextDocument &document, const QTextImageFormat &format) {
    return document.resource(QTextDocument::ImageResource, QUrl(format.name())).value<QImage>();
}

bool isRed(QRgb pixel) {
    return qRed(pixel) > 200 && qGreen(pixel) < 60 && qBlue(pixel) < 60;
}

} // namespace

// The shown window with "un deux" typed, the caret after "un ", nothing to
// undo, the clipboard holding text of another program, and files to insert.
class Fixture : public WindowFixture {
public:
    QString png = root + QStringLiteral("rouge.png");
    QString svg = root + QStringLiteral("dessin.svg");
    QString jpg = root + QStringLiteral("photo.jpg");
    QString rtf = root + QStringLiteral("morceau.rtf");
    QString utf8 = root + QStringLiteral("utf8.txt");
    QString ansi = root + QStringLiteral("ansi.txt");
    QString data = root + QStringLiteral("mesures.dat");
    QByteArray dataBytes;
    QList<QUrl> opened;

    Fixture() {
        window.show();
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window)) qFatal("window not active");
        QTest::keyClicks(&exo, QStringLiteral("un deux"));
        select(3, 0);
        exo.document()->clearUndoRedoStacks();
        QApplication::clipboard()->setText(QStringLiteral("presse-papiers"));
        exo.oleObjects().setOpener([this](const QUrl &url) {
            opened << url;
            return true;
        });
        write(png, encoded(redPicture(), "PNG"));
        write(jpg, encoded(redPicture(), "JPEG"));
        write(svg, "<svg xmlns='http://www.w3.org/2000/svg' width='20' height='10'>"
                   "<rect width='20' height='10' fill='#ff0000'/></svg>");
        write(rtf, "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 avant {\\b gras} apr\\'e8s}");
        write(utf8, "\xc3\xa9l\xc3\xa8ve \xc3\xa0 l'\xc3\xa9"
                    "cole");
        write(ansi, "\xe9l\xe8ve \xe0 l'\xe9"
                    "cole");
        for (int i = 0; i < 256; ++i)
            dataBytes.append(char(i));
        dataBytes.append("}\\{\\objdata");
        write(data, dataBytes);
    }
    static void write(const QString &path, const QByteArray &bytes) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
    }
    void setLinked(bool linked) {
        if (action("lierobj")->isChecked() != linked) action("lierobj")->trigger();
    }
    // Answers the object dialog with that file, chosen with "Parcourir...",
    // then OK.
    void answerObjectDialog(const QString &path) {
        dialogs.dialogAnswers << [this, path](QDialog &dialog) {
            auto *ok = dialog.findChild<QAbstractButton *>(QStringLiteral("ok"));
            if (ok->isEnabled()) qFatal("OK before a file is named");
            dialogs.fileNames << path;
            QTest::mouseClick(dialog.findChild<QAbstractButton *>(QStringLiteral("browse")),
                              Qt::LeftButton);
            ok->click();
            return dialog.result();
        };
    }
    void run(const QString &command, const QString &path) {
        if (command == QLatin1String("objet"))
            answerObjectDialog(path);
        else
            dialogs.fileNames << path;
        if (command == QLatin1String("Command11"))
            QTest::mouseClick(control<QToolButton>(command), Qt::LeftButton);
        else
            action(qPrintable(command))->trigger();
    }
    QList<QTextImageFormat> pictures() const { return images(*exo.document()); }
    bool clipboardUntouched() const {
        const QMimeData *data = QApplication::clipboard()->mimeData();
        return data && data->text() == QLatin1String("presse-papiers") && !data->hasImage() &&
               !data->hasFormat(QStringLiteral("text/rtf"));
    }
};

class InsertionCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void cancelInsertsNothing_data();
    void cancelInsertsNothing();
    void imageLandsAsIconOrPicture_data();
    void imageLandsAsIconOrPicture();
    void largePicturesStayWithinTheirBudget_data();
    void largePicturesStayWithinTheirBudget();
    void textFilesKeepFormattingAndAccents_data();
    void paragraphsAfterAnInsertedTextKeepTheirMargins_data();
    void paragraphsAfterAnInsertedTextKeepTheirMargins();
    void textFilesKeepFormattingAndAccents();
    void plainTextTakesTheCaretsFormat();
    void filesThatAreNoTextInsertNothing_data();
    void filesThatAreNoTextInsertNothing();
    void objectSurvivesSaveAndReopen();
    void objectDoubleClickedOpensACopy();
    void objectWithoutLinkIsAPicture_data();
    void objectWithoutLinkIsAPicture();
    void oneUndoRemovesEachInsertion_data();
    void oneUndoRemovesEachInsertion();
};

void InsertionCommandsTest::cancelInsertsNothing_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("initialName");
    QTest::addColumn<int>("insertionencours");
    QTest::newRow("image") << "ima"
                           << "Insertion d'une image" << imageFilter << "*.bmp" << 1;
    QTest::newRow("image button") << "Command11"
                                  << "Insertion d'une image" << imageFilter << "*.bmp" << 1;
    QTest::newRow("text") << "insertext"
                          << "Insertion d'un texte" << textFilter << "*.rtf" << 0;
    QTest::newRow("object") << "objet" << QString() << QString() << QString() << 0;
}

void InsertionCommandsTest::cancelInsertsNothing() {
    QFETCH(QString, command);
    QFETCH(QString, title);
    Fixture f;
    const QByteArray before = f.exo.textRTF();
    if (command == QLatin1String("Command11"))
        QTest::mouseClick(f.control<QToolButton>(command), Qt::LeftButton);
    else
        f.action(qPrintable(command))->trigger();
    QCOMPARE(f.exo.textRTF(), before);
    QCOMPARE(f.exo.document()->availableUndoSteps(), 0);
    QVERIFY(f.clipboardUntouched());
    QCOMPARE(f.dialogs.calls.size(), 1);
    if (title.isEmpty()) {
        QCOMPARE(f.dialogs.last().kind, QStringLiteral("dialog"));
        QCOMPARE(f.dialogs.last().message.title, QStringLiteral("Insérer un objet"));
    } else {
        QCOMPARE(f.dialogs.last().file.title, title);
        QTEST(f.dialogs.last().file.filter, "filter");
        QTEST(f.dialogs.last().file.initialName, "initialName");
    }
    // The image command saved the caret's format: the next move gives it back.
    QFETCH(int, insertionencours);
    QCOMPARE(int(f.window.state().insertionencours), insertionencours);
}

void InsertionCommandsTest::imageLandsAsIconOrPicture_data() {
    QTest::addColumn<bool>("linked");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QSize>("pictureSize");
    QTest::newRow("linked png") << true << "rouge.png" << QSize(40, 30);
    QTest::newRow("plain png") << false << "rouge.png" << QSize(40, 30);
    QTest::newRow("plain jpeg") << false << "photo.jpg" << QSize(40, 30);
    QTest::newRow("plain svg") << false << "dessin.svg" << QSize(20, 10);
}

void InsertionCommandsTest::imageLandsAsIconOrPicture() {
    QFETCH(bool, linked);
    QFETCH(QString, file);
    QFETCH(QSize, pictureSize);
    Fixture f;
    f.setLinked(linked);
    f.run(QStringLiteral("ima"), f.root + file);
    QCOMPARE(f.pictures().size(), 1);
    const QTextImageFormat format = f.pictures().constFirst();
    const QImage shown = shownImage(*f.exo.document(), format);
    QCOMPARE(f.exo.text(), QStringLiteral("un ") + QChar(QChar::ObjectReplacementCharacter) +
                               QStringLiteral("deux"));
    QCOMPARE(f.exo.selStart(), 4);
    OleObjects &objects = f.exo.oleObjects();
    if (linked) {
        QCOMPARE(objects.count(), 1);
        QCOMPARE(objects.displayType(0), OleObjects::Icon);
        QCOMPARE(objects.file(0)->bytes, fileBytes(f.root + file));
        QCOMPARE(objects.file(0)->fileName, file);
        // The icon, not the picture.
        QVERIFY(QSizeF(format.width(), format.height()) != QSizeF(pictureSize));
        QVERIFY(!isRed(shown.pixel(shown.width() / 2, shown.height() / 2)));
    } else {
        QCOMPARE(objects.count(), 0);
        QCOMPARE(QSizeF(format.width(), format.height()), QSizeF(pictureSize));
        QVERIFY(isRed(shown.pixel(shown.width() / 2, shown.height() / 2)));
    }
    QVERIFY(f.clipboardUntouched());
    QCOMPARE(f.dialogs.unanswered, 0);
}

void InsertionCommandsTest::largePicturesStayWithinTheirBudget_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("inserted");
    QTest::addColumn<QSize>("pictureSize");
    // 93 KB of PNG once inflated to 146 MB: a few bytes ask for 32 million pixels.
    QImage blank(8000, 4000, QImage::Format_Mono);
    blank.fill(1);
    QTest::newRow("blank png of 8000 x 4000") << encoded(blank, "PNG") << false << QSize();
    // Its header alone, a tiny IDAT and its end: 900 million pixels.
    QTest::newRow("png of 30000 x 30000")
        << QByteArray::fromHex("89504e470d0a1a0a0000000d4948445200007530000075300802000000e9456fed"
                               "0000000c49444154789c6360a03d00000064000186643c35000000004945"
                               "4e44ae426082")
        << false << QSize();
    QImage photo(3000, 2000, QImage::Format_RGB32);
    photo.fill(QColor(255, 0, 0));
    QTest::newRow("jpeg of 3000 x 2000, drawn smaller")
        << encoded(photo, "JPEG") << true << QSize(3000, 2000);
}

// A picture file gets no more pixels than the pictures of a file read: a
// JPEG is drawn smaller and keeps its bytes, others too large are refused.
void InsertionCommandsTest::largePicturesStayWithinTheirBudget() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, inserted);
    QFETCH(QSize, pictureSize);
    Fixture f;
    f.setLinked(false);
    const QString path = f.root + QStringLiteral("grande");
    Fixture::write(path, bytes);
    const QByteArray before = f.exo.textRTF();
    f.run(QStringLiteral("ima"), path);
    if (!inserted) {
        QCOMPARE(f.dialogs.kinds(), QStringList({"open", "message"}));
        QCOMPARE(
            f.dialogs.last().message.text,
            QStringLiteral("L'image ") + path +
                QStringLiteral(" est trop grande pour être affichée : elle n'a pas été insérée."));
        QCOMPARE(f.exo.textRTF(), before);
        QCOMPARE(f.exo.document()->availableUndoSteps(), 0);
        return;
    }
    QCOMPARE(f.pictures().size(), 1);
    const QTextImageFormat format = f.pictures().constFirst();
    QCOMPARE(QSizeF(format.width(), format.height()), QSizeF(pictureSize));
    const QImage shown = shownImage(*f.exo.document(), format);
    QVERIFY(qint64(shown.width()) * shown.height() <= 3'000'000);
    QVERIFY(isRed(shown.pixel(shown.width() / 2, shown.height() / 2)));
    // Written back whole, at its own size.
    const QByteArray rtf = f.exo.textRTF().replace("\r\n", "");
    QVERIFY(rtf.contains("\\jpegblip\\picw3000\\pich2000"));
    QVERIFY(rtf.contains(bytes.toHex()));
}

void InsertionCommandsTest::textFilesKeepFormattingAndAccents_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("inserted");
    QTest::newRow("rtf") << "morceau.rtf"
                         << "avant gras après";
    QTest::newRow("utf-8") << "utf8.txt"
                           << "élève à l'école";
    QTest::newRow("windows-1252") << "ansi.txt"
                                  << "élève à l'école";
}

void InsertionCommandsTest::textFilesKeepFormattingAndAccents() {
    QFETCH(QString, file);
    QFETCH(QString, inserted);
    Fixture f;
    f.select(3, 4); // "deux" goes
    f.run(QStringLiteral("insertext"), f.root + file);
    QCOMPARE(f.exo.text(), QStringLiteral("un ") + inserted);
    if (file.endsWith(QLatin1String(".rtf"))) {
        f.select(3 + int(inserted.indexOf(QLatin1String("gras"))), 4);
        QCOMPARE(f.exo.selBold(), true);
        f.select(3, 5);
        QCOMPARE(f.exo.selBold(), false);
    }
    QVERIFY(f.clipboardUntouched());
    QVERIFY(f.dialogs.kinds() == QStringList{QStringLiteral("open")});
}

void InsertionCommandsTest::paragraphsAfterAnInsertedTextKeepTheirMargins_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("name");
    QTest::newRow("rtf ending its paragraph")
        << QByteArray(
               "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\pard\\f0 Premier.\\par Second.\\par }")
        << "paragraphes.rtf";
    QTest::newRow("rtf ending within")
        << QByteArray("{\\rtf1\\ansi\\pard Premier.\\par Second.}") << "ouvert.rtf";
    QTest::newRow("one rtf paragraph")
        << QByteArray("{\\rtf1\\ansi\\pard\\qc Seul.\\par }") << "seul.rtf";
    QTest::newRow("plain text") << QByteArray("Premier.\r\nSecond.\r\n") << "lignes.txt";
}

// Typing goes on inside the margins and tab stops of the paragraph the text
// went into, however the text ends.
void InsertionCommandsTest::paragraphsAfterAnInsertedTextKeepTheirMargins() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, name);
    Fixture f;
    f.select(0, 0);
    f.exo.setSelIndent(40);
    f.exo.setSelRightIndent(30);
    f.exo.setSelTabCount(2);
    f.select(7, 0);
    Fixture::write(f.root + name, bytes);
    f.run(QStringLiteral("insertext"), f.root + name);
    QTest::keyClick(&f.exo, Qt::Key_Return);
    QTest::keyClicks(&f.exo, QStringLiteral("Z"));
    QCOMPARE(f.exo.selIndent().value_or(-1), 40.0);
    QCOMPARE(f.exo.selRightIndent().value_or(-1), 30.0);
    QCOMPARE(f.exo.selTabCount().value_or(-1), 2);
    QVERIFY(f.exo.text().endsWith(QLatin1String("\nZ")));
}

void InsertionCommandsTest::plainTextTakesTheCaretsFormat() {
    Fixture f;
    f.select(0, 2);
    f.exo.setSelColor(qRgb(200, 0, 0));
    f.exo.setSelItalic(true);
    f.select(1, 0); // inside the red italic "un"
    f.run(QStringLiteral("insertext"), f.utf8);
    f.select(1, int(QStringLiteral("élève à l'école").size()));
    QCOMPARE(f.exo.selText(), QStringLiteral("élève à l'école"));
    QCOMPARE(f.exo.selColor(), QRgb(0xC80000));
    QCOMPARE(f.exo.selItalic(), true);
}

void InsertionCommandsTest::filesThatAreNoTextInsertNothing_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("message");
    QTest::newRow("picture") << "rouge.png"
                             << "n'est ni un texte RTF ni un texte simple : il n'a pas été inséré.";
    QTest::newRow("program") << "mesures.dat"
                             << "n'est ni un texte RTF ni un texte simple : il n'a pas été inséré.";
    QTest::newRow("missing") << "absent.rtf"
                             << "absent.rtf : ce fichier n'existe pas.";
}

void InsertionCommandsTest::filesThatAreNoTextInsertNothing() {
    QFETCH(QString, file);
    QFETCH(QString, message);
    Fixture f;
    const QByteArray before = f.exo.textRTF();
    f.run(QStringLiteral("insertext"), f.root + file);
    QCOMPARE(f.exo.textRTF(), before);
    QCOMPARE(f.exo.document()->availableUndoSteps(), 0);
    QCOMPARE(f.dialogs.kinds(), QStringList({"open", "message"}));
    QVERIFY(f.dialogs.last().message.text.endsWith(message));
    QCOMPARE(f.dialogs.last().message.icon, MessageIcon::Critical);
}

void InsertionCommandsTest::objectSurvivesSaveAndReopen() {
    Fixture f;
    const QString named = f.root + QStringLiteral("données-Ω.dat");
    Fixture::write(named, f.dataBytes);
    f.run(QStringLiteral("objet"), named);
    OleObjects &objects = f.exo.oleObjects();
    QCOMPARE(objects.count(), 1);
    // A new object opens for editing: a copy goes to the desktop.
    QCOMPARE(f.opened.size(), 1);
    QCOMPARE(fileBytes(f.opened.constFirst().toLocalFile()), f.dataBytes);
    QCOMPARE(QFileInfo(f.opened.constFirst().toLocalFile()).fileName(),
             QStringLiteral("données-Ω.dat"));

    const QString saved = f.root + QStringLiteral("avec objet.rtf");
    QVERIFY(f.exo.saveFile(saved));
    const QByteArray rtf = fileBytes(saved);
    QVERIFY(rtf.contains("{\\object\\objemb{\\*\\objclass Package}\\objw"));
    QVERIFY(rtf.contains("{\\result{\\pict\\pngblip"));

    RichTextBox reopened;
    QCOMPARE(reopened.loadFile(saved), RichTextBox::LoadOutcome::Loaded);
    QCOMPARE(reopened.text(), f.exo.text());
    QCOMPARE(reopened.oleObjects().count(), 1);
    QCOMPARE(reopened.oleObjects().file(0)->bytes, f.dataBytes);
    QCOMPARE(reopened.oleObjects().file(0)->fileName, QStringLiteral("données-Ω.dat"));
    // Saved again, it is the same text.
    QCOMPARE(reopened.textRTF(), f.exo.textRTF());
}

void InsertionCommandsTest::objectDoubleClickedOpensACopy() {
    Fixture f;
    f.setLinked(true);
    f.run(QStringLiteral("ima"), f.png);
    QVERIFY(f.opened.isEmpty());
    QTextCursor at(f.exo.document());
    at.setPosition(3);
    const QRect before = f.exo.cursorRect(at);
    at.setPosition(4);
    const QRect after = f.exo.cursorRect(at);
    const QPoint middle((before.left() + after.left()) / 2, (before.top() + before.bottom()) / 2);
    QTest::mouseDClick(f.exo.viewport(), Qt::LeftButton, {}, middle);
    QCOMPARE(f.opened.size(), 1);
    QCOMPARE(fileBytes(f.opened.constFirst().toLocalFile()), fileBytes(f.png));
    QVERIFY(f.opened.constFirst().toLocalFile().endsWith(QLatin1String("/rouge.png")));
    // Text is no object: a double click there selects a word, as always.
    QTest::mouseDClick(f.exo.viewport(), Qt::LeftButton, {},
                       after.topLeft() + QPoint(14, after.height() / 2));
    QCOMPARE(f.opened.size(), 1);
}

void InsertionCommandsTest::objectWithoutLinkIsAPicture_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("itsOwnPicture");
    QTest::newRow("image file") << "rouge.png" << true;
    QTest::newRow("other file") << "mesures.dat" << false;
}

void InsertionCommandsTest::objectWithoutLinkIsAPicture() {
    QFETCH(QString, file);
    QFETCH(bool, itsOwnPicture);
    Fixture f;
    f.setLinked(false);
    f.run(QStringLiteral("objet"), f.root + file);
    QCOMPARE(f.exo.oleObjects().count(), 0);
    QCOMPARE(f.pictures().size(), 1);
    QVERIFY(f.opened.isEmpty());
    const QTextImageFormat format = f.pictures().constFirst();
    const QImage shown = shownImage(*f.exo.document(), format);
    QCOMPARE(QSizeF(format.width(), format.height()) == QSizeF(40, 30), itsOwnPicture);
    QCOMPARE(isRed(shown.pixel(shown.width() / 2, shown.height() / 2)), itsOwnPicture);
    QVERIFY(!f.exo.textRTF().contains("\\object"));
}

void InsertionCommandsTest::oneUndoRemovesEachInsertion_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("linked");
    QTest::addColumn<QString>("file");
    QTest::newRow("image as object") << "ima" << true << "rouge.png";
    QTest::newRow("image as picture") << "ima" << false << "rouge.png";
    QTest::newRow("rtf text") << "insertext" << true << "morceau.rtf";
    QTest::newRow("plain text") << "insertext" << true << "ansi.txt";
    QTest::newRow("object") << "objet" << true << "mesures.dat";
    QTest::newRow("object as picture") << "objet" << false << "mesures.dat";
}

void InsertionCommandsTest::oneUndoRemovesEachInsertion() {
    QFETCH(QString, command);
    QFETCH(bool, linked);
    QFETCH(QString, file);
    Fixture f;
    f.setLinked(linked);
    f.select(0, 2); // "un" goes
    const QString text = f.exo.text();
    f.run(command, f.root + file);
    QVERIFY(f.exo.text() != text);
    QVERIFY(f.clipboardUntouched());
    QTest::keyClick(&f.exo, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f.exo.text(), text);
    QVERIFY(f.pictures().isEmpty());
    QCOMPARE(f.exo.document()->availableUndoSteps(), 0);
}

QTEST_MAIN(InsertionCommandsTest)
#include "insertioncommands_test.moc"
