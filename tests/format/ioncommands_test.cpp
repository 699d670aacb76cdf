#include "format/ioncommands.h"

#include "document/textproperties.h"
#include "format/ionformuladialog.h"
#include "imagebytes.h"
#include "windowfixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QToolButton>

namespace {

constexpr double twipsPerPixel = 15;

// A text's width and line height in twips, on a screen of 15 twips a pixel.
struct Measure {
    double widthTwips, lineHeightTwips;
};
Measure measure(const QString &text, double sizePt) {
    QImage screen(1, 1, QImage::Format_RGB32);
    screen.setDotsPerMeterX(3780); // 96 dpi
    screen.setDotsPerMeterY(3780);
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(sizePt);
    const QFontMetricsF metrics(font, &screen);
    return {metrics.horizontalAdvance(text) * twipsPerPixel, metrics.height() * twipsPerPixel};
}

IonFormula ion(const QString &body, const QString &index, const QString &charge,
               double sizePt = 10) {
    return {body, index, charge, QStringLiteral("Arial"), sizePt, false, false, 0};
}

// Leftmost column holding ink (not white) between two rows of the image; -1
// when there is none.
int leftmostInk(const QImage &image, int fromRow, int toRow) {
    for (int x = 0; x < image.width(); ++x) {
        for (int y = std::max(0, fromRow); y < std::min(image.height(), toRow); ++y) {
            if (qGray(image.pixel(x, y)) < 160) return x;
        }
    }
    return -1;
}

// Types the three texts in the dialog and presses a button.
std::function<int(QDialog &)> answer(const QString &body, const QString &index,
                                     const QString &charge, const char *button) {
    return [=](QDialog &dialog) {
        QTest::keyClicks(dialog.findChild<QLineEdit *>(QStringLiteral("baset")), body);
        QTest::keyClicks(dialog.findChild<QLineEdit *>(QStringLiteral("Text3")), index);
        QTest::keyClicks(dialog.findChild<QLineEdit *>(QStringLiteral("Text2")), charge);
        dialog.findChild<QPushButton *>(QLatin1String(button))->click();
        return dialog.result();
    };
}

void fillText(RichTextBox &exo, const QString &text, double sizePt) {
    exo.setText(text);
    exo.selectAll();
    exo.setSelFontName(QStringLiteral("Arial"));
    exo.setSelFontSize(sizePt);
    exo.setSelCharOffset(0);
}

struct Chars {
    double sizePt;
    int offsetTwips;
};
Chars charsAt(RichTextBox &exo, int position) {
    QTextCursor cursor(exo.document());
    cursor.setPosition(position + 1);
    const QTextCharFormat format = cursor.charFormat();
    return {format.fontPointSize(), textprops::offsetTwips(format)};
}

} // namespace

class IonCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void pictureSizes();
    void chargeAndIndexStartAfterTheBody();
    void chargeIsDrawnWhole_data();
    void chargeIsDrawnWhole();
    void smallTextGivesTenPointIon();
    void buttonsLeaveTheClipboard();
    void ionSurvivesSaveAndReopen();
    void decabizRaisesOnlyTheSelection();
    void decabizNeedsASelection();
    void commandsAreInPlace();
};

void IonCommandsTest::pictureSizes() {
    // Nothing typed: 4 twips wide, 4 s taller than an empty line.
    const IonPicture empty = drawIonFormula(ion({}, {}, {}));
    QCOMPARE(qRound(empty.shownSizePx.width() * twipsPerPixel), 4);
    QCOMPARE(qRound(empty.shownSizePx.height() * twipsPerPixel),
             qRound(measure({}, 10).lineHeightTwips + 40));
    QVERIFY(!empty.image.isNull());

    // A charge wider than the index sets the width.
    const IonPicture sulphate =
        drawIonFormula(ion(QStringLiteral("SO"), QStringLiteral("4"), QStringLiteral("2-")));
    const double chargeTwips = measure(QStringLiteral("2-"), 8).widthTwips;
    QVERIFY(chargeTwips > measure(QStringLiteral("4"), 8).widthTwips);
    QCOMPARE(qRound(sulphate.shownSizePx.width() * twipsPerPixel),
             qRound(measure(QStringLiteral("SO"), 10).widthTwips + chargeTwips + 4));

    // The same size at 20 points, but a picture four times denser at least.
    const IonPicture large =
        drawIonFormula(ion(QStringLiteral("NH"), QStringLiteral("4"), QStringLiteral("+"), 20));
    QCOMPARE(qRound(large.shownSizePx.height() * twipsPerPixel),
             qRound(measure({}, 20).lineHeightTwips + 80));
    QVERIFY(large.image.width() >= 4 * large.shownSizePx.width());
    QVERIFY(large.image.height() >= 4 * large.shownSizePx.height());
}

