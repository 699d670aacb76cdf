#pragma once

#include <QList>
#include <QString>

class QDialog;
class QWidget;

// A modal dialog of fixed size, its client area given in twips, with a
// title and a close box only.
void setUpFixedDialog(QDialog &dialog, const char *name, const QString &title, int clientWidthTwips,
                      int clientHeightTwips);

// The dialogs are laid out in twips as designed; a font wider than the
// designed one would cut their captions. Widens what holds the widest
// caption by what it lacks, moves what stands to its right by as much and
// widens the window along: the layout keeps its shape.
struct CaptionFit {
    QList<QWidget *> captions; // each must show its whole caption
    QList<QWidget *> widened;  // grow with them (frames, fields, the captions themselves)
    QList<QWidget *> moved;    // stand to their right
};

// Applies the fits in turn to window, a fixed-size dialog.
void fitCaptions(QWidget &window, const QList<CaptionFit> &fits);
