#pragma once

#include "editor/richtextbox.h"

#include <QObject>
#include <QPoint>
#include <QTimer>

class FrenchDictionary;
class QAction;
class QMenu;
class QTextBlock;

// Misspelt words of the shown text underlined in red as the teacher types
// and as a text opens: the paragraphs in view first, the rest a few at a
// time while the program waits for the user. The underlines are display
// only. A right click on one offers the dictionary's suggestions, "Ignorer"
// and "Ajouter au dictionnaire".
class SpellUnderliner : public QObject {
    Q_OBJECT
public:
    SpellUnderliner(RichTextBox &exo, FrenchDictionary &dictionary, QObject *parent);

    // The Tools entry that turns the underlining on and off for the run;
    // without a dictionary it is disabled and says which package is missing.
    void useEntry(QAction *orthographe);

    bool isOn() const { return m_on; }
    // Paragraphs wait to be checked.
    bool pending() const { return m_idle.isActive() || m_typing.isActive(); }
    void setOn(bool on);
    // Checks every paragraph now (tests, and measures).
    void checkAll();
    // The longest the window has waited on one slice of the check, its
    // layout of the underlines included (measures).
    double longestSliceMs() const { return m_longestSliceMs; }

private:
    void restart();
    void checkSome();
    // Adds the paragraph's new marks to `changed` when they differ.
    void checkBlock(const QTextBlock &block, QList<RichTextBox::DisplayMarks> &changed);
    void changed(int from, int removed, int added);
    void addSuggestions(QMenu *menu, QPoint at);
    void clearAll();

    RichTextBox &m_exo;
    FrenchDictionary &m_dictionary;
    bool m_on = true;
    // The paragraphs still to check, by number: [m_next, m_end) in the
    // background pass, and those typed in.
    int m_next = 0;
    int m_end = 0;
    QList<int> m_typedIn;
    QTimer m_idle;
    QTimer m_typing;
    QMetaObject::Connection m_watched;
    double m_longestSliceMs = 0;
};