void IonCommandsTest::chargeAndIndexStartAfterTheBody() {
    IonFormula formula = ion(QStringLiteral("SO"), QStringLiteral("4"), QStringLiteral("2-"), 20);
    const IonPicture picture = drawIonFormula(formula);
    const double scale = picture.image.width() / picture.shownSizePx.width();
    const auto row = [&](double twips) { return int(twips / twipsPerPixel * scale); };
    const int bodyEnd = int(std::ceil(picture.bodyWidthTwips / twipsPerPixel * scale));
    // Above the body (its top is 4 s down) only the charge has ink; below the
    // body's baseline region only the index does.
    const int chargeInk = leftmostInk(picture.image, 0, row(4 * 20));
    const int indexInk =
        leftmostInk(picture.image, row(picture.lineHeightTwips + 2 * 20), picture.image.height());
    QVERIFY(chargeInk >= bodyEnd - scale);
    QVERIFY(indexInk >= bodyEnd - scale);
    QVERIFY(leftmostInk(picture.image, row(4 * 20), row(10 * 20)) < chargeInk);
}

void IonCommandsTest::chargeIsDrawnWhole_data() {
    QTest::addColumn<QString>("font");
    QTest::addColumn<double>("sizePt");
    QTest::addColumn<QString>("charge");
    for (const char *font : {"Arial", "Times New Roman", "DejaVu Sans", "Courier New"})
        for (const double size : {8.0, 10.0, 12.0, 14.0, 20.0, 36.0})
            for (const char *charge : {"2-", "3+", "+"})
                QTest::addRow("%s %g %s", font, size, charge)
                    << QString::fromLatin1(font) << size << QString::fromLatin1(charge);
}

// The picture's top row is blank: no stroke of the charge is cut off, in
// whatever font the desktop gives for the text's.
void IonCommandsTest::chargeIsDrawnWhole() {
    QFETCH(QString, font);
    QFETCH(double, sizePt);
    QFETCH(QString, charge);
    IonFormula formula = ion(QStringLiteral("SO"), QStringLiteral("4"), charge, sizePt);
    formula.fontName = font;
    const QImage image = drawIonFormula(formula).image;
    const double scale = image.height() / drawIonFormula(formula).shownSizePx.height();
    QCOMPARE(leftmostInk(image, 0, 1), -1);
    // Still raised: a digit's ink starts above the body's top, 4 s down.
    if (charge.at(0).isDigit())
        QVERIFY(leftmostInk(image, 0, int(4 * sizePt / twipsPerPixel * scale)) >= 0);
}

void IonCommandsTest::smallTextGivesTenPointIon() {
    WindowFixture fixture;
    fillText(fixture.exo, QStringLiteral("ion "), 8);
    fixture.select(4, 0);
    double basetPt = 0, text2Pt = 0;
    QRect frame, baset, text3;
    fixture.dialogs.dialogAnswers << [&](QDialog &dialog) {
        basetPt = dialog.findChild<QLineEdit *>(QStringLiteral("baset"))->font().pointSizeF();
        text2Pt = dialog.findChild<QLineEdit *>(QStringLiteral("Text2"))->font().pointSizeF();
        frame = dialog.findChild<QGroupBox *>(QStringLiteral("Frame1"))->geometry();
        baset = dialog.findChild<QLineEdit *>(QStringLiteral("baset"))->geometry();
        text3 = dialog.findChild<QLineEdit *>(QStringLiteral("Text3"))->geometry();
        return answer(QStringLiteral("SO"), QStringLiteral("4"), QStringLiteral("2-"),
                      "Command3")(dialog);
    };
    fixture.action("ionpoly")->trigger();

    QCOMPARE(fixture.dialogs.last().text, QStringLiteral("polyion"));
    QCOMPARE(basetPt, 10.0);
    QCOMPARE(text2Pt, 8.0);
    // Frame 15 (5 s + 20) twips; baset 30 s high, 2/3 of Text2's 18 s below
    // its top; Text3 halfway down baset.
    QCOMPARE(frame.height(), 70);
    QCOMPARE(baset.height(), 20);
    QCOMPARE(baset.top(), 24);
    QCOMPARE(text3.top(), 34);
    QCOMPARE(text3.height(), 12);

    const QList<QTextImageFormat> pictures = images(*fixture.exo.document());
    QCOMPARE(pictures.size(), 1);
    QCOMPARE(qRound(pictures.first().height() * twipsPerPixel),
             qRound(measure({}, 10).lineHeightTwips + 40));
    QCOMPARE(fixture.window.state().ionvalide, int16_t(1));
    // The caret has its own format back, for what is typed next.
    QCOMPARE(fixture.window.state().insertionencours, int16_t(0));
    QCOMPARE(fixture.exo.selFontSize().value_or(0), 8.0);
    QTest::keyClicks(&fixture.exo, QStringLiteral("x"));
    QCOMPARE(charsAt(fixture.exo, 5).sizePt, 8.0);
}

