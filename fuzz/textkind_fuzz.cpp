// Feeds arbitrary bytes to the telling of a file's kind and to the reading of
// plain text, as "Ouvrir" and the text insertion do.

#include "document/textfilekind.h"
#include "fuzzsupport.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const TextFileKind kind = textFileKindOf(bytes);
    const qsizetype rtfStart = rtfStartOffset(bytes);
    require((kind == TextFileKind::Rtf) == (rtfStart >= 0), "RTF is told by where it starts");
    if (rtfStart >= 0) {
        require(bytes.mid(rtfStart).startsWith("{\\rtf"), "the RTF starts there");
        require(rtfStartOffset(bytes.mid(rtfStart)) == 0, "RTF from its start starts at once");
    }
    if (kind == TextFileKind::PlainText) {
        const QString text = plainTextOf(bytes);
        require(!text.contains(QLatin1Char('\r')), "plain text has one kind of line end");
        require(text.size() <= bytes.size(), "no character comes from nothing");
    }
    return 0;
}
