#pragma once

#include <QDialog>

class Dialogs;
class QLineEdit;
class QPushButton;

// "Insérer un objet": the file an object is made from. OK waits for the name
// of an existing file, typed or chosen with "Parcourir...".
class InsertObjectDialog : public QDialog {
    Q_OBJECT
public:
    // embedded: the file goes into the text as an object, not as a picture.
    InsertObjectDialog(Dialogs &dialogs, bool embedded, QWidget *parent = nullptr);

    QString fileName() const;

private:
    void browse();
    void updateOk();

    Dialogs &m_dialogs;
    QLineEdit *m_fileName;
    QPushButton *m_ok;
};
