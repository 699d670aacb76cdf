#include "document/rtf/rtfemitter.h"

#include "base/codepages.h"

#include <QChar>
#include <array>
#include <charconv>
#include <vector>

namespace {

constexpr qsizetype hexDigitsPerLine = 128;

// Printable ASCII that RTF takes as it is: everything but \ { }.
constexpr std::array<bool, 128> plainAsciiTable = [] {
    std::array<bool, 128> table{};
    for (int ch = 0x20; ch < 0x7F; ++ch)
        table[ch] = ch != '\\' && ch != '{' && ch != '}';
    return table;
}();

bool isPlainAscii(char16_t ch) {
    return ch < 0x80 && plainAsciiTable[ch];
}

// Two lower-case hex digits for each byte.
constexpr std::array<char, 512> hexPairs = [] {
    constexpr char digits[] = "0123456789abcdef";
    std::array<char, 512> table{};
    for (int byte = 0; byte < 256; ++byte) {
        table[2 * byte] = digits[byte >> 4];
        table[2 * byte + 1] = digits[byte & 0xF];
    }
    return table;
}();

// The Windows-1252 byte of each UTF-16 code unit from 0x80 up; 0 when the
// code page lacks the character.
const std::vector<unsigned char> &windows1252Bytes() {
    static const std::vector<unsigned char> table = [] {
        std::vector<unsigned char> bytes(0x10000, 0);
        for (int unit = 0x80; unit < 0x10000; ++unit) {
            if (const auto byte = codepages::toWindows1252(QChar(char16_t(unit))))
                bytes[unit] = *byte;
        }
        return bytes;
    }();
    return table;
}

} // namespace

void RtfEmitter::word(std::string_view word) {
    m_out.append(word.data(), qsizetype(word.size()));
    m_pendingDelimiter = true;
}

void RtfEmitter::word(std::string_view word, int parameter) {
    m_out.append(word.data(), qsizetype(word.size()));
    rawNumber(parameter);
    m_pendingDelimiter = true;
}

void RtfEmitter::raw(QByteArrayView bytes) {
    m_out.append(bytes);
    m_pendingDelimiter = false;
}

void RtfEmitter::rawNumber(int value) {
    char digits[16];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    m_out.append(digits, result.ptr - digits);
    m_pendingDelimiter = false;
}

void RtfEmitter::newline() {
    raw("\r\n");
}

void RtfEmitter::delimit() {
    if (m_pendingDelimiter) {
        m_out.append(' ');
        m_pendingDelimiter = false;
    }
}

void RtfEmitter::appendPlain(const char16_t *begin, const char16_t *end) {
    delimit();
    const qsizetype start = m_out.size();
    m_out.resize(start + (end - begin));
    char *to = m_out.data() + start;
    while (begin != end)
        *to++ = char(*begin++);
}

void RtfEmitter::plainByte(char byte) {
    delimit();
    m_out.append(byte);
}

void RtfEmitter::text(QStringView text) {
    const auto &codePage = windows1252Bytes();
    const char16_t *at = text.utf16();
    const char16_t *end = at + text.size();
    while (at != end) {
        const char16_t *plainStart = at;
        while (at != end && isPlainAscii(*at))
            ++at;
        if (at != plainStart) appendPlain(plainStart, at);
        if (at == end) break;
        const char16_t ch = *at;
        if (writeLayoutCharacter(ch)) {
            ++at;
        } else if (ch < 0x80) {
            escapedAscii(char(ch));
            ++at;
        } else if (const unsigned char byte = codePage[ch]) {
            hexByte(byte);
            ++at;
        } else {
            at = unicodeCharacter(at, end);
        }
    }
}

void RtfEmitter::symbolText(QStringView text) {
    const char16_t *at = text.utf16();
    const char16_t *end = at + text.size();
    while (at != end) {
        const char16_t ch = *at;
        if (writeLayoutCharacter(ch)) {
            ++at;
            continue;
        }
        // Only bytes that read back to the same character: plain letters,
        // for one, are not in this code page.
        const auto byte = codepages::toSymbol(QChar(ch));
        if (!byte || *byte < 0x20 || codepages::fromSymbol(*byte) != QChar(ch)) {
            at = unicodeCharacter(at, end);
            continue;
        }
        // Every character goes first as its Unicode one: readers that draw
        // the Symbol font with a Unicode font of their own take its bytes for
        // private signs, show nothing for them (digits and '+' included) and
        // read a space as another character. The byte follows for readers
        // that skip \u.
        word("\\u", int(static_cast<int16_t>(ch)));
        if (*byte >= 0x7F)
            hexByte(*byte);
        else if (plainAsciiTable[*byte])
            plainByte(char(*byte));
        else
            escapedAscii(char(*byte));
        ++at;
    }
}

bool RtfEmitter::writeLayoutCharacter(char16_t ch) {
    switch (ch) {
    case u'\t':
        word("\\tab");
        return true;
    case QChar::LineSeparator:
        word("\\line");
        return true;
    case QChar::Nbsp:
        raw("\\~");
        return true;
    case QChar::SoftHyphen:
        raw("\\-");
        return true;
    default:
        return false;
    }
}

void RtfEmitter::escapedAscii(char ch) {
    if (ch == '\\' || ch == '{' || ch == '}') {
        const char escaped[2] = {'\\', ch};
        raw(QByteArrayView(escaped, 2));
    } else {
        hexByte(static_cast<unsigned char>(ch));
    }
}

void RtfEmitter::hexByte(unsigned char byte) {
    const char escaped[4] = {'\\', '\'', hexPairs[2 * byte], hexPairs[2 * byte + 1]};
    raw(QByteArrayView(escaped, 4));
}

void RtfEmitter::unicode(char16_t codeUnit) {
    // RTF's parameter is a signed 16-bit number; '?' stands in for readers
    // that skip \u.
    word("\\u", int(static_cast<int16_t>(codeUnit)));
    raw("?");
}

const char16_t *RtfEmitter::unicodeCharacter(const char16_t *at, const char16_t *end) {
    unicode(*at);
    if (QChar::isHighSurrogate(*at) && at + 1 != end && QChar::isLowSurrogate(at[1])) {
        unicode(at[1]);
        return at + 2;
    }
    return at + 1;
}

void RtfEmitter::hexData(const QByteArray &bytes) {
    delimit();
    const qsizetype digits = 2 * bytes.size();
    const qsizetype lineBreaks = digits == 0 ? 0 : (digits - 1) / hexDigitsPerLine;
    const qsizetype start = m_out.size();
    m_out.resize(start + digits + 2 * lineBreaks);
    char *to = m_out.data() + start;
    qsizetype lineDigits = 0;
    for (const char ch : bytes) {
        if (lineDigits == hexDigitsPerLine) {
            *to++ = '\r';
            *to++ = '\n';
            lineDigits = 0;
        }
        const auto byte = static_cast<unsigned char>(ch);
        *to++ = hexPairs[2 * byte];
        *to++ = hexPairs[2 * byte + 1];
        lineDigits += 2;
    }
}
