#include "document/formularecogniser.h"

#include "document/quantityreader.h"

#include <QChar>
#include <algorithm>
#include <array>
#include <string_view>

namespace formulas {
namespace {

// The 118 elements of the periodic table.
constexpr std::array<std::string_view, 118> elements = {
    "H",  "He", "Li", "Be", "B",  "C",  "N",  "O",  "F",  "Ne", "Na", "Mg", "Al", "Si", "P",
    "S",  "Cl", "Ar", "K",  "Ca", "Sc", "Ti", "V",  "Cr", "Mn", "Fe", "Co", "Ni", "Cu", "Zn",
    "Ga", "Ge", "As", "Se", "Br", "Kr", "Rb", "Sr", "Y",  "Zr", "Nb", "Mo", "Tc", "Ru", "Rh",
    "Pd", "Ag", "Cd", "In", "Sn", "Sb", "Te", "I",  "Xe", "Cs", "Ba", "La", "Ce", "Pr", "Nd",
    "Pm", "Sm", "Eu", "Gd", "Tb", "Dy", "Ho", "Er", "Tm", "Yb", "Lu", "Hf", "Ta", "W",  "Re",
    "Os", "Ir", "Pt", "Au", "Hg", "Tl", "Pb", "Bi", "Po", "At", "Rn", "Fr", "Ra", "Ac", "Th",
    "Pa", "U",  "Np", "Pu", "Am", "Cm", "Bk", "Cf", "Es", "Fm", "Md", "No", "Lr", "Rf", "Db",
    "Sg", "Bh", "Hs", "Mt", "Ds", "Rg", "Cn", "Nh", "Fl", "Mc", "Lv", "Ts", "Og"};

// Molecules of one element that typed text means as formulas; any other
// element with a count alone (B2, S1, V2) is more likely a code.
constexpr std::array<std::string_view, 11> singleElementMolecules = {
    "H2", "N2", "O2", "O3", "F2", "Cl2", "Br2", "I2", "S8", "P4", "C60"};

// The elements a school text writes formulas with. Typed words take only
// these: W3C, Y2K and the like are codes rather than tungsten or yttrium.
constexpr std::array<std::string_view, 52> schoolElements = {
    "H",  "He", "Li", "Be", "B",  "C",  "N",  "O",  "F",  "Ne", "Na", "Mg", "Al",
    "Si", "P",  "S",  "Cl", "Ar", "K",  "Ca", "Sc", "Ti", "V",  "Cr", "Mn", "Fe",
    "Co", "Ni", "Cu", "Zn", "Ga", "Ge", "As", "Se", "Br", "Kr", "Rb", "Sr", "Mo",
    "Ag", "Cd", "Sn", "Sb", "I",  "Xe", "Cs", "Ba", "Pt", "Au", "Hg", "Pb", "U"};

// Compared in place: this runs for every capital letter typed.
template <size_t N> bool listed(const std::array<std::string_view, N> &list, QStringView symbol) {
    return std::any_of(list.begin(), list.end(), [symbol](std::string_view name) {
        if (qsizetype(name.size()) != symbol.size()) return false;
        for (size_t i = 0; i < name.size(); ++i)
            if (symbol[qsizetype(i)] != QLatin1Char(name[i])) return false;
        return true;
    });
}

bool isElement(QStringView symbol) {
    return listed(elements, symbol);
}

bool isSign(QChar c) {
    return c == QLatin1Char('+') || c == QLatin1Char('-') || c == QChar(0x2212);
}

// A recursive reading of one word; every method moves `at` past what it
// read, or returns false and leaves the result unusable.
class Reader {
public:
    explicit Reader(QStringView word) : m_word(word) {}

    std::optional<Formatted> read() {
        readCoefficient();
        if (!readSpecies()) return std::nullopt;
        // A hydrate: CuSO4.5H2O.
        while (m_at < m_word.size() &&
               (m_word[m_at] == QLatin1Char('.') || m_word[m_at] == QChar(0x00B7))) {
            put(QChar(0x00B7), Level::Normal);
            ++m_at;
            readCoefficient();
            if (!readSpecies()) return std::nullopt;
        }
        readState();
        if (m_at != m_word.size()) return std::nullopt;
        return m_out;
    }

