#include "document/spellwords.h"

#include "document/formularecogniser.h"

#include <algorithm>

namespace spellwords {
namespace {

bool isApostrophe(QChar c) {
    return c == u'\'' || c == QChar(0x2019);
}

// What may stand around a word without being part of it.
bool isPunctuation(QChar c) {
    return QStringView(u"«»\"“”()[]{},;:!?.…").contains(c);
}

bool isGreekOrMathematical(QChar c) {
    const char16_t code = c.unicode();
    return (code >= 0x0370 && code <= 0x03FF) || (code >= 0x2190 && code <= 0x22FF) ||
           c.category() == QChar::Symbol_Math;
}

// A chunk between blanks that holds no word to judge as a whole.
bool skippedWhole(QStringView chunk) {
    if (chunk.contains(u'@') || chunk.contains(u"://") || chunk.startsWith(u"www.")) return true;
    if (std::any_of(chunk.begin(), chunk.end(), [](QChar c) {
            return c.isDigit() || isGreekOrMathematical(c) || c == u'/' || c == u'^' || c == u'_' ||
                   c == QChar(0x00B7) || c == QChar(0x00D7);
        }))
        return true;
    // Formulas and units written without digits: NaCl, HCl, mol.L.
    return formulas::recognise(chunk, formulas::Mode::Explicit).has_value();
}

// ADN, UV, pH, pKa: short words with a capital letter after the first; Ec,
// Ep, Em: the symbols of quantities.
bool isAcronym(QStringView word) {
    if (word.size() < 2 || word.size() > 5) return false;
    if (word.size() == 2 && word.front().isUpper()) return true;
    return std::any_of(word.begin() + 1, word.end(), [](QChar c) { return c.isUpper(); });
}

} // namespace

QList<Span> toCheck(QStringView text, const std::vector<bool> *skipped) {
    QList<Span> words;
    qsizetype at = 0;
    while (at < text.size()) {
        while (at < text.size() && text[at].isSpace())
            ++at;
        qsizetype from = at;
        while (at < text.size() && !text[at].isSpace())
            ++at;
        qsizetype to = at;
        // Na+(aq) ends with its bracket.
        if (formulas::recognise(text.mid(from, to - from), formulas::Mode::Explicit)) continue;
        while (from < to && isPunctuation(text[from]))
            ++from;
        while (to > from && (isPunctuation(text[to - 1]) || isApostrophe(text[to - 1])))
            --to;
        if (from == to) continue;
        const QStringView chunk = text.mid(from, to - from);
        if (skippedWhole(chunk)) continue;
        if (skipped && std::any_of(skipped->begin() + from, skipped->begin() + to,
                                   [](bool mark) { return mark; }))
            continue;
        // The words of the chunk: letters with the apostrophes and hyphens
        // between them (l'eau, peut-être, aujourd'hui).
        qsizetype start = from;
        while (start < to) {
            while (start < to && !text[start].isLetter())
                ++start;
            qsizetype end = start;
            while (end < to &&
                   (text[end].isLetter() || ((isApostrophe(text[end]) || text[end] == u'-') &&
                                             end + 1 < to && text[end + 1].isLetter())))
                ++end;
            const QStringView word = text.mid(start, end - start);
            if (word.size() > 1 && !isAcronym(word)) words << Span{start, end};
            start = end;
        }
    }
    return words;
}

} // namespace spellwords
