#pragma once

#include <QDialog>

class QKeyEvent;
class QLineEdit;
class RichTextBox;

// Sets the left and right indents of the selected paragraphs, in
// centimetres from 0 to 4.
class MarginsDialog : public QDialog {
    Q_OBJECT
public:
    explicit MarginsDialog(RichTextBox &exo, QWidget *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *addField(int index, int topTwips);
    void addLabel(const QString &name, const QString &caption, int leftTwips, int topTwips,
                  int widthTwips);
    bool filterFieldKey(QLineEdit *field, QKeyEvent *event);
    void validate();

    RichTextBox &m_exo;
    QLineEdit *m_leftCm = nullptr;  // Text1(0)
    QLineEdit *m_rightCm = nullptr; // Text1(1)
    QString m_shownLeftCm;
    QString m_shownRightCm;
};
