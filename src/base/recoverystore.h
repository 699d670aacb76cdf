#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

// A copy of a text with unsaved changes, kept so that a crash or a power
// cut loses at most the last minute of work.
struct RecoveryCopy {
    enum class Kind { Text, Statement, Correction, ExerciseFields };

    Kind kind = Kind::Text;
    // The text's file, "SANS NOM" for a nameless one; for the exercise's
    // fields, its recap file (empty for an exercise never saved).
    QString originalPath;
    QString exercisePath; // recap file of the exercise the copy belongs to
    bool shown = false;   // the text was the one in the editor
    bool fromPlainText = false;
    QDateTime copiedAt;
    QByteArray content; // RTF, or the exercise's fields

    bool operator==(const RecoveryCopy &) const = default;
};

// The folder of recovery copies: one file per kind of copy, each replaced
// whole through the atomic write helper, so that a copy read back is either
// the previous one or the new one.
class RecoveryStore {
public:
    explicit RecoveryStore(const QString &folder);

    // Creates the folder when missing. False when the copy could not be written.
    bool write(const RecoveryCopy &copy);
    // Every copy that reads back whole, in the order of the kinds; a damaged
    // or foreign file is skipped.
    QList<RecoveryCopy> copies() const;
    void remove(RecoveryCopy::Kind kind);
    // Removes our copies only: the folder may hold anything else.
    void removeAll();

    const QString &folder() const { return m_folder; }

    // A copy's file as written, and read back: nothing unless the bytes are
    // a whole copy of that kind.
    static QByteArray bytesOf(const RecoveryCopy &copy);
    static std::optional<RecoveryCopy> copyFrom(const QByteArray &bytes, RecoveryCopy::Kind kind);

private:
    QString pathOf(RecoveryCopy::Kind kind) const;
    std::optional<RecoveryCopy> read(RecoveryCopy::Kind kind) const;

    QString m_folder;
};
