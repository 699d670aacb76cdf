// Throughput of the RTF codec and of opening a file into the control.
//
//   rtf_bench generate MEGABYTES OUT.rtf   writes an exercise-like document
//   rtf_bench run FILE.rtf                 reads, writes and opens it, prints figures
//
// Each run is its own process so that its peak memory is its own.

#include "editor/richtextbox.h"
#include "editor/rtf/rtfreader.h"
#include "editor/rtf/rtfwriter.h"
#include "editor/textproperties.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QUrl>
#include <cstdio>
#include <sys/resource.h>

namespace {

const QStringList sentences = {
    QStringLiteral("On dissout une masse m = 2,5 g de sulfate de cuivre dans l'eau distillée."),
    QStringLiteral("Écrire l'équation de la réaction et préciser le rôle de chaque espèce."),
    QStringLiteral("La célérité des ondes à la surface de l'eau dépend de la profondeur."),
    QStringLiteral("Déterminer la concentration molaire effective des ions présents."),
};

QTextCharFormat plainFormat() {
    QTextCharFormat format;
    textprops::setFontName(format, QStringLiteral("Arial"));
    format.setFontPointSize(12);
    return format;
}

void insertFormula(QTextCursor &cursor) {
    // SO4 2- : a lowered index and a raised charge, as the ion tool makes them.
    QTextCharFormat normal = plainFormat();
    QTextCharFormat index = normal;
    index.setFontPointSize(8);
    textprops::setOffsetTwips(index, -60);
    QTextCharFormat charge = normal;
    charge.setFontPointSize(8);
    textprops::setOffsetTwips(charge, 96);
    cursor.insertText(QStringLiteral(" Cu"), normal);
    cursor.insertText(QStringLiteral("2+"), charge);
    cursor.insertText(QStringLiteral(" + SO"), normal);
    cursor.insertText(QStringLiteral("4"), index);
    cursor.insertText(QStringLiteral("2-"), charge);
    QTextCharFormat symbol = normal;
    textprops::setFontName(symbol, QStringLiteral("Symbol"));
    cursor.insertText(QStringLiteral(" \u21D4 \u0394\u03B1 "), symbol);
    QTextCharFormat coloured = normal;
    coloured.setForeground(QColor(0, 0, 200));
    coloured.setFontWeight(QFont::Bold);
    cursor.insertText(QStringLiteral("réponse"), coloured);
}

void insertPicture(QTextCursor &cursor, QTextDocument &document, int number) {
    QImage image(48, 32, QImage::Format_RGB32);
    image.fill(QColor::fromHsv(number * 37 % 360, 180, 220));
    QPainter(&image).drawEllipse(8, 4, 30, 24);
    const QString name = textprops::newImageName();
    document.addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat format;
    format.setName(name);
    format.setWidth(image.width());
    format.setHeight(image.height());
    cursor.insertImage(format);
}

// Paragraphs until the RTF is at least the wanted size.
QByteArray generate(qint64 wantedBytes) {
    QTextDocument document;
    QTextCursor cursor(&document);
    int paragraph = 0;
    qint64 estimated = 0;
    qint64 perParagraph = 0;
    while (true) {
        QTextBlockFormat block;
        block.setLeftMargin(paragraph % 7 == 0 ? 20 : 0);
        block.setAlignment(paragraph % 11 == 0 ? Qt::AlignHCenter : Qt::AlignLeft);
        block.setTabPositions({QTextOption::Tab(115, QTextOption::LeftTab)});
        if (paragraph > 0)
            cursor.insertBlock(block, plainFormat());
        else
            cursor.setBlockFormat(block);
        if (paragraph % 5 == 1) {
            QTextListFormat bullets;
            bullets.setStyle(QTextListFormat::ListDisc);
            cursor.createList(bullets);
        }
        cursor.insertText(sentences.at(paragraph % sentences.size()), plainFormat());
        cursor.insertText(QStringLiteral("\t"), plainFormat());
        insertFormula(cursor);
        if (paragraph % 400 == 3) insertPicture(cursor, document, paragraph);
        ++paragraph;
        if (paragraph == 200) perParagraph = writeRtf(document).size() / paragraph;
        if (perParagraph > 0) {
            estimated = perParagraph * paragraph;
            if (estimated >= wantedBytes) {
                const QByteArray rtf = writeRtf(document);
                if (rtf.size() >= wantedBytes) return rtf;
                perParagraph = rtf.size() / paragraph;
            }
        }
    }
}

double peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

int run(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return 1;
    }
    const QByteArray rtf = file.readAll();
    const double megabytes = rtf.size() / 1e6;

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

    timer.restart();
    RichTextBox box;
    box.resize(800, 600);
    box.setTextRTF(rtf);
    const double openSeconds = timer.nsecsElapsed() / 1e9;
    timer.restart();
    box.show();
    QApplication::processEvents();
    const double showSeconds = timer.nsecsElapsed() / 1e9;

    std::printf("file %.2f MB, %d paragraphs\n", megabytes, document.blockCount());
    std::printf("read into a document  %7.3f s  %7.1f MB/s\n", readSeconds,
                megabytes / readSeconds);
    std::printf("write                 %7.3f s  %7.1f MB/s (%.2f MB written)\n", writeSeconds,
                written.size() / 1e6 / writeSeconds, written.size() / 1e6);
    std::printf("open into the control %7.3f s  (first paint %.3f s)\n", openSeconds, showSeconds);
    std::printf("peak memory           %7.1f MB  (%.1f x the file)\n", peakMegabytes(),
                peakMegabytes() / megabytes);
    return 0;
}

} // namespace

int main(int argc, char *argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args.at(1) == QLatin1String("generate")) {
        const QByteArray rtf = generate(qint64(args.at(2).toDouble() * 1e6));
        QFile out(args.at(3));
        if (!out.open(QIODevice::WriteOnly) || out.write(rtf) != rtf.size()) return 1;
        return 0;
    }
    if (args.size() == 3 && args.at(1) == QLatin1String("run")) return run(args.at(2));
    std::fprintf(stderr, "usage: rtf_bench generate MEGABYTES OUT.rtf | run FILE.rtf\n");
    return 2;
}
