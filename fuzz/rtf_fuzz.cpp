// Feeds arbitrary bytes to the RTF reader as a whole document and as a
// pasted piece, and writes what it read back through our writer.

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
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));

    requireStableRoundTrip(input);

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
