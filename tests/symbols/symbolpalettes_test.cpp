#include "base/codepages.h"
#include "imagebytes.h"
#include "paragraph/ruler.h"
#include "symbols/palettebuttons.h"
#include "symbols/symbolpalettes.h"
#include "windowfixture.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMimeData>
#include <QSpinBox>
#include <QTabBar>
#include <QTest>
#include <QToolButton>
#include <QUrl>

namespace {

const QString grec = QStringLiteral("Picture1");
const QString mathI = QStringLiteral("Picture2");
const QString mathII = QStringLiteral("Picture3");

const QString symbolFont = QStringLiteral("Symbol");
const QString arialFont = QStringLiteral("Arial");

// Every button in sight, palette by palette, row by row: the font it writes
// in, its code in that font and the character it shows and inserts.
struct PaletteButton {
    int tab;
    int index;
    QString font;
    int code;
    char16_t unicode;
};

const PaletteButton paletteButtons[] = {
    // Grec, all in Symbol.
    {0, 2, symbolFont, 97, u'α'},
    {0, 3, symbolFont, 98, u'β'},
    {0, 13, symbolFont, 103, u'γ'},
    {0, 36, symbolFont, 105, u'ι'},
    {0, 5, symbolFont, 100, u'δ'},
    {0, 6, symbolFont, 101, u'ε'},
    {0, 23, symbolFont, 122, u'ζ'},
    {0, 37, symbolFont, 107, u'κ'},
    {0, 20, symbolFont, 104, u'η'},
    {0, 10, symbolFont, 113, u'θ'},
    {0, 15, symbolFont, 108, u'λ'},
    {0, 38, symbolFont, 110, u'ν'},
    {0, 16, symbolFont, 109, u'μ'},
    {0, 8, symbolFont, 117, u'υ'},
    {0, 34, symbolFont, 120, u'ξ'},
    {0, 39, symbolFont, 111, u'ο'},
    {0, 9, symbolFont, 112, u'π'},
    {0, 18, symbolFont, 114, u'ρ'},
    {0, 11, symbolFont, 115, u'σ'},
    {0, 7, symbolFont, 116, u'τ'},
    {0, 19, symbolFont, 106, u'\u03D5'}, // the phi of the Symbol font, stroked
    {0, 4, symbolFont, 99, u'χ'},
    {0, 35, symbolFont, 121, u'ψ'},
    {0, 1, symbolFont, 119, u'ω'},
    {0, 14, symbolFont, 71, u'Γ'},
    {0, 40, symbolFont, 81, u'Θ'},
    {0, 12, symbolFont, 68, u'Δ'},
    {0, 17, symbolFont, 80, u'Π'},
    {0, 28, symbolFont, 83, u'Σ'},
    {0, 41, symbolFont, 76, u'Λ'},
    {0, 21, symbolFont, 70, u'Φ'},
    {0, 22, symbolFont, 89, u'Ψ'},
    {0, 0, symbolFont, 87, u'Ω'},
    {0, 42, symbolFont, 88, u'Ξ'},
    // Math I
    {1, 81, arialFont, 188, u'¼'},
    {1, 82, arialFont, 189, u'½'},
    {1, 77, arialFont, 190, u'¾'},
    {1, 26, symbolFont, 206, u'∈'},
    {1, 67, symbolFont, 207, u'∉'},
    {1, 86, arialFont, 137, u'‰'},
    {1, 65, symbolFont, 163, u'≤'},
    {1, 53, symbolFont, 179, u'≥'},
    {1, 83, arialFont, 186, u'\u00BA'}, // masculine ordinal
    {1, 69, symbolFont, 185, u'≠'},
    {1, 31, symbolFont, 187, u'≈'},
    {1, 74, arialFont, 185, u'¹'},
    {1, 29, symbolFont, 64, u'≅'},
    {1, 64, symbolFont, 186, u'≡'},
    {1, 71, arialFont, 178, u'²'},
    {1, 76, arialFont, 247, u'÷'},
    {1, 84, arialFont, 215, u'×'},
    {1, 73, arialFont, 179, u'³'},
    {1, 93, symbolFont, 34, u'∀'},
    {1, 94, symbolFont, 36, u'∃'},
    {1, 78, arialFont, 177, u'±'},
    {1, 90, arialFont, 151, u'\u2014'}, // em dash
    {1, 89, arialFont, 150, u'\u2013'}, // en dash
    {1, 32, symbolFont, 214, u'√'},
    {1, 88, arialFont, 156, u'œ'},
    {1, 95, arialFont, 140, u'Œ'},
    {1, 68, symbolFont, 165, u'∞'},
    // Math II
    {2, 61, symbolFont, 173, u'↑'},
    {2, 30, symbolFont, 172, u'←'},
    {2, 62, symbolFont, 171, u'↔'},
    {2, 27, symbolFont, 174, u'→'},
    {2, 66, symbolFont, 190, u'\u23AF'}, // horizontal line extension
    {2, 63, symbolFont, 175, u'↓'},
    {2, 72, symbolFont, 189, u'\u23D0'}, // vertical line extension
    {2, 51, symbolFont, 221, u'⇑'},
    {2, 52, symbolFont, 220, u'⇐'},
    {2, 24, symbolFont, 219, u'⇔'},
    {2, 25, symbolFont, 222, u'⇒'},
    {2, 60, symbolFont, 223, u'⇓'},
    {2, 87, arialFont, 149, u'\u2022'},
    {2, 70, symbolFont, 183, u'\u2022'},
    {2, 98, symbolFont, 168, u'♦'},
    {2, 97, symbolFont, 242, u'∫'},
    {2, 85, arialFont, 127, u'\u007F'}, // no character of its own: inserted as it is
    {2, 96, symbolFont, 191, u'↵'},
};

// 34, 27 and 18 buttons in sight.
static_assert(std::size(paletteButtons) == 34 + 27 + 18);

const char *const tabTexts[] = {"Grec", "Math I", "Math II"};

QString boxOf(int tab) {
    return QStringList{grec, mathI, mathII}.at(tab);
}

// The code as the text's RTF writes it; a Symbol character goes first as its
// Unicode one, for the readers that draw Symbol with a Unicode font.
QByteArray writtenAs(int code, char16_t symbolUnicode) {
    QByteArray byte =
        code >= 0x7F ? "\\'" + QByteArray::number(code, 16) : QByteArray(1, char(code));
    if (symbolUnicode == 0) return byte;
    return "\\u" + QByteArray::number(int(int16_t(symbolUnicode))) + (code >= 0x7F ? "" : " ") +
           byte;
}

// The window shown, the palettes found.
class Fixture : public WindowFixture {
public:
    SymbolPalettes *palettes = control<SymbolPalettes>(QStringLiteral("SSTab1"));

