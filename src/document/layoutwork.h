#pragma once

class QTextBlock;
class QTextDocument;

// Qt lays out a paragraph in one go, and its line breaking slows down with
// the square of a word's length when a word is wider than a line: every line
// of such a word scans on to the word's end. Many format changes also cost
// much per run. This estimates that work before any layout, so that a text
// whose paragraph would freeze the editor for seconds is refused instead.
namespace layoutwork {

// Steps of Qt's line breaking over one character; a run of one format costs
// as much as stepsPerRun of them.
constexpr double stepsPerRun = 400;
// A run scanned again on a later line of its word.
constexpr double stepsPerRunRescanned = 40;
// About a tenth of a second of layout; a paragraph of an exercise, even
// dense with formulas, takes under a thousandth of this.
constexpr double maxParagraphSteps = 5'000'000;

// Work to lay out the paragraph at the narrowest width an editor has.
double paragraphSteps(const QTextBlock &block);
// Whether every paragraph lays out in time.
bool fits(const QTextDocument &document);

} // namespace layoutwork
