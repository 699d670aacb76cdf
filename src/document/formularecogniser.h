#pragma once

#include <QList>
#include <QString>
#include <QStringView>
#include <optional>

// Chemical formulas written as plain text (H2SO4, Cu2+, SO42-, CuSO4.5H2O)
// read as the teacher means them: which characters are indices, which
// exponents, and which are shown otherwise. Pure text work: no document, no
// widget, cheap enough to run on every word typed.
namespace formulas {

enum class Level : char { Normal, Index, Exponent };

enum class Mode {
    // Typed text: only what can be nothing but a formula, with an index or a
    // charge; anything doubtful is left alone.
    Automatic,
    // The user asked for the word to be formatted: any well-formed formula.
    Explicit,
};

// A word as it is to be shown: its characters, each at its level.
struct Formatted {
    QString text;
    QList<Level> levels; // one per character of text

    bool changesAnything(QStringView word) const;
};

// What the word becomes, or nothing when it is no formula.
std::optional<Formatted> recognise(QStringView word, Mode mode);

} // namespace formulas
