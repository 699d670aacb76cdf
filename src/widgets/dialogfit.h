#pragma once

#include <QList>
#include <QString>
#include <Qt>

class QAbstractButton;
class QDialog;
class QWidget;

// Dialogs drawn in twips were sized for the fonts and title bars of their
// day: today's fonts cut their titles and captions. These measure what the
// font needs, so that a dialog keeps its drawn size as a minimum and grows
// only where a text would be cut.
namespace dialogfit {

// A small modal dialog: a title and a close box, nothing to minimise or
// maximise.
constexpr Qt::WindowFlags smallDialogFlags =
    Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;

// Width of a window that shows the whole of title beside the frame's icon
// and close box.
int titleWidthPx(const QString &title);
// Width of a push button that shows the whole of its caption.
int captionWidthPx(const QAbstractButton &button);

// For a dialog whose children are placed by hand and whose size is fixed:
// each button too narrow for its caption grows, with the widgets of its
// column (same left edge and width); what lies right of it moves along, and
// a frame holding it grows too. Then the dialog widens for its content and
// for its title, its content centred in any room the title alone asks for.
void fitFixedDialog(QWidget &dialog);

// A modal dialog of fixed size, its client area given in twips, with a
// title and a close box only.
void setUpFixedDialog(QDialog &dialog, const char *name, const QString &title, int clientWidthTwips,
                      int clientHeightTwips);

// For a dialog whose captions are not push buttons: widens what holds the
// widest caption by what it lacks, moves what stands to its right by as much
// and widens the window along, so that the layout keeps its shape.
struct CaptionFit {
    QList<QWidget *> captions; // each must show its whole caption
    QList<QWidget *> widened;  // grow with them (frames, fields, the captions themselves)
    QList<QWidget *> moved;    // stand to their right
};

// Applies the fits in turn to window, a fixed-size dialog.
void fitCaptions(QWidget &window, const QList<CaptionFit> &fits);

} // namespace dialogfit
