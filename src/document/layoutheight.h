#pragma once

class QTextDocument;

// Qt's text layout keeps positions in 26.6 fixed point and takes any height
// below 8,388,607 px as "one page": a document that stands taller never
// finishes its layout. This tells, before a document is laid out, whether
// it may stand that tall, from an estimate that errs on the tall side.
namespace layoutheight {

// The narrowest text area the estimate allows for: an editor is never
// narrower than this.
constexpr int narrowestLinePx = 280;
// Well under Qt's limit, so that estimates a third too low are still safe.
constexpr double limitPx = 6'000'000;

// Height in pixels the document would take at the narrowest width.
double estimatedPx(const QTextDocument &document);
inline bool fits(const QTextDocument &document) {
    return estimatedPx(document) < limitPx;
}

} // namespace layoutheight
