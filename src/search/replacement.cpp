#include "search/replacement.h"

#include "editor/richtextbox.h"

#include <QTextCursor>
#include <QTextDocument>

namespace replacement {

Outcome replaceAll(RichTextBox &exo, const QString &text, const QString &replacement, int options) {
    Outcome outcome;
    if (text.isEmpty()) return outcome;
    // The matches are replaced through a cursor of our own: moving the
    // editor's selection to each would lay the text out and refresh the
    // tools ten thousand times on a long text. One edit block: one undo.
    QTextCursor cursor(exo.document());
    RichTextBox::UndoStep step(exo);
    int from = 0;
    while (true) {
        const int at = exo.locate(text, from, exo.document()->characterCount(), options);
        if (at < 0) break;
        const int after = at + int(text.size());
        if (exo.touchesProtected(at, after)) {
            ++outcome.protectedLeft;
            from = after;
            continue;
        }
        cursor.setPosition(at);
        cursor.setPosition(after, QTextCursor::KeepAnchor);
        cursor.insertText(replacement, RichTextBox::replacingFormat(cursor));
        ++outcome.replaced;
        from = cursor.position();
    }
    step.end();
    if (outcome.replaced > 0) exo.setTextCursor(cursor);
    return outcome;
}

} // namespace replacement
