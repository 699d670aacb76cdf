#include "editor/textfiles.h"

#include "base/atomicfile.h"
#include "base/dialogs.h"
#include "base/messages.h"
#include "base/sharedstate.h"
#include "document/textfilekind.h"
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

TextFiles::TextFiles(const Controls &controls, SharedState &state, Dialogs &dialogs,
                     std::function<void()> titleChanged, std::function<void()> changesSettled)
    : m_controls(controls), m_state(state), m_dialogs(dialogs),
      m_titleChanged(std::move(titleChanged)), m_changesSettled(std::move(changesSettled)) {}

void TextFiles::settled() const {
    if (m_changesSettled) m_changesSettled();
}

void TextFiles::setTextPath(Text text, const QString &path) {
    const bool statement = text == Text::Statement;
    (statement ? m_paths.statement : m_paths.correction) = path;
    QString caption = path;
    (statement ? m_controls.textexo : m_controls.textcor)
        .setText(caption.replace(QLatin1Char('&'), QStringLiteral("&&")));
}

TextFiles::Text TextFiles::shownText() const {
    if (m_state.nomfichier == m_paths.statement) return Text::Statement;
    if (m_state.nomfichier == m_paths.correction) return Text::Correction;
    return Text::Other;
}

const QString &TextFiles::exercisePathOf(Text text) const {
    return text == Text::Statement ? m_paths.statement : m_paths.correction;
}

RichTextBox &TextFiles::bufferOf(Text text) const {
    return text == Text::Statement ? m_controls.sujetampon : m_controls.corectampon;
}

bool &TextFiles::bufferModified(Text text) {
    return text == Text::Statement ? m_statementModified : m_correctionModified;
}

void TextFiles::showStatement() {
    show(Text::Statement, m_controls.textcor, m_controls.sujetampon, m_controls.corectampon, true);
}

void TextFiles::showCorrection() {
    show(Text::Correction, m_controls.textexo, m_controls.corectampon, m_controls.sujetampon,
         false);
}

void TextFiles::show(Text target, QAction &other, RichTextBox &targetBuffer,
                     RichTextBox &otherBuffer, bool copyOnlyWhenOtherVisible) {
    const Text shown = shownText();
    if (shown == target) return;
    // Some other file is in the editor: it has no buffer to wait in.
    if (shown == Text::Other && m_state.sauvegarde == 0 && !settleUnsavedChanges()) return;
    RichTextBox &exo = m_controls.exo;
    exo.hide();
    if (shown != Text::Other && (!copyOnlyWhenOtherVisible || other.isVisible())) {
        // The editor is about to get the other text: its own moves over.
        exo.moveTextTo(otherBuffer);
        bufferModified(shown) = m_state.sauvegarde == 0;
    }
    exo.showCopyOf(targetBuffer);
    m_shownFromPlainText = false;
    // The flag follows the text shown: the one left keeps its changes in its buffer.
    m_state.sauvegarde = bufferModified(target) ? 0 : 1;
    m_state.nomfichier = exercisePathOf(target);
    m_titleChanged();
    exo.refresh();
    exo.show();
    exo.setFocus();
    settled();
}

void TextFiles::reloadStatement() {
    reload(Text::Statement, QStringLiteral("Ouvrir l'énoncé"));
}

void TextFiles::reloadCorrection() {
    reload(Text::Correction, QStringLiteral("Ouvrir le corrigé"));
}

