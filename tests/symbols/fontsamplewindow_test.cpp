#include "symbols/fontsamplewindow.h"

#include "format/charactertools.h"
#include "windowfixture.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QTest>

namespace {

QLabel *cell(const QWidget &window, int index) {
    return window.findChild<QLabel *>(indexedName("Label1", index));
}

void clickCell(FontSampleWindow &window, int index) {
    QTest::mouseClick(cell(window, index), Qt::LeftButton);
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

} // namespace

class FontSampleWindowTest : public QObject {
    Q_OBJECT

private slots:
    void cellsShowCodes40To255_data();
    void cellsShowCodes40To255();
    void cellsTurnDarkBlueWhilePressed();
    void reopensInTheFontChosenLast();
    void insertsInTheSelectionsFormat();
    void typingGoesOnInTheToolbarFont();
    void insertionIsOneUndoStepWithoutTheClipboard();
};

void FontSampleWindowTest::cellsShowCodes40To255_data() {
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("geometryPx");
    // 27 to a row, neighbours sharing their border.
    QTest::newRow("first") << "Windings" << 0 << "(" << QRect(8, 16, 25, 25);
    QTest::newRow("last, 255") << "Windings" << 215 << "ÿ" << QRect(632, 184, 25, 25);
    QTest::newRow("128, Windows-1252") << "DejaVu Sans" << 88 << "€" << QRect(176, 88, 25, 25);
    QTest::newRow("97, Symbol") << "Symbol" << 57 << "α" << QRect(80, 64, 25, 25);
    QTest::newRow("128, Symbol") << "Symbol" << 88 << QString(QChar(0xF080))
                                 << QRect(176, 88, 25, 25);
}

void FontSampleWindowTest::cellsShowCodes40To255() {
    QFETCH(QString, family);
    QFETCH(int, index);
    QFETCH(QString, caption);
    QFETCH(QRect, geometryPx);
    RichTextBox exo;
    SharedState state;
    state.policesymbole = family;
    FontSampleWindow window(exo, state, {});
    QCOMPARE(window.size(), QSize(687, 267));
    QCOMPARE(cell(window, index)->text(), caption);
    QCOMPARE(cell(window, index)->font().family(), family);
    QCOMPARE(cell(window, index)->font().pointSizeF(), 14.25);
    QCOMPARE(cell(window, index)->geometry(), geometryPx);
    QCOMPARE(window.findChild<QComboBox *>(QStringLiteral("Combo1"))->currentText(), family);
    // The list names families as the user knows them.
    QCOMPARE(plainFamilyNames({"Nimbus Sans [urw]", "Arial", "Nimbus Sans [UKWN]", "[x]"}),
             QStringList({"Nimbus Sans", "Arial", "[x]"}));
}

void FontSampleWindowTest::cellsTurnDarkBlueWhilePressed() {
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
    QCOMPARE(exo.text(), QString()); // only a left click inserts
}

void FontSampleWindowTest::reopensInTheFontChosenLast() {
    WindowFixture f;
    QString chosen;
    withSampleWindow(f, [&chosen](FontSampleWindow &window) {
        auto *list = window.findChild<QComboBox *>(QStringLiteral("Combo1"));
        QCOMPARE(list->currentText(), QStringLiteral("Windings"));
        QTest::keyClick(list, Qt::Key_Down);
        chosen = list->currentText();
        QVERIFY(chosen != QStringLiteral("Windings"));
        QCOMPARE(cell(window, 215)->font().family(), chosen);
    });
    withSampleWindow(f, [&chosen](FontSampleWindow &window) {
        QCOMPARE(window.findChild<QComboBox *>(QStringLiteral("Combo1"))->currentText(), chosen);
        QCOMPARE(cell(window, 0)->font().family(), chosen);
    });
}

void FontSampleWindowTest::insertsInTheSelectionsFormat() {
    WindowFixture f;
    f.window.state().policesymbole = QStringLiteral("DejaVu Serif");
    f.exo.setText(QStringLiteral("abc def gh"));
    f.select(4, 3);
    f.exo.setSelFontSize(16);
    f.exo.setSelColor(qRgb(200, 0, 0));
    f.exo.setSelBold(true);
    f.exo.setSelItalic(true);
    f.exo.setSelUnderline(true);
    f.exo.setSelStrikeThru(true);
    f.exo.setSelCharOffset(60);
    f.exo.setSelAlignment(RichTextBox::AlignCenter);
    f.select(9, 1);
    f.exo.setSelColor(qRgb(0, 0, 200));
    withSampleWindow(f, [&f](FontSampleWindow &window) {
        f.select(4, 3);
        clickCell(window, 1);
        // Colour mixed: the window keeps the one it gave the ")".
        f.select(6, 2);
        clickCell(window, 0);
    });
    QCOMPARE(f.exo.text(), QStringLiteral("abc ) ("));
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
    f.select(6, 1);
    QCOMPARE(f.exo.selColor(), QRgb(0xC80000));
    QCOMPARE(f.exo.selBold(), false);
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
    f.select(3, 2);
    QCOMPARE(f.exo.selFontName(), QStringLiteral("Arial"));
    QCOMPARE(f.exo.selFontSize(), 18.0);
}

void FontSampleWindowTest::insertionIsOneUndoStepWithoutTheClipboard() {
    WindowFixture f;
    auto *held = new QMimeData;
    held->setData(QStringLiteral("text/rtf"), QByteArrayLiteral("{\\rtf1 copied}"));
    QApplication::clipboard()->setMimeData(held);
    f.exo.setText(QStringLiteral("abc"));
    f.select(1, 1);
    withSampleWindow(f, [](FontSampleWindow &window) { clickCell(window, 5); });
    QCOMPARE(f.exo.text(), QStringLiteral("a-c"));
    const QMimeData *now = QApplication::clipboard()->mimeData();
    QCOMPARE(now->formats(), QStringList{QStringLiteral("text/rtf")});
    QCOMPARE(now->data(QStringLiteral("text/rtf")), QByteArrayLiteral("{\\rtf1 copied}"));
    QTest::keyClick(&f.exo, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f.exo.text(), QStringLiteral("abc"));
}

QTEST_MAIN(FontSampleWindowTest)
#include "fontsamplewindow_test.moc"
