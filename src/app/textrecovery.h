#pragma once

#include "base/recoverystore.h"

class Dialogs;
class ExerciseCommands;
class RecoveryRuns;
class TextFiles;

// Keeps a recovery copy of each text with unsaved changes and of the
// exercise panel's unsaved fields in this run's folder, and offers back the
// copies of a run that ended without closing. Nothing is written or removed
// before startUp(), so that those copies wait for the user's answer; a copy
// goes only once its text is saved or given up.
class TextRecovery {
public:
    TextRecovery(RecoveryRuns &runs, TextFiles &textFiles, ExerciseCommands &exercise,
                 Dialogs &dialogs);

    // Asks whether to restore the copies this run took over; Yes puts them
    // back, No deletes them.
    void startUp();
    // Every minute: a copy of each text with changes; the others' copies go.
    // A failure is told once, and again only after copies could be written.
    void writeCopies();
    // After a save or a discard: the copies of texts without changes go.
    void dropSettledCopies();
    // Ending without asking (a termination signal): the copies are written
    // now and nothing removes them afterwards.
    void keepForNextStart();

private:
    enum class Written { NothingToWrite, All, NotAll };

    bool hasChanges(RecoveryCopy::Kind kind) const;
    RecoveryCopy copyOf(RecoveryCopy::Kind kind) const;
    RecoveryStore store() const;
    Written writeAll();
    void restore(QList<RecoveryCopy> copies);

    RecoveryRuns &m_runs;
    TextFiles &m_textFiles;
    ExerciseCommands &m_exercise;
    Dialogs &m_dialogs;
    bool m_started = false;
    bool m_writeFailing = false;
};
