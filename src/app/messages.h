#pragma once

#include "app/dialogs.h"

// Every message the program shows, word for word.
namespace messages {

Message saveChangesQuestion();                      // "Enregistrer modifications ?"
Message losingChangesWarning(const QString &title); // before reloading a text
Message openFailed();                               // a text file could not be read
Message writeFailed();                              // a text file could not be written
Message overwriteQuestion();                        // save-as onto an existing file
Message saveBothFailed();                           // statement or correction not written

} // namespace messages
