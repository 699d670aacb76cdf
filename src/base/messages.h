#pragma once

#include "base/dialogs.h"

#include <QList>

struct RecoveryCopy;

// Every message the program shows, word for word.
namespace messages {

Message saveChangesQuestion();                         // "Enregistrer modifications ?"
Message losingChangesWarning(const QString &title);    // before reloading a text
Message openFailed(const QString &path);               // a file could not be read, and why
Message writeFailed();                                 // a text file could not be written
Message overwriteQuestion();                           // save-as onto an existing file
Message saveBothFailed();                              // statement or correction not written
Message noStatement();                                 // an exercise needs its statement
Message exerciseOverwriteQuestion();                   // an exercise over an existing file
Message invalidExerciseName(const QString &extension); // not the module's extension
Message recapWriteFailed();                            // the recap file could not be written
Message recapReadFailed();                             // the recap file could not be read
Message textNotFound(const QString &path);             // a text the recap file names is missing
Message offsetOutOfRange();                            // an offset value outside 1 to 20
Message nothingSelectedToAlign(bool exponents);        // aligning needs a selection
Message nothingSelectedToFormat();                     // raising to the ions' level needs one
Message tabRefusal();                                  // paragraphs with different tab stops
Message searchTextNotFound(const QString &text);       // "Impossible de trouver " + text
Message replaceFinished(const QString &text, const QString &replacement); // "Remplacement de ..."
Message nothingToReplace();                            // replacing needs a search text
Message replacedNothingProtected(const QString &text); // every match was protected text
Message notAText(const QString &path);                 // a picture or a program offered as text
Message tooTallToShow(const QString &path);            // taller than the editor can lay out
Message saveTextChangesQuestion(bool statement);       // a text not shown has unsaved changes
Message textUnreadable(const QString &path);           // a text the recap file names cannot be read
Message recentFileMissing(const QString &path);        // a recent file is no longer there
Message saveExerciseQuestion();                        // the exercise panel has unsaved fields
Message unstorableCharacters(const QString &characters); // not storable in a recap file
Message textOutsideExerciseFolder(const QString &path);  // the recap file keeps names only
Message invalidRecapFile(const QString &path);           // a damaged or foreign recap file
Message writeProtected(const QString &path);             // a file the user may not write
Message saveChangedFileQuestion(const QString &path);    // changed elsewhere: write over it?
Message reloadChangedFileQuestion(const QString &path);  // changed elsewhere: show it again?
Message notATextToInsert(const QString &path);           // a picture or a program offered as text
Message notAPicture(const QString &path);                // an image file that cannot be read
Message pictureTooLarge(const QString &path); // an image file with more pixels than it may take
Message tooLargeToEmbed(const QString &path); // beyond what a text may carry
Message noPrinter();                          // offers a PDF file instead
Message printJobFailed(const QString &printerName); // offers a PDF file instead
Message pdfWriteFailed(const QString &path);        // the PDF file could not be written
// After a run cut short: names each text whose copy can be restored.
Message restoreCopiesQuestion(const QList<RecoveryCopy> &copies);
// Restored texts whose exercise's recap file cannot be read (a key not plugged in).
Message restoredWithoutExercise(const QString &recapPath);
// Recovery copies cannot be written there (full disk, folder protected or missing).
Message recoveryCopiesUnwritable(const QString &folder);

} // namespace messages
