#include "base/codepages.h"

#include <QHash>
#include <array>
#include <utility>

namespace codepages {
namespace {

// 0x80-0x9F of Windows-1252; 0 marks the five undefined bytes.
constexpr std::array<char16_t, 32> windows1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// 0x20-0xFF of the Symbol code page; 0 marks a glyph without its own Unicode
// character (it maps into U+F000 + code).
constexpr std::array<char16_t, 224> symbolTable = {
    // 0x20
    0x0020, 0x0021, 0x2200, 0x0023, 0x2203, 0x0025, 0x0026, 0x220B, 0x0028, 0x0029, 0x2217, 0x002B,
    0x002C, 0x2212, 0x002E, 0x002F,
    // 0x30
    0x0030, 0x0031, 0x0032, 0x0033, 0x0034, 0x0035, 0x0036, 0x0037, 0x0038, 0x0039, 0x003A, 0x003B,
    0x003C, 0x003D, 0x003E, 0x003F,
    // 0x40
    0x2245, 0x0391, 0x0392, 0x03A7, 0x0394, 0x0395, 0x03A6, 0x0393, 0x0397, 0x0399, 0x03D1, 0x039A,
    0x039B, 0x039C, 0x039D, 0x039F,
    // 0x50
    0x03A0, 0x0398, 0x03A1, 0x03A3, 0x03A4, 0x03A5, 0x03C2, 0x03A9, 0x039E, 0x03A8, 0x0396, 0x005B,
    0x2234, 0x005D, 0x22A5, 0x005F,
    // 0x60
    0, 0x03B1, 0x03B2, 0x03C7, 0x03B4, 0x03B5, 0x03C6, 0x03B3, 0x03B7, 0x03B9, 0x03D5, 0x03BA,
    0x03BB, 0x03BC, 0x03BD, 0x03BF,
    // 0x70
    0x03C0, 0x03B8, 0x03C1, 0x03C3, 0x03C4, 0x03C5, 0x03D6, 0x03C9, 0x03BE, 0x03C8, 0x03B6, 0x007B,
    0x007C, 0x007D, 0x223C, 0,
    // 0x80 - 0x9F: unused
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    // 0xA0
    0x20AC, 0x03D2, 0x2032, 0x2264, 0x2044, 0x221E, 0x0192, 0x2663, 0x2666, 0x2665, 0x2660, 0x2194,
    0x2190, 0x2191, 0x2192, 0x2193,
    // 0xB0
    0x00B0, 0x00B1, 0x2033, 0x2265, 0x00D7, 0x221D, 0x2202, 0x2022, 0x00F7, 0x2260, 0x2261, 0x2248,
    0x2026, 0x23D0, 0x23AF, 0x21B5,
    // 0xC0
    0x2135, 0x2111, 0x211C, 0x2118, 0x2297, 0x2295, 0x2205, 0x2229, 0x222A, 0x2283, 0x2287, 0x2284,
    0x2282, 0x2286, 0x2208, 0x2209,
    // 0xD0
    0x2220, 0x2207, 0x00AE, 0x00A9, 0x2122, 0x220F, 0x221A, 0x22C5, 0x00AC, 0x2227, 0x2228, 0x21D4,
    0x21D0, 0x21D1, 0x21D2, 0x21D3,
    // 0xE0: the sans-serif registered, copyright and trade marks repeat 0xD2-0xD4
    0x25CA, 0x2329, 0, 0, 0, 0x2211, 0x239B, 0x239C, 0x239D, 0x23A1, 0x23A2, 0x23A3, 0x23A7, 0x23A8,
    0x23A9, 0x23AA,
    // 0xF0
    0, 0x232A, 0x222B, 0x2320, 0x23AE, 0x2321, 0x239E, 0x239F, 0x23A0, 0x23A4, 0x23A5, 0x23A6,
    0x23AB, 0x23AC, 0x23AD, 0};

constexpr char16_t privateUseBase = 0xF000;

const QHash<char16_t, unsigned char> &unicodeToSymbol() {
    static const QHash<char16_t, unsigned char> table = [] {
        QHash<char16_t, unsigned char> map;
        for (int code = 0x20; code <= 0xFF; ++code) {
            const char16_t u = symbolTable[code - 0x20];
            if (u != 0) map.insert(u, static_cast<unsigned char>(code));
        }
        return map;
    }();
    return table;
}

struct CharsetCodePage {
    int charset;
    int codePage;
};

constexpr CharsetCodePage charsetCodePages[] = {
    {0, 1252},   {2, symbol}, {77, 10000}, {128, 932},  {129, 949},  {134, 936},
    {136, 950},  {161, 1253}, {162, 1254}, {163, 1258}, {177, 1255}, {178, 1256},
    {186, 1257}, {204, 1251}, {222, 874},  {238, 1250}, {255, 437},
};

// Qt's names for the code pages files name by number.
struct CodePageName {
    int codePage;
    const char *name;
};

constexpr CodePageName codePageNames[] = {
    {437, "IBM437"},      {850, "IBM850"},      {852, "IBM852"}, {866, "IBM866"},
    {874, "windows-874"}, {932, "Shift_JIS"},   {936, "GBK"},    {949, "windows-949"},
    {950, "Big5"},        {10000, "macintosh"}, {utf8, "UTF-8"},
};

// The lead bytes of the double-byte code pages Windows uses for East Asian
// text; any other byte stands alone.
bool isDoubleByteLead(int codePage, unsigned char byte) {
    switch (codePage) {
    case 932:
        return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    case 936:
    case 949:
    case 950:
        return byte >= 0x81 && byte <= 0xFE;
    default:
        return false;
    }
}

int utf8TrailCount(unsigned char byte) {
    if (byte >= 0xC2 && byte <= 0xDF) return 1;
    if (byte >= 0xE0 && byte <= 0xEF) return 2;
    if (byte >= 0xF0 && byte <= 0xF4) return 3;
    return 0;
}

QStringDecoder converterFor(int codePage) {
    for (const CodePageName &known : codePageNames) {
        if (known.codePage == codePage) {
            QStringDecoder converter(known.name, QStringConverter::Flag::Stateless);
            // Older converters know Korean's Windows code page by its base only.
            if (!converter.isValid() && codePage == 949)
                converter = QStringDecoder("EUC-KR", QStringConverter::Flag::Stateless);
            return converter;
        }
    }
    const QByteArray windowsName = "windows-" + QByteArray::number(codePage);
    QStringDecoder converter(windowsName.constData(), QStringConverter::Flag::Stateless);
    if (!converter.isValid()) {
        const QByteArray ibmName = "IBM" + QByteArray::number(codePage);
        converter = QStringDecoder(ibmName.constData(), QStringConverter::Flag::Stateless);
    }
    return converter;
}

} // namespace

int charsetCodePage(int charset) {
    for (const CharsetCodePage &known : charsetCodePages) {
        if (known.charset == charset) return known.codePage;
    }
    return 0;
}

ByteDecoder::ByteDecoder(int codePage, QStringDecoder converter)
    : m_codePage(codePage), m_converter(std::move(converter)) {}

std::unique_ptr<ByteDecoder> ByteDecoder::create(int codePage) {
    if (codePage == windows1252 || codePage == symbol) {
        std::unique_ptr<ByteDecoder> decoder(new ByteDecoder(codePage, QStringDecoder()));
        for (int byte = 0; byte < 256; ++byte) {
            const auto b = static_cast<unsigned char>(byte);
            decoder->m_single[b] =
                (codePage == symbol ? fromSymbol(b) : fromWindows1252(b)).unicode();
        }
        return decoder;
    }
    QStringDecoder converter = converterFor(codePage);
    if (!converter.isValid()) return nullptr;
    std::unique_ptr<ByteDecoder> decoder(new ByteDecoder(codePage, std::move(converter)));
    for (int byte = 0; byte < 256; ++byte) {
        const auto b = static_cast<unsigned char>(byte);
        const int trail = codePage == utf8 ? utf8TrailCount(b) : isDoubleByteLead(codePage, b);
        decoder->m_trailCount[b] = static_cast<unsigned char>(trail);
        if (trail > 0) {
            decoder->m_multiByte = true;
            continue;
        }
        if (byte < 0x80) {
            // Every code page RTF allows keeps ASCII where it is.
            decoder->m_single[b] = char16_t(byte);
            continue;
        }
        const char raw = static_cast<char>(byte);
        const QString decoded = decoder->m_converter.decode(QByteArrayView(&raw, 1));
        decoder->m_single[b] = decoded.size() == 1 ? decoded[0].unicode() : char16_t(0xFFFD);
    }
    if (decoder->m_multiByte && codePage != utf8) decoder->m_pairs.assign(0x10000, 0);
    return decoder;
}

bool ByteDecoder::isTrail(unsigned char byte) const {
    if (m_codePage == utf8) return byte >= 0x80 && byte <= 0xBF;
    return byte >= 0x40 && byte <= 0xFE && byte != 0x7F;
}

QString ByteDecoder::decodeSequence(QByteArrayView sequence) {
    if (m_codePage == utf8) return QString::fromUtf8(sequence);
    if (sequence.size() != 2 || m_pairs.empty()) return m_converter.decode(sequence);
    const auto pair = size_t(static_cast<unsigned char>(sequence[0]) << 8 |
                             static_cast<unsigned char>(sequence[1]));
    if (m_pairs[pair] == 0) {
        const QString decoded = m_converter.decode(sequence);
        m_pairs[pair] = decoded.size() == 1 ? decoded[0].unicode() : char16_t(0xFFFD);
    }
    return QString(QChar(m_pairs[pair]));
}

QChar fromWindows1252(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F && windows1252High[byte - 0x80] != 0)
        return QChar(windows1252High[byte - 0x80]);
    return QChar(char16_t(byte));
}

