#include "exercise/exercisecommands.h"

#include "base/atomicfile.h"
#include "base/dialogs.h"
#include "base/messages.h"
#include "base/sharedstate.h"
#include "editor/richtextbox.h"
#include "editor/textfiles.h"
#include "exercise/exercisepanel.h"
#include "exercisefile/moduletable.h"
#include "exercisefile/recapfile.h"
#include "exercisefile/recordfile.h"

#include <QAction>
#include <QComboBox>
#include <QFileInfo>

namespace {

const QString exerciseFileTitle = QStringLiteral("Ouvrir un fichier exercice");
const QStringList difficulties = {QStringLiteral("Non défini"), QStringLiteral("* facile"),
                                  QStringLiteral("** moyen"), QStringLiteral("*** difficile")};

QString fileNameOf(const QString &path) {
    const qsizetype slash =
        std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return path.mid(slash + 1);
}

} // namespace

QString directoryOf(const QString &path) {
    const qsizetype slash =
        std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return path.left(slash + 1);
}

QString withExtension(const QString &path, const QString &extension) {
    const QString directory = directoryOf(path);
    QString name = path.mid(directory.size());
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0) name.truncate(dot);
    return directory + name + QLatin1Char('.') + extension;
}

ExerciseCommands::ExerciseCommands(const Controls &controls, SharedState &state, Dialogs &dialogs,
                                   TextFiles &textFiles)
    : m_controls(controls), m_state(state), m_dialogs(dialogs), m_textFiles(textFiles) {
    ExercisePanel &panel = m_controls.panel;
    connect(&panel, &ExercisePanel::exercisePathChanged, this, [this] { transessai(); });
    connect(&panel, &ExercisePanel::saveRequested, this, [this] { saveExercise(); });
    connect(&panel, &ExercisePanel::closeRequested, this, &ExerciseCommands::closePanel);
    connect(&panel, &ExercisePanel::fileRequested, this, &ExerciseCommands::chooseFile);
}

QString ExerciseCommands::exercisePath() const {
    return m_controls.panel.exercisePath();
}

void ExerciseCommands::setExercisePath(const QString &path) {
    m_controls.panel.setExercisePath(path);
}

bool ExerciseCommands::exerciseOpen() const {
    return !exercisePath().isEmpty();
}

void ExerciseCommands::startUp() {
    m_controls.panel.setDifficulties(difficulties);
    m_controls.panel.clear();
    m_savedFields = m_controls.panel.fields();
    if (!recap::trimBlanks(exercisePath()).isEmpty()) recuperation();
}

bool ExerciseCommands::panelHasUnsavedFields() const {
    return m_controls.panel.fields() != m_savedFields;
}

bool ExerciseCommands::settleUnsavedFields() {
    if (!panelHasUnsavedFields()) return true;
    if (m_dialogs.message(messages::saveExerciseQuestion()) == Answer::No) return true;
    return saveExercise();
}

std::optional<QByteArray> ExerciseCommands::readRecapFile(const QString &path) {
    const auto file = recap::readOrCreate(path);
    if (!file) {
        m_dialogs.message(messages::recapReadFailed());
        return std::nullopt;
    }
    if (!recap::isValid(*file)) {
        m_dialogs.message(messages::invalidRecapFile(path));
        return std::nullopt;
    }
    return file;
}

void ExerciseCommands::openPanel() {
    if (exerciseOpen()) recuperation();
    emit panelShown(true);
}

void ExerciseCommands::closePanel() {
    emit panelShown(false);
}

bool ExerciseCommands::saveExercise() {
    const recap::Fields fields = m_controls.panel.fields();
    if (fields.files[0].isEmpty()) {
        m_dialogs.message(messages::noStatement());
        return false;
    }
    // Checked before anything is written: a "?" in place of a letter would
    // be reported as saved and the file it names never found again.
    if (const QString unstorable = recap::unstorableCharacters(fields); !unstorable.isEmpty()) {
        m_dialogs.message(messages::unstorableCharacters(unstorable));
        return false;
    }
    const QString pattern = QStringLiteral("*.") + m_state.extension;
    // A new exercise goes beside the files chosen for it.
    const QString initialName = !exercisePath().isEmpty()       ? exercisePath()
                                : !m_lastChosenFolder.isEmpty() ? m_lastChosenFolder + pattern
                                                                : pattern;
    const auto chosen = m_dialogs.saveFileName(
        {QStringLiteral("Enregistrer le fichier exercice"), pattern, initialName});
    if (!chosen) return false;
    const QString path = withExtension(*chosen, m_state.extension);
    if (atomicfile::isWriteProtected(path)) {
        m_dialogs.message(messages::writeProtected(path));
        return false;
    }
    if (QFileInfo::exists(path) &&
        m_dialogs.message(messages::exerciseOverwriteQuestion()) == Answer::No)
        return false;
    if (path == exercisePath() && m_recapStamp.differsFrom(FileStamp::of(path)) &&
        m_dialogs.message(messages::saveChangedFileQuestion(path)) != Answer::Yes)
        return false;
    // Saving reloads the texts from their files: edits not yet saved would
    // be lost without a word.
    if (!m_textFiles.settleAllUnsavedChanges()) return false;
    if (!recap::onenregistre(path, fields)) {
        m_dialogs.message(atomicfile::isWriteProtected(path) ? messages::writeProtected(path)
                                                             : messages::recapWriteFailed());
        return false;
    }
    m_savedFields = fields;
    m_recapStamp = FileStamp::of(path);
    // The recap file keeps names only: the simulator looks for them beside it.
    for (const QString &name : fields.files) {
        if (!recap::trimBlanks(name).isEmpty() && !QFileInfo::exists(directoryOf(path) + name))
            m_dialogs.message(messages::textOutsideExerciseFolder(name));
    }
    m_state.repertoire = directoryOf(path);
    // Emptied, then given back: the texts are loaded again from the files.
    setExercisePath(QString());
    setExercisePath(path);
    emit panelShown(false);
    return true;
}

