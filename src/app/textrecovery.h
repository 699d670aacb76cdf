#pragma once

#include "base/recoverystore.h"

class Dialogs;
class ExerciseCommands;
class TextFiles;

// Keeps a recovery copy of each text with unsaved changes and of the
// exercise panel's unsaved fields, and offers them back after a run that
// did not end normally. Nothing is written or removed before startUp(), so
// that the previous run's copies wait for the user's answer.
class TextRecovery {
public:
    TextRecovery(const QString &folder, TextFiles &textFiles, ExerciseCommands &exercise,
                 Dialogs &dialogs);

    // Asks whether to restore the copies a run cut short left; Yes puts them
    // back, No deletes them.
    void startUp(bool previousRunInterrupted);
    // Every minute: a copy of each text with changes; the others' copies go.
    void writeCopies();
    // After a save or a discard: the copies of texts without changes go.
    void dropSettledCopies();
    // A clean close: every text was saved or given up.
    void dropAll();

private:
    bool hasChanges(RecoveryCopy::Kind kind) const;
    RecoveryCopy copyOf(RecoveryCopy::Kind kind) const;
    void restore(QList<RecoveryCopy> copies);

    RecoveryStore m_store;
    TextFiles &m_textFiles;
    ExerciseCommands &m_exercise;
    Dialogs &m_dialogs;
    bool m_started = false;
};
