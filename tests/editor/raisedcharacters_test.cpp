#include "document/offsetroom.h"
#include "editor/richtextbox.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QInputMethodEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextFrame>

#include <memory>

namespace {

offsetroom::Room roomOf(const RichTextBox &box, int blockNumber = 0) {
    return offsetroom::kept(box.document()->findBlockByNumber(blockNumber).blockFormat());
}

// Where the paragraph after the first one starts: it moves down as the first
// one makes room.
double firstParagraphTop(const RichTextBox &box) {
    const QTextDocument *document = box.document();
    return document->documentLayout()->blockBoundingRect(document->begin()).top();
}

double secondParagraphTop(const RichTextBox &box) {
    const QTextDocument *document = box.document();
    return document->documentLayout()->blockBoundingRect(document->findBlockByNumber(1)).top();
}

} // namespace

class RaisedCharactersTest : public QObject {
    Q_OBJECT

private slots:
    void typedExponentGrowsItsLineAndOneUndoTakesItBack();
    void pastedAndLoadedTextGetsItsRoom();
};

void RaisedCharactersTest::typedExponentGrowsItsLineAndOneUndoTakesItBack() {
    RichTextBox box;
    box.applyDefaultTextFormat();
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QTest::keyClicks(&box, QStringLiteral("x"));
    QTest::keyClick(&box, Qt::Key_Return);
    QTest::keyClicks(&box, QStringLiteral("next"));
    const double plainTop = secondParagraphTop(box);
    const double pageTop = firstParagraphTop(box);
    box.setSelStart(1);

    box.setSelCharOffset(200);
    QTest::keyClicks(&box, QStringLiteral("2"));
    QCOMPARE(box.text(), QStringLiteral("x2\nnext"));
    QVERIFY(roomOf(box).above > 0);
    QCOMPARE(roomOf(box).below, 0);
    const double raisedTop = secondParagraphTop(box);
    QVERIFY(raisedTop > plainTop);
    QCOMPARE(firstParagraphTop(box), pageTop + roomOf(box).above);
    QCOMPARE(roomOf(box, 1), offsetroom::Room{});

    QTest::keyClick(&box, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(box.text(), QStringLiteral("x\nnext"));
    QCOMPARE(roomOf(box), offsetroom::Room{});
    QCOMPARE(secondParagraphTop(box), plainTop);
    QCOMPARE(firstParagraphTop(box), pageTop);
    QVERIFY(box.document()->isRedoAvailable());
    QTest::keyClick(&box, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(box.text(), QStringLiteral("x2\nnext"));
    QCOMPARE(secondParagraphTop(box), raisedTop);

    // Lowered now: the room moves below the line, in one step.
    box.setSelStart(1);
    box.setSelLength(1);
    box.setSelCharOffset(-200);
    QCOMPARE(roomOf(box).above, 0);
    QVERIFY(roomOf(box).below > 0);
    QTest::keyClick(&box, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(roomOf(box).above > 0);

    box.setSelStart(2);
    QTest::keyClick(&box, Qt::Key_Backspace);
    QCOMPARE(box.text(), QStringLiteral("x\nnext"));
    QCOMPARE(roomOf(box), offsetroom::Room{});
    QCOMPARE(secondParagraphTop(box), plainTop);

    // A character an input method commits is one step as well.
    box.setSelCharOffset(200);
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("3"));
    QApplication::sendEvent(&box, &commit);
    QCOMPARE(box.text(), QStringLiteral("x3\nnext"));
    QVERIFY(roomOf(box).above > 0);
    QTest::keyClick(&box, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(box.text(), QStringLiteral("x\nnext"));
    QCOMPARE(roomOf(box), offsetroom::Room{});
}

void RaisedCharactersTest::pastedAndLoadedTextGetsItsRoom() {
    const QByteArray formula = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Cu{\\up20 2+} "
                               "SO{\\dn20 4}{\\up20 2-}\\par x{\\up20 2}\\par}";
    RichTextBox box;
    box.applyDefaultTextFormat();
    box.setText(QStringLiteral("before"));
    box.setSelStart(6);
    QVERIFY(box.setSelRTF(formula));
    QVERIFY(roomOf(box).above > 0);
    QVERIFY(roomOf(box).below > 0);
    QVERIFY(roomOf(box, 1).above > 0);
    QCOMPARE(roomOf(box, 1).below, 0);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("formules.rtf"));
    QVERIFY(box.saveFile(path));
    RichTextBox reader;
    QCOMPARE(reader.loadFile(path), RichTextBox::LoadOutcome::Loaded);
    QCOMPARE(reader.textRTF(), box.textRTF());
    QCOMPARE(roomOf(reader), roomOf(box));
    QCOMPARE(roomOf(reader, 1), roomOf(box, 1));
    QVERIFY(!reader.document()->isModified());
    QVERIFY(!reader.document()->isUndoAvailable());

    // Printing lays out a copy: the room goes with it, the page's included.
    const std::unique_ptr<QTextDocument> printed(reader.document()->clone());
    QCOMPARE(offsetroom::kept(printed->begin().blockFormat()), roomOf(reader));
    QCOMPARE(printed->rootFrame()->frameFormat().topMargin(),
             reader.document()->rootFrame()->frameFormat().topMargin());
    QVERIFY(printed->rootFrame()->frameFormat().topMargin() > reader.document()->documentMargin());
}

QTEST_MAIN(RaisedCharactersTest)
#include "raisedcharacters_test.moc"
