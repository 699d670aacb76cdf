#include "printcheck.h"

using namespace printcheck;

// The page's margins: 2 cm by default, set up in the printer set-up, kept for
// the run and for the PDF offered when no printer exists.
class PageMarginsTest : public QObject {
    Q_OBJECT

private slots:
    void pagesHaveTwoCentimetreMarginsAroundTheIndents();
    void marginsSetUpAreKeptForTheRunAndThePdf();
    void raisedFirstLineStaysBelowTheTopMargin();
};

void PageMarginsTest::pagesHaveTwoCentimetreMarginsAroundTheIndents() {
    if (popplerMissing())
        QSKIP("poppler-utils (pdftotext, pdfinfo, pdftoppm) read the printed pages");
    PrintBench bench;
    RichTextBox &box = bench.box;
    QStringList words;
    for (int word = 1; word <= 1500; ++word)
        words << QStringLiteral("mot%1").arg(word);
    setUnindentedText(box, QStringLiteral("Premier\nRetrait\n") + words.join(QLatin1Char(' ')));
    select(box, QStringLiteral("Retrait"));
    box.setSelIndent(19);
    box.setSelStart(0);

    QCOMPARE(bench.printing.imprimons(box, QString()), Printing::Outcome::Printed);
    QCOMPARE(pdfPageSize(bench.pdf), QStringLiteral("595 x 842"));
    const QPointF first = startMm(bench.pdf, QStringLiteral("Premier"));
    QVERIFY2(within1Mm(first, 20, 20), qPrintable(mm(first)));
    // The paragraph's own indent, 19 px or 5.03 mm, comes inside the margin.
    const QPointF indented = startMm(bench.pdf, QStringLiteral("Retrait"));
    QVERIFY2(qAbs(indented.x() - 25.03) <= 0.5, qPrintable(mm(indented)));

    // The long paragraph fills the first page up to the right and bottom
    // margins, and goes on to the next below its top margin. The pages are
    // looked at as printed: the lines next to a page's edge are also drawn,
    // clipped away, on the neighbouring page, where only its text finds them.
    QCOMPARE(pdfPages(bench.pdf), 2);
    const QRect firstPt = inkBox(pageImage(bench.pdf, bench.dir.filePath(QStringLiteral("p1"))));
    const QRect secondPt =
        inkBox(pageImage(bench.pdf, bench.dir.filePath(QStringLiteral("p2")), 2));
    const double rightMm = (a4WidthPt - firstPt.right() - 1) / ptPerMm;
    const double bottomMm = (a4HeightPt - firstPt.bottom() - 1) / ptPerMm;
    const double secondTopMm = secondPt.top() / ptPerMm;
    QVERIFY2(rightMm >= 19.5 && rightMm < 35, qPrintable(QString::number(rightMm)));
    QVERIFY2(bottomMm >= 19.5 && bottomMm < 26, qPrintable(QString::number(bottomMm)));
    QVERIFY2(secondTopMm >= 19.5 && secondTopMm < 23, qPrintable(QString::number(secondTopMm)));

    // Without a printer, the PDF offered in its place has the same margins.
    bench.system.installed = false;
    bench.dialogs.answers = {Answer::Yes};
    const QString offered = bench.dir.filePath(QStringLiteral("offert.pdf"));
    bench.dialogs.fileNames = {offered};
    QCOMPARE(bench.printing.imprimons(box, QString()), Printing::Outcome::SavedAsPdf);
    const QPointF offeredFirst = startMm(offered, QStringLiteral("Premier"));
    QVERIFY2(within1Mm(offeredFirst, 20, 20), qPrintable(mm(offeredFirst)));
}

