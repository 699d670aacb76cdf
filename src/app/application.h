#pragma once

#include <QApplication>

// Loads Qt's own French texts, so that standard buttons and dialogs read
// "Oui", "Non", "Annuler" like the rest of the program, and the few texts
// of the printer's properties that Qt leaves in English.
void installFrenchTranslation(QApplication &app);

// Ties the windows to the program's desktop entry and icon.
void identifyOnTheDesktop();
