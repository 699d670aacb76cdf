#pragma once

#include "windowfixture.h"

#include <QAbstractButton>
#include <QDialog>
#include <QLineEdit>
#include <QTest>

// Answers to the search dialogs, as a user clicks and types in them.
namespace searchscript {

inline void click(QDialog &dialog, const char *button) {
    dialog.findChild<QAbstractButton *>(QLatin1String(button))->click();
}

inline void type(QDialog &dialog, const char *field, const QString &text) {
    auto *edit = dialog.findChild<QLineEdit *>(QLatin1String(field));
    edit->selectAll();
    if (text.isEmpty())
        QTest::keyClick(edit, Qt::Key_Delete);
    else
        QTest::keyClicks(edit, text);
}

inline QString fieldText(QDialog &dialog, const char *field) {
    return dialog.findChild<QLineEdit *>(QLatin1String(field))->text();
}

// Clicks one button and hands back what the dialog returned.
inline std::function<int(QDialog &)> clicking(const char *button) {
    return [button](QDialog &dialog) {
        click(dialog, button);
        return dialog.result();
    };
}

// Fills the Replace dialog and clicks one of its buttons.
inline std::function<int(QDialog &)> replacing(const QString &text, const QString &by,
                                               const char *button) {
    return [text, by, button](QDialog &dialog) {
        type(dialog, "Text1", text);
        type(dialog, "Text2", by);
        click(dialog, button);
        return dialog.result();
    };
}

// The messages shown so far, each as its title and text.
inline QStringList messagesShown(const ScriptedDialogs &dialogs) {
    QStringList shown;
    for (const ScriptedDialogs::Call &call : dialogs.calls)
        if (call.kind == QLatin1String("message"))
            shown << call.message.title + QStringLiteral(": ") + call.message.text;
    return shown;
}

// The dialogs opened so far, by objectName.
inline QStringList dialogsOpened(const ScriptedDialogs &dialogs) {
    QStringList opened;
    for (const ScriptedDialogs::Call &call : dialogs.calls)
        if (call.kind == QLatin1String("dialog")) opened << call.text;
    return opened;
}

} // namespace searchscript
