#pragma once

#include <QObject>

class Dialogs;
class EditCommands;
class QToolBar;
class RichTextBox;
struct SharedState;

// The Insertion menu's image, text-file and object entries and the image
// button. Images and objects come as embedded objects shown by an icon, or
// as plain pictures, as the option "Conserver la liaison lors de
// l'insertion" says; each insertion is one undo step and leaves the
// clipboard alone.
class InsertionCommands : public QObject {
    Q_OBJECT
public:
    InsertionCommands(RichTextBox &exo, SharedState &state, Dialogs &dialogs, EditCommands &edit,
                      QWidget *window);

    // The entries, then a separator, before the entry `before`; the image
    // button at the end of the tool strip.
    void addTo(QToolBar *toolBar);

    void ima_Click();
    void insertext_Click();
    void objet_Click();

private:
    RichTextBox &m_exo;
    SharedState &m_state;
    Dialogs &m_dialogs;
    EditCommands &m_edit;
    QWidget *m_window;
    RichTextBox *m_rtfinsert;
};
