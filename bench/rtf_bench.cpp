// Throughput of the RTF codec and of opening a file into the control.
//
//   rtf_bench generate MEGABYTES OUT.rtf [KIND]  writes a document: exercise (the default),
//                                               prose or formulas
//   rtf_bench generate-photos N WIDTH HEIGHT jpeg|png OUT.rtf
//                                               writes a statement with N photos of
//                                               WIDTHxHEIGHT pixels, each shown 10.6 x 7.9 cm
//   rtf_bench generate-hostile KIND MEGABYTES OUT.rtf
//                                               writes a hostile one (kinds in hostiledocument.h)
//   rtf_bench run FILE.rtf                      reads, writes and opens it, prints figures
//   rtf_bench open FILE.rtf                     only opens it into the control, as a user does
//   rtf_bench window-open FILE.rtf              the same up to the end of the layout, to profile
//   rtf_bench window-keys FILE.rtf              the same, then 40 keystrokes at the start
//   rtf_bench window FILE.rtf                   in the main window: start-up, "Ouvrir" to the
//                                               first paint, the layout that follows, keystrokes,
//                                               bold on everything, switching texts
//   rtf_bench print FILE.rtf OUT.pdf            opens it, then prints the whole text to a PDF file
//
// Each run is its own process so that its peak memory is its own.

#include "app/mainwindow.h"
#include "app/selectionrefresh.h"
#include "base/atomicfile.h"
#include "base/dialogs.h"
#include "base/sharedstate.h"
#include "document/layoutheight.h"
#include "document/layoutwork.h"
#include "document/rtf/rtfreader.h"
#include "document/rtf/rtfwriter.h"
#include "document/textproperties.h"
#include "editor/richtextbox.h"
#include "editor/textfiles.h"
#include "exercisedocument.h"
#include "hostiledocument.h"
#include "photodocument.h"
#include "print/printing.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextList>
#include <QToolButton>
#include <QUrl>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

namespace {

// Started first thing in main(), for the start-up figure.
QElapsedTimer sinceStart;

double peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

// Resident now, from /proc: what stays once a passing buffer (the file read
// whole) is freed.
double residentMegabytes() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly)) return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields.at(1).toDouble() * 4096 / 1e6 : 0;
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

// Tells when a widget has been painted: once the paint event is through,
// the user sees the text.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(QWidget *widget) { widget->installEventFilter(this); }
    void reset() { m_painted = false; }
    // Runs the event loop until the next paint; false after a minute without.
    bool waitFor() {
        QElapsedTimer timer;
        timer.start();
        while (!m_painted && timer.elapsed() < 60'000)
            QApplication::processEvents(); // the paint seen is through when this returns
        return m_painted;
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override {
        if (event->type() == QEvent::Paint) m_painted = true;
        return false;
    }

private:
    bool m_painted = false;
};

struct Spread {
    double min, median;
};

Spread spreadOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return {values.front(), values.at(values.size() / 2)};
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
    // As the editor reads a file: one edit block.
    cursor.beginEditBlock();
    readRtf(rtf, cursor, RtfInsertMode::WholeDocument);
    cursor.endEditBlock();
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

    RichTextBox box;
    box.resize(800, 600);
    box.show();
    PaintWatch painted(box.viewport());
    painted.waitFor();
    painted.reset();
    timer.restart();
    box.setTextRTF(rtf);
    painted.waitFor();
    std::printf("open into the control %7.3f s  (shown, to the first paint)\n",
                timer.nsecsElapsed() / 1e9);
    printPeak(baseline, megabytes);
    return 0;
}

void printLayoutWork(const QTextDocument &document) {
    double most = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        most = std::max(most, layoutwork::paragraphSteps(block));
    std::printf("layout work            %.3g steps in the longest paragraph (limit %.3g)\n", most,
                layoutwork::maxParagraphSteps);
}

