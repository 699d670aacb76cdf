#include "symbols/fontsamplewindow.h"

#include "base/sharedstate.h"
#include "editor/richtextbox.h"
#include "format/charactertools.h"
#include "windowfixture.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QTest>

namespace {

QLabel *cell(const QWidget &window, int index) {
    return window.findChild<QLabel *>(indexedName("Label1", index));
}

// Opens the window from the Insertion menu; act plays the user in it, then
// "Fermer" closes it.
void withSampleWindow(WindowFixture &f, const std::function<void(FontSampleWindow &)> &act) {
    f.dialogs.dialogAnswers << [&act](QDialog &dialog) {
        auto *echanti = qobject_cast<FontSampleWindow *>(&dialog);
        if (!echanti) qFatal("The Insertion menu opened %s", qPrintable(dialog.objectName()));
        act(*echanti);
        QTest::mouseClick(echanti->findChild<QPushButton *>(QStringLiteral("Command1")),
                          Qt::LeftButton);
        return echanti->result();
    };
    f.action("SPECIALCAr")->trigger();
    QVERIFY(f.dialogs.dialogAnswers.isEmpty());
}

void clickCell(FontSampleWindow &window, int index) {
    QTest::mouseClick(cell(window, index), Qt::LeftButton);
}

} // namespace

class FontSampleWindowTest : public QObject {
    Q_OBJECT

private slots:
    void cellsShowCodes40To255_data();
    void cellsShowCodes40To255();
    void cellsSitOnTheTwipGrid();
    void pressedCellTurnsDarkBlue();
    void familiesLoseTheirFoundry_data();
    void familiesLoseTheirFoundry();

    void reopensInTheFontChosenLast();
    void clickOverSelectionCarriesItsFormat();
    void typingGoesOnInTheToolbarFont();
    void clipboardKeepsWhatTheUserPutThere();
    void oneUndoRemovesTheCharacter();
    void protectedTextStaysAsItIs();
};

void FontSampleWindowTest::cellsShowCodes40To255_data() {
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("caption");
    QTest::newRow("first cell") << "Windings" << 0 << "(";
    QTest::newRow("last cell, code 255") << "Windings" << 215 << QString(QChar(0xFF));
    QTest::newRow("code 128, Windows-1252") << "DejaVu Sans" << 88 << QString(QChar(0x20AC));
    QTest::newRow("code 153, Windows-1252") << "DejaVu Sans" << 113 << QString(QChar(0x2122));
    QTest::newRow("code 97, Symbol") << "Symbol" << 57 << QString(QChar(0x03B1));
    QTest::newRow("code 128, Symbol") << "Symbol" << 88 << QString(QChar(0xF080));
    QTest::newRow("code 165, Symbol") << "Symbol" << 125 << QString(QChar(0x221E));
}

void FontSampleWindowTest::cellsShowCodes40To255() {
    QFETCH(QString, family);
    QFETCH(int, index);
    QFETCH(QString, caption);
    RichTextBox exo;
    SharedState state;
    state.policesymbole = family;
    FontSampleWindow window(exo, state, {});
    QCOMPARE(window.windowTitle(), QStringLiteral("Caractères spéciaux"));
    QCOMPARE(cell(window, index)->text(), caption);
    QCOMPARE(cell(window, index)->font().family(), family);
    QCOMPARE(cell(window, index)->font().pointSizeF(), 14.25);
    QCOMPARE(window.findChild<QComboBox *>(QStringLiteral("Combo1"))->currentText(), family);
}

