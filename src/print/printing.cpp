#include "print/printing.h"

#include "base/atomicfile.h"
#include "base/dialogs.h"
#include "base/messages.h"
#include "base/sharedstate.h"
#include "editor/richtextbox.h"
#include "print/printerplatform.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace {

const QString pdfSuffix = QStringLiteral(".pdf");

// Printers clip what stands near the sheet's edges: 2 cm on every side
// until the set-up dialog says otherwise.
constexpr double defaultPageMarginMm = 20;

// The text's own name with .pdf, in the text's folder when it has one.
QString proposedPdfName(const QString &textName) {
    if (textName.isEmpty() || textName == SharedState::noName)
        return SharedState::noName + pdfSuffix;
    const QFileInfo text(textName);
    const QString name = text.completeBaseName() + pdfSuffix;
    return text.isAbsolute() ? text.dir().filePath(name) : name;
}

// Everything the set-up dialog shows and sets, on a printer of its own.
std::unique_ptr<QPrinter> copyOf(const QPrinter &printer) {
    auto copy = std::make_unique<QPrinter>(QPrinter::HighResolution);
    copy->setOutputFormat(printer.outputFormat());
    if (printer.outputFormat() == QPrinter::NativeFormat)
        copy->setPrinterName(printer.printerName());
    // An empty name would switch the copy back to the system's printer.
    if (!printer.outputFileName().isEmpty()) copy->setOutputFileName(printer.outputFileName());
    copy->setPageLayout(printer.pageLayout());
    copy->setCopyCount(printer.copyCount());
    copy->setCollateCopies(printer.collateCopies());
    copy->setColorMode(printer.colorMode());
    copy->setDuplex(printer.duplex());
    copy->setPageOrder(printer.pageOrder());
    copy->setPaperSource(printer.paperSource());
    copy->setDocName(printer.docName());
    copy->setCreator(printer.creator());
    return copy;
}

} // namespace

Printing::Printing(Dialogs &dialogs)
    : m_dialogs(dialogs), m_system(std::make_unique<SystemPrinters>()), m_platform(m_system.get()),
      m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    // Margins in millimetres are shown in millimetres by the set-up dialog.
    const QMarginsF marginsMm(defaultPageMarginMm, defaultPageMarginMm, defaultPageMarginMm,
                              defaultPageMarginMm);
    m_printer->setFullPage(false);
    m_printer->setPageMargins(marginsMm, QPageLayout::Millimeter);
}

Printing::~Printing() = default;

void Printing::configimp(const QString &textName) {
    std::unique_ptr<QPrinter> chosen = copyOf(*m_printer);
    if (chosen->outputFormat() == QPrinter::PdfFormat && chosen->outputFileName().isEmpty())
        chosen->setOutputFileName(QDir::home().absoluteFilePath(proposedPdfName(textName)));
    if (m_dialogs.setupPrinter(*chosen)) m_printer = std::move(chosen);
}

Printing::Outcome Printing::imprimons(const RichTextBox &exo, const QString &textName) {
    // A PDF file chosen in the set-up dialog in place of a printer is a file
    // like any other: written whole or not at all.
    const QString fileChosen = m_printer->outputFileName();
    if (m_printer->outputFormat() == QPrinter::PdfFormat && !fileChosen.isEmpty()) {
        if (atomicfile::isWriteProtected(fileChosen)) {
            m_dialogs.message(messages::writeProtected(fileChosen));
            return Outcome::NotPrinted;
        }
        if (writePdf(exo, fileChosen)) return Outcome::Printed;
        m_dialogs.message(messages::pdfWriteFailed(fileChosen));
        return Outcome::NotPrinted;
    }
    if (!m_platform->hasPrinter()) return offerPdf(exo, textName, true);
    // A printer installed after the start: Qt's printer still writes PDF.
    if (m_printer->outputFormat() == QPrinter::PdfFormat)
        m_printer->setOutputFormat(QPrinter::NativeFormat);
    if (m_platform->printJob(exo, *m_printer)) return Outcome::Printed;
    return offerPdf(exo, textName, false);
}

Printing::Outcome Printing::offerPdf(const RichTextBox &exo, const QString &textName,
                                     bool noPrinter) {
    const Message why =
        noPrinter ? messages::noPrinter() : messages::printJobFailed(m_printer->printerName());
    if (m_dialogs.message(why) != Answer::Yes) return Outcome::NotPrinted;
    const std::optional<QString> chosen =
        m_dialogs.saveFileName({QStringLiteral("Enregistrer en PDF"),
                                QStringLiteral("Document PDF|*.pdf"), proposedPdfName(textName)});
    if (!chosen) return Outcome::NotPrinted;
    QString path = *chosen;
    if (!path.endsWith(pdfSuffix, Qt::CaseInsensitive)) path += pdfSuffix;
    if (atomicfile::isWriteProtected(path)) {
        m_dialogs.message(messages::writeProtected(path));
        return Outcome::NotPrinted;
    }
    if (QFileInfo::exists(path) && m_dialogs.message(messages::overwriteQuestion()) != Answer::Yes)
        return Outcome::NotPrinted;
    if (!writePdf(exo, path)) {
        m_dialogs.message(messages::pdfWriteFailed(path));
        return Outcome::NotPrinted;
    }
    return Outcome::SavedAsPdf;
}

std::unique_ptr<QDialog> Printing::previewOf(const RichTextBox &exo) {
    auto preview = std::make_unique<QPrintPreviewDialog>(m_printer.get());
    preview->setObjectName(QStringLiteral("Apercu"));
    preview->setWindowTitle(QStringLiteral("Aperçu avant impression"));
    QObject::connect(preview.get(), &QPrintPreviewDialog::paintRequested,
                     [&exo](QPrinter *printer) { exo.selPrint(*printer); });
    return preview;
}

void Printing::apercu(const RichTextBox &exo) {
    const std::unique_ptr<QDialog> preview = previewOf(exo);
    m_dialogs.runDialog(*preview);
}

bool Printing::writePdf(const RichTextBox &exo, const QString &path) const {
    QBuffer pages;
    pages.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&pages);
        pdf.setResolution(m_printer->resolution());
        pdf.setPageLayout(m_printer->pageLayout());
        pdf.setTitle(QFileInfo(path).completeBaseName());
        pdf.setCreator(QStringLiteral("Rédigo"));
        if (!exo.selPrint(pdf)) return false;
    }
    return atomicfile::write(path, pages.data());
}
