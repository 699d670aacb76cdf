#pragma once

#include <QString>
#include <Qt>

class QAbstractButton;
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

} // namespace dialogfit