void FontSampleWindowTest::cellsSitOnTheTwipGrid() {
    RichTextBox exo;
    SharedState state;
    FontSampleWindow window(exo, state, {});
    QCOMPARE(window.size(), QSize(687, 267));
    const auto *frame = window.findChild<QFrame *>(QStringLiteral("Frame1"));
    QCOMPARE(frame->geometry(), QRect(8, 32, 665, 217));
    // 27 to a row, neighbours sharing their border.
    QCOMPARE(cell(window, 0)->geometry(), QRect(8, 16, 25, 25));
    QCOMPARE(cell(window, 1)->geometry(), QRect(32, 16, 25, 25));
    QCOMPARE(cell(window, 27)->geometry(), QRect(8, 40, 25, 25));
    QCOMPARE(cell(window, 215)->geometry(), QRect(632, 184, 25, 25));
    QVERIFY(!cell(window, 216));
    QCOMPARE(window.findChild<QPushButton *>(QStringLiteral("Command1"))->geometry(),
             QRect(544, 8, 113, 25));
    QVERIFY(frame->rect().contains(cell(window, 215)->geometry()));
}

void FontSampleWindowTest::pressedCellTurnsDarkBlue() {
    RichTextBox exo;
    SharedState state;
    FontSampleWindow window(exo, state, {});
    QLabel *target = cell(window, 40);
    QTest::mousePress(target, Qt::RightButton);
    QCOMPARE(target->palette().color(QPalette::Window), QColor(0, 0, 128));
    QCOMPARE(target->palette().color(QPalette::WindowText), QColor(Qt::white));
    QTest::mouseRelease(target, Qt::RightButton);
    QCOMPARE(target->palette().color(QPalette::Window), QColor(Qt::white));
    QCOMPARE(target->palette().color(QPalette::WindowText), QColor(Qt::black));
    // Only a left click inserts.
    QCOMPARE(exo.text(), QString());
}

void FontSampleWindowTest::familiesLoseTheirFoundry_data() {
    QTest::addColumn<QStringList>("reported");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("one foundry") << QStringList{"DejaVu Sans", "C059"}
                                 << QStringList{"DejaVu Sans", "C059"};
    QTest::newRow("two foundries, one name")
        << QStringList{"Nimbus Sans [urw]", "Arial", "Nimbus Sans [UKWN]"}
        << QStringList{"Nimbus Sans", "Arial"};
    QTest::newRow("brackets inside the name")
        << QStringList{"Odd [x] Font", "[urw]"} << QStringList{"Odd [x] Font", "[urw]"};
}

void FontSampleWindowTest::familiesLoseTheirFoundry() {
    QFETCH(QStringList, reported);
    QFETCH(QStringList, shown);
    QCOMPARE(plainFamilyNames(reported), shown);
}

void FontSampleWindowTest::reopensInTheFontChosenLast() {
    WindowFixture f;
    QString chosen;
    withSampleWindow(f, [&chosen](FontSampleWindow &window) {
        auto *list = window.findChild<QComboBox *>(QStringLiteral("Combo1"));
        QCOMPARE(list->currentText(), QStringLiteral("Windings"));
        QCOMPARE(cell(window, 0)->font().family(), QStringLiteral("Windings"));
        QVERIFY(list->count() > 1);
        QTest::keyClick(list, Qt::Key_Down);
        chosen = list->currentText();
        QVERIFY(chosen != QStringLiteral("Windings"));
        QCOMPARE(cell(window, 215)->font().family(), chosen);
    });
    QCOMPARE(f.window.state().policesymbole, chosen);
    withSampleWindow(f, [&chosen](FontSampleWindow &window) {
        QCOMPARE(window.findChild<QComboBox *>(QStringLiteral("Combo1"))->currentText(), chosen);
        QCOMPARE(cell(window, 0)->font().family(), chosen);
    });
}

