#pragma once

#include <QString>
#include <functional>

class Dialogs;
class QAction;
class RichTextBox;
struct SharedState;

// The statement and the correction of an exercise: one shown in the working
// editor, the other kept in its buffer; the commands that open, reload,
// switch and save them.
class TextFiles {
public:
    struct Controls {
        RichTextBox &exo;
        RichTextBox &sujetampon;  // the statement while it is not shown
        RichTextBox &corectampon; // the correction while it is not shown
        QAction &textexo;         // File-menu entry: path of the statement
        QAction &textcor;         // File-menu entry: path of the correction
    };

    TextFiles(const Controls &controls, SharedState &state, Dialogs &dialogs,
              std::function<void()> titleChanged);

    void showStatement();    // az52
    void showCorrection();   // az51
    void reloadStatement();  // textexo
    void reloadCorrection(); // textcor
    void ouvre();
    bool resauve();
    bool sauve();
    bool sauvetout();
    // The toolbar's save: both texts when the exercise names both.
    bool saveButton();
    // Asks whether to save a modified text, and saves on Yes. False when the
    // user wanted the text saved and it was not (cancelled or failed), so
    // that the caller keeps the text.
    bool settleUnsavedChanges();

    bool sauvencours() const { return m_sauvencours; }

private:
    void show(QAction &target, QAction &other, RichTextBox &targetBuffer, RichTextBox &otherBuffer,
              bool copyOnlyWhenOtherVisible);
    void reload(QAction &entry, const QString &title);
    bool saveEditorTo(const QString &path);

    Controls m_controls;
    SharedState &m_state;
    Dialogs &m_dialogs;
    std::function<void()> m_titleChanged;
    bool m_sauvencours = false;
};

// The path a File-menu text entry stands for, and setting it: the entry
// shows the path as its caption.
QString textEntryPath(const QAction &entry);
void setTextEntryPath(QAction &entry, const QString &path);