void ExerciseCommands::openExercise() {
    // The open exercise's texts and fields are about to be replaced.
    if (!m_textFiles.settleAllUnsavedChanges() || !settleUnsavedFields()) return;
    const QString pattern = QStringLiteral("*.") + m_state.extension;
    const auto chosen = m_dialogs.openFileName(
        {exerciseFileTitle, m_controls.combo2.currentText() + QLatin1Char('|') + pattern, pattern});
    if (chosen) openExerciseFile(*chosen);
}

bool ExerciseCommands::openExerciseFile(const QString &path) {
    if (path.right(4).toUpper() != QLatin1Char('.') + m_state.extension) {
        m_dialogs.message(messages::invalidExerciseName(m_state.extension));
        return false;
    }
    // A damaged or foreign file changes nothing.
    const auto file = readRecapFile(path);
    if (!file) return false;
    showExercise(path, *file);
    return true;
}

void ExerciseCommands::showExercise(const QString &path, const QByteArray &file) {
    m_state.repertoire = directoryOf(path);
    setExercisePath(path);
    // Nothing of the exercise shown before stays in the panel, to be saved
    // into this one's file, not even a value this file has none for.
    m_controls.panel.clear();
    applyFields(file);
    m_recapStamp = FileStamp::of(path);
}

void ExerciseCommands::closeExercise() {
    // Asked before the buffers are emptied: the text not shown may hold
    // changes too, and saving both needs the exercise still open.
    if (!m_textFiles.settleAllUnsavedChanges() || !settleUnsavedFields()) return;
    m_state.sauvegarde = 1; // saved, or given up: no second question
    m_controls.sujetampon.setTextRTF(QByteArray());
    m_controls.sujetampon.refresh();
    m_controls.corectampon.setTextRTF(QByteArray());
    m_controls.corectampon.refresh();
    // Texts restored without their recap file have no path to empty.
    if (exerciseOpen())
        setExercisePath(QString());
    else
        transessai();
    m_controls.panel.clear();
    m_savedFields = m_controls.panel.fields();
    m_recapStamp = FileStamp();
    emit newTextRequested();
}

void ExerciseCommands::chooseFile(int i) {
    QString pattern = QStringLiteral("*.RTF");
    if (i == 1 || i == 3) terminaison(m_state.extension, pattern);
    const auto chosen = m_dialogs.openFileName({exerciseFileTitle, pattern, pattern});
    if (!chosen) return;
    m_lastChosenFolder = directoryOf(*chosen);
    m_controls.panel.setFileName(i, fileNameOf(*chosen));
}