    int elementCount() const { return m_elementCount; }
    bool onlySchoolElements() const { return m_onlySchool; }
    bool sameElementTwiceInARow() const { return m_sameTwice; }

private:
    QStringView m_word;
    qsizetype m_at = 0;
    Formatted m_out;
    int m_elementCount = 0;
    bool m_sameTwice = false;
    bool m_onlySchool = true;
    QStringView m_lastElement;
    bool m_lastElementCounted = false;
    qsizetype m_lastCountDigits = 0;
    bool m_lastCountAfterComplex = false;

    void put(QChar c, Level level) {
        m_out.text += c;
        m_out.levels << level;
    }
    bool digitAt(qsizetype at) const { return at < m_word.size() && m_word[at].isDigit(); }

    void readCoefficient() {
        while (digitAt(m_at))
            put(m_word[m_at++], Level::Normal);
    }

    // Units, then a charge at the end of the species.
    bool readSpecies() {
        const qsizetype start = m_at;
        if (m_word.mid(m_at).startsWith(QLatin1String("e")) &&
            (m_at + 1 == m_word.size() || isSign(m_word[m_at + 1]))) {
            // The electron: e-.
            put(m_word[m_at++], Level::Normal);
            return readCharge(false);
        }
        bool any = false;
        while (readUnit())
            any = true;
        if (!any || m_at == start) return false;
        return readCharge(true);
    }

    bool readUnit() {
        if (m_at >= m_word.size()) return false;
        const QChar c = m_word[m_at];
        if (c == QLatin1Char('(') || c == QLatin1Char('[')) {
            // Not a state: (s), (l), (g), (aq).
            if (isState(m_at)) return false;
            const QChar close = c == QLatin1Char('(') ? QLatin1Char(')') : QLatin1Char(']');
            const qsizetype save = m_at;
            const Formatted kept = m_out;
            put(c, Level::Normal);
            ++m_at;
            bool any = false;
            while (readUnit())
                any = true;
            if (!any || m_at >= m_word.size() || m_word[m_at] != close) {
                m_at = save;
                m_out = kept;
                return false;
            }
            put(close, Level::Normal);
            ++m_at;
            m_lastElement = {};
            readCount();
            m_lastCountAfterComplex = close == QLatin1Char(']');
            return true;
        }
        if (c == QLatin1Char('^')) return readIsotope();
        return readElement();
    }

    // A nucleus: ^14C, ^{235}U, ^{235}_{92}U, and the particles ^1_0n,
    // ^1_1p, ^0_{-1}e of nuclear equations.
    bool readIsotope() {
        const qsizetype save = m_at;
        const Formatted kept = m_out;
        ++m_at;
        bool read = readScript(Level::Exponent, false);
        if (read && m_at < m_word.size() && m_word[m_at] == QLatin1Char('_')) {
            ++m_at;
            read = readScript(Level::Index, true);
        }
        if (read && m_at < m_word.size() &&
            (m_word[m_at] == QLatin1Char('n') || m_word[m_at] == QLatin1Char('p') ||
             m_word[m_at] == QLatin1Char('e')) &&
            (m_at + 1 == m_word.size() || !m_word[m_at + 1].isLetter())) {
            put(m_word[m_at++], Level::Normal);
            ++m_elementCount;
            m_lastElement = {};
            m_lastElementCounted = false;
            return true;
        }
        if (read && readElement()) return true;
        m_at = save;
        m_out = kept;
        return false;
    }

