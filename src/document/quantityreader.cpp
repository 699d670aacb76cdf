#include "document/quantityreader.h"

#include <array>
#include <string_view>

namespace formulas {
namespace {

// The SI units and those accepted beside them, and their prefixes.
constexpr std::array<std::u16string_view, 36> unitSymbols = {
    u"m",  u"g",   u"s", u"A", u"K",   u"mol", u"cd", u"Hz", u"N",   u"Pa", u"J",   u"W",
    u"C",  u"V",   u"F", u"Ω", u"S",   u"Wb",  u"T",  u"H",  u"lm",  u"lx", u"Bq",  u"Gy",
    u"Sv", u"kat", u"L", u"l", u"min", u"h",   u"t",  u"eV", u"bar", u"°C", u"rad", u"sr"};
constexpr std::array<std::u16string_view, 22> prefixes = {
    u"Y", u"Z", u"E", u"P", u"T", u"G", u"M", u"k", u"h", u"da", u"d",
    u"c", u"m", u"µ", u"μ", u"n", u"p", u"f", u"a", u"z", u"y",  u"u"};

template <size_t N> bool listed(const std::array<std::u16string_view, N> &list, QStringView text) {
    for (std::u16string_view entry : list)
        if (QStringView(entry.data(), qsizetype(entry.size())) == text) return true;
    return false;
}

bool isUnit(QStringView symbol) {
    if (listed(unitSymbols, symbol)) return true;
    for (qsizetype length = 1; length <= 2 && length < symbol.size(); ++length)
        if (listed(prefixes, symbol.first(length)) && listed(unitSymbols, symbol.mid(length)))
            return true;
    return false;
}

bool isLength(QStringView symbol) {
    return symbol == u"m" || (symbol.endsWith(u'm') && listed(prefixes, symbol.chopped(1)));
}

bool isSign(QChar c) {
    return c == u'+' || c == u'-' || c == QChar(0x2212);
}

bool isDot(QChar c) {
    return c == u'.' || c == QChar(0x00B7);
}

// Reads words left to right; each method moves `at` past what it read.
class Reader {
public:
    explicit Reader(QStringView word) : m_word(word) {}

    QStringView m_word;
    qsizetype m_at = 0;
    Formatted m_out;

    bool atEnd() const { return m_at == m_word.size(); }
    QChar here() const { return atEnd() ? QChar() : m_word[m_at]; }
    void put(QChar c, Level level) {
        m_out.text += c;
        m_out.levels << level;
    }
    void put(QStringView text, Level level) {
        for (QChar c : text)
            put(c, level);
    }
    qsizetype digitsFrom(qsizetype at) const {
        qsizetype end = at;
        while (end < m_word.size() && m_word[end].isDigit())
            ++end;
        return end - at;
    }

