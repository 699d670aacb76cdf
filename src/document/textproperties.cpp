#include "document/textproperties.h"

#include "base/units.h"

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

void refreshBaseline(QTextCharFormat &format) {
    const int twips = offsetTwips(format);
    if (twips == 0) {
        format.clearProperty(QTextFormat::TextBaselineOffset);
        return;
    }
    // Qt moves the baseline by a percentage of the font's height (ascent plus
    // descent), which for the usual text fonts is about 1.15 times the size.
    constexpr double heightPerPoint = 1.15;
    double sizePt = format.fontPointSize();
    if (sizePt <= 0) sizePt = 10;
    const double offsetPt = double(twips) / units::twipsPerPoint;
    format.setBaselineOffset(100.0 * offsetPt / (sizePt * heightPerPoint));
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
