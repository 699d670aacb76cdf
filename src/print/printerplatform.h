#pragma once

class QPrinter;
class RichTextBox;

// What the program needs of the system's printing: whether any printer is
// installed, and a print job on the chosen one. Tests stand in for it.
class PrinterPlatform {
public:
    virtual ~PrinterPlatform() = default;
    virtual bool hasPrinter() const = 0;
    // Prints the selection of exo, or its whole text when nothing is
    // selected, as one job. False when the printer did not take the job.
    virtual bool printJob(const RichTextBox &exo, QPrinter &printer) = 0;
};

// The printers of the system, through Qt.
class SystemPrinters : public PrinterPlatform {
public:
    bool hasPrinter() const override;
    bool printJob(const RichTextBox &exo, QPrinter &printer) override;
};

// The job itself, whatever the printer: false when the printer could not be
// opened, refused a page, or ended in error.
bool printOn(const RichTextBox &exo, QPrinter &printer);
