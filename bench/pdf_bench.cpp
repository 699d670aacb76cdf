// How fast a 1 MB exercise becomes a PDF handout, and how soon its preview
// shows.
//
//   pdf_bench   prints the time of exporting statement and correction (each
//               a generated 1 MB exercise) to PDF for the pupils, and of the
//               preview of one of them until its pages are ready to show.

#include "base/dialogs.h"
#include "editor/richtextbox.h"
#include "exercisedocument.h"
#include "print/pdfexport.h"
#include "print/printing.h"
#include "silentdialogs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPrintPreviewWidget>
#include <cstdio>

int main(int argc, char *argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QByteArray megabyte = generate(1'000'000);
    RichTextBox statement;
    RichTextBox correction;
    statement.setTextRTF(megabyte);
    correction.setTextRTF(megabyte);

    PdfExport::Texts texts;
    texts.statement = statement.document();
    texts.correction = correction.document();
    texts.shown = statement.document();
    texts.title = QStringLiteral("Banc d'essai");
    texts.screenDpi = QPointF(statement.logicalDpiX(), statement.logicalDpiY());
    QElapsedTimer timer;
    timer.start();
    const QByteArray pdf =
        PdfExport::render(texts, {ExportPdfDialog::What::Both, true, true, true});
    const double exportMs = double(timer.nsecsElapsed()) / 1e6;

    SilentDialogs dialogs;
    Printing printing(dialogs);
    timer.restart();
    const std::unique_ptr<QDialog> preview = printing.previewOf(statement);
    auto *pages = preview->findChild<QPrintPreviewWidget *>();
    pages->updatePreview();
    const double previewMs = double(timer.nsecsElapsed()) / 1e6;

    std::printf("export 2 x 1 MB to PDF           %9.1f ms (%lld KB)\n", exportMs,
                static_cast<long long>(pdf.size() / 1024));
    std::printf("preview of 1 MB ready            %9.1f ms (%d pages)\n", previewMs,
                pages->pageCount());
    return 0;
}
