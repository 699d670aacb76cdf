#pragma once

#include <QObject>

class IndexExponentTools;
class QAction;
class QToolBar;
class RichTextBox;

// Formulas typed as plain text (H2SO4, Cu2+, m.s-2) given their indices and
// exponents: on demand over the selection or the word at the caret, and,
// when the teacher wants it, as each word is typed.
class FormulaCommands : public QObject {
    Q_OBJECT
public:
    FormulaCommands(RichTextBox &exo, const IndexExponentTools &modes, QWidget *window);

    // The tool button, beside the ion's.
    void addTo(QToolBar *toolBar);
    // The Options entry whose mark formats each word as it is ended.
    void useAutomaticEntry(QAction *formulesauto);

    void formules_Click();

signals:
    // The selection's formatting changed under the tools.
    void formatChanged();

private:
    void wordEnded(const QString &typed);

    RichTextBox &m_exo;
    const IndexExponentTools &m_modes;
    QAction *m_formulesauto = nullptr;
};
