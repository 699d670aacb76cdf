#pragma once

#include "base/units.h"

#include <QRect>

// A rectangle given in twips, in pixels.
inline QRect rectFromTwips(int leftTwips, int topTwips, int widthTwips, int heightTwips) {
    return QRect(units::pixelsFromTwips(leftTwips), units::pixelsFromTwips(topTwips),
                 units::pixelsFromTwips(widthTwips), units::pixelsFromTwips(heightTwips));
}
