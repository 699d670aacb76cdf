#pragma once

#include "base/dialogs.h"

#include <QHash>
#include <QPointer>
#include <QWidget>
#include <functional>

class QFileDialog;

// The dialogs of the desktop, through Qt.
class QtDialogs : public Dialogs {
public:
    void setParentWindow(QWidget *window) { m_parent = window; }
    // The folder of the exercise open, or nothing when none is: the file
    // dialogs start there.
    void setExerciseFolder(std::function<QString()> folder) {
        m_exerciseFolder = std::move(folder);
    }

    Answer message(const Message &message) override;
    std::optional<QString> input(const QString &prompt, const QString &title,
                                 const QString &initialText) override;
    std::optional<QString> openFileName(const FileRequest &request) override;
    std::optional<QString> saveFileName(const FileRequest &request) override;
    bool setupPrinter(QPrinter &printer) override;
    int runDialog(QDialog &dialog) override;
    bool showHelp(const QString &path) override;

    // Which files a filter asks for, so that each kind keeps its own folder.
    enum class FileKind { Texts, Pictures, Exercises, Other };
    static FileKind fileKind(const QString &filter);
    // The folder last used for each kind, by the kind's name ("textes",
    // "images", "exercices", "autres"), to be remembered between runs.
    QHash<QString, QString> lastFolders() const;
    void setLastFolders(const QHash<QString, QString> &folders);

private:
    std::optional<QString> fileName(const FileRequest &request, bool saving);
    QString startFolder(const FileRequest &request) const;

    QPointer<QWidget> m_parent;
    std::function<QString()> m_exerciseFolder;
    QHash<FileKind, QString> m_lastFolders;
};
