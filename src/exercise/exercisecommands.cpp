#include "exercise/exercisecommands.h"

#include "app/dialogs.h"
#include "app/messages.h"
#include "app/sharedstate.h"
#include "editor/richtextbox.h"
#include "editor/textfiles.h"
#include "exercise/exercisepanel.h"
#include "exercise/moduletable.h"
#include "exercise/recapfile.h"
#include "exercise/recordfile.h"

#include <QAction>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>

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

ExerciseCommands::ExerciseCommands(const Controls &controls, const Window &window,
                                   SharedState &state, Dialogs &dialogs, TextFiles &textFiles)
    : m_controls(controls), m_window(window), m_state(state), m_dialogs(dialogs),
      m_textFiles(textFiles) {
    ExercisePanel &panel = m_controls.panel;
    QObject::connect(panel.text1(), &QLineEdit::textChanged, panel.text1(),
                     [this] { transessai(); });
    QObject::connect(panel.command20(), &QPushButton::clicked, panel.command20(),
                     [this] { saveExercise(); });
    QObject::connect(panel.command19(), &QPushButton::clicked, panel.command19(),
                     [this] { closePanel(); });
    for (int i = 0; i < 4; ++i)
        QObject::connect(panel.commandZ10(i), &QPushButton::clicked, panel.commandZ10(i),
                         [this, i] { chooseFile(i); });
}

QString ExerciseCommands::exercisePath() const {
    return m_controls.panel.text1()->text();
}

void ExerciseCommands::setExercisePath(const QString &path) {
    m_controls.panel.setExercisePath(path);
}

bool ExerciseCommands::exerciseOpen() const {
    return !exercisePath().isEmpty();
}

void ExerciseCommands::startUp() {
    QComboBox *difficulty = m_controls.panel.comboZ1();
    difficulty->clear();
    difficulty->addItems(difficulties);
    difficulty->setCurrentIndex(0);
    m_controls.panel.upDown2()->setValue(1);
    if (!recap::trimBlanks(exercisePath()).isEmpty()) recuperation();
}

void ExerciseCommands::openPanel() {
    if (exerciseOpen()) recuperation();
    m_window.showPanel(true);
}

void ExerciseCommands::closePanel() {
    m_window.showPanel(false);
}

void ExerciseCommands::saveExercise() {
    ExercisePanel &panel = m_controls.panel;
    if (panel.ficex(0)->text().isEmpty()) {
        m_dialogs.message(messages::noStatement());
        return;
    }
    const QString pattern = QStringLiteral("*.") + m_state.extension;
    const auto chosen =
        m_dialogs.saveFileName({QStringLiteral("Enregistrer le fichier exercice"), pattern,
                                exercisePath().isEmpty() ? pattern : exercisePath()});
    if (!chosen) return;
    const QString path = withExtension(*chosen, m_state.extension);
    if (QFileInfo::exists(path) &&
        m_dialogs.message(messages::exerciseOverwriteQuestion()) == Answer::No)
        return;
    // Saving reloads the texts from their files: edits not yet saved would
    // be lost without a word.
    if (m_state.sauvegarde == 0 && !m_textFiles.settleUnsavedChanges()) return;
    m_state.repertoire = directoryOf(path);
    setExercisePath(path);
    if (!recap::onenregistre(path, panel.fields())) {
        m_dialogs.message(messages::recapWriteFailed());
        return;
    }
    // Emptied, then given back: the texts are loaded again from the files.
    setExercisePath(QString());
    setExercisePath(path);
    m_window.showPanel(false);
}

void ExerciseCommands::openExercise() {
    if (m_state.sauvegarde == 0 && !m_textFiles.settleUnsavedChanges()) return;
    const QString pattern = QStringLiteral("*.") + m_state.extension;
    const auto chosen = m_dialogs.openFileName(
        {exerciseFileTitle, m_window.moduleName() + QLatin1Char('|') + pattern, pattern});
    if (!chosen) return;
    if (chosen->right(4).toUpper() != QLatin1Char('.') + m_state.extension) {
        m_dialogs.message(messages::invalidExerciseName(m_state.extension));
        return;
    }
    m_state.repertoire = directoryOf(*chosen);
    setExercisePath(*chosen);
}