    Fixture() {
        window.show();
        if (!QTest::qWaitForWindowExposed(&window)) qFatal("The window does not show");
    }

    // Shows a palette as the user does, by clicking its tab.
    void showTab(int tab) {
        QTabBar *bar = palettes->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab).center());
    }
    QToolButton *button(int index) const { return control<QToolButton>("Command1", index); }
    void click(int tab, QToolButton *button) {
        showTab(tab);
        QTest::mouseClick(button, Qt::LeftButton);
    }
    // Font and character at a position of the text.
    QString fontAt(int position) {
        exo.setSelStart(position);
        exo.setSelLength(1);
        return exo.selFontName().value_or(QString());
    }
};

QImage pictureAt(const RichTextBox &exo, int position) {
    QTextCursor at(exo.document());
    at.setPosition(position + 1);
    const QTextImageFormat picture = at.charFormat().toImageFormat();
    return qvariant_cast<QImage>(
        exo.document()->resource(QTextDocument::ImageResource, QUrl(picture.name())));
}

// Pixels of a column of the picture that are not white, and their colour.
int inkedPixels(const QImage &image, int x, QRgb *colour = nullptr) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb pixel = image.pixel(x, y) & 0xFFFFFF;
        if (pixel == 0xFFFFFF) continue;
        ++count;
        if (colour) *colour = pixel;
    }
    return count;
}

} // namespace

class SymbolPalettesTest : public QObject {
    Q_OBJECT

private slots:
    void greekLetterReplacesTheSelectionAndTypingGoesOn();
    void buttonsInsertTheirFontsCharacters_data();
    void buttonsInsertTheirFontsCharacters();
    void protectedTextTakesNoSymbol();
    void equilibriumSignFollowsSizeBoldAndColour();
    void equilibriumSignLeavesTheClipboardAndUndoesInOneStep();
    void gridPlaces_data();
    void gridPlaces();
    void everyButtonHasItsPlaceAndName();
    void gradientBackgrounds();
    void palettesFitBesideTheEditor_data();
    void palettesFitBesideTheEditor();
};

