#include "document/rtf/rtfreader_impl.h"

// Footnotes, shown after their paragraph, and hidden text.
namespace rtfread {

void RtfReader::appendAsideChar(QString &text, char16_t ch) {
    if (ch < 0x20 && ch != '\t') return;
    if (ch == QChar::ObjectReplacementCharacter || ch == 0xFDD0 || ch == 0xFDD1) return;
    text.append(QChar(ch));
}

// Qt cannot hide text: hidden text becomes an empty picture that keeps it,
// and is written back as it came.
void RtfReader::flushHidden() {
    if (m_hiddenText.isEmpty()) return;
    QByteArray group;
    RtfEmitter emitter(group);
    emitter.raw("{");
    emitter.word("\\v");
    emitter.text(std::exchange(m_hiddenText, QString()));
    emitter.raw("}");
    QTextImageFormat format = imageFormat(QSizeF(0, 0), true);
    textprops::setRawRtfGroup(format, group);
    insertImage(format, rtfPlaceholderImage());
}

// The reference to a footnote shows its number, raised; the number is
// written back as the footnote's own mark.
// It stays ordinary text, written back as such, unless its footnote follows.
void RtfReader::insertFootnoteMark() {
    CharState &chars = top().chars;
    const CharState saved = chars;
    m_footnoteMarkShown = !chars.hidden && top().dest == Dest::Body;
    if (chars.superSub == SuperSub::None && !chars.hasExplicitOffset)
        chars.superSub = SuperSub::Super;
    if (m_footnoteMarkShown) {
        prepareBodyContent();
        flushRun();
        m_footnoteMarkStart = m_cursor.position();
    }
    for (const QChar digit : QString::number(m_footnotes + 1))
        handleCharacter(digit.unicode());
    top().chars = saved;
    if (m_footnoteMarkShown) {
        flushRun();
        m_footnoteMarkEnd = m_cursor.position();
    }
}

// The mark of the footnote just read is written back within its group.
void RtfReader::keepFootnoteMarkShownOnly() {
    QTextCursor mark(m_cursor.document());
    mark.setPosition(m_footnoteMarkStart);
    mark.setPosition(m_footnoteMarkEnd, QTextCursor::KeepAnchor);
    QTextCharFormat shownOnly;
    shownOnly.setProperty(textprops::ShownOnly, true);
    mark.mergeCharFormat(shownOnly);
}

// Qt has no footnotes: the note is kept as a group of its own in an empty
// picture at its place, written back as a footnote, and its text shows at
// the paragraph's end.
void RtfReader::finishFootnote() {
    // Counted once read whole: a note cut short is not kept, and does not
    // take a number from the notes that are.
    ++m_footnotes;
    const QString note = std::exchange(m_footnoteText, QString());
    QByteArray group;
    RtfEmitter emitter(group);
    // Its mark is its own when nothing stands between them; a mark further
    // back stays ordinary text, so that saving moves nothing.
    flushRun();
    const bool markJustBefore =
        m_hiddenText.isEmpty() && !m_pendingBreak && m_cursor.position() == m_footnoteMarkEnd;
    if (std::exchange(m_footnoteMarkShown, false) && markJustBefore) {
        keepFootnoteMarkShownOnly();
        emitter.raw("{\\super\\chftn}");
    }
    emitter.raw("{");
    // The note's text takes the font in force, which the writer makes a
    // plain one, not Symbol; it is never raised with its mark.
    emitter.word("\\footnote\\pard\\nosupersub");
    QString shown;
    qsizetype pieceStart = 0;
    for (qsizetype i = 0; i <= note.size(); ++i) {
        if (i < note.size() && note[i] != notePar && note[i] != noteMark) continue;
        emitter.text(QStringView(note).mid(pieceStart, i - pieceStart));
        shown += QStringView(note).mid(pieceStart, i - pieceStart);
        pieceStart = i + 1;
        if (i == note.size()) break;
        if (note[i] == notePar) {
            emitter.word("\\par");
            shown += u' ';
        } else {
            emitter.raw("{\\super\\chftn}");
            shown += QString::number(m_footnotes);
        }
    }
    emitter.raw("}");
    shown = shown.simplified();
    if (!shown.isEmpty()) m_pendingNotes += QStringLiteral(" [") + shown + u']';
    flushHidden();
    QTextImageFormat format = imageFormat(QSizeF(0, 0), true);
    format.clearProperty(textprops::ShownOnly);
    textprops::setRawRtfGroup(format, group);
    insertImage(format, rtfPlaceholderImage());
}

// The footnotes of a paragraph show at its end, in brackets, in the
// paragraph's own characters.
void RtfReader::flushNotes() {
    if (m_pendingNotes.isEmpty()) return;
    CharState &chars = top().chars;
    const CharState saved = chars;
    chars.superSub = SuperSub::None;
    chars.hasExplicitOffset = false;
    chars.hidden = false;
    chars.shownOnly = true;
    for (const QChar ch : std::exchange(m_pendingNotes, QString()))
        appendBodyChar(ch.unicode());
    top().chars = saved;
}

} // namespace rtfread