std::optional<unsigned char> toWindows1252(QChar ch) {
    const char16_t u = ch.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return static_cast<unsigned char>(u);
    for (int i = 0; i < 32; ++i) {
        if (windows1252High[i] == u) return static_cast<unsigned char>(0x80 + i);
        if (windows1252High[i] == 0 && u == 0x80 + i) return static_cast<unsigned char>(u);
    }
    return std::nullopt;
}

QString decodeWindows1252(const QByteArray &bytes) {
    QString text;
    text.reserve(bytes.size());
    for (char c : bytes)
        text.append(fromWindows1252(static_cast<unsigned char>(c)));
    return text;
}

QByteArray encodeWindows1252(const QString &text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (QChar ch : text)
        bytes.append(static_cast<char>(toWindows1252(ch).value_or('?')));
    return bytes;
}

QChar fromSymbol(unsigned char byte) {
    if (byte < 0x20) return QChar(char16_t(byte));
    const char16_t u = symbolTable[byte - 0x20];
    return QChar(u != 0 ? u : char16_t(privateUseBase + byte));
}

std::optional<unsigned char> toSymbol(QChar ch) {
    const char16_t u = ch.unicode();
    if (u >= privateUseBase && u <= privateUseBase + 0xFF)
        return static_cast<unsigned char>(u - privateUseBase);
    if (u < 0x20) return static_cast<unsigned char>(u);
    const auto &table = unicodeToSymbol();
    const auto it = table.constFind(u);
    if (it == table.constEnd()) return std::nullopt;
    return it.value();
}

} // namespace codepages
