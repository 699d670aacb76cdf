#pragma once

#include <QDialog>
#include <QRgb>
#include <optional>

// The grid of 48 colours the user picks a text colour from. A click on a
// cell closes the dialog with that colour; the caller applies it.
class ColourPalette : public QDialog {
    Q_OBJECT
public:
    static constexpr int cellCount = 48;

    explicit ColourPalette(QWidget *parent = nullptr);

    // 24-bit RGB (0xRRGGBB) of the cell clicked; nothing after "Annuler" or
    // closing.
    std::optional<QRgb> chosenColour() const { return m_chosen; }
    // 24-bit RGB of a cell, 0 <= index < cellCount; cells run down each
    // column, eight to a column.
    static QRgb cellColour(int index);

private:
    void addCell(int index);
    void choose(int index);

    std::optional<QRgb> m_chosen;
};
