#include "document/layoutheight.h"

#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>
#include <cmath>

namespace layoutheight {

namespace {

constexpr double pixelsPerPoint = 96.0 / 72.0;
// Generous for Latin text; the characters of East Asian scripts are a full
// em wide, and the fallback fonts that draw them make taller lines.
constexpr double charWidthPerEm = 0.6;
constexpr double wideCharWidthPerEm = 1.0;
constexpr double lineHeightPerEm = 1.4;

bool isWide(QChar c) {
    const char16_t u = c.unicode();
    return (u >= 0x1100 && u <= 0x115F) || (u >= 0x2E80 && u <= 0xA4CF) ||
           (u >= 0xAC00 && u <= 0xD7A3) || (u >= 0xF900 && u <= 0xFAFF) ||
           (u >= 0xFE30 && u <= 0xFE4F) || (u >= 0xFF00 && u <= 0xFF60) ||
           (u >= 0xFFE0 && u <= 0xFFE6);
}

double emPx(const QTextCharFormat &format, const QFont &defaultFont) {
    const double points = format.hasProperty(QTextFormat::FontPointSize) ? format.fontPointSize()
                                                                         : defaultFont.pointSizeF();
    return std::max(points, 1.0) * pixelsPerPoint;
}

} // namespace

double estimatedPx(const QTextDocument &document) {
    const QFont defaultFont = document.defaultFont();
    double total = 2 * document.documentMargin();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextBlockFormat paragraph = block.blockFormat();
        // Qt gives a line some room however wide the indents.
        const double lineWidth =
            std::max(narrowestLinePx - paragraph.leftMargin() - paragraph.rightMargin(), 60.0);
        // An empty paragraph still takes one line in its own format.
        double tallest = emPx(block.charFormat(), defaultFont) * lineHeightPerEm;
        double width = 0;
        double picturesPx = 0;
        int characters = 0;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            // Each picture counted twice, as if alone on its line and on the
            // line before: a picture too wide for a line after some text
            // makes that text's line as tall as itself, then takes its own.
            if (format.isImageFormat()) {
                picturesPx += 2 * format.toImageFormat().height() * fragment.length();
                continue;
            }
            characters += fragment.length();
            const double em = emPx(format, defaultFont);
            tallest = std::max(tallest, em * lineHeightPerEm);
            const QString text = fragment.text();
            const auto wide = std::count_if(text.cbegin(), text.cend(), isWide);
            width += em * (charWidthPerEm * double(fragment.length() - wide) +
                           wideCharWidthPerEm * double(wide));
            // A tab may reach a stop far along the line.
            width += text.count(QLatin1Char('\t')) * lineWidth / 4;
        }
        // A line holds one character at least, however wide.
        const double lines =
            characters == 0 && picturesPx > 0
                ? 0
                : std::clamp(std::ceil(width / lineWidth), 1.0, std::max(characters, 1) * 1.0);
        total += lines * tallest + picturesPx + paragraph.topMargin() + paragraph.bottomMargin();
    }
    return total;
}

} // namespace layoutheight
