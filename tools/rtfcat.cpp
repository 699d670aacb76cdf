// Prints an RTF file as the program reads it: its plain text, the RTF the
// program writes back, or a listing of its paragraphs and runs.

#include "document/rtf/rtflog.h"
#include "document/rtf/rtfreader.h"
#include "document/rtf/rtfrunlister.h"
#include "document/rtf/rtfwriter.h"

#include <QFile>
#include <QGuiApplication>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <cstdio>

namespace {

enum class Output { Text, Rtf, Runs, Findings };

void writeOut(const QByteArray &bytes) {
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

void printError(const QString &message) {
    std::fprintf(stderr, "rtfcat: %s\n", qPrintable(message));
}

// One line per paragraph; a line break inside a paragraph starts a new line too.
QString plainText(const QTextDocument &document) {
    QString text;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QString paragraph = block.text();
        paragraph.replace(QChar::LineSeparator, QLatin1Char('\n'));
        text += paragraph + QLatin1Char('\n');
    }
    return text;
}

int usage() {
    std::fputs("usage: rtfcat [--text | --rtf | --runs | --findings] FILE\n", stderr);
    return 2;
}

} // namespace

int main(int argc, char *argv[]) {
    // Fonts and images need QtGui, but no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QStringList arguments = app.arguments().mid(1);
    Output output = Output::Text;
    if (!arguments.isEmpty() && arguments.first().startsWith(QLatin1String("--"))) {
        const QString option = arguments.takeFirst();
        if (option == QLatin1String("--text"))
            output = Output::Text;
        else if (option == QLatin1String("--rtf"))
            output = Output::Rtf;
        else if (option == QLatin1String("--runs"))
            output = Output::Runs;
        else if (option == QLatin1String("--findings"))
            output = Output::Findings;
        else
            return usage();
    }
    if (arguments.size() != 1) return usage();

    QFile file(arguments.first());
    if (!file.open(QIODevice::ReadOnly)) {
        printError(QStringLiteral("cannot read %1: %2").arg(file.fileName(), file.errorString()));
        return 1;
    }
    const QByteArray rtf = file.readAll();

    QTextDocument document;
    QTextCursor cursor(&document);
    const RtfReadResult result = readRtf(rtf, cursor, RtfInsertMode::WholeDocument);
    if (!result.ok)
        printError(QStringLiteral("%1: %2 (byte %3)")
                       .arg(file.fileName(), result.problem)
                       .arg(result.problemAt));

    switch (output) {
    case Output::Text:
        writeOut(plainText(document).toUtf8());
        break;
    case Output::Rtf:
        writeOut(writeRtf(document));
        break;
    case Output::Runs:
        writeOut(listRuns(document).toUtf8());
        break;
    case Output::Findings:
        // What the reader met, one line each; nothing for a text read whole.
        for (const QString &finding : rtflog::findings(result))
            writeOut((finding + QLatin1Char('\n')).toUtf8());
        break;
    }
    return 0;
}
