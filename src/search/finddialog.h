#pragma once

#include <QDialog>

class Dialogs;
class QCheckBox;
class QLineEdit;
class RichTextBox;
struct SharedState;

// "Rechercher": asks for the text and the options, finds the first match
// in the selection (or the whole text) and closes on it; or hands over to
// the Replace dialog. Leaves chaine empty when cancelled.
class FindDialog : public QDialog {
    Q_OBJECT
public:
    FindDialog(RichTextBox &exo, SharedState &state, Dialogs &dialogs, QWidget *parent = nullptr);

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    // Escape and the window's frame cancel, as "&Annuler" does.
    void reject() override;

private:
    RichTextBox &m_exo;
    SharedState &m_state;
    Dialogs &m_dialogs;
    QLineEdit *m_text1 = nullptr;
    QCheckBox *m_check1 = nullptr; // match case
    QCheckBox *m_check2 = nullptr; // whole word
};
