#include "app/textrecovery.h"

#include "base/dialogs.h"
#include "base/messages.h"
#include "base/recoveryruns.h"
#include "editor/textfiles.h"
#include "exercise/exercisecommands.h"

#include <QDir>
#include <algorithm>

namespace {

using Kind = RecoveryCopy::Kind;
using Text = TextFiles::Text;

constexpr Kind allKinds[] = {Kind::Text, Kind::Statement, Kind::Correction, Kind::ExerciseFields};

Text textOf(Kind kind) {
    return kind == Kind::Statement    ? Text::Statement
           : kind == Kind::Correction ? Text::Correction
                                      : Text::Other;
}

} // namespace

TextRecovery::TextRecovery(RecoveryRuns &runs, TextFiles &textFiles, ExerciseCommands &exercise,
                           Dialogs &dialogs)
    : m_runs(runs), m_textFiles(textFiles), m_exercise(exercise), m_dialogs(dialogs) {}

RecoveryStore TextRecovery::store() const {
    return RecoveryStore(m_runs.folder());
}

bool TextRecovery::hasChanges(Kind kind) const {
    return kind == Kind::ExerciseFields ? m_exercise.panelHasUnsavedFields()
                                        : m_textFiles.hasUnsavedChanges(textOf(kind));
}

RecoveryCopy TextRecovery::copyOf(Kind kind) const {
    RecoveryCopy copy;
    copy.kind = kind;
    copy.exercisePath = m_exercise.textsRecapPath();
    copy.copiedAt = QDateTime::currentDateTimeUtc();
    if (kind == Kind::ExerciseFields) {
        copy.originalPath = copy.exercisePath;
        copy.content = recap::copyBytesOf(m_exercise.panelFields());
        return copy;
    }
    const Text text = textOf(kind);
    // A text of no exercise is restored without reopening one.
    if (text == Text::Other) copy.exercisePath.clear();
    copy.originalPath = m_textFiles.pathOf(text);
    copy.shown = m_textFiles.shownText() == text;
    copy.fromPlainText = copy.shown && m_textFiles.shownFromPlainText();
    copy.content = m_textFiles.rtfOf(text);
    return copy;
}

TextRecovery::Written TextRecovery::writeAll() {
    QList<Kind> changed;
    for (const Kind kind : allKinds) {
        if (hasChanges(kind))
            changed << kind;
        else if (m_runs.begun())
            store().remove(kind);
    }
    if (changed.isEmpty()) return Written::NothingToWrite;
    // A folder that could not be had at start (data folder missing or full)
    // is tried again each time.
    if (!m_runs.begun() && !m_runs.begin()) return Written::NotAll;
    bool all = true;
    for (const Kind kind : changed)
        all = store().write(copyOf(kind)) && all;
    return all ? Written::All : Written::NotAll;
}

void TextRecovery::writeCopies() {
    if (!m_started) return;
    switch (writeAll()) {
    case Written::NothingToWrite:
        break;
    case Written::All:
        m_writeFailing = false;
        break;
    case Written::NotAll:
        // Set before asking: the message waits for the user while the
        // next period comes.
        if (m_writeFailing) break;
        m_writeFailing = true;
        m_dialogs.message(
            messages::recoveryCopiesUnwritable(QDir::toNativeSeparators(m_runs.root())));
        break;
    }
}

void TextRecovery::dropSettledCopies() {
    if (!m_started || !m_runs.begun()) return;
    for (const Kind kind : allKinds) {
        if (!hasChanges(kind)) store().remove(kind);
    }
}

void TextRecovery::keepForNextStart() {
    if (!m_started) return;
    writeAll();
    m_started = false;
}

void TextRecovery::startUp() {
    if (m_runs.inheritedCopies()) {
        if (const QList<RecoveryCopy> copies = store().copies(); !copies.isEmpty()) {
            if (m_dialogs.message(messages::restoreCopiesQuestion(copies)) == Answer::Yes)
                restore(copies);
            else
                store().removeAll();
        }
    }
    m_started = true;
    // The restored texts keep their copies until they are saved.
    writeCopies();
}

void TextRecovery::restore(QList<RecoveryCopy> copies) {
    QString exercisePath, statementPath, correctionPath;
    for (const RecoveryCopy &copy : copies) {
        if (!copy.exercisePath.isEmpty()) exercisePath = copy.exercisePath;
        if (copy.kind == Kind::Statement) statementPath = copy.originalPath;
        if (copy.kind == Kind::Correction) correctionPath = copy.originalPath;
    }
    const bool reopened = !exercisePath.isEmpty() && m_exercise.reopenExercise(exercisePath);
    // Without its recap file the exercise's texts still go each to its own
    // place, under its own name, the statement shown as opening it shows it.
    const bool unread = !reopened && (!statementPath.isEmpty() || !correctionPath.isEmpty()) &&
                        !exercisePath.isEmpty();
    if (unread) m_exercise.showTextsWithoutRecapFile(exercisePath, statementPath, correctionPath);
    // The text that was shown comes last, so that it ends up in the editor.
    std::stable_partition(copies.begin(), copies.end(),
                          [](const RecoveryCopy &copy) { return !copy.shown; });
    for (const RecoveryCopy &copy : copies) {
        const Text text = textOf(copy.kind);
        if (copy.kind == Kind::ExerciseFields) {
            if (const auto fields = recap::fieldsOfCopy(copy.content))
                m_exercise.restoreFields(*fields);
        } else if (text == Text::Other || exercisePath.isEmpty()) {
            m_textFiles.restoreOtherText(copy.originalPath, copy.content, copy.fromPlainText);
        } else {
            m_textFiles.restoreChanges(text, copy.content);
            if (!reopened) continue;
            if (copy.shown && text == Text::Statement) m_textFiles.showStatement();
            if (copy.shown && text == Text::Correction) m_textFiles.showCorrection();
        }
    }
    if (unread) m_dialogs.message(messages::restoredWithoutExercise(exercisePath));
}
