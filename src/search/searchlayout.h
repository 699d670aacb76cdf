#pragma once

#include <QString>

class QCheckBox;
class QDialog;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QWidget;

// The pieces the Find and Replace dialogs are drawn with, placed in twips:
// framed text fields and the options frame down the left, the buttons in a
// column on the right.
namespace searchlayout {

// A titled frame holding a one-line field; the frame is the field's parent.
QLineEdit *addFramedField(QDialog &dialog, const char *frameName, const QString &caption,
                          const char *fieldName, int topTwips);
// The "Options" frame, ready for two check boxes.
QGroupBox *addOptionsFrame(QDialog &dialog, int topTwips);
QCheckBox *addOption(QGroupBox &frame, const char *name, const QString &caption, int topTwips);
QPushButton *addButton(QDialog &dialog, const char *name, const QString &caption, int leftTwips,
                       int topTwips, int widthTwips);

} // namespace searchlayout
