#include "document/textfilekind.h"

#include "base/codepages.h"

#include <QStringDecoder>

namespace {

constexpr char utf8Bom[] = "\xEF\xBB\xBF";

bool startsWithUtf16Bom(const QByteArray &bytes) {
    return bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
}

} // namespace

qsizetype rtfStartOffset(const QByteArray &bytes) {
    qsizetype at = bytes.startsWith(utf8Bom) ? qsizetype(sizeof utf8Bom - 1) : 0;
    while (at < bytes.size() && (bytes[at] == ' ' || bytes[at] == '\t' || bytes[at] == '\r' ||
                                 bytes[at] == '\n' || bytes[at] == '\f'))
        ++at;
    return QByteArrayView(bytes).sliced(at).startsWith("{\\rtf") ? at : -1;
}

TextFileKind textFileKindOf(const QByteArray &bytes) {
    if (rtfStartOffset(bytes) >= 0) return TextFileKind::Rtf;
    // Its every other byte is null: it is told by its mark alone.
    if (startsWithUtf16Bom(bytes)) return TextFileKind::PlainText;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes.at(i));
        if (byte >= 0x20 || byte == '\t' || byte == '\n' || byte == '\r' || byte == '\f') continue;
        // Old DOS editors end their files with Ctrl+Z.
        if (byte == 0x1A && i == bytes.size() - 1) continue;
        return TextFileKind::NotText;
    }
    return TextFileKind::PlainText;
}

QString plainTextOf(const QByteArray &bytes) {
    QString text;
    if (startsWithUtf16Bom(bytes)) {
        QStringDecoder utf16(bytes.startsWith('\xFF') ? QStringDecoder::Utf16LE
                                                      : QStringDecoder::Utf16BE);
        text = utf16.decode(QByteArrayView(bytes).sliced(2));
    } else {
        QByteArray content = bytes;
        if (content.endsWith('\x1A')) content.chop(1);
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        text = utf8.decode(content);
        if (utf8.hasError()) text = codepages::decodeWindows1252(content);
    }
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QString withRtfExtension(const QString &path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    const QString stem = dot > slash + 1 ? path.left(dot) : path;
    return stem + QStringLiteral(".rtf");
}
