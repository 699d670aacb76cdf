#include "editor/answerfields.h"
#include "print/pdfexport.h"
#include "printcheck.h"

#include <QAbstractButton>
#include <QPrintPreviewWidget>
#include <QTextBlock>

using namespace printcheck;
using Choice = ExportPdfDialog::Choice;
using What = ExportPdfDialog::What;

namespace {

// "Énoncé β" then an answer field holding the teacher's answer, and a
// correction; each text in its own control, as the buffers keep them.
struct Exercise {
    QTemporaryDir dir;
    RichTextBox statement;
    RichTextBox correction;
    PdfExport::Texts texts;

    Exercise() {
        statement.applyDefaultTextFormat();
        statement.setText(QStringLiteral("Énoncé β de l'exercice\n"));
        statement.setSelStart(int(statement.text().size()));
        AnswerFields fields(statement, nullptr);
        fields.champreponse_Click();
        // The teacher's answer, on the first line between the frame lines.
        QTextBlock line = statement.document()->findBlock(0).next().next();
        QTextCursor(line).insertText(QStringLiteral("solutionprof"));
        correction.applyDefaultTextFormat();
        correction.setText(QStringLiteral("Corrigé gamma"));
        texts.statement = statement.document();
        texts.correction = correction.document();
        texts.shown = statement.document();
        texts.title = QStringLiteral("Titrage acide");
        texts.module = QStringLiteral("Simulateur A");
        texts.screenDpi = QPointF(96, 96);
    }
    QString exported(const Choice &choice, const QString &name = QStringLiteral("x.pdf")) {
        const QString path = dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(path));
        file.write(PdfExport::render(texts, choice));
        return path;
    }
};

QString pageText(const QString &pdf, int page) {
    const QString number = QString::number(page);
    return run(QStringLiteral("pdftotext"), {QStringLiteral("-f"), number, QStringLiteral("-l"),
                                             number, pdf, QStringLiteral("-")})
        .simplified();
}

} // namespace

class PdfExportTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void eachChoiceGivesItsTextsAndPages_data();
    void eachChoiceGivesItsTextsAndPages();
    void headerAndFooterAsChosen();
    void fontsEmbeddedAndPicturesAtTheirDensity();
    void proposedNamesSayWhatAndForWhom();
    void exportFromTheMenuChangesNothingShown();
    void previewShowsThePagesPrinted();
};

void PdfExportTest::initTestCase() {
    if (popplerMissing()) QSKIP("poppler-utils is not installed");
}

void PdfExportTest::eachChoiceGivesItsTextsAndPages_data() {
    QTest::addColumn<int>("what");
    QTest::addColumn<bool>("forPupils");
    QTest::addColumn<QString>("page1");
    QTest::addColumn<QString>("page2");
    QTest::addColumn<bool>("answerShown");
    QTest::newRow("énoncé élève") << int(What::Statement) << true << "Énoncé β"
                                  << "" << false;
    QTest::newRow("énoncé prof") << int(What::Statement) << false << "Énoncé β"
                                 << "" << true;
    QTest::newRow("corrigé élève") << int(What::Correction) << true << "Corrigé gamma"
                                   << "" << false;
    QTest::newRow("corrigé prof") << int(What::Correction) << false << "Corrigé gamma"
                                  << "" << false;
    QTest::newRow("les deux élève") << int(What::Both) << true << "Énoncé β"
                                    << "Corrigé gamma" << false;
    QTest::newRow("les deux prof") << int(What::Both) << false << "Énoncé β"
                                   << "Corrigé gamma" << true;
}