void IonCommandsTest::buttonsLeaveTheClipboard() {
    WindowFixture fixture;
    fillText(fixture.exo, QStringLiteral("ab"), 12);
    fixture.select(1, 0);
    QApplication::clipboard()->setText(QStringLiteral("gardé"));

    fixture.dialogs.dialogAnswers << answer(QStringLiteral("SO"), QStringLiteral("4"),
                                            QStringLiteral("2-"), "Command2");
    fixture.action("ionpoly")->trigger();
    QCOMPARE(fixture.exo.text(), QStringLiteral("ab"));
    QCOMPARE(images(*fixture.exo.document()).size(), 0);
    QCOMPARE(fixture.window.state().ionvalide, int16_t(0));
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("gardé"));

    fixture.dialogs.dialogAnswers << answer(QStringLiteral("SO"), QStringLiteral("4"),
                                            QStringLiteral("2-"), "Command3");
    fixture.control<QToolButton>(QStringLiteral("Command9"))->click();
    QCOMPARE(images(*fixture.exo.document()).size(), 1);
    QCOMPARE(fixture.exo.text().size(), 3);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("gardé"));
    QVERIFY(!QApplication::clipboard()->mimeData()->hasImage());

    // One step of undo takes the ion away.
    QTest::keyClick(&fixture.exo, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(images(*fixture.exo.document()).size(), 0);
}

void IonCommandsTest::ionSurvivesSaveAndReopen() {
    WindowFixture fixture;
    fixture.dialogs.dialogAnswers << answer(QStringLiteral("SO"), QStringLiteral("4"),
                                            QStringLiteral("2-"), "Command3");
    fixture.action("ionpoly")->trigger();
    const QTextImageFormat shown = images(*fixture.exo.document()).value(0);
    QVERIFY(shown.isValid());
    const QString path = fixture.root + QStringLiteral("ion.rtf");
    QVERIFY(fixture.exo.saveFile(path));

    RichTextBox reopened;
    QCOMPARE(reopened.loadFile(path), RichTextBox::LoadOutcome::Loaded);
    const QTextImageFormat read = images(*reopened.document()).value(0);
    QVERIFY(read.isValid());
    // Twips are whole in the file: within one twip of the size shown.
    QVERIFY(std::abs(read.width() - shown.width()) * twipsPerPixel <= 1);
    QVERIFY(std::abs(read.height() - shown.height()) * twipsPerPixel <= 1);
    const QImage stored = qvariant_cast<QImage>(
        reopened.document()->resource(QTextDocument::ImageResource, QUrl(read.name())));
    QVERIFY(stored.width() >= 4 * read.width());
}