void TextFiles::reload(Text target, const QString &title) {
    const Text shown = shownText();
    const Text waiting = target == Text::Statement ? Text::Correction : Text::Statement;
    // Reloading discards the target's changes, and those of a file shown
    // that has no buffer; the other exercise text keeps its own.
    const bool losesChanges = (shown != waiting && m_state.sauvegarde == 0) ||
                              (shown != target && bufferModified(target));
    if (losesChanges && m_dialogs.message(messages::losingChangesWarning(title)) == Answer::Cancel)
        return;
    const QString path = exercisePathOf(target);
    QByteArray shownRtf;
    if (shown == waiting) shownRtf = m_controls.exo.textRTF();
    if (!loadIntoEditor(path)) return;
    if (shown == waiting) {
        bufferOf(waiting).setOwnTextRTF(shownRtf);
        bufferModified(waiting) = m_state.sauvegarde == 0;
    }
    bufferModified(target) = false;
    m_state.sauvegarde = 1;
    m_state.nomfichier = path;
    m_titleChanged();
    settled();
}

bool TextFiles::loadIntoEditor(const QString &path) {
    TextFileKind kind = TextFileKind::Rtf;
    switch (m_controls.exo.loadFile(path, &kind)) {
    case RichTextBox::LoadOutcome::Loaded:
        m_shownFromPlainText = kind == TextFileKind::PlainText;
        m_unreadable.removeAll(path);
        remember(path);
        return true;
    case RichTextBox::LoadOutcome::NotText:
        m_dialogs.message(messages::notAText(path));
        return false;
    case RichTextBox::LoadOutcome::TooTall:
        m_dialogs.message(messages::tooTallToShow(path));
        return false;
    case RichTextBox::LoadOutcome::Unreadable:
        break;
    }
    m_dialogs.message(messages::openFailed(path));
    return false;
}

void TextFiles::ouvre() {
    if (m_state.sauvegarde == 0 && !settleUnsavedChanges()) return;
    const auto path = m_dialogs.openFileName(
        {QStringLiteral("Ouvrir un fichier texte"), textFilesFilter, rtfPattern});
    if (path) openText(*path);
}

bool TextFiles::openText(const QString &path) {
    // The name changes only with the text, so that a later save never
    // writes the old text over the file that could not be read.
    if (!loadIntoEditor(path)) return false;
    m_state.nomfichier = path;
    m_state.sauvegarde = 1;
    m_titleChanged();
    settled();
    if (m_named) m_named(path);
    return true;
}

void TextFiles::remember(const QString &path) {
    m_stamps.insert(path, FileStamp::of(path));
    m_reloadDeclined.remove(path);
}

bool TextFiles::mayWriteOver(const QString &path) {
    const auto known = m_stamps.constFind(path);
    if (known == m_stamps.constEnd() || !known->differsFrom(FileStamp::of(path))) return true;
    return m_dialogs.message(messages::saveChangedFileQuestion(path)) == Answer::Yes;
}

bool TextFiles::saveEditorTo(const QString &path, bool *writeProtected) {
    atomicfile::Failure why = atomicfile::Failure::None;
    if (m_controls.exo.saveFile(path, &why)) {
        remember(path);
        return true;
    }
    if (writeProtected) *writeProtected = why == atomicfile::Failure::WriteProtected;
    m_dialogs.message(why == atomicfile::Failure::WriteProtected ? messages::writeProtected(path)
                                                                 : messages::writeFailed());
    return false;
}

bool TextFiles::resauve() {
    // A nameless text, one read from a plain-text file and one whose file
    // could not be read all need a name of their own.
    if (m_state.nomfichier == SharedState::noName || m_state.nomfichier.isEmpty() ||
        m_shownFromPlainText || m_unreadable.contains(m_state.nomfichier))
        return sauve();
    if (!mayWriteOver(m_state.nomfichier)) return false;
    bool writeProtected = false;
    // A file the user may not write is saved under another name instead.
    if (!saveEditorTo(m_state.nomfichier, &writeProtected)) return writeProtected && sauve();
    m_state.sauvegarde = 1;
    settled();
    return true;
}

