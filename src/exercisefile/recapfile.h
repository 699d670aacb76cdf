#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <optional>

// The exercise recap file: twelve 128-byte records naming the exercise's
// files and carrying its title, difficulty, hourglasses and description.
namespace recap {

enum Record : int {
    StatementFile = 1,
    InitialConfigurationFile = 2,
    CorrectionFile = 3,
    CorrectedConfigurationFile = 4,
    Difficulty = 5,
    ScrollValue = 6,
    FirstDescription = 7,
    LastDescription = 10,
    Title = 11,
    Hourglasses = 12,
};

constexpr int descriptionPieceChars = 120;

struct Fields {
    std::array<QString, 4> files; // names only: statement, initial, correction, corrected
    int difficulty = 0;           // index in the difficulty list, -1 when none
    int scrollValue = 0;
    QString description;
    QString title;
    int hourglasses = 1;

    bool operator==(const Fields &) const = default;
};

// Numbers are stored as text: " 2" for 2, "-1" for -1.
QString formatNumber(int value);
// The number a stored text stands for, halves rounded to even: blanks are
// ignored, reading stops where the text stops being a number, and a text
// without a number gives 0.
long long parseNumber(const QString &text);
// Trims blanks (spaces) only, as the file's readers always did.
QString trimBlanks(const QString &text);

// The file's new bytes: the fields' records written over the old content,
// whose bytes after each record's text are kept. Nothing when a field does
// not fit its record.
std::optional<QByteArray> withFields(const QByteArray &old, const Fields &fields);

// Writes the fields into the file at path, creating it when missing. All
// or nothing: on failure the old file is untouched.
bool onenregistre(const QString &path, const Fields &fields);

// The file's bytes, read without asking for write access (an exercise on a
// read-only disk opens); a missing file is created empty. Nothing when the
// file can be neither read nor created.
std::optional<QByteArray> readOrCreate(const QString &path);

// False for a file that cannot be a recap file: a record longer than a
// record, or a text with control characters (a picture or a program renamed).
// Description records may hold the CR LF of a line break.
bool isValid(const QByteArray &file);

// The characters of the fields that a recap file cannot store (it holds
// Windows-1252 text), each once, in order of appearance.
QString unstorableCharacters(const Fields &fields);

// True for a name that stays inside the exercise's directory: no directory
// part, not "." or "..".
bool isPlainFileName(const QString &name);

// The fields as a recovery copy keeps them, and read back: nothing unless
// the bytes are exactly such a copy.
QByteArray copyBytesOf(const Fields &fields);
std::optional<Fields> fieldsOfCopy(const QByteArray &bytes);

} // namespace recap