void SymbolPalettesTest::greekLetterReplacesTheSelectionAndTypingGoesOn() {
    Fixture f;
    f.exo.setText(QStringLiteral("angle de"));
    f.select(0, 8);
    f.exo.setSelFontName(QStringLiteral("Courier New"));
    f.exo.setSelFontSize(14);
    f.select(6, 2);
    f.click(palettebuttons::Grec, f.button(2));
    QCOMPARE(f.exo.text(), QStringLiteral("angle α"));
    QVERIFY(f.exo.hasFocus());
    QTest::keyClicks(&f.exo, QStringLiteral("x"));
    QCOMPARE(f.exo.text(), QStringLiteral("angle αx"));
    QCOMPARE(f.fontAt(6), QStringLiteral("Symbol"));
    QCOMPARE(*f.exo.selFontSize(), 14.0);
    QCOMPARE(f.fontAt(7), QStringLiteral("Courier New"));
    QCOMPARE(*f.exo.selFontSize(), 14.0);

    // Written as alpha, then the Symbol font's "a" for readers that skip
    // Unicode, and read back as alpha in Symbol.
    const QByteArray rtf = f.exo.textRTF();
    QVERIFY(rtf.contains("\\u945 a"));
    RichTextBox reread;
    QVERIFY(reread.setTextRTF(rtf));
    QCOMPARE(reread.text(), QStringLiteral("angle αx"));
    reread.setSelStart(6);
    reread.setSelLength(1);
    QCOMPARE(*reread.selFontName(), QStringLiteral("Symbol"));

    // One undo takes the typed letter, the next one the symbol, which gives
    // the selection back.
    f.exo.undo();
    f.exo.undo();
    QCOMPARE(f.exo.text(), QStringLiteral("angle de"));
}

void SymbolPalettesTest::buttonsInsertTheirFontsCharacters_data() {
    QTest::addColumn<int>("tab");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("character");
    QTest::addColumn<QString>("font");
    QTest::addColumn<QByteArray>("rtf");
    for (const PaletteButton &button : paletteButtons) {
        const bool inSymbol = button.font == symbolFont;
        const QString character(QChar(button.unicode));
        QTest::addRow("%s %d, %s %d", tabTexts[button.tab], button.index, qPrintable(button.font),
                      button.code)
            << button.tab << button.index << character << button.font
            << writtenAs(button.code, inSymbol ? button.unicode : 0);
    }
}

void SymbolPalettesTest::buttonsInsertTheirFontsCharacters() {
    QFETCH(int, tab);
    QFETCH(int, index);
    QFETCH(QString, character);
    QFETCH(QString, font);
    QFETCH(QByteArray, rtf);
    Fixture f;
    QToolButton *button = f.button(index);
    QCOMPARE(button->parentWidget()->objectName(), boxOf(tab));
    QVERIFY(button->isVisibleTo(button->parentWidget()));
    QVERIFY(button->parentWidget()->rect().contains(button->geometry()));
    QCOMPARE(button->font().family(), font);
    f.exo.setText(QStringLiteral("a"));
    f.select(1, 0);
    f.click(tab, button);
    QCOMPARE(f.exo.text(), QStringLiteral("a") + character);
    QCOMPARE(f.button(index)->text(), character);
    QCOMPARE(f.fontAt(1), font);
    QVERIFY2(f.exo.selRTF().contains(rtf), f.exo.selRTF().constData());
}

void SymbolPalettesTest::protectedTextTakesNoSymbol() {
    Fixture f;
    f.exo.setText(QStringLiteral("fixe"));
    f.select(0, 4);
    f.exo.setSelProtected(true);
    f.select(1, 2);
    f.click(palettebuttons::Grec, f.button(9));
    f.showTab(palettebuttons::MathII);
    QTest::mouseClick(f.control<QToolButton>(QStringLiteral("des01")), Qt::LeftButton);
    QCOMPARE(f.exo.text(), QStringLiteral("fixe"));
    QCOMPARE(f.window.state().insertionencours, 0);
}

