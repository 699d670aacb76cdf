#pragma once

#include <QString>

class QTextDocument;

// A line-per-run listing of a document's paragraphs, runs and pictures, made
// to compare two documents with diff:
//   P align=<0|1|2> li=<px> ri=<px> bullet=<0|1> tabs=<px,px,...>
//   R font="..." size=<pt> b= i= u= s= color=<r>,<g>,<b> offset=<twips> prot= text="..."
//   I w=<px> h=<px>
// Each line ends with "\n".
QString listRuns(const QTextDocument &document);
