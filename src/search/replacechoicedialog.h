#pragma once

#include <QDialog>

// "Remplacer": asks what to do with the match selected in the editor.
// Closing it by its frame, or with Escape, skips the match.
class ReplaceChoiceDialog : public QDialog {
    Q_OBJECT
public:
    enum Choice { Replace, Skip, Cancel, ReplaceAll };

    explicit ReplaceChoiceDialog(QWidget *parent = nullptr);

    Choice choice() const { return m_choice; }
    void reject() override;

private:
    Choice m_choice = Skip;
};