// What opening a file costs the user: the control alone, shown and painted.
int openInControl(const QString &path) {
    const QByteArray rtf = readFile(path);
    if (rtf.isEmpty()) return 1;
    const double megabytes = rtf.size() / 1e6;
    RichTextBox box;
    box.resize(800, 600);
    box.show();
    PaintWatch painted(box.viewport());
    painted.waitFor();
    painted.reset();
    const double baseline = peakMegabytes();

    QElapsedTimer timer;
    timer.start();
    const bool opened = box.setTextRTF(rtf);
    if (opened) painted.waitFor();
    const double openSeconds = timer.nsecsElapsed() / 1e9;
    std::printf("file %.3f MB, %d paragraphs: %s in %.3f s (%.2f s per MB)\n", megabytes,
                box.document()->blockCount(), opened ? "opened and painted" : "refused",
                openSeconds, openSeconds / megabytes);
    printPeak(baseline, megabytes);
    if (opened) printLayoutWork(*box.document());
    if (opened) {
        std::printf("height                 %.0f px laid out at 800 px; estimated %.0f px at %d px "
                    "(limit %.0f)\n",
                    box.document()->documentLayout()->documentSize().height(),
                    layoutheight::estimatedPx(*box.document()), layoutheight::narrowestLinePx,
                    layoutheight::limitPx);
    } else {
        QTextDocument refused;
        QTextCursor cursor(&refused);
        const bool listTooLong =
            readRtf(rtf, cursor, RtfInsertMode::WholeDocument, RtfLongLists::GiveUp).tooLongToShow;
        std::printf("height                 estimated %.0f px at %d px (limit %.0f)%s\n",
                    layoutheight::estimatedPx(refused), layoutheight::narrowestLinePx,
                    layoutheight::limitPx, listTooLong ? "; a numbered list too long" : "");
        printLayoutWork(refused);
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

// A file dialog that always answers with one file.
class OneFileDialogs : public Dialogs {
public:
    QString path;
    Answer message(const Message &) override { return Answer::Ok; }
    std::optional<QString> input(const QString &, const QString &, const QString &) override {
        return std::nullopt;
    }
    std::optional<QString> openFileName(const FileRequest &) override { return path; }
    std::optional<QString> saveFileName(const FileRequest &) override { return std::nullopt; }
    bool setupPrinter(QPrinter &) override { return false; }
    int runDialog(QDialog &) override { return 0; }
    bool showHelp(const QString &) override { return false; }
};

// Runs the event loop until the layout Qt goes on with after the first
// paint is done (the last paragraph has its lines), and returns the longest
// the user waited for any one round of events.
double layOutTheRest(RichTextBox &box, double *totalSeconds) {
    QElapsedTimer total, round;
    total.start();
    double longest = 0;
    const QTextBlock last = box.document()->lastBlock();
    while (last.layout()->lineCount() == 0 && total.elapsed() < 120'000) {
        round.start();
        QApplication::processEvents();
        longest = std::max(longest, round.nsecsElapsed() / 1e9);
    }
    *totalSeconds = total.nsecsElapsed() / 1e9;
    return longest;
}

void printSpread(const char *what, const std::vector<double> &seconds, double factor,
                 const char *unit) {
    const Spread spread = spreadOf(seconds);
    std::printf("%-30s min %8.3f %s, median %8.3f %s (%zu times)\n", what, spread.min * factor,
                unit, spread.median * factor, unit, seconds.size());
}

// Every figure the user feels, in the main window as the program shows it.
int inWindow(const QString &path, bool openOnly, bool startKeysOnly = false) {
    const double megabytes = QFileInfo(path).size() / 1e6;
    QTemporaryDir folder;
    OneFileDialogs dialogs;
    dialogs.path = path;
    MainWindow window(dialogs, folder.path(), folder.path());
    RichTextBox &exo = *window.exo();
    PaintWatch windowPainted(&window);
    window.show();
    windowPainted.waitFor();
    std::printf("start-up to the window shown  %8.3f s (from main(), after the process started)\n",
                sinceStart.nsecsElapsed() / 1e9);
    PaintWatch painted(exo.viewport());
    painted.waitFor();
    const double baseline = peakMegabytes();
    const double residentBefore = residentMegabytes();

    QElapsedTimer timer;
    timer.start();
    painted.reset();
    window.textFiles().ouvre();
    painted.waitFor();
    const double openSeconds = timer.nsecsElapsed() / 1e9;
    std::printf("file %.2f MB, %d paragraphs, in a %dx%d editor\n", megabytes,
                exo.document()->blockCount(), exo.viewport()->width(), exo.viewport()->height());
    std::printf("\"Ouvrir\" to the first paint   %8.3f s\n", openSeconds);
    double layoutSeconds = 0;
    const double stall = layOutTheRest(exo, &layoutSeconds);
    std::printf("rest of the layout            %8.3f s\n", layoutSeconds);
    std::printf("longest event-loop stall      %8.1f ms\n", stall * 1e3);
    std::printf("memory over the empty window  %8.1f MB (peak %.1f MB)\n",
                peakMegabytes() - baseline, peakMegabytes());
    std::printf("held after opening            %8.1f MB more than the empty window\n",
                residentMegabytes() - residentBefore);
    std::fflush(stdout);
    if (openOnly) return 0;

    // Typing: the caret at the start, in the middle, at the end.
    const int length = exo.document()->characterCount() - 1;
    const std::pair<const char *, int> places[] = {{"keystroke at the start", 0},
                                                   {"keystroke in the middle", length / 2},
                                                   {"keystroke at the end", length}};
    for (const auto &[what, position] : places) {
        if (startKeysOnly && position != 0) continue;
        QTextCursor cursor(exo.document());
        cursor.setPosition(position);
        exo.setTextCursor(cursor);
        exo.setFocus();
        std::vector<double> seconds;
        for (int i = 0; i < (startKeysOnly ? 40 : 7); ++i) {
            QTest::qWait(20);
            painted.reset();
            timer.restart();
            QTest::keyClick(&exo, Qt::Key_A);
            painted.waitFor();
            seconds.push_back(timer.nsecsElapsed() / 1e9);
        }
        printSpread(what, seconds, 1e3, "ms");
    }
    if (startKeysOnly) return 0;
    {
        std::vector<double> seconds;
        for (int i = 0; i < 7; ++i) {
            timer.restart();
            window.refresh().maj();
            seconds.push_back(timer.nsecsElapsed() / 1e9);
        }
        printSpread("maj, caret", seconds, 1e3, "ms");
    }
    std::fflush(stdout);

    // Bold on everything, from the toolbar's button.
    exo.selectAll();
    QApplication::processEvents();
    {
        std::vector<double> seconds;
        for (int i = 0; i < 3; ++i) {
            timer.restart();
            window.refresh().maj();
            seconds.push_back(timer.nsecsElapsed() / 1e9);
        }
        printSpread("maj, all selected", seconds, 1e3, "ms");
    }
    auto *bold = window.findChild<QToolButton *>(QStringLiteral("Check1(1)"));
    {
        std::vector<double> seconds;
        for (int i = 0; i < 3; ++i) {
            painted.reset();
            timer.restart();
            if (bold)
                bold->click();
            else
                exo.setSelBold(i % 2 == 0);
            painted.waitFor();
            seconds.push_back(timer.nsecsElapsed() / 1e9);
            QTest::qWait(20);
        }
        printSpread(bold ? "select-all, bold button" : "select-all, setSelBold", seconds, 1, "s ");
    }
    std::fflush(stdout);

    // Statement and correction both this file, shown one after the other.
    auto *textexo = window.findChild<QAction *>(QStringLiteral("textexo"));
    auto *textcor = window.findChild<QAction *>(QStringLiteral("textcor"));
    auto *sujetampon = window.findChild<RichTextBox *>(QStringLiteral("sujetampon"));
    auto *corectampon = window.findChild<RichTextBox *>(QStringLiteral("corectampon"));
    if (!textexo || !textcor || !sujetampon || !corectampon) return 0;
    window.textFiles().setTextPath(TextFiles::Text::Statement, path);
    window.textFiles().setTextPath(TextFiles::Text::Correction, path + QStringLiteral(".cor"));
    textexo->setVisible(true);
    textcor->setVisible(true);
    sujetampon->loadFile(path);
    corectampon->loadFile(path);
    exo.loadFile(path);
    window.state().nomfichier = path;
    window.state().sauvegarde = 1;
    double ignored = 0;
    layOutTheRest(exo, &ignored);
    std::vector<double> seconds;
    for (int i = 0; i < 4; ++i) {
        painted.reset();
        timer.restart();
        if (i % 2 == 0)
            window.textFiles().showCorrection();
        else
            window.textFiles().showStatement();
        painted.waitFor();
        seconds.push_back(timer.nsecsElapsed() / 1e9);
        layOutTheRest(exo, &ignored);
    }
    printSpread("statement <-> correction", seconds, 1, "s ");
    std::printf("peak memory after switching   %8.1f MB\n", peakMegabytes());

    // Saving the text shown, then printing it to a PDF file, kept to be looked at.
    const QString saved = folder.filePath(QStringLiteral("saved.rtf"));
    timer.restart();
    const bool wrote = exo.saveFile(saved);
    std::printf("save                          %8.3f s (%.2f MB%s)\n", timer.nsecsElapsed() / 1e9,
                QFileInfo(saved).size() / 1e6, wrote ? "" : ", FAILED");
    const QString pdf = QDir::temp().filePath(QStringLiteral("rtf_bench.pdf"));
    timer.restart();
    const bool printed = window.printing().writePdf(exo, pdf);
    std::printf("print to PDF                  %8.3f s (%s%s)\n", timer.nsecsElapsed() / 1e9,
                qPrintable(pdf), printed ? "" : ", FAILED");
    std::printf("peak memory at the end        %8.1f MB\n", peakMegabytes());
    return 0;
}

} // namespace

int main(int argc, char *argv[]) {
    sinceStart.start();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if ((args.size() == 4 || args.size() == 5) && args.at(1) == QLatin1String("generate")) {
        const auto kind = documentKind(args.size() == 5 ? args.at(4) : QStringLiteral("exercise"));
        if (!kind) {
            std::fprintf(stderr, "kinds: exercise prose formulas\n");
            return 2;
        }
        return writeFile(args.at(3), generate(qint64(args.at(2).toDouble() * 1e6), *kind)) ? 0 : 1;
    }
    if (args.size() == 7 && args.at(1) == QLatin1String("generate-photos"))
        return writeFile(args.at(6),
                         generatePhotos(args.at(2).toInt(),
                                        QSize(args.at(3).toInt(), args.at(4).toInt()), args.at(5)))
                   ? 0
                   : 1;
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
    if (args.size() == 3 && args.at(1) == QLatin1String("window"))
        return inWindow(args.at(2), false);
    if (args.size() == 3 && args.at(1) == QLatin1String("window-open"))
        return inWindow(args.at(2), true);
    if (args.size() == 3 && args.at(1) == QLatin1String("window-keys"))
        return inWindow(args.at(2), false, true);
    std::fprintf(
        stderr,
        "usage: rtf_bench generate MEGABYTES OUT.rtf [KIND] | generate-photos N WIDTH HEIGHT "
        "jpeg|png OUT.rtf | generate-hostile KIND "
        "MEGABYTES OUT.rtf | run FILE.rtf | open FILE.rtf | window FILE.rtf | print "
        "FILE.rtf OUT.pdf\n");
    return 2;
}