// The texts in order, the correction on a page of its own; the pupils get
// the answer field's frame lines and nothing between them.
void PdfExportTest::eachChoiceGivesItsTextsAndPages() {
    QFETCH(int, what);
    QFETCH(bool, forPupils);
    QFETCH(QString, page1);
    QFETCH(QString, page2);
    QFETCH(bool, answerShown);
    Exercise exercise;
    Choice choice;
    choice.what = What(what);
    choice.forPupils = forPupils;
    const QString pdf = exercise.exported(choice);
    QCOMPARE(pdfPages(pdf), page2.isEmpty() ? 1 : 2);
    const QString first = pageText(pdf, 1);
    QVERIFY2(first.contains(page1), qPrintable(first));
    if (!page2.isEmpty()) {
        QVERIFY(pageText(pdf, 2).contains(page2));
        QVERIFY(!first.contains(page2));
    }
    if (what != int(What::Correction)) {
        QVERIFY(first.contains(QStringLiteral("réponse")));
        QVERIFY(first.indexOf(page1) < first.indexOf(QStringLiteral("réponse")));
    }
    QCOMPARE(first.contains(QStringLiteral("solutionprof")), answerShown);
    // The text of the exercise is left as it was.
    QVERIFY(exercise.statement.text().contains(QStringLiteral("solutionprof")));
    QVERIFY(!exercise.statement.document()->isModified() ||
            exercise.statement.document()->isUndoAvailable());
}

void PdfExportTest::headerAndFooterAsChosen() {
    for (bool header : {true, false}) {
        for (bool footer : {true, false}) {
            Exercise exercise;
            Choice choice{What::Both, false, header, footer};
            const QString pdf = exercise.exported(choice);
            const QString second = pageText(pdf, 2);
            QCOMPARE(second.contains(QStringLiteral("Titrage acide — Simulateur A")), header);
            QCOMPARE(second.contains(QStringLiteral("page 2 / 2")), footer);
        }
    }
    // Without an exercise, the text shown, named after its file.
    Exercise exercise;
    exercise.texts.statement = exercise.texts.correction = nullptr;
    exercise.texts.shown = exercise.correction.document();
    const QString pdf = exercise.exported(Choice{What::Both, true, true, true});
    QCOMPARE(pdfPages(pdf), 1);
    QVERIFY(pageText(pdf, 1).contains(QStringLiteral("Corrigé gamma")));
    QVERIFY(run(QStringLiteral("pdfinfo"), {pdf}).contains(QStringLiteral("Titrage acide")));
}

void PdfExportTest::fontsEmbeddedAndPicturesAtTheirDensity() {
    Exercise exercise;
    // A picture shown 60 x 20 pixels, stored four times as dense.
    QImage sign(240, 80, QImage::Format_RGB32);
    sign.fill(Qt::blue);
    exercise.statement.setSelStart(0);
    exercise.statement.insertPictureAtCaret(sign, QSizeF(60, 20));
    const QString pdf = exercise.exported(Choice{What::Statement, true, true, true});
    const QStringList fonts =
        run(QStringLiteral("pdffonts"), {pdf}).split(QLatin1Char('\n')).mid(2);
    QVERIFY(!fonts.join(QString()).trimmed().isEmpty());
    for (const QString &font : fonts)
        if (!font.trimmed().isEmpty())
            QVERIFY2(font.contains(QStringLiteral(" yes ")), qPrintable(font));
    const QStringList images =
        run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf}).split(QLatin1Char('\n'));
    QVERIFY(images.size() > 2);
    const QStringList columns = images.at(2).simplified().split(QLatin1Char(' '));
    QVERIFY2(columns.value(3).toInt() >= 240 && columns.value(4).toInt() >= 80,
             qPrintable(images.at(2)));
    QVERIFY(run(QStringLiteral("pdfinfo"), {pdf}).contains(QStringLiteral("Rédigo")));
}

