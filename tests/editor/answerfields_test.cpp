#include "editor/answerfields.h"

#include "document/textproperties.h"
#include "windowfixture.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>

namespace {

const QString top = QStringLiteral("------------------------- réponse --------------------------");
const QString bottom =
    QStringLiteral("------------------------------------------------------------------");
const QString blank = QStringLiteral("     ");
const QString block = top + "\n" + blank + "\n" + blank + "\n" + blank + "\n" + bottom + "\n";
const int line2 = int(top.size()) + 1;               // first blank line
const int line5 = line2 + 3 * int(blank.size() + 1); // bottom frame line
const int after = line5 + int(bottom.size()) + 1;    // right after the block

// The format of the character at a position.
QTextCharFormat charAt(const RichTextBox &exo, int position) {
    QTextCursor cursor(exo.document());
    cursor.setPosition(position + 1);
    return cursor.charFormat();
}

// A paragraph break reads its own format here, not the next line's.
bool protectedAt(const RichTextBox &exo, int position) {
    return exo.touchesProtected(position, position + 1);
}

QRgb colourAt(const RichTextBox &exo, int position) {
    return charAt(exo, position).foreground().color().rgb() & 0xFFFFFF;
}

Qt::Alignment alignmentAt(const RichTextBox &exo, int position) {
    return exo.document()->findBlock(position).blockFormat().alignment() & Qt::AlignHorizontal_Mask;
}

// Every way a key may change the text, tried at a place; the text stays.
void triesEveryEdit(WindowFixture &fixture, int at, int length) {
    RichTextBox &exo = fixture.exo;
    const QString before = exo.text();
    QApplication::clipboard()->setText(QStringLiteral("collé"));
    const auto place = [&] { fixture.select(at, length); };
    place();
    QTest::keyClicks(&exo, QStringLiteral("z"));
    place();
    QTest::keyClick(&exo, Qt::Key_Delete);
    place();
    QTest::keyClick(&exo, Qt::Key_Backspace);
    place();
    QTest::keyClick(&exo, Qt::Key_Return);
    place();
    QTest::keyClick(&exo, Qt::Key_X, Qt::ControlModifier);
    place();
    QTest::keyClick(&exo, Qt::Key_V, Qt::ControlModifier);
    place();
    fixture.action("coupe")->trigger();
    place();
    fixture.action("colle")->trigger();
    place();
    fixture.action("supprime")->trigger();
    QCOMPARE(exo.text(), before);
}

void openFormatMenu(WindowFixture &fixture) {
    emit fixture.control<QMenu>(QStringLiteral("for0"))->aboutToShow();
}

} // namespace

class AnswerFieldsTest : public QObject {
    Q_OBJECT

private slots:
    void blockAtTheStart();
    void blankLinesTakeTheAnswerFormat();
    void frameLinesRefuseEveryEdit();
    void typingAfterTheBlockIsFree();
    void protectionFollowsTheSelection();
    void unprotectingFreesAFrameLine();
    void blockSurvivesSaveAndReopen();
    void oneUndoRemovesTheBlock();
};

void AnswerFieldsTest::blockAtTheStart() {
    WindowFixture fixture;
    fixture.action("champreponse")->trigger();
    RichTextBox &exo = fixture.exo;
    QCOMPARE(exo.text(), block);
    QCOMPARE(fixture.action("champreponse")->text(), QStringLiteral("Champ de réponse"));

    // Line 1 protected from position 0 to its break included, line 5 too.
    QVERIFY(exo.touchesProtected(0, 1));
    for (int position : {0, line2 - 1, line5, after - 1})
        QVERIFY(protectedAt(exo, position));
    for (int position = line2; position < line5; ++position)
        QVERIFY(!protectedAt(exo, position));
    for (int position : {0, line5}) {
        QCOMPARE(colourAt(exo, position), qRgb(128, 128, 255) & 0xFFFFFF);
        QCOMPARE(charAt(exo, position).fontPointSize(), 8.0);
        QCOMPARE(textprops::fontName(charAt(exo, position)), QStringLiteral("Arial"));
        QCOMPARE(charAt(exo, position).fontWeight(), int(QFont::Normal));
        QVERIFY(!charAt(exo, position).fontItalic());
    }
    QCOMPARE(colourAt(exo, line2), qRgb(0, 0, 200) & 0xFFFFFF);
    QCOMPARE(charAt(exo, line2).fontPointSize(), 12.0);
    for (int position : {0, line2, line2 + 6, line5})
        QCOMPARE(alignmentAt(exo, position), Qt::AlignHCenter);
    QVERIFY(!fixture.dialogs.unanswered);
}

