#pragma once

#include <QDialog>

class QListWidget;
class QTextBrowser;

// The program's own help, compiled into it: its pages in a browser, with
// the list of the pages beside them.
class HelpWindow : public QDialog {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget *parent = nullptr);

    QTextBrowser *browser() const { return m_browser; }
    QListWidget *contents() const { return m_contents; }

    // The pages of the help, in the order of its contents list.
    static QStringList pageNames();

private:
    void showPage(const QUrl &url);

    QTextBrowser *m_browser = nullptr;
    QListWidget *m_contents = nullptr;
};
