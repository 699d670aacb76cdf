#include "document/textfilekind.h"

#include "base/codepages.h"

#include <QStringDecoder>

TextFileKind textFileKindOf(const QByteArray &bytes) {
    if (bytes.startsWith("{\\rtf")) return TextFileKind::Rtf;
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
    QByteArray content = bytes;
    if (content.endsWith('\x1A')) content.chop(1);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(content);
    if (utf8.hasError()) text = codepages::decodeWindows1252(content);
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
