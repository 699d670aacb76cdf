#pragma once

#include <QList>
#include <QStringView>
#include <vector>

// Which words of a paragraph the French dictionary is to judge. Formulas,
// units, numbers, acronyms, Greek letters, addresses and what the caller
// marks (protected frame lines, Symbol-font letters) are never judged: a
// teacher's text is full of them and none is a spelling mistake.
namespace spellwords {

struct Span {
    qsizetype from = 0;
    qsizetype to = 0;
};

// The words to judge, in order. `skipped`, when given, holds one mark per
// character of text: a marked character makes its whole word skipped.
QList<Span> toCheck(QStringView text, const std::vector<bool> *skipped = nullptr);

} // namespace spellwords
