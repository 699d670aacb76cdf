#include "app/mainwindow.h"
#include "app/selectionrefresh.h"
#include "editor/editcommands.h"
#include "editor/richtextbox.h"
#include "windowfixture.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QToolButton>

// The main window with a text of many attributes: "plain bold red big H2O".
class Fixture : public WindowFixture {
public:
    Fixture() {
        exo.setText(QStringLiteral("plain bold red big H2O tiny"));
        format(6, 4, [this] { exo.setSelBold(true); });
        format(11, 3, [this] { exo.setSelColor(qRgb(200, 0, 0)); });
        format(15, 3, [this] { exo.setSelFontSize(80); });
        format(20, 1, [this] {
            exo.setSelFontSize(8);
            exo.setSelCharOffset(-50);
        });
        format(23, 4, [this] {
            exo.setSelFontSize(6);
            exo.setSelFontName(QStringLiteral("Courier"));
        });
        window.state().sauvegarde = 1;
    }
    template <typename Change> void format(int start, int length, Change change) {
        exo.setSelStart(start);
        exo.setSelLength(length);
        change();
    }
};

class SelectionRefreshTest : public QObject {
    Q_OBJECT

private slots:
    void toolsShowTheSelection_data();
    void toolsShowTheSelection();
    void refreshingNeverChangesTheText();
    void clearedBoxesRemoveNothing();
    void symbolCaretReturnsToTheListFont();
    void insertionRestoresTheCaretAttributes();
    void everyChangeMarksTheTextModified();
    void tabInsertsATab();
};

void SelectionRefreshTest::toolsShowTheSelection_data() {
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("length");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<QString>("font");
    QTest::addColumn<QString>("size");
    QTest::addColumn<int>("colour"); // -1: no option selected
    QTest::addColumn<int>("mode");   // Option2 index selected
    QTest::newRow("plain") << 0 << 5 << false << "Arial"
                           << "10" << 1 << 0;
    QTest::newRow("mixed bold") << 3 << 5 << false << "Arial"
                                << "10" << 1 << 0;
    QTest::newRow("bold") << 6 << 4 << true << "Arial"
                          << "10" << 1 << 0;
    QTest::newRow("red") << 11 << 3 << false << "Arial"
                         << "10" << 2 << 0;
    QTest::newRow("big beyond the arrows") << 15 << 3 << false << "Arial"
                                           << "80" << 1 << 0;
    QTest::newRow("index") << 20 << 1 << false << "Arial"
                           << "8" << 1 << 1;
    QTest::newRow("small beyond the arrows") << 23 << 4 << false << "Courier"
                                             << "6" << 1 << 0;
    QTest::newRow("mixed fonts and sizes") << 18 << 9 << false << " "
                                           << "" << 1 << 0;
}

void SelectionRefreshTest::toolsShowTheSelection() {
    QFETCH(int, start);
    QFETCH(int, length);
    QFETCH(bool, bold);
    QFETCH(QString, font);
    QFETCH(QString, size);
    QFETCH(int, colour);
    QFETCH(int, mode);
    Fixture f;
    // A mixed selection keeps the mode shown for the caret where it began.
    f.select(20, 1);
    f.select(start, length);
    QCOMPARE(f.control<QToolButton>("Check1", 1)->isChecked(), bold);
    QCOMPARE(f.control<QAction>(QStringLiteral("q21"))->isChecked(), bold);
    QCOMPARE(f.control<QComboBox>(QStringLiteral("Combo1"))->currentText(), font);
    QCOMPARE(f.control<QLineEdit>(QStringLiteral("taille"))->text(), size);
    for (int i = 0; i < 4; ++i)
        QCOMPARE(f.control<QRadioButton>("optcoul", i)->isChecked(), i == colour);
    QVERIFY(f.control<QRadioButton>("Option2", mode)->isChecked());
    QCOMPARE(f.control<QCheckBox>("Check3", 1)->isChecked(), mode == 1 && length == 1);
    QCOMPARE(f.window.state().majencours, 0);
}

void SelectionRefreshTest::refreshingNeverChangesTheText() {
    Fixture f;
    QSignalSpy edits(&f.exo, &RichTextBox::contentEdited);
    const QByteArray before = f.exo.textRTF();
    const int undoSteps = f.exo.document()->availableUndoSteps();
    for (const auto &[start, length] : std::initializer_list<std::pair<int, int>>{
             {0, 5}, {15, 3}, {23, 4}, {18, 9}, {0, 27}, {16, 0}, {24, 0}})
        f.select(start, length);
    QCOMPARE(f.exo.textRTF(), before);
    QCOMPARE(f.exo.document()->availableUndoSteps(), undoSteps);
    QCOMPARE(edits.count(), 0);
    QCOMPARE(f.window.state().sauvegarde, 1);
}

