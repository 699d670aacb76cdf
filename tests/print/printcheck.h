#pragma once

// What the printing tests share: a printer that writes PDF files, what
// poppler reads of them, and a bench of the program's printing.

#include "editor/richtextbox.h"
#include "filebytes.h"
#include "print/printerplatform.h"
#include "print/printing.h"
#include "scripteddialogs.h"
#include "windowfixture.h"

#include <QFile>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <sys/stat.h>

namespace printcheck {

// A printer that takes the job as a PDF file: what it printed can be read
// back. A path in a missing folder makes the job fail, as a printer that
// cannot be opened does.
class FilePrinter : public PrinterPlatform {
public:
    bool installed = true;
    QString path;
    int jobs = 0;

    bool hasPrinter() const override { return installed; }
    bool printJob(const RichTextBox &exo, QPrinter &printer) override {
        ++jobs;
        QPrinter job(QPrinter::HighResolution);
        job.setOutputFileName(path);
        job.setPageLayout(printer.pageLayout());
        return printOn(exo, job);
    }
};

inline QString run(const QString &program, const QStringList &arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60'000) || process.exitCode() != 0)
        qFatal("%s failed (install poppler-utils)", qPrintable(program));
    return QString::fromUtf8(process.readAllStandardOutput());
}

inline QString pdfText(const QString &pdf) {
    return run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
}

inline int pdfPages(const QString &pdf) {
    const QRegularExpression pages(QStringLiteral("Pages:\\s+(\\d+)"));
    return pages.match(run(QStringLiteral("pdfinfo"), {pdf})).captured(1).toInt();
}

inline QString pdfPageSize(const QString &pdf) {
    const QRegularExpression size(QStringLiteral("Page size:\\s+(\\S+ x \\S+)"));
    return size.match(run(QStringLiteral("pdfinfo"), {pdf})).captured(1);
}

// Each word on the first page and its box, in points from the top left.
inline QMultiHash<QString, QRectF> wordBoxes(const QString &pdf) {
    const QString html =
        run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), QStringLiteral("-l"),
                                          QStringLiteral("1"), pdf, QStringLiteral("-")});
    const QRegularExpression word(
        QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
                       "yMax=\"([\\d.]+)\">([^<]*)</word>"));
    QMultiHash<QString, QRectF> boxes;
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        boxes.insert(m.captured(5),
                     QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                            QPointF(m.captured(3).toDouble(), m.captured(4).toDouble())));
    }
    return boxes;
}

// The A4 sheet, in whole points as PDF files give it.
constexpr double a4WidthPt = 595, a4HeightPt = 842;
constexpr double ptPerMm = 72 / 25.4;

inline bool popplerMissing() {
    for (const char *tool : {"pdftotext", "pdfinfo", "pdftoppm"})
        if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty()) return true;
    return false;
}

// Where word starts on the first page, in millimetres from the sheet's left
// and top edges; far off the sheet when it is not there.
inline QPointF startMm(const QString &pdf, const QString &word) {
    const auto boxes = wordBoxes(pdf);
    return boxes.contains(word) ? boxes.value(word).topLeft() / ptPerMm : QPointF(-100, -100);
}

inline bool within1Mm(QPointF actualMm, double leftMm, double topMm) {
    return qAbs(actualMm.x() - leftMm) <= 1 && qAbs(actualMm.y() - topMm) <= 1;
}

inline QString mm(QPointF pointMm) {
    return QStringLiteral("%1 mm from the left, %2 mm from the top")
        .arg(pointMm.x(), 0, 'f', 2)
        .arg(pointMm.y(), 0, 'f', 2);
}

// A text whose paragraphs have no indent of their own.
inline void setUnindentedText(RichTextBox &box, const QString &text) {
    box.setText(text);
    box.selectAll();
    box.setSelIndent(0);
    box.setSelRightIndent(0);
    box.setSelStart(0);
}

inline QImage pageImage(const QString &pdf, const QString &stem, int page = 1) {
    const QString number = QString::number(page);
    run(QStringLiteral("pdftoppm"),
        {QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-png"), QStringLiteral("-f"),
         number, QStringLiteral("-l"), number, QStringLiteral("-singlefile"), pdf, stem});
    return QImage(stem + QStringLiteral(".png"));
}

// The box around what shows on a page's image, clipped text left out.
inline QRect inkBox(const QImage &image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 160) box |= QRect(x, y, 1, 1);
    return box;
}

// Pixels where one channel stands well above the other two, as on the
// anti-aliased edges of thin coloured letters.
inline int pixelsOf(const QImage &image, int channel) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            const int rgb[] = {pixel.red(), pixel.green(), pixel.blue()};
            if (rgb[channel] - rgb[(channel + 1) % 3] > 60 &&
                rgb[channel] - rgb[(channel + 2) % 3] > 60)
                ++count;
        }
    return count;
}

inline void select(RichTextBox &box, const QString &text) {
    box.setSelStart(box.text().indexOf(text));
    box.setSelLength(text.size());
}

// The program's printer and a stand-in for the system's, in a folder.
struct PrintBench {
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    FilePrinter system;
    Printing printing{dialogs};
    RichTextBox box;
    QString pdf = dir.filePath(QStringLiteral("imprimé.pdf"));

    PrintBench() {
        system.path = pdf;
        printing.setPlatform(system);
        box.resize(600, 400);
        box.applyDefaultTextFormat();
    }
};

} // namespace printcheck
