#pragma once

#include <QObject>

class QAction;
class QToolBar;
class RichTextBox;
struct SharedState;

// Undo, the clipboard, special paste and select all on the working editor,
// and the memory of the caret's typing attributes around an insertion.
class EditCommands : public QObject {
    Q_OBJECT
public:
    EditCommands(RichTextBox &exo, SharedState &state, QWidget *window);

    void addTo(QToolBar *toolBar);
    // The two Options entries whose marks say how pictures come in.
    void useLinkEntries(QAction *liercolle, QAction *lierobj);

    void annuleur_Click();
    void coupe_Click();
    void copie_Click();
    void colle_Click();
    void supprime_Click();
    void supercolle_Click();
    void toutsel_Click();
    // Saves the caret's typing attributes before an insertion ...
    void memoriser();
    // ... and gives them back to the caret behind the inserted piece.
    void restituer();
    // "Conserver la liaison lors de l'insertion": objects rather than pictures.
    bool keepsLinkOnInsertion() const;

private:
    void putSelectionOnClipboard();

    RichTextBox &m_exo;
    SharedState &m_state;
    RichTextBox *m_tamponrtf;
    QAction *m_liercolle = nullptr;
    QAction *m_lierobj = nullptr;
};

// Copies the nine typing attributes the program keeps around insertions,
// skipping those the source selection mixes.
void copyTypingAttributes(const RichTextBox &from, RichTextBox &to);