void IonCommandsTest::decabizRaisesOnlyTheSelection() {
    WindowFixture fixture;
    RichTextBox &exo = fixture.exo;
    // "ab cd2 x": 12-point words, the 2 an exponent, a 20-point b.
    fillText(exo, QStringLiteral("ab cd2 x"), 12);
    fixture.select(1, 1);
    exo.setSelFontSize(20);
    fixture.select(5, 1);
    exo.setSelFontSize(8);
    exo.setSelCharOffset(80);
    QAction *check2 = fixture.action("check2");
    check2->setChecked(false);

    fixture.select(0, 6);
    QVERIFY(!fixture.action("decabiz")->isVisible());
    fixture.action("decabiz")->trigger();

    QCOMPARE(charsAt(exo, 0).offsetTwips, 60);
    QCOMPARE(charsAt(exo, 1).offsetTwips, 100);
    for (int position : {2, 3, 4})
        QCOMPARE(charsAt(exo, position).offsetTwips, 60);
    QCOMPARE(charsAt(exo, 5).offsetTwips, 80);
    QCOMPARE(charsAt(exo, 6).offsetTwips, 0);
    QCOMPARE(charsAt(exo, 7).offsetTwips, 0);
    QCOMPARE(exo.selStart(), 0);
    QCOMPARE(exo.selLength(), 6);
    QVERIFY(check2->isChecked());

    QTest::keyClick(&exo, Qt::Key_Z, Qt::ControlModifier);
    for (int position : {0, 1, 2, 3, 4})
        QCOMPARE(charsAt(exo, position).offsetTwips, 0);
    QCOMPARE(charsAt(exo, 5).offsetTwips, 80);

    // The tools show the raised text at once.
    fixture.select(7, 1);
    QVERIFY(fixture.control<QRadioButton>("Option2", 0)->isChecked());
    fixture.action("decabiz")->trigger();
    QCOMPARE(charsAt(exo, 7).offsetTwips, 60);
    QVERIFY(fixture.control<QRadioButton>("Option2", 2)->isChecked());
    QVERIFY(fixture.control<QCheckBox>("Check3", 0)->isChecked());
}

void IonCommandsTest::decabizNeedsASelection() {
    WindowFixture fixture;
    fillText(fixture.exo, QStringLiteral("ab"), 12);
    fixture.select(1, 0);
    fixture.action("decabiz")->trigger();
    QCOMPARE(fixture.dialogs.kinds(), QStringList{QStringLiteral("message")});
    QCOMPARE(fixture.dialogs.last().message.title, QStringLiteral("Opération impossible"));
    QCOMPARE(fixture.dialogs.last().message.text,
             QStringLiteral("Il faut sélectionner du texte pour pouvoir le formater!"));
    QCOMPARE(fixture.dialogs.last().message.icon, MessageIcon::Critical);
    QCOMPARE(charsAt(fixture.exo, 0).offsetTwips, 0);
}

void IonCommandsTest::commandsAreInPlace() {
    WindowFixture fixture;
    QCOMPARE(fixture.control<QToolButton>(QStringLiteral("Command9"))->toolTip(),
             QStringLiteral("Insertion formule ion polyatomique"));
    QAction *ionpoly = fixture.action("ionpoly");
    QCOMPARE(ionpoly->text(), QStringLiteral("Formule ion pol&yatomique"));
    QVERIFY(!ionpoly->isVisible());
    auto *insert = fixture.control<QMenu>(QStringLiteral("insert"));
    QCOMPARE(insert->title(), QStringLiteral("In&sertion"));
    QVERIFY(insert->actions().contains(ionpoly));
    // Between Edition and Format.
    const QList<QAction *> bar = fixture.window.menuBar()->actions();
    const int at = int(bar.indexOf(insert->menuAction()));
    QCOMPARE(bar.value(at - 1), fixture.control<QMenu>(QStringLiteral("edition"))->menuAction());
    QCOMPARE(bar.value(at + 1), fixture.control<QMenu>(QStringLiteral("for0"))->menuAction());

    QStringList texts;
    int width = 0;
    bool labelFits = false;
    fixture.dialogs.dialogAnswers << [&](QDialog &dialog) {
        texts << dialog.windowTitle()
              << dialog.findChild<QPushButton *>(QStringLiteral("Command3"))->text()
              << dialog.findChild<QPushButton *>(QStringLiteral("Command2"))->text()
              << dialog.findChild<QLabel *>(QStringLiteral("Label1"))->text();
        width = dialog.width();
        const auto *label = dialog.findChild<QLabel *>(QStringLiteral("Label1"));
        labelFits = QFontMetricsF(label->font()).horizontalAdvance(label->text()) <= label->width();
        return int(QDialog::Rejected);
    };
    fixture.action("ionpoly")->trigger();
    QCOMPARE(texts,
             (QStringList{QStringLiteral("Insertion de la formule d'un ion polyatomique"),
                          QStringLiteral("OK"), QStringLiteral("Annuler"),
                          QStringLiteral("Ecrire la formule et appuyer sur OK ou annuler")}));
    QCOMPARE(width, 413); // 6195 twips
    QVERIFY(labelFits);
}

QTEST_MAIN(IonCommandsTest)
#include "ioncommands_test.moc"
