// Throughput of the RTF codec and of opening a file into the control.
//
//   rtf_bench generate MEGABYTES OUT.rtf        writes an exercise-like document
//   rtf_bench generate-hostile KIND MEGABYTES OUT.rtf
//                                               writes a hostile one (kinds in hostiledocument.h)
//   rtf_bench run FILE.rtf                      reads, writes and opens it, prints figures
//   rtf_bench open FILE.rtf                     only opens it into the control, as a user does
//   rtf_bench print FILE.rtf OUT.pdf            opens it, then prints the whole text to a PDF file
//
// Each run is its own process so that its peak memory is its own.

#include "base/atomicfile.h"
#include "document/layoutheight.h"
#include "document/rtf/rtfreader.h"
#include "document/rtf/rtfwriter.h"
#include "document/textproperties.h"
#include "editor/richtextbox.h"
#include "exercisedocument.h"
#include "hostiledocument.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QUrl>
#include <cstdio>
#include <sys/resource.h>

namespace {

double peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

QByteArray readFile(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return {};
    }
    return file.readAll();
}

bool writeFile(const QString &path, const QByteArray &bytes) {
    QFile out(path);
    return !bytes.isEmpty() && out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size();
}

void printPeak(double baseline, double megabytes) {
    const double peak = peakMegabytes();
    std::printf("peak memory           %7.1f MB  (%.1f MB over the %.1f MB before reading: "
                "%.1f x the file)\n",
                peak, peak - baseline, baseline, (peak - baseline) / megabytes);
}

int run(const QString &path) {
    const QByteArray rtf = readFile(path);
    if (rtf.isEmpty()) return 1;
    const double megabytes = rtf.size() / 1e6;
    // What the program holds before any text: Qt, fonts, the file's bytes.
    const double baseline = peakMegabytes();

    QElapsedTimer timer;
    timer.start();
    QTextDocument document;
    QTextCursor cursor(&document);
    document.setUndoRedoEnabled(false);
    readRtf(rtf, cursor, RtfInsertMode::WholeDocument);
    const double readSeconds = timer.nsecsElapsed() / 1e9;

    timer.restart();
    const QByteArray written = writeRtf(document);
    const double writeSeconds = timer.nsecsElapsed() / 1e9;
    std::printf("file %.2f MB, %d paragraphs\n", megabytes, document.blockCount());
    std::printf("read into a document  %7.3f s  %7.1f MB/s\n", readSeconds,
                megabytes / readSeconds);
    std::printf("write                 %7.3f s  %7.1f MB/s (%.2f MB written)\n", writeSeconds,
                written.size() / 1e6 / writeSeconds, written.size() / 1e6);
    // Laying out a hostile file may take long: the codec's figures come first.
    std::fflush(stdout);

    timer.restart();
    RichTextBox box;
    box.resize(800, 600);
    box.setTextRTF(rtf);
    const double openSeconds = timer.nsecsElapsed() / 1e9;
    timer.restart();
    box.show();
    QApplication::processEvents();
    const double showSeconds = timer.nsecsElapsed() / 1e9;
    std::printf("open into the control %7.3f s  (first paint %.3f s)\n", openSeconds, showSeconds);
    printPeak(baseline, megabytes);
    return 0;
}

// What opening a file costs the user: the control alone, shown and painted.
int openInControl(const QString &path) {
    const QByteArray rtf = readFile(path);
    if (rtf.isEmpty()) return 1;
    const double megabytes = rtf.size() / 1e6;
    RichTextBox box;
    box.resize(800, 600);
    box.show();
    QApplication::processEvents();
    const double baseline = peakMegabytes();

    QElapsedTimer timer;
    timer.start();
    const bool opened = box.setTextRTF(rtf);
    QApplication::processEvents();
    const double openSeconds = timer.nsecsElapsed() / 1e9;
    std::printf("file %.3f MB, %d paragraphs: %s in %.3f s (%.2f s per MB)\n", megabytes,
                box.document()->blockCount(), opened ? "opened and painted" : "refused as too tall",
                openSeconds, openSeconds / megabytes);
    printPeak(baseline, megabytes);
    if (opened) {
        std::printf("height                 %.0f px laid out at 800 px; estimated %.0f px at %d px "
                    "(limit %.0f)\n",
                    box.document()->documentLayout()->documentSize().height(),
                    layoutheight::estimatedPx(*box.document()), layoutheight::narrowestLinePx,
                    layoutheight::limitPx);
    } else {
        QTextDocument refused;
        QTextCursor cursor(&refused);
        readRtf(rtf, cursor, RtfInsertMode::WholeDocument);
        std::printf("height                 estimated %.0f px at %d px (limit %.0f)\n",
                    layoutheight::estimatedPx(refused), layoutheight::narrowestLinePx,
                    layoutheight::limitPx);
    }
    return 0;
}

// What "Imprimer" costs when the pages go to a PDF file: the whole text,
// printed on A4 pages into memory, then written.
int printToPdf(const QString &path, const QString &pdfPath) {
    const QByteArray rtf = readFile(path);
    if (rtf.isEmpty()) return 1;
    RichTextBox box;
    box.resize(800, 600);
    if (!box.setTextRTF(rtf)) return 1;
    QElapsedTimer timer;
    timer.start();
    QBuffer pages;
    pages.open(QIODevice::WriteOnly);
    bool printed = false;
    {
        QPdfWriter pdf(&pages);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
        printed = box.selPrint(pdf);
    }
    const bool written = printed && atomicfile::write(pdfPath, pages.data());
    const double seconds = timer.nsecsElapsed() / 1e9;
    std::printf("file %.2f MB, %d paragraphs: printed to a %.2f MB PDF in %.3f s%s\n",
                rtf.size() / 1e6, box.document()->blockCount(), pages.size() / 1e6, seconds,
                written ? "" : " (FAILED)");
    return written ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args.at(1) == QLatin1String("generate"))
        return writeFile(args.at(3), generate(qint64(args.at(2).toDouble() * 1e6))) ? 0 : 1;
    if (args.size() == 5 && args.at(1) == QLatin1String("generate-hostile")) {
        const QByteArray rtf = hostile::generate(args.at(2), qint64(args.at(3).toDouble() * 1e6));
        if (rtf.isEmpty())
            std::fprintf(stderr, "kinds: %s\n", qPrintable(hostile::kinds.join(u' ')));
        return writeFile(args.at(4), rtf) ? 0 : 1;
    }
    if (args.size() == 3 && args.at(1) == QLatin1String("run")) return run(args.at(2));
    if (args.size() == 3 && args.at(1) == QLatin1String("open")) return openInControl(args.at(2));
    if (args.size() == 4 && args.at(1) == QLatin1String("print"))
        return printToPdf(args.at(2), args.at(3));
    std::fprintf(stderr,
                 "usage: rtf_bench generate MEGABYTES OUT.rtf | generate-hostile KIND "
                 "MEGABYTES OUT.rtf | run FILE.rtf | open FILE.rtf | print FILE.rtf OUT.pdf\n");
    return 2;
}
