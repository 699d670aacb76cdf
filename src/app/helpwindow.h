#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;
class QTextBrowser;

// The program's own help, compiled into it: its pages in a browser, with
// the list of the pages beside them and a search over all of them. It
// stays open beside the window while the teacher follows its steps.
class HelpWindow : public QDialog {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget *parent = nullptr);

    QTextBrowser *browser() const { return m_browser; }
    QListWidget *contents() const { return m_contents; }
    QLineEdit *searchField() const { return m_search; }

    // Lists only the pages holding every word of `words` (case and accents
    // aside) and shows the first of them, the first word found; all the
    // pages again when `words` is empty.
    void search(const QString &words);

    // The pages of the help, in the order of its contents list.
    static QStringList pageNames();

private:
    void showPage(const QUrl &url);

    QTextBrowser *m_browser = nullptr;
    QListWidget *m_contents = nullptr;
    QLineEdit *m_search = nullptr;
    QLabel *m_found = nullptr;
    // Each page's words, in the contents' order, folded for searching.
    QStringList m_pageTexts;
};