    // Digits, or digits in braces (braces dropped); a minus sign only where
    // allowed (the charge number of a particle).
    bool readScript(Level level, bool minusAllowed) {
        const bool braced = m_at < m_word.size() && m_word[m_at] == QLatin1Char('{');
        if (braced) ++m_at;
        if (minusAllowed && m_at < m_word.size() && m_word[m_at] == QLatin1Char('-'))
            put(m_word[m_at++], level);
        if (!digitAt(m_at)) return false;
        while (digitAt(m_at))
            put(m_word[m_at++], level);
        if (!braced) return true;
        if (m_at >= m_word.size() || m_word[m_at] != QLatin1Char('}')) return false;
        ++m_at;
        return true;
    }

    bool readElement() {
        if (m_at >= m_word.size()) return false;
        if (!m_word[m_at].isUpper()) return false;
        // The longest symbol that is an element: "Co" before "C".
        qsizetype length = 0;
        if (m_at + 1 < m_word.size() && m_word[m_at + 1].isLower() &&
            isElement(m_word.mid(m_at, 2)))
            length = 2;
        else if (isElement(m_word.mid(m_at, 1)))
            length = 1;
        if (length == 0) return false;
        const QStringView symbol = m_word.mid(m_at, length);
        m_onlySchool = m_onlySchool && listed(schoolElements, symbol);
        // B2B: an element counted, then again, is a code rather than a
        // formula (COOH is not).
        m_sameTwice = m_sameTwice || (symbol == m_lastElement && m_lastElementCounted);
        m_lastElement = symbol;
        ++m_elementCount;
        for (qsizetype i = 0; i < length; ++i)
            put(m_word[m_at++], Level::Normal);
        readCount();
        m_lastElementCounted = m_lastCountDigits > 0;
        m_lastCountAfterComplex = false;
        return true;
    }

    void readCount() {
        m_lastCountDigits = 0;
        if (digitAt(m_at) && m_word[m_at] != QLatin1Char('0')) {
            while (digitAt(m_at)) {
                put(m_word[m_at++], Level::Index);
                ++m_lastCountDigits;
            }
        }
    }

    bool isState(qsizetype at) const {
        for (const char *state : {"(s)", "(l)", "(g)", "(aq)"})
            if (m_word.mid(at) == QLatin1String(state)) return true;
        return false;
    }

    void readState() {
        if (m_at < m_word.size() && isState(m_at)) {
            while (m_at < m_word.size())
                put(m_word[m_at++], Level::Normal);
        }
    }

    // "+", "-", "2+", "^2+", "+2" at the end of the species; a final digit
    // before the sign is the charge's, not the count's (SO42- is SO4 2-).
    bool readCharge(bool afterUnits) {
        const qsizetype start = m_at;
        const bool caret = m_at < m_word.size() && m_word[m_at] == QLatin1Char('^');
        if (caret) ++m_at;
        if (m_at < m_word.size() && isSign(m_word[m_at])) {
            const qsizetype signAt = m_at++;
            qsizetype digitsEnd = m_at;
            while (digitAt(digitsEnd))
                ++digitsEnd;
            if (!endsSpecies(digitsEnd)) {
                m_at = start;
                return !caret;
            }
            moveLastCountDigitToCharge(afterUnits && !caret && digitsEnd == m_at);
            put(m_word[signAt], Level::Exponent);
            while (m_at < digitsEnd)
                put(m_word[m_at++], Level::Exponent);
            return true;
        }
        if (caret && m_at < m_word.size() && m_word[m_at] == QLatin1Char('{'))
            return readBracedCharge(start);
        if (caret) {
            qsizetype digitsEnd = m_at;
            while (digitAt(digitsEnd))
                ++digitsEnd;
            if (digitsEnd == m_at || digitsEnd >= m_word.size() || !isSign(m_word[digitsEnd]) ||
                !endsSpecies(digitsEnd + 1))
                return false;
            while (m_at <= digitsEnd)
                put(m_word[m_at++], Level::Exponent);
            return true;
        }
        return true;
    }

