#pragma once

#include <QObject>

class Dialogs;
class QToolBar;
class RichTextBox;
struct SharedState;

// The Tools menu: find, find next (F3 from anywhere in the window) and
// replace, on the working editor.
class SearchCommands : public QObject {
    Q_OBJECT
public:
    SearchCommands(RichTextBox &exo, SharedState &state, Dialogs &dialogs, QWidget *window);

    // The menu entries, and the find button after the buttons already on
    // the tool bar.
    void addTo(QToolBar *toolBar);

    void rechercher_Click();
    void contrech_Click();
    void remplace_Click();

private:
    RichTextBox &m_exo;
    SharedState &m_state;
    Dialogs &m_dialogs;
    QWidget *m_window;
};
