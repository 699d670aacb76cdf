#include "editor/insertioncommands.h"

#include "base/dialogs.h"
#include "base/messages.h"
#include "base/sharedstate.h"
#include "document/picturefile.h"
#include "document/textfilekind.h"
#include "document/textproperties.h"
#include "editor/editcommands.h"
#include "editor/insertobjectdialog.h"
#include "editor/oleobjects.h"
#include "editor/richtextbox.h"
#include "widgets/drawnicon.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QToolBar>
#include <QToolButton>
#include <optional>

namespace {

// A landscape in a frame, for the image button.
QIcon pictureIcon() {
    return drawnIcon(24, [](QPainter &painter) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QColor(60, 60, 60), 1));
        painter.setBrush(QColor(200, 225, 250));
        painter.drawRect(QRectF(2.5, 4.5, 19, 15));
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(240, 190, 40));
        painter.drawEllipse(QPointF(16, 9), 2.5, 2.5);
        painter.setBrush(QColor(60, 140, 60));
        painter.drawPolygon(QPolygonF({{3, 19}, {9, 10}, {14, 16}, {17, 13}, {21, 19}}));
    });
}

std::optional<QByteArray> fileBytes(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return std::nullopt;
    return bytes;
}

// Shown at the picture's own size; a picture drawn smaller keeps its file's
// bytes, written back whole.
QTextImageFormat pictureFormat(const PictureFile &picture) {
    QTextImageFormat format;
    format.setWidth(picture.sizePx.width());
    format.setHeight(picture.sizePx.height());
    if (!picture.keptBytes.isEmpty()) {
        format.setProperty(textprops::PictureBytes, picture.keptBytes);
        format.setProperty(textprops::PictureKind, picture.keptKind);
    }
    return format;
}

} // namespace

InsertionCommands::InsertionCommands(RichTextBox &exo, SharedState &state, Dialogs &dialogs,
                                     EditCommands &edit, QWidget *window)
    : QObject(window), m_exo(exo), m_state(state), m_dialogs(dialogs), m_edit(edit),
      m_window(window), m_rtfinsert(new RichTextBox(window)) {
    m_rtfinsert->setObjectName(QStringLiteral("Rtfinsert"));
    m_rtfinsert->hide();
}

void InsertionCommands::addTo(QToolBar *toolBar) {
    auto *button = new QToolButton(toolBar);
    button->setObjectName(QStringLiteral("Command11"));
    button->setToolTip(QStringLiteral("Insérer une image"));
    button->setIcon(pictureIcon());
    toolBar->addWidget(button);
    connect(button, &QToolButton::clicked, this, &InsertionCommands::ima_Click);
}

void InsertionCommands::ima_Click() {
    // Whatever comes of it, the caret gets its format back at the next
    // selection change.
    m_state.insertionencours = 1;
    m_edit.memoriser();
    const auto path = m_dialogs.openFileName(
        {QStringLiteral("Insertion d'une image"),
         QStringLiteral(
             "Image bitmap(*.bmp)|*.bmp|Image gif|*.gif|image JPEG|*.JPG|Tous (*.*)|*.*"),
         QStringLiteral("*.bmp")});
    if (!path) return;
    // The picture and the caret's format given back are one step.
    const RichTextBox::UndoStep step(m_exo);
    if (m_edit.keepsLinkOnInsertion()) {
        OleObjects &objects = m_exo.oleObjects();
        switch (objects.add(*path, OleObjects::Icon)) {
        case OleObjects::AddOutcome::Added:
            break;
        case OleObjects::AddOutcome::Unreadable:
            m_dialogs.message(messages::openFailed(*path));
            break;
        case OleObjects::AddOutcome::TooLarge:
            m_dialogs.message(messages::tooLargeToEmbed(*path));
            break;
        case OleObjects::AddOutcome::Protected:
            break;
        }
    } else {
        const auto bytes = fileBytes(*path);
        const PictureFile picture = bytes ? readPictureFile(*bytes) : PictureFile();
        if (!bytes)
            m_dialogs.message(messages::openFailed(*path));
        else if (picture.outcome == PictureFile::Outcome::TooLarge)
            m_dialogs.message(messages::pictureTooLarge(*path));
        else if (picture.outcome == PictureFile::Outcome::NotAPicture)
            m_dialogs.message(messages::notAPicture(*path));
        else
            m_exo.insertImageAtCaret(pictureFormat(picture), picture.image);
    }
    m_exo.setFocus();
}

void InsertionCommands::insertext_Click() {
    const auto path = m_dialogs.openFileName(
        {QStringLiteral("Insertion d'un texte"),
         QStringLiteral("Texte format rtf|*.rtf|Texte simple (*.TXT)|*.txt|Tous |*.*"),
         QStringLiteral("*.rtf")});
    if (!path) return;
    const auto bytes = fileBytes(*path);
    if (!bytes) {
        m_dialogs.message(messages::openFailed(*path));
        return;
    }
    const TextFileKind kind = textFileKindOf(*bytes);
    // A picture or a program read as text would come as a screenful of
    // signs, or of control words.
    if (kind == TextFileKind::NotText) {
        m_dialogs.message(messages::notATextToInsert(*path));
        return;
    }
    // Read apart first: a text too tall to lay out never reaches the editor.
    const bool fits = m_rtfinsert->setTextRTF(*bytes);
    m_rtfinsert->setText(QString());
    if (!fits) {
        m_dialogs.message(messages::tooTallToShow(*path));
        return;
    }
    const RichTextBox::UndoStep step(m_exo);
    // An RTF text keeps its own formatting; plain text takes the caret's.
    if (kind == TextFileKind::Rtf)
        m_exo.setSelRTF(*bytes);
    else
        m_exo.setSelText(plainTextOf(*bytes));
    m_exo.setFocus();
}

void InsertionCommands::objet_Click() {
    InsertObjectDialog dialog(m_dialogs, m_edit.keepsLinkOnInsertion(), m_window);
    if (m_dialogs.runDialog(dialog) != QDialog::Accepted) return;
    const QString path = dialog.fileName();
    RichTextBox::UndoStep step(m_exo);
    if (m_edit.keepsLinkOnInsertion()) {
        OleObjects &objects = m_exo.oleObjects();
        switch (objects.add(path)) {
        case OleObjects::AddOutcome::Added:
            step.end();
            // Open for editing, as a new object is.
            objects.doVerb(objects.indexAt(m_exo.selStart() - 1), OleObjects::Open);
            break;
        case OleObjects::AddOutcome::Unreadable:
            m_dialogs.message(messages::openFailed(path));
            break;
        case OleObjects::AddOutcome::TooLarge:
            m_dialogs.message(messages::tooLargeToEmbed(path));
            break;
        case OleObjects::AddOutcome::Protected:
            break;
        }
    } else {
        // A plain picture of what the object shows: an image file's picture,
        // any other file's icon.
        const auto bytes = fileBytes(path);
        if (!bytes) {
            m_dialogs.message(messages::openFailed(path));
            return;
        }
        const ShownPicture picture =
            contentPicture(*bytes).value_or(iconPicture(QFileInfo(path).fileName()));
        m_exo.insertPictureAtCaret(picture.image, picture.sizePx);
    }
    m_exo.setFocus();
}
