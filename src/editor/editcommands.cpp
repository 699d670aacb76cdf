#include "editor/editcommands.h"

#include "base/sharedstate.h"
#include "editor/richtextbox.h"
#include "widgets/editicons.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

namespace {

const QString rtfMimeType = QStringLiteral("text/rtf");

} // namespace

void copyTypingAttributes(const RichTextBox &from, RichTextBox &to) {
    if (const auto value = from.selAlignment()) to.setSelAlignment(*value);
    if (const auto value = from.selBold()) to.setSelBold(*value);
    if (const auto value = from.selBullet()) to.setSelBullet(*value);
    if (const auto value = from.selCharOffset()) to.setSelCharOffset(*value);
    if (const auto value = from.selColor()) to.setSelColor(*value);
    if (const auto value = from.selFontName()) to.setSelFontName(*value);
    if (const auto value = from.selFontSize()) to.setSelFontSize(*value);
    if (const auto value = from.selItalic()) to.setSelItalic(*value);
    if (const auto value = from.selUnderline()) to.setSelUnderline(*value);
}

EditCommands::EditCommands(RichTextBox &exo, SharedState &state, QWidget *window)
    : QObject(window), m_exo(exo), m_state(state), m_tamponrtf(new RichTextBox(window)) {
    m_tamponrtf->setObjectName(QStringLiteral("tamponrtf"));
    m_tamponrtf->hide();
}

void EditCommands::useLinkEntries(QAction *liercolle, QAction *lierobj) {
    m_liercolle = liercolle;
    m_lierobj = lierobj;
}

void EditCommands::addTo(QToolBar *toolBar) {
    const auto addButton = [this, toolBar](const char *name, const QString &tip,
                                           const QIcon &picture, auto handler) {
        auto *button = new QToolButton(toolBar);
        button->setObjectName(QLatin1String(name));
        button->setToolTip(tip);
        button->setIcon(picture);
        toolBar->addWidget(button);
        connect(button, &QToolButton::clicked, this, handler);
    };
    addButton("Command7", QStringLiteral("Couper"), editicons::scissors(),
              &EditCommands::coupe_Click);
    addButton("Command6", QStringLiteral("Copier"), editicons::twoPages(),
              &EditCommands::copie_Click);
    addButton("Command8", QStringLiteral("Coller"), editicons::clipboard(),
              &EditCommands::colle_Click);
    addButton("annule", QStringLiteral("Annuler dernière opération"),
              toolBar->style()->standardIcon(QStyle::SP_ArrowBack), &EditCommands::annuleur_Click);
}

void EditCommands::annuleur_Click() {
    m_exo.setFocus();
    m_exo.undoLastStep();
    m_exo.setFocus();
}

// With nothing selected the clipboard keeps what it holds: a text cut a
// moment ago must still be there to paste.
void EditCommands::putSelectionOnClipboard() {
    if (m_exo.selLength() == 0) return;
    QApplication::clipboard()->setMimeData(m_exo.selectionMimeData());
}

void EditCommands::coupe_Click() {
    if (m_exo.selLength() == 0) return;
    putSelectionOnClipboard();
    m_exo.setSelRTF(QByteArray());
}

void EditCommands::copie_Click() {
    putSelectionOnClipboard();
}

void EditCommands::colle_Click() {
    const QMimeData *data = QApplication::clipboard()->mimeData();
    if (!data) return;
    if (data->hasFormat(rtfMimeType)) {
        m_exo.setSelRTF(data->data(rtfMimeType));
        return;
    }
    // Without RTF the text still comes, plain; with nothing to paste the
    // selection stays.
    if (data->hasText() && !data->text().isEmpty()) m_exo.setSelText(data->text());
}

void EditCommands::supprime_Click() {
    m_exo.setSelRTF(QByteArray());
}

void EditCommands::supercolle_Click() {
    // The paste and the caret's attributes given back after it are one step.
    const RichTextBox::UndoStep step(m_exo);
    m_state.insertionencours = 1;
    memoriser();
    if (m_liercolle->isChecked()) {
        m_exo.paste();
    } else {
        // Only a plain picture of whatever the clipboard holds; what the
        // user copied stays there as it was, to paste again.
        const QImage picture = QApplication::clipboard()->image();
        if (!picture.isNull()) m_exo.insertPictureAtCaret(picture, picture.size());
    }
    m_exo.setFocus();
}

void EditCommands::toutsel_Click() {
    m_exo.setSelStart(0);
    m_exo.setSelLength(int(m_exo.text().size()));
}

bool EditCommands::keepsLinkOnInsertion() const {
    return m_lierobj && m_lierobj->isChecked();
}

void EditCommands::memoriser() {
    m_tamponrtf->setTextRTF(QByteArray(" "));
    m_tamponrtf->setSelStart(0);
    m_tamponrtf->setSelLength(1);
    copyTypingAttributes(m_exo, *m_tamponrtf);
    m_tamponrtf->refresh();
}

void EditCommands::restituer() {
    const RichTextBox::UndoStep step(m_exo);
    copyTypingAttributes(*m_tamponrtf, m_exo);
}