void SelectionRefreshTest::clearedBoxesRemoveNothing() {
    Fixture f;
    // Mixed bold shows the box cleared; refreshing does not unbold.
    f.select(3, 5);
    QVERIFY(!f.control<QToolButton>("Check1", 1)->isChecked());
    f.exo.setSelStart(7);
    QCOMPARE(*f.exo.selBold(), true);
    // Clicking italic on that mixed selection writes all three attributes.
    f.select(3, 5);
    f.control<QToolButton>("Check1", 2)->click();
    f.exo.setSelStart(3);
    f.exo.setSelLength(5);
    QCOMPARE(*f.exo.selBold(), false);
    QCOMPARE(*f.exo.selItalic(), true);
    QVERIFY(f.control<QAction>(QStringLiteral("q22"))->isChecked());
    // The menu item does what the box does.
    f.control<QAction>(QStringLiteral("q22"))->trigger();
    QCOMPARE(*f.exo.selItalic(), false);
    QVERIFY(!f.control<QToolButton>("Check1", 2)->isChecked());
}

void SelectionRefreshTest::symbolCaretReturnsToTheListFont() {
    Fixture f;
    f.exo.setText(QStringLiteral("a\u03B1"));
    f.format(0, 2, [&f] { f.exo.setSelFontName(QStringLiteral("Arial")); });
    f.format(1, 1, [&f] { f.exo.setSelFontName(QStringLiteral("Symbol")); });
    f.select(0, 1);
    QCOMPARE(f.control<QComboBox>(QStringLiteral("Combo1"))->currentText(),
             QStringLiteral("Arial"));
    // Selecting Symbol text leaves the list as it was.
    f.select(1, 1);
    QCOMPARE(f.control<QComboBox>(QStringLiteral("Combo1"))->currentText(),
             QStringLiteral("Arial"));
    // A caret after the symbol types in the list's font again.
    f.select(2, 0);
    QCOMPARE(*f.exo.selFontName(), QStringLiteral("Arial"));
}

void SelectionRefreshTest::insertionRestoresTheCaretAttributes() {
    Fixture f;
    f.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    f.exo.setText(QStringLiteral("avant "));
    f.exo.setSelStart(6);
    f.exo.setSelColor(qRgb(0, 0, 200));
    f.exo.setSelItalic(true);
    f.exo.setSelFontSize(10);
    auto *data = new QMimeData;
    data->setData(QStringLiteral("text/rtf"),
                  "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\colortbl ;\\red200\\green0\\blue0;}"
                  "\\f0\\fs48\\cf1\\b GROS}");
    QApplication::clipboard()->setMimeData(data);
    f.window.editCommands().supercolle_Click();
    QCOMPARE(f.window.state().insertionencours, 0);
    QCOMPARE(f.exo.text(), QStringLiteral("avant GROS"));
    QTest::keyClicks(&f.exo, QStringLiteral("x"));
    f.exo.setSelStart(10);
    f.exo.setSelLength(1);
    QCOMPARE(*f.exo.selColor(), QRgb(0x0000C8));
    QCOMPARE(*f.exo.selItalic(), true);
    QCOMPARE(*f.exo.selBold(), false);
    QCOMPARE(*f.exo.selFontSize(), 10.0);
}

void SelectionRefreshTest::everyChangeMarksTheTextModified() {
    Fixture f;
    f.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    const auto modifiedBy = [&f](auto change) {
        f.window.state().sauvegarde = 1;
        change();
        return f.window.state().sauvegarde == 0;
    };
    QVERIFY(modifiedBy([&] {
        f.exo.setSelStart(0);
        QTest::keyClick(&f.exo, Qt::Key_Delete);
    }));
    QVERIFY(modifiedBy([&] { f.window.editCommands().annuleur_Click(); }));
    QVERIFY(modifiedBy([&] {
        f.select(0, 5);
        f.control<QToolButton>("Check1", 1)->click();
    }));
    QVERIFY(modifiedBy([&] { f.window.editCommands().coupe_Click(); }));
    // Loading a text is no change of the user's.
    QVERIFY(!modifiedBy([&] { f.exo.setTextRTF("{\\rtf1 autre\\par}"); }));
    QVERIFY(!modifiedBy([&] { f.select(0, 3); }));
}

void SelectionRefreshTest::tabInsertsATab() {
    Fixture f;
    f.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    f.exo.setFocus();
    f.exo.setText(QStringLiteral("ab"));
    f.exo.setSelStart(1);
    QTest::keyClick(&f.exo, Qt::Key_Tab);
    QCOMPARE(f.exo.text(), QStringLiteral("a\tb"));
    QVERIFY(f.exo.hasFocus());
}

QTEST_MAIN(SelectionRefreshTest)
#include "selectionrefresh_test.moc"
