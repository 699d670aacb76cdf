#pragma once

#include <QChar>
#include <QString>
#include <array>

// The 99 buttons Command1(0..98) of the three symbol palettes: what each one
// inserts and where it stands.
namespace palettebuttons {

enum Palette { Grec = 0, MathI = 1, MathII = 2 };
enum class Font { Symbol, Arial };

constexpr int buttonCount = 99;
// The fourth column holds the Greek letters the first three leave out.
constexpr int columnCount = 4;
constexpr int rowCount = 9;

// Grid places in twips within a palette box, 600 twips apart both ways.
constexpr int buttonSideTwips = 495;
constexpr std::array<int, columnCount> columnLeftTwips = {240, 840, 1440, 2040};
constexpr int firstRowTopTwips = 360;
constexpr int pitchTwips = 600;
// Each palette box, 2790 x 5970 twips: three columns of 600 twips and a
// fourth.
constexpr int boxWidthTwips = 2790;
constexpr int boxHeightTwips = 5970;
// Buttons out of sight stand beyond the box's right edge.
constexpr int outOfSightLeftTwips = 3000;

struct Button {
    int index = -1;
    Palette palette = Grec;
    Font font = Font::Arial;
    unsigned char code = 0; // in the font's own code page
    int row = 0;            // 1 to 9; 0 for a button out of sight
    int column = 0;         // 1 to 4; 0 for a button out of sight
    const char *tip = "";   // names the character, UTF-8
    bool hidden = false;

    bool inGrid() const { return row > 0; }
    // The character the button shows and inserts: the document keeps Symbol
    // glyphs as the Unicode characters they draw.
    QChar character() const;
    QString fontName() const;
};

// Indexed by the button's index.
const std::array<Button, buttonCount> &buttons();

} // namespace palettebuttons
