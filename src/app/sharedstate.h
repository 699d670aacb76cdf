#pragma once

#include <QString>
#include <cstdint>

// The variables the whole program shares, owned by the main window and
// passed by reference to whoever needs them.
struct SharedState {
    static inline const QString noName = QStringLiteral("SANS NOM");

    QString nomfichier = noName; // path of the text in the editor
    int16_t sauvegarde = 1;      // 1: no unsaved change; 0: modified
    QString repertoire;          // directory of the exercise, ending with "/"
    QString extension;           // of the selected module's recap files
    QString policesymbole;       // font of the font sample window
    int16_t majencours = 0;      // 0 idle; 1 or 2 while the tools follow the selection
    int16_t taillenormale = 0;
    int16_t typedecalage = 0;
    int16_t ionvalide = 0;
    int16_t insertionencours = 0;
    QString chaine;
    QString remplacant;
    int optionsrecherche = 0;
    int32_t positionrecherche = 0;
    int16_t remplacementencours = 0;
};
