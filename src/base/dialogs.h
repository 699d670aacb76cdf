#pragma once

#include <QString>
#include <optional>

class QDialog;
class QPrinter;

enum class MessageButtons { Ok, OkCancel, YesNo };
enum class MessageIcon { None, Critical, Question, Exclamation };
enum class Answer { Ok, Cancel, Yes, No };

struct Message {
    QString text;
    QString title;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
};

struct FileRequest {
    QString title;
    // Pairs of description and patterns: "Texte format rtf|*.rtf|Tous |*.*".
    QString filter;
    QString initialName;
};

// Message and input boxes, file dialogs, the printer set-up and the help
// viewer: everything the program asks the user through the platform.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual Answer message(const Message &message) = 0;
    // The typed text, or nothing when the user cancelled.
    virtual std::optional<QString> input(const QString &prompt, const QString &title,
                                         const QString &initialText) = 0;
    // A full path, or nothing when the user cancelled.
    virtual std::optional<QString> openFileName(const FileRequest &request) = 0;
    virtual std::optional<QString> saveFileName(const FileRequest &request) = 0;
    virtual bool setupPrinter(QPrinter &printer) = 0;
    // Shows one of the program's own modal dialogs and returns its result
    // (QDialog::Accepted or Rejected), so that tests answer it as they
    // answer a message box.
    virtual int runDialog(QDialog &dialog) = 0;
    virtual bool showHelp(const QString &path) = 0;
};

// "Texte format rtf|*.rtf|Tous |*.*" as Qt writes it, each pattern matching
// without regard to case: "Texte format rtf (*.[rR][tT][fF]);;Tous  (*.*)".
// Shown with the dialog's filter details hidden, the user reads the
// descriptions only.
QString qtFileFilter(const QString &filter);
