#include "editor/answerfields.h"

#include "document/textproperties.h"
#include "editor/richtextbox.h"

#include <QAction>
#include <QColor>
#include <QTextBlock>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>

namespace {

const QString topLine =
    QStringLiteral("------------------------- réponse --------------------------");
const QString bottomLine =
    QStringLiteral("------------------------------------------------------------------");
const QString blankLine = QStringLiteral("     ");
constexpr int blankLines = 3;

const QRgb frameColour = qRgb(128, 128, 255);
const QRgb answerColour = qRgb(0, 0, 200);
const QRgb afterColour = qRgb(0, 0, 0);
constexpr double frameSizePt = 8;
constexpr double answerSizePt = 12;
constexpr double afterSizePt = 10;
const QString fieldFont = QStringLiteral("Arial");

// A plain upright Arial of one size and colour: nothing of the text around
// the caret (bold, an exponent's offset) leaks into the block.
QTextCharFormat fieldFormat(double sizePt, QRgb colour, bool isProtected) {
    QTextCharFormat format;
    textprops::setFontName(format, fieldFont);
    format.setFontPointSize(sizePt);
    format.setForeground(QColor(colour));
    format.setFontWeight(QFont::Normal);
    format.setFontItalic(false);
    format.setFontUnderline(false);
    format.setFontStrikeOut(false);
    textprops::setOffsetTwips(format, 0);
    textprops::setProtected(format, isProtected);
    return format;
}

} // namespace

AnswerFields::AnswerFields(RichTextBox &exo, QObject *parent) : QObject(parent), m_exo(exo) {}

void AnswerFields::useProtectionEntry(QAction *protection) {
    m_protection = protection;
}

void AnswerFields::champreponse_Click() {
    if (m_exo.isReadOnly() ||
        m_exo.touchesProtected(m_exo.selStart(), m_exo.selStart() + m_exo.selLength()))
        return;
    const QTextCharFormat frame = fieldFormat(frameSizePt, frameColour, true);
    const QTextCharFormat answer = fieldFormat(answerSizePt, answerColour, false);

    QTextCursor cursor = m_exo.textCursor();
    RichTextBox::UndoStep step(m_exo);
    cursor.removeSelectedText();
    QTextBlockFormat centred = cursor.blockFormat();
    centred.setAlignment(Qt::AlignHCenter);
    cursor.setBlockFormat(centred);
    // Each line ends with its own paragraph break, which takes the line's
    // format: the frame lines are protected up to and including their break.
    cursor.insertText(topLine, frame);
    cursor.insertBlock(centred, frame);
    for (int line = 0; line < blankLines; ++line) {
        cursor.insertText(blankLine, answer);
        cursor.insertBlock(centred, answer);
    }
    cursor.insertText(bottomLine, frame);
    cursor.insertBlock(centred, frame);
    step.end();

    // What is typed right after the block is ordinary text.
    cursor.setCharFormat(fieldFormat(afterSizePt, afterColour, false));
    m_exo.setTextCursor(cursor);
    m_exo.setFocus();
}

void AnswerFields::protection_Click() {
    // A checkable item has already turned its mark over: it shows the new state.
    m_exo.setSelProtected(m_protection->isChecked());
    m_exo.setFocus();
}

void AnswerFields::showProtection() {
    m_protection->setChecked(m_exo.selProtected().value_or(false));
}

namespace {

// A frame line: a line of dashes, protected, as the field was inserted.
bool isFrameLine(const QTextBlock &block) {
    const QString text = block.text();
    if (!text.startsWith(QLatin1String("-----"))) return false;
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::NextCharacter);
    return textprops::isProtected(cursor.charFormat());
}

} // namespace

int AnswerFields::blankAnswers(QTextDocument &copy) {
    int fields = 0;
    for (QTextBlock block = copy.begin(); block.isValid(); block = block.next()) {
        if (!isFrameLine(block) || !block.text().contains(QStringLiteral("réponse"))) continue;
        // The lines up to the bottom frame line; a field whose bottom line
        // was taken away is left as it is.
        QTextBlock bottom = block.next();
        while (bottom.isValid() && !isFrameLine(bottom))
            bottom = bottom.next();
        if (!bottom.isValid()) break;
        for (QTextBlock line = block.next(); line != bottom; line = line.next()) {
            QTextCursor cursor(line);
            cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
            cursor.removeSelectedText();
        }
        ++fields;
        block = bottom;
    }
    return fields;
}
