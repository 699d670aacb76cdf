#include "search/replacement.h"

#include "editor/richtextbox.h"

#include <QSignalBlocker>
#include <QTextCursor>

namespace replacement {

Outcome replaceAll(RichTextBox &exo, const QString &text, const QString &replacement, int options) {
    Outcome outcome;
    if (text.isEmpty()) return outcome;
    QTextCursor undoStep(exo.document());
    undoStep.beginEditBlock();
    {
        // The tools need not follow every match: they follow the caret
        // once the replacement is over.
        const QSignalBlocker quiet(exo);
        int from = 0;
        while (true) {
            const int at = exo.find(text, from, std::nullopt, options);
            if (at < 0) break;
            if (exo.setSelText(replacement)) {
                ++outcome.replaced;
                from = at + int(replacement.size());
            } else {
                ++outcome.protectedLeft;
                from = at + int(text.size());
            }
        }
    }
    undoStep.endEditBlock();
    return outcome;
}

} // namespace replacement