void SymbolPalettesTest::equilibriumSignFollowsSizeBoldAndColour() {
    Fixture f;
    f.exo.setText(QStringLiteral("A B"));
    f.select(0, 3);
    f.control<QSpinBox>(QStringLiteral("UpDown1"))->setValue(12);
    f.showTab(palettebuttons::MathII);
    auto *des01 = f.control<QToolButton>(QStringLiteral("des01"));

    f.select(1, 0);
    QTest::mouseClick(des01, Qt::LeftButton);
    QTextCursor at(f.exo.document());
    at.setPosition(2);
    const QTextImageFormat shown = at.charFormat().toImageFormat();
    QCOMPARE(QSizeF(shown.width(), shown.height()), QSizeF(36, 12));
    const QImage plain = pictureAt(f.exo, 1);
    // Drawn four times denser than shown, so that it prints sharp.
    QCOMPARE(plain.size(), QSize(144, 48));
    QRgb colour = 0;
    // Halfway along, only the two long strokes cross a column.
    QCOMPARE(inkedPixels(plain, 72, &colour), 2 * 1 * 4);
    QCOMPARE(colour, QRgb(0x000000));
    // The picture the user never sees holds the same sign.
    QCOMPARE(f.control<QLabel>(QStringLiteral("prepades"))->size(), QSize(36, 12));

    f.select(0, 0);
    f.exo.setSelBold(true);
    f.exo.setSelColor(qRgb(200, 0, 0));
    QTest::mouseClick(des01, Qt::LeftButton);
    const QImage boldRed = pictureAt(f.exo, 0);
    QCOMPARE(inkedPixels(boldRed, 72, &colour), 2 * 2 * 4);
    QCOMPARE(colour, QRgb(0xC80000));

    // The size follows the spinner.
    f.select(0, 0);
    f.control<QSpinBox>(QStringLiteral("UpDown1"))->setValue(20);
    QTest::mouseClick(des01, Qt::LeftButton);
    at.setPosition(1);
    const QTextImageFormat larger = at.charFormat().toImageFormat();
    QCOMPARE(QSizeF(larger.width(), larger.height()), QSizeF(60, 20));
}

void SymbolPalettesTest::equilibriumSignLeavesTheClipboardAndUndoesInOneStep() {
    Fixture f;
    f.exo.setText(QStringLiteral("H2 I2"));
    f.select(3, 0);
    f.exo.setSelColor(qRgb(0, 150, 10));
    f.exo.setSelItalic(true);
    auto *kept = new QMimeData;
    kept->setText(QStringLiteral("gardé"));
    kept->setData(QStringLiteral("text/rtf"), "{\\rtf1 gard\\'e9}");
    QApplication::clipboard()->setMimeData(kept);

    f.showTab(palettebuttons::MathII);
    QTest::mouseClick(f.control<QToolButton>(QStringLiteral("des01")), Qt::LeftButton);
    QCOMPARE(f.exo.text().size(), 6);
    QCOMPARE(f.window.state().insertionencours, 0);
    QVERIFY(f.exo.hasFocus());
    const QMimeData *after = QApplication::clipboard()->mimeData();
    QCOMPARE(after->text(), QStringLiteral("gardé"));
    QCOMPARE(after->data(QStringLiteral("text/rtf")), QByteArray("{\\rtf1 gard\\'e9}"));
    QVERIFY(!after->hasImage());

    // Typing goes on with the caret's attributes of before.
    QTest::keyClicks(&f.exo, QStringLiteral("+"));
    f.select(4, 1);
    QCOMPARE(*f.exo.selColor(), qRgb(0, 150, 10) & 0xFFFFFF);
    QCOMPARE(*f.exo.selItalic(), true);

    f.exo.undo();
    QCOMPARE(f.exo.text().size(), 6);
    f.exo.undo();
    QCOMPARE(f.exo.text(), QStringLiteral("H2 I2"));
    QVERIFY(images(*f.exo.document()).isEmpty());
}

