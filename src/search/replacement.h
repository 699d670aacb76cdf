#pragma once

#include <QString>

class RichTextBox;

namespace replacement {

struct Outcome {
    int replaced = 0;
    int protectedLeft = 0; // matches left alone because they are protected text
};

// Replaces every match of text from position 0 on by replacement, as one
// undo step. The search goes on behind each inserted piece, so a
// replacement that contains the text ends, each original match replaced
// once. Leaves the caret behind the last replacement.
Outcome replaceAll(RichTextBox &exo, const QString &text, const QString &replacement, int options);

} // namespace replacement
