#include "printcheck.h"

using namespace printcheck;

class PrintingTest : public QObject {
    Q_OBJECT

private slots:
    void selectionIsPrintedAloneAtItsSize();
    void offsetsColoursTabsAndPicturesReachThePage();
    void wholeTextIsPrintedNeverTheBuffers();
    void noPrinterOffersTheSamePagesAsPdf();
    void failedJobIsNeverReportedAsPrinted();
    void aShorterPdfLeavesNothingOfALongerOne();
    void setupKeepsThePrinterUnlessAccepted();
};

void PrintingTest::selectionIsPrintedAloneAtItsSize() {
    PrintBench bench;
    bench.box.setText(QStringLiteral("avant la sélection\nLa molécule MOTS CHOISIS ici\naprès"));
    select(bench.box, QStringLiteral("La molécule"));
    bench.box.setSelAlignment(RichTextBox::AlignCenter);
    // From inside the centred paragraph: the paragraph keeps its look.
    select(bench.box, QStringLiteral("MOTS CHOISIS"));
    QCOMPARE(bench.printing.imprimons(bench.box, QStringLiteral("SANS NOM")),
             Printing::Outcome::Printed);
    QCOMPARE(bench.dialogs.calls.size(), 0);

    const QString text = pdfText(bench.pdf).simplified();
    QCOMPARE(text, QStringLiteral("MOTS CHOISIS"));
    const QRectF word = wordBoxes(bench.pdf).value(QStringLiteral("MOTS"));
    // 10 pt characters stand about 10 pt tall on paper, whatever the
    // printer's resolution.
    QVERIFY2(word.height() > 8 && word.height() < 16, qPrintable(QString::number(word.height())));
    QVERIFY2(word.left() > 200, qPrintable(QString::number(word.left())));
    // Printing leaves the text and its selection alone.
    QCOMPARE(bench.box.selText(), QStringLiteral("MOTS CHOISIS"));
}

void PrintingTest::offsetsColoursTabsAndPicturesReachThePage() {
    PrintBench bench;
    RichTextBox &box = bench.box;
    box.setText(QStringLiteral("niveau haut bas\ngauche\tdroite\n"));
    box.selectAll();
    box.setSelFontSize(12);
    select(box, QStringLiteral("haut"));
    box.setSelCharOffset(200); // 10 pt up
    select(box, QStringLiteral("bas"));
    box.setSelCharOffset(-200);
    select(box, QStringLiteral("niveau"));
    box.setSelColor(qRgb(0, 0, 255));
    select(box, QStringLiteral("gauche"));
    box.setSelTabCount(1);
    box.setSelTabs(0, 400);
    box.setSelStart(box.text().size());
    QImage picture(40, 40, QImage::Format_RGB32);
    picture.fill(QColor(0, 200, 0));
    QVERIFY(box.insertPictureAtCaret(picture, QSizeF(80, 80)));
    box.setSelStart(0);

    QCOMPARE(bench.printing.imprimons(box, QString()), Printing::Outcome::Printed);
    const auto words = wordBoxes(bench.pdf);
    const QRectF level = words.value(QStringLiteral("niveau"));
    const QRectF up = words.value(QStringLiteral("haut"));
    const QRectF down = words.value(QStringLiteral("bas"));
    QVERIFY2(qAbs(level.top() - up.top() - 10) < 2, qPrintable(QString::number(up.top())));
    QVERIFY2(qAbs(down.top() - level.top() - 10) < 2, qPrintable(QString::number(down.top())));
    // The tab stop at 400 px from the text's edge, the paragraph at its
    // 19 px indent: 381 px apart, 285.75 pt on paper.
    const double tabPt =
        words.value(QStringLiteral("droite")).left() - words.value(QStringLiteral("gauche")).left();
    QVERIFY2(qAbs(tabPt - 285.75) < 2, qPrintable(QString::number(tabPt)));

    const QImage page = pageImage(bench.pdf, bench.dir.filePath(QStringLiteral("page")));
    QVERIFY(!page.isNull());
    constexpr int red = 0, green = 1, blue = 2;
    QVERIFY(pixelsOf(page, blue) > 20); // the blue word
    QCOMPARE(pixelsOf(page, red), 0);
    // The picture, shown 80 px wide: 60 pt, 60 pixels square at 72 dpi.
    const int pictureArea = pixelsOf(page, green);
    QVERIFY2(qAbs(pictureArea - 3600) < 300, qPrintable(QString::number(pictureArea)));
    QVERIFY(run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), bench.pdf})
                .contains(QStringLiteral("image")));
}

