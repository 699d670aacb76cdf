#pragma once

#include "document/formulatext.h"

class QTextCharFormat;
class QTextDocument;

// Formulas shown in a document as the index and exponent modes type them.
namespace formulas {

// What those modes use: offsets in twentieths of the size (a fixed number of
// twips with small characters) and the small size.
struct LevelLook {
    int exponentTwentieths = 8;
    int indexTwentieths = 5;
    bool smallSize = false;
    static constexpr double smallSizePt = 8;
};

// The format of a character at `level` in a formula whose normal characters
// are normalSizePt points.
void applyLevel(QTextCharFormat &format, Level level, double normalSizePt, const LevelLook &look);

// Makes the edits, read from a text that starts at position `start` of the
// document, in the look of the characters they replace. An edit that
// touches protected characters or pictures is left out. Returns the number
// made; the caller makes them one step of undo.
int apply(QTextDocument &document, int start, const QList<Edit> &edits, const LevelLook &look);

} // namespace formulas
