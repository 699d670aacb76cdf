#pragma once

#include <QApplication>

// Loads Qt's own French texts, so that standard buttons and dialogs read
// "Oui", "Non", "Annuler" like the rest of the program.
void installFrenchTranslation(QApplication &app);
