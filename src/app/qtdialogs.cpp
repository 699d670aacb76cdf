#include "app/qtdialogs.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
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
        box.exec();
        return Answer::Ok;
    case MessageButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        return box.exec() == QMessageBox::Ok ? Answer::Ok : Answer::Cancel;
    case MessageButtons::YesNo:
        break;
    }
    // A question without Cancel must be answered: Escape and the close box
    // would otherwise answer No and discard the text, so they ask again.
    QAbstractButton *yes = box.addButton(QMessageBox::Yes);
    QAbstractButton *no = box.addButton(QMessageBox::No);
    QAbstractButton *dismissed = box.addButton(QString(), QMessageBox::RejectRole);
    dismissed->hide();
    box.setEscapeButton(dismissed);
    box.setDefaultButton(static_cast<QPushButton *>(yes));
    do {
        box.exec();
    } while (box.clickedButton() != yes && box.clickedButton() != no);
    return box.clickedButton() == yes ? Answer::Yes : Answer::No;
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

int QtDialogs::runDialog(QDialog &dialog) {
    return dialog.exec();
}

bool QtDialogs::setupPrinter(QPrinter &printer) {
    QPrintDialog dialog(&printer, m_parent);
    dialog.setWindowTitle(QStringLiteral("Configuration de l'imprimante"));
    // Choosing the printer prints nothing: no pages to pick, and the button
    // that closes the dialog does not say it prints.
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize |
                      QAbstractPrintDialog::PrintCollateCopies);
    if (auto *buttons = dialog.findChild<QDialogButtonBox *>()) {
        if (QPushButton *ok = buttons->button(QDialogButtonBox::Ok))
            ok->setText(QStringLiteral("OK"));
    }
    return dialog.exec() == QDialog::Accepted;
}

bool QtDialogs::showHelp(const QString &path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
