#include "document/layoutwork.h"

#include "document/layoutheight.h"

#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <QTextDocument>
#include <algorithm>
#include <cmath>
#include <vector>

namespace layoutwork {

namespace {

constexpr double pixelsPerPoint = 96.0 / 72.0;
// Wide for Latin text, so that the count of lines a word takes errs high.
constexpr double charWidthPerEm = 0.6;

// One run of a format, where it starts in the paragraph, and the width its
// characters had so far.
struct Run {
    int startChars;
    double charWidthPx; // a picture's width for its one character
    double widthBeforePx;
};

class RunIndex {
public:
    RunIndex(const QTextBlock &block, double defaultPoints) {
        double widthPx = 0;
        // Fragments follow one another: their lengths place them, where
        // asking each its position would walk the document's tree.
        int startChars = 0;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            double charWidthPx = 0;
            if (format.isImageFormat()) {
                charWidthPx = format.toImageFormat().width();
            } else {
                const double points = format.hasProperty(QTextFormat::FontPointSize)
                                          ? format.fontPointSize()
                                          : defaultPoints;
                charWidthPx = std::max(points, 1.0) * pixelsPerPoint * charWidthPerEm;
            }
            const int length = fragment.length();
            m_runs.push_back({startChars, charWidthPx, widthPx});
            widthPx += charWidthPx * length;
            startChars += length;
        }
    }
    int count() const { return int(m_runs.size()); }
    // The run holding the character at positionChars.
    int runAt(int positionChars) const {
        const auto after = std::upper_bound(
            m_runs.begin(), m_runs.end(), positionChars,
            [](int position, const Run &run) { return position < run.startChars; });
        return int(after - m_runs.begin()) - 1;
    }
    double widthBeforePx(int positionChars) const {
        const int index = runAt(positionChars);
        if (index < 0) return 0;
        const Run &run = m_runs[size_t(index)];
        return run.widthBeforePx + (positionChars - run.startChars) * run.charWidthPx;
    }

private:
    std::vector<Run> m_runs;
};

} // namespace

double paragraphSteps(const QTextBlock &block) {
    const QTextDocument *document = block.document();
    const RunIndex runs(block, document ? document->defaultFont().pointSizeF() : 12);
    const QString text = block.text();
    double steps = text.size() + runs.count() * stepsPerRun;
    if (runs.count() == 0) return steps;
    const QTextBlockFormat paragraph = block.blockFormat();
    const double lineWidthPx = std::max(
        layoutheight::narrowestLinePx - paragraph.leftMargin() - paragraph.rightMargin(), 60.0);
    // Between two places where a line may break, a word; Qt breaks lines at
    // the same places.
    QTextBoundaryFinder finder(QTextBoundaryFinder::Line, text);
    int wordStart = 0;
    for (qsizetype end = finder.toNextBoundary(); end > 0; end = finder.toNextBoundary()) {
        const int wordEnd = int(end);
        const double widthPx = runs.widthBeforePx(wordEnd) - runs.widthBeforePx(wordStart);
        const double extraLines = std::floor(widthPx / lineWidthPx);
        if (extraLines >= 1) {
            const int wordRuns = runs.runAt(wordEnd - 1) - runs.runAt(wordStart) + 1;
            // Each line of the word scans on to its end: half of it on average.
            steps += extraLines * ((wordEnd - wordStart) + wordRuns * stepsPerRunRescanned) / 2;
        }
        wordStart = wordEnd;
    }
    return steps;
}

bool fits(const QTextDocument &document) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (paragraphSteps(block) > maxParagraphSteps) return false;
    }
    return true;
}

} // namespace layoutwork