void PageMarginsTest::marginsSetUpAreKeptForTheRunAndThePdf() {
    if (popplerMissing())
        QSKIP("poppler-utils (pdftotext, pdfinfo, pdftoppm) read the printed pages");
    PrintBench bench;
    QMarginsF shownMm;
    QPageLayout::Unit shownUnit = QPageLayout::Point;
    bench.dialogs.printerAnswers = {
        [&](QPrinter &printer) {
            shownMm = printer.pageLayout().margins();
            shownUnit = printer.pageLayout().units();
            // A printer rather than a file.
            printer.setOutputFileName(QString());
            return printer.setPageMargins(QMarginsF(30, 25, 15, 15), QPageLayout::Millimeter);
        },
        [](QPrinter &printer) {
            printer.setPageMargins(QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter);
            return false;
        }};
    // The dialog opens on 2 cm, in millimetres.
    bench.printing.configimp(QString());
    QCOMPARE(shownUnit, QPageLayout::Millimeter);
    QCOMPARE(shownMm, QMarginsF(20, 20, 20, 20));

    // Every print after it has the margins chosen, a set-up cancelled
    // between two prints included.
    setUnindentedText(bench.box, QStringLiteral("Première impression"));
    QCOMPARE(bench.printing.imprimons(bench.box, QString()), Printing::Outcome::Printed);
    const QPointF first = startMm(bench.pdf, QStringLiteral("Première"));
    QVERIFY2(within1Mm(first, 30, 25), qPrintable(mm(first)));
    bench.printing.configimp(QString());
    setUnindentedText(bench.box, QStringLiteral("Seconde impression"));
    QCOMPARE(bench.printing.imprimons(bench.box, QString()), Printing::Outcome::Printed);
    const QPointF second = startMm(bench.pdf, QStringLiteral("Seconde"));
    QVERIFY2(within1Mm(second, 30, 25), qPrintable(mm(second)));
    QCOMPARE(bench.system.jobs, 2);

    // So has the PDF offered when the printer is gone.
    bench.system.installed = false;
    bench.dialogs.answers = {Answer::Yes};
    const QString offered = bench.dir.filePath(QStringLiteral("offert.pdf"));
    bench.dialogs.fileNames = {offered};
    QCOMPARE(bench.printing.imprimons(bench.box, QString()), Printing::Outcome::SavedAsPdf);
    const QPointF offeredStart = startMm(offered, QStringLiteral("Seconde"));
    QVERIFY2(within1Mm(offeredStart, 30, 25), qPrintable(mm(offeredStart)));
    QCOMPARE(bench.dialogs.unanswered, 0);
}

void PageMarginsTest::raisedFirstLineStaysBelowTheTopMargin() {
    if (popplerMissing())
        QSKIP("poppler-utils (pdftotext, pdfinfo, pdftoppm) read the printed pages");
    PrintBench bench;
    RichTextBox &box = bench.box;
    setUnindentedText(box, QStringLiteral("niveau haut\nsuite"));
    select(box, QStringLiteral("haut"));
    box.setSelCharOffset(200); // 10 pt up
    box.setSelStart(0);

    // The raised word starts at the top margin, where the page's clip would
    // cut it off; its line comes 10 pt lower.
    QCOMPARE(bench.printing.imprimons(box, QString()), Printing::Outcome::Printed);
    const QPointF up = startMm(bench.pdf, QStringLiteral("haut"));
    const QPointF level = startMm(bench.pdf, QStringLiteral("niveau"));
    QVERIFY2(qAbs(up.y() - 20) <= 1, qPrintable(mm(up)));
    QVERIFY2(qAbs((level.y() - up.y()) * ptPerMm - 10) <= 2, qPrintable(mm(level)));
    QVERIFY2(qAbs(level.x() - 20) <= 1, qPrintable(mm(level)));

    // A selection below that line has no room to keep.
    select(box, QStringLiteral("suite"));
    QCOMPARE(bench.printing.imprimons(box, QString()), Printing::Outcome::Printed);
    const QPointF next = startMm(bench.pdf, QStringLiteral("suite"));
    QVERIFY2(within1Mm(next, 20, 20), qPrintable(mm(next)));
}

QTEST_MAIN(PageMarginsTest)
#include "pagemargins_test.moc"
