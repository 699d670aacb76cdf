#include "print/printerplatform.h"

#include "editor/richtextbox.h"

#include <QPrinter>
#include <QPrinterInfo>

bool SystemPrinters::hasPrinter() const {
    return !QPrinterInfo::availablePrinters().isEmpty();
}

bool SystemPrinters::printJob(const RichTextBox &exo, QPrinter &printer) {
    return printOn(exo, printer);
}

bool printOn(const RichTextBox &exo, QPrinter &printer) {
    // Some engines tell a failed job only through the printer's state.
    const bool drawn = exo.selPrint(printer);
    return drawn && printer.printerState() != QPrinter::Error &&
           printer.printerState() != QPrinter::Aborted;
}
