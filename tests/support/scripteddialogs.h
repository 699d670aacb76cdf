#pragma once

#include "base/dialogs.h"

#include <QDialog>
#include <QList>
#include <QStringList>
#include <functional>

// Stands in for the user at every dialog: records what the program asked and
// answers from queues. An unexpected question is recorded and answered as
// if the user had cancelled it.
class ScriptedDialogs : public Dialogs {
public:
    struct Call {
        QString kind; // "message", "input", "open", "save", "printer", "help", "dialog"
        Message message;
        FileRequest file;
        QString text; // prompt of an input box, path of the help file
    };

    QList<Call> calls;
    QList<Answer> answers;
    QList<std::optional<QString>> fileNames;
    QList<std::optional<QString>> inputs;
    // Answers to the program's own dialogs: each acts on the dialog (clicks,
    // types) and returns its result, instead of a modal loop.
    QList<std::function<int(QDialog &)>> dialogAnswers;
    // Answers to the printer set-up: each may change the printer it is
    // given and returns whether the user pressed OK.
    QList<std::function<bool(QPrinter &)>> printerAnswers;
    int unanswered = 0;

    Answer message(const Message &message) override {
        calls.append({QStringLiteral("message"), message, {}, {}});
        if (!answers.isEmpty()) return answers.takeFirst();
        ++unanswered;
        return message.buttons == MessageButtons::YesNo      ? Answer::No
               : message.buttons == MessageButtons::OkCancel ? Answer::Cancel
                                                             : Answer::Ok;
    }
    std::optional<QString> input(const QString &prompt, const QString &title,
                                 const QString &) override {
        calls.append({QStringLiteral("input"), {QString(), title}, {}, prompt});
        return next(inputs);
    }
    std::optional<QString> openFileName(const FileRequest &request) override {
        calls.append({QStringLiteral("open"), {}, request, {}});
        return next(fileNames);
    }
    std::optional<QString> saveFileName(const FileRequest &request) override {
        calls.append({QStringLiteral("save"), {}, request, {}});
        return next(fileNames);
    }
    bool setupPrinter(QPrinter &printer) override {
        calls.append({QStringLiteral("printer"), {}, {}, {}});
        if (printerAnswers.isEmpty()) {
            ++unanswered;
            return false;
        }
        return printerAnswers.takeFirst()(printer);
    }
    int runDialog(QDialog &dialog) override {
        calls.append(
            {QStringLiteral("dialog"), {QString(), dialog.windowTitle()}, {}, dialog.objectName()});
        if (dialogAnswers.isEmpty()) {
            ++unanswered;
            return QDialog::Rejected;
        }
        const int result = dialogAnswers.takeFirst()(dialog);
        return result;
    }
    bool showHelp(const QString &path) override {
        calls.append({QStringLiteral("help"), {}, {}, path});
        return true;
    }

    // The kinds of the calls so far, for a quick look at the sequence.
    QStringList kinds() const {
        QStringList result;
        for (const Call &call : calls)
            result << call.kind;
        return result;
    }
    const Call &last() const { return calls.constLast(); }

private:
    std::optional<QString> next(QList<std::optional<QString>> &queue) {
        if (!queue.isEmpty()) return queue.takeFirst();
        ++unanswered;
        return std::nullopt;
    }
};
