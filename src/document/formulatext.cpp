#include "document/formulatext.h"

#include <algorithm>

namespace formulas {
namespace {

enum class Kind { Formula, Arrow, Operator, Charge, Number };

struct Token {
    qsizetype from = 0; // the word as read, without punctuation around it
    qsizetype to = 0;
    Kind kind = Kind::Formula;
    std::optional<Formatted> reading; // in the mode asked
    int asked = -1;                   // a formula when asked for: 1, 0, or -1 not read yet
};

bool isSign(QChar c) {
    return c == u'+' || c == u'-' || c == QChar(0x2212);
}

std::optional<QChar> arrowFor(QStringView word) {
    if (word == u"->" || word == u"→") return QChar(0x2192);
    if (word == u"<-" || word == u"←") return QChar(0x2190);
    if (word == u"<=>" || word == u"<->" || word == QChar(equilibriumSign))
        return QChar(equilibriumSign);
    return std::nullopt;
}

bool isChargeApart(QStringView word) {
    if (word.size() < 2 || !isSign(word.back())) return false;
    return std::all_of(word.begin(), word.end() - 1, [](QChar c) { return c.isDigit(); });
}

Kind kindOf(QStringView word) {
    if (arrowFor(word)) return Kind::Arrow;
    if (word == u"+" || word == u"=") return Kind::Operator;
    if (isChargeApart(word)) return Kind::Charge;
    if (std::all_of(word.begin(), word.end(), [](QChar c) { return c.isDigit(); }))
        return Kind::Number;
    return Kind::Formula;
}

// Whether the word is a formula when asked for (NaCl is, typed or not): read
// only where an arrow or a charge needs it.
bool askedFormula(Token &token, QStringView text) {
    if (token.kind != Kind::Formula) return false;
    if (token.asked < 0)
        token.asked =
            recognise(text.mid(token.from, token.to - token.from), Mode::Explicit) ? 1 : 0;
    return token.asked == 1;
}

// The word, or failing that the word without the punctuation that ends a
// sentence or the brackets around it: "H2O," and "(CO2)".
Token readWord(QStringView text, qsizetype from, qsizetype to, Mode mode) {
    Token token;
    const auto read = [&](qsizetype start, qsizetype end) {
        token = Token();
        token.from = start;
        token.to = end;
        const QStringView word = text.mid(start, end - start);
        token.kind = kindOf(word);
        if (token.kind != Kind::Formula) return true;
        token.reading = recognise(word, mode);
        if (token.reading) token.asked = 1;
        if (mode == Mode::Explicit) token.asked = token.reading ? 1 : 0;
        return token.reading.has_value();
    };
    if (read(from, to)) return token;
    qsizetype end = to;
    while (end > from && QStringView(u",;:!?.»\"").contains(text[end - 1]))
        --end;
    if (end == from) return token;
    if (end < to && read(from, end)) return token;
    if (end - from > 2 && text[from] == u'(' && text[end - 1] == u')' && read(from + 1, end - 1))
        return token;
    read(from, end);
    return token;
}

// Calls visit(from, to) for each blank-separated word until it returns false.
template <typename Visit> void forEachWord(QStringView text, Visit visit) {
    qsizetype at = 0;
    while (at < text.size()) {
        while (at < text.size() && text[at].isSpace())
            ++at;
        const qsizetype start = at;
        while (at < text.size() && !text[at].isSpace())
            ++at;
        if (at > start && !visit(start, at)) return;
    }
}

QList<Token> tokensOf(QStringView text, Mode mode) {
    QList<Token> tokens;
    forEachWord(text, [&](qsizetype from, qsizetype to) {
        tokens << readWord(text, from, to, mode);
        return true;
    });
    return tokens;
}

// A side of an equation: a formula, or a formula after its coefficient
// written apart (2 H2O).
bool isSide(QList<Token> &tokens, qsizetype index, qsizetype step, QStringView text) {
    if (index < 0 || index >= tokens.size()) return false;
    if (step > 0 && tokens[index].kind == Kind::Number) return isSide(tokens, index + 1, 0, text);
    return askedFormula(tokens[index], text);
}

bool changes(const Token &token, QStringView text) {
    return token.reading &&
           token.reading->changesAnything(text.mid(token.from, token.to - token.from));
}

Formatted plain(QStringView text) {
    Formatted out;
    out.text = text.toString();
    out.levels = QList<Level>(text.size(), Level::Normal);
    return out;
}

} // namespace

QList<Edit> readText(QStringView text, Mode mode) {
    QList<Token> tokens = tokensOf(text, mode);
    QList<Edit> edits;
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        const Token &token = tokens[i];
        const QStringView word = text.mid(token.from, token.to - token.from);
        if (token.kind == Kind::Charge && i > 0 && askedFormula(tokens[i - 1], text)) {
            // SO4 2-: the ion takes its charge, the blank goes.
            const Token &ion = tokens[i - 1];
            const QStringView ionWord = text.mid(ion.from, ion.to - ion.from);
            Formatted shown = recognise(ionWord, Mode::Explicit).value_or(plain(ionWord));
            if (shown.levels.contains(Level::Exponent)) continue;
            if (!edits.isEmpty() && edits.last().from == ion.from) edits.removeLast();
            for (QChar c : word) {
                shown.text += c;
                shown.levels << Level::Exponent;
            }
            edits << Edit{ion.from, token.to, shown, false};
        } else if (token.kind == Kind::Arrow && isSide(tokens, i - 1, -1, text) &&
                   isSide(tokens, i + 1, 1, text)) {
            // Typed text: one side at least must be an unmistakable formula.
            const qsizetype right = tokens[i + 1].kind == Kind::Number ? i + 2 : i + 1;
            if (mode == Mode::Automatic && !changes(tokens[i - 1], text) &&
                !changes(tokens[right], text))
                continue;
            Formatted shown;
            shown.text = QString(*arrowFor(word));
            shown.levels = {Level::Normal};
            if (shown.text != word) edits << Edit{token.from, token.to, shown, true};
        } else if (token.kind == Kind::Formula && changes(token, text)) {
            edits << Edit{token.from, token.to, *token.reading, false};
        }
    }
    return edits;
}

