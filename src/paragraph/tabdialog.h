#pragma once

#include "base/dialogs.h"

#include <QDialog>
#include <functional>

class QKeyEvent;
class QLineEdit;
class QListWidget;
class QShowEvent;
class RichTextBox;

// Lists the tab stops of the selected paragraphs in centimetres, adds and
// removes them. Closing writes the listed stops back, in the list's order.
// Everything done from opening to closing is one step of undo.
class TabDialog : public QDialog {
    Q_OBJECT
public:
    TabDialog(RichTextBox &exo, Dialogs &dialogs, QWidget *parent = nullptr);

    // False when the selection's paragraphs do not share their tab stops: the
    // refusal was shown and the dialog must not be shown.
    bool loaded() const { return m_loaded; }

    // Run when the dialog closes, after the stops were written back.
    std::function<void()> afterClose;

    // Every way of closing ends here.
    void done(int result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildControls();
    // Lists the stops afresh; closes the dialog when they stopped agreeing.
    void listStops();
    void addStop();
    void deleteSelectedStop();
    void deleteAllStops();
    void writeStopsBack();
    // Makes a change of the stops part of the dialog's one step of undo.
    void changeStops(const std::function<void()> &change);
    bool filterPositionKey(QKeyEvent *event);

    RichTextBox &m_exo;
    Dialogs &m_dialogs;
    QListWidget *m_sortedCm = nullptr;    // List1: shown, sorted as text
    QListWidget *m_stopOrderCm = nullptr; // List2: hidden, index i is stop i
    QLineEdit *m_newPositionCm = nullptr; // Text1
    bool m_loaded = true;
    bool m_writtenBack = false;
    bool m_changedStops = false; // since the dialog opened
};
