#pragma once

#include <QMainWindow>

class RichTextBox;

// The program's single window. For now it holds the working editor only.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);

    RichTextBox *exo() const { return m_exo; }

private:
    RichTextBox *m_exo;
};
