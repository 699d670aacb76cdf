#include "editor/richtextbox.h"

#include "document/offsetroom.h"
#include "document/textproperties.h"

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QUrl>

// What the control does with keys, clicks, input methods and drops of its own.

// ------------------------------------------------------------ notifications

void RichTextBox::focusInEvent(QFocusEvent *event) {
    QTextEdit::focusInEvent(event);
    emit gotFocus();
}

void RichTextBox::keyPressEvent(QKeyEvent *event) {
    // Tab inserts one tab, in the caret's format, and never moves the focus.
    if (event->key() == Qt::Key_Tab && !(event->modifiers() & Qt::ControlModifier) &&
        !isReadOnly()) {
        setSelText(QStringLiteral("\t"));
        event->accept();
        emit typed(QStringLiteral("\t"));
        return;
    }
    // Ctrl+Y redoes too, whatever the desktop's own keys for it.
    const Qt::KeyboardModifiers modifiers =
        event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
    const bool redoKey =
        event->matches(QKeySequence::Redo) ||
        (event->key() == Qt::Key_Y && modifiers == Qt::ControlModifier) ||
        (event->key() == Qt::Key_Z && modifiers == (Qt::ControlModifier | Qt::ShiftModifier));
    if (!isReadOnly() && (redoKey || event->matches(QKeySequence::Undo))) {
        if (redoKey)
            redoLastStep();
        else
            undoLastStep();
        event->accept();
        return;
    }
    int from = 0;
    int to = 0;
    const bool edits = !isReadOnly() && rangeOfKey(event, from, to);
    if (edits && touchesProtected(from, to)) {
        event->accept();
        return;
    }
    if (edits) freeTypingFormat();
    // Qt records a keystroke outside any group, where the room it gives or
    // takes from raised characters could not join it: one key, one undo step.
    // Opened on a copy of the caret: undoing the key puts the caret back
    // there, not at the start of the text.
    QTextCursor step = textCursor();
    const bool grouped =
        edits && offsetroom::mayChange(*document(), from, to, textCursor().charFormat());
    if (grouped) step.beginEditBlock();
    const int changesBefore = m_contentChanges;
    const std::pair<int, int> selectionBefore = m_lastSelection;
    if (edits && event->matches(QKeySequence::InsertParagraphSeparator))
        insertParagraphInItsLook();
    else
        QTextEdit::keyPressEvent(event);
    if (grouped) step.endEditBlock();
    // A key that leaves the caret where it stood (End at the end of a line)
    // still gives it the format of the character before it.
    if (!edits) typeInTheLookBeforePictures();
    if (m_contentChanges != changesBefore && m_lastSelection == selectionBefore)
        emit editedInPlace();
    if (edits && m_contentChanges != changesBefore) {
        if (event->matches(QKeySequence::InsertParagraphSeparator))
            emit typed(QStringLiteral("\n"));
        else if (!event->text().isEmpty() && event->text().front().isPrint())
            emit typed(event->text());
    }
}

// Return makes a paragraph like the one it ends, an empty one included:
// Qt's editor would give the paragraph after an empty line no margins, no
// tab stops and its own font. An empty bullet ends the list, its margins
// kept.
void RichTextBox::insertParagraphInItsLook() {
    QTextCursor cursor = textCursor();
    if (cursor.currentList() && !cursor.hasSelection() && cursor.block().length() == 1) {
        changeSelectedBlocks([](QTextBlockFormat &format) { format.setObjectIndex(-1); });
        return;
    }
    QTextBlockFormat paragraph = cursor.blockFormat();
    paragraph.clearProperty(QTextFormat::BlockTrailingHorizontalRulerWidth);
    cursor.insertBlock(paragraph, cursor.charFormat());
    setTextCursor(cursor);
    ensureCursorVisible();
}

void RichTextBox::mousePressEvent(QMouseEvent *event) {
    QTextEdit::mousePressEvent(event);
    // So does a click where the caret already stands.
    typeInTheLookBeforePictures();
    m_pressed = true;
    const QPoint at = event->position().toPoint();
    emit mouseDown(event->button(), event->modifiers(), at.x(), at.y());
}

void RichTextBox::mouseReleaseEvent(QMouseEvent *event) {
    QTextEdit::mouseReleaseEvent(event);
    if (m_pressed && rect().contains(event->position().toPoint())) emit clicked();
    m_pressed = false;
}

// Typing is allowed right beside protected text, whose format the caret
// may have taken: what is typed there stays free. Beside a footnote's shown
// number or text, what is typed is the user's, and is saved.
void RichTextBox::freeTypingFormat() {
    const QTextCharFormat typing = currentCharFormat();
    if (textCursor().hasSelection() ||
        !(textprops::isProtected(typing) || typing.hasProperty(textprops::ShownOnly)))
        return;
    QTextCharFormat freed = typing;
    textprops::setProtected(freed, false);
    freed.clearProperty(textprops::ShownOnly);
    setCurrentCharFormat(freed);
}