void PrintingTest::wholeTextIsPrintedNeverTheBuffers() {
    WindowFixture f;
    FilePrinter system;
    system.path = f.dir.filePath(QStringLiteral("page.pdf"));
    f.window.printing().setPlatform(system);
    QStringList lines;
    for (int line = 1; line <= 120; ++line)
        lines << QStringLiteral("Question %1 de l'énoncé").arg(line);
    f.exo.setText(lines.join(QLatin1Char('\n')));
    f.control<RichTextBox>(QStringLiteral("corectampon"))->setText(QStringLiteral("CORRIGÉ caché"));
    f.control<RichTextBox>(QStringLiteral("sujetampon"))->setText(QStringLiteral("TAMPON caché"));
    f.exo.setSelStart(5);

    // From the File menu, by its keys.
    f.window.show();
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    QTest::keyClick(&f.window, Qt::Key_F, Qt::AltModifier);
    QMenu *fichi = f.window.menuBar()->findChild<QMenu *>(QStringLiteral("fichi"));
    QTRY_VERIFY(fichi->isVisible());
    QTest::keyClick(fichi, Qt::Key_I);
    QCOMPARE(system.jobs, 1);
    QCOMPARE(f.dialogs.calls.size(), 0);
    const QString printed = pdfText(system.path);
    for (int line : {1, 60, 120})
        QVERIFY2(printed.contains(QStringLiteral("Question %1 de l'énoncé").arg(line)),
                 qPrintable(QString::number(line)));
    QVERIFY(pdfPages(system.path) >= 2);
    QVERIFY(!printed.contains(QStringLiteral("caché")));

    // The tool button prints the same way, the selection only.
    QFile::remove(system.path);
    f.select(f.exo.text().indexOf(QStringLiteral("Question 7 ")), 11);
    auto *command18 = f.control<QToolButton>(QStringLiteral("Command18"));
    QCOMPARE(command18->toolTip(), QStringLiteral("Imprimer"));
    QTest::mouseClick(command18, Qt::LeftButton);
    QCOMPARE(system.jobs, 2);
    QCOMPARE(pdfText(system.path).simplified(), QStringLiteral("Question 7"));
}

void PrintingTest::noPrinterOffersTheSamePagesAsPdf() {
    PrintBench bench;
    bench.system.installed = false;
    bench.box.setText(QStringLiteral("Énoncé à imprimer"));
    const QString textPath = bench.dir.filePath(QStringLiteral("enonce.rtf"));
    const QString proposed = bench.dir.filePath(QStringLiteral("enonce.pdf"));

    // The message, then the save dialog proposing the text's name.
    bench.dialogs.answers = {Answer::Yes};
    bench.dialogs.fileNames = {proposed};
    QCOMPARE(bench.printing.imprimons(bench.box, textPath), Printing::Outcome::SavedAsPdf);
    QCOMPARE(bench.dialogs.kinds(), QStringList({"message", "save"}));
    const Message asked = bench.dialogs.calls.at(0).message;
    QVERIFY(asked.text.startsWith(QStringLiteral("Aucune imprimante")));
    QCOMPARE(asked.title, QStringLiteral("Impression impossible"));
    QCOMPARE(asked.buttons, MessageButtons::YesNo);
    QCOMPARE(bench.dialogs.calls.at(1).file.initialName, proposed);
    QCOMPARE(bench.dialogs.calls.at(1).file.filter, QStringLiteral("Document PDF|*.pdf"));
    QCOMPARE(pdfText(proposed).simplified(), QStringLiteral("Énoncé à imprimer"));
    QCOMPARE(bench.system.jobs, 0);

    // No to the offer, or Cancel in the save dialog: nothing written.
    const QByteArray before = fileBytes(proposed);
    bench.box.setText(QStringLiteral("autre texte"));
    bench.dialogs.calls.clear();
    bench.dialogs.answers = {Answer::No, Answer::Yes};
    bench.dialogs.fileNames = {std::nullopt};
    QCOMPARE(bench.printing.imprimons(bench.box, textPath), Printing::Outcome::NotPrinted);
    QCOMPARE(bench.printing.imprimons(bench.box, textPath), Printing::Outcome::NotPrinted);
    QCOMPARE(bench.dialogs.kinds(), QStringList({"message", "message", "save"}));
    QCOMPARE(fileBytes(proposed), before);

    // An existing file is replaced only on Yes.
    bench.dialogs.answers = {Answer::Yes, Answer::No};
    bench.dialogs.fileNames = {proposed};
    QCOMPARE(bench.printing.imprimons(bench.box, textPath), Printing::Outcome::NotPrinted);
    QCOMPARE(fileBytes(proposed), before);

    // A text without a name proposes one; a name typed without .pdf gets it.
    bench.dialogs.calls.clear();
    bench.dialogs.answers = {Answer::Yes};
    bench.dialogs.fileNames = {bench.dir.filePath(QStringLiteral("copie"))};
    QCOMPARE(bench.printing.imprimons(bench.box, QStringLiteral("SANS NOM")),
             Printing::Outcome::SavedAsPdf);
    QCOMPARE(bench.dialogs.calls.at(1).file.initialName, QStringLiteral("SANS NOM.pdf"));
    QCOMPARE(pdfText(bench.dir.filePath(QStringLiteral("copie.pdf"))).simplified(),
             QStringLiteral("autre texte"));
    QCOMPARE(bench.dialogs.unanswered, 0);
}

