#include "document/runwalker.h"

#include <QTest>
#include <QTextCursor>

using runwalker::Marks;
Q_DECLARE_METATYPE(runwalker::Marks)

namespace {

QTextCharFormat coloured(Qt::GlobalColor color) {
    QTextCharFormat format;
    format.setForeground(QColor(color));
    return format;
}

// "ab" in red, the mark after it in green, "cd" in blue: the mark's green is
// recorded only by the second block.
struct TwoParagraphs {
    QTextDocument document;
    TwoParagraphs() {
        QTextCursor cursor(&document);
        cursor.insertText(QStringLiteral("ab"), coloured(Qt::red));
        cursor.insertBlock(QTextBlockFormat(), coloured(Qt::green));
        cursor.insertText(QStringLiteral("cd"), coloured(Qt::blue));
    }
};

// One line per run: its bounds, "mark" for a paragraph mark, and its colour.
QStringList runsOf(const QTextDocument &document, int from, int to, Marks marks) {
    QStringList runs;
    runwalker::forEachRun(document, from, to, marks, [&](const runwalker::Run &run) {
        runs << QStringLiteral("%1-%2%3 %4")
                    .arg(run.from)
                    .arg(run.to)
                    .arg(run.isMark() ? QStringLiteral(" mark") : QString())
                    .arg(run.format().foreground().color().name());
    });
    return runs;
}

} // namespace

class RunWalkerTest : public QObject {
    Q_OBJECT

private slots:
    void aMarkTakesTheNextBlocksFormat_data();
    void aMarkTakesTheNextBlocksFormat();
    void aVisitStopsTheWalk();
};

void RunWalkerTest::aMarkTakesTheNextBlocksFormat_data() {
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<Marks>("marks");
    QTest::addColumn<QStringList>("runs");
    const QString red = QStringLiteral(" #ff0000"), green = QStringLiteral(" #00ff00"),
                  blue = QStringLiteral(" #0000ff");
    QTest::newRow("whole text, last mark left out")
        << 0 << 6 << Marks::Included << QStringList{"0-2" + red, "2-3 mark" + green, "3-5" + blue};
    QTest::newRow("marks skipped")
        << 0 << 6 << Marks::Skipped << QStringList{"0-2" + red, "3-5" + blue};
    QTest::newRow("clipped across the mark")
        << 1 << 4 << Marks::Included << QStringList{"1-2" + red, "2-3 mark" + green, "3-4" + blue};
    QTest::newRow("the mark alone") << 2 << 3 << Marks::Included << QStringList{"2-3 mark" + green};
    QTest::newRow("inside one fragment") << 3 << 4 << Marks::Included << QStringList{"3-4" + blue};
}

void RunWalkerTest::aMarkTakesTheNextBlocksFormat() {
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(Marks, marks);
    QFETCH(QStringList, runs);
    const TwoParagraphs text;
    QCOMPARE(runsOf(text.document, from, to, marks), runs);
}

void RunWalkerTest::aVisitStopsTheWalk() {
    const TwoParagraphs text;
    QStringList visited;
    const bool finished =
        runwalker::forEachRun(text.document, 0, 6, Marks::Included, [&](const runwalker::Run &run) {
            visited << text.document.toPlainText().mid(run.from, run.to - run.from);
            return !run.isMark();
        });
    QVERIFY(!finished);
    QCOMPARE(visited, (QStringList{QStringLiteral("ab"), QStringLiteral("\n")}));
}

QTEST_MAIN(RunWalkerTest)
#include "runwalker_test.moc"