void PdfExportTest::proposedNamesSayWhatAndForWhom() {
    const QString exercise = QStringLiteral("/classe/titrage.exo");
    const struct {
        What what;
        bool forPupils;
        const char *name;
    } rows[] = {{What::Statement, true, "/classe/titrage-eleve.pdf"},
                {What::Statement, false, "/classe/titrage-enonce.pdf"},
                {What::Correction, true, "/classe/titrage-corrige-eleve.pdf"},
                {What::Correction, false, "/classe/titrage-corrige.pdf"},
                {What::Both, true, "/classe/titrage-complet-eleve.pdf"},
                {What::Both, false, "/classe/titrage-complet.pdf"}};
    for (const auto &row : rows)
        QCOMPARE(PdfExport::proposedName(exercise, Choice{row.what, row.forPupils, true, true}),
                 QString::fromLatin1(row.name));
    QCOMPARE(PdfExport::proposedName(QStringLiteral("SANS NOM"), Choice{}),
             QStringLiteral("SANS NOM-eleve.pdf"));
}

// Through the menu: the dialog, the file's name, the file; the text shown,
// its modified mark and its undo history stay as they were. A folder that
// cannot be written in gets the message and no file.
void PdfExportTest::exportFromTheMenuChangesNothingShown() {
    WindowFixture f;
    f.exo.setText(QStringLiteral("Texte montré "));
    f.exo.setSelStart(13);
    // A Greek letter from the palette, in its own font.
    f.control<QAbstractButton>("Command1", 2)->click();
    f.exo.document()->setModified(false);
    const int undoSteps = f.exo.document()->availableUndoSteps();
    const QString pdf = f.root + QStringLiteral("sortie.pdf");
    f.dialogs.dialogAnswers << [](QDialog &dialog) {
        dialog.findChild<QAbstractButton *>(QStringLiteral("pourqui(1)"))->click();
        dialog.findChild<QAbstractButton *>(QStringLiteral("pied"))->click();
        dialog.findChild<QAbstractButton *>(QStringLiteral("OK"))->click();
        return dialog.result();
    };
    f.dialogs.fileNames << pdf;
    f.action("exportpdf")->trigger();
    QVERIFY(QFile::exists(pdf));
    QVERIFY2(pageText(pdf, 1).contains(QStringLiteral("Texte montré α")),
             qPrintable(pageText(pdf, 1)));
    QVERIFY(!pageText(pdf, 1).contains(QStringLiteral("page 1 / 1")));
    QCOMPARE(f.exo.text(), QStringLiteral("Texte montré α"));
    QVERIFY(!f.exo.document()->isModified());
    QCOMPARE(f.exo.document()->availableUndoSteps(), undoSteps);

    // A "folder" that is a file: no write can go there, not even root's.
    const QString blocked = f.root + QStringLiteral("fichier");
    QFile file(blocked);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write("x") == 1);
    file.close();
    f.dialogs.dialogAnswers << [](QDialog &) { return int(QDialog::Accepted); };
    f.dialogs.fileNames << blocked + QStringLiteral("/sortie.pdf");
    f.dialogs.calls.clear();
    f.action("exportpdf")->trigger();
    QCOMPARE(f.dialogs.calls.last().message.title, QStringLiteral("Enregistrement impossible"));
    QVERIFY(!QFile::exists(blocked + QStringLiteral("/sortie.pdf")));
}

void PdfExportTest::previewShowsThePagesPrinted() {
    PrintBench bench;
    QString text;
    for (int line = 0; line < 150; ++line)
        text += QStringLiteral("Ligne %1 de l'exercice\n").arg(line);
    bench.box.setText(text);
    QVERIFY(bench.printing.writePdf(bench.box, bench.pdf));
    const std::unique_ptr<QDialog> preview = bench.printing.previewOf(bench.box);
    auto *pages = preview->findChild<QPrintPreviewWidget *>();
    QVERIFY(pages);
    pages->updatePreview();
    QVERIFY(pdfPages(bench.pdf) > 1);
    QCOMPARE(pages->pageCount(), pdfPages(bench.pdf));
}

QTEST_MAIN(PdfExportTest)
#include "pdfexport_test.moc"
