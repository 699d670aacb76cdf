// Feeds arbitrary bytes to the RTF reader as the list table of a document
// whose paragraphs use its lists, and writes what it read back.

#include "document/rtf/rtfreader.h"
#include "document/rtf/rtfwriter.h"
#include "rtfroundtrip.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QTextCursor>
#include <QTextDocument>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

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
    requireStableRoundTrip(rtf);
    return 0;
}
