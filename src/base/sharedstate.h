#pragma once

#include <QString>
#include <cstdint>

// What maj is setting while majencours is not idle. While it shows the modes,
// the colour, the alignment and the size, the tools apply nothing or at least
// keep the focus where it is; while it shows the bullet and the bold, italic
// and underline boxes, those boxes apply nothing.
namespace majphase {
constexpr int16_t idle = 0;
constexpr int16_t modes = 1;
constexpr int16_t styles = 2;
} // namespace majphase

// The variables the whole program shares, owned by the main window and
// passed by reference to whoever needs them.
struct SharedState {
    static inline const QString noName = QStringLiteral("SANS NOM");

    QString nomfichier = noName;         // path of the text in the editor
    int16_t sauvegarde = 1;              // 1: no unsaved change; 0: modified
    QString repertoire;                  // directory of the exercise, ending with "/"
    QString extension;                   // of the selected module's recap files
    QString policesymbole;               // font of the font sample window
    int16_t majencours = majphase::idle; // a majphase while the tools follow the selection
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
