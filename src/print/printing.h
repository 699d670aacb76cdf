#pragma once

#include <QString>
#include <memory>

class Dialogs;
class PrinterPlatform;
class QDialog;
class QPrinter;
class RichTextBox;

// The printer the program prints on, chosen in the set-up dialog and kept
// for the run, and the two printing commands of the File menu. Its pages
// have margins of 2 cm on every side until the set-up dialog changes them.
// When no printer can take the job, the same pages can go to a PDF file
// instead.
class Printing {
public:
    enum class Outcome { Printed, SavedAsPdf, NotPrinted };

    explicit Printing(Dialogs &dialogs);
    ~Printing();
    Printing(const Printing &) = delete;
    Printing &operator=(const Printing &) = delete;

    QPrinter &printer() { return *m_printer; }
    // Tests print through a stand-in; the platform must outlive this object.
    void setPlatform(PrinterPlatform &platform) { m_platform = &platform; }

    // The set-up dialog works on a copy: Cancel leaves the printer as it was.
    // Without a printer the dialog can only choose a PDF file: it proposes
    // one named after the text (a path, or "SANS NOM").
    void configimp(const QString &textName);
    // Prints the selection of exo, or its whole text, on the current printer
    // without a dialog. textName (a path, or "SANS NOM") names the PDF file
    // proposed when the text cannot be printed.
    Outcome imprimons(const RichTextBox &exo, const QString &textName);

    // Shows the pages "Imprimer" would print, on the current printer's pages;
    // its print button prints them there.
    void apercu(const RichTextBox &exo);
    // The preview's dialog, for what shows it: the pages come from exo.
    std::unique_ptr<QDialog> previewOf(const RichTextBox &exo);

    // The pages exo would print, as a PDF file laid out as on the current
    // printer; written whole or not at all.
    bool writePdf(const RichTextBox &exo, const QString &path) const;

private:
    Outcome offerPdf(const RichTextBox &exo, const QString &textName, bool noPrinter);

    Dialogs &m_dialogs;
    std::unique_ptr<PrinterPlatform> m_system;
    PrinterPlatform *m_platform;
    std::unique_ptr<QPrinter> m_printer;
};
