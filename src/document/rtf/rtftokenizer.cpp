#include "document/rtf/rtftokenizer.h"

#include <array>
#include <climits>

namespace {

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Bytes that end a run of text.
constexpr std::array<bool, 256> textStoppers = [] {
    std::array<bool, 256> table{};
    table[static_cast<unsigned char>('\\')] = true;
    table[static_cast<unsigned char>('{')] = true;
    table[static_cast<unsigned char>('}')] = true;
    table[static_cast<unsigned char>('\r')] = true;
    table[static_cast<unsigned char>('\n')] = true;
    return table;
}();

} // namespace

RtfToken RtfTokenizer::next() {
    // Line ends carry no meaning in RTF outside \binN data.
    while (m_pos < m_input.size() && (m_input[m_pos] == '\r' || m_input[m_pos] == '\n'))
        ++m_pos;

    RtfToken token;
    token.offset = m_pos;
    if (m_pos >= m_input.size()) return token;

    switch (m_input[m_pos]) {
    case '{':
        ++m_pos;
        token.type = RtfToken::GroupStart;
        return token;
    case '}':
        ++m_pos;
        token.type = RtfToken::GroupEnd;
        return token;
    case '\\':
        return readBackslash(m_pos);
    default:
        return readText(m_pos);
    }
}

RtfToken RtfTokenizer::readBackslash(qsizetype start) {
    m_pos = start + 1;
    if (m_pos >= m_input.size()) {
        report(QStringLiteral("backslash at the end of the input"), start);
        RtfToken token;
        token.offset = m_pos;
        return token;
    }
    const char c = m_input[m_pos];
    if (isLetter(c)) return readControlWord(start);
    if (c == '\'') return readHexByte(start);

    ++m_pos;
    RtfToken token;
    token.offset = start;
    token.type = RtfToken::ControlSymbol;
    // A backslash before a line end is a paragraph mark.
    token.symbol = (c == '\r') ? '\n' : c;
    if (c == '\r' && m_pos < m_input.size() && m_input[m_pos] == '\n') ++m_pos;
    return token;
}

RtfToken RtfTokenizer::readControlWord(qsizetype start) {
    const qsizetype nameStart = m_pos;
    while (m_pos < m_input.size() && isLetter(m_input[m_pos]))
        ++m_pos;

    RtfToken token;
    token.offset = start;
    token.type = RtfToken::ControlWord;
    token.text = m_input.sliced(nameStart, m_pos - nameStart);
    readParameter(token);
    if (m_pos < m_input.size() && m_input[m_pos] == ' ') ++m_pos;
    if (token.text == "bin") takeBinaryData(token);
    return token;
}

void RtfTokenizer::readParameter(RtfToken &token) {
    qsizetype pos = m_pos;
    bool negative = false;
    if (pos < m_input.size() && m_input[pos] == '-') {
        negative = true;
        ++pos;
    }
    if (pos >= m_input.size() || !isDigit(m_input[pos])) return;

    // Accumulate in 64 bits and stop growing past the int range, so that any
    // number of digits is read without overflow.
    constexpr long long limit = static_cast<long long>(INT_MAX) + 1;
    long long value = 0;
    while (pos < m_input.size() && isDigit(m_input[pos])) {
        if (value < limit) value = value * 10 + (m_input[pos] - '0');
        ++pos;
    }
    if (negative) value = -value;
    if (value > INT_MAX) value = INT_MAX;
    if (value < INT_MIN) value = INT_MIN;
    token.param = static_cast<int>(value);
    token.hasParam = true;
    m_pos = pos;
}

void RtfTokenizer::takeBinaryData(RtfToken &token) {
    const qsizetype remaining = m_input.size() - m_pos;
    qsizetype length = token.hasParam ? qMax(0, token.param) : 0;
    if (length > remaining) {
        report(QStringLiteral("\\bin data longer than the input"), token.offset);
        length = remaining;
    }
    token.type = RtfToken::Binary;
    token.text = m_input.sliced(m_pos, length);
    m_pos += length;
}

RtfToken RtfTokenizer::readHexByte(qsizetype start) {
    m_pos = start + 2;
    const int high = m_pos < m_input.size() ? hexValue(m_input[m_pos]) : -1;
    const int low = m_pos + 1 < m_input.size() ? hexValue(m_input[m_pos + 1]) : -1;

    RtfToken token;
    token.offset = start;
    if (high < 0 || low < 0) {
        report(QStringLiteral("incomplete \\' escape"), start);
        // A lone valid digit stays out of the text, like the escape it began;
        // the reader ignores the symbol.
        if (high >= 0) ++m_pos;
        token.type = RtfToken::ControlSymbol;
        token.symbol = '\'';
        return token;
    }
    m_pos += 2;
    token.type = RtfToken::HexByte;
    token.byte = static_cast<unsigned char>(high * 16 + low);
    return token;
}

RtfToken RtfTokenizer::readText(qsizetype start) {
    qsizetype pos = start;
    const char *data = m_input.data();
    while (pos < m_input.size() && !textStoppers[static_cast<unsigned char>(data[pos])])
        ++pos;
    m_pos = pos;

    RtfToken token;
    token.offset = start;
    token.type = RtfToken::Text;
    token.text = m_input.sliced(start, pos - start);
    return token;
}

void RtfTokenizer::report(const QString &problem, qsizetype at) {
    if (m_problemAt >= 0) return;
    m_problem = problem;
    m_problemAt = at;
}
