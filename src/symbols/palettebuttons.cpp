#include "symbols/palettebuttons.h"

#include "base/codepages.h"

namespace palettebuttons {
namespace {

constexpr Font S = Font::Symbol;
constexpr Font A = Font::Arial;

struct Entry {
    int index;
    Palette palette;
    Font font;
    unsigned char code;
    int row, column;
    const char *tip;
};

// Row by row, left to right, as the palettes show them.
constexpr Entry grid[] = {
    // Grec
    {2, Grec, S, 97, 1, 1, "alpha"},
    {3, Grec, S, 98, 1, 2, "bêta"},
    {13, Grec, S, 103, 1, 3, "gamma"},
    {5, Grec, S, 100, 2, 1, "delta"},
    {6, Grec, S, 101, 2, 2, "epsilon"},
    {23, Grec, S, 122, 2, 3, "zêta"},
    {20, Grec, S, 104, 3, 1, "êta"},
    {10, Grec, S, 113, 3, 2, "thêta"},
    {15, Grec, S, 108, 3, 3, "lambda"},
    {16, Grec, S, 109, 4, 1, "mu"},
    {8, Grec, S, 117, 4, 2, "upsilon"},
    {34, Grec, S, 120, 4, 3, "xi"},
    {9, Grec, S, 112, 5, 1, "pi"},
    {18, Grec, S, 114, 5, 2, "rhô"},
    {11, Grec, S, 115, 5, 3, "sigma"},
    {7, Grec, S, 116, 6, 1, "tau"},
    {19, Grec, S, 106, 6, 2, "phi"},
    {4, Grec, S, 99, 6, 3, "chi"},
    {35, Grec, S, 121, 7, 1, "psi"},
    {1, Grec, S, 119, 7, 2, "oméga"},
    {14, Grec, S, 71, 7, 3, "gamma majuscule"},
    {12, Grec, S, 68, 8, 1, "delta majuscule"},
    {17, Grec, S, 80, 8, 2, "pi majuscule"},
    {28, Grec, S, 83, 8, 3, "sigma majuscule"},
    {21, Grec, S, 70, 9, 1, "phi majuscule"},
    {22, Grec, S, 89, 9, 2, "psi majuscule"},
    {0, Grec, S, 87, 9, 3, "oméga majuscule"},
    // Fourth column: beside the small letters, the small ones the first
    // three columns leave out; beside the capitals, the missing capitals.
    {36, Grec, S, 105, 1, 4, "iota"},
    {37, Grec, S, 107, 2, 4, "kappa"},
    {38, Grec, S, 110, 3, 4, "nu"},
    {39, Grec, S, 111, 4, 4, "omicron"},
    {40, Grec, S, 81, 7, 4, "thêta majuscule"},
    {41, Grec, S, 76, 8, 4, "lambda majuscule"},
    {42, Grec, S, 88, 9, 4, "xi majuscule"},
    // Math I
    {81, MathI, A, 188, 1, 1, "un quart"},
    {82, MathI, A, 189, 1, 2, "un demi"},
    {77, MathI, A, 190, 1, 3, "trois quarts"},
    {26, MathI, S, 206, 2, 1, "appartient à"},
    {67, MathI, S, 207, 2, 2, "n'appartient pas à"},
    {86, MathI, A, 137, 2, 3, "pour mille"},
    {65, MathI, S, 163, 3, 1, "inférieur ou égal"},
    {53, MathI, S, 179, 3, 2, "supérieur ou égal"},
    {83, MathI, A, 186, 3, 3, "indicateur ordinal (o en exposant)"},
    {69, MathI, S, 185, 4, 1, "différent de"},
    {31, MathI, S, 187, 4, 2, "environ égal"},
    {74, MathI, A, 185, 4, 3, "un en exposant"},
    {29, MathI, S, 64, 5, 1, "congruent (approximativement égal)"},
    {64, MathI, S, 186, 5, 2, "identique à"},
    {71, MathI, A, 178, 5, 3, "deux en exposant"},
    {76, MathI, A, 247, 6, 1, "divisé par"},
    {84, MathI, A, 215, 6, 2, "multiplié par"},
    {73, MathI, A, 179, 6, 3, "trois en exposant"},
    {93, MathI, S, 34, 7, 1, "quel que soit"},
    {94, MathI, S, 36, 7, 2, "il existe"},
    {78, MathI, A, 177, 7, 3, "plus ou moins"},
    {90, MathI, A, 151, 8, 1, "tiret cadratin"},
    {89, MathI, A, 150, 8, 2, "tiret demi-cadratin"},
    {32, MathI, S, 214, 8, 3, "racine carrée"},
    {88, MathI, A, 156, 9, 1, "e dans l'o"},
    {95, MathI, A, 140, 9, 2, "E dans l'O majuscule"},
    {68, MathI, S, 165, 9, 3, "infini"},
    // Math II; its fourth row is the equilibrium sign's button.
    {61, MathII, S, 173, 1, 2, "flèche vers le haut"},
    {30, MathII, S, 172, 2, 1, "flèche vers la gauche"},
    {62, MathII, S, 171, 2, 2, "flèche double sens"},
    {27, MathII, S, 174, 2, 3, "flèche vers la droite"},
    {66, MathII, S, 190, 3, 1, "prolongateur horizontal de flèche"},
    {63, MathII, S, 175, 3, 2, "flèche vers le bas"},
    {72, MathII, S, 189, 3, 3, "prolongateur vertical de flèche"},
    {51, MathII, S, 221, 5, 2, "double flèche vers le haut"},
    {52, MathII, S, 220, 6, 1, "double flèche vers la gauche"},
    {24, MathII, S, 219, 6, 2, "double flèche double sens (équivalence)"},
    {25, MathII, S, 222, 6, 3, "double flèche vers la droite (implication)"},
    {60, MathII, S, 223, 7, 2, "double flèche vers le bas"},
    {87, MathII, A, 149, 8, 1, "puce"},
    {70, MathII, S, 183, 8, 2, "puce de la police Symbol"},
    {98, MathII, S, 168, 8, 3, "losange"},
    {97, MathII, S, 242, 9, 1, "intégrale"},
    {85, MathII, A, 127, 9, 2, "caractère de code 127 (non défini)"},
    {96, MathII, S, 191, 9, 3, "retour chariot"},
};

// Never seen: phi in its other form is hidden, the rest lie beyond their
// palette's right edge. Those without a character of their own are blanks.
constexpr Entry unseen[] = {
    {33, Grec, S, 102, 0, 0, "phi (autre forme)"},
    {91, MathI, S, 95, 0, 0, "tiret bas"},
    {43, MathI, A, 32, 0, 0, "espace"},
    {44, MathI, A, 32, 0, 0, "espace"},
    {45, MathI, A, 32, 0, 0, "espace"},
    {46, MathI, A, 32, 0, 0, "espace"},
    {47, MathI, A, 32, 0, 0, "espace"},
    {48, MathI, A, 32, 0, 0, "espace"},
    {49, MathI, A, 32, 0, 0, "espace"},
    {50, MathI, A, 32, 0, 0, "espace"},
    {54, MathII, A, 32, 0, 0, "espace"},
    {55, MathII, A, 32, 0, 0, "espace"},
    {56, MathII, A, 32, 0, 0, "espace"},
    {57, MathII, A, 32, 0, 0, "espace"},
    {58, MathII, A, 32, 0, 0, "espace"},
    {59, MathII, A, 32, 0, 0, "espace"},
    {75, MathII, A, 32, 0, 0, "espace"},
    {79, MathII, A, 32, 0, 0, "espace"},
    {80, MathII, A, 32, 0, 0, "espace"},
    {92, MathII, A, 32, 0, 0, "espace"},
};

constexpr int hiddenIndex = 33;

static_assert(std::size(grid) + std::size(unseen) == buttonCount,
              "every button of the array has its place");

} // namespace

QChar Button::character() const {
    return font == Font::Symbol ? codepages::fromSymbol(code) : codepages::fromWindows1252(code);
}

QString Button::fontName() const {
    return font == Font::Symbol ? QStringLiteral("Symbol") : QStringLiteral("Arial");
}

const std::array<Button, buttonCount> &buttons() {
    static const std::array<Button, buttonCount> table = [] {
        std::array<Button, buttonCount> all{};
        const auto put = [&all](const Entry &e) {
            all.at(e.index) = Button{e.index, e.palette, e.font, e.code,
                                     e.row,   e.column,  e.tip,  e.index == hiddenIndex};
        };
        for (const Entry &e : grid)
            put(e);
        for (const Entry &e : unseen)
            put(e);
        return all;
    }();
    return table;
}

} // namespace palettebuttons
