#include "app/qtdialogs.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QUrl>

Answer QtDialogs::message(const Message &message) {
    QMessageBox box(m_parent);
    box.setWindowTitle(message.title);
    box.setText(message.text);
    switch (message.icon) {
    case MessageIcon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case MessageIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case MessageIcon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case MessageIcon::None:
        break;
    }
    switch (message.buttons) {
    case MessageButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MessageButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case MessageButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    default:
        // Closing a Yes/No box with Escape answers No, as its last button.
        return message.buttons == MessageButtons::YesNo      ? Answer::No
               : message.buttons == MessageButtons::OkCancel ? Answer::Cancel
                                                             : Answer::Ok;
    }
}

std::optional<QString> QtDialogs::input(const QString &prompt, const QString &title,
                                        const QString &initialText) {
    bool accepted = false;
    const QString text =
        QInputDialog::getText(m_parent, title, prompt, QLineEdit::Normal, initialText, &accepted);
    if (!accepted) return std::nullopt;
    return text;
}

std::optional<QString> QtDialogs::fileName(const FileRequest &request, bool saving) {
    QFileDialog dialog(m_parent, request.title);
    dialog.setNameFilter(qtFileFilter(request.filter));
    // The program asks its own overwrite question.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const QFileInfo initial(request.initialName);
    if (initial.isAbsolute()) dialog.setDirectory(initial.absolutePath());
    if (!request.initialName.isEmpty()) dialog.selectFile(initial.fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

std::optional<QString> QtDialogs::openFileName(const FileRequest &request) {
    return fileName(request, false);
}

std::optional<QString> QtDialogs::saveFileName(const FileRequest &request) {
    return fileName(request, true);
}

bool QtDialogs::setupPrinter(QPrinter &printer) {
    QPrintDialog dialog(&printer, m_parent);
    return dialog.exec() == QDialog::Accepted;
}

bool QtDialogs::showHelp(const QString &path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
