#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>
#include <optional>

// The two single-byte code pages the program's files use. Qt's converters
// know neither, so both live here as tables.
namespace codepages {

// Windows-1252: Latin-1 with 32 printable characters in 0x80-0x9F. The five
// undefined bytes map to the C1 control of the same value and back.
QChar fromWindows1252(unsigned char byte);
std::optional<unsigned char> toWindows1252(QChar ch);
QString decodeWindows1252(const QByteArray &bytes);
// Characters outside the code page become '?'.
QByteArray encodeWindows1252(const QString &text);

// The Symbol font's own code page (RTF \fcharset2): Greek letters and
// mathematical signs. Glyphs Unicode lacks map into U+F000 + code, as
// Windows does for symbol fonts, so that every code survives a round trip.
QChar fromSymbol(unsigned char byte);
std::optional<unsigned char> toSymbol(QChar ch);

} // namespace codepages