void ExerciseCommands::transessai() {
    Controls &c = m_controls;
    m_unreadRecapPath.clear();
    // Nothing of the previous exercise stays: a stale caption or buffer
    // would be taken for this exercise's text and saved over its file.
    m_textFiles.setTextPath(TextFiles::Text::Statement, QString());
    m_textFiles.setTextPath(TextFiles::Text::Correction, QString());
    c.sujetampon.setTextRTF(QByteArray());
    c.corectampon.setTextRTF(QByteArray());
    m_textFiles.textsLoaded({});
    if (exercisePath().isEmpty()) {
        for (QAction *entry : {&c.sepatext, &c.textexo, &c.textcor})
            entry->setVisible(false);
        c.az52.setEnabled(false);
        c.az51.setEnabled(false);
        emit textLinksShown(false, false);
        return;
    }
    c.sepatext.setVisible(true);
    c.textexo.setVisible(true);
    c.az52.setEnabled(true);
    QByteArray file = recap::readOrCreate(exercisePath()).value_or(QByteArray());
    if (!recap::isValid(file)) file.clear();
    const QString statement = recordfile::recordText(file, recap::StatementFile);
    const QString correction = recordfile::recordText(file, recap::CorrectionFile);
    const bool namesStatement = !recap::trimBlanks(statement).isEmpty();
    const bool namesCorrection = !recap::trimBlanks(correction).isEmpty();
    // A name that leads out of the exercise's directory counts as a missing
    // text: nothing is read from there, and nothing will be written there.
    const bool hasStatement = namesStatement && recap::isPlainFileName(statement);
    const bool hasCorrection = namesCorrection && recap::isPlainFileName(correction);
    m_textFiles.setTextPath(TextFiles::Text::Statement,
                            hasStatement ? m_state.repertoire + statement : QString());
    if (hasCorrection)
        m_textFiles.setTextPath(TextFiles::Text::Correction, m_state.repertoire + correction);
    c.textcor.setVisible(hasCorrection);
    c.az51.setEnabled(hasCorrection);
    emit textLinksShown(true, hasCorrection);

    QStringList unreadable;
    if (namesStatement &&
        loadText(c.sujetampon, m_state.repertoire + statement, hasStatement) == Loaded::Unreadable)
        unreadable << m_state.repertoire + statement;
    if (namesCorrection && loadText(c.corectampon, m_state.repertoire + correction,
                                    hasCorrection) == Loaded::Unreadable)
        unreadable << m_state.repertoire + correction;
    m_textFiles.textsLoaded(unreadable);
    c.exo.showCopyOf(c.sujetampon);
    // A recap file naming no statement leaves a nameless text, saved through save-as.
    m_state.nomfichier = hasStatement ? m_textFiles.textPaths().statement : SharedState::noName;
    m_state.sauvegarde = 1;
    emit titleChanged();
    c.exo.setFocus();
}

ExerciseCommands::Loaded ExerciseCommands::loadText(RichTextBox &buffer, const QString &path,
                                                    bool allowed) {
    if (allowed && buffer.loadFile(path) == RichTextBox::LoadOutcome::Loaded) return Loaded::Yes;
    // The buffer stays empty: the previous exercise's text must not pass for this one's.
    buffer.setTextRTF(QByteArray());
    if (allowed && QFileInfo::exists(path)) {
        m_dialogs.message(messages::textUnreadable(path));
        return Loaded::Unreadable;
    }
    m_dialogs.message(messages::textNotFound(path));
    return Loaded::Missing;
}

recap::Fields ExerciseCommands::panelFields() const {
    return m_controls.panel.fields();
}

bool ExerciseCommands::reopenExercise(const QString &path) {
    // A missing file is not created: its disk or key may come back.
    if (!QFileInfo::exists(path)) return false;
    const auto file = recap::readOrCreate(path);
    if (!file || !recap::isValid(*file)) return false;
    showExercise(path, *file);
    return true;
}

QString ExerciseCommands::textsRecapPath() const {
    return exerciseOpen() ? exercisePath() : m_unreadRecapPath;
}

void ExerciseCommands::showTextsWithoutRecapFile(const QString &recapPath,
                                                 const QString &statementPath,
                                                 const QString &correctionPath) {
    Controls &c = m_controls;
    if (exerciseOpen())
        setExercisePath(QString());
    else
        transessai();
    m_unreadRecapPath = recapPath;
    // Saving the exercise again proposes its own folder.
    m_lastChosenFolder = directoryOf(recapPath);
    const bool hasStatement = !statementPath.isEmpty();
    const bool hasCorrection = !correctionPath.isEmpty();
    m_textFiles.setTextPath(TextFiles::Text::Statement, statementPath);
    m_textFiles.setTextPath(TextFiles::Text::Correction, correctionPath);
    c.sepatext.setVisible(hasStatement || hasCorrection);
    c.textexo.setVisible(hasStatement);
    c.textcor.setVisible(hasCorrection);
    c.az52.setEnabled(hasStatement);
    c.az51.setEnabled(hasCorrection);
    emit textLinksShown(hasStatement, hasCorrection);
    c.exo.setTextRTF(QByteArray());
    m_state.nomfichier = hasStatement    ? statementPath
                         : hasCorrection ? correctionPath
                                         : SharedState::noName;
    m_state.sauvegarde = 1;
    emit titleChanged();
}

void ExerciseCommands::restoreFields(const recap::Fields &fields) {
    // The recap file's fields count as saved: the panel differs from them.
    if (exerciseOpen()) recuperation();
    m_controls.panel.setFields(fields);
    emit panelShown(true);
}

void ExerciseCommands::recuperation() {
    if (const auto file = readRecapFile(exercisePath())) {
        applyFields(*file);
        m_recapStamp = FileStamp::of(exercisePath());
    }
}

void ExerciseCommands::applyFields(const QByteArray &file) {
    m_controls.panel.showRecapFile(file);
    m_savedFields = m_controls.panel.fields();
}
