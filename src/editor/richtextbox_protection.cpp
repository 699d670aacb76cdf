#include "editor/richtextbox.h"

#include "document/runwalker.h"
#include "document/textproperties.h"

#include <QKeyEvent>
#include <QTextCursor>

// Protected text: which edits would touch it, keys included.

// --------------------------------------------------------------- protection

namespace {

bool isUnprotected(const runwalker::Run &run) {
    return !textprops::isProtected(run.format());
}

} // namespace

bool RichTextBox::protectedAt(int position) const {
    if (position < 0 || position >= lastPosition()) return false;
    return !runwalker::forEachRun(*document(), position, position + 1, runwalker::Marks::Included,
                                  isUnprotected);
}

bool RichTextBox::touchesProtected(int from, int to) const {
    if (from > to) std::swap(from, to);
    if (from == to) return protectedAt(from - 1) && protectedAt(from);
    return !runwalker::forEachRun(*document(), from, to, runwalker::Marks::Included, isUnprotected);
}

bool RichTextBox::rangeOfKey(QKeyEvent *event, int &from, int &to) const {
    QTextCursor cursor = textCursor();
    from = cursor.selectionStart();
    to = cursor.selectionEnd();
    const bool selection = cursor.hasSelection();
    auto extend = [&](QTextCursor::MoveOperation move) {
        if (selection) return;
        QTextCursor probe = cursor;
        probe.movePosition(move, QTextCursor::KeepAnchor);
        from = probe.selectionStart();
        to = probe.selectionEnd();
    };
    if (event->matches(QKeySequence::Cut) || event->matches(QKeySequence::Paste)) return true;
    if (event->matches(QKeySequence::Delete) || event->key() == Qt::Key_Delete) {
        extend(QTextCursor::NextCharacter);
        return true;
    }
    if (event->key() == Qt::Key_Backspace) {
        extend(QTextCursor::PreviousCharacter);
        return true;
    }
    if (event->matches(QKeySequence::DeleteStartOfWord)) {
        extend(QTextCursor::PreviousWord);
        return true;
    }
    if (event->matches(QKeySequence::DeleteEndOfWord)) {
        extend(QTextCursor::NextWord);
        return true;
    }
    if (event->matches(QKeySequence::DeleteEndOfLine)) {
        extend(QTextCursor::EndOfBlock);
        return true;
    }
    if (event->matches(QKeySequence::DeleteCompleteLine)) {
        QTextCursor probe = cursor;
        probe.select(QTextCursor::BlockUnderCursor);
        from = probe.selectionStart();
        to = probe.selectionEnd();
        return true;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
        event->key() == Qt::Key_Tab)
        return true;
    const QString text = event->text();
    return !text.isEmpty() && !text.at(0).isNull() && text.at(0).isPrint();
}
