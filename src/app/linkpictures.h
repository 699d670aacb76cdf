#pragma once

#include <QPixmap>

// Pictures of the welcome panel's exercise links, drawn in code so that no
// image file has to ship with the program.
namespace linkpictures {

// Side of every picture. The link rows are two body-text lines apart (26 px
// with an 8 pt font at 96 dpi), so a larger picture would touch the next row.
inline constexpr int sidePx = 24;

QPixmap settings();    // a form sheet with sliders
QPixmap newExercise(); // a blank page with a star
QPixmap openFolder();  // an opening folder
QPixmap statement();   // a page of text with a question mark
QPixmap correction();  // a page of text with a green check mark

} // namespace linkpictures
