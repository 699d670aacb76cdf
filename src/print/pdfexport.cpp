#include "print/pdfexport.h"

#include "base/atomicfile.h"
#include "base/dialogs.h"
#include "base/messages.h"
#include "base/sharedstate.h"
#include "document/pagedprint.h"
#include "editor/answerfields.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>

namespace {

using What = ExportPdfDialog::What;

constexpr double marginMm = 20;
const QString pdfSuffix = QStringLiteral(".pdf");

} // namespace

QString PdfExport::proposedName(const QString &namedAfter, const ExportPdfDialog::Choice &choice) {
    const QFileInfo source(namedAfter);
    const QString base = namedAfter.isEmpty() || namedAfter == SharedState::noName
                             ? SharedState::noName
                             : source.completeBaseName();
    QString tail = choice.what == What::Statement    ? QStringLiteral("-enonce")
                   : choice.what == What::Correction ? QStringLiteral("-corrige")
                                                     : QStringLiteral("-complet");
    // The pupils' statement is the handout itself.
    if (choice.forPupils)
        tail = choice.what == What::Statement ? QStringLiteral("-eleve")
                                              : tail + QStringLiteral("-eleve");
    const QString name = base + tail + pdfSuffix;
    return source.isAbsolute() ? source.dir().filePath(name) : name;
}

QByteArray PdfExport::render(const Texts &texts, const ExportPdfDialog::Choice &choice) {
    std::vector<const QTextDocument *> sources;
    if (!texts.statement || !texts.correction)
        sources = {texts.shown};
    else if (choice.what == What::Statement)
        sources = {texts.statement};
    else if (choice.what == What::Correction)
        sources = {texts.correction};
    else
        sources = {texts.statement, texts.correction};
    std::vector<std::unique_ptr<QTextDocument>> copies;
    std::vector<QTextDocument *> pages;
    for (const QTextDocument *source : sources) {
        if (!source) return {};
        copies.push_back(pagedprint::paperCopy(*source));
        if (choice.forPupils) AnswerFields::blankAnswers(*copies.back());
        pages.push_back(copies.back().get());
    }
    pagedprint::Decoration decoration;
    if (choice.header) {
        decoration.header = texts.title;
        if (!texts.module.isEmpty())
            decoration.header +=
                (texts.title.isEmpty() ? QString() : QStringLiteral(" — ")) + texts.module;
    }
    decoration.pageNumbers = choice.footer;
    QBuffer file;
    file.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&file);
        pdf.setResolution(1200);
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(marginMm, marginMm, marginMm, marginMm),
                                      QPageLayout::Millimeter));
        pdf.setTitle(texts.title);
        pdf.setCreator(QStringLiteral("Rédigo"));
        if (pagedprint::print(pages, pdf, texts.screenDpi, decoration) < 0) return {};
    }
    return file.data();
}

bool PdfExport::exportpdf(const Texts &texts) {
    ExportPdfDialog dialog(texts.statement && texts.correction);
    if (m_dialogs.runDialog(dialog) != QDialog::Accepted) return false;
    const ExportPdfDialog::Choice choice = dialog.choice();
    const std::optional<QString> chosen = m_dialogs.saveFileName(
        {QStringLiteral("Exporter en PDF"), QStringLiteral("Document PDF|*.pdf"),
         proposedName(texts.namedAfter, choice)});
    if (!chosen) return false;
    QString path = *chosen;
    if (!path.endsWith(pdfSuffix, Qt::CaseInsensitive)) path += pdfSuffix;
    if (atomicfile::isWriteProtected(path)) {
        m_dialogs.message(messages::writeProtected(path));
        return false;
    }
    if (QFileInfo::exists(path) && m_dialogs.message(messages::overwriteQuestion()) != Answer::Yes)
        return false;
    const QByteArray bytes = render(texts, choice);
    if (bytes.isEmpty() || !atomicfile::write(path, bytes)) {
        m_dialogs.message(messages::pdfWriteFailed(path));
        return false;
    }
    return true;
}