void SymbolPalettesTest::gridPlaces_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QRect>("placePx");
    const auto button = [](int index) { return indexedName("Command1", index); };
    // Columns at 240, 840, 1440 twips, rows from 360 every 600; 495 wide.
    QTest::newRow("alpha") << button(2) << grec << QRect(16, 24, 33, 33);
    QTest::newRow("Omega") << button(0) << grec << QRect(96, 344, 33, 33);
    QTest::newRow("quarter") << button(81) << mathI << QRect(16, 24, 33, 33);
    QTest::newRow("per mille") << button(86) << mathI << QRect(96, 64, 33, 33);
    QTest::newRow("infinity") << button(68) << mathI << QRect(96, 344, 33, 33);
    QTest::newRow("arrow up") << button(61) << mathII << QRect(56, 24, 33, 33);
    QTest::newRow("arrow right") << button(27) << mathII << QRect(96, 64, 33, 33);
    QTest::newRow("integral") << button(97) << mathII << QRect(16, 344, 33, 33);
    QTest::newRow("equilibrium") << QStringLiteral("des01") << mathII << QRect(16, 148, 113, 23);
    // The fourth column, at 2040 twips.
    QTest::newRow("iota") << button(36) << grec << QRect(136, 24, 33, 33);
    QTest::newRow("kappa") << button(37) << grec << QRect(136, 64, 33, 33);
    QTest::newRow("nu") << button(38) << grec << QRect(136, 104, 33, 33);
    QTest::newRow("omicron") << button(39) << grec << QRect(136, 144, 33, 33);
    QTest::newRow("Theta") << button(40) << grec << QRect(136, 264, 33, 33);
    QTest::newRow("Lambda") << button(41) << grec << QRect(136, 304, 33, 33);
    QTest::newRow("Xi") << button(42) << grec << QRect(136, 344, 33, 33);
}

void SymbolPalettesTest::gridPlaces() {
    QFETCH(QString, name);
    QFETCH(QString, box);
    QFETCH(QRect, placePx);
    Fixture f;
    auto *widget = f.control<QWidget>(name);
    QCOMPARE(widget->parentWidget()->objectName(), box);
    QCOMPARE(widget->geometry(), placePx);
}

void SymbolPalettesTest::everyButtonHasItsPlaceAndName() {
    Fixture f;
    QCOMPARE(f.palettes->count(), 3);
    QCOMPARE(f.palettes->tabText(0), QStringLiteral("Grec"));
    QCOMPARE(f.palettes->tabText(1), QStringLiteral("Math I"));
    QCOMPARE(f.palettes->tabText(2), QStringLiteral("Math II"));
    QCOMPARE(f.palettes->currentIndex(), 0);

    // 34, 27 and 18 buttons in sight, each in a place of its own.
    QMap<QString, int> inSight;
    QSet<QPair<QWidget *, QPoint>> places;
    for (int i = 0; i < palettebuttons::buttonCount; ++i) {
        QToolButton *button = f.button(i);
        QCOMPARE(button->font().pointSize(), 12);
        QVERIFY2(!button->toolTip().isEmpty(), qPrintable(button->objectName()));
        QWidget *box = button->parentWidget();
        if (button->isHidden() || !box->rect().contains(button->geometry())) continue;
        ++inSight[box->objectName()];
        places.insert({box, button->pos()});
    }
    QCOMPARE(inSight.value(grec), 34);
    QCOMPARE(inSight.value(mathI), 27);
    QCOMPARE(inSight.value(mathII), 18);
    QCOMPARE(places.size(), 79);

    // Phi in its other form is hidden; the underscore lies beyond the edge.
    QVERIFY(f.button(33)->isHidden());
    QCOMPARE(f.button(33)->text(), QStringLiteral("φ"));
    QToolButton *underscore = f.button(91);
    QVERIFY(underscore->x() >= underscore->parentWidget()->width());
    QCOMPARE(underscore->text(), QStringLiteral("_"));
    QWidget *prepades = f.control<QWidget>(QStringLiteral("prepades"));
    QCOMPARE(prepades->parentWidget()->objectName(), mathII);
    QVERIFY(prepades->x() >= prepades->parentWidget()->width());

    QCOMPARE(f.button(2)->font().family(), QStringLiteral("Symbol"));
    QCOMPARE(f.button(86)->font().family(), QStringLiteral("Arial"));
    QCOMPARE(f.button(2)->toolTip(), QStringLiteral("alpha"));
    QCOMPARE(f.button(38)->toolTip(), QStringLiteral("nu"));
    QCOMPARE(f.button(40)->toolTip(), QStringLiteral("thêta majuscule"));
    QCOMPARE(f.button(65)->toolTip(), QStringLiteral("inférieur ou égal"));
    QCOMPARE(f.button(27)->toolTip(), QStringLiteral("flèche vers la droite"));
    auto *des01 = f.control<QToolButton>(QStringLiteral("des01"));
    QCOMPARE(des01->toolTip(), QStringLiteral("équilibre chimique"));
    // Its picture: the two long strokes, one pixel each, cross the middle.
    QCOMPARE(des01->iconSize(), QSize(55, 13));
    const QImage sign = des01->icon().pixmap(QSize(55, 13)).toImage();
    int strokes = 0;
    for (int y = 0; y < sign.height(); ++y)
        strokes += sign.pixelColor(27, y) == Qt::black;
    QCOMPARE(strokes, 2);
}

