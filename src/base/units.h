#pragma once

// Conversion constants between the units the program works in. Each length
// says its unit: pixels for the main window, points for sizes, twips for
// character offsets and dialog geometry, centimetres for the ruler.
namespace units {

constexpr int twipsPerPoint = 20;
constexpr int twipsPerPixel = 15;
constexpr int halfPointsPerPoint = 2;
constexpr int twipsPerHalfPoint = twipsPerPoint / halfPointsPerPoint;

// The ruler's conversions disagree slightly with each other on purpose: each
// stands where the program has always used it.
constexpr double pixelsPerCmDrawing = 38.2;
constexpr double pixelsPerCmClick = 38.3;
constexpr double cmPerPixelNumerator = 9.3456;
constexpr double cmPerPixelDenominator = 357.0;
constexpr int twipsPerCm = 573;
constexpr int markerGripTwips = 225;

// Dialog geometry is drawn in twips; the screen counts pixels.
constexpr int pixelsFromTwips(int twips) {
    return (twips + twipsPerPixel / 2) / twipsPerPixel;
}

} // namespace units