bool TextFiles::sauve() {
    QScopedValueRollback<bool> running(m_sauvencours, true);
    QString initialName = m_state.nomfichier.isEmpty() || m_state.nomfichier == SharedState::noName
                              ? rtfPattern
                              : m_state.nomfichier;
    if (m_shownFromPlainText) initialName = withRtfExtension(initialName);
    while (true) {
        const auto chosen = m_dialogs.saveFileName(
            {QStringLiteral("Enregistrer un fichier texte"), rtfOnlyFilter, initialName});
        if (!chosen) return false;
        QString path = *chosen;
        if (QFileInfo(path).suffix().isEmpty()) path = withRtfExtension(path);
        if (atomicfile::isWriteProtected(path)) {
            m_dialogs.message(messages::writeProtected(path));
            continue;
        }
        const bool overwritesAnother =
            path != m_state.nomfichier || m_shownFromPlainText || m_unreadable.contains(path);
        if (overwritesAnother && QFileInfo::exists(path) &&
            m_dialogs.message(messages::overwriteQuestion()) == Answer::No)
            continue;
        if (!overwritesAnother && !mayWriteOver(path)) return false;
        if (!saveEditorTo(path)) continue;
        m_unreadable.removeAll(path);
        m_shownFromPlainText = false;
        m_state.nomfichier = path;
        m_titleChanged();
        m_state.sauvegarde = 1;
        settled();
        if (m_named) m_named(path);
        return true;
    }
}

bool TextFiles::saveBuffer(Text text, bool *writeProtected) {
    const QString path = exercisePathOf(text);
    // An empty buffer never goes over a file that exists but could not be read.
    if (path.isEmpty() || m_unreadable.contains(path)) return !bufferModified(text);
    // A text without changes is not written: its file may hold a colleague's
    // newer version.
    if (!bufferModified(text)) return true;
    if (!mayWriteOver(path)) return false;
    atomicfile::Failure why = atomicfile::Failure::None;
    if (!bufferOf(text).saveFile(path, &why)) {
        const bool isProtected = why == atomicfile::Failure::WriteProtected;
        if (writeProtected) *writeProtected = isProtected;
        m_dialogs.message(isProtected ? messages::writeProtected(path)
                                      : messages::saveBothFailed());
        return false;
    }
    remember(path);
    bufferModified(text) = false;
    return true;
}

bool TextFiles::sauvetout() {
    RichTextBox &exo = m_controls.exo;
    const Text shown = shownText();
    if (shown == Text::Correction && m_controls.textcor.isVisible()) {
        m_controls.corectampon.setOwnTextRTF(exo.textRTF());
        m_correctionModified = m_state.sauvegarde == 0;
    }
    if (shown == Text::Statement) {
        m_controls.sujetampon.setOwnTextRTF(exo.textRTF());
        m_statementModified = m_state.sauvegarde == 0;
    }
    // Each text that was written is saved; one that was not stays modified.
    bool statementProtected = false;
    bool correctionProtected = false;
    bool statementSaved = saveBuffer(Text::Statement, &statementProtected);
    bool correctionSaved = saveBuffer(Text::Correction, &correctionProtected);
    if (shown == Text::Statement && statementSaved) m_state.sauvegarde = 1;
    if (shown == Text::Correction && correctionSaved) m_state.sauvegarde = 1;
    settled();
    // The text shown whose file the user may not write gets another name.
    if (shown == Text::Statement && statementProtected) statementSaved = sauve();
    if (shown == Text::Correction && correctionProtected) correctionSaved = sauve();
    return statementSaved && correctionSaved;
}

bool TextFiles::saveButton() {
    // Saving both texts would leave any other file shown in the editor
    // unsaved while reporting success: that file is saved on its own.
    if (m_controls.textexo.isVisible() && m_controls.textcor.isVisible() &&
        shownText() != Text::Other && !m_unreadable.contains(m_state.nomfichier))
        return sauvetout();
    return resauve();
}