void SymbolPalettesTest::gradientBackgrounds() {
    Fixture f;
    const auto top = [](const QImage &image) { return image.pixel(2, 0) & 0xFFFFFF; };
    const auto bottom = [](const QImage &image) {
        return image.pixel(2, image.height() - 1) & 0xFFFFFF;
    };
    // 190 at the top, 100 at the bottom, in the components not held at 193.
    const QImage g = f.control<QWidget>(grec)->grab().toImage();
    QCOMPARE(top(g), qRgb(193, 190, 190) & 0xFFFFFF);
    QCOMPARE(bottom(g), qRgb(193, 100, 100) & 0xFFFFFF);
    const QImage m1 = f.control<QWidget>(mathI)->grab().toImage();
    QCOMPARE(top(m1), qRgb(190, 193, 193) & 0xFFFFFF);
    QCOMPARE(bottom(m1), qRgb(100, 193, 193) & 0xFFFFFF);
    const QImage m2 = f.control<QWidget>(mathII)->grab().toImage();
    QCOMPARE(top(m2), qRgb(190, 190, 193) & 0xFFFFFF);
    QCOMPARE(bottom(m2), qRgb(100, 100, 193) & 0xFFFFFF);
}

void SymbolPalettesTest::palettesFitBesideTheEditor_data() {
    QTest::addColumn<QSize>("windowPx");
    QTest::newRow("800 x 600") << QSize(800, 600);
    QTest::newRow("1366 x 768") << QSize(1366, 768);
}

void SymbolPalettesTest::palettesFitBesideTheEditor() {
    QFETCH(QSize, windowPx);
    Fixture f;
    f.window.setWindowState(Qt::WindowNoState);
    f.window.resize(windowPx);
    QTRY_COMPARE(f.window.size(), windowPx);
    const auto inWindow = [&f](QWidget *w) {
        return QRect(w->mapTo(&f.window, QPoint(0, 0)), w->size());
    };
    const QRect editor = inWindow(&f.exo);
    const QRect ruler = inWindow(f.window.ruler());
    QWidget *welcome = f.control<QWidget>(QStringLiteral("volet"));
    QVERIFY(welcome->isVisible());
    QVERIFY(f.window.rect().contains(inWindow(welcome)));
    QVERIFY(inWindow(welcome).width() > 100);
    QVERIFY(editor.width() > 100);
    // All three tabs show whole, without scroll arrows.
    QTabBar *bar = f.palettes->tabBar();
    for (int tab = 0; tab < 3; ++tab)
        QVERIFY(bar->rect().contains(bar->tabRect(tab)));
    int checked = 0;
    for (int tab = 0; tab < 3; ++tab) {
        f.showTab(tab);
        QWidget *box = f.palettes->widget(tab);
        for (auto *button : box->findChildren<QToolButton *>()) {
            if (button->isHidden() || !box->rect().contains(button->geometry())) continue;
            const QRect place = inWindow(button);
            QVERIFY2(f.window.rect().contains(place), qPrintable(button->objectName()));
            QVERIFY2(!place.intersects(editor), qPrintable(button->objectName()));
            QVERIFY2(!place.intersects(ruler), qPrintable(button->objectName()));
            QVERIFY2(!place.intersects(inWindow(welcome)), qPrintable(button->objectName()));
            // Nothing lies over it: a click at its centre reaches it.
            QCOMPARE(f.window.childAt(place.center()), button);
            ++checked;
        }
    }
    QCOMPARE(checked, 79 + 1);
}

QTEST_MAIN(SymbolPalettesTest)
#include "symbolpalettes_test.moc"
