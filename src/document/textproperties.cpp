#include "document/textproperties.h"

#include "base/units.h"

#include <QFont>
#include <QFontMetricsF>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextImageFormat>
#include <QUuid>

namespace textprops {
namespace {

// An int property, which Qt hashes by its value.
void setHash(QTextFormat &format, int property, size_t hash) {
    format.setProperty(property, int(hash));
}

} // namespace

int offsetTwips(const QTextCharFormat &format) {
    return format.intProperty(OffsetTwips);
}

void setOffsetTwips(QTextCharFormat &format, int twips) {
    if (twips == 0)
        format.clearProperty(OffsetTwips);
    else
        format.setProperty(OffsetTwips, twips);
    refreshBaseline(format);
}

namespace {

// Qt moves the baseline by a percentage of the font's height (ascent plus
// descent), which differs from font to font (1.12 to 1.17 times the size for
// the usual text fonts): measured on the font the text is drawn in, a
// character stands its offset off the line, in points, whatever the font.
double heightPerEm(const QTextCharFormat &format) {
    QFont font = format.font();
    const QString name = fontName(format);
    font.setFamily(name.isEmpty() ? QStringLiteral("Arial") : name);
    constexpr int emPx = 200;
    font.setPixelSize(emPx);
    const QFontMetricsF metrics(font);
    const double heightPx = metrics.ascent() + metrics.descent();
    return heightPx > 0 ? heightPx / emPx : 1.15;
}

} // namespace

void refreshBaseline(QTextCharFormat &format) {
    const int twips = offsetTwips(format);
    if (twips == 0) {
        format.clearProperty(QTextFormat::TextBaselineOffset);
        return;
    }
    double sizePt = format.fontPointSize();
    if (sizePt <= 0) sizePt = 10;
    const double offsetPt = double(twips) / units::twipsPerPoint;
    format.setBaselineOffset(100.0 * offsetPt / (sizePt * heightPerEm(format)));
}

bool isProtected(const QTextCharFormat &format) {
    return format.boolProperty(Protected);
}

void setProtected(QTextCharFormat &format, bool on) {
    if (on)
        format.setProperty(Protected, true);
    else
        format.clearProperty(Protected);
}

QString fontName(const QTextCharFormat &format) {
    if (format.hasProperty(FontNameKept)) return format.stringProperty(FontNameKept);
    const QStringList families = format.fontFamilies().toStringList();
    return families.isEmpty() ? QString() : families.first();
}

void setFontName(QTextCharFormat &format, const QString &name) {
    format.clearProperty(FontNameKept);
    format.setFontFamilies(QStringList{name});
    setHash(format, FontFamiliesHash, qHash(name));
}

void setFontNameKeptOnly(QTextCharFormat &format, const QString &name) {
    format.clearProperty(QTextFormat::FontFamilies);
    format.setProperty(FontNameKept, name);
    setHash(format, FontFamiliesHash, qHash(name));
}

QList<QTextOption::Tab> tabStops(const QTextBlockFormat &format) {
    QList<QTextOption::Tab> stops = format.tabPositions();
    for (QTextOption::Tab &stop : stops)
        stop.position += format.leftMargin();
    return stops;
}

void setTabStops(QTextBlockFormat &format, QList<QTextOption::Tab> stops) {
    for (QTextOption::Tab &stop : stops)
        stop.position -= format.leftMargin();
    if (stops.isEmpty()) {
        format.clearProperty(QTextFormat::TabPositions);
        format.clearProperty(TabStopsHash);
        return;
    }
    size_t hash = 0;
    for (const QTextOption::Tab &stop : std::as_const(stops))
        hash = qHashMulti(hash, stop.position, int(stop.type), stop.delimiter);
    format.setTabPositions(stops);
    setHash(format, TabStopsHash, hash);
}

void setLeftMargin(QTextBlockFormat &format, double pixels) {
    const QList<QTextOption::Tab> stops = tabStops(format);
    format.setLeftMargin(pixels);
    setTabStops(format, stops);
}

void setRawRtfGroup(QTextImageFormat &format, const QByteArray &group) {
    format.setProperty(RawRtfGroup, group);
    setHash(format, RawRtfGroupHash, qHash(group));
}

QString newImageName() {
    return QStringLiteral("redigo-image:") + QUuid::createUuid().toString(QUuid::WithoutBraces);
}

} // namespace textprops
