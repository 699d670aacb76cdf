#include "format/formulacommands.h"

#include "document/formulalook.h"
#include "editor/richtextbox.h"
#include "format/indexexponenttools.h"

#include <QAction>
#include <QPainter>
#include <QPixmap>
#include <QTextBlock>
#include <QTextCursor>
#include <QToolBar>
#include <QToolButton>

namespace {

// H2O with its index, as the button's picture.
QIcon formulaIcon() {
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(QColor(0, 0, 128));
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(QRect(0, 4, 9, 14), Qt::AlignCenter, QStringLiteral("H"));
    painter.drawText(QRect(14, 4, 10, 14), Qt::AlignCenter, QStringLiteral("O"));
    font.setPixelSize(8);
    painter.setFont(font);
    painter.drawText(QRect(8, 12, 7, 10), Qt::AlignCenter, QStringLiteral("2"));
    painter.end();
    return QIcon(pixmap);
}

// The keys that end a word as it is typed. A dot does not: it may join the
// parts of a hydrate or of a unit (CuSO4.5H2O, m.s-2).
bool endsWord(const QString &typed) {
    return typed.size() == 1 && QStringView(u" \t\n,;:!?").contains(typed.front());
}

} // namespace

FormulaCommands::FormulaCommands(RichTextBox &exo, const IndexExponentTools &modes, QWidget *window)
    : QObject(window), m_exo(exo), m_modes(modes) {
    connect(&m_exo, &RichTextBox::typed, this, &FormulaCommands::wordEnded);
}

void FormulaCommands::addTo(QToolBar *toolBar) {
    auto *button = new QToolButton(toolBar);
    button->setObjectName(QStringLiteral("boutonformules"));
    button->setToolTip(QStringLiteral("Mettre en forme les formules (indices et exposants)"));
    button->setIcon(formulaIcon());
    toolBar->addWidget(button);
    connect(button, &QToolButton::clicked, this, &FormulaCommands::formules_Click);
}

void FormulaCommands::useAutomaticEntry(QAction *formulesauto) {
    m_formulesauto = formulesauto;
}

void FormulaCommands::formules_Click() {
    QTextCursor cursor = m_exo.textCursor();
    const bool selection = cursor.hasSelection();
    int start = 0;
    QList<formulas::Edit> edits;
    if (selection) {
        // One character of the selected text per position: paragraph ends
        // and pictures included.
        start = cursor.selectionStart();
        edits = formulas::readSelection(cursor.selectedText());
    } else {
        // The word at the caret, read as the user asked for it.
        const QTextBlock block = cursor.block();
        const QString line = block.text();
        qsizetype from = cursor.position() - block.position();
        qsizetype to = from;
        while (from > 0 && !line.at(from - 1).isSpace())
            --from;
        while (to < line.size() && !line.at(to).isSpace())
            ++to;
        start = block.position() + int(from);
        edits =
            formulas::readText(QStringView(line).mid(from, to - from), formulas::Mode::Explicit);
    }
    const int end = selection ? cursor.selectionEnd() : cursor.position();
    qsizetype lengthChange = 0;
    {
        RichTextBox::UndoStep step(m_exo);
        if (formulas::apply(*m_exo.document(), start, edits, m_modes.levelLook()) == 0) return;
        for (const formulas::Edit &edit : edits)
            lengthChange += edit.shown.text.size() - (edit.to - edit.from);
    }
    // The selection stays on the same text, now formatted.
    QTextCursor after(m_exo.document());
    if (selection) {
        after.setPosition(start);
        after.setPosition(end + int(lengthChange), QTextCursor::KeepAnchor);
    } else {
        after.setPosition(std::min(end, m_exo.document()->characterCount() - 1));
    }
    m_exo.setTextCursor(after);
    m_exo.refresh();
    m_exo.setFocus();
    emit formatChanged();
}

void FormulaCommands::wordEnded(const QString &typed) {
    if (!m_formulesauto || !m_formulesauto->isChecked() || !endsWord(typed)) return;
    // The word ends before the character just typed (the paragraph's end
    // for Return).
    const int ender = m_exo.textCursor().position() - 1;
    if (ender < 0) return;
    const QTextBlock block = m_exo.document()->findBlock(ender);
    const QString before = block.text().left(ender - block.position());
    const QList<formulas::Edit> edits = formulas::readLastWord(before);
    if (edits.isEmpty()) return;
    // A step of its own, after the key's: the next undo gives back the word
    // as typed.
    RichTextBox::UndoStep step(m_exo);
    if (formulas::apply(*m_exo.document(), block.position(), edits, m_modes.levelLook()) == 0)
        return;
    step.end();
    m_exo.refresh();
    emit formatChanged();
}
