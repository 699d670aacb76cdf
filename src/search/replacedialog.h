#pragma once

#include <QDialog>

class Dialogs;
class QCheckBox;
class QLineEdit;
class RichTextBox;
struct SharedState;

namespace replacement {
struct Outcome;
}

// "Remplacer": replaces the occurrences of a text in the editor, one by one
// with a confirmation for each, or all at once.
class ReplaceDialog : public QDialog {
    Q_OBJECT
public:
    ReplaceDialog(RichTextBox &exo, SharedState &state, Dialogs &dialogs,
                  QWidget *parent = nullptr);

    void Command3_Click(); // one by one
    void Command1_Click(); // all at once
    void Command2_Click();
    // Escape and the window's frame cancel, as "&Annuler" does.
    void reject() override;

private:
    // Takes the texts; false, with the dialog left open, when there is
    // nothing to search for.
    bool takeTexts();
    void commun();
    // Offers each match in turn, from the start of the text.
    void confirmEach();
    void reportEnd(const replacement::Outcome &outcome);

    RichTextBox &m_exo;
    SharedState &m_state;
    Dialogs &m_dialogs;
    QLineEdit *m_text1 = nullptr;
    QLineEdit *m_text2 = nullptr;
    QCheckBox *m_check1 = nullptr; // match case
    QCheckBox *m_check2 = nullptr; // whole word
};

// Shows the Replace dialog; once it has closed, whichever way, the editor's
// selection is a caret at its start.
void runReplaceDialog(RichTextBox &exo, SharedState &state, Dialogs &dialogs, QWidget *parent);