void PrintingTest::failedJobIsNeverReportedAsPrinted() {
    PrintBench bench;
    bench.box.setText(QStringLiteral("Texte du travail"));
    bench.system.path = bench.dir.filePath(QStringLiteral("absent/travail.pdf"));

    // The printer refuses the job: said so, and the PDF offered.
    bench.dialogs.answers = {Answer::Yes};
    const QString saved = bench.dir.filePath(QStringLiteral("travail.pdf"));
    bench.dialogs.fileNames = {saved};
    QCOMPARE(bench.printing.imprimons(bench.box, QString()), Printing::Outcome::SavedAsPdf);
    QCOMPARE(bench.system.jobs, 1);
    QVERIFY(bench.dialogs.calls.at(0).message.text.contains(QStringLiteral("n'a pas pu imprimer")));
    QCOMPARE(pdfText(saved).simplified(), QStringLiteral("Texte du travail"));

    // A PDF that cannot be written is reported as such, and nothing is left.
    bench.dialogs.calls.clear();
    bench.dialogs.answers = {Answer::Yes};
    const QString unwritable = bench.dir.filePath(QStringLiteral("absent/copie.pdf"));
    bench.dialogs.fileNames = {unwritable};
    QCOMPARE(bench.printing.imprimons(bench.box, QString()), Printing::Outcome::NotPrinted);
    QCOMPARE(bench.dialogs.kinds(), QStringList({"message", "save", "message"}));
    const Message failed = bench.dialogs.last().message;
    QCOMPARE(failed.icon, MessageIcon::Critical);
    QVERIFY(failed.text.contains(QStringLiteral("n'a pas pu être enregistré")));
    QVERIFY(failed.text.contains(unwritable));

    // A PDF file chosen as the printer in the set-up dialog: written whole,
    // or reported as not written.
    bench.dialogs.calls.clear();
    const QString chosen = bench.dir.filePath(QStringLiteral("choisi.pdf"));
    bench.dialogs.printerAnswers = {[&chosen](QPrinter &printer) {
                                        printer.setOutputFileName(chosen);
                                        return true;
                                    },
                                    [&unwritable](QPrinter &printer) {
                                        printer.setOutputFileName(unwritable);
                                        return true;
                                    }};
    bench.printing.configimp(QString());
    QCOMPARE(bench.printing.imprimons(bench.box, QString()), Printing::Outcome::Printed);
    QCOMPARE(pdfText(chosen).simplified(), QStringLiteral("Texte du travail"));
    bench.printing.configimp(QString());
    QCOMPARE(bench.printing.imprimons(bench.box, QString()), Printing::Outcome::NotPrinted);
    QCOMPARE(bench.dialogs.last().message.icon, MessageIcon::Critical);
    QVERIFY(!QFile::exists(unwritable));
    // The printer had two jobs and none of the chosen file's.
    QCOMPARE(bench.system.jobs, 2);

    // A PDF file its owner made read-only is refused, chosen either way.
    QVERIFY(::chmod(QFile::encodeName(chosen).constData(), 0400) == 0);
    const QByteArray kept = fileBytes(chosen);
    const QString refusal =
        QStringLiteral("Le fichier ") + chosen + QStringLiteral(" est protégé en écriture.");
    bench.dialogs.calls.clear();
    bench.dialogs.printerAnswers = {[&chosen](QPrinter &printer) {
        printer.setOutputFileName(chosen);
        return true;
    }};
    bench.printing.configimp(QString());
    QCOMPARE(bench.printing.imprimons(bench.box, QString()), Printing::Outcome::NotPrinted);
    QCOMPARE(bench.dialogs.kinds(), QStringList({"printer", "message"}));
    QCOMPARE(bench.dialogs.last().message.text, refusal);
    PrintBench noPrinter;
    noPrinter.system.installed = false;
    noPrinter.dialogs.answers = {Answer::Yes};
    noPrinter.dialogs.fileNames = {chosen};
    QCOMPARE(noPrinter.printing.imprimons(noPrinter.box, QString()), Printing::Outcome::NotPrinted);
    QCOMPARE(noPrinter.dialogs.kinds(), QStringList({"message", "save", "message"}));
    QCOMPARE(noPrinter.dialogs.last().message.text, refusal);
    QCOMPARE(fileBytes(chosen), kept);
}

