#pragma once

#include <QIcon>
#include <QPixmap>
#include <functional>

class QPainter;

// Pictures the program draws rather than ships: drawn at the screen's device
// pixel ratio so that they stay crisp on high-density screens. The painter
// draws on a gridSize x gridSize square, scaled to sidePx pixels.
QPixmap drawnPixmap(int sidePx, const std::function<void(QPainter &)> &draw, qreal gridSize = 0);
QIcon drawnIcon(int sidePx, const std::function<void(QPainter &)> &draw, qreal gridSize = 0);
// The same on a rectangle of sizePx, in pixels.
QIcon drawnIcon(QSize sizePx, const std::function<void(QPainter &)> &draw);