bool TextFiles::settleUnsavedChanges() {
    if (m_state.sauvegarde == 1) return true;
    if (m_dialogs.message(messages::saveChangesQuestion()) == Answer::No) {
        // Given up, even when the command asking goes no further: the
        // question is not asked again about the same changes.
        m_state.sauvegarde = 1;
        settled();
        return true;
    }
    return saveButton();
}

bool TextFiles::settleAllUnsavedChanges() {
    if (!settleUnsavedChanges()) return false;
    const Text shown = shownText();
    for (const Text text : {Text::Statement, Text::Correction}) {
        if (text == shown || !bufferModified(text)) continue;
        if (m_dialogs.message(messages::saveTextChangesQuestion(text == Text::Statement)) ==
            Answer::No) {
            bufferModified(text) = false;
            settled();
            continue;
        }
        if (!saveBuffer(text)) return false;
        settled();
    }
    return true;
}

bool TextFiles::anyUnsavedChanges() const {
    const Text shown = shownText();
    return m_state.sauvegarde == 0 || (shown != Text::Statement && m_statementModified) ||
           (shown != Text::Correction && m_correctionModified);
}

void TextFiles::textsLoaded(const QStringList &unreadable) {
    m_statementModified = false;
    m_correctionModified = false;
    m_shownFromPlainText = false;
    m_unreadable = unreadable;
    for (const QString &path : {m_paths.statement, m_paths.correction}) {
        if (!path.isEmpty()) remember(path);
    }
}

void TextFiles::offerReloadOfChangedFile() {
    // Asking activates the window again once the question closes.
    if (m_offeringReload || m_state.sauvegarde == 0) return;
    const QString path = m_state.nomfichier;
    const auto known = m_stamps.constFind(path);
    if (known == m_stamps.constEnd() || !QFileInfo::exists(path)) return;
    const FileStamp now = FileStamp::of(path);
    if (!known->differsFrom(now)) return;
    if (const auto declined = m_reloadDeclined.constFind(path);
        declined != m_reloadDeclined.constEnd() && !declined->differsFrom(now))
        return;
    QScopedValueRollback<bool> offering(m_offeringReload, true);
    if (m_dialogs.message(messages::reloadChangedFileQuestion(path)) != Answer::Yes) {
        m_reloadDeclined.insert(path, now);
        return;
    }
    switch (shownText()) {
    case Text::Statement:
        reloadStatement();
        break;
    case Text::Correction:
        reloadCorrection();
        break;
    case Text::Other:
        openText(path);
        break;
    }
}

bool TextFiles::hasUnsavedChanges(Text text) const {
    if (text == shownText()) return m_state.sauvegarde == 0;
    return (text == Text::Statement && m_statementModified) ||
           (text == Text::Correction && m_correctionModified);
}

QByteArray TextFiles::rtfOf(Text text) const {
    if (text == shownText()) return m_controls.exo.textRTF();
    return text == Text::Other ? QByteArray() : bufferOf(text).textRTF();
}

QString TextFiles::pathOf(Text text) const {
    return text == Text::Other ? m_state.nomfichier : exercisePathOf(text);
}

void TextFiles::restoreChanges(Text text, const QByteArray &rtf) {
    if (text == Text::Other) return;
    if (text == shownText()) {
        m_controls.exo.setOwnTextRTF(rtf);
        m_state.sauvegarde = 0;
        return;
    }
    bufferOf(text).setOwnTextRTF(rtf);
    bufferModified(text) = true;
}

void TextFiles::restoreOtherText(const QString &path, const QByteArray &rtf, bool fromPlainText) {
    RichTextBox &exo = m_controls.exo;
    if (const Text shown = shownText(); shown != Text::Other) {
        bufferOf(shown).setOwnTextRTF(exo.textRTF());
        bufferModified(shown) = m_state.sauvegarde == 0;
    }
    exo.setOwnTextRTF(rtf);
    m_shownFromPlainText = fromPlainText;
    m_state.nomfichier = path;
    m_state.sauvegarde = 0;
    m_titleChanged();
}
