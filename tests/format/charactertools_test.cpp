#include "app/mainwindow.h"
#include "app/selectionrefresh.h"
#include "editor/editcommands.h"
#include "editor/richtextbox.h"
#include "filebytes.h"
#include "format/charactertools.h"
#include "windowfixture.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFontDatabase>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <cstdlib>

// A window whose text is "un deux", "deux" selected.
class Fixture : public WindowFixture {
public:
    CharacterTools &tools = window.characterTools();
    EditCommands &edit = window.editCommands();

    Fixture() {
        exo.setText(QStringLiteral("un deux"));
        select(3, 4);
    }
};

class CharacterToolsTest : public QObject {
    Q_OBJECT

private slots:
    void sizeArrowsStepFromTheShownSize();
    void fontListAppliesPickedNames();
    void fontListNamesFamiliesWithoutFoundry();
    void unknownTypedFontNameIsNotShown();
    void colourOptionsWriteExactColours_data();
    void colourOptionsWriteExactColours();
    void paletteCellOrCancel();
    void colourLabelShowsTheSelectionsColour();
    void arialItalicButton();
    void copyAndCutSpeakRtf();
    void pasteFallsBackToPlainText();
};

void CharacterToolsTest::sizeArrowsStepFromTheShownSize() {
    Fixture f;
    f.exo.setSelFontSize(9);
    f.select(3, 4);
    QCOMPARE(f.control<QLineEdit>(QStringLiteral("taille"))->text(), QStringLiteral("9"));
    f.control<QSpinBox>(QStringLiteral("UpDown1"))->stepUp();
    QCOMPARE(*f.exo.selFontSize(), 11.0);
    QCOMPARE(f.control<QLineEdit>(QStringLiteral("taille"))->text(), QStringLiteral("11"));
    f.control<QSpinBox>(QStringLiteral("UpDown1"))->setValue(72);
    f.control<QSpinBox>(QStringLiteral("UpDown1"))->stepUp();
    QCOMPARE(*f.exo.selFontSize(), 72.0);
    f.control<QSpinBox>(QStringLiteral("UpDown1"))->setValue(8);
    f.control<QSpinBox>(QStringLiteral("UpDown1"))->stepDown();
    QCOMPARE(*f.exo.selFontSize(), 8.0);
}

void CharacterToolsTest::fontListAppliesPickedNames() {
    Fixture f;
    QComboBox *list = f.control<QComboBox>(QStringLiteral("Combo1"));
    const int courier = list->findText(QStringLiteral("DejaVu Sans Mono"));
    QVERIFY(courier > 0);
    list->setCurrentIndex(courier);
    emit list->activated(courier);
    QCOMPARE(*f.exo.selFontName(), QStringLiteral("DejaVu Sans Mono"));
    // The blank item stands for a mixture: picking it changes nothing.
    list->setCurrentIndex(0);
    emit list->activated(0);
    QCOMPARE(*f.exo.selFontName(), QStringLiteral("DejaVu Sans Mono"));
}

void CharacterToolsTest::fontListNamesFamiliesWithoutFoundry() {
    QCOMPARE(CharacterTools::familyName(QStringLiteral("C059 [urw]")), QStringLiteral("C059"));
    QCOMPARE(CharacterTools::familyName(QStringLiteral("Nimbus Sans [URW ]")),
             QStringLiteral("Nimbus Sans"));
    QCOMPARE(CharacterTools::familyName(QStringLiteral("DejaVu Sans")),
             QStringLiteral("DejaVu Sans"));

    Fixture f;
    QComboBox *list = f.control<QComboBox>(QStringLiteral("Combo1"));
    QStringList shown;
    for (int i = 0; i < list->count(); ++i)
        shown << list->itemText(i);
    QCOMPARE(shown.first(), QStringLiteral(" "));
    QCOMPARE(shown.filter(QStringLiteral("[")), QStringList());
    QCOMPARE(QStringList(shown).removeDuplicates(), 0);
    // A family that several foundries make: listed once, saved by its name.
    const QStringList twice = QFontDatabase::families().filter(QStringLiteral(" ["));
    if (twice.isEmpty()) QSKIP("No font family here is made by two foundries");
    const QString family = CharacterTools::familyName(twice.first());
    const int index = list->findText(family);
    QVERIFY(index > 0);
    list->setCurrentIndex(index);
    emit list->activated(index);
    QCOMPARE(*f.exo.selFontName(), family);
    const QString path = f.dir.filePath(QStringLiteral("police.rtf"));
    QVERIFY(f.exo.saveFile(path));
    const QByteArray rtf = fileBytes(path);
    const QByteArray fonts = rtf.mid(rtf.indexOf("{\\fonttbl"));
    QVERIFY2(fonts.contains(" " + family.toLatin1() + ";}"), fonts.left(200).constData());
    QVERIFY(!fonts.left(fonts.indexOf("}}")).contains('['));
}

