// Feeds arbitrary bytes to the RTF reader as a whole document and as a
// pasted piece, and writes what it read back through our writer.

#include "document/rtf/rtfreader.h"
#include "document/rtf/rtfwriter.h"
#include "fuzzsupport.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QTextCursor>
#include <QTextDocument>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

QByteArray readAndWrite(const QByteArray &rtf, QTextDocument &document) {
    QTextCursor cursor(&document);
    readRtf(rtf, cursor, RtfInsertMode::WholeDocument);
    return writeRtf(document);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    startApplication<QGuiApplication>();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));

    QTextDocument first;
    const QByteArray written = readAndWrite(input, first);
    QTextDocument second;
    const QByteArray rewritten = readAndWrite(written, second);
    require(second.toPlainText() == first.toPlainText(), "our RTF reads back to the same text",
            first.toPlainText().toUtf8(), second.toPlainText().toUtf8());
    QTextDocument third;
    const QByteArray stable = readAndWrite(rewritten, third);
    require(stable == rewritten, "our RTF of our RTF is stable", rewritten, stable);

    // Pasted into the middle of a paragraph, the piece keeps the text around it.
    QTextDocument host;
    QTextCursor cursor(&host);
    cursor.insertText(QStringLiteral("avant\napr\u00E8s"));
    cursor.setPosition(3);
    readRtf(input, cursor, RtfInsertMode::Fragment);
    const QString pasted = host.toPlainText();
    require(pasted.startsWith(QStringLiteral("ava")) &&
                pasted.endsWith(QStringLiteral("nt\napr\u00E8s")),
            "a pasted piece keeps the text around it");
    writeRtf(host, 2, host.characterCount() - 3);
    return 0;
}
