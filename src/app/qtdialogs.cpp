#include "app/qtdialogs.h"

#include "widgets/dialogfit.h"

#include <QBoxLayout>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTreeView>
#include <QUrl>

#include <algorithm>

namespace {

// A question that has no Cancel must be answered with one of its buttons:
// Escape and the close box leave it where it is, instead of answering No and
// discarding the text.
class QuestionBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;
    bool mustBeAnswered = false;

protected:
    void keyPressEvent(QKeyEvent *event) override {
        if (mustBeAnswered && event->matches(QKeySequence::Cancel)) {
            event->accept();
            return;
        }
        QMessageBox::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent *event) override {
        if (mustBeAnswered) {
            event->ignore();
            return;
        }
        QMessageBox::closeEvent(event);
    }
};

// Message and input boxes size themselves to their text; a short text under
// a long title would cut the title.
void makeRoomForTitle(QDialog &dialog) {
    // An input box lays itself out only when first measured.
    dialog.minimumSizeHint();
    QLayout *layout = dialog.layout();
    if (!layout) return;
    const QMargins margins = layout->contentsMargins();
    auto *room = new QSpacerItem(dialogfit::titleWidthPx(dialog.windowTitle()) - margins.left() -
                                     margins.right(),
                                 0, QSizePolicy::Fixed, QSizePolicy::Minimum);
    if (auto *grid = qobject_cast<QGridLayout *>(layout))
        grid->addItem(room, grid->rowCount(), 0, 1, std::max(1, grid->columnCount()));
    else
        layout->addItem(room);
}

// Every column shows its whole texts, the name first; the dialog gets the
// room for them, within the screen.
void showWholeColumns(QFileDialog &dialog) {
    const QRect available = dialog.screen() ? dialog.screen()->availableGeometry() : QRect();
    if (!available.isEmpty())
        dialog.resize(std::min(available.width() * 9 / 10, std::max(dialog.width(), 900)),
                      std::min(available.height() * 3 / 4, std::max(dialog.height(), 480)));
    for (QTreeView *view : dialog.findChildren<QTreeView *>()) {
        QHeaderView *header = view->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(QHeaderView::ResizeToContents);
        header->setMinimumSectionSize(header->fontMetrics().averageCharWidth() * 12);
    }
}

} // namespace

Answer QtDialogs::message(const Message &message) {
    QuestionBox box(m_parent);
    box.setWindowFlags(dialogfit::smallDialogFlags | Qt::MSWindowsFixedSizeDialogHint);
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
        makeRoomForTitle(box);
        box.exec();
        return Answer::Ok;
    case MessageButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        makeRoomForTitle(box);
        return box.exec() == QMessageBox::Ok ? Answer::Ok : Answer::Cancel;
    case MessageButtons::YesNo:
        break;
    }
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    box.mustBeAnswered = true;
    makeRoomForTitle(box);
    return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

std::optional<QString> QtDialogs::input(const QString &prompt, const QString &title,
                                        const QString &initialText) {
    QInputDialog dialog(m_parent, dialogfit::smallDialogFlags);
    dialog.setWindowTitle(title);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setLabelText(prompt);
    dialog.setTextValue(initialText);
    makeRoomForTitle(dialog);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.textValue();
}

QtDialogs::FileKind QtDialogs::fileKind(const QString &filter) {
    static const QRegularExpression texts(QStringLiteral(R"(\*\.(rtf|txt)\b)"),
                                          QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression pictures(
        QStringLiteral(R"(\*\.(bmp|gif|jpe?g|png|wmf|emf|ico)\b)"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression exercises(QStringLiteral(R"(\*\.E(5[1-9]|6[0-5])\b)"),
                                              QRegularExpression::CaseInsensitiveOption);
    if (filter.contains(exercises)) return FileKind::Exercises;
    if (filter.contains(pictures)) return FileKind::Pictures;
    if (filter.contains(texts)) return FileKind::Texts;
    return FileKind::Other;
}

namespace {

const std::pair<QtDialogs::FileKind, const char *> kindNames[] = {
    {QtDialogs::FileKind::Texts, "textes"},
    {QtDialogs::FileKind::Pictures, "images"},
    {QtDialogs::FileKind::Exercises, "exercices"},
    {QtDialogs::FileKind::Other, "autres"}};

} // namespace

QHash<QString, QString> QtDialogs::lastFolders() const {
    QHash<QString, QString> folders;
    for (const auto &[kind, name] : kindNames)
        if (m_lastFolders.contains(kind)) folders.insert(QLatin1String(name), m_lastFolders[kind]);
    return folders;
}

void QtDialogs::setLastFolders(const QHash<QString, QString> &folders) {
    for (const auto &[kind, name] : kindNames)
        if (folders.contains(QLatin1String(name)))
            m_lastFolders.insert(kind, folders[QLatin1String(name)]);
}

QString QtDialogs::startFolder(const FileRequest &request) const {
    // A name with its folder says where to look; otherwise the exercise's
    // folder, then the one last used for files of that kind.
    const QFileInfo initial(request.initialName);
    if (initial.isAbsolute()) return initial.absolutePath();
    if (m_exerciseFolder) {
        if (const QString folder = m_exerciseFolder(); !folder.isEmpty()) return folder;
    }
    return m_lastFolders.value(fileKind(request.filter));
}

std::optional<QString> QtDialogs::fileName(const FileRequest &request, bool saving) {
    QFileDialog dialog(m_parent, request.title);
    dialog.setNameFilter(qtFileFilter(request.filter));
    // Qt's own dialog everywhere: its patterns match file names whatever
    // their case ("*.JPG" finds photo.jpg), as the filters were written for.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    // The program asks its own overwrite question.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setViewMode(QFileDialog::Detail);
    if (const QString folder = startFolder(request); !folder.isEmpty()) dialog.setDirectory(folder);
    if (!request.initialName.isEmpty())
        dialog.selectFile(QFileInfo(request.initialName).fileName());
    showWholeColumns(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    const QString chosen = dialog.selectedFiles().constFirst();
    m_lastFolders.insert(fileKind(request.filter), QFileInfo(chosen).absolutePath());
    return chosen;
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