// The box is editable, so that a font not installed still shows its name;
// a name typed there that the list does not have is not left showing.
void CharacterToolsTest::unknownTypedFontNameIsNotShown() {
    Fixture f;
    f.exo.setSelFontName(QStringLiteral("DejaVu Serif"));
    f.select(3, 4);
    QComboBox *list = f.control<QComboBox>(QStringLiteral("Combo1"));
    QCOMPARE(list->currentText(), QStringLiteral("DejaVu Serif"));
    QLineEdit *box = list->lineEdit();
    box->selectAll();
    QTest::keyClicks(box, QStringLiteral("Pas une police"));
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(list->currentText(), QStringLiteral("DejaVu Serif"));
    QCOMPARE(*f.exo.selFontName(), QStringLiteral("DejaVu Serif"));
    // A name the list has applies, whatever its case.
    box->selectAll();
    QTest::keyClicks(box, QStringLiteral("dejavu sans mono"));
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(*f.exo.selFontName(), QStringLiteral("DejaVu Sans Mono"));
    QCOMPARE(list->currentText(), QStringLiteral("DejaVu Sans Mono"));
}

void CharacterToolsTest::colourOptionsWriteExactColours_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("tip");
    QTest::addColumn<int>("colour");
    QTest::newRow("blue") << 0 << "B"
                          << "Ecrire en bleu" << 0x0000C8;
    QTest::newRow("black") << 1 << "N"
                           << "Ecrire en noir" << 0x000000;
    QTest::newRow("red") << 2 << "R"
                         << "Ecrire en rouge" << 0xC80000;
    QTest::newRow("green") << 3 << "V"
                           << "Ecrire en vert" << 0x00960A;
}

void CharacterToolsTest::colourOptionsWriteExactColours() {
    QFETCH(int, index);
    QFETCH(QString, caption);
    QFETCH(QString, tip);
    QFETCH(int, colour);
    Fixture f;
    QRadioButton *option = f.control<QRadioButton>("optcoul", index);
    QCOMPARE(option->text(), caption);
    QCOMPARE(option->toolTip(), tip);
    option->click();
    QCOMPARE(*f.exo.selColor(), QRgb(colour));
    f.select(3, 4);
    QVERIFY(option->isChecked());
    // Palette green is none of the four.
    f.exo.setSelColor(0x00FF00);
    f.select(3, 4);
    for (int i = 0; i < 4; ++i)
        QVERIFY(!f.control<QRadioButton>("optcoul", i)->isChecked());
}

void CharacterToolsTest::paletteCellOrCancel() {
    Fixture f;
    const auto answerPalette = [&f](const char *button) {
        f.dialogs.dialogAnswers << [button](QDialog &palette) {
            [&] { QCOMPARE(palette.objectName(), QStringLiteral("coul")); }();
            QWidget *target = palette.findChild<QWidget *>(QLatin1String(button));
            if (target) QTest::mouseClick(target, Qt::LeftButton);
            return palette.result();
        };
    };
    answerPalette("Command1"); // Annuler
    f.tools.cotext_Click();
    QCOMPARE(*f.exo.selColor(), QRgb(0));
    answerPalette("Label1(18)"); // row 2, column 2: orange
    f.tools.cotext_Click();
    QCOMPARE(*f.exo.selColor(), QRgb(0xFF8000));
}