void FontSampleWindowTest::clickOverSelectionCarriesItsFormat() {
    WindowFixture f;
    f.window.state().policesymbole = QStringLiteral("DejaVu Serif");
    f.exo.setText(QStringLiteral("abc def"));
    f.select(4, 3);
    f.exo.setSelFontSize(16);
    f.exo.setSelColor(qRgb(200, 0, 0));
    f.exo.setSelBold(true);
    f.exo.setSelItalic(true);
    f.exo.setSelUnderline(true);
    f.exo.setSelStrikeThru(true);
    f.exo.setSelCharOffset(60);
    f.exo.setSelAlignment(RichTextBox::AlignCenter);
    f.exo.setSelIndent(40);
    withSampleWindow(f, [](FontSampleWindow &window) { clickCell(window, 1); });

    QCOMPARE(f.exo.text(), QStringLiteral("abc )"));
    f.select(4, 1);
    const RichTextBox::CharacterSummary chars = f.exo.characterSummary();
    QCOMPARE(chars.fontName, QStringLiteral("DejaVu Serif"));
    QCOMPARE(chars.fontSize, 16.0);
    QCOMPARE(chars.color, QRgb(0xC80000));
    QCOMPARE(chars.bold, true);
    QCOMPARE(chars.italic, true);
    QCOMPARE(chars.underline, true);
    QCOMPARE(chars.strikeThru, true);
    QCOMPARE(chars.charOffset, 60);
    QCOMPARE(f.exo.selAlignment(), int(RichTextBox::AlignCenter));
    QCOMPARE(f.exo.selIndent(), 40.0);
}

void FontSampleWindowTest::typingGoesOnInTheToolbarFont() {
    WindowFixture f;
    f.window.state().policesymbole = QStringLiteral("DejaVu Serif");
    f.exo.setText(QStringLiteral("ab"));
    f.select(2, 0);
    f.exo.setSelFontSize(18);
    QString shownAfterInsertion;
    withSampleWindow(f, [&](FontSampleWindow &window) {
        clickCell(window, 10);
        shownAfterInsertion = f.window.characterTools().shownFontName();
    });
    // The toolbar follows the caret, which types in its font again.
    QCOMPARE(shownAfterInsertion, QStringLiteral("Arial"));
    QTest::keyClicks(&f.exo, QStringLiteral("xy"));
    QCOMPARE(f.exo.text(), QStringLiteral("ab2xy"));
    f.select(2, 1);
    QCOMPARE(f.exo.selFontName(), QStringLiteral("DejaVu Serif"));
    f.select(3, 2);
    QCOMPARE(f.exo.selFontName(), QStringLiteral("Arial"));
    QCOMPARE(f.exo.selFontSize(), 18.0);
}

void FontSampleWindowTest::clipboardKeepsWhatTheUserPutThere() {
    WindowFixture f;
    auto *held = new QMimeData;
    held->setData(QStringLiteral("text/rtf"), QByteArrayLiteral("{\\rtf1 copied}"));
    QApplication::clipboard()->setMimeData(held);
    f.exo.setText(QStringLiteral("abc"));
    f.select(1, 1);
    withSampleWindow(f, [](FontSampleWindow &window) {
        clickCell(window, 0);
        clickCell(window, 1);
    });
    QCOMPARE(f.exo.text(), QStringLiteral("a()c"));
    const QMimeData *now = QApplication::clipboard()->mimeData();
    QVERIFY(now);
    QCOMPARE(now->formats(), QStringList{QStringLiteral("text/rtf")});
    QCOMPARE(now->data(QStringLiteral("text/rtf")), QByteArrayLiteral("{\\rtf1 copied}"));
}

void FontSampleWindowTest::oneUndoRemovesTheCharacter() {
    WindowFixture f;
    f.exo.setText(QStringLiteral("abc"));
    f.select(1, 1);
    withSampleWindow(f, [](FontSampleWindow &window) { clickCell(window, 5); });
    QCOMPARE(f.exo.text(), QStringLiteral("a-c"));
    QTest::keyClick(&f.exo, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f.exo.text(), QStringLiteral("abc"));
    f.select(1, 1);
    QCOMPARE(f.exo.selFontName(), QStringLiteral("Arial"));
}

void FontSampleWindowTest::protectedTextStaysAsItIs() {
    WindowFixture f;
    f.exo.setText(QStringLiteral("abc"));
    f.select(0, 3);
    f.exo.setSelProtected(true);
    f.select(1, 1);
    withSampleWindow(f, [](FontSampleWindow &window) { clickCell(window, 5); });
    QCOMPARE(f.exo.text(), QStringLiteral("abc"));
    QCOMPARE(f.exo.selFontName(), QStringLiteral("Arial"));
}

QTEST_MAIN(FontSampleWindowTest)
#include "fontsamplewindow_test.moc"
