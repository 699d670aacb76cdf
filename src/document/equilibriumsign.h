#pragma once

#include <QColor>
#include <QImage>
#include <QSizeF>

class QPainter;

// The chemical equilibrium sign: a long arrow pointing left above a long
// arrow pointing right, each head spanning half the height.
namespace equilibriumsign {

// Stored pictures are this many times denser than they are shown, so that
// they print sharp (about 400 dpi for a 96 dpi screen).
constexpr int density = 4;

// Draws the sign on a box of sizePx, lines of lineWidthPx, in painter units.
void draw(QPainter &painter, QSizeF sizePx, qreal lineWidthPx, const QColor &colour);

struct Picture {
    QImage image;   // white background, density times the shown size
    QSizeF shownPx; // 3 x heightPx wide, heightPx high
};

// The sign as the text gets it: as high as the font size in points is, in
// pixels, three times as wide; lines of 2 px when bold, else 1 px.
Picture forText(int heightPx, const QColor &colour, bool bold);

} // namespace equilibriumsign