QList<Edit> readSelection(QStringView text) {
    // The first word that is no formula decides: a long text is not read twice.
    bool onlyFormulas = true;
    forEachWord(text, [&](qsizetype from, qsizetype to) {
        const Token token = readWord(text, from, to, Mode::Explicit);
        onlyFormulas = token.kind != Kind::Formula || token.reading.has_value();
        return onlyFormulas;
    });
    return readText(text, onlyFormulas ? Mode::Explicit : Mode::Automatic);
}

QList<Edit> readLastWord(QStringView before) {
    // The last four words are all an equation's reading needs: the cost of a
    // word stays the same at the end of a long paragraph.
    qsizetype start = before.size();
    for (int words = 0; words < 4 && start > 0; ++words) {
        while (start > 0 && before[start - 1].isSpace())
            --start;
        while (start > 0 && !before[start - 1].isSpace())
            --start;
        if (before.size() - start > 256) break;
    }
    const QStringView region = before.mid(start);
    qsizetype lastStart = region.size();
    while (lastStart > 0 && !region[lastStart - 1].isSpace())
        --lastStart;
    if (lastStart == region.size()) return {};
    QList<Edit> edits;
    for (Edit edit : readText(region, Mode::Automatic)) {
        // An arrow counts when the last word is its right side.
        const bool completed =
            edit.to > lastStart ||
            (edit.arrow && std::all_of(region.begin() + edit.to, region.begin() + lastStart,
                                       [](QChar c) { return c.isSpace() || c.isDigit(); }));
        if (!completed) continue;
        edit.from += start;
        edit.to += start;
        edits << edit;
    }
    return edits;
}

} // namespace formulas