void PrintingTest::aShorterPdfLeavesNothingOfALongerOne() {
    PrintBench bench;
    bench.system.installed = false;
    const QString path = bench.dir.filePath(QStringLiteral("cours.pdf"));
    bench.box.setText(QStringLiteral("Une ligne de plus\n").repeated(200));
    bench.dialogs.answers = {Answer::Yes};
    bench.dialogs.fileNames = {path};
    QCOMPARE(bench.printing.imprimons(bench.box, QString()), Printing::Outcome::SavedAsPdf);
    const qsizetype longerBytes = fileBytes(path).size();
    bench.box.setText(QStringLiteral("Court"));
    bench.dialogs.answers = {Answer::Yes, Answer::Yes}; // the PDF, then "Ecraser ?"
    bench.dialogs.fileNames = {path};
    QCOMPARE(bench.printing.imprimons(bench.box, QString()), Printing::Outcome::SavedAsPdf);
    // One document, ending once: the longer one's pages are not behind it.
    const QByteArray pdf = fileBytes(path);
    QVERIFY(pdf.size() < longerBytes);
    QCOMPARE(pdf.count("%%EOF"), 1);
    QVERIFY(pdf.trimmed().endsWith("%%EOF"));
    QCOMPARE(pdfPages(path), 1);
    QCOMPARE(pdfText(path).simplified(), QStringLiteral("Court"));
}

void PrintingTest::setupKeepsThePrinterUnlessAccepted() {
    WindowFixture f;
    FilePrinter system;
    system.path = f.dir.filePath(QStringLiteral("page.pdf"));
    Printing &printing = f.window.printing();
    printing.setPlatform(system);
    const QPageLayout first = printing.printer().pageLayout();

    // Landscape and three copies, then Cancel: nothing changes. Without a
    // printer, the dialog proposes a PDF file named after the text.
    const bool noPrinter = printing.printer().outputFormat() == QPrinter::PdfFormat;
    f.window.state().nomfichier = f.root + QStringLiteral("enonce.rtf");
    QString proposed;
    f.dialogs.printerAnswers = {[&proposed](QPrinter &printer) {
        proposed = printer.outputFileName();
        printer.setPageOrientation(QPageLayout::Landscape);
        printer.setCopyCount(3);
        return false;
    }};
    // From the File menu, by its keys.
    f.window.show();
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    QTest::keyClick(&f.window, Qt::Key_F, Qt::AltModifier);
    QMenu *fichi = f.window.menuBar()->findChild<QMenu *>(QStringLiteral("fichi"));
    QTRY_VERIFY(fichi->isVisible());
    QTest::keyClick(fichi, Qt::Key_C);
    QCOMPARE(f.dialogs.kinds(), QStringList({"printer"}));
    QVERIFY(printing.printer().pageLayout().isEquivalentTo(first));
    QCOMPARE(printing.printer().copyCount(), 1);
    QCOMPARE(printing.printer().outputFileName(), QString());
    if (noPrinter) QCOMPARE(proposed, f.root + QStringLiteral("enonce.pdf"));

    // OK keeps the choice for the run; the dialog opens on it next time.
    QPageLayout::Orientation seen = QPageLayout::Portrait;
    f.dialogs.printerAnswers = {[](QPrinter &printer) {
                                    // A printer rather than a file.
                                    printer.setOutputFileName(QString());
                                    printer.setPageOrientation(QPageLayout::Landscape);
                                    printer.setCopyCount(2);
                                    return true;
                                },
                                [&seen](QPrinter &printer) {
                                    seen = printer.pageLayout().orientation();
                                    printer.setPageOrientation(QPageLayout::Portrait);
                                    return false;
                                }};
    f.action("configimp")->trigger();
    f.action("configimp")->trigger();
    QCOMPARE(seen, QPageLayout::Landscape);
    QCOMPARE(printing.printer().pageLayout().orientation(), QPageLayout::Landscape);
    QCOMPARE(printing.printer().copyCount(), 2);

    // Printing then uses that printer.
    f.exo.setText(QStringLiteral("paysage"));
    f.action("imprimons")->trigger();
    QCOMPARE(pdfPageSize(system.path), QStringLiteral("842 x 595"));
}

QTEST_MAIN(PrintingTest)
#include "printing_test.moc"
