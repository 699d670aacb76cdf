#include "app/textrecovery.h"

#include "base/dialogs.h"
#include "base/messages.h"
#include "editor/textfiles.h"
#include "exercise/exercisecommands.h"

#include <QDataStream>
#include <QIODevice>
#include <algorithm>

namespace {

using Kind = RecoveryCopy::Kind;
using Text = TextFiles::Text;

constexpr Kind allKinds[] = {Kind::Text, Kind::Statement, Kind::Correction, Kind::ExerciseFields};
constexpr auto fieldsStreamVersion = QDataStream::Qt_6_0;

Text textOf(Kind kind) {
    return kind == Kind::Statement    ? Text::Statement
           : kind == Kind::Correction ? Text::Correction
                                      : Text::Other;
}

QByteArray fieldsBytes(const recap::Fields &fields) {
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream.setVersion(fieldsStreamVersion);
    for (const QString &file : fields.files)
        stream << file;
    stream << qint32(fields.difficulty) << qint32(fields.scrollValue) << fields.description
           << fields.title << qint32(fields.hourglasses);
    return bytes;
}

std::optional<recap::Fields> fieldsOf(const QByteArray &bytes) {
    QDataStream stream(bytes);
    stream.setVersion(fieldsStreamVersion);
    recap::Fields fields;
    for (QString &file : fields.files)
        stream >> file;
    qint32 difficulty = 0, scrollValue = 0, hourglasses = 0;
    stream >> difficulty >> scrollValue >> fields.description >> fields.title >> hourglasses;
    if (stream.status() != QDataStream::Ok) return std::nullopt;
    fields.difficulty = difficulty;
    fields.scrollValue = scrollValue;
    fields.hourglasses = hourglasses;
    return fields;
}

} // namespace

TextRecovery::TextRecovery(const QString &folder, TextFiles &textFiles, ExerciseCommands &exercise,
                           Dialogs &dialogs)
    : m_store(folder), m_textFiles(textFiles), m_exercise(exercise), m_dialogs(dialogs) {}

bool TextRecovery::hasChanges(Kind kind) const {
    return kind == Kind::ExerciseFields ? m_exercise.panelHasUnsavedFields()
                                        : m_textFiles.hasUnsavedChanges(textOf(kind));
}

RecoveryCopy TextRecovery::copyOf(Kind kind) const {
    RecoveryCopy copy;
    copy.kind = kind;
    copy.exercisePath = m_exercise.exercisePath();
    copy.copiedAt = QDateTime::currentDateTimeUtc();
    if (kind == Kind::ExerciseFields) {
        copy.originalPath = copy.exercisePath;
        copy.content = fieldsBytes(m_exercise.panelFields());
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

void TextRecovery::writeCopies() {
    if (!m_started) return;
    for (const Kind kind : allKinds) {
        // A copy that cannot be written is tried again a minute later:
        // the user is not interrupted for it.
        if (hasChanges(kind))
            m_store.write(copyOf(kind));
        else
            m_store.remove(kind);
    }
}

void TextRecovery::dropSettledCopies() {
    if (!m_started) return;
    for (const Kind kind : allKinds) {
        if (!hasChanges(kind)) m_store.remove(kind);
    }
}

void TextRecovery::dropAll() {
    m_store.removeAll();
}

void TextRecovery::startUp(bool previousRunInterrupted) {
    if (previousRunInterrupted) {
        if (const QList<RecoveryCopy> copies = m_store.copies(); !copies.isEmpty()) {
            if (m_dialogs.message(messages::restoreCopiesQuestion(copies)) == Answer::Yes)
                restore(copies);
            else
                m_store.removeAll();
        }
    }
    m_started = true;
    // The restored texts keep their copies until they are saved.
    writeCopies();
}

void TextRecovery::restore(QList<RecoveryCopy> copies) {
    QString exercisePath;
    for (const RecoveryCopy &copy : copies) {
        if (!copy.exercisePath.isEmpty()) exercisePath = copy.exercisePath;
    }
    const bool reopened = !exercisePath.isEmpty() && m_exercise.reopenExercise(exercisePath);
    // The text that was shown comes last, so that it ends up in the editor.
    std::stable_partition(copies.begin(), copies.end(),
                          [](const RecoveryCopy &copy) { return !copy.shown; });
    for (const RecoveryCopy &copy : copies) {
        const Text text = textOf(copy.kind);
        if (copy.kind == Kind::ExerciseFields) {
            if (const auto fields = fieldsOf(copy.content)) m_exercise.restoreFields(*fields);
        } else if (text == Text::Other || !reopened) {
            // Without its exercise, a statement or a correction comes back
            // as a text of its own, under its own name.
            m_textFiles.restoreOtherText(copy.originalPath, copy.content, copy.fromPlainText);
        } else {
            m_textFiles.restoreChanges(text, copy.content);
            if (copy.shown && text == Text::Statement) m_textFiles.showStatement();
            if (copy.shown && text == Text::Correction) m_textFiles.showCorrection();
        }
    }
}