void ExerciseCommands::closeExercise() {
    // Asked before the buffers are emptied: the text not shown may hold
    // changes too, and saving both needs the exercise still open.
    if (m_state.sauvegarde == 0) {
        if (!m_textFiles.settleUnsavedChanges()) return;
        m_state.sauvegarde = 1; // saved, or given up: no second question
    }
    m_controls.sujetampon.setTextRTF(QByteArray());
    m_controls.sujetampon.refresh();
    m_controls.corectampon.setTextRTF(QByteArray());
    m_controls.corectampon.refresh();
    setExercisePath(QString());
    ExercisePanel &panel = m_controls.panel;
    for (int i = 0; i < 4; ++i)
        panel.ficex(i)->clear();
    panel.comboZ1()->setCurrentIndex(0);
    panel.upDown2()->setValue(1);
    panel.textZ1()->clear();
    panel.titrexo()->clear();
    m_window.nouv();
}

void ExerciseCommands::chooseFile(int i) {
    QString pattern = QStringLiteral("*.RTF");
    if (i == 1 || i == 3) terminaison(m_state.extension, pattern);
    const auto chosen = m_dialogs.openFileName({exerciseFileTitle, pattern, pattern});
    if (!chosen) return;
    m_controls.panel.ficex(i)->setText(fileNameOf(*chosen));
}

void ExerciseCommands::transessai() {
    Controls &c = m_controls;
    if (exercisePath().isEmpty()) {
        for (QAction *entry : {&c.sepatext, &c.textexo, &c.textcor})
            entry->setVisible(false);
        c.az52.setEnabled(false);
        c.az51.setEnabled(false);
        m_window.showTextLinks(false, false);
        return;
    }
    c.sepatext.setVisible(true);
    c.textexo.setVisible(true);
    c.az52.setEnabled(true);
    const QByteArray file = recap::readOrCreate(exercisePath()).value_or(QByteArray());
    const QString statement = recordfile::recordText(file, recap::StatementFile);
    const QString correction = recordfile::recordText(file, recap::CorrectionFile);
    const bool namesStatement = !recap::trimBlanks(statement).isEmpty();
    const bool namesCorrection = !recap::trimBlanks(correction).isEmpty();
    // A name that leads out of the exercise's directory counts as a missing
    // text: nothing is read from there, and nothing will be written there.
    const bool hasStatement = namesStatement && recap::isPlainFileName(statement);
    const bool hasCorrection = namesCorrection && recap::isPlainFileName(correction);
    setTextEntryPath(c.textexo, hasStatement ? m_state.repertoire + statement : QString());
    if (hasCorrection) setTextEntryPath(c.textcor, m_state.repertoire + correction);
    c.textcor.setVisible(hasCorrection);
    c.az51.setEnabled(hasCorrection);
    m_window.showTextLinks(true, hasCorrection);

    if (namesStatement) loadText(c.sujetampon, m_state.repertoire + statement, hasStatement);
    if (namesCorrection) loadText(c.corectampon, m_state.repertoire + correction, hasCorrection);
    c.exo.setTextRTF(c.sujetampon.textRTF());
    m_state.nomfichier = textEntryPath(c.textexo);
    m_window.titleChanged();
    c.exo.setFocus();
}

void ExerciseCommands::loadText(RichTextBox &buffer, const QString &path, bool allowed) {
    if (!allowed || !buffer.loadFile(path)) m_dialogs.message(messages::textNotFound(path));
}

void ExerciseCommands::recuperation() {
    const auto file = recap::readOrCreate(exercisePath());
    if (!file) {
        m_dialogs.message(messages::recapReadFailed());
        return;
    }
    applyFields(*file);
}

void ExerciseCommands::applyFields(const QByteArray &file) {
    ExercisePanel &panel = m_controls.panel;
    const auto text = [&file](int record) { return recordfile::recordText(file, record); };
    for (int i = 0; i < 4; ++i)
        panel.ficex(i)->setText(text(recap::StatementFile + i));
    // A value a field cannot take leaves it as it was.
    const long long difficulty = recap::parseNumber(text(recap::Difficulty));
    if (difficulty >= -1 && difficulty < panel.comboZ1()->count())
        panel.comboZ1()->setCurrentIndex(int(difficulty));
    const long long scroll = recap::parseNumber(text(recap::ScrollValue));
    if (scroll >= panel.hScroll1()->minimum() && scroll <= panel.hScroll1()->maximum())
        panel.hScroll1()->setValue(int(scroll));
    QString description;
    for (int record = recap::FirstDescription; record <= recap::LastDescription; ++record) {
        const QString piece = text(record);
        if (!recap::trimBlanks(piece).isEmpty()) description += piece;
    }
    panel.setDescription(description);
    panel.titrexo()->setText(recap::trimBlanks(text(recap::Title)));
    const long long hourglasses = recap::parseNumber(text(recap::Hourglasses));
    if (hourglasses >= panel.upDown2()->minimum() && hourglasses <= panel.upDown2()->maximum())
        panel.upDown2()->setValue(int(hourglasses));
}
