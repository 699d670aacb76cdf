#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringDecoder>
#include <array>
#include <memory>
#include <optional>
#include <vector>

// The two single-byte code pages the program's files use. Qt's converters
// know neither, so both live here as tables. Other code pages, which only
// come in files from elsewhere, go through Qt's converters (ByteDecoder).
namespace codepages {

// Windows numbers its code pages; the Symbol font's has one of its own.
constexpr int windows1252 = 1252;
constexpr int symbol = 42;
constexpr int utf8 = 65001;

// The code page of a Windows character set (RTF's \fcharsetN); 0 for a set
// that names none (the default set, or one unknown).
int charsetCodePage(int charset);

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

// Decodes one code page a byte at a time, for formats that may split a
// multi-byte character over several escapes (RTF's \'hh).
class ByteDecoder {
public:
    // Null when neither our tables nor Qt's converters know the code page.
    static std::unique_ptr<ByteDecoder> create(int codePage);

    int codePage() const { return m_codePage; }
    bool isMultiByte() const { return m_multiByte; }
    // The character of a byte standing alone: U+FFFD where the code page has
    // none, 0 for a lead byte.
    char16_t single(unsigned char byte) const { return m_single[byte]; }
    // How many bytes follow a lead byte (0 for any other byte).
    int trailCount(unsigned char byte) const { return m_trailCount[byte]; }
    bool isTrail(unsigned char byte) const;
    // The characters of a lead byte and all its trail bytes.
    QString decodeSequence(QByteArrayView sequence);

private:
    ByteDecoder(int codePage, QStringDecoder converter);

    int m_codePage;
    bool m_multiByte = false;
    QStringDecoder m_converter;
    std::array<char16_t, 256> m_single{};
    std::array<unsigned char, 256> m_trailCount{};
    std::vector<char16_t> m_pairs; // decoded two-byte sequences, 0 until met
};

} // namespace codepages
