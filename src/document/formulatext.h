#pragma once

#include "document/formularecogniser.h"

// Formulas in running text: each word read by the recogniser, the arrows
// between two formulas, and charges typed apart from their ion (SO4 2-).
namespace formulas {

// Stands in a formatted text for the equilibrium sign, which the text shows
// as a picture.
inline constexpr char16_t equilibriumSign = 0x21CC;

// Characters [from, to) of a text are to be shown as `shown`.
struct Edit {
    qsizetype from = 0;
    qsizetype to = 0;
    Formatted shown;
    bool arrow = false;
};

// Every formula of a text, in order, none overlapping.
QList<Edit> readText(QStringView text, Mode mode);

// What the command does with a selection: a text that holds nothing but
// formulas, signs and numbers is read as the user asked (NaCl, K2 taken);
// any other, as typed text is.
QList<Edit> readSelection(QStringView text);

// For typing: `before` is a line up to the end of the word just ended. The
// edits that word calls for: itself, an arrow it completes as the right side
// of an equation, an ion it completes with a charge typed apart.
QList<Edit> readLastWord(QStringView before);

} // namespace formulas