void AnswerFieldsTest::blankLinesTakeTheAnswerFormat() {
    WindowFixture fixture;
    RichTextBox &exo = fixture.exo;
    fixture.action("champreponse")->trigger();
    fixture.window.state().sauvegarde = 1;
    for (int at : {line2, line2 + 2, line2 + 6 + 5}) {
        fixture.select(at, 0);
        QTest::keyClicks(&exo, QStringLiteral("x"));
        QCOMPARE(exo.text().at(at), QLatin1Char('x'));
        QCOMPARE(colourAt(exo, at), qRgb(0, 0, 200) & 0xFFFFFF);
        QCOMPARE(charAt(exo, at).fontPointSize(), 12.0);
        QCOMPARE(textprops::fontName(charAt(exo, at)), QStringLiteral("Arial"));
        QCOMPARE(alignmentAt(exo, at), Qt::AlignHCenter);
        QVERIFY(!textprops::isProtected(charAt(exo, at)));
        // And it goes again.
        QTest::keyClick(&exo, Qt::Key_Backspace);
        QCOMPARE(exo.text(), block);
    }
    QCOMPARE(fixture.window.state().sauvegarde, int16_t(0));
}

void AnswerFieldsTest::frameLinesRefuseEveryEdit() {
    WindowFixture fixture;
    RichTextBox &exo = fixture.exo;
    exo.setText(QStringLiteral("avant  après"));
    fixture.select(6, 0);
    fixture.action("champreponse")->trigger();
    const int start = 6;
    QCOMPARE(exo.text(), QStringLiteral("avant ") + block + QStringLiteral(" après"));
    triesEveryEdit(fixture, start + 5, 0);         // inside line 1
    triesEveryEdit(fixture, start + 3, 10);        // a piece of line 1
    triesEveryEdit(fixture, start + line5 + 4, 0); // inside line 5
    triesEveryEdit(fixture, start + line5 - 2, 6); // across the last blank line into line 5
    // Joining a blank line to line 1 would take line 1's break.
    fixture.select(start + line2, 0);
    QTest::keyClick(&exo, Qt::Key_Backspace);
    fixture.select(start + line2 - 1, 0);
    QTest::keyClick(&exo, Qt::Key_Delete);
    QCOMPARE(exo.text(), QStringLiteral("avant ") + block + QStringLiteral(" après"));
}

void AnswerFieldsTest::typingAfterTheBlockIsFree() {
    WindowFixture fixture;
    RichTextBox &exo = fixture.exo;
    fixture.action("champreponse")->trigger();
    QCOMPARE(exo.selStart(), after);
    QTest::keyClicks(&exo, QStringLiteral("suite"));
    QCOMPARE(exo.text(), block + QStringLiteral("suite"));
    for (int position = after; position < after + 5; ++position) {
        QCOMPARE(colourAt(exo, position), QRgb(0));
        QCOMPARE(charAt(exo, position).fontPointSize(), 10.0);
        QCOMPARE(textprops::fontName(charAt(exo, position)), QStringLiteral("Arial"));
        QVERIFY(!textprops::isProtected(charAt(exo, position)));
    }
    fixture.select(after + 1, 2);
    QTest::keyClick(&exo, Qt::Key_Delete);
    QCOMPARE(exo.text(), block + QStringLiteral("ste"));
    // Coming back later to the empty line after a block types free text too.
    fixture.select(after, 3);
    QTest::keyClick(&exo, Qt::Key_Delete);
    QCOMPARE(exo.text(), block);
    fixture.select(0, 0);
    fixture.select(after, 0);
    QTest::keyClicks(&exo, QStringLiteral("ok"));
    QVERIFY(!textprops::isProtected(charAt(exo, after)));
    QTest::keyClick(&exo, Qt::Key_Backspace);
    QTest::keyClick(&exo, Qt::Key_Backspace);
    QCOMPARE(exo.text(), block);
}