// The label is drawn in the selection's colour, whichever of the four it is
// or none of them.
void CharacterToolsTest::colourLabelShowsTheSelectionsColour() {
    Fixture f;
    f.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    QLabel *label = f.control<QLabel>(QStringLiteral("cotext"));
    QCOMPARE(label->text(), QStringLiteral("Couleur"));
    for (const QRgb colour : {qRgb(200, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 0)}) {
        f.exo.setSelColor(colour);
        f.select(3, 4);
        // The ink is the pixel farthest from the background; the others
        // are its blends with the background.
        const QImage drawn = label->grab().toImage();
        const QColor background = drawn.pixelColor(0, 0);
        const auto distance = [](const QColor &a, const QColor &b) {
            return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
                   std::abs(a.blue() - b.blue());
        };
        QColor ink = background;
        for (int y = 0; y < drawn.height(); ++y) {
            for (int x = 0; x < drawn.width(); ++x) {
                const QColor pixel = drawn.pixelColor(x, y);
                if (distance(pixel, background) > distance(ink, background)) ink = pixel;
            }
        }
        QVERIFY2(distance(ink, QColor(colour)) < 90, qPrintable(ink.name()));
    }
}

void CharacterToolsTest::arialItalicButton() {
    Fixture f;
    f.exo.setSelFontName(QStringLiteral("Courier"));
    f.window.findChild<QToolButton *>(QStringLiteral("Command15"))->click();
    QCOMPARE(*f.exo.selFontName(), QStringLiteral("Arial"));
    QCOMPARE(*f.exo.selItalic(), true);
}

void CharacterToolsTest::copyAndCutSpeakRtf() {
    Fixture f;
    f.exo.setSelBold(true);
    f.edit.copie_Click();
    const QMimeData *copied = QApplication::clipboard()->mimeData();
    QVERIFY(copied->data(QStringLiteral("text/rtf")).startsWith("{\\rtf1"));
    // Beside it, for programs that do not read RTF, the same characters.
    QCOMPARE(copied->text(), QStringLiteral("deux"));
    QVERIFY(copied->html().contains(QLatin1String("<b>deux</b>")));
    // Nothing selected: the clipboard keeps the copy, nothing is cut.
    const QByteArray copiedRtf = copied->data(QStringLiteral("text/rtf"));
    f.select(2, 0);
    f.edit.coupe_Click();
    const QMimeData *kept = QApplication::clipboard()->mimeData();
    QVERIFY(kept);
    QCOMPARE(kept->data(QStringLiteral("text/rtf")), copiedRtf);
    QCOMPARE(f.exo.text(), QStringLiteral("un deux"));
    f.select(3, 4);
    f.edit.coupe_Click();
    QCOMPARE(f.exo.text(), QStringLiteral("un "));
    f.edit.colle_Click();
    QCOMPARE(f.exo.text(), QStringLiteral("un deux"));
    f.select(3, 4);
    QCOMPARE(*f.exo.selBold(), true);
}

void CharacterToolsTest::pasteFallsBackToPlainText() {
    Fixture f;
    QApplication::clipboard()->setText(QStringLiteral("trois"));
    f.edit.colle_Click();
    QCOMPARE(f.exo.text(), QStringLiteral("un trois"));
    // Nothing pasteable: the selection stays.
    QApplication::clipboard()->clear();
    f.select(0, 2);
    f.edit.colle_Click();
    QCOMPARE(f.exo.text(), QStringLiteral("un trois"));
    f.edit.supprime_Click();
    QCOMPARE(f.exo.text(), QStringLiteral(" trois"));
    f.edit.toutsel_Click();
    QCOMPARE(f.exo.selLength(), 6);
}

QTEST_MAIN(CharacterToolsTest)
#include "charactertools_test.moc"