    // A signed whole exponent, after an optional caret and in optional
    // braces; the caret and the braces go, a plus sign too. `signNeeded`
    // when there is no caret. Returns the number of digits read, 0 for none.
    struct Exponent {
        qsizetype digits = 0;
        bool caret = false;
        bool negative = false;
    };
    Exponent readExponent(bool letterAllowed) {
        const qsizetype save = m_at;
        const Formatted kept = m_out;
        Exponent exponent;
        exponent.caret = here() == u'^';
        if (exponent.caret) ++m_at;
        const bool braced = exponent.caret && here() == u'{';
        if (braced) ++m_at;
        if (isSign(here())) {
            exponent.negative = here() != u'+';
            if (exponent.negative) put(here(), Level::Exponent);
            ++m_at;
        }
        exponent.digits = digitsFrom(m_at);
        if (exponent.digits == 0 && letterAllowed && exponent.caret && here().isLetter() &&
            !exponent.negative) {
            exponent.digits = 1;
        }
        put(m_word.mid(m_at, exponent.digits), Level::Exponent);
        m_at += exponent.digits;
        if (braced) {
            if (here() == u'}')
                ++m_at;
            else
                exponent.digits = 0;
        }
        if (exponent.digits == 0) {
            m_at = save;
            m_out = kept;
            return {};
        }
        return exponent;
    }
};

// m.s-2, J.mol-1.K-1, cm3, m^2.
std::optional<Formatted> readUnits(QStringView word, Mode mode) {
    Reader reader(word);
    int tokens = 0;
    int exponents = 0;
    bool lengthSquaredOrCubed = false;
    bool lowercaseNegative = false;
    bool bareCount = false; // an exponent without caret nor sign: A4, L2
    for (;;) {
        const qsizetype start = reader.m_at;
        while (!reader.atEnd() && (reader.here().isLetter() || reader.here() == QChar(0x00B0)))
            ++reader.m_at;
        const QStringView symbol = word.mid(start, reader.m_at - start);
        if (!isUnit(symbol)) return std::nullopt;
        reader.put(symbol, Level::Normal);
        ++tokens;
        const Reader::Exponent exponent = reader.readExponent(false);
        if (exponent.digits > 0) {
            ++exponents;
            const QStringView digits = word.mid(reader.m_at - exponent.digits, exponent.digits);
            lengthSquaredOrCubed =
                !exponent.negative && isLength(symbol) && (digits == u"2" || digits == u"3");
            lowercaseNegative = exponent.negative && symbol.front().isLower();
            bareCount = !exponent.caret && !exponent.negative;
        }
        if (reader.atEnd()) break;
        if (!isDot(reader.here())) return std::nullopt;
        reader.put(QChar(0x00B7), Level::Normal);
        ++reader.m_at;
    }
    // One unit with a bare count is a paper size or a year of study (A4,
    // L2) unless it is an area or a volume.
    if (tokens == 1 && bareCount && !lengthSquaredOrCubed) return std::nullopt;
    // A unit alone (A, m, pH) is no formula to format.
    if (tokens == 1 && exponents == 0) return std::nullopt;
    if (mode == Mode::Automatic) {
        if (exponents == 0) return std::nullopt;
        // One unit alone: only m2, cm3 or s-1 cannot be a code (A4, L2, T3).
        if (tokens == 1 && !lengthSquaredOrCubed && !lowercaseNegative) return std::nullopt;
    }
    return reader.m_out;
}

// 10-3, 10^5, 6.02e23, 2,5.10-3, x^2, t^n.
std::optional<Formatted> readPower(QStringView word, Mode mode) {
    Reader reader(word);
    // A decimal number first, or a letter base for a caret power.
    const qsizetype whole = reader.digitsFrom(0);
    if (whole == 0) {
        while (!reader.atEnd() && reader.here().isLetter())
            ++reader.m_at;
        if (reader.m_at == 0 || reader.here() != u'^') return std::nullopt;
        reader.put(word.first(reader.m_at), Level::Normal);
        const Reader::Exponent exponent = reader.readExponent(true);
        if (exponent.digits == 0 || !reader.atEnd()) return std::nullopt;
        return reader.m_out;
    }
    reader.m_at = whole;
    qsizetype fraction = 0;
    // In 2.10-3 the dot multiplies: French writes decimals with a comma.
    const QStringView afterWhole = word.mid(whole);
    const bool timesTen = afterWhole.startsWith(u".10") && afterWhole.size() > 3 &&
                          (isSign(afterWhole[3]) || afterWhole[3] == u'^');
    if ((reader.here() == u',' || reader.here() == u'.') && !timesTen &&
        reader.digitsFrom(whole + 1) > 0)
        fraction = 1 + reader.digitsFrom(whole + 1);
    const QStringView number = word.first(whole + fraction);
    reader.m_at = whole + fraction;
    const auto putNumber = [&reader, number] {
        for (QChar c : number)
            reader.put(c == u'.' ? u',' : c, Level::Normal);
    };
    // 6.02e23, 1,6e-19.
    if (reader.here() == u'e' || reader.here() == u'E') {
        ++reader.m_at;
        putNumber();
        reader.put(QStringLiteral("×10"), Level::Normal);
        if (isSign(reader.here()) && reader.here() != u'+') reader.put(u'-', Level::Exponent);
        if (isSign(reader.here())) ++reader.m_at;
        const qsizetype digits = reader.digitsFrom(reader.m_at);
        if (digits == 0 || reader.m_at + digits != word.size()) return std::nullopt;
        reader.put(word.mid(reader.m_at, digits), Level::Exponent);
        return reader.m_out;
    }
    // 2,5.10-3: a French number times a power of ten.
    bool mantissa = false;
    if (word.mid(reader.m_at).startsWith(u"10") == false && reader.m_at < word.size() &&
        (isDot(reader.here()) || reader.here() == u'×' || reader.here() == u'*' ||
         reader.here() == u'x')) {
        if (number.contains(u'.')) return std::nullopt;
        putNumber();
        reader.put(u'×', Level::Normal);
        ++reader.m_at;
        mantissa = true;
    } else if (number != u"10" || fraction > 0) {
        // x^2 with a number base: 2^10.
        if (reader.here() != u'^' || fraction > 0) return std::nullopt;
        putNumber();
        const Reader::Exponent exponent = reader.readExponent(false);
        if (exponent.digits == 0 || !reader.atEnd()) return std::nullopt;
        return reader.m_out;
    } else {
        reader.m_at = 0;
    }
    if (!word.mid(reader.m_at).startsWith(u"10")) return std::nullopt;
    reader.put(QStringLiteral("10"), Level::Normal);
    reader.m_at += 2;
    const Reader::Exponent exponent = reader.readExponent(false);
    if (exponent.digits == 0 || !reader.atEnd()) return std::nullopt;
    // Without a caret the sign says it is a power: 10-3, never 103 or 10+3.
    if (!exponent.caret && !exponent.negative) return std::nullopt;
    // Typed "10-12" may be a range of ages; 10-3 or 6,67.10-11 is a power.
    if (mode == Mode::Automatic && !exponent.caret && !mantissa && exponent.digits > 1)
        return std::nullopt;
    return reader.m_out;
}

} // namespace

std::optional<Formatted> readQuantity(QStringView word, Mode mode) {
    if (auto power = readPower(word, mode)) return power;
    return readUnits(word, mode);
}

} // namespace formulas
