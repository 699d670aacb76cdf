#pragma once

#include "base/filestamp.h"
#include "exercisefile/recapfile.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class Dialogs;
class ExercisePanel;
class QAction;
class QComboBox;
class RichTextBox;
class TextFiles;
struct SharedState;

// What the teacher does with whole exercises: create, save, open and close
// them, choose their files, and load the texts a recap file names.
class ExerciseCommands : public QObject {
    Q_OBJECT
public:
    struct Controls {
        ExercisePanel &panel;
        RichTextBox &exo;
        RichTextBox &sujetampon;
        RichTextBox &corectampon;
        QAction &sepatext;
        QAction &textexo;
        QAction &textcor;
        QAction &az52;     // edit the statement
        QAction &az51;     // edit the correction
        QComboBox &combo2; // the module list
    };

    ExerciseCommands(const Controls &controls, SharedState &state, Dialogs &dialogs,
                     TextFiles &textFiles);

    void startUp();         // difficulty list, hourglasses, an exercise already named
    void openPanel();       // az53, Image2, Label7(0)
    void closePanel();      // Command19
    bool saveExercise();    // Command20; false when nothing was saved
    void openExercise();    // command10, az54, Label7(2)
    void closeExercise();   // Command14, az55, Label7(1)
    void chooseFile(int i); // CommandZ10(i)
    void transessai();
    void recuperation();
    bool exerciseOpen() const;
    // Opens the exercise of that recap file, texts already settled by the
    // caller; its extension must be the chosen module's.
    bool openExerciseFile(const QString &path);
    // The panel's fields differ from the recap file, or were typed for an
    // exercise not saved yet.
    bool panelHasUnsavedFields() const;
    // Asks whether to save such fields, and saves on Yes. False when the
    // user wanted them saved and they were not.
    bool settleUnsavedFields();

    QString exercisePath() const; // the open exercise's recap file, "" when none
    // The recap file the texts of the File menu's entries belong to: the
    // open exercise's, or the one that could not be read when they were
    // restored.
    QString textsRecapPath() const;
    recap::Fields panelFields() const;
    // Opens the exercise at path again, without asking, to put back copies
    // of its texts. False when it cannot be read; a missing recap file is
    // not created.
    bool reopenExercise(const QString &path);
    // The texts of an exercise whose recap file cannot be read, each given
    // its entry as opening it would ("" for a text not known): the statement
    // shown, the correction waiting in its buffer, both empty until their
    // changes are put back.
    void showTextsWithoutRecapFile(const QString &recapPath, const QString &statementPath,
                                   const QString &correctionPath);
    // Shows the panel with these fields, which differ from those saved.
    void restoreFields(const recap::Fields &fields);

signals:
    void panelShown(bool shown);
    void textLinksShown(bool statement, bool correction);
    void titleChanged();
    void newTextRequested(); // closing an exercise ends with a new text

private:
    void setExercisePath(const QString &path);
    enum class Loaded { Yes, Missing, Unreadable };
    Loaded loadText(RichTextBox &buffer, const QString &path, bool allowed);
    void applyFields(const QByteArray &file);
    // Shows the exercise of that recap file: its path, texts and fields.
    void showExercise(const QString &path, const QByteArray &file);
    // The recap file's bytes, or nothing after telling the user why.
    std::optional<QByteArray> readRecapFile(const QString &path);

    Controls m_controls;
    SharedState &m_state;
    Dialogs &m_dialogs;
    TextFiles &m_textFiles;
    // What the panel held when last loaded, saved or emptied.
    recap::Fields m_savedFields;
    // The open exercise's recap file as last read or written.
    FileStamp m_recapStamp;
    // Where the teacher last chose an exercise's file: the exercise is
    // saved beside it.
    QString m_lastChosenFolder;
    QString m_unreadRecapPath;
};

// The path's directory with its trailing separator ("" when it has none).
QString directoryOf(const QString &path);
// The name with the module's extension: anything from the last dot of its
// file name on is replaced by "." + extension.
QString withExtension(const QString &path, const QString &extension);
