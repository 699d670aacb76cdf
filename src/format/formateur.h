#pragma once

#include <QByteArray>
#include <QDialog>
#include <optional>

class QLineEdit;
class QSpinBox;
class RichTextBox;

// Which characters the adjustment touches; the values are the ones the main
// window keeps for the offset in use.
enum class OffsetKind { Exponents = 1, Indices = 2 };

// Gives every exponent (or every index) of the editor's selection one size and
// the offset that goes with it.
class Formateur : public QDialog {
    Q_OBJECT
public:
    // selectionRtf: the editor's selection; offsetValue: the main window's
    // offset value, twips of offset per point of size.
    Formateur(OffsetKind kind, const QByteArray &selectionRtf, int offsetValue,
              QWidget *parent = nullptr);

    // After OK, the processed selection to put back in the editor in one step;
    // nothing when the dialog was left otherwise.
    std::optional<QByteArray> result() const { return m_result; }

    // Sets each raised character (Exponents) or lowered one (Indices) of the
    // text to sizePt points and an offset of sizePt * offsetValue twips, raised
    // or lowered as it was. Other characters keep their size and offset.
    static void alignOffsets(RichTextBox &copy, OffsetKind kind, int sizePt, int offsetValue);

private:
    void applyAndClose();

    OffsetKind m_kind;
    QSpinBox *m_sizeArrows = nullptr;
    QSpinBox *m_offsetArrows = nullptr;
    RichTextBox *m_copy = nullptr;
    std::optional<QByteArray> m_result;
};
