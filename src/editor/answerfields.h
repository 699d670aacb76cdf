#pragma once

#include <QObject>

class QAction;
class QTextDocument;
class RichTextBox;

// Answer fields: a framed block whose frame lines are protected, so that the
// pupil can only type between them, and the protection of any selection.
class AnswerFields : public QObject {
    Q_OBJECT
public:
    AnswerFields(RichTextBox &exo, QObject *parent);

    // The checkable Format entry that shows and sets the protection.
    void useProtectionEntry(QAction *protection);

    // Inserts the block in place of the selection, as one undo step. Nothing
    // happens where the selection cannot be changed.
    void champreponse_Click();
    // Protects the selection, or frees it when the item is checked.
    void protection_Click();
    // The item's check mark follows the selection when the Format menu opens;
    // a partly protected selection counts as free.
    void showProtection();

    // A copy of a text as the pupil gets it: what stands between the frame
    // lines of each answer field taken out, its lines kept blank. Returns
    // the number of fields found.
    static int blankAnswers(QTextDocument &copy);

private:
    RichTextBox &m_exo;
    QAction *m_protection = nullptr;
};
