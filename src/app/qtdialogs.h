#pragma once

#include "base/dialogs.h"

#include <QPointer>
#include <QWidget>

// The dialogs of the desktop, through Qt.
class QtDialogs : public Dialogs {
public:
    void setParentWindow(QWidget *window) { m_parent = window; }

    Answer message(const Message &message) override;
    std::optional<QString> input(const QString &prompt, const QString &title,
                                 const QString &initialText) override;
    std::optional<QString> openFileName(const FileRequest &request) override;
    std::optional<QString> saveFileName(const FileRequest &request) override;
    bool setupPrinter(QPrinter &printer) override;
    int runDialog(QDialog &dialog) override;
    bool showHelp(const QString &path) override;

private:
    std::optional<QString> fileName(const FileRequest &request, bool saving);
    QPointer<QWidget> m_parent;
};