void AnswerFieldsTest::protectionFollowsTheSelection() {
    WindowFixture fixture;
    fixture.action("champreponse")->trigger();
    QAction *protection = fixture.action("protection");
    QCOMPARE(protection->text(), QStringLiteral("Pro&tégé en écriture"));
    fixture.select(0, line2);
    openFormatMenu(fixture);
    QVERIFY(protection->isChecked());
    // Partly protected counts as free.
    fixture.select(2, line2);
    openFormatMenu(fixture);
    QVERIFY(!protection->isChecked());
    fixture.select(line2 + 1, 3);
    openFormatMenu(fixture);
    QVERIFY(!protection->isChecked());
    // Between the separators sep524 and ecorsep.
    const QList<QAction *> entries = fixture.control<QMenu>(QStringLiteral("for0"))->actions();
    const int at = int(entries.indexOf(protection));
    QCOMPARE(entries.value(at - 1)->objectName(), QStringLiteral("sep524"));
    QCOMPARE(entries.value(at + 1)->objectName(), QStringLiteral("ecorsep"));
}

void AnswerFieldsTest::unprotectingFreesAFrameLine() {
    WindowFixture fixture;
    RichTextBox &exo = fixture.exo;
    fixture.action("champreponse")->trigger();
    fixture.select(0, line2);
    openFormatMenu(fixture);
    fixture.action("protection")->trigger();
    QVERIFY(!fixture.action("protection")->isChecked());
    fixture.select(3, 0);
    QTest::keyClicks(&exo, QStringLiteral("z"));
    QCOMPARE(exo.text().at(3), QLatin1Char('z'));
    fixture.select(0, 4);
    QTest::keyClick(&exo, Qt::Key_Delete);
    QCOMPARE(exo.text(), block.mid(3));
    // Line 5 is still protected; protecting a free word makes it refuse edits.
    triesEveryEdit(fixture, line5 - 3 + 2, 0);
    exo.setTextRTF("libre mot");
    fixture.select(6, 3);
    openFormatMenu(fixture);
    fixture.action("protection")->trigger();
    QVERIFY(fixture.action("protection")->isChecked());
    triesEveryEdit(fixture, 7, 0);
}

void AnswerFieldsTest::blockSurvivesSaveAndReopen() {
    WindowFixture fixture;
    RichTextBox &exo = fixture.exo;
    exo.setText(QStringLiteral("Question"));
    fixture.select(8, 0);
    QTest::keyClick(&exo, Qt::Key_Return);
    fixture.action("champreponse")->trigger();
    const QString path = fixture.root + QStringLiteral("champ.rtf");
    QVERIFY(exo.saveFile(path));

    RichTextBox reopened;
    QCOMPARE(reopened.loadFile(path), RichTextBox::LoadOutcome::Loaded);
    QCOMPARE(reopened.text(), QStringLiteral("Question\n") + block);
    const int start = 9;
    for (int position : {0, line2 - 1, line5, after - 1})
        QVERIFY(protectedAt(reopened, start + position));
    for (int position = line2; position < line5; ++position)
        QVERIFY(!protectedAt(reopened, start + position));
    QVERIFY(!protectedAt(reopened, 0));
    QVERIFY(!protectedAt(reopened, start - 1));
    QCOMPARE(colourAt(reopened, start), qRgb(128, 128, 255) & 0xFFFFFF);
    QCOMPARE(colourAt(reopened, start + line2), qRgb(0, 0, 200) & 0xFFFFFF);
    QCOMPARE(charAt(reopened, start + line2).fontPointSize(), 12.0);
    QCOMPARE(alignmentAt(reopened, start + line5), Qt::AlignHCenter);
    QVERIFY(reopened.touchesProtected(start + 4, start + 4));
    QVERIFY(!reopened.touchesProtected(start + line2 + 1, start + line2 + 1));
}

void AnswerFieldsTest::oneUndoRemovesTheBlock() {
    WindowFixture fixture;
    RichTextBox &exo = fixture.exo;
    exo.setText(QStringLiteral("avant après"));
    exo.document()->clearUndoRedoStacks();
    fixture.select(6, 0);
    fixture.action("champreponse")->trigger();
    QCOMPARE(exo.text().size(), 11 + block.size());
    QTest::keyClick(&exo, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(exo.text(), QStringLiteral("avant après"));
    QVERIFY(!exo.document()->isUndoAvailable());
}

QTEST_MAIN(AnswerFieldsTest)
#include "answerfields_test.moc"
