#include "editor/richtextbox.h"

#include <QTextCursor>
#include <QTextDocument>

// Finding text in the control, where it lies in the document.

namespace {

bool isWordCharacter(QChar ch) {
    return ch.isLetterOrNumber() || ch == QLatin1Char('_');
}

} // namespace

// ---------------------------------------------------------------------- find

int RichTextBox::find(const QString &text, std::optional<int> start, std::optional<int> end,
                      int options) {
    int from = 0;
    int to = lastPosition();
    if (start || end) {
        from = start.value_or(0);
        if (end) to = *end;
    } else if (textCursor().hasSelection()) {
        from = selStart();
        to = from + selLength();
    }
    const int at = locate(text, from, to, options);
    if (at < 0) return -1;
    QTextCursor cursor = textCursor();
    cursor.setPosition(at);
    cursor.setPosition(at + int(text.size()), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
    return at;
}

int RichTextBox::locate(const QString &text, int from, int to, int options) const {
    const int length = lastPosition();
    from = std::clamp(from, 0, length);
    to = std::clamp(to, from, length);
    if (text.isEmpty()) return -1;
    const QTextDocument *doc = document();
    const auto isWordAt = [doc, length](int position) {
        return position >= 0 && position < length && isWordCharacter(doc->characterAt(position));
    };
    // The document is searched where it is: replacing all calls this once
    // per occurrence, and a copy of the whole text each time would make it
    // quadratic. Only a text spanning paragraphs needs the plain text.
    const bool spansParagraphs = text.contains(QLatin1Char('\n'));
    const QString all = spansParagraphs ? doc->toPlainText() : QString();
    const Qt::CaseSensitivity sensitivity =
        (options & MatchCase) ? Qt::CaseSensitive : Qt::CaseInsensitive;
    QTextDocument::FindFlags flags;
    if (options & MatchCase) flags |= QTextDocument::FindCaseSensitively;
    int at = from;
    while (true) {
        if (spansParagraphs) {
            at = int(all.indexOf(text, at, sensitivity));
        } else {
            const QTextCursor found = doc->find(text, at, flags);
            at = found.isNull() ? -1 : found.selectionStart();
        }
        if (at < 0 || at + text.size() > to) return -1;
        const int after = at + int(text.size());
        if ((options & WholeWord) && (isWordAt(at - 1) || isWordAt(after))) {
            ++at;
            continue;
        }
        return at;
    }
}
