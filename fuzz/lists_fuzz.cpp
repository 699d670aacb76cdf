// Feeds arbitrary bytes to the RTF reader as the list table of a document
// whose paragraphs use its lists, and writes what it read back.

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
    const QByteArray table(reinterpret_cast<const char *>(data), qsizetype(size));
    const QByteArray rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1 Symbol;}}{\\*\\listtable " +
                           table +
                           "}{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}"
                           "{\\listoverride\\listid2\\ls2}}"
                           "\\pard\\ls1\\ilvl0 un\\par\\ls1\\ilvl1 deux\\par\\ls2 trois\\par"
                           "\\pard\\pntext\\pard\\plain\\ls3 quatre\\par}";
    QTextDocument first;
    const QByteArray written = readAndWrite(rtf, first);
    QTextDocument second;
    const QByteArray rewritten = readAndWrite(written, second);
    require(second.toPlainText() == first.toPlainText(), "our RTF reads back to the same text",
            first.toPlainText(), second.toPlainText());
    QTextDocument third;
    require(readAndWrite(rewritten, third) == rewritten, "our RTF of our RTF is stable",
            QString::fromLatin1(rewritten), QString::fromLatin1(writeRtf(third)));
    return 0;
}