// A picture has no look of its own to type in: right after one, typing goes
// on in the look of the text before it, as after any character (or of the
// text after it when the paragraph starts with pictures). Set when the caret
// arrives, so that a look the user then chooses is kept.
void RichTextBox::typeInTheLookBeforePictures() {
    const QTextCursor caret = textCursor();
    if (caret.hasSelection() || caret.atBlockStart()) return;
    const QTextBlock block = caret.block();
    const auto isPicture = [](const QTextCharFormat &format) {
        return format.objectType() != QTextFormat::NoObject;
    };
    // The document's format before the caret, not the typing format.
    QTextCursor probe(document());
    probe.setPosition(caret.position());
    if (!isPicture(probe.charFormat())) return;
    std::optional<QTextCharFormat> before;
    std::optional<QTextCharFormat> after;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (isPicture(fragment.charFormat())) continue;
        if (fragment.position() < caret.position())
            before = fragment.charFormat();
        else
            after = fragment.charFormat();
        if (fragment.position() >= caret.position()) break;
    }
    QTextCharFormat look = before.value_or(after.value_or(block.charFormat()));
    if (isPicture(look)) look = QTextCharFormat();
    setCurrentCharFormat(look);
}

void RichTextBox::inputMethodEvent(QInputMethodEvent *event) {
    if (!event->commitString().isEmpty() || !event->preeditString().isEmpty()) {
        const QTextCursor cursor = textCursor();
        int from = cursor.selectionStart();
        int to = cursor.selectionEnd();
        if (event->replacementLength() > 0) {
            from = std::min(from, cursor.position() + event->replacementStart());
            to = std::max(to, cursor.position() + event->replacementStart() +
                                  event->replacementLength());
        }
        if (touchesProtected(from, to)) {
            event->accept();
            return;
        }
        freeTypingFormat();
    }
    QTextEdit::inputMethodEvent(event);
}

void RichTextBox::contextMenuEvent(QContextMenuEvent *event) {
    // Built from our own operations, so that cut and delete respect protection.
    QMenu menu(this);
    const QTextCursor cursor = textCursor();
    const bool selection = cursor.hasSelection();
    const bool editable = !touchesProtected(cursor.selectionStart(), cursor.selectionEnd());
    emit contextMenuOpening(&menu, event->pos());
    if (!menu.isEmpty()) menu.addSeparator();
    menu.addAction(tr("Annuler"), this, &RichTextBox::undoLastStep)
        ->setEnabled(document()->isUndoAvailable());
    menu.addAction(tr("Rétablir"), this, &RichTextBox::redoLastStep)
        ->setEnabled(document()->isRedoAvailable());
    menu.addSeparator();
    menu.addAction(tr("Couper"), this, &RichTextBox::cutSelection)
        ->setEnabled(selection && editable);
    menu.addAction(tr("Copier"), this, &QTextEdit::copy)->setEnabled(selection);
    menu.addAction(tr("Coller"), this, &QTextEdit::paste)->setEnabled(editable && canPaste());
    menu.addAction(tr("Supprimer"), this, [this] { setSelText(QString()); })
        ->setEnabled(selection && editable);
    menu.addSeparator();
    menu.addAction(tr("Tout sélectionner"), this, &QTextEdit::selectAll);
    menu.exec(event->globalPos());
}

void RichTextBox::cutSelection() {
    const QTextCursor cursor = textCursor();
    if (!cursor.hasSelection() || touchesProtected(cursor.selectionStart(), cursor.selectionEnd()))
        return;
    cut();
}

namespace {

// The local files a drag from outside carries, as a file manager sends them.
QStringList draggedFiles(const QDropEvent *event, const QObject *control) {
    QStringList paths;
    if (event->source() == control || !event->mimeData()->hasUrls()) return paths;
    for (const QUrl &url : event->mimeData()->urls())
        if (url.isLocalFile()) paths << url.toLocalFile();
    return paths;
}

} // namespace

void RichTextBox::dragEnterEvent(QDragEnterEvent *event) {
    if (!draggedFiles(event, this).isEmpty()) {
        event->acceptProposedAction();
        return;
    }
    QTextEdit::dragEnterEvent(event);
}

void RichTextBox::dragMoveEvent(QDragMoveEvent *event) {
    if (!draggedFiles(event, this).isEmpty()) {
        event->acceptProposedAction();
        return;
    }
    QTextEdit::dragMoveEvent(event);
    const int at = cursorForPosition(event->position().toPoint()).position();
    if (touchesProtected(at, at) || (event->source() == this && movesProtectedSelection(event)))
        event->ignore();
}

void RichTextBox::dropEvent(QDropEvent *event) {
    if (const QStringList files = draggedFiles(event, this); !files.isEmpty()) {
        event->acceptProposedAction();
        emit filesDropped(files);
        return;
    }
    const int at = cursorForPosition(event->position().toPoint()).position();
    if (touchesProtected(at, at) || (event->source() == this && movesProtectedSelection(event))) {
        event->ignore();
        return;
    }
    QTextEdit::dropEvent(event);
}

bool RichTextBox::movesProtectedSelection(const QDropEvent *event) const {
    if (event->dropAction() != Qt::MoveAction && event->proposedAction() != Qt::MoveAction)
        return false;
    const QTextCursor cursor = textCursor();
    return touchesProtected(cursor.selectionStart(), cursor.selectionEnd());
}
