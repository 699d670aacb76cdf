#include "format/colourpalette.h"

#include "base/units.h"
#include "widgets/dialogfit.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

#include <functional>
#include <utility>

namespace {

constexpr int rowCount = 8;
constexpr int columnCount = ColourPalette::cellCount / rowCount;

// Geometry in twips, as the dialog has always been laid out.
constexpr int marginTwips = 120;
constexpr int cellSideTwips = 255;
constexpr int cellPitchTwips = 360;
constexpr int buttonTopTwips = 3000;
constexpr int buttonWidthTwips = 2055;
constexpr int buttonHeightTwips = 315;
constexpr int clientWidthTwips = 2295;
constexpr int clientHeightTwips = 3435;

constexpr QRgb rgb(int red, int green, int blue) {
    return QRgb(red << 16 | green << 8 | blue);
}

// Light to dark along a row, one hue a row.
constexpr QRgb colours[rowCount][columnCount] = {
    {rgb(255, 255, 255), rgb(224, 224, 224), rgb(192, 192, 192), rgb(128, 128, 128),
     rgb(64, 64, 64), rgb(0, 0, 0)},
    {rgb(255, 192, 192), rgb(255, 128, 128), rgb(255, 0, 0), rgb(192, 0, 0), rgb(128, 0, 0),
     rgb(64, 0, 0)},
    {rgb(255, 224, 192), rgb(255, 192, 128), rgb(255, 128, 0), rgb(192, 64, 0), rgb(128, 64, 0),
     rgb(128, 64, 64)},
    {rgb(255, 255, 192), rgb(255, 255, 128), rgb(255, 255, 0), rgb(192, 192, 0), rgb(128, 128, 0),
     rgb(64, 64, 0)},
    {rgb(192, 255, 192), rgb(128, 255, 128), rgb(0, 255, 0), rgb(0, 192, 0), rgb(0, 128, 0),
     rgb(0, 64, 0)},
    {rgb(192, 255, 255), rgb(128, 255, 255), rgb(0, 255, 255), rgb(0, 192, 192), rgb(0, 128, 128),
     rgb(0, 64, 64)},
    {rgb(192, 192, 255), rgb(128, 128, 255), rgb(0, 0, 255), rgb(0, 0, 192), rgb(0, 0, 128),
     rgb(0, 0, 64)},
    {rgb(255, 192, 255), rgb(255, 128, 255), rgb(255, 0, 255), rgb(192, 0, 192), rgb(128, 0, 128),
     rgb(64, 0, 64)},
};

// A square of colour that reports a left click released over it.
class ColourCell : public QLabel {
public:
    ColourCell(std::function<void()> clicked, QWidget *parent)
        : QLabel(parent), m_clicked(std::move(clicked)) {}

protected:
    void mouseReleaseEvent(QMouseEvent *event) override {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
            m_clicked();
        else
            QLabel::mouseReleaseEvent(event);
    }

private:
    std::function<void()> m_clicked;
};

} // namespace

ColourPalette::ColourPalette(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("coul"));
    setWindowTitle(QStringLiteral("Couleurs"));
    setWindowFlags(dialogfit::smallDialogFlags);
    setModal(true);
    setFixedSize(units::pixelsFromTwips(clientWidthTwips),
                 units::pixelsFromTwips(clientHeightTwips));

    for (int index = 0; index < cellCount; ++index)
        addCell(index);

    auto *cancel = new QPushButton(QStringLiteral("Annuler"), this);
    cancel->setObjectName(QStringLiteral("Command1"));
    cancel->setAutoDefault(false);
    cancel->setGeometry(units::pixelsFromTwips(marginTwips), units::pixelsFromTwips(buttonTopTwips),
                        units::pixelsFromTwips(buttonWidthTwips),
                        units::pixelsFromTwips(buttonHeightTwips));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    dialogfit::fitFixedDialog(*this);
}

QRgb ColourPalette::cellColour(int index) {
    Q_ASSERT(index >= 0 && index < cellCount);
    if (index < 0 || index >= cellCount) return 0;
    return colours[index % rowCount][index / rowCount];
}

void ColourPalette::addCell(int index) {
    auto *cell = new ColourCell([this, index] { choose(index); }, this);
    cell->setObjectName(QStringLiteral("Label1(%1)").arg(index));
    const int column = index / rowCount;
    const int row = index % rowCount;
    cell->setGeometry(units::pixelsFromTwips(marginTwips + cellPitchTwips * column),
                      units::pixelsFromTwips(marginTwips + cellPitchTwips * row),
                      units::pixelsFromTwips(cellSideTwips), units::pixelsFromTwips(cellSideTwips));
    QPalette palette = cell->palette();
    palette.setColor(QPalette::Window, QColor::fromRgb(cellColour(index)));
    cell->setPalette(palette);
    cell->setAutoFillBackground(true);
}

void ColourPalette::choose(int index) {
    m_chosen = cellColour(index);
    accept();
}
