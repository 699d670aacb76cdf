#pragma once

#include <QObject>

class Dialogs;
class EditCommands;
class QAction;
class QToolBar;
class RichTextBox;
struct SharedState;

// Polyatomic-ion formulas drawn as pictures at the caret, and the raising of
// ordinary text to stand level with their body.
class IonCommands : public QObject {
    Q_OBJECT
public:
    // The offset that sets a character level with an ion's body: a quarter
    // of its size, in twips per point.
    static constexpr int levelOffsetPerPoint = 5;

    IonCommands(RichTextBox &exo, SharedState &state, Dialogs &dialogs, EditCommands &edit,
                QWidget *window);

    // The hidden Insertion entry and its tool button; the alignment entry and
    // the small-size mark are the Indices menu's own.
    void addTo(QToolBar *toolBar);
    // The entry whose mark says whether indices and exponents are small.
    void useSmallSizeEntry(QAction *check2);

    void ionpoly_Click();
    // Raises the selected characters that stand at offset 0, in one undo
    // step, and turns the small-size mode on; the selection stays.
    void decabiz_Click();

signals:
    // The selection's formatting changed under the tools.
    void formatChanged();

private:
    RichTextBox &m_exo;
    SharedState &m_state;
    Dialogs &m_dialogs;
    EditCommands &m_edit;
    QWidget *m_window;
    QAction *m_check2 = nullptr;
};
