#include "app/mainwindow.h"

#include "editor/richtextbox.h"

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent), m_exo(new RichTextBox(this)) {
    setObjectName(QStringLiteral("redigo"));
    m_exo->setObjectName(QStringLiteral("exo"));
    setCentralWidget(m_exo);
    setWindowTitle(QStringLiteral("REDIGO - "));
    resize(800, 600);
}
