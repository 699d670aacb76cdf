#include "editor/textfiles.h"

#include "app/dialogs.h"
#include "app/messages.h"
#include "app/sharedstate.h"
#include "editor/richtextbox.h"

#include <QAction>
#include <QFileInfo>
#include <QScopedValueRollback>

namespace {

const QString rtfOnlyFilter = QStringLiteral("Texte format rtf|*.rtf");
const QString textFilesFilter =
    QStringLiteral("Texte format rtf|*.rtf|Texte simple (*.TXT)|*.txt|Tous |*.*");
const QString rtfPattern = QStringLiteral("*.rtf");

} // namespace

QString textEntryPath(const QAction &entry) {
    return entry.data().toString();
}

void setTextEntryPath(QAction &entry, const QString &path) {
    entry.setData(path);
    QString caption = path;
    entry.setText(caption.replace(QLatin1Char('&'), QStringLiteral("&&")));
}

TextFiles::TextFiles(const Controls &controls, SharedState &state, Dialogs &dialogs,
                     std::function<void()> titleChanged)
    : m_controls(controls), m_state(state), m_dialogs(dialogs),
      m_titleChanged(std::move(titleChanged)) {}

void TextFiles::showStatement() {
    show(m_controls.textexo, m_controls.textcor, m_controls.sujetampon, m_controls.corectampon,
         true);
}

void TextFiles::showCorrection() {
    show(m_controls.textcor, m_controls.textexo, m_controls.corectampon, m_controls.sujetampon,
         false);
}

void TextFiles::show(QAction &target, QAction &other, RichTextBox &targetBuffer,
                     RichTextBox &otherBuffer, bool copyOnlyWhenOtherVisible) {
    const QString targetPath = textEntryPath(target);
    const QString otherPath = textEntryPath(other);
    if (m_state.nomfichier == targetPath) return;
    // Some other file is in the editor: it has no buffer to wait in.
    if (m_state.nomfichier != otherPath && m_state.sauvegarde == 0 && !settleUnsavedChanges())
        return;
    RichTextBox &exo = m_controls.exo;
    exo.hide();
    if (m_state.nomfichier == otherPath && (!copyOnlyWhenOtherVisible || other.isVisible()))
        otherBuffer.setTextRTF(exo.textRTF());
    exo.setTextRTF(targetBuffer.textRTF());
    m_state.nomfichier = targetPath;
    m_titleChanged();
    exo.refresh();
    exo.show();
    exo.setFocus();
}

void TextFiles::reloadStatement() {
    reload(m_controls.textexo, QStringLiteral("Ouvrir l'énoncé"));
}

void TextFiles::reloadCorrection() {
    reload(m_controls.textcor, QStringLiteral("Ouvrir le corrigé"));
}

void TextFiles::reload(QAction &entry, const QString &title) {
    if (m_state.sauvegarde == 0 &&
        m_dialogs.message(messages::losingChangesWarning(title)) == Answer::Cancel)
        return;
    const QString path = textEntryPath(entry);
    if (!m_controls.exo.loadFile(path)) {
        m_dialogs.message(messages::openFailed());
        return;
    }
    m_state.sauvegarde = 1;
    m_state.nomfichier = path;
    m_titleChanged();
}

void TextFiles::ouvre() {
    if (m_state.sauvegarde == 0 && !settleUnsavedChanges()) return;
    const auto path = m_dialogs.openFileName(
        {QStringLiteral("Ouvrir un fichier texte"), textFilesFilter, rtfPattern});
    if (!path) return;
    // The name changes only with the text, so that a later save never
    // writes the old text over the file that could not be read.
    if (!m_controls.exo.loadFile(*path)) {
        m_dialogs.message(messages::openFailed());
        return;
    }
    m_state.nomfichier = *path;
    m_state.sauvegarde = 1;
    m_titleChanged();
}

bool TextFiles::saveEditorTo(const QString &path) {
    if (m_controls.exo.saveFile(path)) return true;
    m_dialogs.message(messages::writeFailed());
    return false;
}

bool TextFiles::resauve() {
    if (m_state.nomfichier == SharedState::noName) return sauve();
    if (!saveEditorTo(m_state.nomfichier)) return false;
    m_state.sauvegarde = 1;
    return true;
}

bool TextFiles::sauve() {
    QScopedValueRollback<bool> running(m_sauvencours, true);
    const QString initialName = m_state.nomfichier.isEmpty() ? rtfPattern : m_state.nomfichier;
    while (true) {
        const auto path = m_dialogs.saveFileName(
            {QStringLiteral("Enregistrer un fichier texte"), rtfOnlyFilter, initialName});
        if (!path) return false;
        if (*path != m_state.nomfichier && QFileInfo::exists(*path) &&
            m_dialogs.message(messages::overwriteQuestion()) == Answer::No)
            continue;
        if (!saveEditorTo(*path)) continue;
        m_state.nomfichier = *path;
        m_titleChanged();
        m_state.sauvegarde = 1;
        return true;
    }
}

bool TextFiles::sauvetout() {
    RichTextBox &exo = m_controls.exo;
    const QString statementPath = textEntryPath(m_controls.textexo);
    const QString correctionPath = textEntryPath(m_controls.textcor);
    if (m_state.nomfichier == correctionPath && m_controls.textcor.isVisible())
        m_controls.corectampon.setTextRTF(exo.textRTF());
    if (m_state.nomfichier == statementPath) m_controls.sujetampon.setTextRTF(exo.textRTF());
    bool saved = true;
    for (const auto &[buffer, path] : {std::pair{&m_controls.sujetampon, statementPath},
                                       std::pair{&m_controls.corectampon, correctionPath}}) {
        if (!buffer->saveFile(path)) {
            m_dialogs.message(messages::saveBothFailed());
            saved = false;
        }
    }
    // A text that was not written stays marked as modified.
    if (saved) m_state.sauvegarde = 1;
    return saved;
}

bool TextFiles::saveButton() {
    // Saving both texts would leave any other file shown in the editor
    // unsaved while reporting success: that file is saved on its own.
    const bool showsExerciseText = m_state.nomfichier == textEntryPath(m_controls.textexo) ||
                                   m_state.nomfichier == textEntryPath(m_controls.textcor);
    if (m_controls.textexo.isVisible() && m_controls.textcor.isVisible() && showsExerciseText)
        return sauvetout();
    return resauve();
}

bool TextFiles::settleUnsavedChanges() {
    if (m_state.sauvegarde == 1) return true;
    if (m_dialogs.message(messages::saveChangesQuestion()) == Answer::No) return true;
    return saveButton();
}