    // ^{2+}, ^{-}, ^{+3}.
    bool readBracedCharge(qsizetype start) {
        const qsizetype close = m_word.indexOf(QLatin1Char('}'), m_at);
        if (close < 0 || !endsSpecies(close + 1)) {
            m_at = start;
            return false;
        }
        const QStringView inside = m_word.mid(m_at + 1, close - m_at - 1);
        qsizetype signs = 0;
        for (QChar c : inside)
            signs += isSign(c) ? 1 : 0;
        const bool signFirst = !inside.isEmpty() && isSign(inside.front());
        const bool signLast = !inside.isEmpty() && isSign(inside.back());
        if (signs != 1 || !(signFirst || signLast)) {
            m_at = start;
            return false;
        }
        for (QChar c : inside) {
            if (!c.isDigit() && !isSign(c)) {
                m_at = start;
                return false;
            }
        }
        for (QChar c : inside)
            put(c, Level::Exponent);
        m_at = close + 1;
        return true;
    }

    // What may follow a charge: the end, a hydrate dot, a state.
    bool endsSpecies(qsizetype at) const {
        return at == m_word.size() || m_word[at] == QLatin1Char('.') ||
               m_word[at] == QChar(0x00B7) || isState(at);
    }

    // A digit right before the final sign: the charge's when the count has
    // more digits (SO42-), when the ion is one element (Cu2+) or a complex
    // ([Cu(NH3)4]2+); else the count's (NH4+, NO3-).
    void moveLastCountDigitToCharge(bool wanted) {
        if (!wanted || m_out.levels.isEmpty() || m_out.levels.last() != Level::Index) return;
        if (m_lastCountDigits >= 2 || m_elementCount == 1 || m_lastCountAfterComplex)
            m_out.levels.last() = Level::Exponent;
    }
};

} // namespace

bool Formatted::changesAnything(QStringView word) const {
    return text != word ||
           std::any_of(levels.begin(), levels.end(), [](Level l) { return l != Level::Normal; });
}

namespace {

std::optional<Formatted> recogniseSpecies(QStringView word, Mode mode) {
    Reader reader(word);
    std::optional<Formatted> formatted = reader.read();
    if (!formatted || mode == Mode::Explicit) return formatted;
    // Typed text: only an unmistakable formula.
    if (!formatted->changesAnything(word)) return std::nullopt;
    if (reader.sameElementTwiceInARow() || !reader.onlySchoolElements()) return std::nullopt;
    if (word.startsWith(QLatin1Char('e')) && word.size() > 2) return std::nullopt;
    if (reader.elementCount() == 1 && !word.contains(u'^')) {
        // N-2, H+2: a year or an hour counted from another; O+ and B-:
        // blood groups.
        const qsizetype charge = formatted->levels.indexOf(Level::Exponent);
        const QChar symbol = formatted->text.front();
        if (charge >= 0 && isSign(formatted->text[charge]) && charge + 1 < formatted->text.size() &&
            formatted->levels[charge + 1] == Level::Exponent && (symbol == u'N' || symbol == u'H'))
            return std::nullopt;
        if (charge >= 0 && formatted->text.size() == 2 &&
            (formatted->text.front() == u'O' || formatted->text.front() == u'B'))
            return std::nullopt;
    }
    // A charge of one is written without its digit: X+1 and X-1 are sums.
    if (!word.contains(u'^') && (word.endsWith(u"+1") || word.endsWith(u"-1"))) return std::nullopt;
    if (reader.elementCount() == 1 && !formatted->levels.contains(Level::Exponent)) {
        QStringView bare = word;
        while (!bare.isEmpty() && bare.front().isDigit())
            bare = bare.mid(1);
        if (!listed(singleElementMolecules, bare)) return std::nullopt;
    }
    return formatted;
}

} // namespace

std::optional<Formatted> recognise(QStringView word, Mode mode) {
    if (word.isEmpty() || word.size() > 64) return std::nullopt;
    if (mode == Mode::Automatic && std::none_of(word.begin(), word.end(), [](QChar c) {
            return c.isDigit() || isSign(c) || c == QLatin1Char('^');
        }))
        return std::nullopt;
    if (auto species = recogniseSpecies(word, mode)) return species;
    return readQuantity(word, mode);
}

} // namespace formulas
