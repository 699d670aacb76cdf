#include "document/offsetroom.h"
#include "editor/richtextbox.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QImage>
#include <QInputMethodEvent>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextFrame>
#include <QTextLayout>

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

// Top and bottom rows of the ink in the columns [leftPx, rightPx) of the
// editor's grab; {-1, -1} when there is none.
std::pair<int, int> inkRows(const QImage &image, int leftPx, int rightPx) {
    int top = -1;
    int bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = qMax(leftPx, 0); x < qMin(rightPx, image.width()); ++x) {
            if (qGray(image.pixel(x, y)) < 128) {
                if (top < 0) top = y;
                bottom = y;
                break;
            }
        }
    }
    return {top, bottom};
}

} // namespace

class RaisedCharactersTest : public QObject {
    Q_OBJECT

private slots:
    void typedExponentGrowsItsLineAndOneUndoTakesItBack();
    void pastedAndLoadedTextGetsItsRoom();
    void shiftedCharactersStandTheirPointsOffTheBaseline_data();
    void shiftedCharactersStandTheirPointsOffTheBaseline();
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

void RaisedCharactersTest::shiftedCharactersStandTheirPointsOffTheBaseline_data() {
    QTest::addColumn<double>("points");
    QTest::addColumn<int>("twips");
    QTest::addColumn<double>("shiftPx");
    QTest::newRow("exponent, 10 pt raised 5 pt") << 10.0 << 100 << 6.67;
    QTest::newRow("index, 10 pt lowered 5 pt") << 10.0 << -100 << -6.67;
    QTest::newRow("exponent, 20 pt raised 10 pt") << 20.0 << 200 << 13.33;
    QTest::newRow("index, 16 pt lowered 8 pt") << 16.0 << -160 << -10.67;
}

// What the user sees: a character raised or lowered by some twips stands
// that many twentieths of a point, 4/3 px each on a 96 dpi screen, off the
// baseline its neighbour sits on.
void RaisedCharactersTest::shiftedCharactersStandTheirPointsOffTheBaseline() {
    QFETCH(double, points);
    QFETCH(int, twips);
    QFETCH(double, shiftPx);
    RichTextBox box;
    box.applyDefaultTextFormat();
    box.setCursorWidth(0);
    box.resize(300, 200);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QCOMPARE(box.logicalDpiY(), 96);
    box.setText(QStringLiteral("xx"));
    box.setSelStart(0);
    box.setSelLength(2);
    box.setSelFontSize(points);
    box.setSelStart(1);
    box.setSelLength(1);
    box.setSelCharOffset(twips);
    QCOMPARE(*box.selCharOffset(), twips);
    box.setSelStart(2);
    QApplication::processEvents();

    const auto leftPx = [&box](int position) {
        QTextCursor at(box.document());
        at.setPosition(position);
        return box.cursorRect(at).left();
    };
    const QImage shown = box.viewport()->grab().toImage();
    QCOMPARE(shown.devicePixelRatio(), 1.0);
    const auto [plainTop, plainBottom] = inkRows(shown, leftPx(0) + 1, leftPx(1));
    const auto [shiftedTop, shiftedBottom] = inkRows(shown, leftPx(1) + 1, leftPx(2));
    QVERIFY(plainBottom > 0);
    QVERIFY(shiftedBottom > 0);

    // The line's baseline on screen: an x sits on it, its ink ends on the
    // row above.
    const QTextBlock block = box.document()->begin();
    const QTextLine line = block.layout()->lineAt(0);
    const double baselinePx = box.document()->documentLayout()->blockBoundingRect(block).top() +
                              line.y() + line.ascent() - box.verticalScrollBar()->value();
    const QString where = QStringLiteral("baseline %1, plain x ink %2 to %3, shifted %4 to %5")
                              .arg(baselinePx)
                              .arg(plainTop)
                              .arg(plainBottom)
                              .arg(shiftedTop)
                              .arg(shiftedBottom);
    QVERIFY2(qAbs(plainBottom + 1 - baselinePx) <= 1, qPrintable(where));

    // The shifted x ends its points above or below, whole: at its own size.
    QVERIFY2(qAbs(shiftedBottom + 1 - (baselinePx - shiftPx)) <= 1, qPrintable(where));
    QVERIFY2(qAbs((shiftedBottom - shiftedTop) - (plainBottom - plainTop)) <= 1, qPrintable(where));
}

QTEST_MAIN(RaisedCharactersTest)
#include "raisedcharacters_test.moc"
